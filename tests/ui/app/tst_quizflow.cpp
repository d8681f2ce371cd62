// A quiz through the main window: Start and its shuffle, the answer window's reports on the
// main window's panels and marker, the menus during a quiz, practice mode, the stop sequence,
// and the answer window kept off the marker.
#include "ScriptedRandom.h"

#include "core/quiz/QuizPlacement.h"
#include "ui/app/MainWindow.h"
#include "ui/platform/MapView.h"
#include "ui/quiz/AnswerWindow.h"
#include "ui/quiz/MapAnswerLink.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using TestFiles::point;
using TestFiles::u8;

namespace {

const QString kEmptyTableText =
    u8("ﾌｧｲﾙが開かれていないか、開いたﾌｧｲﾙにはﾎﾟｲﾝﾄが設定されていません。");
const QString kOrderingText = u8("並び替えています...");

// Points "地点i" answered by "答えi" (answer 2 "こたえi"), at x = 10 + 10 i, y = 20 + i.
PointList somePoints(int count) {
    PointList points;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        points.append(point(QString::number(10 + 10 * i), QString::number(20 + i), u8("地点") + n,
                            u8("答え") + n, u8("こたえ") + n, u8("情報") + n));
    }
    return points;
}

bool hasWaitCursor(const QWidget& w) {
    return w.testAttribute(Qt::WA_SetCursor) && w.cursor().shape() == Qt::WaitCursor;
}

} // namespace

class TestQuizFlow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void emptyTable();
    void startOpensTheAnswerWindow();
    void wholeQuizOnTheMainWindow();
    void practiceModeRepeatsAndNeverEnds();
    void stopConfirmed_data();
    void stopConfirmed();
    void stopDeclinedResumes();
    void pointWithoutPlaceHidesTheMarker();
    void clockPanel();
    void answerWindowLeavesTheMarkerFree();
    void askedPointComesIntoView();
    void secondStartDuringShuffleIgnored();
    void restartAfterEnd();
    void judgingOptionsFromTheMenu();
    void locateQuiz_data();
    void locateQuiz();

private:
    AnswerWindow* start(const PointList& points);
    QAction* action(const char* name) const { return Controls::action(m_window.get(), name); }
    MapView* map() const { return Controls::find<MapView>(m_window.get(), "Picture1"); }
    QString status(const char* panel = "Panel_Main") const {
        return Controls::text(m_window.get(), panel);
    }
    QString currentHint() const { return Controls::text(m_quiz, "Label1_0"); }
    // The answer of the current question: right or wrong.
    QString answerFor(bool right) const;
    void answer(const QString& typed);
    void judgeAndNext(bool right);
    void checkIdleMenus();
    // Pans the map, if need be, so that the map pixel shows, and presses it.
    void pressOnMap(QPoint pixel);
    // The locate quiz's state after a press: status, mark, distance, marker and line.
    void checkLocateVerdict(const QString& status, const QString& mark, const QString& distance,
                            QPointF place, QPointF press);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<MainWindow> m_window;
    ScriptedRandom m_random;
    AnswerWindow* m_quiz = nullptr;
};

void TestQuizFlow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_services = std::make_unique<FakeServices>();
    m_window = std::make_unique<MainWindow>(*m_services, m_dir->path() + u'/');
    m_random = ScriptedRandom{0.0};
    m_window->setRandomSource(m_random);
    m_quiz = nullptr;
}

void TestQuizFlow::cleanup() {
    m_window.reset();
    m_services.reset();
    m_dir.reset();
}

AnswerWindow* TestQuizFlow::start(const PointList& points) {
    for (const Point& p : points)
        m_window->questionTable().appendRow(p);
    action("Menu2_Start")->trigger();
    m_quiz = m_window->answerWindow();
    return m_quiz;
}

QString TestQuizFlow::answerFor(bool right) const {
    // The hint "地点i" names the row's answers; answer 2 is as good as answer 1.
    const QString n = currentHint().mid(2);
    return right ? u8("こたえ") + n : u8("答え") + n + u' ';
}

void TestQuizFlow::answer(const QString& typed) {
    Controls::find<QLineEdit>(m_quiz, "Text1")->setText(typed);
    Controls::find<QPushButton>(m_quiz, "Command1")->click();
}

void TestQuizFlow::judgeAndNext(bool right) {
    answer(answerFor(right));
    auto* button = Controls::find<QPushButton>(m_quiz, "Command1");
    QCOMPARE(button->text(), "&Next");
    button->click();
}

void TestQuizFlow::checkIdleMenus() {
    QVERIFY(action("Menu2_Mode")->isEnabled());
    QVERIFY(action("Menu2_Open")->isEnabled());
    QVERIFY(action("Menu2_Start")->isEnabled());
    QVERIFY(action("Menu2_FileEdit")->isEnabled());
    QVERIFY(!action("Menu2_Stop")->isEnabled());
    QVERIFY(!map()->isMarkerShown());
    QVERIFY(action("Menu2_Method")->isEnabled());
    QVERIFY(action("Menu2_Judging")->isEnabled());
}

void TestQuizFlow::emptyTable() {
    bool orderingShown = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        orderingShown = status() == kOrderingText && hasWaitCursor(*m_window);
    });
    QVERIFY(!start({}));
    QVERIFY(orderingShown);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, kEmptyTableText);
    QCOMPARE(m_services->lastMessage().title, u8("ｴﾗｰ"));
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::Exclamation);
    QCOMPARE(status(), QString());
    QVERIFY(!hasWaitCursor(*m_window));
    QVERIFY(!m_window->findChild<AnswerWindow*>());
    QCOMPARE(m_random.reseeds, 1);
    checkIdleMenus();
}

void TestQuizFlow::startOpensTheAnswerWindow() {
    // Every draw 0: rows 0, 1, 2 come out as 1, 2, 0.
    bool orderingShown = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        orderingShown = status() == kOrderingText && hasWaitCursor(*m_window) &&
                        !m_window->answerWindow() &&
                        m_window->questionTable().row(0)[ColumnHint] == u8("地点1");
    });
    const PointList points = somePoints(3);
    AnswerWindow* w = start(points);
    QVERIFY(orderingShown);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, "Good Luck!");
    QCOMPARE(m_services->lastMessage().title, "Go!");
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::None);
    QCOMPARE(m_random.reseeds, 1);
    QVERIFY(!hasWaitCursor(*m_window));
    QCOMPARE(m_window->questionTable().rows(), PointList({points[1], points[2], points[0]}));

    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->parentWidget(), m_window.get());
    QVERIFY(w->isRunning());
    QCOMPARE(w->session().mode(), QuizMode::Normal);

    // The first question: row 0 of the shuffled table, its marker on the map.
    QCOMPARE(currentHint(), u8("地点1"));
    QCOMPARE(status(), "0/0");
    QVERIFY(map()->isMarkerShown());
    QCOMPARE(map()->marker()->topLeft(), QPointF(16, 17));

    QVERIFY(!action("Menu2_Mode")->isEnabled());
    QVERIFY(!action("Menu2_Open")->isEnabled());
    QVERIFY(!action("Menu2_Start")->isEnabled());
    QVERIFY(!action("Menu2_FileEdit")->isEnabled());
    QVERIFY(action("Menu2_Stop")->isEnabled());
    QVERIFY(action("Menu2_Option")->isEnabled());
    QVERIFY(action("Menu2_End")->isEnabled());
}

void TestQuizFlow::wholeQuizOnTheMainWindow() {
    AnswerWindow* w = start(somePoints(3));
    QVERIFY(w);
    const PointList order = m_window->questionTable().rows();

    // The panel and the marker follow the questions.
    answer(order[0][ColumnAnswer2]);
    QCOMPARE(status(), u8("正解 !"));
    Controls::find<QPushButton>(w, "Command1")->click();
    QCOMPARE(currentHint(), order[1][ColumnHint]);
    QCOMPARE(status(), "1/1");
    QCOMPARE(map()->marker()->topLeft(), QPointF(26, 18));
    judgeAndNext(true);
    QCOMPARE(status(), "2/2");
    QCOMPARE(map()->marker()->topLeft(), QPointF(6, 16));

    answer(QStringLiteral("?"));
    QCOMPARE(status(), u8("不正解"));
    bool markerAtResult = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        markerAtResult = status() == "2/3 = 66.6%" && map()->isMarkerShown() &&
                         action("Menu2_Stop")->isEnabled();
    });
    QPointer<AnswerWindow> watch(w);
    Controls::find<QPushButton>(w, "Command1")->click();
    // The result box comes while the marker still shows; then the main window is idle again.
    QVERIFY(markerAtResult);
    QCOMPARE(m_services->lastMessage().text, u8("3問中 2問正解\r\n66.6%"));
    QCOMPARE(status(), "2/3 = 66.6%");
    checkIdleMenus();
    QCOMPARE(m_window->questionTable().rows(), order);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watch);
    QVERIFY(!m_window->answerWindow());
    QCOMPARE(m_services->unscriptedRequests, 0);
}

void TestQuizFlow::practiceModeRepeatsAndNeverEnds() {
    action("Menu3_PMode")->trigger();
    m_random = ScriptedRandom{0.5}; // practice draws: floor(0.5 * 3) = row 1 every time
    AnswerWindow* w = start(somePoints(3));
    QVERIFY(w);
    QVERIFY(w->session().isPractice());
    const QString hint = m_window->questionTable().row(1)[ColumnHint];
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(currentHint(), hint);
        QCOMPARE(status(), QStringLiteral("%1/%1").arg(i));
        judgeAndNext(true);
    }
    // Past the table's length and still asking.
    QVERIFY(w->isVisible());
    QVERIFY(w->isRunning());
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(status(), "5/5");
    // The mode was read at the start; changing it now changes nothing.
    action("Menu3_NMode")->trigger();
    judgeAndNext(false);
    QCOMPARE(status(), "5/6");

    m_services->answerMessage(MessageAnswer::Yes);
    action("Menu2_Stop")->trigger();
    QCOMPARE(status(), "5/6 = 83.3%");
    checkIdleMenus();
}

void TestQuizFlow::stopConfirmed_data() {
    QTest::addColumn<QString>("verdicts"); // questions judged and left: r right, w wrong
    QTest::addColumn<bool>("judgeCurrent");
    QTest::addColumn<QString>("status");

    QTest::newRow("first question") << "" << false << u8("0問");
    QTest::newRow("first question judged") << "" << true << "1/1 = 100%";
    QTest::newRow("fourth question, 2 of 3 right") << "rwr" << false << "2/3 = 66.6%";
    QTest::newRow("fourth question judged right") << "rwr" << true << "3/4 = 75%";
}

void TestQuizFlow::stopConfirmed() {
    QFETCH(QString, verdicts);
    QFETCH(bool, judgeCurrent);
    QFETCH(QString, status);

    AnswerWindow* w = start(somePoints(6));
    QVERIFY(w);
    for (QChar v : verdicts)
        judgeAndNext(v == u'r');
    if (judgeCurrent)
        answer(answerFor(true));
    auto* clock = Controls::find<QTimer>(w, "Timer1");
    m_window->findChild<QLabel*>(QStringLiteral("Panel_Time"))->setText(u8("0分9秒"));

    bool bothHidden = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        bothHidden = !m_window->isVisible() && !w->isVisible() && clock->isActive();
    });
    m_services->answerMessage(MessageAnswer::Yes);
    m_window->show();
    action("Menu2_Stop")->trigger();

    QVERIFY(bothHidden);
    QCOMPARE(m_services->messages.size(), 2); // "Good Luck!" and the prompt, no result box
    QCOMPARE(m_services->lastMessage().text, u8("中止しますか？"));
    QCOMPARE(m_services->lastMessage().title, u8("確認"));
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::YesNo);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::Question);
    QCOMPARE(this->status(), status);
    QCOMPARE(this->status("Panel_Time"), u8("0分9秒"));
    QVERIFY(m_window->isVisible());
    QVERIFY(!w->isVisible());
    QVERIFY(!w->isRunning());
    QVERIFY(!clock->isActive());
    checkIdleMenus();

    // A second Stop has nothing to stop.
    m_window->stopQuiz();
    QCOMPARE(m_services->messages.size(), 2);
}

void TestQuizFlow::stopDeclinedResumes() {
    AnswerWindow* w = start(somePoints(4));
    QVERIFY(w);
    judgeAndNext(true);
    auto* entry = Controls::find<QLineEdit>(w, "Text1");
    entry->setText(u8("途中"));
    const QString hint = currentHint();
    m_window->show();

    m_services->answerMessage(MessageAnswer::No);
    action("Menu2_Stop")->trigger();
    QCOMPARE(m_services->messages.size(), 2);
    QVERIFY(m_window->isVisible());
    QVERIFY(w->isVisible());
    QVERIFY(w->isRunning());
    QCOMPARE(m_window->answerWindow(), w);
    QCOMPARE(entry->text(), u8("途中"));
    QCOMPARE(currentHint(), hint);
    QCOMPARE(Controls::find<QPushButton>(w, "Command1")->text(), "&OK");
    QCOMPARE(status(), "1/1");
    QCOMPARE(w->session().questionNo(), 1);
    QCOMPARE(w->session().correctNo(), 1);
    QVERIFY(action("Menu2_Stop")->isEnabled());
    QVERIFY(!action("Menu2_Start")->isEnabled());
    QVERIFY(map()->isMarkerShown());

    // The quiz goes on where it was.
    answer(answerFor(true));
    QCOMPARE(status(), u8("正解 !"));
    QCOMPARE(w->session().correctNo(), 2);
}

void TestQuizFlow::pointWithoutPlaceHidesTheMarker() {
    m_random = ScriptedRandom{0.99}; // keeps the order
    QVERIFY(start({point("10", "5", "h", "a"), point("abc", "5", "h2", "b")}));
    QVERIFY(map()->isMarkerShown());
    judgeAndNext(true);
    QCOMPARE(currentHint(), "h2");
    QVERIFY(!map()->isMarkerShown());
}

void TestQuizFlow::clockPanel() {
    auto* panel = m_window->findChild<QLabel*>(QStringLiteral("Panel_Time"));
    panel->setText(u8("7分7秒"));
    AnswerWindow* w = start(somePoints(1));
    QVERIFY(w);
    // Until the first tick the panel keeps what it showed; then it follows the clock.
    QCOMPARE(panel->text(), u8("7分7秒"));
    QVERIFY(QMetaObject::invokeMethod(Controls::find<QTimer>(w, "Timer1"), "timeout"));
    QCOMPARE(panel->text(), u8("0分1秒"));
}

void TestQuizFlow::answerWindowLeavesTheMarkerFree() {
    m_window->move(40, 30);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    SystemRandomSource random(8);
    m_window->setRandomSource(random);
    // Many questions on two points far apart, the window pushed onto the marker each time.
    AnswerWindow* w = start({point("30", "40", "a", "a"), point("300", "40", "b", "b")});
    QVERIFY(w);
    const QRect available = m_window->screen()->availableGeometry();
    for (int i = 0; i < 40; ++i) {
        const QPointF topLeft = map()->marker()->topLeft();
        const int markerX = qRound(map()->mapToGlobal(map()->fromMap(topLeft)).x());
        const QRect frame = w->frameGeometry();
        QVERIFY2(!QuizPlacement::covers({frame.left(), frame.width()}, markerX,
                                        QuizPlacement::kMarkerSize),
                 qPrintable(QStringLiteral("question %1: window %2..%3, marker %4")
                                .arg(i)
                                .arg(frame.left())
                                .arg(frame.right())
                                .arg(markerX)));
        QVERIFY(frame.left() >= available.left());
        QVERIFY(frame.right() <= available.right());
        // Put the window onto the marker of the other point for the next question.
        const QString nextX = m_window->questionTable().row((i + 1) % 2)[ColumnX];
        const int nextMarker =
            qRound(map()->mapToGlobal(map()->fromMap(QPointF(nextX.toInt() - 4, 0))).x());
        w->move(nextMarker - 20, w->pos().y());
        QVERIFY(QuizPlacement::covers({w->frameGeometry().left(), w->frameGeometry().width()},
                                      nextMarker, QuizPlacement::kMarkerSize));
        judgeAndNext(true);
        if (i % 2 == 1) // a new quiz after both points
            w = start({});
        if (!w)
            break;
    }
}

// A point outside the visible part of a zoomed map is scrolled into view before the answer
// window moves off the marker.
void TestQuizFlow::askedPointComesIntoView() {
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QImage picture(3000, 2000, QImage::Format_RGB32);
    picture.fill(Qt::white);
    map()->setMap(picture);
    action("Menu2_ActualSize")->trigger();
    AnswerWindow* w = start({point("2950", "1950", "a", "a")});
    QVERIFY(w);
    QVERIFY(map()->marker()->isVisible());
    QVERIFY(map()->viewport()->rect().contains(map()->marker()->geometry()));
    const QRect marker = map()->markerOnScreen();
    const QRect frame = w->frameGeometry();
    QVERIFY(!QuizPlacement::covers({frame.left(), frame.width()}, marker.left(), marker.width()));
}

void TestQuizFlow::secondStartDuringShuffleIgnored() {
    // A table long enough for the shuffle to let events run; a timer tries to start again.
    PointList points;
    for (int i = 0; i < 10000; ++i)
        points.append(point(QString::number(i % 400), "5", QString::number(i), "a"));
    bool tried = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        tried = true;
        action("Menu2_Start")->trigger();
        m_window->startQuiz();
    });
    SystemRandomSource random(3);
    m_window->setRandomSource(random);
    AnswerWindow* w = start(points);
    QVERIFY(tried);
    QVERIFY(w);
    QCOMPARE(m_window->findChildren<AnswerWindow*>().size(), 1);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, "Good Luck!");
    QCOMPARE(m_window->questionTable().rowCount(), 10000);
    // Start is disabled once the window is open; starting anyway does nothing.
    m_window->startQuiz();
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_window->answerWindow(), w);
}

void TestQuizFlow::restartAfterEnd() {
    AnswerWindow* first = start(somePoints(2));
    QVERIFY(first);
    judgeAndNext(true);
    judgeAndNext(true);
    QCOMPARE(status(), "2/2 = 100%");
    // The table keeps the last order and is reshuffled; counters and clock start afresh.
    const PointList before = m_window->questionTable().rows();
    m_random = ScriptedRandom{0.0};
    AnswerWindow* second = start({});
    QVERIFY(second);
    QVERIFY(second != first);
    QCOMPARE(m_random.reseeds, 1);
    QCOMPARE(m_window->questionTable().rows(), PointList({before[1], before[0]}));
    QCOMPARE(status(), "0/0");
    QCOMPARE(second->session().correctNo(), 0);
    QCOMPARE(second->session().elapsedSec(), 0);
}

void TestQuizFlow::judgingOptionsFromTheMenu() {
    // The dialog opens with the stored choices; the width option is ticked and kept.
    QTimer::singleShot(0, m_window.get(), [] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog && dialog->objectName() == "JudgingDialog");
        Controls::find<QAbstractButton>(dialog, "Check1_0")->setChecked(true);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    action("Menu2_Judging")->trigger();
    QCOMPARE(m_window->session().judgingOptions(), JudgingOptions({true, false, false}));

    m_random = ScriptedRandom{0.99}; // keeps the order
    QVERIFY(start(somePoints(2)));
    QVERIFY(!action("Menu2_Judging")->isEnabled());
    answer(u8("答え０")); // a full-width digit
    QCOMPARE(status(), u8("正解 !"));
}

void TestQuizFlow::pressOnMap(QPoint pixel) {
    MapView* view = map();
    const QPoint at = view->transform().toView(QPointF(pixel)).toPoint();
    if (!view->viewport()->rect().contains(at)) {
        const QPoint centre = view->viewport()->rect().center();
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->value() + at.x() -
                                              centre.x());
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + at.y() -
                                            centre.y());
    }
    const QPoint pos = view->transform().toView(QPointF(pixel)).toPoint();
    QVERIFY(view->viewport()->rect().contains(pos));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pos);
}

void TestQuizFlow::checkLocateVerdict(const QString& status, const QString& mark,
                                      const QString& distance, QPointF place, QPointF press) {
    QCOMPARE(this->status(), status);
    QCOMPARE(Controls::text(m_quiz, "Label2"), mark);
    QCOMPARE(Controls::text(m_quiz, "Label4"), distance);
    QVERIFY(map()->isMarkerShown());
    QCOMPARE(map()->marker()->point(), place);
    QCOMPARE(m_quiz->findChild<MapAnswerLink*>()->overlay().line(), QLineF(press, place));
    auto* button = Controls::find<QPushButton>(m_quiz, "Command1");
    QVERIFY(button->isEnabled());
    QCOMPARE(button->text(), "&Next");
    QVERIFY(Controls::find<QLabel>(m_quiz, "Label1_2")->isVisible());
}

void TestQuizFlow::locateQuiz_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::newRow("100 %") << 1.0;
    QTest::newRow("200 %") << 2.0;
}

// A whole quiz answered by presses on the map, the map zoomed and panned by the learner.
void TestQuizFlow::locateQuiz() {
    QFETCH(qreal, zoom);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QImage picture(600, 400, QImage::Format_RGB32);
    picture.fill(Qt::white);
    map()->setMap(picture);
    map()->zoomAbout(zoom, QPointF(0, 0));
    const QSize windowSize = m_window->size();
    action("Menu3_Locate")->trigger();
    QVERIFY(!action("Menu3_Typing")->isChecked());
    m_random = ScriptedRandom{0.99}; // keeps the order
    // Rows 0 and 2 are 30 pixels apart; row 1 is far from both.
    AnswerWindow* w =
        start({point("100", "100", u8("地点0"), u8("答え0"), u8("こたえ0"), u8("情報0")),
               point("400", "300", u8("地点1"), u8("答え1")),
               point("130", "100", u8("地点2"), u8("答え2"))});
    QVERIFY(w);
    QCOMPARE(map()->zoom(), zoom);
    QVERIFY(!action("Menu2_Method")->isEnabled());
    auto* button = Controls::find<QPushButton>(w, "Command1");
    // What asks never covers the map, while asking or after a verdict.
    const auto clearOfTheMap = [&] {
        const QRect asking(w->mapToGlobal(QPoint(0, 0)), w->size());
        return w->isVisible() &&
               !asking.intersects(QRect(map()->mapToGlobal(QPoint(0, 0)), map()->size()));
    };
    QVERIFY(clearOfTheMap());

    // Asking: the hint and the place to find, no entry box and no marker.
    QVERIFY(!Controls::find<QLineEdit>(w, "Text1")->isVisible());
    QCOMPARE(Controls::text(w, "Label1_1"), u8("答え0"));
    QVERIFY(Controls::find<QLabel>(w, "Label1_1")->isVisible());
    QVERIFY(!map()->isMarkerShown());
    QVERIFY(!button->isEnabled());
    QTest::keyClick(w, Qt::Key_Return); // nothing to move on from yet
    QCOMPARE(status(), "0/0");

    pressOnMap(QPoint(103, 104));
    checkLocateVerdict(u8("正解 !"), u8("○"), u8("距離 5.0 ﾋﾟｸｾﾙ"), QPointF(100, 100),
                       QPointF(103, 104));
    QVERIFY(clearOfTheMap());
    QCOMPARE(Controls::text(w, "Label3"), u8("情報0"));
    pressOnMap(QPoint(400, 300)); // judged once
    QCOMPARE(w->session().correctNo(), 1);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(w->isVisible());
    QTest::keyClick(w, Qt::Key_Return);

    QCOMPARE(status(), "1/1");
    QCOMPARE(Controls::text(w, "Label4"), QString());
    QVERIFY(!map()->isMarkerShown());
    QVERIFY(w->findChild<MapAnswerLink*>()->overlay().line().isNull());
    pressOnMap(QPoint(130, 100)); // row 2's place, not row 1's
    checkLocateVerdict(u8("不正解"), u8("×"), u8("距離 336.0 ﾋﾟｸｾﾙ"), QPointF(400, 300),
                       QPointF(130, 100));
    button->click();

    pressOnMap(QPoint(115, 100)); // as near row 0 as row 2: a tie is right
    checkLocateVerdict(u8("正解 !"), u8("○"), u8("距離 15.0 ﾋﾟｸｾﾙ"), QPointF(130, 100),
                       QPointF(115, 100));
    QPointer<AnswerWindow> watch(w);
    QTest::keyClick(w, Qt::Key_Return);
    QCOMPARE(m_services->lastMessage().text, u8("3問中 2問正解\r\n66.6%"));
    QCOMPARE(status(), "2/3 = 66.6%");
    QCOMPARE(m_window->size(), windowSize); // the room the quiz took is given back
    checkIdleMenus();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watch);
    QCOMPARE(map()->zoom(), zoom);
    QCOMPARE(m_window->size(), windowSize); // the room the quiz took is given back
}

QTEST_MAIN(TestQuizFlow)
#include "tst_quizflow.moc"
