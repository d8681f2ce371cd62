#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/quiz/Distractors.h"

#include <QTest>

#include <memory>

using TestFiles::point;
using TestFiles::u8;

using Given = QHash<QString, qint64>;
Q_DECLARE_METATYPE(PointList)
Q_DECLARE_METATYPE(JudgingOptions)

namespace {

// Along a line from A, with hints in two groups, and G without a place.
const PointList kLine{point("0", "0", "h1", "A", "a"), point("1", "0", "h2", "B"),
                      point("2", "0", "h2", "C"),      point("3", "0", "h1", "D"),
                      point("50", "50", "h1", "E"),    point("90", "90", "h3", "F", "f2"),
                      point("x", "y", "h3", "G")};

// Points at 0, 1, 2, ... without hints, answered by `answers`.
PointList inARow(const QStringList& answers) {
    PointList points;
    for (int i = 0; i < answers.size(); ++i)
        points.append(point(QString::number(i), "0", QString(), answers.at(i)));
    return points;
}

} // namespace

class TestDistractors : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void rightAnswerAtEveryPosition();
};

void TestDistractors::choice_data() {
    QTest::addColumn<PointList>("pool");
    QTest::addColumn<JudgingOptions>("options");
    QTest::addColumn<int>("asked");
    QTest::addColumn<Given>("given");        // wrong answers in the record
    QTest::addColumn<QStringList>("during"); // wrong answers during the quiz
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<int>("answers");

    const JudgingOptions exact;
    JudgingOptions kana;
    kana.ignoreKana = true;
    QTest::newRow("nearest and same hint in turn")
        << kLine << exact << 0 << Given{} << QStringList{} << QStringList{"B", "D", "C"} << 7;
    QTest::newRow("no place: same hint, then any")
        << kLine << exact << 6 << Given{} << QStringList{} << QStringList{"F", "A", "B"} << 7;
    QTest::newRow("confusions first, most often first, by either answer")
        << kLine << exact << 0 << Given{{"E", 2}, {"F", 1}, {"f2", 2}} << QStringList{}
        << QStringList{"F", "E", "B"} << 7;
    QTest::newRow("wrong answers during the quiz count too")
        << kLine << exact << 0 << Given{{"F", 1}} << QStringList{"E", "E"}
        << QStringList{"E", "F", "B"} << 7;
    QTest::newRow("a wrong answer that names no point")
        << kLine << exact << 0 << Given{{"Z", 5}} << QStringList{"Y"} << QStringList{"B", "D", "C"}
        << 7;

    const PointList tokyo{point("0", "0", "", u8("トウキョウ"), u8("東京")),
                          point("1", "0", "", u8("とうきょう")),
                          point("2", "0", "", u8("東京")),
                          point("3", "0", "", u8("オオサカ")),
                          point("4", "0", "", u8("キョウト")),
                          point("5", "0", "", u8("ナゴヤ"))};
    const QStringList cities{u8("オオサカ"), u8("キョウト"), u8("ナゴヤ")};
    QTest::newRow("judged alike: answer 2 left out")
        << tokyo << exact << 0 << Given{{u8("東京"), 3}} << QStringList{}
        << QStringList{u8("とうきょう"), u8("オオサカ"), u8("キョウト")} << 6;
    QTest::newRow("judged alike: kana folded left out")
        << tokyo << kana << 0 << Given{{u8("とうきょう"), 3}} << QStringList{} << cities << 5;

    QTest::newRow("no text twice") << inARow({"A", "B", "B", "C", "C", "D"}) << exact << 0
                                   << Given{} << QStringList{} << QStringList{"B", "C", "D"} << 4;
    QTest::newRow("three answers") << inARow({"A", "A", "B", "C"}) << exact << 0 << Given{}
                                   << QStringList{} << QStringList{"B", "C"} << 3;
    QTest::newRow("two answers") << inARow({"A", "A", "B", "A"}) << exact << 3 << Given{}
                                 << QStringList{} << QStringList{"B"} << 2;
    QTest::newRow("one answer: not offered")
        << inARow({"A", "A", ""}) << exact << 0 << Given{} << QStringList{} << QStringList{} << 1;
    QTest::newRow("answer 1 empty: offered as answer 2")
        << PointList{point("0", "0", "", "A"), point("1", "0", "", "", "B")} << exact << 0
        << Given{} << QStringList{} << QStringList{"B"} << 2;
}

void TestDistractors::choice() {
    QFETCH(PointList, pool);
    QFETCH(JudgingOptions, options);
    QFETCH(int, asked);
    QFETCH(Given, given);
    QFETCH(QStringList, during);
    QFETCH(QStringList, offered);
    QFETCH(int, answers);

    const Point& point = pool.at(asked);
    Distractors distractors(pool, options, {{PointIdentity::of(point), given}});
    for (const QString& text : during)
        distractors.noteWrongAnswer(point, text);
    QCOMPARE(distractors.answerCount(), answers);
    QCOMPARE(distractors.isOffered(), answers >= 2);

    ScriptedRandom random{0.0};
    QStringList texts;
    for (const int row : distractors.distractorRows(point, random))
        texts.append(Distractors::choiceText(pool.at(row)));
    QCOMPARE(texts, offered);

    // The buttons: the asked point's text once, beside the same distractors.
    random = ScriptedRandom{0.0};
    QStringList choices = distractors.choicesFor(point, random);
    QStringList expected = offered + QStringList{Distractors::choiceText(point)};
    choices.sort();
    expected.sort();
    QCOMPARE(choices, expected);
}

void TestDistractors::rightAnswerAtEveryPosition() {
    const Distractors distractors(kLine, {});
    QList<qsizetype> positions;
    for (const double r : {0.0, 0.26, 0.4, 0.51}) {
        ScriptedRandom random{r};
        positions.append(distractors.choicesFor(kLine.at(0), random).indexOf("A"));
    }
    std::sort(positions.begin(), positions.end());
    QCOMPARE(positions, (QList<qsizetype>{0, 1, 2, 3}));
}

QTEST_MAIN(TestDistractors)
#include "tst_distractors.moc"
