// The editor's file commands through the window: New, Open, Save, Open map and Relative path,
// with every message, and what stays intact when one of them fails.
#include "EditorFixture.h"
#include "Unprivileged.h"
#include "core/platform/SystemError.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

using TestFiles::u8;

namespace {

const QString kErrorTitle = u8("ｴﾗｰ");
const QString kMalformed = u8("このﾌｧｲﾙは不正か、または壊れています。");
const QString kNotBitmap = u8("指定されているﾏｯﾌﾟは、ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません。");
const QString kDiscard = u8("編集中のﾌｧｲﾙは変更されています。\r破棄してよろしいですか？");

PointList samplePoints(int count) {
    PointList points;
    for (int i = 0; i < count; ++i)
        points.append(samplePoint(i));
    return points;
}

bool isErrorBox(const MessageRequest& m) {
    return m.title == kErrorTitle && m.buttons == MessageButtons::Ok &&
           m.icon == MessageIcon::Exclamation;
}

// Lowers the largest file this process may write, so that a save fails even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

class TestEditorFileCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void newFile_data();
    void newFile();
    void saveEmptyDocument();
    void saveWritesEveryRow();
    void roundTripKeepsEveryText();
    void relativeReferenceSurvives_data();
    void relativeReferenceSurvives();
    void openAsksAndReplaces_data();
    void openAsksAndReplaces();
    void openMapFailuresGoOn_data();
    void openMapFailuresGoOn();
    void openFailures_data();
    void openFailures();
    void openUnreadableChangesNothing();
    void openMap_data();
    void openMap();
    void relativePath_data();
    void relativePath();
    void failedSave_data();
    void failedSave();
    void unstorableSave_data();
    void unstorableSave();
    void commandsWaitWhileOpening();
    void pointLimit();
    void longFieldsSurviveUpdateAndSave();
    void saveAsksWhenTheFileChangedOnDisk();

private:
    QString path(const QString& name) const { return m_fixture->dir.filePath(name); }
    QString writeQuestion(const QString& name, const QString& mapRef, const PointList& points);
    void open(const QString& file) {
        m_fixture->services.answerFile(file);
        m_fixture->action("Menu2_Open")->trigger();
    }
    void openMap(const QString& file) {
        m_fixture->services.answerFile(file);
        m_fixture->action("Menu2_MapOpen")->trigger();
    }

    std::unique_ptr<EditorFixture> m_fixture;
};

void TestEditorFileCommands::init() {
    m_fixture = std::make_unique<EditorFixture>();
    QVERIFY(m_fixture->dir.isValid());
    QVERIFY(TestFiles::writeBmp(path(u8("map.bmp")), 64, 48));
    QVERIFY(QDir(m_fixture->dir.path()).mkdir(u8("maps")));
    QVERIFY(TestFiles::writeBmp(path(u8("maps/japan.bmp")), 30, 20));
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(path(u8("map.png")), "PNG"));
    QVERIFY(TestFiles::writeBmp(path(u8("shown.BMP")), 8, 8));
    QVERIFY(TestFiles::writeBytes(path(u8("broken.bmp")), "BM not really a picture"));
}

QString TestEditorFileCommands::writeQuestion(const QString& name, const QString& mapRef,
                                              const PointList& points) {
    const QString file = path(name);
    if (!TestFiles::writeBytes(file, TestFiles::questionFile(mapRef, points)))
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

void TestEditorFileCommands::newFile_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("cleared");

    QTest::newRow("no changes: asks nothing") << false << MessageAnswer::No << true;
    QTest::newRow("changes, No") << true << MessageAnswer::No << false;
    QTest::newRow("changes, Yes") << true << MessageAnswer::Yes << true;
}

void TestEditorFileCommands::newFile() {
    QFETCH(bool, changed);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, cleared);
    EditorFixture& f = *m_fixture;
    f.add(samplePoint(0));
    f.add(samplePoint(1));
    openMap(path(u8("map.bmp")));
    f.save(path(u8("q.zvm")));
    if (changed)
        f.add(samplePoint(2));
    f.selectRow(1);
    f.services.clear();
    f.services.answerMessage(answer);

    f.action("Menu2_New")->trigger();
    if (!changed) {
        QVERIFY(f.services.messages.isEmpty());
    } else {
        QCOMPARE(f.services.messages.size(), 1);
        const MessageRequest& m = f.services.lastMessage();
        QCOMPARE(m.text, kDiscard);
        QCOMPARE(m.title, u8("新規作成"));
        QCOMPARE(m.buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(m.icon, MessageIcon::Question);
    }
    if (cleared) {
        QCOMPARE(f.rows(), 0);
        QCOMPARE(f.list()->model()->rowCount(), 0);
        QCOMPARE(f.boxes(), Point{});
        QVERIFY(!f.mapView()->isMarkerShown());
        QVERIFY(!f.mapView()->hasMap());
        QCOMPARE(f.panel("EditingFile")->text(), QString());
        QCOMPARE(f.panel("MapName")->text(), QString());
        QCOMPARE(f.editor->document().editingFileName(), QString());
        QCOMPARE(f.editor->document().mapReference(), QString());
        QVERIFY(!f.modified());
        // An unnamed document again: the relative path asks to save first.
        f.action("Menu2_Path")->trigger();
        QCOMPARE(f.services.lastMessage().text,
                 u8("この処理は、先にファイルを保存してから行ってください。"));
    } else {
        QCOMPARE(f.rows(), 3);
        QCOMPARE(f.boxes(), samplePoint(1));
        QVERIFY(f.mapView()->hasMap());
        QCOMPARE(f.panel("EditingFile")->text(), path(u8("q.zvm")));
        QCOMPARE(f.panel("MapName")->text(), path(u8("map.bmp")));
        QCOMPARE(f.editor->document().editingFileName(), path(u8("q.zvm")));
        QVERIFY(f.modified());
    }
}

void TestEditorFileCommands::saveEmptyDocument() {
    EditorFixture& f = *m_fixture;
    f.save(path(u8("empty.zvm")));
    QCOMPARE(TestFiles::readBytes(path(u8("empty.zvm"))),
             QByteArray("\"Map\",\"\"\r\n\"End\"\r\n"));
    QCOMPARE(f.services.fileRequests.size(), 1);
    QVERIFY(f.services.fileRequests[0].save);
    QCOMPARE(f.services.fileRequests[0].filter, u8("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm"));
    QCOMPARE(f.editor->document().editingFileName(), path(u8("empty.zvm")));
    QCOMPARE(f.panel("EditingFile")->text(), path(u8("empty.zvm")));
    QVERIFY(f.services.messages.isEmpty());
    QVERIFY(!f.isBusyCursor());
}

void TestEditorFileCommands::saveWritesEveryRow() {
    EditorFixture& f = *m_fixture;
    for (const Point& p : samplePoints(3))
        f.add(p);
    openMap(path(u8("map.bmp")));
    QVERIFY(f.modified());

    // A cancelled dialog changes nothing.
    f.action("Menu2_Save")->trigger();
    QVERIFY(f.modified());
    QVERIFY(f.editor->document().editingFileName().isEmpty());

    f.save(path(u8("three.zvm")));
    QCOMPARE(TestFiles::readBytes(path(u8("three.zvm"))),
             TestFiles::questionFile(path(u8("map.bmp")), samplePoints(3)));
    QVERIFY(!f.modified());
    QCOMPARE(f.panel("EditingFile")->text(), path(u8("three.zvm")));
    // Closing after a save asks nothing.
    QVERIFY(f.editor->close());
    QVERIFY(f.services.messages.isEmpty());
    // Open and Save share one dialog, which offers the last name.
    f.editor->show();
    f.action("Menu2_Open")->trigger();
    QCOMPARE(f.services.fileRequests.last().proposed, path(u8("three.zvm")));
}

void TestEditorFileCommands::roundTripKeepsEveryText() {
    EditorFixture& f = *m_fixture;
    const PointList points = {
        {u8("128"), u8("45"), u8("大阪, 京都"), u8("東京"), u8("ﾄｳｷｮｳ"), u8("首都\r\n人口 1400万")},
        {u8("-5"), u8("900.25"), QString(), u8(" "), QString(), QString()},
        {u8("1E2"), u8("+3"), u8("〜 ～"), u8("ａｂｃ"), u8("①"), u8("一\r\n\r\n三")},
    };
    for (const Point& p : points)
        f.add(p);
    openMap(path(u8("map.bmp")));
    f.save(path(u8("round.zvm")));
    f.action("Menu2_New")->trigger();
    open(path(u8("round.zvm")));
    QCOMPARE(f.rows(), 3);
    QCOMPARE(f.editor->pointTable().row(0), points[0]);
    QCOMPARE(f.editor->pointTable().row(1), points[1]);
    // The Linux wave dash is stored as the code page's own character.
    QCOMPARE(f.editor->pointTable().text(ColumnHint, 2), u8("～ ～"));
    QCOMPARE(f.editor->pointTable().text(ColumnInfo, 2), points[2][ColumnInfo]);
    QCOMPARE(f.editor->document().mapReference(), path(u8("map.bmp")));
    QVERIFY(f.services.messages.isEmpty());
}

void TestEditorFileCommands::relativeReferenceSurvives_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QSize>("mapSize");
    QTest::newRow("beside the file") << u8("./map.bmp") << QSize(64, 48);
    QTest::newRow("subfolder") << u8("./maps/japan.bmp") << QSize(30, 20);
    QTest::newRow("subfolder written on Windows") << u8("./maps\\japan.bmp") << QSize(30, 20);
}

void TestEditorFileCommands::relativeReferenceSurvives() {
    QFETCH(QString, reference);
    EditorFixture& f = *m_fixture;
    const QString file = writeQuestion(u8("rel.zvm"), reference, samplePoints(2));
    const QByteArray before = TestFiles::readBytes(file);
    open(file);
    QVERIFY(f.services.messages.isEmpty());
    QTEST(f.mapView()->mapSize(), "mapSize");
    QCOMPARE(f.editor->document().mapReference(), reference);
    QCOMPARE(f.panel("MapName")->text(), reference);
    QCOMPARE(f.panel("EditingFile")->text(), file);
    f.save(file);
    QCOMPARE(TestFiles::readBytes(file), before);
}

void TestEditorFileCommands::openAsksAndReplaces_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("opened");

    QTest::newRow("no changes") << false << MessageAnswer::No << true;
    QTest::newRow("changes, No") << true << MessageAnswer::No << false;
    QTest::newRow("changes, Yes") << true << MessageAnswer::Yes << true;
}

void TestEditorFileCommands::openAsksAndReplaces() {
    QFETCH(bool, changed);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, opened);
    EditorFixture& f = *m_fixture;
    const QString file = writeQuestion(u8("two.zvm"), u8("./map.bmp"), samplePoints(2));
    for (int i = 5; i < 8; ++i)
        f.add(samplePoint(i));
    if (!changed)
        f.save(path(u8("first.zvm")));
    f.selectRow(2);
    f.services.clear();
    f.services.answerMessage(answer);
    f.services.answerFile(file);
    f.action("Menu2_Open")->trigger();

    QCOMPARE(f.services.messages.size(), changed ? 1 : 0);
    if (changed) {
        QCOMPARE(f.services.messages[0].text, kDiscard);
        QCOMPARE(f.services.messages[0].title, u8("開く"));
        QCOMPARE(f.services.messages[0].buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(f.services.messages[0].icon, MessageIcon::Question);
    }
    QCOMPARE(f.services.fileRequests.size(), opened ? 1 : 0);
    if (!opened) {
        QCOMPARE(f.rows(), 3);
        QCOMPARE(f.boxes(), samplePoint(7));
        QVERIFY(f.modified());
        return;
    }
    // That file alone, not appended to the rows before.
    QCOMPARE(f.editor->pointTable().rows(), samplePoints(2));
    QCOMPARE(f.list()->model()->rowCount(), 2);
    QCOMPARE(f.editor->pointTable().selection(), -1);
    QCOMPARE(f.boxes(), Point{});
    QVERIFY(!f.mapView()->isMarkerShown());
    QVERIFY(!f.modified());
    QCOMPARE(f.editor->document().editingFileName(), file);
    QCOMPARE(f.panel("EditingFile")->text(), file);
    QCOMPARE(f.panel("MapName")->text(), u8("./map.bmp"));
    QVERIFY(!f.isBusyCursor());
}

void TestEditorFileCommands::openMapFailuresGoOn_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("message");
    QTest::newRow("map missing") << u8("./nothere.bmp") << u8("指定されているﾏｯﾌﾟは存在しません。");
    QTest::newRow("empty reference") << QString() << u8("指定されているﾏｯﾌﾟは存在しません。");
    QTest::newRow("not a bitmap") << u8("./map.png") << kNotBitmap;
}

void TestEditorFileCommands::openMapFailuresGoOn() {
    QFETCH(QString, reference);
    QFETCH(QString, message);
    EditorFixture& f = *m_fixture;
    openMap(path(u8("map.bmp"))); // a map and a MapName that the open must not keep
    const QString file = writeQuestion(u8("nomap.zvm"), reference, samplePoints(4));
    f.services.clear();
    f.services.answerMessage(MessageAnswer::Yes);
    open(file);
    QCOMPARE(f.services.messages.size(), 2);
    QCOMPARE(f.services.messages[1].text, message);
    QVERIFY(isErrorBox(f.services.messages[1]));
    QCOMPARE(f.editor->pointTable().rows(), samplePoints(4));
    QCOMPARE(f.editor->document().mapReference(), QString());
    QVERIFY(!f.mapView()->hasMap());
    QCOMPARE(f.panel("MapName")->text(), QString());
    QCOMPARE(f.panel("EditingFile")->text(), file);
    QVERIFY(!f.modified());
    // So a following save writes an empty map reference.
    f.save(path(u8("again.zvm")));
    QCOMPARE(TestFiles::readBytes(path(u8("again.zvm"))),
             TestFiles::questionFile(QString(), samplePoints(4)));
}

void TestEditorFileCommands::openFailures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("message");
    QTest::addColumn<int>("rows");

    const QByteArray start =
        TestFiles::record({u8("Map"), u8("./map.bmp")}) +
        TestFiles::record({u8("Point"), u8("1"), u8("2"), u8("h"), u8("a"), u8("b"), u8("i")}) +
        TestFiles::record({u8("Point"), u8("3"), u8("4"), u8("h"), u8("c"), u8("d"), u8("i")});
    QTest::newRow("unknown keyword") << start + TestFiles::record({u8("Bogus")}) << true << 2;
    QTest::newRow("keyword in the wrong case")
        << start + TestFiles::record({u8("end")}) << true << 2;
    QTest::newRow("empty line") << start + "\r\n" + TestFiles::record({u8("End")}) << true << 2;
    QTest::newRow("no End record: read error, no message") << start << false << 2;
    QTest::newRow("short last point") << start + "\"Point\",\"1\",\"2\"\r\n" << false << 2;
    QTest::newRow("empty file") << QByteArray() << false << 0;
}

void TestEditorFileCommands::openFailures() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, message);
    QFETCH(int, rows);
    EditorFixture& f = *m_fixture;
    f.add(samplePoint(9));
    f.save(path(u8("before.zvm")));
    f.services.clear();
    QVERIFY(TestFiles::writeBytes(path(u8("bad.zvm")), bytes));
    open(path(u8("bad.zvm")));

    QCOMPARE(f.services.messages.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(f.services.lastMessage().text, kMalformed);
        QVERIFY(isErrorBox(f.services.lastMessage()));
    }
    QCOMPARE(f.panel("EditingFile")->text(), kMalformed);
    QCOMPARE(f.editor->document().editingFileName(), path(u8("bad.zvm")));
    QCOMPARE(f.rows(), rows);
    QVERIFY(!f.isBusyCursor());
    QVERIFY(!f.editor->isBusy());
}

void TestEditorFileCommands::openUnreadableChangesNothing() {
    EditorFixture& f = *m_fixture;
    openMap(path(u8("map.bmp")));
    f.add(samplePoint(1));
    f.save(path(u8("kept.zvm")));
    f.services.clear();
    open(path(u8("maps"))); // a folder: nothing to read
    QVERIFY(f.services.messages.isEmpty());
    QCOMPARE(f.rows(), 1);
    QVERIFY(f.mapView()->hasMap());
    QCOMPARE(f.editor->document().mapReference(), path(u8("map.bmp")));
    QCOMPARE(f.editor->document().editingFileName(), path(u8("kept.zvm")));
    QCOMPARE(f.panel("EditingFile")->text(), path(u8("kept.zvm")));
}

void TestEditorFileCommands::openMap_data() {
    QTest::addColumn<QString>("chosen"); // empty: cancelled
    QTest::addColumn<QString>("message");
    QTest::addColumn<QSize>("mapSize"); // invalid: no map

    const QString notLoadable = u8("指定されたﾌｧｲﾙは、ﾋﾞｯﾄﾏｯﾌﾟとして読み込めません。\r");
    QTest::newRow("cancelled") << QString() << QString() << QSize();
    QTest::newRow("bitmap") << u8("map.bmp") << QString() << QSize(64, 48);
    QTest::newRow("capital extension") << u8("shown.BMP") << QString() << QSize(8, 8);
    QTest::newRow("other picture") << u8("map.png") << kNotBitmap << QSize();
    QTest::newRow("no picture") << u8("broken.bmp") << notLoadable + u8("broken.bmp") << QSize();
}

void TestEditorFileCommands::openMap() {
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    QFETCH(QSize, mapSize);
    EditorFixture& f = *m_fixture;
    f.add(samplePoint(0));
    f.save(path(u8("q.zvm")));
    f.services.clear();
    const QString chosenPath = chosen.isEmpty() ? QString() : path(chosen);
    f.services.answerFile(chosenPath);
    f.action("Menu2_MapOpen")->trigger();

    QCOMPARE(f.services.fileRequests.size(), 1);
    QCOMPARE(f.services.fileRequests[0].filter, u8("ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp"));
    if (!message.isEmpty()) {
        QCOMPARE(f.services.messages.size(), 1);
        const QString expected = QString(message).replace(u8("broken.bmp"), chosenPath);
        QCOMPARE(f.services.lastMessage().text, expected);
        QVERIFY(isErrorBox(f.services.lastMessage()));
    } else {
        QVERIFY(f.services.messages.isEmpty());
    }
    const bool shown = mapSize.isValid();
    QCOMPARE(f.mapView()->hasMap(), shown);
    if (shown)
        QCOMPARE(f.mapView()->mapSize(), mapSize);
    QCOMPARE(f.editor->document().mapReference(), shown ? chosenPath : QString());
    QCOMPARE(f.panel("MapName")->text(), shown ? chosenPath : QString());
    QCOMPARE(f.modified(), shown);
}

void TestEditorFileCommands::relativePath_data() {
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QSize>("mapSize");

    const QString before = u8("BEFORE");
    QTest::newRow("unnamed document")
        << false << QString() << u8("この処理は、先にファイルを保存してから行ってください。")
        << before << QSize(64, 48);
    QTest::newRow("cancelled") << true << QString() << QString() << before << QSize(64, 48);
    QTest::newRow("no such file") << true << u8("nothere.bmp")
                                  << u8("指定されたﾌｧｲﾙは存在しません。") << before
                                  << QSize(64, 48);
    QTest::newRow("outside the folder")
        << true << u8("../map.bmp") << u8("指定されたﾌｧｲﾙは存在しません。") << before
        << QSize(64, 48);
    QTest::newRow("not a bitmap") << true << u8("map.png") << kNotBitmap << before << QSize(64, 48);
    QTest::newRow("not a picture")
        << true << u8("broken.bmp") << u8("指定されたﾌｧｲﾙは、ﾋﾞｯﾄﾏｯﾌﾟとして読み込めません。")
        << before << QSize(64, 48);
    QTest::newRow("subfolder") << true << u8("maps/japan.bmp") << QString()
                               << u8("./maps/japan.bmp") << QSize(30, 20);
    QTest::newRow("backslash subfolder")
        << true << u8("maps\\japan.bmp") << QString() << u8("./maps\\japan.bmp") << QSize(30, 20);
}

void TestEditorFileCommands::relativePath() {
    QFETCH(bool, named);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, reference);
    QFETCH(QSize, mapSize);
    EditorFixture& f = *m_fixture;
    openMap(path(u8("map.bmp")));
    if (named)
        f.save(path(u8("q.zvm")));
    const bool flag = f.modified();
    if (reference == u"BEFORE")
        reference = path(u8("map.bmp"));
    f.services.clear();
    f.services.answerInput(typed);
    f.action("Menu2_Path")->trigger();

    if (named) {
        QCOMPARE(f.services.inputRequests.size(), 1);
        QCOMPARE(f.services.inputRequests[0].title, u8("ﾏｯﾌﾟの指定"));
        QCOMPARE(f.services.inputRequests[0].prompt, u8("現在値=") + path(u8("map.bmp")) +
                                                         u8("\r現在のﾃﾞｨﾚｸﾄﾘ=") +
                                                         m_fixture->dir.path());
    } else {
        QVERIFY(f.services.inputRequests.isEmpty());
    }
    if (message.isEmpty()) {
        QVERIFY(f.services.messages.isEmpty());
    } else {
        QCOMPARE(f.services.messages.size(), 1);
        QVERIFY(f.services.lastMessage().text.startsWith(message));
        QCOMPARE(f.services.lastMessage().title, named ? kErrorTitle : u8("ﾏｯﾌﾟの指定"));
        QCOMPARE(f.services.lastMessage().icon, MessageIcon::Exclamation);
    }
    QCOMPARE(f.editor->document().mapReference(), reference);
    QCOMPARE(f.panel("MapName")->text(), reference);
    QCOMPARE(f.mapView()->mapSize(), mapSize);
    // Naming the map relatively leaves the flag as it was, set or not.
    QCOMPARE(f.modified(), flag);
}

void TestEditorFileCommands::failedSave_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("reason"); // SystemError::Condition
    using SystemError::Condition;
    QTest::newRow("target is a folder") << "folder" << int(Condition::Folder);
    QTest::newRow("parent is a file") << "parent" << int(Condition::NotFound);
    QTest::newRow("disk refuses the bytes") << "limit" << int(Condition::TooLarge);
    QTest::newRow("read-only folder") << "read-only" << int(Condition::NoPermission);
}

void TestEditorFileCommands::failedSave() {
    QFETCH(QString, how);
    QFETCH(int, reason);
    if (how == u"read-only" && Unprivileged::rerunIfRoot())
        return;
    EditorFixture& f = *m_fixture;
    for (const Point& p : samplePoints(2))
        f.add(p);
    const QString old = path(u8("old.zvm"));
    f.save(old);
    const QByteArray oldBytes = TestFiles::readBytes(old);
    for (int i = 2; i < 40; ++i)
        f.add(samplePoint(i));
    QVERIFY(f.modified());
    f.services.clear();

    QString target;
    if (how == u"folder") {
        target = path(u8("maps"));
        f.save(target);
    } else if (how == u"parent") {
        target = old + u8("/inside.zvm");
        f.save(target);
    } else if (how == u"read-only") {
        const QString folder = path(u8("読み取り専用"));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        target = folder + u8("/new.zvm");
        f.save(target);
    } else {
        target = old;
        FileSizeLimit limit(oldBytes.size() + 16);
        QVERIFY(limit.ok());
        f.save(target);
    }
    QCOMPARE(f.services.messages.size(), 1);
    const MessageRequest& m = f.services.lastMessage();
    QVERIFY(isErrorBox(m));
    // The reason in the program's words, never the system's English.
    QCOMPARE(m.text.split(u'\r'), (QStringList{u8("ﾌｧｲﾙを保存できませんでした。"), target,
                                               SystemError::text(SystemError::Condition(reason))}));
    QVERIFY2(!m.text.section(u'\r', 2).contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
             qPrintable(m.text));
    QCOMPARE(TestFiles::readBytes(old), oldBytes);
    QVERIFY(QFileInfo(path(u8("maps"))).isDir());
    QVERIFY(f.modified());
    QCOMPARE(f.editor->document().editingFileName(), old);
    QCOMPARE(f.panel("EditingFile")->text(), old);
    QCOMPARE(f.rows(), 40);
    QCOMPARE(
        QDir(m_fixture->dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u8("old.zvm")),
        QStringList{u8("old.zvm")}); // no temporary file left behind
}

void TestEditorFileCommands::unstorableSave_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("map reference")
        << "map" << u8("ﾏｯﾌﾟ名に、ﾌｧｲﾙに保存できない文字「é」が含まれています。");
    QTest::newRow("damaged text from a file")
        << "row" << u8("2番目の項目のﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「\uFFFD」が含まれています。");
}

void TestEditorFileCommands::unstorableSave() {
    QFETCH(QString, kind);
    QFETCH(QString, firstLine);
    EditorFixture& f = *m_fixture;
    if (kind == u"map") {
        QVERIFY(QDir(m_fixture->dir.path()).mkdir(u8("café")));
        QVERIFY(TestFiles::writeBmp(path(u8("café/map.bmp"))));
        f.add(samplePoint(0));
        openMap(path(u8("café/map.bmp")));
        QVERIFY(f.mapView()->hasMap());
    } else {
        QByteArray bytes = TestFiles::record({u8("Map"), QString()}) +
                           TestFiles::record({u8("Point"), u8("1"), u8("2"), u8("h"), u8("a"),
                                              QString(), QString()});
        bytes += "\"Point\",\"3\",\"4\",\"\x81\x20\",\"b\",\"\",\"\"\r\n";
        bytes += TestFiles::record({u8("End")});
        QVERIFY(TestFiles::writeBytes(path(u8("damaged.zvm")), bytes));
        open(path(u8("damaged.zvm")));
        QVERIFY(f.editor->pointTable().text(ColumnHint, 1).contains(QChar(0xFFFD)));
        f.add(samplePoint(5)); // a change, so the flag is set
    }
    const QString name = f.editor->document().editingFileName();
    f.services.clear();
    f.save(path(u8("target.zvm")));
    QCOMPARE(f.services.messages.size(), 1);
    QVERIFY(isErrorBox(f.services.lastMessage()));
    QCOMPARE(f.services.lastMessage().text.split(u'\r').first(), firstLine);
    QVERIFY(!QFile::exists(path(u8("target.zvm"))));
    QVERIFY(f.modified());
    QCOMPARE(f.editor->document().editingFileName(), name);
}

void TestEditorFileCommands::commandsWaitWhileOpening() {
    EditorFixture& f = *m_fixture;
    const QString file = writeQuestion(u8("slow.zvm"), u8("./nothere.bmp"), samplePoints(3));
    bool checked = false;
    // The map-missing message comes while the file is being read.
    f.services.onNextMessage([&](const MessageRequest&) {
        QVERIFY(f.editor->isBusy());
        QVERIFY(!f.isBusyCursor()); // the ordinary pointer while the box is up
        QCOMPARE(f.panel("EditingFile")->text(), u8("ﾌｧｲﾙを開いています..."));
        for (const char* name : {"Menu2_New", "Menu2_Open", "Menu2_Save", "Menu2_MapOpen",
                                 "Menu2_Path", "Menu2_EditMode", "PMenu_ListNum"})
            f.action(name)->trigger();
        f.commitButton()->click();
        f.modeButton()->click();
        QVERIFY(!f.editor->close());
        checked = true;
    });
    // Between records, with the box gone: the hourglass, and every command held.
    bool heldWhileReading = false;
    QTimer::singleShot(0, f.editor.get(), [&] {
        heldWhileReading = f.editor->isBusy() && f.isBusyCursor() &&
                           !f.action("Menu2_Save")->isEnabled() &&
                           !f.action("PMenu_Delete")->isEnabled() && !f.commitButton()->isEnabled();
    });
    open(file);
    QVERIFY(checked);
    QVERIFY(heldWhileReading);
    QVERIFY(f.action("Menu2_Save")->isEnabled());
    QVERIFY(f.commitButton()->isEnabled());
    QVERIFY(!f.isBusyCursor());
    QCOMPARE(f.services.fileRequests.size(), 1);
    QCOMPARE(f.services.inputRequests.size(), 0);
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.editor->mode(), EditMode::Add);
    QVERIFY(f.action("Menu2_AddMode")->isChecked());
    QVERIFY(!f.action("Menu2_EditMode")->isChecked());
    QCOMPARE(f.editor->pointTable().rows(), samplePoints(3));
    QVERIFY(f.editor->isVisible());
    QVERIFY(!f.editor->isBusy());
    // Afterwards commands run again.
    f.action("PMenu_ListNum")->trigger();
    QCOMPARE(f.services.lastMessage().text, u8("3項目"));
}

void TestEditorFileCommands::pointLimit() {
    EditorFixture& f = *m_fixture;
    PointList many;
    for (int i = 0; i < kMaxPoints + 1; ++i)
        many.append({QString::number(i % 500), u8("1"), QString(), u8("a"), QString(), QString()});
    const QString over = writeQuestion(u8("over.zvm"), QString(), many);
    many.removeLast();
    const QString full = writeQuestion(u8("full.zvm"), QString(), many);

    f.services.answerMessage(MessageAnswer::Ok); // the map-missing box of the empty reference
    open(full);
    QCOMPARE(f.rows(), kMaxPoints);
    QCOMPARE(f.list()->model()->rowCount(), kMaxPoints);
    QCOMPARE(f.panel("EditingFile")->text(), full);
    f.services.clear();
    f.add(samplePoint(1));
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.lastMessage().text,
             u8("これ以上追加できません。\r項目数は32767までです。"));
    QCOMPARE(f.rows(), kMaxPoints);

    f.services.clear();
    open(over);
    QCOMPARE(f.services.messages.size(), 2);
    QCOMPARE(f.services.lastMessage().text,
             u8("項目数が32767を超えているため、途中までしか読み込めませんでした。"));
    QVERIFY(isErrorBox(f.services.lastMessage()));
    QCOMPARE(f.rows(), kMaxPoints);
    QCOMPARE(f.panel("EditingFile")->text(), over);
}

void TestEditorFileCommands::longFieldsSurviveUpdateAndSave() {
    // Longer than QLineEdit's default limit of 32,767 characters, two bytes each on disk.
    const QString text(40000, QChar(0x5730));
    const QString file = writeQuestion(u8("long.zvm"), path(u8("map.bmp")),
                                       {{u8("1"), u8("2"), text, text, text, text}});
    EditorFixture& f = *m_fixture;
    open(file);
    f.action("Menu2_EditMode")->trigger();
    f.selectRow(0);
    f.commitButton()->click(); // Update from the boxes
    QCOMPARE(f.editor->pointTable().row(0)[ColumnHint], text);
    f.save(path(u8("copy.zvm")));
    QCOMPARE(TestFiles::readBytes(path(u8("copy.zvm"))), TestFiles::readBytes(file));
    QVERIFY(f.services.messages.isEmpty());
}

void TestEditorFileCommands::saveAsksWhenTheFileChangedOnDisk() {
    EditorFixture& f = *m_fixture;
    const QString file = writeQuestion(u8("shared.zvm"), path(u8("map.bmp")), {samplePoint(1)});
    open(file);
    f.add(samplePoint(2));
    f.save(file); // unchanged on disk: saved without a question
    QVERIFY(f.services.messages.isEmpty());
    f.add(samplePoint(3));

    // Another program writes the file meanwhile.
    const QByteArray theirs = TestFiles::questionFile(path(u8("map.bmp")), {samplePoint(9)});
    QVERIFY(TestFiles::writeBytes(file, theirs));
    QFile touched(file);
    QVERIFY(touched.open(QIODevice::ReadWrite));
    QVERIFY(touched.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                QFileDevice::FileModificationTime));
    touched.close();

    f.services.answerMessage(MessageAnswer::No);
    f.save(file);
    QCOMPARE(f.services.messages.size(), 1);
    QCOMPARE(f.services.lastMessage().text, u8("ﾌｧｲﾙが他で変更されています。上書きしますか？"));
    QCOMPARE(f.services.lastMessage().buttons, MessageButtons::YesNoDefaultNo);
    QCOMPARE(TestFiles::readBytes(file), theirs);
    QVERIFY(f.modified());
    QCOMPARE(f.rows(), 3);

    f.services.answerMessage(MessageAnswer::Yes);
    f.save(file);
    QCOMPARE(f.services.messages.size(), 2);
    QVERIFY(!f.modified());
    QVERIFY(TestFiles::readBytes(file) != theirs);
}

QTEST_MAIN(TestEditorFileCommands)
#include "tst_editorfilecommands.moc"
