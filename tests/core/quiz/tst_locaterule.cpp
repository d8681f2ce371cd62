#include "TestFiles.h"

#include "core/quiz/LocateRule.h"

#include <QtTest>

#include <cmath>

using TestFiles::point;

namespace {

// The points of a file, as "x,y" texts, and its map.
struct Scenario {
    QStringList places;
    QSize mapSize;
};

Scenario scenario(const QString& name) {
    // Crowded: rows 0 to 2 ten and thirty pixels apart; row 3 alone with a twin (row 4) at its
    // place; row 5 has no place on the map.
    if (name == "crowded")
        return {{"100,100", "110,100", "100,130", "300,300", "300,300", "x,100"}, {400, 400}};
    // A 300 x 400 map has a diagonal of 500: 5 % is 25 pixels.
    if (name == "one point")
        return {{"50,50"}, {300, 400}};
    if (name == "one spot")
        return {{"50,50", "50,50", " 50.0 ,5e1"}, {300, 400}};
    return {};
}

LocateRule ruleFor(const QString& name) {
    const Scenario s = scenario(name);
    PointList rows;
    for (const QString& place : s.places)
        rows.append(point(place.section(u',', 0, 0), place.section(u',', 1), "hint", "answer"));
    return LocateRule(rows, s.mapSize);
}

} // namespace

class TestLocateRule : public QObject {
    Q_OBJECT

private slots:
    void judging_data();
    void judging();
    void pressOnMap_data();
    void pressOnMap();
    void nearestRow_data();
    void nearestRow();
};

void TestLocateRule::judging_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<bool>("right");
    QTest::addColumn<double>("distance"); // -1: none

    // clang-format off
    QTest::newRow("on the point")            << "crowded"   << 0 << QPointF(100, 100) << true  << 0.0;
    QTest::newRow("near, crowded")           << "crowded"   << 0 << QPointF(102, 101) << true  << std::sqrt(5.0);
    QTest::newRow("nearer to a neighbour")   << "crowded"   << 0 << QPointF(106, 100) << false << 6.0;
    QTest::newRow("tie with a neighbour")    << "crowded"   << 0 << QPointF(105, 100) << true  << 5.0;
    QTest::newRow("neighbour asked, tie")    << "crowded"   << 1 << QPointF(105, 100) << true  << 5.0;
    QTest::newRow("away from neighbours")    << "crowded"   << 0 << QPointF(92.5, 100) << true << 7.5;
    QTest::newRow("exactly D away")          << "crowded"   << 0 << QPointF(90, 100)  << true  << 10.0;
    QTest::newRow("nearest but beyond D")    << "crowded"   << 0 << QPointF(89, 100)  << false << 11.0;
    QTest::newRow("lonely point, far press") << "crowded"   << 3 << QPointF(350, 350) << true  << std::hypot(50.0, 50.0);
    QTest::newRow("twin asked")              << "crowded"   << 4 << QPointF(290, 300) << true  << 10.0;
    QTest::newRow("lonely, nearer others")   << "crowded"   << 3 << QPointF(120, 120) << false << std::hypot(180.0, 180.0);
    QTest::newRow("asked point has no place")<< "crowded"   << 5 << QPointF(100, 100) << false << -1.0;
    QTest::newRow("one point, within 5 %")   << "one point" << 0 << QPointF(70, 65)   << true  << 25.0;
    QTest::newRow("one point, beyond 5 %")   << "one point" << 0 << QPointF(71, 65)   << false << std::hypot(21.0, 15.0);
    QTest::newRow("one spot, within 5 %")    << "one spot"  << 1 << QPointF(60, 50)   << true  << 10.0;
    QTest::newRow("one spot, beyond 5 %")    << "one spot"  << 2 << QPointF(50, 76)   << false << 26.0;
    // clang-format on
}

void TestLocateRule::judging() {
    QFETCH(QString, file);
    QFETCH(int, asked);
    QFETCH(QPointF, press);
    QFETCH(bool, right);
    QFETCH(double, distance);

    const LocateVerdict verdict = ruleFor(file).judge(asked, press);
    QCOMPARE(verdict.correct, right);
    QCOMPARE(verdict.distance.has_value(), distance >= 0);
    if (verdict.distance)
        QVERIFY2(std::abs(*verdict.distance - distance) < 1e-9,
                 qPrintable(QString::number(*verdict.distance)));
}

void TestLocateRule::pressOnMap_data() {
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<bool>("onMap");

    QTest::newRow("top-left pixel") << QPointF(0, 0) << true;
    QTest::newRow("last pixel, fraction") << QPointF(399.5, 399.5) << true;
    QTest::newRow("left of the map") << QPointF(-0.5, 10) << false;
    QTest::newRow("right of the map") << QPointF(400, 10) << false;
    QTest::newRow("below the map") << QPointF(10, 400) << false;
}

void TestLocateRule::pressOnMap() {
    QFETCH(QPointF, press);
    QFETCH(bool, onMap);
    QCOMPARE(ruleFor("crowded").isOnMap(press), onMap);
}

void TestLocateRule::nearestRow_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPointF>("press");
    QTest::addColumn<int>("row"); // -1: none

    // clang-format off
    QTest::newRow("on a point")              << "crowded"   << QPointF(100, 100) << 0;
    QTest::newRow("nearer to a neighbour")   << "crowded"   << QPointF(106, 100) << 1;
    QTest::newRow("tie: the earlier row")    << "crowded"   << QPointF(105, 100) << 0;
    QTest::newRow("beyond the catchment")    << "crowded"   << QPointF(89, 100)  << -1;
    QTest::newRow("twins: the earlier row")  << "crowded"   << QPointF(290, 300) << 3;
    QTest::newRow("one point, within 5 %")   << "one point" << QPointF(70, 65)   << 0;
    QTest::newRow("one point, beyond 5 %")   << "one point" << QPointF(71, 65)   << -1;
    // clang-format on
}

void TestLocateRule::nearestRow() {
    QFETCH(QString, file);
    QFETCH(QPointF, press);
    QFETCH(int, row);
    QCOMPARE(ruleFor(file).nearestRow(press).value_or(-1), row);
}

QTEST_GUILESS_MAIN(TestLocateRule)
#include "tst_locaterule.moc"
