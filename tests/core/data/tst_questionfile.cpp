#include "TestFiles.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using TestFiles::u8;

namespace {

// Records what a read reports, and can go on after a failed map check like the editor.
class RecordingSink : public TableSink {
public:
    explicit RecordingSink(QuestionTable& table, AfterMapFailure onFailure = AfterMapFailure::Stop)
        : TableSink(table)
        , m_onFailure(onFailure) {}

    AfterMapFailure mapFailed(ReadOutcome failure, const QString& reference) override {
        failures.append({failure, reference});
        return m_onFailure;
    }
    void readingStarted() override { ++started; }
    void recordRead() override { ++records; }

    QList<std::pair<ReadOutcome, QString>> failures;
    int started = 0;
    int records = 0;

private:
    AfterMapFailure m_onFailure;
};

} // namespace

class TestQuestionFile : public QObject {
    Q_OBJECT
private slots:
    void init();

    void writesExactRecords();
    void writesTwoPointsAsFourLines();
    void roundTripKeepsCommasLineBreaksAndJapanese();
    void refusesUnstorableText_data();
    void refusesUnstorableText();
    void failedWriteKeepsTheOldFile();

    void readOutcomes_data();
    void readOutcomes();
    void pointBeforeMapIsAccepted();
    void laterMapReplacesEarlierOne();
    void continuesAfterMapFailureWhenAsked();
    void resolvesRelativeReferences_data();
    void resolvesRelativeReferences();
    void refusesMoreThanTheTableHolds();
    void cannotOpenWhatIsNoRegularFile();
    void hostileMaps_data();
    void hostileMaps();
    void hostileFilesEndInAnOutcome_data();
    void hostileFilesEndInAnOutcome();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString p = path(name);
        if (!TestFiles::writeBytes(p, bytes))
            qFatal("cannot write test file");
        return p;
    }

    QTemporaryDir m_dir;
};

void TestQuestionFile::init() {
    QVERIFY(m_dir.isValid());
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("map.bmp"))));
}

void TestQuestionFile::writesExactRecords() {
    const QString file = path(QStringLiteral("empty.zvm"));
    QVERIFY(QuestionFile::write(file, QString(), {}).ok());
    const QByteArray bytes = TestFiles::readBytes(file);
    // The Map record with an empty reference is ten bytes, the End record seven.
    QCOMPARE(bytes, QByteArray("\"Map\",\"\"\r\n\"End\"\r\n"));
    QCOMPARE(bytes.indexOf("\"End\""), 10);
    QCOMPARE(bytes.size(), 17);
}

void TestQuestionFile::writesTwoPointsAsFourLines() {
    const QString file = path(QStringLiteral("two.zvm"));
    const PointList points{TestFiles::point(u8("10"), u8("20"), u8("九州地方"), u8("鹿児島県"),
                                            u8("鹿児島"), u8("鹿児島市")),
                           TestFiles::point(u8("1.5"), u8("-3"), u8(""), u8("A"), u8(""), u8(""))};
    QVERIFY(QuestionFile::write(file, u8("./地図.bmp"), points).ok());
    const QByteArray bytes = TestFiles::readBytes(file);
    QCOMPARE(bytes, TestFiles::record({u8("Map"), u8("./地図.bmp")}) +
                        TestFiles::record({u8("Point"), u8("10"), u8("20"), u8("九州地方"),
                                           u8("鹿児島県"), u8("鹿児島"), u8("鹿児島市")}) +
                        QByteArray("\"Point\",\"1.5\",\"-3\",\"\",\"A\",\"\",\"\"\r\n") +
                        QByteArray("\"End\"\r\n"));
    QCOMPARE(bytes.count("\r\n"), 4);
}

void TestQuestionFile::roundTripKeepsCommasLineBreaksAndJapanese() {
    const QString file = path(QStringLiteral("trip.zvm"));
    const PointList points{
        TestFiles::point(u8("128"), u8("45"), u8("大阪, 京都"), u8("近畿"), u8("ｷﾝｷ"),
                         u8("一行目\r\n二行目")),
        TestFiles::point(u8("0"), u8("0"), u8("①Ⅰⅰ髙∵￢"), u8("～"), u8(""), u8(""))};
    QVERIFY(QuestionFile::write(file, QStringLiteral("./map.bmp"), points).ok());
    QuestionTable table;
    TableSink sink(table);
    QCOMPARE(QuestionFile::read(file, sink), ReadOutcome::Success);
    QCOMPARE(table.rows(), points);
    QCOMPARE(sink.mapReference, QStringLiteral("./map.bmp"));
    QCOMPARE(sink.map.size(), QSize(64, 48));
}

void TestQuestionFile::refusesUnstorableText_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("info");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("double quote in a field")
        << QString() << u8("say \"hi\"") << 1 << int(ColumnInfo);
    QTest::newRow("emoji in a field") << QString() << u8("😀") << 1 << int(ColumnInfo);
    QTest::newRow("accent in the map reference") << u8("/tmp/carté.bmp") << QString() << -1 << -1;
}

void TestQuestionFile::refusesUnstorableText() {
    QFETCH(QString, reference);
    QFETCH(QString, info);
    QFETCH(int, row);
    QFETCH(int, column);
    const QString file = path(QStringLiteral("keep.zvm"));
    const QByteArray old("\"Map\",\"\"\r\n\"End\"\r\n");
    QVERIFY(TestFiles::writeBytes(file, old));
    const PointList points{TestFiles::point(u8("1"), u8("2"), u8("h"), u8("a")),
                           TestFiles::point(u8("1"), u8("2"), u8("h"), u8("a"), u8(""), info)};
    const WriteResult result = QuestionFile::write(file, reference, points);
    QCOMPARE(result.status, WriteResult::Status::UnstorableText);
    QCOMPARE(result.row, row);
    QCOMPARE(result.column, column);
    QCOMPARE(TestFiles::readBytes(file), old);
    QVERIFY(!QuestionFile::isStorable(info.isEmpty() ? reference : info));
}

void TestQuestionFile::failedWriteKeepsTheOldFile() {
    // A path below a regular file cannot be created, whoever runs the test (root included).
    const QString blocker = writeFile(QStringLiteral("blocker"), "x");
    const WriteResult result =
        QuestionFile::write(blocker + QStringLiteral("/q.zvm"), QString(), {});
    QCOMPARE(result.status, WriteResult::Status::FileError);
    QVERIFY(!result.errorString.isEmpty());
    QCOMPARE(TestFiles::readBytes(blocker), QByteArray("x"));
    // Writing over a folder fails too and leaves it alone.
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.zvm")));
    QCOMPARE(QuestionFile::write(path(QStringLiteral("folder.zvm")), QString(), {}).status,
             WriteResult::Status::FileError);
    QVERIFY(QFileInfo(path(QStringLiteral("folder.zvm"))).isDir());
}

void TestQuestionFile::readOutcomes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("rows");
    const QByteArray map = "\"Map\",\"./map.bmp\"\r\n";
    const QByteArray pointRecord = "\"Point\",\"1\",\"2\",\"h\",\"a\",\"b\",\"i\"\r\n";
    const QByteArray end = "\"End\"\r\n";
    QTest::newRow("complete") << map + pointRecord + pointRecord + end << int(ReadOutcome::Success)
                              << 2;
    QTest::newRow("no point") << map + end << int(ReadOutcome::Success) << 0;
    QTest::newRow("text after End is ignored")
        << map + end + "garbage,\"Point\"" << int(ReadOutcome::Success) << 0;
    QTest::newRow("unquoted keywords and numbers")
        << QByteArray("Map,./map.bmp\r\nPoint,1,2,h,a,b,i\r\nEnd\r\n") << int(ReadOutcome::Success)
        << 1;
    QTest::newRow("keyword in other case")
        << map + pointRecord + "\"point\",\"1\"\r\n" + end << int(ReadOutcome::Malformed) << 1;
    QTest::newRow("END in capitals") << map + "\"END\"\r\n" << int(ReadOutcome::Malformed) << 0;
    QTest::newRow("empty line between records")
        << map + pointRecord + "\r\n" + pointRecord + end << int(ReadOutcome::Malformed) << 1;
    QTest::newRow("no End record") << map + pointRecord << int(ReadOutcome::ReadError) << 1;
    QTest::newRow("empty file") << QByteArray() << int(ReadOutcome::ReadError) << 0;
    QTest::newRow("short last Point record")
        << map + "\"Point\",\"1\",\"2\"" << int(ReadOutcome::ReadError) << 0;
    QTest::newRow("map reference missing at the end")
        << QByteArray("\"Map\"") << int(ReadOutcome::ReadError) << 0;
    QTest::newRow("empty map reference")
        << QByteArray("\"Map\",\"\"\r\n") + end << int(ReadOutcome::MapMissing) << 0;
    QTest::newRow("map that does not exist")
        << QByteArray("\"Map\",\"./none.bmp\"\r\n") + end << int(ReadOutcome::MapMissing) << 0;
    QTest::newRow("map with mixed-case extension")
        << QByteArray("\"Map\",\"./map.Bmp\"\r\n") + end << int(ReadOutcome::MapNotBitmap) << 0;
    QTest::newRow("rows before a failure stay")
        << pointRecord + "\"Map\",\"./none.bmp\"\r\n" + end << int(ReadOutcome::MapMissing) << 1;
    QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << int(ReadOutcome::Malformed) << 0;
    QTest::newRow("binary garbage")
        << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << int(ReadOutcome::Malformed) << 0;
    QTest::newRow("lone lead byte at the end")
        << map + "\"Point\",\"\x82" << int(ReadOutcome::ReadError) << 0;
}

void TestQuestionFile::readOutcomes() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    QFETCH(int, rows);
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("map.Bmp")),
                                  TestFiles::readBytes(path(QStringLiteral("map.bmp")))));
    const QString file = writeFile(QStringLiteral("q.zvm"), bytes);
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(int(QuestionFile::read(file, sink)), outcome);
    QCOMPARE(table.rowCount(), rows);
    QCOMPARE(sink.started, 1);
}

void TestQuestionFile::pointBeforeMapIsAccepted() {
    const QString file = writeFile(
        QStringLiteral("q.zvm"),
        "\"Point\",\"5\",\"6\",\"h\",\"a\",\"\",\"\"\r\n\"Map\",\"./map.bmp\"\r\n\"End\"\r\n");
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(QuestionFile::read(file, sink), ReadOutcome::Success);
    QCOMPARE(table.rowCount(), 1);
    QVERIFY(!sink.map.isNull());
    QCOMPARE(sink.records, 2);
}

void TestQuestionFile::laterMapReplacesEarlierOne() {
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("second.bmp")), 10, 20));
    const QString file =
        writeFile(QStringLiteral("q.zvm"),
                  "\"Map\",\"./map.bmp\"\r\n\"Map\",\"./second.bmp\"\r\n\"End\"\r\n");
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(QuestionFile::read(file, sink), ReadOutcome::Success);
    QCOMPARE(sink.map.size(), QSize(10, 20));
    QCOMPARE(sink.mapReference, QStringLiteral("./second.bmp"));
}

void TestQuestionFile::continuesAfterMapFailureWhenAsked() {
    const QString file = writeFile(
        QStringLiteral("q.zvm"),
        "\"Map\",\"./gone.bmp\"\r\n\"Point\",\"1\",\"2\",\"h\",\"a\",\"\",\"\"\r\n"
        "\"Map\",\"./map.txt\"\r\n\"Point\",\"3\",\"4\",\"h\",\"b\",\"\",\"\"\r\n\"End\"\r\n");
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("map.txt")), "text"));
    QuestionTable table;
    RecordingSink sink(table, QuestionSink::AfterMapFailure::Continue);
    QCOMPARE(QuestionFile::read(file, sink), ReadOutcome::Success);
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(sink.failures.size(), 2);
    QCOMPARE(sink.failures[0],
             std::make_pair(ReadOutcome::MapMissing, QStringLiteral("./gone.bmp")));
    QCOMPARE(sink.failures[1],
             std::make_pair(ReadOutcome::MapNotBitmap, QStringLiteral("./map.txt")));
    QVERIFY(sink.map.isNull());
}

void TestQuestionFile::resolvesRelativeReferences_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("outcome");
    QTest::newRow("./ and a name")
        << QStringLiteral("./maps/japan.bmp") << int(ReadOutcome::Success);
    QTest::newRow("backslash from Windows")
        << QStringLiteral("./maps\\japan.bmp") << int(ReadOutcome::Success);
    QTest::newRow(".\\ is not relative")
        << QStringLiteral(".\\maps\\japan.bmp") << int(ReadOutcome::MapMissing);
    QTest::newRow("full path") << QStringLiteral("<dir>/maps/japan.bmp")
                               << int(ReadOutcome::Success);
    QTest::newRow("a folder is no map") << QStringLiteral("./maps") << int(ReadOutcome::MapMissing);
}

void TestQuestionFile::resolvesRelativeReferences() {
    QFETCH(QString, reference);
    QFETCH(int, outcome);
    // The question file lives in another folder than the process's current one.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("quiz/maps")));
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("quiz/maps/japan.bmp"))));
    reference.replace(QStringLiteral("<dir>"), path(QStringLiteral("quiz")));
    const QString file =
        writeFile(QStringLiteral("quiz/q.zvm"),
                  TestFiles::record({QStringLiteral("Map"), reference}) + "\"End\"\r\n");
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(int(QuestionFile::read(file, sink)), outcome);
    if (outcome == int(ReadOutcome::Success))
        QCOMPARE(sink.mapReference, reference);
}

void TestQuestionFile::refusesMoreThanTheTableHolds() {
    QByteArray bytes = "\"Map\",\"./map.bmp\"\r\n";
    const QByteArray pointRecord = "\"Point\",\"1\",\"2\",\"h\",\"a\",\"\",\"\"\r\n";
    for (int i = 0; i < kMaxPoints; ++i)
        bytes += pointRecord;
    const QString full = writeFile(QStringLiteral("full.zvm"), bytes + "\"End\"\r\n");
    const QString over = writeFile(QStringLiteral("over.zvm"), bytes + pointRecord + "\"End\"\r\n");
    QuestionTable table;
    TableSink sink(table);
    QCOMPARE(QuestionFile::read(full, sink), ReadOutcome::Success);
    QCOMPARE(table.rowCount(), kMaxPoints);
    table.clear();
    QCOMPARE(QuestionFile::read(over, sink), ReadOutcome::TooManyPoints);
    QCOMPARE(table.rowCount(), kMaxPoints);
}

void TestQuestionFile::cannotOpenWhatIsNoRegularFile() {
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(QuestionFile::read(path(QStringLiteral("missing.zvm")), sink),
             ReadOutcome::CannotOpen);
    QCOMPARE(QuestionFile::read(m_dir.path(), sink), ReadOutcome::CannotOpen);
    QCOMPARE(QuestionFile::read(QStringLiteral("/dev/zero"), sink), ReadOutcome::CannotOpen);
    const QString fifo = path(QStringLiteral("fifo.zvm"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(QuestionFile::read(fifo, sink), ReadOutcome::CannotOpen); // and does not block
    QCOMPARE(sink.started, 0);
}

void TestQuestionFile::hostileMaps_data() {
    QTest::addColumn<QByteArray>("mapBytes");
    // A valid 24-bit BMP header claiming 100000 x 100000 pixels and holding none of them.
    QByteArray huge("BM", 2);
    auto le32 = [](quint32 v) {
        return QByteArray(reinterpret_cast<const char*>(&v), 4);
    };
    auto le16 = [](quint16 v) {
        return QByteArray(reinterpret_cast<const char*>(&v), 2);
    };
    huge += le32(54) + le32(0) + le32(54) + le32(40) + le32(100000) + le32(100000) + le16(1) +
            le16(24) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0);
    QTest::newRow("enormous dimensions") << huge;
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("whole.bmp")), 64, 48));
    const QByteArray whole = TestFiles::readBytes(path(QStringLiteral("whole.bmp")));
    QTest::newRow("cut after the header") << whole.left(54);
    QTest::newRow("last byte missing") << whole.left(whole.size() - 1);
    QTest::newRow("not a picture at all") << QByteArray("this is text, not a bitmap");
    QTest::newRow("empty file") << QByteArray();
}

void TestQuestionFile::hostileMaps() {
    QFETCH(QByteArray, mapBytes);
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("bad.bmp")), mapBytes));
    const QString file = writeFile(QStringLiteral("q.zvm"), "\"Map\",\"./bad.bmp\"\r\n\"End\"\r\n");
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(QuestionFile::read(file, sink), ReadOutcome::ReadError);
    QVERIFY(sink.map.isNull());
}

void TestQuestionFile::hostileFilesEndInAnOutcome_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("outcome");
    QTest::newRow("10 MB field in a point")
        << "\"Map\",\"./map.bmp\"\r\n\"Point\",\"" + QByteArray(10 << 20, 'x') + "\""
        << int(ReadOutcome::ReadError);
    QTest::newRow("10 MB keyword") << QByteArray(10 << 20, 'k') << int(ReadOutcome::Malformed);
    QTest::newRow("truncated map reference")
        << QByteArray("\"Map\",\"./map.b") << int(ReadOutcome::MapMissing);
}

void TestQuestionFile::hostileFilesEndInAnOutcome() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    const QString file = writeFile(QStringLiteral("q.zvm"), bytes);
    QuestionTable table;
    RecordingSink sink(table);
    QCOMPARE(int(QuestionFile::read(file, sink)), outcome);
}

QTEST_GUILESS_MAIN(TestQuestionFile)
#include "tst_questionfile.moc"
