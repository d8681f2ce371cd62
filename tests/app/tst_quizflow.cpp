// The quiz through the windows: Start and its shuffle, the answer window asking and judging,
// the clock, the normal end, practice mode and the stop sequence.
#include "ScriptedRandom.h"

#include "app/Form1.h"
#include "platform/MapView.h"
#include "quiz/Form2.h"
#include "quiz/QuizPlacement.h"

#include "FakeServices.h"
#include "TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
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

class TestForm2 : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void emptyTable();
    void startOpensTheAnswerWindow();
    void wholeNormalQuiz();
    void singlePointQuiz();
    void practiceModeRepeatsAndNeverEnds();
    void stopConfirmed_data();
    void stopConfirmed();
    void stopDeclinedResumes();
    void closeBoxRefused();
    void enterJudgesThenMovesOn();
    void nonNumericPointHidesMarker();
    void clock();
    void answerWindowLeavesTheMarkerFree();
    void secondStartDuringShuffleIgnored();
    void restartAfterEnd();

private:
    Form2* start(const PointList& points);
    // The answer of the current question: right or wrong.
    QString answerFor(bool right) const;
    void judgeAndNext(bool right);
    void checkIdleMenus();
    QString status() const { return m_form->panelMain()->text(); }
    QString currentHint() const { return m_form2->Label1[0]->text(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<Form1> m_form;
    ScriptedRandom m_random;
    Form2* m_form2 = nullptr;
};

void TestForm2::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_services = std::make_unique<FakeServices>();
    m_form = std::make_unique<Form1>(*m_services, m_dir->path() + u'/');
    m_random = ScriptedRandom{0.0};
    m_form->setRandomSource(m_random);
    m_form2 = nullptr;
}

void TestForm2::cleanup() {
    m_form.reset();
    m_services.reset();
    m_dir.reset();
}

Form2* TestForm2::start(const PointList& points) {
    for (const Point& p : points)
        m_form->questionTable().appendRow(p);
    m_form->Menu2_Start->trigger();
    m_form2 = m_form->answerWindow();
    return m_form2;
}

QString TestForm2::answerFor(bool right) const {
    // The hint "地点i" names the row's answers; answer 2 is as good as answer 1.
    const QString n = currentHint().mid(2);
    return right ? u8("こたえ") + n : u8("答え") + n + u' ';
}

void TestForm2::judgeAndNext(bool right) {
    m_form2->Text1->setText(answerFor(right));
    m_form2->Command1->click();
    QCOMPARE(m_form2->Command1->text(), "&Next");
    m_form2->Command1->click();
}

void TestForm2::checkIdleMenus() {
    QVERIFY(m_form->Menu2_Mode->menuAction()->isEnabled());
    QVERIFY(m_form->Menu2_Open->isEnabled());
    QVERIFY(m_form->Menu2_Start->isEnabled());
    QVERIFY(m_form->Menu2_FileEdit->isEnabled());
    QVERIFY(!m_form->Menu2_Stop->isEnabled());
    QVERIFY(!m_form->Picture1->isMarkerShown());
}

void TestForm2::emptyTable() {
    bool orderingShown = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        orderingShown = status() == kOrderingText && hasWaitCursor(*m_form);
    });
    QVERIFY(!start({}));
    QVERIFY(orderingShown);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, kEmptyTableText);
    QCOMPARE(m_services->lastMessage().title, u8("ｴﾗｰ"));
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::Exclamation);
    QCOMPARE(status(), QString());
    QVERIFY(!hasWaitCursor(*m_form));
    QVERIFY(!m_form->findChild<Form2*>());
    QCOMPARE(m_random.reseeds, 1);
    checkIdleMenus();
}

void TestForm2::startOpensTheAnswerWindow() {
    // Every draw 0: rows 0, 1, 2 come out as 1, 2, 0.
    bool orderingShown = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        orderingShown = status() == kOrderingText && hasWaitCursor(*m_form) &&
                        !m_form->answerWindow() &&
                        m_form->questionTable().row(0)[ColumnHint] == u8("地点1");
    });
    const PointList points = somePoints(3);
    Form2* f = start(points);
    QVERIFY(orderingShown);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, "Good Luck!");
    QCOMPARE(m_services->lastMessage().title, "Go!");
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::None);
    QCOMPARE(m_random.reseeds, 1);
    QVERIFY(!hasWaitCursor(*m_form));
    QCOMPARE(m_form->questionTable().rows(), PointList({points[1], points[2], points[0]}));

    QVERIFY(f);
    QVERIFY(f->isVisible());
    QVERIFY(!f->isModal());
    QCOMPARE(f->parentWidget(), m_form.get());
    QCOMPARE(f->windowTitle(), u8("解答欄"));
    QVERIFY(!(f->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(f->size(), QSize(138, 176));
    const QList<QPair<QString, QRect>> layout = {
        {"Picture2", QRect(0, 0, 137, 113)}, {"Label1_0", QRect(8, 8, 121, 17)},
        {"Text1", QRect(8, 32, 121, 18)},    {"Label1_1", QRect(8, 56, 121, 17)},
        {"Label1_2", QRect(8, 72, 121, 17)}, {"Label2", QRect(24, 88, 17, 17)},
        {"Command1", QRect(56, 88, 65, 17)}, {"Label3", QRect(8, 120, 121, 49)}};
    for (const auto& [name, rect] : layout) {
        auto* control = f->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), rect);
    }
    QCOMPARE(f->Label3->parentWidget(), f);
    QCOMPARE(f->Text1->parentWidget(), f->Picture2);
    QVERIFY(f->Command1->isDefault());
    QCOMPARE(f->Timer1->interval(), 1000);
    QVERIFY(f->Timer1->isActive());

    // The first question: row 0 of the shuffled table.
    QCOMPARE(currentHint(), u8("地点1"));
    QCOMPARE(f->Text1->text(), QString());
    QVERIFY(f->Label1[1]->isHidden());
    QVERIFY(f->Label1[2]->isHidden());
    QCOMPARE(f->Label2->text(), QString());
    QCOMPARE(f->Label3->text(), QString());
    QCOMPARE(f->Command1->text(), "&OK");
    QCOMPARE(status(), "0/0");
    QVERIFY(m_form->Picture1->isMarkerShown());
    QCOMPARE(m_form->Picture1->marker()->topLeft(), QPointF(16, 17));

    QVERIFY(!m_form->Menu2_Mode->menuAction()->isEnabled());
    QVERIFY(!m_form->Menu2_Open->isEnabled());
    QVERIFY(!m_form->Menu2_Start->isEnabled());
    QVERIFY(!m_form->Menu2_FileEdit->isEnabled());
    QVERIFY(m_form->Menu2_Stop->isEnabled());
    QVERIFY(m_form->Menu2_Option->isEnabled());
    QVERIFY(m_form->Menu2_End->isEnabled());
}

void TestForm2::wholeNormalQuiz() {
    Form2* f = start(somePoints(3));
    QVERIFY(f);
    const PointList order = m_form->questionTable().rows();

    // First: right, through answer 2.
    QCOMPARE(currentHint(), order[0][ColumnHint]);
    QCOMPARE(status(), "0/0");
    f->Text1->setText(order[0][ColumnAnswer2]);
    f->Command1->click();
    QCOMPARE(f->Label2->text(), u8("○"));
    QCOMPARE(status(), u8("正解 !"));
    QVERIFY(f->Label1[1]->isVisible());
    QVERIFY(f->Label1[2]->isVisible());
    QCOMPARE(f->Label1[1]->text(), order[0][ColumnAnswer1]);
    QCOMPARE(f->Label1[2]->text(), order[0][ColumnAnswer2]);
    QCOMPARE(f->Label3->text(), order[0][ColumnInfo]);
    QCOMPARE(f->Command1->text(), "&Next");
    // Editing after judging changes nothing.
    f->Text1->setText(QStringLiteral("x"));
    f->Command1->click();

    // Second: wrong (trailing blank).
    QCOMPARE(currentHint(), order[1][ColumnHint]);
    QCOMPARE(status(), "1/1");
    QVERIFY(f->Label1[1]->isHidden());
    QCOMPARE(f->Label2->text(), QString());
    f->Text1->setText(order[1][ColumnAnswer1] + u' ');
    f->Command1->click();
    QCOMPARE(f->Label2->text(), u8("×"));
    QCOMPARE(status(), u8("不正解"));
    f->Command1->click();

    // Third: right, then the third "Next" ends the quiz.
    QCOMPARE(currentHint(), order[2][ColumnHint]);
    QCOMPARE(status(), "1/2");
    f->Text1->setText(order[2][ColumnAnswer1]);
    f->Command1->click();
    QCOMPARE(m_services->messages.size(), 1);

    bool closedFirst = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        closedFirst = !f->isVisible() && !f->Timer1->isActive() && status() == "2/3 = 66.6%" &&
                      m_form->Picture1->isMarkerShown();
    });
    QPointer<Form2> watch(f);
    f->Command1->click();
    QVERIFY(closedFirst);
    QCOMPARE(m_services->messages.size(), 2);
    QCOMPARE(m_services->lastMessage().text, u8("3問中 2問正解\r\n66.6%"));
    QCOMPARE(m_services->lastMessage().title, u8("終了"));
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::None);
    QCOMPARE(status(), "2/3 = 66.6%");
    checkIdleMenus();
    QCOMPARE(m_form->questionTable().rows(), order);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watch);
    QVERIFY(!m_form->answerWindow());
    QCOMPARE(m_services->unscriptedRequests, 0);
}

void TestForm2::singlePointQuiz() {
    Form2* f = start(somePoints(1));
    QVERIFY(f);
    f->Text1->setText(u8("答え0"));
    f->Command1->click();
    f->Command1->click();
    QCOMPARE(status(), "1/1 = 100%");
    QCOMPARE(m_services->lastMessage().text, u8("1問中 1問正解\r\n100%"));
    checkIdleMenus();
}

void TestForm2::practiceModeRepeatsAndNeverEnds() {
    m_form->Menu3_PMode->trigger();
    m_random = ScriptedRandom{0.5}; // practice draws: floor(0.5 * 3) = row 1 every time
    Form2* f = start(somePoints(3));
    QVERIFY(f);
    QVERIFY(f->session()->isPractice());
    const QString hint = m_form->questionTable().row(1)[ColumnHint];
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(currentHint(), hint);
        QCOMPARE(status(), QStringLiteral("%1/%1").arg(i));
        judgeAndNext(true);
    }
    // Past the table's length and still asking.
    QVERIFY(f->isVisible());
    QVERIFY(f->isRunning());
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(status(), "5/5");
    // The mode was read at the start; changing it now changes nothing.
    m_form->Menu3_NMode->trigger();
    judgeAndNext(false);
    QCOMPARE(status(), "5/6");

    m_services->answerMessage(MessageAnswer::Yes);
    m_form->Menu2_Stop->trigger();
    QCOMPARE(status(), "5/6 = 83.3%");
    checkIdleMenus();
}

void TestForm2::stopConfirmed_data() {
    QTest::addColumn<QString>("verdicts"); // questions judged and left: r right, w wrong
    QTest::addColumn<bool>("judgeCurrent");
    QTest::addColumn<QString>("status");

    QTest::newRow("first question") << "" << false << u8("0問");
    QTest::newRow("first question judged") << "" << true << "1/1 = 100%";
    QTest::newRow("fourth question, 2 of 3 right") << "rwr" << false << "2/3 = 66.6%";
    QTest::newRow("fourth question judged right") << "rwr" << true << "3/4 = 75%";
}

void TestForm2::stopConfirmed() {
    QFETCH(QString, verdicts);
    QFETCH(bool, judgeCurrent);
    QFETCH(QString, status);

    Form2* f = start(somePoints(6));
    QVERIFY(f);
    for (QChar v : verdicts)
        judgeAndNext(v == u'r');
    if (judgeCurrent) {
        f->Text1->setText(answerFor(true));
        f->Command1->click();
    }
    f->Timer1_Timer();
    const QString time = m_form->panelTime()->text();

    bool bothHidden = false;
    m_services->onNextMessage([&](const MessageRequest&) {
        bothHidden = !m_form->isVisible() && !f->isVisible() && f->Timer1->isActive();
    });
    m_services->answerMessage(MessageAnswer::Yes);
    m_form->show();
    m_form->Menu2_Stop->trigger();

    QVERIFY(bothHidden);
    QCOMPARE(m_services->messages.size(), 2); // "Good Luck!" and the prompt, no result box
    QCOMPARE(m_services->lastMessage().text, u8("中止しますか？"));
    QCOMPARE(m_services->lastMessage().title, u8("確認"));
    QCOMPARE(m_services->lastMessage().buttons, MessageButtons::YesNo);
    QCOMPARE(m_services->lastMessage().icon, MessageIcon::Question);
    QCOMPARE(this->status(), status);
    QCOMPARE(m_form->panelTime()->text(), time);
    QVERIFY(m_form->isVisible());
    QVERIFY(!f->isVisible());
    QVERIFY(!f->isRunning());
    QVERIFY(!f->Timer1->isActive());
    checkIdleMenus();

    // A second Stop has nothing to stop.
    m_form->Menu2_Stop_Click();
    QCOMPARE(m_services->messages.size(), 2);
}

void TestForm2::stopDeclinedResumes() {
    Form2* f = start(somePoints(4));
    QVERIFY(f);
    judgeAndNext(true);
    f->Text1->setText(u8("途中"));
    const QString hint = currentHint();
    m_form->show();

    m_services->answerMessage(MessageAnswer::No);
    m_form->Menu2_Stop->trigger();
    QCOMPARE(m_services->messages.size(), 2);
    QVERIFY(m_form->isVisible());
    QVERIFY(f->isVisible());
    QVERIFY(f->isRunning());
    QCOMPARE(m_form->answerWindow(), f);
    QCOMPARE(f->Text1->text(), u8("途中"));
    QCOMPARE(currentHint(), hint);
    QCOMPARE(f->Command1->text(), "&OK");
    QCOMPARE(status(), "1/1");
    QCOMPARE(f->session()->questionNo(), 1);
    QCOMPARE(f->session()->correctNo(), 1);
    QVERIFY(m_form->Menu2_Stop->isEnabled());
    QVERIFY(!m_form->Menu2_Start->isEnabled());
    QVERIFY(m_form->Picture1->isMarkerShown());

    // The quiz goes on where it was.
    f->Text1->setText(answerFor(true));
    f->Command1->click();
    QCOMPARE(status(), u8("正解 !"));
    QCOMPARE(f->session()->correctNo(), 2);
}

void TestForm2::closeBoxRefused() {
    Form2* f = start(somePoints(2));
    QVERIFY(f);
    QVERIFY(!f->close());
    QVERIFY(f->isVisible());
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(f->isVisible());
    QVERIFY(f->isRunning());
    QVERIFY(f->Timer1->isActive());
    QCOMPARE(m_form->answerWindow(), f);
    QCOMPARE(status(), "0/0");
}

void TestForm2::enterJudgesThenMovesOn() {
    const PointList points = {point("10", "10", "h1", "Tokyo"), point("20", "20", "h2", "Osaka")};
    m_random = ScriptedRandom{0.99}; // keeps the order
    Form2* f = start(points);
    QVERIFY(f);
    QCOMPARE(currentHint(), "h1");
    QTest::keyClicks(f->Text1, "Tokyo");
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(f->Label2->text(), u8("○"));
    QCOMPARE(f->Command1->text(), "&Next");
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(currentHint(), "h2");
    QCOMPARE(status(), "1/1");
    QCOMPARE(f->Command1->text(), "&OK");
    // Letter case counts.
    QTest::keyClicks(f->Text1, "osaka");
    QTest::keyClick(f->Text1, Qt::Key_Enter);
    QCOMPARE(f->Label2->text(), u8("×"));
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(m_services->lastMessage().text, u8("2問中 1問正解\r\n50%"));
}

void TestForm2::nonNumericPointHidesMarker() {
    const PointList points = {point("abc", "5", "h", u8("〜")), point("", "", "h2", "b")};
    m_random = ScriptedRandom{0.99};
    Form2* f = start(points);
    QVERIFY(f);
    QVERIFY(!m_form->Picture1->isMarkerShown());
    QCOMPARE(currentHint(), "h");
    // Typed with a Windows input method: matches the wave dash stored by other means.
    f->Text1->setText(u8("～"));
    f->Command1->click();
    QCOMPARE(f->Label2->text(), u8("○"));
    f->Command1->click();
    QVERIFY(!m_form->Picture1->isMarkerShown());
    QCOMPARE(currentHint(), "h2");
    // An empty entry is wrong even though answer 2 is empty.
    f->Command1->click();
    QCOMPARE(f->Label2->text(), u8("×"));
    f->Command1->click();
    QCOMPARE(status(), "1/2 = 50%");
}

void TestForm2::clock() {
    m_form->panelTime()->setText(u8("7分7秒"));
    Form2* f = start(somePoints(1));
    QVERIFY(f);
    // Until the first tick the panel keeps what it showed.
    QCOMPARE(m_form->panelTime()->text(), u8("7分7秒"));
    f->Timer1_Timer();
    QCOMPARE(m_form->panelTime()->text(), u8("0分1秒"));
    for (int i = 0; i < 58; ++i)
        f->Timer1_Timer();
    QCOMPARE(m_form->panelTime()->text(), u8("0分59秒"));
    f->Timer1_Timer();
    QCOMPARE(m_form->panelTime()->text(), u8("1分0秒"));
    for (int i = 0; i < 5; ++i)
        f->Timer1_Timer();
    QCOMPARE(m_form->panelTime()->text(), u8("1分5秒"));
    // The real timer is wired to the same handler.
    f->Timer1->setInterval(1);
    QTRY_VERIFY(m_form->panelTime()->text() != u8("1分5秒"));
    f->Timer1->stop();
    QVERIFY(f->session()->elapsedMin() * 60 + f->session()->elapsedSec() > 65);
}

void TestForm2::answerWindowLeavesTheMarkerFree() {
    m_form->move(40, 30);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    SystemRandomSource random(8);
    m_form->setRandomSource(random);
    // Many questions on two points far apart, the window pushed onto the marker each time.
    Form2* f = start({point("30", "40", "a", "a"), point("300", "40", "b", "b")});
    QVERIFY(f);
    const QRect available = m_form->screen()->availableGeometry();
    for (int i = 0; i < 40; ++i) {
        const QPointF topLeft = m_form->Picture1->marker()->topLeft();
        const int markerX =
            qRound(m_form->Picture1->mapToGlobal(m_form->Picture1->fromMap(topLeft)).x());
        const QRect frame = f->frameGeometry();
        QVERIFY2(!QuizPlacement::covers({frame.left(), frame.width()}, markerX,
                                        QuizPlacement::kMarkerSize),
                 qPrintable(QStringLiteral("question %1: window %2..%3, marker %4")
                                .arg(i)
                                .arg(frame.left())
                                .arg(frame.right())
                                .arg(markerX)));
        QVERIFY(frame.left() >= available.left());
        QVERIFY(frame.right() <= available.right());
        QCOMPARE(frame.top(), f->frameGeometry().top());
        // Put the window onto the marker of the other point for the next question.
        const QString nextX = m_form->questionTable().row((i + 1) % 2)[ColumnX];
        const int nextMarker = qRound(
            m_form->Picture1->mapToGlobal(m_form->Picture1->fromMap(QPointF(nextX.toInt() - 4, 0)))
                .x());
        const int top = f->pos().y();
        f->move(nextMarker - 20, top);
        QVERIFY(QuizPlacement::covers({f->frameGeometry().left(), f->frameGeometry().width()},
                                      nextMarker, QuizPlacement::kMarkerSize));
        judgeAndNext(true);
        if (i % 2 == 1) // a new quiz after both points
            f = start({});
        if (!f)
            break;
    }
}

void TestForm2::secondStartDuringShuffleIgnored() {
    // A table long enough for the shuffle to let events run; a timer tries to start again.
    PointList points;
    for (int i = 0; i < 10000; ++i)
        points.append(point(QString::number(i % 400), "5", QString::number(i), "a"));
    bool tried = false;
    QTimer::singleShot(0, m_form.get(), [&] {
        tried = true;
        m_form->Menu2_Start->trigger();
    });
    SystemRandomSource random(3);
    m_form->setRandomSource(random);
    Form2* f = start(points);
    QVERIFY(tried);
    QVERIFY(f);
    QCOMPARE(m_form->findChildren<Form2*>().size(), 1);
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_services->lastMessage().text, "Good Luck!");
    QCOMPARE(m_form->questionTable().rowCount(), 10000);
    // Start is disabled once the window is open; triggering it does nothing.
    m_form->Menu2_Start_Click();
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_form->answerWindow(), f);
}

void TestForm2::restartAfterEnd() {
    Form2* first = start(somePoints(2));
    QVERIFY(first);
    judgeAndNext(true);
    judgeAndNext(true);
    QCOMPARE(status(), "2/2 = 100%");
    // The table keeps the last order and is reshuffled; counters and clock start afresh.
    const PointList before = m_form->questionTable().rows();
    m_random = ScriptedRandom{0.0};
    Form2* second = start({});
    QVERIFY(second);
    QVERIFY(second != first);
    QCOMPARE(m_random.reseeds, 1);
    QCOMPARE(m_form->questionTable().rows(), PointList({before[1], before[0]}));
    QCOMPARE(status(), "0/0");
    QCOMPARE(second->session()->correctNo(), 0);
    second->Timer1_Timer();
    QCOMPARE(m_form->panelTime()->text(), u8("0分1秒"));
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
