// The study commands through the main window: the review after a quiz, another round over the
// misses, the record kept across runs and skipped when it cannot be written, weak points first
// from the mode menu (answered by typing or on the map), the mastery map and the ring on the point
// a wrong answer names.
#include "ScriptedRandom.h"

#include "core/data/StudyOptions.h"
#include "core/record/StudyRecord.h"
#include "core/study/ReviewModel.h"
#include "ui/app/MainWindow.h"
#include "ui/platform/MapView.h"
#include "ui/quiz/AnswerWindow.h"
#include "ui/study/ReviewWindow.h"
#include "ui/study/StudyCommands.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using TestFiles::point;
using TestFiles::u8;

namespace {

// Three points; the answer of 東京 is typed for 大阪 in the ring case.
const PointList kPoints = {point("10", "20", u8("首都"), u8("東京")),
                           point("30", "40", u8("西"), u8("大阪")),
                           point("50", "60", u8("北"), u8("札幌"))};

QStringList answersOf(const PointList& points) {
    QStringList answers;
    for (const Point& p : points)
        answers.append(p[ColumnAnswer1]);
    answers.sort();
    return answers;
}

} // namespace

class TestStudyFlow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void reviewAfterTheQuiz_data();
    void reviewAfterTheQuiz();
    void anotherRoundAsksTheMisses();
    void recordSurvivesARestart();
    void damagedRecordLeavesTheQuizRunning();
    void weakFirstFromTheModeMenu();
    void weakFirstFoundOnTheMap();
    void ringOnTheMeantPoint();

private:
    void openWindow();
    void loadFile();
    AnswerWindow* start();
    // Judges the current question: right, or with `typed`; then moves on.
    void answer(bool right, const QString& typed = u8("違う"));
    QAction* action(const char* name) const { return Controls::action(m_window.get(), name); }
    StudyCommands* study() const { return &m_window->studyCommands(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<MainWindow> m_window;
    ScriptedRandom m_random{0.0};
    AnswerWindow* m_quiz = nullptr;
};

void TestStudyFlow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(TestFiles::writeBmp(m_dir->filePath("map.bmp"), 100, 100));
    QVERIFY(TestFiles::writeBytes(m_dir->filePath("q.zav"),
                                  TestFiles::questionFile(m_dir->filePath("map.bmp"), kPoints)));
    m_services = std::make_unique<FakeServices>();
    openWindow();
}

void TestStudyFlow::cleanup() {
    m_window.reset();
    m_services.reset();
    m_dir.reset();
}

void TestStudyFlow::openWindow() {
    m_window = std::make_unique<MainWindow>(*m_services, m_dir->path() + u'/');
    m_window->setRandomSource(m_random);
}

void TestStudyFlow::loadFile() {
    QCOMPARE(m_window->loadQuestionFile(m_dir->filePath("q.zav"), false), ReadOutcome::Success);
}

AnswerWindow* TestStudyFlow::start() {
    action("Menu2_Start")->trigger();
    m_quiz = m_window->answerWindow();
    return m_quiz;
}

void TestStudyFlow::answer(bool right, const QString& typed) {
    const Point& asked = m_quiz->session().currentPoint();
    Controls::find<QLineEdit>(m_quiz, "Text1")->setText(right ? asked[ColumnAnswer1] : typed);
    auto* button = Controls::find<QPushButton>(m_quiz, "Command1");
    button->click();
    QCOMPARE(button->text(), "&Next");
    button->click();
}

void TestStudyFlow::reviewAfterTheQuiz_data() {
    QTest::addColumn<bool>("stop");
    QTest::addColumn<bool>("reviewOpens");
    QTest::addColumn<bool>("recording");
    QTest::newRow("completed") << false << true << true;
    QTest::newRow("stopped") << true << true << true;
    QTest::newRow("completed, options off") << false << false << false;
}

void TestStudyFlow::reviewAfterTheQuiz() {
    QFETCH(bool, stop);
    QFETCH(bool, reviewOpens);
    QFETCH(bool, recording);
    StudyOptions options;
    options.reviewOpens = reviewOpens;
    options.recording = recording;
    m_window->session().setStudyOptions(options);
    loadFile();
    QVERIFY(!action("Menu2_Review")->isEnabled());
    QVERIFY(start());
    answer(true);
    answer(false);
    if (stop) {
        m_services->answerMessage(MessageAnswer::Yes);
        action("Menu2_Stop")->trigger();
    } else {
        answer(true);
    }
    ReviewWindow* review = study()->reviewWindow();
    QVERIFY(review);
    if (reviewOpens) {
        QTRY_VERIFY(review->isVisible());
    } else {
        QCoreApplication::processEvents();
        QVERIFY(!review->isVisible());
    }
    QCOMPARE(review->model().rowCount(), stop ? 2 : 3);
    QCOMPARE(study()->record().pointStats().size(), recording ? review->model().rowCount() : 0);
    const QString best = !recording ? u8("なし") : stop ? u8("1/2 = 50%") : u8("2/3 = 66.6%");
    QVERIFY2(review->runLabel()->text().contains(best), qPrintable(review->runLabel()->text()));
    // The menu item opens it again once closed; a double-click's row goes on the map.
    review->close();
    QVERIFY(action("Menu2_Review")->isEnabled());
    action("Menu2_Review")->trigger();
    QVERIFY(review->isVisible());
    emit review->pointRequested(kPoints[2]);
    MapView* map = Controls::find<MapView>(m_window.get(), "Picture1");
    QVERIFY(map->isMarkerShown());
    QCOMPARE(map->marker()->topLeft(), QPointF(46, 56));
}

void TestStudyFlow::anotherRoundAsksTheMisses() {
    loadFile();
    QVERIFY(start());
    answer(false);
    answer(true);
    answer(false);
    const PointList missed = study()->reviewWindow()->model().missedPoints();
    QCOMPARE(missed.size(), 2);
    study()->reviewWindow()->againButton()->click();
    AnswerWindow* round = m_window->answerWindow();
    QVERIFY(round && round != m_quiz && round->isRunning());
    QCOMPARE(round->session().mode(), QuizMode::Normal);
    QCOMPARE(answersOf(round->session().rows()), answersOf(missed));
    QVERIFY(!study()->reviewWindow()->isVisible());
    // The file's own table keeps all its points for the next Start.
    QCOMPARE(m_window->questionTable().rowCount(), 3);
    m_quiz = round;
    answer(true);
    answer(true);
    QCOMPARE(m_services->lastMessage().text, u8("2問中 2問正解\r\n100%"));
    QCOMPARE(study()->reviewWindow()->model().rowCount(), 2);
    // A round over the misses is no quiz of the whole file: it neither sets nor beats its best.
    const QString best = study()->reviewWindow()->runLabel()->text();
    QVERIFY2(best.contains(u8("1/3 = 33.3%")) && !best.contains(u8("更新")), qPrintable(best));
}

void TestStudyFlow::recordSurvivesARestart() {
    loadFile();
    QVERIFY(start());
    answer(true);
    answer(false);
    answer(true);
    m_window.reset();
    openWindow();
    loadFile();
    action("Menu2_Mastery")->trigger();
    // Read off the window's thread; opening the file again meanwhile supersedes that read.
    loadFile();
    const MasteryOverlay& mastery = study()->mastery();
    QTRY_COMPARE(mastery.dots().dots().size(), 3);
    int asked = 0;
    for (int row = 0; row < 3; ++row) {
        const QString tip = mastery.toolTip(row);
        asked += tip.contains(u8("1回中")) && tip.contains(u8("次の復習: ")) ? 1 : 0;
    }
    QCOMPARE(asked, 3);
    // The dots hide during a quiz and come back after it.
    QVERIFY(start());
    QVERIFY(!action("Menu2_Mastery")->isEnabled());
    QCOMPARE(mastery.dots().dots().size(), 0);
    m_services->answerMessage(MessageAnswer::Yes);
    action("Menu2_Stop")->trigger();
    QTRY_COMPARE(mastery.dots().dots().size(), 3);
    // Emptying the record after Yes leaves every point never asked.
    m_services->answerMessage(MessageAnswer::Yes);
    QTimer::singleShot(0, m_window.get(), [this] {
        auto* dialog = m_window->findChild<QDialog*>(QStringLiteral("StudyOptionsDialog"));
        QVERIFY(dialog);
        Controls::find<QPushButton>(dialog, "StudyClear")->click();
        dialog->reject();
    });
    action("Menu2_StudyOption")->trigger();
    QCOMPARE(m_services->lastMessage().text, StudyCommands::clearQuestion().text);
    QVERIFY(study()->record().pointStats().isEmpty());
    QTRY_VERIFY(mastery.toolTip(0).contains(u8("未出題")));
}

void TestStudyFlow::damagedRecordLeavesTheQuizRunning() {
    QVERIFY(
        TestFiles::writeBytes(m_dir->filePath(StudyRecord::fileName()), QByteArray(4096, '\x5a')));
    loadFile();
    QVERIFY(start());
    answer(false);
    answer(true);
    answer(true);
    QCOMPARE(m_services->lastMessage().text, u8("3問中 2問正解\r\n66.6%"));
    QCOMPARE(study()->reviewWindow()->model().rowCount(), 3);
    QVERIFY(!study()->record().isUsable());
    QVERIFY(!study()->reviewWindow()->runLabel()->text().contains(u8("ﾍﾞｽﾄ")));
    QCOMPARE(TestFiles::readBytes(m_dir->filePath(StudyRecord::fileName())),
             QByteArray(4096, '\x5a'));
}

void TestStudyFlow::weakFirstFromTheModeMenu() {
    loadFile();
    action("Menu3_WMode")->trigger();
    QVERIFY(action("Menu3_WMode")->isChecked());
    QVERIFY(!action("Menu3_NMode")->isChecked());
    QCOMPARE(m_window->state().values().mode, QuizMode::WeakFirst);
    QVERIFY(start());
    QCOMPARE(m_quiz->session().mode(), QuizMode::WeakFirst);
    // Asks until stopped, like practice.
    for (int i = 0; i < 5; ++i)
        answer(i % 2 == 0);
    QVERIFY(m_quiz->isRunning());
}

void TestStudyFlow::weakFirstFoundOnTheMap() {
    loadFile();
    action("Menu3_WMode")->trigger();
    action("Menu3_Locate")->trigger();
    QVERIFY(start());
    QCOMPARE(m_quiz->session().answerMethod(), AnswerMethod::Locate);
    const Point asked = m_quiz->session().currentPoint();
    // Far from every point: a miss, recorded as one.
    emit Controls::find<MapView>(m_window.get(), "Picture1")
        ->pressed(QPointF(99, 0), Qt::LeftButton);
    QVERIFY(m_quiz->session().isJudged());
    const PointStats stats = study()->record().pointStats().value(PointIdentity::of(asked));
    QCOMPARE(stats.asked, 1);
    QCOMPARE(stats.right, 0);
}

void TestStudyFlow::ringOnTheMeantPoint() {
    loadFile();
    QVERIFY(start());
    const MeantPointRing& ring = study()->ring();
    const Point asked = m_quiz->session().currentPoint();
    const Point other = asked == kPoints[0] ? kPoints[1] : kPoints[0];
    Controls::find<QLineEdit>(m_quiz, "Text1")->setText(other[ColumnAnswer1]);
    auto* button = Controls::find<QPushButton>(m_quiz, "Command1");
    button->click();
    QVERIFY(ring.isShown());
    QCOMPARE(ring.text(), other[ColumnAnswer1]);
    QCOMPARE(ring.centre(), QPointF(other[ColumnX].toDouble(), other[ColumnY].toDouble()));
    button->click();
    QVERIFY(!ring.isShown());
    // A wrong answer that names no point shows no ring.
    Controls::find<QLineEdit>(m_quiz, "Text1")->setText(u8("違う"));
    button->click();
    QCOMPARE(button->text(), "&Next");
    QVERIFY(!ring.isShown());
}

QTEST_MAIN(TestStudyFlow)
#include "tst_studyflow.moc"
