// The bundled quizzes as ｻﾝﾌﾟﾙを開く lists them: where they are looked for, how they are grouped
// and ordered, what a file that cannot be read shows, and that the real samples folder holds
// exactly the quizzes its README lists.
#include "core/app/SampleLibrary.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::u8;

class TestSampleLibrary : public QObject {
    Q_OBJECT
private slots:
    void list_data();
    void list();
    void bundledQuizzesAreTheReadmes();
};

namespace {

// One question file of a test folder, "path=what": a count of points, "nomap" (a map that is
// not there) or "garbage"; any other file is written as it is named. "share:" puts it in the
// install's data folder instead of beside the program.
void writeSample(const QString& ownSamples, const QString& sharedSamples, QString file) {
    const bool shared = file.startsWith(u"share:");
    if (shared)
        file = file.mid(6);
    const QString path = (shared ? sharedSamples : ownSamples) + file.section(u'=', 0, 0);
    const QString what = file.section(u'=', 1);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QByteArray bytes = "text";
    if (what == u"garbage") {
        bytes = TestFiles::record({QStringLiteral("Nonsense")});
    } else if (what == u"nomap") {
        bytes = TestFiles::questionFile(QStringLiteral("./none.bmp"), {});
    } else if (!what.isEmpty()) {
        PointList points;
        for (int i = 0; i < what.toInt(); ++i)
            points.append(TestFiles::point(QStringLiteral("1"), QStringLiteral("2"), QString(),
                                           QString::number(i)));
        QVERIFY(TestFiles::writeBmp(QFileInfo(path).path() + QStringLiteral("/map.bmp")));
        bytes = TestFiles::questionFile(QStringLiteral("./map.bmp"), points);
    }
    QVERIFY(TestFiles::writeBytes(path, bytes));
}

// "subject|title|relative path|points", or the reason in place of the points.
QString shown(const SampleEntry& entry) {
    return QStringList{entry.subject, entry.title, entry.relativePath,
                       entry.readable() ? QString::number(entry.points) : entry.problem()}
        .join(u'|');
}

} // namespace

void TestSampleLibrary::list_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("listed");

    const auto l = [](std::initializer_list<const char*> texts) {
        QStringList list;
        for (const char* text : texts)
            list.append(u8(text));
        return list;
    };
    QTest::newRow("no samples folder") << QStringList() << QStringList();
    QTest::newRow("no question files") << l({"README.md=", "日本/メモ.txt="}) << QStringList();
    QTest::newRow("one level: no subject")
        << l({"都道府県/都道府県.zvm=47", "世界の国/世界の国.zvm=54"})
        << l({"|世界の国|世界の国/世界の国.zvm|54", "|都道府県|都道府県/都道府県.zvm|47"});
    QTest::newRow("two levels: by subject, then by folder")
        << l({"日本/都道府県/都道府県.zvm=3", "世界/首都/首都.zvm=2", "日本/川/川.zvm=1",
              "世界/国/国.zvm=4", "古い/古い.zvm=5"})
        << l({"|古い|古い/古い.zvm|5", "世界|国|世界/国/国.zvm|4", "世界|首都|世界/首都/首都.zvm|2",
              "日本|川|日本/川/川.zvm|1", "日本|都道府県|日本/都道府県/都道府県.zvm|3"});
    QTest::newRow("name from the file, any case of extension")
        << l({"日本/山地/山.ZVM=2", "日本/山地/山.zvm.bak="}) << l({"日本|山|日本/山地/山.ZVM|2"});
    QTest::newRow("unreadable: listed with the reason")
        << l({"日本/壊れ/壊れ.zvm=garbage", "日本/地図なし/地図なし.zvm=nomap", "日本/空/空.zvm=0"})
        << l({"日本|地図なし|日本/地図なし/地図なし.zvm|指定されているﾏｯﾌﾟは存在しません。",
              "日本|壊れ|日本/壊れ/壊れ.zvm|このﾌｧｲﾙは不正か、または壊れています。",
              "日本|空|日本/空/空.zvm|0"});
    QTest::newRow("installed data folder")
        << l({"share:日本/川/川.zvm=1"}) << l({"日本|川|日本/川/川.zvm|1"});
    QTest::newRow("beside the program first")
        << l({"share:日本/川/川.zvm=1", "日本/湖/湖.zvm=2"}) << l({"日本|湖|日本/湖/湖.zvm|2"});
}

void TestSampleLibrary::list() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The layout of an install: the program in lib/zavmap/, its data in share/zavmap/.
    const QString own = dir.path() + QStringLiteral("/lib/zavmap/");
    QVERIFY(QDir().mkpath(own));
    for (const QString& file : files)
        writeSample(own + QStringLiteral("samples/"),
                    dir.path() + QStringLiteral("/share/zavmap/samples/"), file);

    const QString folder = SampleLibrary::folder(own);
    QStringList found;
    for (const SampleEntry& entry : SampleLibrary::list(folder))
        found.append(shown(entry));
    QCOMPARE(found, listed);
    if (listed.isEmpty()) // the box names where the samples were looked for
        QVERIFY(SampleLibrary::noSamplesMessage(folder).text.contains(
            QDir::toNativeSeparators(folder)));
}

// The real samples folder lists exactly the quizzes of its README's table, each readable with
// the number of points the table gives ("| subject | folder | `file` | points |" rows).
void TestSampleLibrary::bundledQuizzesAreTheReadmes() {
    const QDir samples(QStringLiteral(ZAV_SAMPLES_DIR));
    const QString readme = QString::fromUtf8(TestFiles::readBytes(samples.filePath("README.md")));
    static const QRegularExpression row(
        QStringLiteral("^\\|[^|]*\\|[^|]*\\| `([^`]+\\.zvm)` \\| (\\d+) \\|"));
    QHash<QString, qint64> named;
    for (const QString& line : readme.split(u'\n')) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch())
            named.insert(m.captured(1), m.captured(2).toLongLong());
    }
    QVERIFY(named.size() >= 24);

    QHash<QString, qint64> listed;
    for (const SampleEntry& entry : SampleLibrary::list(samples.path() + u'/')) {
        QVERIFY2(entry.readable(), qPrintable(entry.relativePath));
        listed.insert(entry.relativePath, entry.points);
    }
    QCOMPARE(listed, named);
}

QTEST_GUILESS_MAIN(TestSampleLibrary)
#include "tst_samplelibrary.moc"
