// The answer window on its own: its controls, asking and judging, keys, the clock, the end of
// a quiz and stopping, the move off the marker, and what it reports through its signals.
#include "ScriptedRandom.h"

#include "core/quiz/QuizPlacement.h"
#include "ui/quiz/AnswerWindow.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using TestFiles::point;
using TestFiles::u8;

Q_DECLARE_METATYPE(QuizScore)

namespace {

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

} // namespace

class TestAnswerWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controls();
    void asksJudgesAndEnds();
    void enterJudgesThenMovesOn();
    void pointWithoutPlaceHidesTheMarker();
    void choosesByKeys();
    void closeBoxRefused();
    void clockTicks();
    void stopEndsWithoutAResult();
    void nothingToAsk();
    void keepsClearOfTheMarker();

private:
    AnswerWindow& make(const PointList& points);
    template <class T> T* control(const char* name) const {
        return Controls::find<T>(m_window, QString::fromLatin1(name));
    }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }
    QString lastStatus() const { return m_status->last().at(0).toString(); }

    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<FakeServices> m_services;
    ScriptedRandom m_random;
    AnswerWindow* m_window = nullptr;
    std::unique_ptr<QSignalSpy> m_status;
};

void TestAnswerWindow::init() {
    m_owner = std::make_unique<QWidget>();
    m_services = std::make_unique<FakeServices>();
    m_random = ScriptedRandom{0.0};
}

void TestAnswerWindow::cleanup() {
    m_status.reset();
    m_owner.reset();
    m_services.reset();
}

AnswerWindow& TestAnswerWindow::make(const PointList& points) {
    m_window = new AnswerWindow(points, QuizMode::Normal, m_random, *m_services, m_owner.get());
    m_status = std::make_unique<QSignalSpy>(m_window, &AnswerWindow::statusChanged);
    return *m_window;
}

void TestAnswerWindow::controls() {
    AnswerWindow& w = make(somePoints(2));
    QCOMPARE(w.windowTitle(), u8("解答欄"));
    QVERIFY(!w.isModal());
    QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(w.size(), QSize(138, 176));
    const QList<QPair<QString, QRect>> layout = {
        {"Picture2", QRect(0, 0, 137, 113)}, {"Label1_0", QRect(8, 8, 121, 17)},
        {"Text1", QRect(8, 32, 121, 18)},    {"Label1_1", QRect(8, 56, 121, 17)},
        {"Label1_2", QRect(8, 72, 121, 17)}, {"Label2", QRect(24, 88, 17, 17)},
        {"Command1", QRect(56, 88, 65, 17)}, {"Label3", QRect(8, 120, 121, 49)}};
    for (const auto& [name, rect] : layout)
        QCOMPARE(Controls::find<QWidget>(&w, name)->geometry(), rect);
    QCOMPARE(control<QLabel>("Label3")->parentWidget(), &w);
    QCOMPARE(control<QLineEdit>("Text1")->parentWidget(), control<QWidget>("Picture2"));
    QVERIFY(control<QPushButton>("Command1")->isDefault());
    auto* clock = control<QTimer>("Timer1");
    QCOMPARE(clock->interval(), 1000);
    QVERIFY(!clock->isActive());
    w.show();
    w.start();
    QVERIFY(clock->isActive());
}

void TestAnswerWindow::asksJudgesAndEnds() {
    AnswerWindow& w = make(somePoints(3));
    QSignalSpy placed(&w, &AnswerWindow::markerPlaced);
    QSignalSpy completed(&w, &AnswerWindow::completed);
    auto* answer = control<QLineEdit>("Text1");
    auto* button = control<QPushButton>("Command1");
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.start();

    // The first question: the marker 4 pixels up and left of (10, 20); typing goes to the entry.
    QCOMPARE(label("Label1_0"), u8("地点0"));
    QCOMPARE(placed.count(), 1);
    QCOMPARE(placed.last().at(0).toPointF(), QPointF(6, 16));
    QCOMPARE(lastStatus(), "0/0");
    QVERIFY(control<QLabel>("Label1_1")->isHidden());
    QVERIFY(control<QLabel>("Label1_2")->isHidden());
    QCOMPARE(button->text(), "&OK");
    QCOMPARE(QApplication::focusWidget(), answer);

    // Right, through answer 2: both answers, the info and the mark show.
    answer->setText(u8("こたえ0"));
    button->click();
    QCOMPARE(label("Label2"), u8("○"));
    QCOMPARE(lastStatus(), u8("正解 !"));
    QVERIFY(control<QLabel>("Label1_1")->isVisible());
    QCOMPARE(label("Label1_1"), u8("答え0"));
    QCOMPARE(label("Label1_2"), u8("こたえ0"));
    QCOMPARE(label("Label3"), u8("情報0"));
    QCOMPARE(button->text(), "&Next");
    // Editing after judging changes nothing: the button asks the next question.
    answer->setText(QStringLiteral("x"));
    button->click();

    // Wrong (a trailing blank), with the previous verdict cleared.
    QCOMPARE(label("Label1_0"), u8("地点1"));
    QCOMPARE(lastStatus(), "1/1");
    QCOMPARE(answer->text(), QString());
    QCOMPARE(label("Label2"), QString());
    QCOMPARE(label("Label3"), QString());
    QVERIFY(control<QLabel>("Label1_1")->isHidden());
    answer->setText(u8("答え1 "));
    button->click();
    QCOMPARE(label("Label2"), u8("×"));
    QCOMPARE(lastStatus(), u8("不正解"));
    button->click();

    // Right; the third Next ends the quiz. The window is closed before the result box.
    QCOMPARE(lastStatus(), "1/2");
    answer->setText(u8("答え2"));
    button->click();
    bool closedFirst = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        closedFirst = !w.isVisible() && !control<QTimer>("Timer1")->isActive() &&
                      lastStatus() == "2/3 = 66.6%" && completed.isEmpty();
    });
    button->click();
    QVERIFY(closedFirst);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, u8("3問中 2問正解\r\n66.6%"));
    QCOMPARE(m_services->lastMessage().title, u8("終了"));
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::None);
    QCOMPARE(completed.count(), 1);
    const auto score = completed.last().at(0).value<QuizScore>();
    QCOMPARE(score.correct, 2);
    QCOMPARE(score.asked, 3);
    QVERIFY(!w.isRunning());
    QCOMPARE(placed.count(), 3);
    // Clicks after the end do nothing.
    button->click();
    QCOMPARE(m_services->messages.size(), 1);
}

void TestAnswerWindow::enterJudgesThenMovesOn() {
    AnswerWindow& w = make({point("10", "10", "h1", "Tokyo"), point("20", "20", "h2", "Osaka")});
    auto* answer = control<QLineEdit>("Text1");
    w.show();
    w.start();
    QCOMPARE(label("Label1_0"), "h1");
    QTest::keyClicks(answer, "Tokyo");
    QTest::keyClick(answer, Qt::Key_Return);
    QCOMPARE(label("Label2"), u8("○"));
    QCOMPARE(control<QPushButton>("Command1")->text(), "&Next");
    QTest::keyClick(answer, Qt::Key_Return);
    QCOMPARE(label("Label1_0"), "h2");
    QCOMPARE(lastStatus(), "1/1");
    // Letter case counts.
    QTest::keyClicks(answer, "osaka");
    QTest::keyClick(answer, Qt::Key_Enter);
    QCOMPARE(label("Label2"), u8("×"));
    QTest::keyClick(answer, Qt::Key_Return);
    QCOMPARE(m_services->lastMessage().text, u8("2問中 1問正解\r\n50%"));
}

void TestAnswerWindow::pointWithoutPlaceHidesTheMarker() {
    AnswerWindow& w = make({point("abc", "5", "h", u8("〜")), point("", "", "h2", "b")});
    QSignalSpy placed(&w, &AnswerWindow::markerPlaced);
    QSignalSpy hidden(&w, &AnswerWindow::markerHidden);
    auto* answer = control<QLineEdit>("Text1");
    auto* button = control<QPushButton>("Command1");
    w.show();
    w.start();
    QCOMPARE(hidden.count(), 1);
    QCOMPARE(label("Label1_0"), "h");
    // Typed with a Windows input method: matches the wave dash stored by other means.
    answer->setText(u8("～"));
    button->click();
    QCOMPARE(label("Label2"), u8("○"));
    button->click();
    QCOMPARE(hidden.count(), 2);
    QCOMPARE(placed.count(), 0);
    // An empty entry is wrong even though answer 2 is empty.
    button->click();
    QCOMPARE(label("Label2"), u8("×"));
    button->click();
    QCOMPARE(lastStatus(), "1/2 = 50%");
}

void TestAnswerWindow::choosesByKeys() {
    AnswerWindow& w = make(somePoints(3));
    w.setChoices(std::make_unique<Distractors>(somePoints(3), JudgingOptions()));
    QSignalSpy placed(&w, &AnswerWindow::markerPlaced);
    QSignalSpy judged(&w, &AnswerWindow::judged);
    auto* button = control<QPushButton>("Command1");
    w.show();
    w.start();
    QCOMPARE(placed.count(), 1);
    QVERIFY(control<QLineEdit>("Text1")->isHidden());
    // Three different answers: three buttons, the fourth hidden; nothing to confirm yet.
    const QStringList choices = w.session().choices();
    QCOMPARE(choices.size(), 3);
    QVERIFY(control<QPushButton>("Choice3")->isVisible());
    QVERIFY(control<QPushButton>("Choice4")->isHidden());
    QVERIFY(!button->isEnabled());
    QTest::keyClick(&w, Qt::Key_Return);
    QVERIFY(judged.isEmpty());

    // A wrong key: the verdict as typing shows it, the chosen button marked; once only.
    const int right = int(choices.indexOf(u8("答え0")));
    const int wrong = (right + 1) % 3;
    QTest::keyClick(&w, Qt::Key(Qt::Key_1 + wrong));
    QTest::keyClick(&w, Qt::Key(Qt::Key_1 + right));
    QCOMPARE(judged.count(), 1);
    QCOMPARE(judged.last().at(0).value<JudgedQuestion>().typed, choices.at(wrong));
    QCOMPARE(label("Label2"), u8("×"));
    QCOMPARE(lastStatus(), u8("不正解"));
    QCOMPARE(label("Label1_1"), u8("答え0"));
    QCOMPARE(label("Label3"), u8("情報0"));
    QVERIFY(
        control<QPushButton>(qPrintable(QStringLiteral("Choice%1").arg(wrong + 1)))->isChecked());
    QVERIFY(
        !control<QPushButton>(qPrintable(QStringLiteral("Choice%1").arg(right + 1)))->isChecked());

    // Enter moves on; the right key is right.
    QTest::keyClick(&w, Qt::Key_Return);
    QCOMPARE(label("Label1_0"), u8("地点1"));
    QVERIFY(control<QPushButton>("Choice1")->isEnabled());
    QTest::keyClick(&w, Qt::Key(Qt::Key_1 + w.session().choices().indexOf(u8("答え1"))));
    QCOMPARE(label("Label2"), u8("○"));
    QCOMPARE(lastStatus(), u8("正解 !"));
}

void TestAnswerWindow::closeBoxRefused() {
    AnswerWindow& w = make(somePoints(2));
    w.show();
    w.start();
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QVERIFY(w.isRunning());
    QVERIFY(control<QTimer>("Timer1")->isActive());
}

void TestAnswerWindow::clockTicks() {
    AnswerWindow& w = make(somePoints(1));
    QSignalSpy clock(&w, &AnswerWindow::clockChanged);
    w.show();
    w.start();
    QVERIFY(clock.isEmpty());
    // Each tick of the real timer adds a second.
    auto* timer = control<QTimer>("Timer1");
    timer->stop(); // the ticks come from the test
    for (int i = 0; i < 2; ++i)
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QCOMPARE(clock.count(), 2);
    QCOMPARE(clock.at(0).at(0).toString(), u8("0分1秒"));
    QCOMPARE(clock.at(1).at(0).toString(), u8("0分2秒"));
}

void TestAnswerWindow::stopEndsWithoutAResult() {
    AnswerWindow& w = make(somePoints(4));
    QSignalSpy stopped(&w, &AnswerWindow::stopped);
    w.show();
    w.start();
    control<QLineEdit>("Text1")->setText(u8("答え0"));
    control<QPushButton>("Command1")->click();
    w.stop();
    QCOMPARE(lastStatus(), "1/1 = 100%");
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(stopped.last().at(0).value<QuizScore>().asked, 1);
    QVERIFY(m_services->messages.isEmpty());
    QVERIFY(!w.isVisible());
    QVERIFY(!w.isRunning());
    QVERIFY(!control<QTimer>("Timer1")->isActive());
    // A second stop has nothing to stop.
    w.stop();
    QCOMPARE(stopped.count(), 1);
}

void TestAnswerWindow::nothingToAsk() {
    AnswerWindow& w = make({});
    QSignalSpy stopped(&w, &AnswerWindow::stopped);
    w.show();
    w.start();
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(lastStatus(), u8("0問"));
    QVERIFY(!w.isVisible());
    QVERIFY(m_services->messages.isEmpty());
}

void TestAnswerWindow::keepsClearOfTheMarker() {
    m_random = ScriptedRandom{0.5};
    AnswerWindow& w = make(somePoints(1));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect available = w.screen()->availableGeometry();
    w.move(available.left() + 100, available.top() + 50);
    QTRY_COMPARE(w.frameGeometry().left(), available.left() + 100);
    const QRect before = w.frameGeometry();

    // Clear already: it stays.
    w.keepClearOf(before.right() + 20, 9);
    QCOMPARE(w.frameGeometry(), before);
    // Covering: it moves sideways, onto the screen and off the marker.
    const int markerX = before.left() + 10;
    w.keepClearOf(markerX, 9);
    QTRY_VERIFY(w.frameGeometry().left() != before.left());
    const QRect after = w.frameGeometry();
    QVERIFY(!QuizPlacement::covers({after.left(), after.width()}, markerX, 9));
    QVERIFY(after.left() >= available.left() && after.right() <= available.right());
    QCOMPARE(after.top(), before.top());
}

QTEST_MAIN(TestAnswerWindow)
#include "tst_answerwindow.moc"
