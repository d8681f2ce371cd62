// The main window: controls, menus, layout, pointer display, modes, help and version, and the
// Open command with every way a read can end.
#include "core/platform/Twips.h"
#include "ui/app/MainWindow.h"
#include "ui/app/StatusPanels.h"
#include "ui/platform/MapView.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using TestFiles::u8;

namespace {

const QString kOpenFilter = u8("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm");
const QString kStartText = u8("ｽﾀｰﾄして下さい。");
const QString kErrorText = u8("ｴﾗｰが発生しました。");
const QString kOpeningText = u8("ﾌｧｲﾙを開いています...");

PointList somePoints(int count, const QString& prefix = u8("地点")) {
    PointList points;
    for (int i = 0; i < count; ++i)
        points.append(TestFiles::point(QString::number(10 + i), QString::number(20 + i),
                                       prefix + QString::number(i), u8("答え") + QString::number(i),
                                       QString(), u8("情報")));
    return points;
}

bool hasWaitCursor(const QWidget& w) {
    return w.testAttribute(Qt::WA_SetCursor) && w.cursor().shape() == Qt::WaitCursor;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowAndControls();
    void menus_data();
    void menus();
    void resizeAtDesignSize();
    void resizeBelowMinimumHeight();
    void pointerCoordinates_data();
    void pointerCoordinates();
    void pointerOverBackgroundAndOtherControls();
    void pointerAtAnyZoom_data();
    void pointerAtAnyZoom();
    void modes();
    void version();
    void helpWithoutHelpFile();
    void helpWithHelpFile();

    void openCancelChangesNothing();
    void openSuccess();
    void openFailures_data();
    void openFailures();
    void openAfterReadErrorWorks();
    void historyMovesPathToTop();
    void secondOpenReplacesPoints();
    void largeMapGrowsTheWindow();
    void pointLimit_data();
    void pointLimit();
    void commandsHeldDuringRead();
    void closeDuringReadWaits();

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    QString writeQuestionFile(const QString& name, const QString& mapRef, const PointList& points);
    void open(const QString& file);
    MapView* map() const { return Controls::find<MapView>(m_window.get(), "Picture1"); }
    QAction* action(const char* name) const { return Controls::action(m_window.get(), name); }
    QString status(const char* panel = "Panel_Main") const {
        return Controls::text(m_window.get(), panel);
    }
    StatusPanels* panels() const { return m_window->findChild<StatusPanels*>(); }
    QLabel* panel(StatusPanels::Panel which) const { return panels()->label(which); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("map.bmp")), 64, 48));
    m_services = std::make_unique<FakeServices>();
    // An own folder without a help file.
    m_window = std::make_unique<MainWindow>(*m_services, m_dir->path() + u'/');
}

void TestMainWindow::cleanup() {
    m_window.reset();
    m_services.reset();
    m_dir.reset();
}

QString TestMainWindow::writeQuestionFile(const QString& name, const QString& mapRef,
                                          const PointList& points) {
    const QString file = path(name);
    if (!TestFiles::writeBytes(file, TestFiles::questionFile(mapRef, points)))
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

void TestMainWindow::open(const QString& file) {
    m_services->answerFile(file);
    action("Menu2_Open")->trigger();
}

void TestMainWindow::windowAndControls() {
    MainWindow& f = *m_window;
    QCOMPARE(f.windowTitle(), u8("ZAV地図覚え"));
    QCOMPARE(f.objectName(), QStringLiteral("Form1"));

    QCOMPARE(f.findChild<MapView*>(QStringLiteral("Picture1")), map());
    auto* marker = f.findChild<MapMarker*>(QStringLiteral("Shape1"));
    QVERIFY(marker);
    QVERIFY(!map()->isMarkerShown());
    QCOMPARE(map()->geometry(), QRect(8, 8, 441, 273));

    // The marker blinks from the start, hidden or not: each tick steps red to blue.
    auto* blink = map()->findChild<QTimer*>();
    QVERIFY(blink);
    QCOMPARE(blink->interval(), 300);
    QVERIFY(blink->isActive());
    blink->stop(); // the tick comes from the test
    QCOMPARE(marker->fillColor(), QColor(Qt::red));
    QVERIFY(QMetaObject::invokeMethod(blink, "timeout"));
    QCOMPARE(marker->fillColor(), QColor(0, 0, 255));

    QCOMPARE(Controls::find<QWidget>(&f, "Line1_0")->geometry(), QRect(8, 0, 440, 1));
    QCOMPARE(Controls::find<QWidget>(&f, "Line1_1")->geometry(), QRect(8, 1, 440, 1));

    auto* statusBar = Controls::find<QStatusBar>(&f, "StatusBar1");
    QCOMPARE(statusBar, f.statusBar());
    for (const char* key : {"Panel_Main", "Panel_Time", "Panel_Position"})
        QVERIFY2(statusBar->findChild<QLabel*>(QString::fromLatin1(key)), key);
    QCOMPARE(status(), u8("ﾌｧｲﾙを開いてください。"));
    QCOMPARE(status("Panel_Time"), QString());
    QCOMPARE(status("Panel_Position"), QString());
    QCOMPARE(panels()->widthTwips(StatusPanels::Time), 1000);
    QCOMPARE(panels()->widthTwips(StatusPanels::Position), 1440);

    QVERIFY(f.questionTable().isEmpty());
    QVERIFY(f.session().recentFiles().isEmpty());
    QCOMPARE(f.openDialog().filter, kOpenFilter);
    QCOMPARE(f.openDialog().fileName, QString());
    QCOMPARE(f.session().ownFolder(), m_dir->path() + u'/');
}

void TestMainWindow::menus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent"); // the menu that holds it; empty for the menu bar
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");

    const QKeySequence none;
    auto row = [&](const char* name, const char* parent, int position, const char* caption,
                   const QKeySequence& shortcut, bool enabled, bool checked) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << position
                            << u8(caption) << shortcut << enabled << checked;
    };
    row("Menu1_File", "", 0, "ﾌｧｲﾙ(&F)", none, true, false);
    row("Menu2_Open", "Menu1_File", 0, "開く(&O)", QKeySequence(QStringLiteral("Ctrl+O")), true,
        false);
    row("Menu2_OpenSample", "Menu1_File", 1, "ｻﾝﾌﾟﾙを開く(&A)...", none, true, false);
    row("Menu2_Start", "Menu1_File", 2, "ｽﾀｰﾄ(&S)", QKeySequence(QStringLiteral("Ctrl+S")), true,
        false);
    row("Menu2_Stop", "Menu1_File", 3, "中止(&T)", none, false, false);
    row("Menu2_Review", "Menu1_File", 4, "結果(&R)", none, false, false);
    row("Menu2_Print", "Menu1_File", 6, "印刷(&P)...", none, false, false);
    row("Menu2_ExportPdf", "Menu1_File", 7, "PDFに書き出し(&D)...", none, false, false);
    row("Menu2_End", "Menu1_File", 9, "終了(&X)", none, true, false);
    row("Menu1_Edit", "", 1, "編集(&E)", none, true, false);
    row("Menu2_Mode", "Menu1_Edit", 0, "ﾓｰﾄﾞ(&M)", none, true, false);
    row("Menu3_PMode", "Menu2_Mode", 0, "練習ﾓｰﾄﾞ(&P)", none, true, false);
    row("Menu3_NMode", "Menu2_Mode", 1, "通常ﾓｰﾄﾞ(&N)", none, true, true);
    row("Menu3_WMode", "Menu2_Mode", 2, "苦手優先ﾓｰﾄﾞ(&W)", none, true, false);
    row("Menu3_RMode", "Menu2_Mode", 3, "今日の復習ﾓｰﾄﾞ(&R)", none, true, false);
    row("Menu2_FileEdit", "Menu1_Edit", 1, "ﾌｧｲﾙ編集(&F)", none, true, false);
    row("Menu2_Option", "Menu1_Edit", 2, "ｵﾌﾟｼｮﾝ(&O)", none, true, false);
    row("Menu2_StudyOption", "Menu1_Edit", 3, "学習の設定(&L)...", none, true, false);
    row("Menu2_Method", "Menu1_Edit", 5, "解答方法(&A)", none, true, false);
    row("Menu3_Typing", "Menu2_Method", 0, "入力(&I)", none, true, true);
    row("Menu3_Locate", "Menu2_Method", 1, "地図で探す(&L)", none, true, false);
    row("Menu3_Choice", "Menu2_Method", 2, "選択式(&C)", none, true, false);
    row("Menu2_Judging", "Menu1_Edit", 6, "判定の設定(&J)...", none, true, false);
    row("Menu1_View", "", 2, "表示(&V)", none, true, false);
    row("Menu2_ZoomIn", "Menu1_View", 0, "拡大", QKeySequence(QStringLiteral("Ctrl++")), true,
        false);
    row("Menu2_ZoomOut", "Menu1_View", 1, "縮小", QKeySequence(QStringLiteral("Ctrl+-")), true,
        false);
    row("Menu2_ActualSize", "Menu1_View", 2, "実ｻｲｽﾞ", QKeySequence(QStringLiteral("Ctrl+0")), true,
        false);
    row("Menu2_WholeMap", "Menu1_View", 3, "全体を表示", none, true, false);
    row("Menu2_Mastery", "Menu1_View", 5, "習熟度を表示(&M)", none, true, false);
    row("Menu2_Explore", "Menu1_View", 6, "地図を見る(&E)", QKeySequence(QStringLiteral("Ctrl+E")),
        false, false);
    row("Menu2_Progress", "Menu1_View", 7, "学習の記録(&P)...", none, false, false);
    row("Menu1_Help", "", 3, "ﾍﾙﾌﾟ(&H)", none, true, false);
    row("Menu2_Help", "Menu1_Help", 0, "ﾍﾙﾌﾟ(&H)", none, true, false);
    row("Menu2_Version", "Menu1_Help", 1, "ﾊﾞｰｼﾞｮﾝ情報(&V)", none, true, false);
}

void TestMainWindow::menus() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(int, position);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);

    const QList<QAction*> found = m_window->findChildren<QAction*>(name);
    QVERIFY(!found.isEmpty());
    QAction* action = found.first();
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(action->isEnabled(), enabled);
    QCOMPARE(action->isChecked(), checked);

    const QList<QAction*> siblings = parent.isEmpty()
                                         ? m_window->menuBar()->actions()
                                         : m_window->findChild<QMenu*>(parent)->actions();
    QCOMPARE(siblings.indexOf(action), position);
    const QHash<QString, int> itemCounts = {{QString(), 4},
                                            {QStringLiteral("Menu1_View"), 8},
                                            {QStringLiteral("Menu1_File"), 10},
                                            {QStringLiteral("Menu1_Edit"), 7},
                                            {QStringLiteral("Menu2_Mode"), 4},
                                            {QStringLiteral("Menu2_Method"), 3},
                                            {QStringLiteral("Menu1_Help"), 2}};
    QCOMPARE(siblings.size(), itemCounts.value(parent));
}

void TestMainWindow::resizeAtDesignSize() {
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // Whatever frame the platform adds, the rule works from the outer size.
    const QRect frame = f.frameGeometry();
    QCOMPARE(map()->width(), frame.width() - 21);
    QCOMPARE(map()->height(), frame.height() - 75);
    QCOMPARE(map()->pos(), QPoint(8, 8));
    const int mainTwips = frame.width() * 15 - 1440 - 1000 - 100;
    QCOMPARE(panels()->widthTwips(StatusPanels::Main), mainTwips);
    QCOMPARE(panel(StatusPanels::Main)->width(), Twips::toPixels(mainTwips));
    QCOMPARE(panel(StatusPanels::Time)->width(), 67);
    QCOMPARE(panel(StatusPanels::Position)->width(), 96);
    QCOMPARE(panel(StatusPanels::Time)->x(), panel(StatusPanels::Main)->width());
    for (const char* line : {"Line1_0", "Line1_1"})
        QCOMPARE(Controls::find<QWidget>(&f, line)->geometry().right() + 1,
                 Twips::toPixels(frame.width() * 15 - 210));

    // A larger window grows the map view and the main panel only.
    f.resize(f.width() + 150, f.height() + 60);
    QTRY_COMPARE(map()->width(), f.frameGeometry().width() - 21);
    QCOMPARE(map()->height(), f.frameGeometry().height() - 75);
    QCOMPARE(panel(StatusPanels::Time)->width(), 67);
    QCOMPARE(panel(StatusPanels::Main)->width(), Twips::toPixels(mainTwips + 150 * 15));
}

void TestMainWindow::resizeBelowMinimumHeight() {
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const int heightBefore = map()->height();
    const int frameExtra = f.frameGeometry().height() - f.height();

    // Lower than 75 pixels (1,125 twips) from frame to frame, and narrower than the panels.
    f.resize(120, qMax(1, 70 - frameExtra));
    QTRY_VERIFY(f.frameGeometry().height() < 75);
    if (f.frameGeometry().width() * 15 >= 2540)
        QSKIP("the platform keeps the window wider than the panels");

    // The height assignment is skipped; the assignments after it still run.
    QCOMPARE(map()->height(), heightBefore);
    QCOMPARE(map()->width(), qMax(0, f.frameGeometry().width() - 21));
    const int lineEnd = f.frameGeometry().width() * 15 - 210;
    QCOMPARE(Controls::find<QWidget>(&f, "Line1_0")->width(), Twips::toPixels(qAbs(lineEnd - 120)));
    // Panel_Main keeps its last width, Panel_Time gets its own.
    QCOMPARE(panel(StatusPanels::Time)->width(), 67);
    QVERIFY(panels()->widthTwips(StatusPanels::Main) > 0);
}

void TestMainWindow::pointerCoordinates_data() {
    QTest::addColumn<QPointF>("mapPos");
    QTest::addColumn<QString>("expected");
    QTest::newRow("origin") << QPointF(0, 0) << QStringLiteral("X=0 Y=0");
    QTest::newRow("120, 45") << QPointF(120, 45) << QStringLiteral("X=120 Y=45");
    QTest::newRow("inside") << QPointF(300, 150) << QStringLiteral("X=300 Y=150");
}

void TestMainWindow::pointerCoordinates() {
    QFETCH(QPointF, mapPos);
    QFETCH(QString, expected);
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QPoint inWindow = map()->mapTo(&f, map()->fromMap(mapPos).toPoint());
    QTest::mouseMove(f.windowHandle(), inWindow);
    QTRY_COMPARE(status("Panel_Position"), expected);
}

void TestMainWindow::pointerOverBackgroundAndOtherControls() {
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QWidget* client = f.centralWidget();
    const QPoint overMap = map()->mapTo(&f, map()->fromMap({120, 45}).toPoint());
    QTest::mouseMove(f.windowHandle(), overMap);
    QTRY_COMPARE(status("Panel_Position"), QStringLiteral("X=120 Y=45"));

    // Over the status bar: unchanged.
    auto* statusBar = Controls::find<QStatusBar>(&f, "StatusBar1");
    const QPoint overStatus = statusBar->mapTo(&f, QPoint(5, statusBar->height() / 2));
    QTest::mouseMove(f.windowHandle(), overStatus);
    QTest::qWait(20);
    QCOMPARE(status("Panel_Position"), QStringLiteral("X=120 Y=45"));

    // Over the window's own background, left of the map view: cleared.
    const QPoint overBackground = client->mapTo(&f, QPoint(3, 100));
    QCOMPARE(client->childAt(QPoint(3, 100)), nullptr);
    QTest::mouseMove(f.windowHandle(), overBackground);
    QTRY_COMPARE(status("Panel_Position"), QString());

    // Back over the map view.
    QTest::mouseMove(f.windowHandle(), overMap + QPoint(1, 0));
    QTRY_COMPARE(status("Panel_Position"), QStringLiteral("X=121 Y=45"));
}

void TestMainWindow::pointerAtAnyZoom_data() {
    QTest::addColumn<QStringList>("commands"); // of the menu 表示(&V), after opening the file
    QTest::addColumn<qreal>("zoom");           // 0: the whole map in view
    QTest::addColumn<QPoint>("at");            // in the view
    QTest::newRow("whole map") << QStringList() << 0.0 << QPoint(123, 77);
    QTest::newRow("200 %") << QStringList{u8("Menu2_ActualSize"), u8("Menu2_ZoomIn"),
                                          u8("Menu2_ZoomIn")}
                           << 2.0 << QPoint(131, 59);
}

// A map larger than the screen opens whole; at any zoom the panel shows the map pixel under
// the pointer.
void TestMainWindow::pointerAtAnyZoom() {
    QFETCH(QStringList, commands);
    QFETCH(qreal, zoom);
    QFETCH(QPoint, at);
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("large.bmp")), 3000, 2000));
    open(writeQuestionFile(QStringLiteral("large.zvm"), QStringLiteral("./large.bmp"),
                           somePoints(1)));
    for (const QString& command : commands)
        action(qPrintable(command))->trigger();
    if (zoom > 0)
        QCOMPARE(map()->zoom(), zoom);
    else
        QVERIFY(map()->zoom() < 1);
    const QPoint scroll(map()->horizontalScrollBar()->value(), map()->verticalScrollBar()->value());
    QTest::mouseMove(f.windowHandle(), map()->viewport()->mapTo(&f, at));
    const QPointF pixel = QPointF(at + scroll) / map()->zoom();
    QTRY_COMPARE(status("Panel_Position"),
                 QStringLiteral("X=%1 Y=%2").arg(int(pixel.x())).arg(int(pixel.y())));
}

void TestMainWindow::modes() {
    MainWindow& f = *m_window;
    QVERIFY(action("Menu3_NMode")->isChecked());
    QVERIFY(!action("Menu3_PMode")->isChecked());

    QCOMPARE(f.state().values().mode, QuizMode::Normal);
    action("Menu3_PMode")->trigger();
    QVERIFY(action("Menu3_PMode")->isChecked());
    QVERIFY(!action("Menu3_NMode")->isChecked());
    QCOMPARE(f.state().values().mode, QuizMode::Practice);
    // Choosing the checked item again changes nothing.
    action("Menu3_PMode")->trigger();
    QVERIFY(action("Menu3_PMode")->isChecked());
    QVERIFY(!action("Menu3_NMode")->isChecked());

    action("Menu3_NMode")->trigger();
    QVERIFY(action("Menu3_NMode")->isChecked());
    QVERIFY(!action("Menu3_PMode")->isChecked());
    action("Menu3_NMode")->trigger();
    QVERIFY(action("Menu3_NMode")->isChecked());
    QVERIFY(!action("Menu3_PMode")->isChecked());

    // Nothing else moved, and the mode is not kept: a new window starts in normal mode.
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(status(), u8("ﾌｧｲﾙを開いてください。"));
    action("Menu3_PMode")->trigger();
    MainWindow next(*m_services, m_dir->path() + u'/');
    QVERIFY(Controls::action(&next, "Menu3_NMode")->isChecked());
    QVERIFY(!Controls::action(&next, "Menu3_PMode")->isChecked());
}

void TestMainWindow::version() {
    action("Menu2_Version")->trigger();
    QCOMPARE(m_services->messages.size(), 1);
    const MessageRequest& m = m_services->lastMessage();
    QCOMPARE(m.text, u8("ZAV 地図覚え  Ver1.1"));
    QCOMPARE(m.title, u8("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m.icon, MessageIcon::None);
}

void TestMainWindow::helpWithoutHelpFile() {
    QCOMPARE(m_window->helpFile(), QString());
    action("Menu2_Help")->trigger();
    QCOMPARE(m_services->messages.size(), 1);
    const MessageRequest& m = m_services->lastMessage();
    QCOMPARE(m.text,
             u8("ﾍﾙﾌﾟﾌｧｲﾙが見つかりません。\rﾍﾙﾌﾟﾌｧｲﾙは、実行ﾌｧｲﾙと同じﾃﾞｨﾚｸﾄﾘにおいてください。"));
    QCOMPARE(m.title, u8("ﾍﾙﾌﾟ"));
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QVERIFY(m_services->helpRequests.isEmpty());
}

void TestMainWindow::helpWithHelpFile() {
    const QString help = path(u8("ZAV地図覚えヘルプ.hlp"));
    QVERIFY(TestFiles::writeBytes(help, "<html><body>help</body></html>"));
    MainWindow f(*m_services, m_dir->path() + u'/');
    QCOMPARE(f.helpFile(), help);
    Controls::action(&f, "Menu2_Help")->trigger();
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(m_services->helpRequests, QStringList{help});
}

void TestMainWindow::openCancelChangesNothing() {
    MainWindow& f = *m_window;
    const QString first =
        writeQuestionFile(QStringLiteral("a.zvm"), path(QStringLiteral("map.bmp")), somePoints(3));
    open(first);
    QCOMPARE(status(), kStartText);
    panel(StatusPanels::Main)->setText(QStringLiteral("before"));
    const PointList rows = f.questionTable().rows();

    m_services->answerFile(QString()); // cancel
    action("Menu2_Open")->trigger();

    QCOMPARE(m_services->fileRequests.size(), 2);
    const FakeServices::FileRequest& request = m_services->fileRequests.last();
    QVERIFY(!request.save);
    QCOMPARE(request.filter, kOpenFilter);
    QCOMPARE(request.proposed, first); // the dialog remembers the last choice
    QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(f.questionTable().rows(), rows);
    QCOMPARE(map()->mapSize(), QSize(64, 48));
    QCOMPARE(f.session().recentFiles().entries(), QStringList{first});
    QCOMPARE(f.openDialog().fileName, first);
    QVERIFY(!hasWaitCursor(f));
    QVERIFY(m_services->messages.isEmpty());

    // A chosen file that cannot be opened changes nothing either.
    const QString missing = path(QStringLiteral("gone.zvm"));
    QCOMPARE(f.loadQuestionFile(missing, false), ReadOutcome::CannotOpen);
    QCOMPARE(status(), QStringLiteral("before"));
    QCOMPARE(f.questionTable().rows(), rows);
    QCOMPARE(f.session().recentFiles().entries(), QStringList{first});
    QVERIFY(!hasWaitCursor(f));
    QVERIFY(m_services->messages.isEmpty());
}

void TestMainWindow::openSuccess() {
    MainWindow& f = *m_window;
    // A relative map reference is found beside the question file, not in the working folder.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("sub/small.bmp")), 30, 20));
    PointList points = somePoints(2);
    points.append(TestFiles::point(QStringLiteral("5"), QStringLiteral("6"), u8("東京, 大阪"),
                                   u8("答え"), u8("別解"), u8("一行目\r\n二行目")));
    const QString file =
        writeQuestionFile(QStringLiteral("sub/q.zvm"), QStringLiteral("./small.bmp"), points);
    QString statusDuringRead;
    bool waitCursorDuringRead = false;
    QTimer::singleShot(0, &f, [&] {
        statusDuringRead = status();
        waitCursorDuringRead = hasWaitCursor(f);
    });
    open(file);

    QCOMPARE(statusDuringRead, kOpeningText);
    QVERIFY(waitCursorDuringRead);
    QCOMPARE(status(), kStartText);
    QVERIFY(!hasWaitCursor(f));
    QCOMPARE(f.questionTable().rows(), points);
    QCOMPARE(map()->mapSize(), QSize(30, 20));
    QCOMPARE(f.session().recentFiles().entries(), QStringList{file});
    QCOMPARE(f.openDialog().fileName, file);
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(status("Panel_Time"), QString());
    QVERIFY(action("Menu2_Open")->isEnabled());
    QVERIFY(!action("Menu2_Stop")->isEnabled());
}

void TestMainWindow::openFailures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // empty: no message box
    QTest::addColumn<int>("rows");
    QTest::addColumn<QSize>("mapSize"); // the map shown afterwards

    using TestFiles::record;
    const QString goodMap = QStringLiteral("map.bmp");
    const QByteArray map = record({QStringLiteral("Map"), QStringLiteral("%MAP%")});
    const QByteArray pointRecord =
        record({QStringLiteral("Point"), QStringLiteral("1"), QStringLiteral("2"), u8("ヒント"),
                u8("答え"), QString(), QString()});
    const QByteArray end = record({QStringLiteral("End")});
    const QSize previous(7, 5); // the map shown before this Open
    const QSize loaded(64, 48); // map.bmp

    QTest::newRow("map missing")
        << (pointRecord + record({QStringLiteral("Map"), QStringLiteral("./nothing.bmp")}) +
            pointRecord + end)
        << u8("指定されているﾏｯﾌﾟは存在しません。") << 1 << previous;
    QTest::newRow("map missing after a good map")
        << (map + pointRecord + pointRecord +
            record({QStringLiteral("Map"), QStringLiteral("./nothing.bmp")}) + end)
        << u8("指定されているﾏｯﾌﾟは存在しません。") << 2 << loaded;
    QTest::newRow("map not a bitmap")
        << (pointRecord + record({QStringLiteral("Map"), QStringLiteral("./map.Bmp")}) + end)
        << u8("指定されているﾏｯﾌﾟは、ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません。") << 1 << previous;
    QTest::newRow("malformed keyword")
        << (map + pointRecord + record({QStringLiteral("point"), QStringLiteral("1")}) + end)
        << u8("このﾌｧｲﾙは不正か、または壊れています。") << 1 << loaded;
    QTest::newRow("empty line between records")
        << (map + pointRecord + QByteArray("\r\n") + pointRecord + end)
        << u8("このﾌｧｲﾙは不正か、または壊れています。") << 1 << loaded;
    QTest::newRow("no End record") << (map + pointRecord + pointRecord) << QString() << 2 << loaded;
    QTest::newRow("short last Point record")
        << (map + pointRecord + QByteArray("\"Point\",\"1\",\"2\"\r\n")) << QString() << 1
        << loaded;
    QTest::newRow("empty file") << QByteArray() << QString() << 0 << previous;
    QTest::newRow("map that is no picture")
        << (pointRecord + record({QStringLiteral("Map"), QStringLiteral("./broken.bmp")}) + end)
        << QString() << 1 << previous;
}

void TestMainWindow::openFailures() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(int, rows);
    QFETCH(QSize, mapSize);
    MainWindow& f = *m_window;

    // An earlier file with another map and other points.
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("previous.bmp")), 7, 5));
    open(writeQuestionFile(QStringLiteral("previous.zvm"), path(QStringLiteral("previous.bmp")),
                           somePoints(5, QStringLiteral("old"))));
    QCOMPARE(f.questionTable().rowCount(), 5);
    const QStringList history = f.session().recentFiles().entries();

    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("map.Bmp")), 64, 48) ||
            QFileInfo::exists(path(QStringLiteral("map.Bmp"))));
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("broken.bmp")), "BM not really"));
    bytes.replace("%MAP%", path(QStringLiteral("map.bmp")).toUtf8());
    const QString file = path(QStringLiteral("bad.zvm"));
    QVERIFY(TestFiles::writeBytes(file, bytes));

    bool waitCursorAtMessage = false;
    m_services->onNextMessage(
        [&](const MessageRequest&) { waitCursorAtMessage = hasWaitCursor(f); });
    open(file);

    if (message.isEmpty()) {
        QVERIFY(m_services->messages.isEmpty());
    } else {
        QCOMPARE(m_services->messages.size(), 1);
        const MessageRequest& m = m_services->lastMessage();
        QCOMPARE(m.text, message);
        QCOMPARE(m.title, u8("ｴﾗｰ"));
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QCOMPARE(m.icon, MessageIcon::Exclamation);
        QVERIFY(waitCursorAtMessage);
    }
    QCOMPARE(status(), kErrorText);
    QVERIFY(!hasWaitCursor(f));
    QCOMPARE(f.questionTable().rowCount(), rows);
    for (int row = 0; row < rows; ++row)
        QCOMPARE(f.questionTable().text(ColumnHint, row), u8("ヒント"));
    QCOMPARE(map()->mapSize(), mapSize);
    QCOMPARE(f.session().recentFiles().entries(), history);
    QVERIFY(action("Menu2_Open")->isEnabled());
    QVERIFY(action("Menu2_Start")->isEnabled());
}

void TestMainWindow::openAfterReadErrorWorks() {
    MainWindow& f = *m_window;
    const QString file = path(QStringLiteral("q.zvm"));
    QByteArray bytes = TestFiles::questionFile(path(QStringLiteral("map.bmp")), somePoints(4));
    bytes.chop(7); // the End record
    QVERIFY(TestFiles::writeBytes(file, bytes));
    open(file);
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(status(), kErrorText);
    QVERIFY(!hasWaitCursor(f));
    QVERIFY(f.session().recentFiles().isEmpty());

    // Repaired, the same file opens at once.
    writeQuestionFile(QStringLiteral("q.zvm"), path(QStringLiteral("map.bmp")), somePoints(4));
    open(file);
    QCOMPARE(status(), kStartText);
    QCOMPARE(f.questionTable().rows(), somePoints(4));
    QCOMPARE(f.session().recentFiles().entries(), QStringList{file});
}

void TestMainWindow::historyMovesPathToTop() {
    MainWindow& f = *m_window;
    const QString file = writeQuestionFile(QStringLiteral("Quiz.zvm"),
                                           path(QStringLiteral("map.bmp")), somePoints(1));
    const QString otherCase = path(QStringLiteral("quiz.zvm"));
    for (const QString& entry :
         {QStringLiteral("/x/one.zvm"), file, otherCase, file, QStringLiteral("/x/two.zvm")})
        f.session().recentFiles().append(entry);

    open(file);
    QCOMPARE(
        f.session().recentFiles().entries(),
        (QStringList{file, QStringLiteral("/x/one.zvm"), otherCase, QStringLiteral("/x/two.zvm")}));

    // A start-up load (the dialog's name not set) updates the list the same way.
    MainWindow g(*m_services, m_dir->path() + u'/');
    g.session().recentFiles().append(QStringLiteral("/x/one.zvm"));
    g.session().recentFiles().append(file);
    QCOMPARE(g.loadQuestionFile(file, false), ReadOutcome::Success);
    QCOMPARE(g.session().recentFiles().entries(),
             (QStringList{file, QStringLiteral("/x/one.zvm")}));
    QCOMPARE(g.openDialog().fileName, QString());
}

void TestMainWindow::secondOpenReplacesPoints() {
    MainWindow& f = *m_window;
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("second.bmp")), 30, 20));
    const QString first = writeQuestionFile(
        QStringLiteral("first.zvm"), path(QStringLiteral("map.bmp")), somePoints(3, u8("一")));
    const PointList secondPoints = somePoints(2, u8("二"));
    const QString second = writeQuestionFile(QStringLiteral("second.zvm"),
                                             path(QStringLiteral("second.bmp")), secondPoints);
    open(first);
    QCOMPARE(f.questionTable().rowCount(), 3);
    open(second);
    QCOMPARE(f.questionTable().rows(), secondPoints);
    QCOMPARE(map()->mapSize(), QSize(30, 20));
    QCOMPARE(f.session().recentFiles().entries(), (QStringList{second, first}));
}

void TestMainWindow::largeMapGrowsTheWindow() {
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QSize before = f.size();
    // A small map leaves the window alone.
    open(
        writeQuestionFile(QStringLiteral("small.zvm"), QStringLiteral("./map.bmp"), somePoints(1)));
    QCOMPARE(f.size(), before);
    // A larger one makes it grow until the whole map shows.
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("large.bmp")), 600, 400));
    open(writeQuestionFile(QStringLiteral("large.zvm"), QStringLiteral("./large.bmp"),
                           somePoints(1)));
    QCOMPARE(status(), kStartText);
    QVERIFY(map()->contentsRect().width() >= 600);
    QVERIFY(map()->contentsRect().height() >= 400);
    // One larger than the screen stops at the screen's edges.
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("huge.bmp")), 4000, 3000));
    open(
        writeQuestionFile(QStringLiteral("huge.zvm"), QStringLiteral("./huge.bmp"), somePoints(1)));
    const QRect available = f.screen()->availableGeometry();
    QVERIFY(available.contains(f.frameGeometry()));
    QVERIFY(f.width() > 600);
}

void TestMainWindow::pointLimit_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("tooMany");
    QTest::newRow("32,767 points") << 32767 << false;
    QTest::newRow("32,768 points") << 32768 << true;
}

void TestMainWindow::pointLimit() {
    QFETCH(int, points);
    QFETCH(bool, tooMany);
    MainWindow& f = *m_window;
    const QString file = writeQuestionFile(QStringLiteral("big.zvm"),
                                           path(QStringLiteral("map.bmp")), somePoints(points));
    open(file);
    QCOMPARE(f.questionTable().rowCount(), 32767);
    QCOMPARE(f.questionTable().text(ColumnX, 32766), QString::number(10 + 32766));
    QVERIFY(!hasWaitCursor(f));
    if (!tooMany) {
        QVERIFY(m_services->messages.isEmpty());
        QCOMPARE(status(), kStartText);
        return;
    }
    QCOMPARE(m_services->messages.size(), 1);
    const MessageRequest& m = m_services->lastMessage();
    QCOMPARE(m.text, u8("ﾎﾟｲﾝﾄが多すぎます。\r読み込めるﾎﾟｲﾝﾄは32767個までです。"));
    QCOMPARE(m.title, u8("ｴﾗｰ"));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QCOMPARE(status(), kErrorText);
    QVERIFY(f.session().recentFiles().isEmpty());
}

void TestMainWindow::commandsHeldDuringRead() {
    MainWindow& f = *m_window;
    const QString file =
        writeQuestionFile(QStringLiteral("q.zvm"), path(QStringLiteral("map.bmp")), somePoints(50));
    const QString other = writeQuestionFile(QStringLiteral("other.zvm"),
                                            path(QStringLiteral("map.bmp")), somePoints(1));
    const QList<QAction*> commands = {
        action("Menu2_Open"),    action("Menu2_Start"),      action("Menu2_Stop"),
        action("Menu2_End"),     action("Menu2_Mode"),       action("Menu3_PMode"),
        action("Menu3_NMode"),   action("Menu2_FileEdit"),   action("Menu2_Option"),
        action("Menu2_Help"),    action("Menu2_Version"),    action("Menu2_ZoomIn"),
        action("Menu2_ZoomOut"), action("Menu2_ActualSize"), action("Menu2_WholeMap")};
    QList<bool> enabledBefore;
    for (QAction* action : commands)
        enabledBefore.append(action->isEnabled());

    bool ran = false;
    bool reading = false;
    QList<bool> enabledDuring;
    ReadOutcome nested = ReadOutcome::Success;
    int rowsWhenHeld = -1;
    // Fires while the read lets events run: every command tries to start.
    QTimer::singleShot(0, &f, [&] {
        ran = true;
        reading = f.state().values().busy;
        rowsWhenHeld = f.questionTable().rowCount();
        for (QAction* action : commands)
            enabledDuring.append(action->isEnabled());
        m_services->answerFile(other);
        for (QAction* action : commands)
            action->trigger();
        QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
        nested = f.loadQuestionFile(other, true);
    });
    m_services->answerFile(file);
    action("Menu2_Open")->trigger();

    QVERIFY(ran);
    QVERIFY(reading);
    QVERIFY(rowsWhenHeld < 50);
    QCOMPARE(enabledDuring, QList<bool>(commands.size(), false));
    QCOMPARE(nested, ReadOutcome::CannotOpen);
    // None of them ran: no second dialog, no message, no mode change, the window still open.
    QCOMPARE(m_services->fileRequests.size(), 1);
    QVERIFY(m_services->messages.isEmpty());
    QVERIFY(action("Menu3_NMode")->isChecked());
    QVERIFY(!action("Menu3_PMode")->isChecked());
    QCOMPARE(f.questionTable().rowCount(), 50);
    QCOMPARE(f.session().recentFiles().entries(), QStringList{file});
    QCOMPARE(status(), kStartText);
    QVERIFY(!f.state().values().busy);

    // Afterwards every command has its state from before the read.
    QList<bool> enabledAfter;
    for (QAction* action : commands)
        enabledAfter.append(action->isEnabled());
    QCOMPARE(enabledAfter, enabledBefore);
    m_services->clear();
    m_services->answerFile(other);
    action("Menu2_Open")->trigger();
    QCOMPARE(m_services->fileRequests.size(), 1);
    QCOMPARE(f.questionTable().rowCount(), 1);
}

void TestMainWindow::closeDuringReadWaits() {
    MainWindow& f = *m_window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QString file =
        writeQuestionFile(QStringLiteral("q.zvm"), path(QStringLiteral("map.bmp")), somePoints(20));
    bool visibleAfterClose = false;
    QTimer::singleShot(0, &f, [&] {
        f.close();
        visibleAfterClose = f.isVisible();
    });
    open(file);
    QVERIFY(visibleAfterClose);
    QCOMPARE(f.questionTable().rowCount(), 20);
    QCOMPARE(status(), kStartText);
    // The close then goes ahead.
    QTRY_VERIFY(!f.isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
