#include "TestFiles.h"

#include "core/study/ReviewModel.h"
#include "ui/study/ReviewWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using TestFiles::point;
using TestFiles::u8;

namespace {

JudgedQuestion judged(std::int64_t number, const Point& p, const QString& typed, bool correct) {
    JudgedQuestion q;
    q.number = number;
    q.row = int(number - 1);
    q.point = p;
    q.typed = typed;
    q.correct = correct;
    q.seconds = 1.5;
    return q;
}

const Point kSapporo = point("10", "20", u8("北"), u8("札幌"));
const Point kSendai = point("30", "40", u8("東北"), u8("仙台"));
const Point kNaha = point("50", "60", u8("沖縄"), u8("那覇"));

} // namespace

class TestReviewWindow : public QObject {
    Q_OBJECT

private slots:
    void showsQuizAndOffersTheMisses();
    void rowShowsItsPointAfterSorting();
};

void TestReviewWindow::showsQuizAndOffersTheMisses() {
    ReviewWindow window;
    QCOMPARE(window.windowTitle(), u8("結果"));
    QVERIFY(!window.againButton()->isEnabled()); // nothing judged yet

    window.setQuestions({judged(1, kSapporo, u8("札幌"), true),
                         judged(2, kSendai, u8("せんだい"), false),
                         judged(3, kNaha, u8("那覇"), true)});
    QCOMPARE(window.table()->model()->rowCount(), 3);
    QCOMPARE(window.status()->text(), u8("2/3 = 66.6%"));
    QCOMPARE(window.againButton()->text(), u8("間違えた問題をもう一度"));
    QVERIFY(window.againButton()->isEnabled());
    QSignalSpy again(&window, &ReviewWindow::anotherRoundRequested);
    window.againButton()->click();
    QCOMPARE(again.size(), 1);
    QCOMPARE(again.at(0).at(0).value<PointList>(), PointList{kSendai});

    // A quiz without misses: nothing to go over again.
    window.setQuestions({judged(1, kNaha, u8("那覇"), true)});
    QCOMPARE(window.status()->text(), u8("1/1 = 100%"));
    QVERIFY(!window.againButton()->isEnabled());
}

void TestReviewWindow::rowShowsItsPointAfterSorting() {
    ReviewWindow window;
    window.setQuestions({judged(1, kSapporo, u8("c"), true), judged(2, kSendai, u8("a"), false),
                         judged(3, kNaha, u8("b"), true)});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy shown(&window, &ReviewWindow::pointRequested);

    // Sorted by the typed text through the header: a, b, c.
    window.table()->horizontalHeader()->setSortIndicator(ReviewModel::Typed, Qt::AscendingOrder);
    QTableView* table = window.table();
    const QRect first = table->visualRect(table->model()->index(0, ReviewModel::Hint));
    // A view takes a double-click only after the press that starts it.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).at(0).value<Point>(), kSendai);

    // Enter on the current row does the same.
    table->setCurrentIndex(table->model()->index(2, 0));
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).at(0).value<Point>(), kSapporo);

    // A new quiz's review starts in asked order.
    window.setQuestions({judged(1, kNaha, u8("z"), false), judged(2, kSapporo, u8("a"), true)});
    QCOMPARE(window.model().question(0).number, 1);
}

QTEST_MAIN(TestReviewWindow)
#include "tst_reviewwindow.moc"
