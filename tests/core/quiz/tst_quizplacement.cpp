#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/quiz/QuizPlacement.h"

#include <QTest>

#include <limits>

using namespace QuizPlacement;
using TestFiles::point;

Q_DECLARE_METATYPE(std::optional<QPointF>)

class TestQuizPlacement : public QObject {
    Q_OBJECT

private slots:
    void markerTopLeft_data();
    void markerTopLeft();
    void covers_data();
    void covers();
    void answerWindowLeft_data();
    void answerWindowLeft();
    void hostileSourceStillEndsClear_data();
    void hostileSourceStillEndsClear();
    void randomPlacementsNeverCover();
    void widenedFrame_data();
    void widenedFrame();
};

void TestQuizPlacement::markerTopLeft_data() {
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<std::optional<QPointF>>("topLeft");

    QTest::newRow("plain") << "100"
                           << "50" << std::optional(QPointF(96, 46));
    QTest::newRow("corner") << "0"
                            << "0" << std::optional(QPointF(-4, -4));
    QTest::newRow("fractions kept") << "10.5"
                                    << "3.25" << std::optional(QPointF(6.5, -0.75));
    QTest::newRow("blanks around") << " 12 "
                                   << "8" << std::optional(QPointF(8, 4));
    QTest::newRow("negative") << "-3"
                              << "5" << std::optional(QPointF(-7, 1));
    QTest::newRow("far away is clamped") << "1e999"
                                         << "-1e300" << std::optional(QPointF(10000000, -10000000));
    QTest::newRow("x not a number") << "abc"
                                    << "5" << std::optional<QPointF>();
    QTest::newRow("y empty") << "5"
                             << "" << std::optional<QPointF>();
    QTest::newRow("comma decimal") << "1,5"
                                   << "5" << std::optional<QPointF>();
    QTest::newRow("full-width digits")
        << QString::fromUtf8("１２") << "5" << std::optional<QPointF>();
}

void TestQuizPlacement::markerTopLeft() {
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(std::optional<QPointF>, topLeft);
    QCOMPARE(QuizPlacement::markerTopLeft(point(x, y, "h", "a")), topLeft);
}

void TestQuizPlacement::covers_data() {
    QTest::addColumn<int>("markerX");
    QTest::addColumn<int>("markerWidth");
    QTest::addColumn<bool>("covered");

    // The window spans 100..239.
    QTest::newRow("x on the left edge") << 100 << 0 << false;
    QTest::newRow("x just inside left") << 101 << 0 << true;
    QTest::newRow("x just inside right") << 239 << 0 << true;
    QTest::newRow("x one past the right") << 240 << 0 << false;
    QTest::newRow("x left of the window") << 50 << 0 << false;
    QTest::newRow("marker ends at the edge") << 91 << 9 << false;
    QTest::newRow("marker reaches in by one") << 92 << 9 << true;
    QTest::newRow("marker starts at the end") << 240 << 9 << false;
    QTest::newRow("marker's last pixel inside") << 239 << 9 << true;
}

void TestQuizPlacement::covers() {
    QFETCH(int, markerX);
    QFETCH(int, markerWidth);
    QFETCH(bool, covered);
    QCOMPARE(QuizPlacement::covers({100, 140}, markerX, markerWidth), covered);
}

void TestQuizPlacement::answerWindowLeft_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("markerX");
    QTest::addColumn<int>("screenLeft");
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("drawsUsed");

    // Window 140 wide, marker 9 wide, screen 0..1919 unless said otherwise; jump range 533.
    QTest::newRow("clear stays") << 500 << 100 << 0 << 1920 << QList<double>{0.9} << 500 << 0;
    QTest::newRow("covered moves") << 50 << 100 << 0 << 1920 << QList<double>{0.5} << 266 << 1;
    QTest::newRow("draws until clear")
        << 50 << 100 << 0 << 1920 << QList<double>{0.0, 0.1, 0.2, 0.75} << 399 << 4;
    QTest::newRow("second screen")
        << 1950 << 2000 << 1920 << 1920 << QList<double>{0.5} << 2186 << 1;
    QTest::newRow("clamped at the right of a narrow screen")
        << 100 << 150 << 0 << 400 << QList<double>{0.99} << 260 << 1;
    QTest::newRow("marker beyond the jump range, any draw is clear")
        << 1500 << 1600 << 0 << 1920 << QList<double>{0.99} << 527 << 1;
}

void TestQuizPlacement::answerWindowLeft() {
    QFETCH(int, left);
    QFETCH(int, markerX);
    QFETCH(int, screenLeft);
    QFETCH(int, screenWidth);
    QFETCH(QList<double>, draws);
    QFETCH(int, expected);
    QFETCH(int, drawsUsed);

    ScriptedRandom random;
    for (double d : draws)
        random.push(d);
    const int result =
        QuizPlacement::answerWindowLeft({left, 140}, markerX, 9, {screenLeft, screenWidth}, random);
    QCOMPARE(result, expected);
    QCOMPARE(random.draws, drawsUsed);
    QVERIFY(!QuizPlacement::covers({result, 140}, markerX, 9));
}

void TestQuizPlacement::hostileSourceStillEndsClear_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("markerX");
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("expected");

    // A window 140 wide and a source that lands it on the marker every time.
    QTest::newRow("zero forever, room on the right") << 0.0 << 0 << 60 << 1920 << 69;
    QTest::newRow("NaN forever") << std::numeric_limits<double>::quiet_NaN() << 0 << 60 << 1920
                                 << 69;
    QTest::newRow("minus forever") << -1.0 << 0 << 60 << 1920 << 69;
    QTest::newRow("top of the range forever") << 0.9999 << 532 << 600 << 1920 << 609;
    QTest::newRow("no room on the right") << 0.9999 << 532 << 600 << 700 << 460;
    // A screen too narrow for either side: the side with more room, clear of the marker.
    QTest::newRow("tiny screen") << 0.0 << 0 << 60 << 200 << 69;
}

void TestQuizPlacement::hostileSourceStillEndsClear() {
    QFETCH(double, value);
    QFETCH(int, start);
    QFETCH(int, markerX);
    QFETCH(int, screenWidth);
    QFETCH(int, expected);

    ScriptedRandom random{value};
    QVERIFY(QuizPlacement::covers({start, 140}, markerX, 9));
    const int result =
        QuizPlacement::answerWindowLeft({start, 140}, markerX, 9, {0, screenWidth}, random);
    QCOMPARE(result, expected);
    QVERIFY(!QuizPlacement::covers({result, 140}, markerX, 9));
    QCOMPARE(random.draws, 64);
}

void TestQuizPlacement::randomPlacementsNeverCover() {
    // Many windows, markers and screens with the real generator: never covered, and on the
    // screen whenever the screen can hold the window beside the marker.
    SystemRandomSource random(31337);
    SystemRandomSource dice(4711);
    for (int run = 0; run < 20000; ++run) {
        const int screenLeft = randomIndex(dice, 3) * 1920 - 1920;
        const int screenWidth = 300 + randomIndex(dice, 3000);
        const int width = 60 + randomIndex(dice, 300);
        const int markerWidth = randomIndex(dice, 2) * 9;
        const int markerX = screenLeft - 20 + randomIndex(dice, screenWidth + 40);
        const int left = screenLeft + randomIndex(dice, screenWidth);
        const QuizPlacement::Span screen{screenLeft, screenWidth};
        const int result =
            QuizPlacement::answerWindowLeft({left, width}, markerX, markerWidth, screen, random);
        QVERIFY(!QuizPlacement::covers({result, width}, markerX, markerWidth));
        if (QuizPlacement::covers({left, width}, markerX, markerWidth)) {
            const bool roomRight = markerX + markerWidth + width <= screen.right();
            const bool roomLeft = markerX - width >= screenLeft;
            if (roomRight || roomLeft) {
                QVERIFY(result >= screenLeft);
                QVERIFY(result + width <= screen.right());
            }
        } else {
            QCOMPARE(result, left);
        }
    }
}

void TestQuizPlacement::widenedFrame_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("screenLeft");
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("newLeft");
    QTest::addColumn<int>("newWidth");

    // The column and its gap take 146 pixels.
    QTest::newRow("room on the right") << 100 << 900 << 0 << 1280 << 100 << 1046;
    QTest::newRow("moves left to stay on the screen") << 300 << 900 << 0 << 1280 << 234 << 1046;
    QTest::newRow("as much as the screen has") << 40 << 1200 << 0 << 1280 << 0 << 1280;
    QTest::newRow("as wide as the screen") << 0 << 1280 << 0 << 1280 << 0 << 1280;
    QTest::newRow("wider than the screen") << -10 << 1400 << 0 << 1280 << -10 << 1400;
    QTest::newRow("second screen") << 2900 << 300 << 1280 << 1920 << 2754 << 446;
    QTest::newRow("partly past the left edge") << -50 << 600 << 0 << 1280 << -50 << 746;
    QTest::newRow("off the screen") << 1400 << 300 << 0 << 1280 << 1400 << 300;
}

void TestQuizPlacement::widenedFrame() {
    QFETCH(int, left);
    QFETCH(int, width);
    QFETCH(int, screenLeft);
    QFETCH(int, screenWidth);
    QFETCH(int, newLeft);
    QFETCH(int, newWidth);
    const Span wider = QuizPlacement::widenedFrame({left, width}, 146, {screenLeft, screenWidth});
    QCOMPARE(wider.left, newLeft);
    QCOMPARE(wider.width, newWidth);
}

QTEST_GUILESS_MAIN(TestQuizPlacement)
#include "tst_quizplacement.moc"
