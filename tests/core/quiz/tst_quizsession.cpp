#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/quiz/Distractors.h"
#include "core/quiz/QuizSession.h"

#include <QTest>

#include <cmath>

using TestFiles::point;
using TestFiles::u8;

namespace {

PointList numberedPoints(int count) {
    PointList rows;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        rows.append(point(n, n, u8("ヒント") + n, u8("答") + n, QString(), u8("情報") + n));
    }
    return rows;
}

// The right answer of row `row` of numberedPoints().
QString rightAnswer(int row) {
    return u8("答") + QString::number(row);
}

} // namespace

class TestQuizSession : public QObject {
    Q_OBJECT

private slots:
    void judging_data();
    void judging();
    void judgingCountsOnce();
    void wrongChoiceOfferedAgain();
    void pressesJudgedOnceAndOnlyOnTheMap();
    void normalModeRunsEveryRowOnceThenEnds();
    void results_data();
    void results();
    void practiceModeDrawsWithReplacementAndNeverEnds();
    void practiceCountersPassSixteenBits();
    void emptyTableHasNoQuestion();
    void stopStatus_data();
    void stopStatus();
    void stopNeverShowsMoreRightThanAsked();
    void percentText_data();
    void percentText();
    void percentMatchesIntegerTenths();
    void scoreAndMarkTexts();
    void clock();
};

void TestQuizSession::judging_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer1");
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<bool>("right");

    const QString tokyo = u8("東京");
    QTest::newRow("answer 1") << tokyo << tokyo << u8("とうきょう") << true;
    QTest::newRow("answer 2 alone") << u8("とうきょう") << tokyo << u8("とうきょう") << true;
    QTest::newRow("trailing blank") << u8("東京 ") << tokyo << QString() << false;
    QTest::newRow("leading full-width blank") << u8("　東京") << tokyo << QString() << false;
    QTest::newRow("full-width A") << u8("Ａ") << "A" << QString() << false;
    QTest::newRow("half-width A for full-width") << "A" << u8("Ａ") << QString() << false;
    QTest::newRow("letter case") << "tokyo"
                                 << "Tokyo"
                                 << "TOKYO" << false;
    QTest::newRow("hiragana for katakana")
        << u8("とうきょう") << u8("トウキョウ") << QString() << false;
    QTest::newRow("half-width katakana") << u8("ﾄｳｷｮｳ") << u8("トウキョウ") << QString() << false;
    QTest::newRow("empty entry, empty answer 2") << QString() << tokyo << QString() << false;
    QTest::newRow("empty entry, both answers empty")
        << QString() << QString() << QString() << false;
    QTest::newRow("wave dash typed on Linux") << u8("〜") << u8("～") << QString() << true;
    QTest::newRow("wave dash stored by other means") << u8("～") << u8("〜") << QString() << true;
    QTest::newRow("wave dash in answer 2") << u8("a〜b") << "x" << u8("a～b") << true;
    QTest::newRow("minus sign") << u8("−1") << u8("－1") << QString() << true;
    QTest::newRow("blank answer is not empty") << " "
                                               << " " << QString() << true;
}

void TestQuizSession::judging() {
    QFETCH(QString, typed);
    QFETCH(QString, answer1);
    QFETCH(QString, answer2);
    QFETCH(bool, right);

    QCOMPARE(Judging::isCorrect(typed, answer1, answer2, {}), right);

    // The same through a session: the counter follows the verdict.
    const PointList rows{point("1", "2", "hint", answer1, answer2, "info")};
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    QVERIFY(session.advance());
    QCOMPARE(session.judge(typed), right);
    QCOMPARE(session.correctNo(), right ? 1 : 0);

    // Chosen instead of typed: judged alike, and recorded as chosen.
    QuizSession choosing(rows, QuizMode::Normal, random);
    choosing.setChoices(std::make_unique<Distractors>(rows, JudgingOptions()));
    QVERIFY(choosing.advance());
    QCOMPARE(choosing.answerMethod(), AnswerMethod::Choice);
    QCOMPARE(choosing.judgeChoice(typed), right);
    QCOMPARE(choosing.correctNo(), right ? 1 : 0);
    const Attempt chosen = choosing.judgedQuestions().constLast().attempt();
    QCOMPARE(chosen.method, AnswerMethod::Choice);
    QCOMPARE(chosen.typed, typed);
}

void TestQuizSession::wrongChoiceOfferedAgain() {
    // Far along a line: without confusions the nearest three are offered.
    PointList rows = numberedPoints(6);
    for (int i = 0; i < rows.size(); ++i)
        rows[i][ColumnHint].clear();
    ScriptedRandom random{0.0};
    QuizSession session(rows, QuizMode::Practice, random);
    session.setChoices(std::make_unique<Distractors>(rows, JudgingOptions()));
    QVERIFY(session.advance());
    QVERIFY(!session.choices().contains(rightAnswer(5)));
    QVERIFY(!session.judgeChoice(rightAnswer(5)));
    QVERIFY(!session.judgeChoice(rightAnswer(4))); // judged once, confused once
    QVERIFY(session.advance());
    QCOMPARE(session.currentRow(), 0);
    QVERIFY(session.choices().contains(rightAnswer(5)));
    QVERIFY(!session.choices().contains(rightAnswer(4)));
    QVERIFY(!session.choices().contains(rightAnswer(3)));
}

void TestQuizSession::judgingCountsOnce() {
    const PointList rows = numberedPoints(2);
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    QVERIFY(session.advance());
    QVERIFY(session.judge(rightAnswer(0)));
    QVERIFY(session.isJudged());
    // Editing after judging changes nothing.
    QVERIFY(session.judge(QStringLiteral("wrong")));
    QVERIFY(session.judge(rightAnswer(0)));
    QCOMPARE(session.correctNo(), 1);

    QVERIFY(session.advance());
    QVERIFY(!session.isJudged());
    QVERIFY(!session.judge(QStringLiteral("wrong")));
    QVERIFY(!session.judge(rightAnswer(1)));
    QCOMPARE(session.correctNo(), 1);
}

// The locate rule's own cases are its table; here: which presses count, and the texts.
void TestQuizSession::pressesJudgedOnceAndOnlyOnTheMap() {
    const PointList rows = {point("10", "10", "a", "A"), point("50", "10", "b", "B"),
                            point("x", "10", "c", "C")};
    ScriptedRandom random;
    QuizSession typing(rows, QuizMode::Normal, random);
    QVERIFY(typing.advance());
    QVERIFY(!typing.judgePress(QPointF(10, 10)));
    QCOMPARE(typing.answerMethod(), AnswerMethod::Typing);

    QuizSession session(rows, QuizMode::Normal, random);
    session.setLocateOnMap(QSize(60, 20));
    QCOMPARE(session.answerMethod(), AnswerMethod::Locate);
    QVERIFY(!session.judgePress(QPointF(10, 10))); // before the first question
    QVERIFY(session.advance());
    QCOMPARE(session.currentPlace(), QPointF(10, 10));
    for (const QPointF off : {QPointF(-1, 5), QPointF(60, 5), QPointF(5, 20)})
        QVERIFY(!session.judgePress(off));
    QVERIFY(!session.isJudged());

    const std::optional<LocateVerdict> right = session.judgePress(QPointF(13, 14));
    QVERIFY(right && right->correct);
    QCOMPARE(QuizSession::distanceText(right->distance), u8("距離 5.0 ﾋﾟｸｾﾙ"));
    QVERIFY(!session.judgePress(QPointF(50, 10))); // judged once
    QCOMPARE(session.correctNo(), 1);
    // The record keeps the press and its distance.
    const Attempt located = session.judgedQuestions().constLast().attempt();
    QCOMPARE(located.method, AnswerMethod::Locate);
    QCOMPARE(located.pressX, 13.0);
    QCOMPARE(located.pressY, 14.0);
    QCOMPARE(located.distance, 5.0);

    QVERIFY(session.advance());
    const std::optional<LocateVerdict> wrong = session.judgePress(QPointF(20, 11));
    QVERIFY(wrong && !wrong->correct);
    QCOMPARE(QuizSession::distanceText(wrong->distance), u8("距離 30.0 ﾋﾟｸｾﾙ"));

    // A point without a place is asked, and every press on it is wrong.
    QVERIFY(session.advance());
    QVERIFY(!session.currentPlace());
    const std::optional<LocateVerdict> nowhere = session.judgePress(QPointF(10, 10));
    QVERIFY(nowhere && !nowhere->correct);
    QCOMPARE(QuizSession::distanceText(nowhere->distance), u8("（地図上にありません）"));
    QCOMPARE(session.judgedQuestions().size(), 3);
    QVERIFY(!session.judgedQuestions().constLast().attempt().distance);
    QVERIFY(!session.advance());
    session.finish();
    QCOMPARE(session.resultMessage(), u8("3問中 1問正解\r\n33.3%"));
}

void TestQuizSession::normalModeRunsEveryRowOnceThenEnds() {
    PointList rows = numberedPoints(3);
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    QCOMPARE(session.questionNo(), -1);
    // The session asks the rows as they were at its start.
    rows.clear();

    QVERIFY(session.advance());
    QCOMPARE(session.currentRow(), 0);
    QCOMPARE(session.currentPoint()[ColumnHint], u8("ヒント0"));
    QCOMPARE(session.progressText(), "0/0");
    session.judge(rightAnswer(0));

    QVERIFY(session.advance());
    QCOMPARE(session.currentRow(), 1);
    QCOMPARE(session.progressText(), "1/1");
    session.judge(QStringLiteral("wrong"));

    QVERIFY(session.advance());
    QCOMPARE(session.currentRow(), 2);
    QCOMPARE(session.progressText(), "1/2");
    session.judge(rightAnswer(2));

    // The third "Next" ends the quiz.
    QVERIFY(!session.advance());
    QVERIFY(!session.advance());
    QCOMPARE(session.currentRow(), 2);
    QCOMPARE(session.score().asked, 3); // the last question was judged
    session.finish();
    QCOMPARE(session.questionNo(), 3);
    QCOMPARE(session.score().asked, 3);
    QCOMPARE(session.score().correct, 2);
    QCOMPARE(session.endingStatus(), "2/3 = 66.6%");
    QCOMPARE(session.resultMessage(), u8("3問中 2問正解\r\n66.6%"));
    QCOMPARE(random.draws, 0);
}

void TestQuizSession::results_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("7 of 10") << 10 << 7 << "7/10 = 70%" << u8("10問中 7問正解\r\n70%");
    QTest::newRow("1 of 8") << 8 << 1 << "1/8 = 12.5%" << u8("8問中 1問正解\r\n12.5%");
    QTest::newRow("all of 4") << 4 << 4 << "4/4 = 100%" << u8("4問中 4問正解\r\n100%");
    QTest::newRow("none of 5") << 5 << 0 << "0/5 = 0%" << u8("5問中 0問正解\r\n0%");
    QTest::newRow("single right") << 1 << 1 << "1/1 = 100%" << u8("1問中 1問正解\r\n100%");
    QTest::newRow("single wrong") << 1 << 0 << "0/1 = 0%" << u8("1問中 0問正解\r\n0%");
}

void TestQuizSession::results() {
    QFETCH(int, points);
    QFETCH(int, right);
    QFETCH(QString, status);
    QFETCH(QString, message);

    const PointList rows = numberedPoints(points);
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    int asked = 0;
    while (session.advance()) {
        const int row = session.currentRow();
        QCOMPARE(row, asked);
        session.judge(row < right ? rightAnswer(row) : QStringLiteral("?"));
        ++asked;
    }
    QCOMPARE(asked, points);
    session.finish();
    QCOMPARE(session.endingStatus(), status);
    QCOMPARE(session.resultMessage(), message);
}

void TestQuizSession::practiceModeDrawsWithReplacementAndNeverEnds() {
    const PointList rows = numberedPoints(3);
    ScriptedRandom random{0.5, 0.5, 0.999, 0.0, 0.34};
    QuizSession session(rows, QuizMode::Practice, random);
    QVERIFY(session.isPractice());

    const QList<int> expectedRows{1, 1, 2, 0, 1};
    for (int i = 0; i < expectedRows.size(); ++i) {
        QVERIFY(session.advance());
        QCOMPARE(session.currentRow(), expectedRows[i]);
        QCOMPARE(session.questionNo(), i);
        session.judge(rightAnswer(session.currentRow()));
    }
    // At the sixth question: five asked, all right.
    QVERIFY(session.advance());
    QCOMPARE(session.progressText(), "5/5");
    // Far past the table's length it still asks.
    for (int i = 0; i < 99; ++i)
        QVERIFY(session.advance());
    QCOMPARE(session.questionNo(), 104);
    QCOMPARE(random.draws, 105);
}

void TestQuizSession::practiceCountersPassSixteenBits() {
    const PointList rows = numberedPoints(1);
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Practice, random);
    constexpr int kQuestions = 40000;
    for (int i = 0; i < kQuestions; ++i) {
        QVERIFY(session.advance());
        session.judge(rightAnswer(0));
    }
    QCOMPARE(session.questionNo(), kQuestions - 1);
    QCOMPARE(session.correctNo(), kQuestions);
    QCOMPARE(session.stopStatus(), "40000/40000 = 100%");
    QVERIFY(session.advance());
    QCOMPARE(session.progressText(), "40000/40000");
}

void TestQuizSession::emptyTableHasNoQuestion() {
    const PointList rows;
    ScriptedRandom random;
    for (auto mode : {QuizMode::Normal, QuizMode::Practice}) {
        QuizSession session(rows, mode, random);
        QVERIFY(!session.advance());
        QVERIFY(!session.hasQuestion());
        QVERIFY(!session.judge(QStringLiteral("x")));
        QCOMPARE(session.correctNo(), 0);
        QCOMPARE(session.stopStatus(), u8("0問"));
    }
}

void TestQuizSession::stopStatus_data() {
    QTest::addColumn<QString>("verdicts"); // one letter per question: r right, w wrong
    QTest::addColumn<bool>("judgeLast");   // the current (last) question judged before Stop
    QTest::addColumn<QString>("status");

    QTest::newRow("first question on show") << "r" << false << u8("0問");
    QTest::newRow("first question judged right") << "r" << true << "1/1 = 100%";
    QTest::newRow("first question judged wrong") << "w" << true << "0/1 = 0%";
    QTest::newRow("fourth on show, 2 of 3 right") << "rwrr" << false << "2/3 = 66.6%";
    QTest::newRow("fourth judged wrong") << "rwrw" << true << "2/4 = 50%";
    QTest::newRow("fourth judged right") << "rwrr" << true << "3/4 = 75%";
}

void TestQuizSession::stopStatus() {
    QFETCH(QString, verdicts);
    QFETCH(bool, judgeLast);
    QFETCH(QString, status);

    const PointList rows = numberedPoints(10);
    for (auto mode : {QuizMode::Normal, QuizMode::Practice}) {
        ScriptedRandom random{0.25}; // practice: always row 2
        QuizSession session(rows, mode, random);
        for (qsizetype i = 0; i < verdicts.size(); ++i) {
            QVERIFY(session.advance());
            const bool last = i == verdicts.size() - 1;
            if (!last || judgeLast) {
                const bool right = verdicts[i] == u'r';
                session.judge(right ? rightAnswer(session.currentRow()) : QStringLiteral("?"));
            }
        }
        QCOMPARE(session.stopStatus(), status);
        const QuizScore score = session.score();
        QCOMPARE(score.asked == 0 ? u8("0問") : QuizSession::scoreText(score.correct, score.asked),
                 status);
    }
}

void TestQuizSession::stopNeverShowsMoreRightThanAsked() {
    const PointList rows = numberedPoints(5);
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    while (session.advance()) {
        QCOMPARE(session.stopStatus(),
                 session.questionNo() == 0
                     ? u8("0問")
                     : QuizSession::scoreText(session.correctNo(), session.questionNo()));
        session.judge(rightAnswer(session.currentRow()));
        // All right so far: a judged question counts, so the score is always 100%.
        QCOMPARE(session.stopStatus(),
                 QuizSession::scoreText(session.questionNo() + 1, session.questionNo() + 1));
    }
}

void TestQuizSession::percentText_data() {
    QTest::addColumn<qint64>("correct");
    QTest::addColumn<qint64>("questions");
    QTest::addColumn<QString>("text");

    QTest::newRow("2/3 cut, not rounded") << qint64(2) << qint64(3) << "66.6";
    QTest::newRow("1/3") << qint64(1) << qint64(3) << "33.3";
    QTest::newRow("1/8") << qint64(1) << qint64(8) << "12.5";
    QTest::newRow("7/10") << qint64(7) << qint64(10) << "70";
    QTest::newRow("all") << qint64(9) << qint64(9) << "100";
    QTest::newRow("none") << qint64(0) << qint64(5) << "0";
    QTest::newRow("29/100, 0.29*1000 is below 290") << qint64(29) << qint64(100) << "29";
    QTest::newRow("57/100") << qint64(57) << qint64(100) << "57";
    QTest::newRow("1/7") << qint64(1) << qint64(7) << "14.2";
    QTest::newRow("999/1000") << qint64(999) << qint64(1000) << "99.9";
    QTest::newRow("9999/10000") << qint64(9999) << qint64(10000) << "99.9";
    QTest::newRow("1/10000") << qint64(1) << qint64(10000) << "0";
    QTest::newRow("1/1000") << qint64(1) << qint64(1000) << "0.1";
    QTest::newRow("huge counters")
        << qint64(3'000'000'000'000) << qint64(9'000'000'000'000) << "33.3";
}

void TestQuizSession::percentText() {
    QFETCH(qint64, correct);
    QFETCH(qint64, questions);
    QFETCH(QString, text);
    QCOMPARE(QuizSession::percentText(correct, questions), text);
}

void TestQuizSession::percentMatchesIntegerTenths() {
    // Every c/q up to 500 questions against integer tenths, printed by another route.
    for (qint64 q = 1; q <= 500; ++q) {
        for (qint64 c = 0; c <= q; ++c) {
            const qint64 tenths = 1000 * c / q;
            const QString expected = tenths % 10 == 0
                                         ? QString::number(tenths / 10)
                                         : QString::asprintf("%lld.%lld", tenths / 10, tenths % 10);
            if (QuizSession::percentText(c, q) != expected)
                QFAIL(qPrintable(QStringLiteral("%1/%2 gave %3, want %4")
                                     .arg(c)
                                     .arg(q)
                                     .arg(QuizSession::percentText(c, q), expected)));
        }
    }
}

void TestQuizSession::scoreAndMarkTexts() {
    QCOMPARE(QuizSession::scoreText(2, 3), "2/3 = 66.6%");
    QCOMPARE(QuizSession::scoreText(0, 5), "0/5 = 0%");
    QCOMPARE(QuizSession::mark(true), u8("○"));
    QCOMPARE(QuizSession::mark(false), u8("×"));
    QCOMPARE(QuizSession::verdictStatus(true), u8("正解 !"));
    QCOMPARE(QuizSession::verdictStatus(false), u8("不正解"));
}

void TestQuizSession::clock() {
    const PointList rows = numberedPoints(1);
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    QCOMPARE(session.clockText(), u8("0分0秒"));
    for (int i = 0; i < 59; ++i)
        session.tick();
    QCOMPARE(session.clockText(), u8("0分59秒"));
    session.tick();
    QCOMPARE(session.clockText(), u8("1分0秒"));
    QCOMPARE(session.elapsedSec(), 0);
    QCOMPARE(session.elapsedMin(), 1);
    for (int i = 0; i < 5; ++i)
        session.tick();
    QCOMPARE(session.clockText(), u8("1分5秒"));

    // Past 32767 minutes (about 22.7 days) it keeps counting.
    for (qint64 i = 0; i < 32767LL * 60; ++i)
        session.tick();
    QCOMPARE(session.clockText(), u8("32768分5秒"));
}

QTEST_GUILESS_MAIN(TestQuizSession)
#include "tst_quizsession.moc"
