// The full list: sorting, following the table, and a double-click reporting the table's row.
#include "core/editor/PointTableModel.h"
#include "ui/editor/PointListWindow.h"

#include "TestFiles.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using TestFiles::u8;

class TestPointList : public QObject {
    Q_OBJECT
private slots:
    void sortsAndFollowsTheTable();
    void doubleClickReportsTheTableRow();
};

namespace {

QStringList column(const QTableView* view, int column) {
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts.append(view->model()->index(row, column).data().toString());
    return texts;
}

QStringList rowNumbers(const QTableView* view) {
    QStringList numbers;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        numbers.append(view->model()->headerData(row, Qt::Vertical).toString());
    return numbers;
}

void fill(PointTableModel& model) {
    // X as a file may hold it: a number, a larger one, a text that is none, a fraction.
    model.append(
        TestFiles::point(u8("10"), u8("1"), u8("h"), u8("東京"), QString(), u8("一\r\n二")));
    model.append(TestFiles::point(u8("9"), u8("2"), u8("h"), u8("大阪")));
    model.append(TestFiles::point(u8("abc"), u8("3"), u8("h"), u8("京都")));
    model.append(TestFiles::point(u8("-0.5"), u8("4"), u8("h"), u8("奈良")));
}

} // namespace

void TestPointList::sortsAndFollowsTheTable() {
    PointTableModel model;
    fill(model);
    PointListWindow list(&model, nullptr);
    QTableView* view = list.view();
    QCOMPARE(view->model()->columnCount(), 6);
    QCOMPARE(view->model()->headerData(ColumnX, Qt::Horizontal).toString(), u8("X座標"));
    QCOMPARE(view->model()->headerData(ColumnY, Qt::Horizontal).toString(), u8("Y座標"));
    QCOMPARE(view->model()->headerData(5, Qt::Horizontal).toString(), u8("情報"));
    QCOMPARE(column(view, ColumnAnswer1),
             (QStringList{u8("東京"), u8("大阪"), u8("京都"), u8("奈良")}));
    QCOMPARE(column(view, ColumnInfo)[0], u8("一／二"));
    QCOMPARE(view->model()->index(0, ColumnInfo).data(Qt::ToolTipRole).toString(), u8("一\n二"));
    QVERIFY(!(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable));

    view->horizontalHeader()->setSortIndicator(ColumnX, Qt::AscendingOrder);
    QCOMPARE(column(view, ColumnX), (QStringList{u8("-0.5"), u8("9"), u8("10"), u8("abc")}));
    QCOMPARE(rowNumbers(view), (QStringList{u8("4"), u8("2"), u8("1"), u8("3")}));
    view->horizontalHeader()->setSortIndicator(ColumnAnswer1, Qt::DescendingOrder);
    QCOMPARE(column(view, ColumnAnswer1).first(), u8("東京"));

    // The list follows the table, sorted as it is.
    view->horizontalHeader()->setSortIndicator(ColumnX, Qt::AscendingOrder);
    model.append(TestFiles::point(u8("5"), u8("5"), u8("h"), u8("神戸")));
    model.update(1, TestFiles::point(u8("100"), u8("2"), u8("h"), u8("大坂")));
    model.remove(3);
    QCOMPARE(column(view, ColumnAnswer1),
             (QStringList{u8("神戸"), u8("東京"), u8("大坂"), u8("京都")}));
    QCOMPARE(rowNumbers(view), (QStringList{u8("4"), u8("1"), u8("2"), u8("3")}));
}

void TestPointList::doubleClickReportsTheTableRow() {
    PointTableModel model;
    fill(model);
    PointListWindow list(&model, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTableView* view = list.view();
    view->horizontalHeader()->setSortIndicator(ColumnX, Qt::AscendingOrder);

    QSignalSpy activated(&list, &PointListWindow::rowActivated);
    const QRect second = view->visualRect(view->model()->index(1, ColumnAnswer1)); // "9", row 2
    // As a mouse does it: press and release, then the second press as a double-click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toInt(), 1);

    list.showRow(0); // "10", shown third
    QCOMPARE(view->selectionModel()->selectedRows().value(0).row(), 2);
    list.showRow(7);
    QVERIFY(!view->selectionModel()->hasSelection());
}

QTEST_MAIN(TestPointList)
#include "tst_pointlist.moc"
