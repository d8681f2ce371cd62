// The editor's points on its map, undo and redo, the full list and the CSV commands, through
// the window: the rules themselves are tested at their classes.
#include "EditorFixture.h"

#include "core/editor/EditorHistory.h"
#include "core/editor/PointDots.h"
#include "ui/editor/MapPoints.h"
#include "ui/editor/PointListWindow.h"

#include <QHelpEvent>
#include <QTableView>
#include <QToolTip>
#include <QUndoStack>

using TestFiles::u8;

class TestEditorMapPoints : public QObject {
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<EditorFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void shiftDragMovesPoint_data();
    void shiftDragMovesPoint();
    void dotsTellAndSelect();
    void undoAndRedoThroughTheMenu();
    void undoKeysInTheBoxes();
    void listAndCsvCommands();

private:
    std::unique_ptr<EditorFixture> m_fixture;
};

namespace {

const Point kFirst =
    TestFiles::point(u8("40"), u8("30"), u8("北の<町>"), u8("札幌"), u8("さっぽろ"));
const Point kSecond = TestFiles::point(u8("100"), u8("80"), u8("南"), u8("那覇"));

} // namespace

void TestEditorMapPoints::shiftDragMovesPoint_data() {
    QTest::addColumn<int>("zoomSteps"); // Zoom In after 実ｻｲｽﾞ
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("escape");
    QTest::newRow("moved, its row selected") << 0 << true << false;
    QTest::newRow("moved at 200 %, another row selected") << 2 << false << false;
    QTest::newRow("Esc cancels") << 0 << true << true;
    QTest::newRow("Esc cancels at 200 %") << 2 << false << true;
}

// Shift + drag on a dot moves its point as an update would (the flag set, the boxes of the
// selected row refreshed, one step to undo); Esc during the drag leaves everything as it was.
void TestEditorMapPoints::shiftDragMovesPoint() {
    QFETCH(int, zoomSteps);
    QFETCH(bool, selected);
    QFETCH(bool, escape);
    EditorFixture& f = *m_fixture;
    const QString map = f.dir.filePath(u8("map.bmp"));
    QVERIFY(TestFiles::writeBmp(map, 1200, 900));
    f.services.answerFile(map);
    f.action("Menu2_MapOpen")->trigger();
    f.action("Menu2_ActualSize")->trigger();
    for (int step = 0; step < zoomSteps; ++step)
        f.action("Menu2_ZoomIn")->trigger();
    QCOMPARE(f.mapView()->zoom(), zoomSteps ? 2.0 : 1.0);
    f.add(kFirst);
    f.add(kSecond);
    f.save(f.dir.filePath(u8("points.zvm")));
    QVERIFY(!f.modified());
    f.selectRow(selected ? 0 : 1);
    const Point boxesBefore = f.boxes();
    const int steps = f.editor->history().stack().count();
    const PointDots& dots = f.editor->findChild<MapPoints*>()->dots();

    QWidget* viewport = f.mapView()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::ShiftModifier, f.onMap(QPointF(41, 31)));
    QTest::mouseMove(viewport, f.onMap(QPointF(71, 51)));
    QTRY_COMPARE(dots.position(0), std::optional<QPointF>(QPointF(70, 50)));
    QCOMPARE(f.editor->pointTable().row(0), kFirst); // only the dot moves during the drag
    if (escape)
        QTest::keyClick(f.list(), Qt::Key_Escape);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::ShiftModifier, f.onMap(QPointF(71, 51)));

    Point expected = kFirst;
    if (!escape) {
        expected[ColumnX] = u8("70");
        expected[ColumnY] = u8("50");
    }
    QCOMPARE(f.editor->pointTable().row(0), expected);
    QCOMPARE(f.editor->pointTable().row(1), kSecond);
    QCOMPARE(dots.position(0), std::optional<QPointF>(QPointF(expected[ColumnX].toDouble(),
                                                              expected[ColumnY].toDouble())));
    QCOMPARE(f.modified(), !escape);
    QCOMPARE(f.boxes(), selected ? expected : boxesBefore);
    QCOMPARE(f.editor->history().stack().count(), steps + (escape ? 0 : 1));
    QCOMPARE(f.services.unscriptedRequests, 0);
    if (escape)
        return;
    f.action("Menu2_Undo")->trigger();
    QCOMPARE(f.editor->pointTable().row(0), kFirst);
    QCOMPARE(f.boxes(), selected ? kFirst : boxesBefore);
    QVERIFY(!f.modified()); // back to the saved state
}

// A dot tells its hint and answers in its tooltip; a double-click on it selects its row, while
// a press beside the dots still places the point being typed.
void TestEditorMapPoints::dotsTellAndSelect() {
    EditorFixture& f = *m_fixture;
    f.add(kFirst);
    f.add(kSecond);
    QWidget* viewport = f.mapView()->viewport();

    const QPoint onFirst = f.onMap(QPointF(42, 30));
    QHelpEvent help(QEvent::ToolTip, onFirst, viewport->mapToGlobal(onFirst));
    QApplication::sendEvent(viewport, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    for (const char* text : {"1番目", "北の&lt;町&gt;", "札幌", "さっぽろ"})
        QVERIFY2(QToolTip::text().contains(u8(text)), qPrintable(QToolTip::text()));

    // As a mouse does it: a click (which places the point being typed), then the double-click.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, f.onMap(QPointF(101, 79)));
    QCOMPARE(f.box(ColumnX)->text(), u8("101"));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, f.onMap(QPointF(101, 79)));
    QCOMPARE(f.list()->currentIndex().row(), 1);
    QCOMPARE(f.editor->pointTable().selection(), 1);
    QCOMPARE(f.boxes(), kSecond);

    // The dots are drawn under the marker: its fill shows on the selected point, a dot on the
    // other one.
    QWidget* view = f.mapView();
    MapMarker* marker = f.mapView()->marker();
    marker->setFillColor(Qt::blue); // stopped on a colour of its cycle
    QTRY_VERIFY(marker->isVisible());
    const auto colourAt = [&](const QPointF& mapPos) {
        const QPoint at = viewport->mapTo(view, f.onMap(mapPos));
        return view->grab().toImage().pixelColor(at);
    };
    QCOMPARE(colourAt(QPointF(100.5, 80.5)), QColor(Qt::blue));
    const QColor dot = colourAt(QPointF(40.5, 30.5));
    QVERIFY2(dot.red() > 150 && dot.green() < 80, qPrintable(dot.name()));

    f.pressMap(QPoint(300, 200));
    QCOMPARE(f.box(ColumnX)->text(), u8("300"));
    QCOMPARE(f.editor->pointTable().row(1), kSecond);
}

// Each command makes one step named in the menu; Open empties the history.
void TestEditorMapPoints::undoAndRedoThroughTheMenu() {
    EditorFixture& f = *m_fixture;
    QAction* undo = f.action("Menu2_Undo");
    QAction* redo = f.action("Menu2_Redo");
    QCOMPARE(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());

    f.add(kFirst);
    QCOMPARE(undo->text(), u8("元に戻す(&U): 追加"));
    f.add(kSecond);
    f.selectRow(0);
    f.action("PMenu_Delete")->trigger();
    QCOMPARE(undo->text(), u8("元に戻す(&U): 削除"));
    const QString map = f.dir.filePath(u8("map.bmp"));
    QVERIFY(TestFiles::writeBmp(map));
    f.services.answerFile(map);
    f.action("Menu2_MapOpen")->trigger();
    QCOMPARE(undo->text(), u8("元に戻す(&U): ﾏｯﾌﾟを開く"));

    undo->trigger();
    QVERIFY(!f.mapView()->hasMap());
    QCOMPARE(f.panel("MapName")->text(), QString());
    undo->trigger();
    QCOMPARE(f.editor->pointTable().rows(), (PointList{kFirst, kSecond}));
    QCOMPARE(redo->text(), u8("やり直し(&R): 削除"));
    redo->trigger();
    redo->trigger();
    QVERIFY(f.mapView()->hasMap());
    QCOMPARE(f.panel("MapName")->text(), map);
    QVERIFY(!redo->isEnabled());

    const QString file = f.dir.filePath(u8("saved.zvm"));
    f.save(file);
    f.services.answerFile(file);
    f.action("Menu2_Open")->trigger();
    QCOMPARE(f.editor->pointTable().rows(), PointList{kSecond});
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(f.services.unscriptedRequests, 0);
}

// Ctrl+Z in a box first undoes the box's own typing, then the editor's steps; Ctrl+Y redoes
// the other way round.
void TestEditorMapPoints::undoKeysInTheBoxes() {
    EditorFixture& f = *m_fixture;
    f.editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.editor.get()));
    f.add(kFirst);
    QLineEdit* answer = f.box(ColumnAnswer1);
    answer->setFocus();
    QTRY_VERIFY(answer->hasFocus());
    QTest::keyClicks(answer, u8("x"));
    QTest::keyClick(answer, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(answer->text(), QString());
    QCOMPARE(f.rows(), 1);
    QTest::keyClick(answer, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.rows(), 0);
    QTest::keyClick(answer, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.editor->pointTable().rows(), PointList{kFirst});
    QCOMPARE(answer->text(), QString());
}

// 表示 → 一覧 shows every column and selects a double-clicked row in the editor; the CSV
// commands of the ﾌｧｲﾙ menu bring rows in as one step and write them out.
void TestEditorMapPoints::listAndCsvCommands() {
    EditorFixture& f = *m_fixture;
    const QString csv = f.dir.filePath(u8("in.csv"));
    QVERIFY(TestFiles::writeBytes(csv, "x,y,hint,answer1,answer2,info\r\n40,30,\"北の<町>\",札幌,"
                                       "さっぽろ,\r\n100,80,南,那覇,,\r\n1,1,,,,\r\n"));
    f.services.answerFile(csv);
    f.action("Menu2_ImportCsv")->trigger();
    QCOMPARE(f.editor->pointTable().rows(), (PointList{kFirst, kSecond}));
    QVERIFY(f.services.lastMessage().text.contains(u8("4行目")));
    QCOMPARE(f.action("Menu2_Undo")->text(), u8("元に戻す(&U): CSVﾌｧｲﾙの取り込み"));

    f.action("Menu2_List")->trigger();
    PointListWindow* list = f.editor->pointList();
    QVERIFY(list && QTest::qWaitForWindowExposed(list));
    QCOMPARE(list->view()->model()->columnCount(), kPointColumns);
    list->view()->sortByColumn(ColumnX, Qt::DescendingOrder); // the second row shown first
    const QRect second = list->view()->visualRect(list->view()->model()->index(0, ColumnHint));
    QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->view()->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(f.editor->pointTable().selection(), 1);
    QCOMPARE(f.boxes(), kSecond);

    const QString out = f.dir.filePath(u8("out.csv"));
    f.services.answerFile(out);
    f.action("Menu2_ExportCsv")->trigger();
    QVERIFY(TestFiles::readBytes(out).contains("100,80,南,那覇,,"));
}

QTEST_MAIN(TestEditorMapPoints)
#include "tst_editormappoints.moc"
