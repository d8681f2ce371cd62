#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/quiz/AnswerIndex.h"
#include "core/quiz/QuizSession.h"
#include "core/study/ReviewModel.h"

#include <QTest>

#include <algorithm>

using TestFiles::point;
using TestFiles::u8;

Q_DECLARE_METATYPE(std::optional<BestComparison>)

namespace {

PointList prefectures() {
    return {point("1", "1", u8("北"), u8("札幌"), u8("さっぽろ")),
            point("2", "2", u8("東北"), u8("仙台")),
            point("3", "3", u8("関東"), u8("東京"), u8("とうきょう")),
            point("4", "4", u8("中部"), u8("名古屋")),
            point("5", "5", u8("近畿"), u8("大阪")),
            point("6", "6", u8("九州"), u8("福岡"))};
}

// Runs a session, answering each row right unless it is in `misses`, until `questions` have
// been judged or the quiz ends by itself.
QList<JudgedQuestion> play(const PointList& rows, QuizMode mode, RandomSource& random,
                           const QList<int>& misses, int questions) {
    QuizSession session(rows, mode, random);
    for (int i = 0; i < questions && session.advance(); ++i) {
        const int row = session.currentRow();
        session.judge(misses.contains(row) ? u8("知らない") : rows[row][ColumnAnswer1]);
    }
    return session.judgedQuestions();
}

QStringList answers(const PointList& points) {
    QStringList list;
    for (const Point& p : points)
        list.append(p[ColumnAnswer1]);
    return list;
}

} // namespace

class TestReview : public QObject {
    Q_OBJECT

private slots:
    void sessionFillsReview();
    void anotherRoundAsksExactlyTheMisses_data();
    void anotherRoundAsksExactlyTheMisses();
    void sort_data();
    void sort();
    void whichOneDidIMean_data();
    void whichOneDidIMean();
    void runText_data();
    void runText();
};

void TestReview::sessionFillsReview() {
    const PointList rows = prefectures();
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    const QStringList typed{u8("札幌"), u8("せんだい"), QString(), u8("名古屋")};
    for (const QString& text : typed) {
        QVERIFY(session.advance());
        session.judge(text);
        session.judge(u8("仙台")); // a second press judges nothing
    }

    ReviewModel model;
    model.setQuestions(session.judgedQuestions());
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), int(ReviewModel::ColumnCount));
    const auto cell = [&](int row, int column) {
        return model.data(model.index(row, column)).toString();
    };
    QStringList first, second;
    for (int column = 0; column < ReviewModel::ColumnCount; ++column) {
        first.append(cell(0, column));
        second.append(cell(1, column));
    }
    QCOMPARE(first.mid(0, 6),
             (QStringList{"1", u8("北"), u8("札幌"), u8("札幌"), u8("さっぽろ"), u8("○")}));
    QCOMPARE(second.mid(0, 6),
             (QStringList{"2", u8("東北"), u8("せんだい"), u8("仙台"), QString(), u8("×")}));
    QVERIFY(first[ReviewModel::Seconds].contains(u'.'));
    QCOMPARE(cell(2, ReviewModel::Verdict), u8("×")); // empty entry
    QCOMPARE(model.scoreText(), u8("2/4 = 50%"));
    QCOMPARE(model.scoreText(), session.stopStatus());
    const QuizRun run = session.run();
    QCOMPARE((QList<qint64>{run.correct, run.asked}), (QList<qint64>{2, 4}));
    QVERIFY(!run.complete);
    QVERIFY(model.hasMisses());
    QCOMPARE(answers(model.missedPoints()), (QStringList{u8("仙台"), u8("東京")}));

    ReviewModel empty;
    QCOMPARE(empty.scoreText(), u8("0問"));
    QVERIFY(!empty.hasMisses());
}

void TestReview::anotherRoundAsksExactlyTheMisses_data() {
    QTest::addColumn<bool>("practice");
    QTest::addColumn<QList<int>>("misses");
    QTest::addColumn<int>("questions");

    QTest::newRow("normal, two missed") << false << QList<int>{1, 4} << 99;
    QTest::newRow("normal, all missed") << false << QList<int>{0, 1, 2, 3, 4, 5} << 99;
    QTest::newRow("normal, none missed") << false << QList<int>{} << 99;
    QTest::newRow("practice, repeats counted once") << true << QList<int>{2, 3} << 60;
}

void TestReview::anotherRoundAsksExactlyTheMisses() {
    QFETCH(bool, practice);
    QFETCH(QList<int>, misses);
    QFETCH(int, questions);

    const PointList rows = prefectures();
    SystemRandomSource random(14);
    ReviewModel review;
    review.setQuestions(
        play(rows, practice ? QuizMode::Practice : QuizMode::Normal, random, misses, questions));
    // Sorting the view does not change which points go again.
    review.sort(ReviewModel::Verdict, Qt::AscendingOrder);
    QCOMPARE(review.hasMisses(), !misses.isEmpty());

    // The next round is a normal quiz over the misses: each once, then the end.
    const PointList again = review.missedPoints();
    QList<JudgedQuestion> round = play(again, QuizMode::Normal, random, {}, 999);
    QStringList asked;
    for (const JudgedQuestion& q : round)
        asked.append(q.point[ColumnAnswer1]);
    QStringList expected;
    for (const int row : misses)
        expected.append(rows[row][ColumnAnswer1]);
    asked.sort();
    expected.sort();
    QCOMPARE(asked, expected);
}

void TestReview::sort_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QList<qint64>>("numbers");
    QTest::addColumn<bool>("pressed"); // answered on the map, as far off as the seconds

    QTest::newRow("number descending")
        << int(ReviewModel::Number) << Qt::DescendingOrder << QList<qint64>{4, 3, 2, 1} << false;
    QTest::newRow("verdict: misses first, asked order kept")
        << int(ReviewModel::Verdict) << Qt::AscendingOrder << QList<qint64>{2, 3, 1, 4} << false;
    QTest::newRow("typed text") << int(ReviewModel::Typed) << Qt::AscendingOrder
                                << QList<qint64>{3, 4, 1, 2} << false; // "", "A", "B", "C"
    QTest::newRow("seconds as numbers, not text")
        << int(ReviewModel::Seconds) << Qt::AscendingOrder << QList<qint64>{2, 4, 1, 3} << false;
    QTest::newRow("pressed: the distance shown, sorted as numbers")
        << int(ReviewModel::Typed) << Qt::AscendingOrder << QList<qint64>{2, 4, 1, 3} << true;
}

void TestReview::sort() {
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QList<qint64>, numbers);
    QFETCH(bool, pressed);

    const QStringList typed{"B", "C", "", "A"};
    const QList<double> seconds{9.5, 2, 10.25, 3};
    QList<JudgedQuestion> list;
    for (int i = 0; i < 4; ++i) {
        JudgedQuestion q;
        q.number = i + 1;
        q.row = i;
        q.typed = typed[i];
        q.correct = i == 0 || i == 3;
        q.seconds = seconds[i];
        if (pressed) {
            q.typed.clear();
            q.method = AnswerMethod::Locate;
            q.press = QPointF(0, 0);
            q.distance = seconds[i];
        }
        list.append(q);
    }
    ReviewModel model;
    model.setQuestions(list);
    const QPersistentModelIndex selected = model.index(1, ReviewModel::Typed);
    model.sort(column, order);
    QList<qint64> sorted;
    for (int row = 0; row < model.rowCount(); ++row)
        sorted.append(model.question(row).number);
    QCOMPARE(sorted, numbers);
    if (pressed)
        QCOMPARE(model.data(model.index(0, ReviewModel::Typed)).toString(), u8("距離 2.0 ﾋﾟｸｾﾙ"));
    // A selection follows its row.
    QCOMPARE(model.question(selected.row()).number, 2);
}

void TestReview::whichOneDidIMean_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("lenient"); // every judging option on

    QTest::newRow("another point's answer 1") << u8("東京") << 0 << QList<int>{2} << false;
    QTest::newRow("another point's answer 2") << u8("とうきょう") << 0 << QList<int>{2, 4} << false;
    QTest::newRow("the asked point itself is left out") << u8("東京") << 2 << QList<int>{} << false;
    QTest::newRow("trailing blank matches nothing") << u8("東京 ") << 0 << QList<int>{} << false;
    QTest::newRow("wave dash typed on Linux") << u8("a〜b") << 0 << QList<int>{3} << false;
    QTest::newRow("letter case counts") << u8("A～B") << 0 << QList<int>{} << false;
    QTest::newRow("empty entry, though answer 2s are empty")
        << QString() << 0 << QList<int>{} << false;
    QTest::newRow("lenient: half-width katakana") << u8("ﾄｳｷｮｳ") << 0 << QList<int>{2, 4} << true;
}

void TestReview::whichOneDidIMean() {
    QFETCH(QString, typed);
    QFETCH(int, asked);
    QFETCH(QList<int>, rows);
    QFETCH(bool, lenient);
    const JudgingOptions options = lenient ? JudgingOptions{true, true, true} : JudgingOptions{};

    const PointList table{point("1", "1", "", u8("札幌")), point("2", "2", "", u8("仙台")),
                          point("3", "3", "", u8("東京"), u8("とうきょう")),
                          point("4", "4", "", u8("a～b")),
                          point("5", "5", "", u8("江戸"), u8("とうきょう"))};
    const AnswerIndex index(table, options);
    QCOMPARE(index.rowsAnsweredBy(typed, asked), rows);
    // The same verdicts the judge gives, row by row.
    for (int row = 0; row < table.size(); ++row) {
        if (row != asked) {
            QCOMPARE(rows.contains(row), Judging::isCorrect(typed, table[row][ColumnAnswer1],
                                                            table[row][ColumnAnswer2], options));
        }
    }
}

void TestReview::runText_data() {
    QTest::addColumn<std::optional<BestComparison>>("comparison");
    QTest::addColumn<QString>("text");

    const QString time = u8("ﾀｲﾑ 1分5秒");
    const QString best = time + u8("　自己ﾍﾞｽﾄ(練習ﾓｰﾄﾞ・選択式) ");
    QTest::newRow("record unreadable") << std::optional<BestComparison>() << time;
    QTest::newRow("nothing recorded") << std::optional(BestComparison()) << best + u8("なし");
    const PersonalBest nine{9, 10, {}, 0};
    QTest::newRow("best kept") << std::optional(BestComparison{nine, nine, false, false})
                               << best + u8("9/10 = 90%");
    QTest::newRow("best beaten, with its time")
        << std::optional(BestComparison{nine, PersonalBest{10, 10, 125, 10}, true, false})
        << best + u8("10/10 = 100% 2分5秒　自己ﾍﾞｽﾄ更新");
}

void TestReview::runText() {
    QFETCH(std::optional<BestComparison>, comparison);
    QFETCH(QString, text);
    const QuizRun run{QuizMode::Practice, AnswerMethod::Choice, 3, 4, 65, false};
    QCOMPARE(ReviewModel::runText(run, comparison), text);
}

QTEST_GUILESS_MAIN(TestReview)
#include "tst_review.moc"
