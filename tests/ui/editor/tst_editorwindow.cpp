// The editor window: controls, layout, keys, blink, coordinates, closing, and point editing.
#include "EditorFixture.h"

#include "Controls.h"

#include "ui/app/MainWindow.h"

#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>

using TestFiles::u8;

Q_DECLARE_METATYPE(Point)
Q_DECLARE_METATYPE(Qt::MouseButton)

class TestEditorWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<EditorFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void controlsAndInitialState();
    void menus_data();
    void menus();
    void designGeometry_data();
    void designGeometry();
    void resizeMovesOnlyMapAndLines();
    void tabOrderAndAccessKeys();
    void enterKey_data();
    void enterKey();
    void blinkCycle();
    void coordinateDisplay();
    void closing_data();
    void closing();
    void openedModallyFromMainWindow();

    void pressPlacesPoint_data();
    void pressPlacesPoint();
    void pressAtAnyZoomPlacesTheMapPixel_data();
    void pressAtAnyZoomPlacesTheMapPixel();
    void typedCoordinates_data();
    void typedCoordinates();
    void refusals_data();
    void refusals();
    void addFillsAllColumns();
    void selectFillsBoxesAndUpdateOverwrites();
    void deleteRows();
    void itemCountAndPopup();
    void modeSwitching();

private:
    std::unique_ptr<EditorFixture> m_fixture;
};

void TestEditorWindow::controlsAndInitialState() {
    EditorFixture& f = *m_fixture;
    QCOMPARE(f.editor->windowTitle(), u8("ﾌｧｲﾙ編集"));
    // One visible list: the answer-1 column of a model that holds all six, by their tags.
    const QStringList tags = {u8("PositionX"), u8("PositionY"), u8("ヒント"),
                              u8("答え1"),     u8("答え2"),     u8("情報")};
    QAbstractItemModel* model = f.list()->model();
    QCOMPARE(f.editor->findChildren<QAbstractItemView*>().size(), 1);
    QVERIFY(f.list()->isVisible());
    QCOMPARE(f.list()->modelColumn(), int(ColumnAnswer1));
    QCOMPARE(model->rowCount(), 0);
    for (int column = 0; column < kPointColumns; ++column)
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), tags[column]);
    for (int column = 0; column < ColumnInfo; ++column)
        QVERIFY(f.box(column));
    QVERIFY(f.infoBox()->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
    QCOMPARE(f.commitButton()->text(), u8("追加(&A)"));
    QVERIFY(f.commitButton()->isDefault());
    QCOMPARE(f.modeButton()->text(), u8("M"));
    for (const char* name : {"Line1_0", "Line1_1", "StatusBar1"})
        QVERIFY2(f.editor->findChild<QWidget*>(QString::fromLatin1(name)), name);

    const char* keys[] = {"EditingFile", "MapName", "Position"};
    const QStringList tips = {u8("編集中のﾌｧｲﾙ名"), u8("編集中のﾌｧｲﾙのﾏｯﾌﾟ名"), QString()};
    auto* bar = f.child<QStatusBar>(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(f.panel(keys[i])->parent(), bar);
        QCOMPARE(f.panel(keys[i])->toolTip(), tips[i]);
        QCOMPARE(f.panel(keys[i])->text(), QString());
    }
    QVERIFY(f.panel("EditingFile")->x() < f.panel("MapName")->x());
    QVERIFY(f.panel("MapName")->x() < f.panel("Position")->x());

    auto* blink = f.mapView()->findChild<QTimer*>();
    QCOMPARE(blink->interval(), 300);
    QVERIFY(blink->isActive());
    QVERIFY(!f.mapView()->isMarkerShown());
    QCOMPARE(f.mapView()->marker()->fillColor(), QColor(255, 0, 0));
    QVERIFY(!f.mapView()->hasMap());
    QCOMPARE(f.editor->mode(), EditMode::Add);
    QVERIFY(!f.modified());
    QVERIFY(f.editor->document().editingFileName().isEmpty());
    QCOMPARE(f.editor->fileDialog().filter, u8("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm"));
    QCOMPARE(f.editor->mapDialog().filter, u8("ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp"));
}

void TestEditorWindow::menus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("checked");

    const auto row = [](const char* name, const char* menu, const char* caption,
                        const char* shortcut = "", bool checked = false) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(menu) << u8(caption)
                            << QKeySequence(QString::fromLatin1(shortcut)) << checked;
    };
    row("Menu2_New", "Menu1_File", "新規(&N)", "Ctrl+N");
    row("Menu2_Open", "Menu1_File", "開く(&O)", "Ctrl+O");
    row("Menu2_Save", "Menu1_File", "保存(&S)", "Ctrl+S");
    row("Menu2_End", "Menu1_File", "終了(&X)");
    row("Menu2_MapOpen", "Menu1_Map", "ﾏｯﾌﾟを開く(&O)");
    row("Menu2_Path", "Menu1_Map", "相対ﾊﾟｽで指定(&L)");
    row("Menu2_AddMode", "Menu1_Mode", "追加ﾓｰﾄﾞ(&A)", "", true);
    row("Menu2_EditMode", "Menu1_Mode", "編集ﾓｰﾄﾞ(&E)");
    row("Menu2_ZoomIn", "Menu1_View", "拡大", "Ctrl++");
    row("Menu2_ZoomOut", "Menu1_View", "縮小", "Ctrl+-");
    row("Menu2_ActualSize", "Menu1_View", "実ｻｲｽﾞ", "Ctrl+0");
    row("Menu2_WholeMap", "Menu1_View", "全体を表示");
    row("PMenu_ListNum", "PMenu1", "項目数(&N)");
    row("PMenu_Delete", "PMenu1", "削除(&D)");
}

void TestEditorWindow::menus() {
    QFETCH(QString, name);
    QFETCH(QString, menu);
    QAction* item = m_fixture->child<QAction>(name);
    QTEST(item->text(), "caption");
    QTEST(item->shortcut(), "shortcut");
    QTEST(item->isChecked(), "checked");
    auto* holder = m_fixture->child<QMenu>(menu);
    QVERIFY(holder->actions().contains(item));
    const QStringList titles = {u8("ﾌｧｲﾙ(&F)"), u8("ﾏｯﾌﾟ(&M)"), u8("ﾓｰﾄﾞ(&D)"), u8("表示(&V)")};
    if (menu == u"PMenu1") {
        QCOMPARE(holder->title(), u8("PopUpMenu"));
        QVERIFY(!titles.contains(holder->title()));
    } else {
        QVERIFY(titles.contains(holder->title()));
    }
}

void TestEditorWindow::designGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels"); // twips / 15

    QTest::newRow("List1_3") << "List1_3" << QRect(8, 8, 89, 160);
    QTest::newRow("Label1_0") << "Label1_0" << QRect(8, 176, 57, 17);
    QTest::newRow("Text1_0") << "Text1_0" << QRect(8, 192, 41, 18);
    QTest::newRow("Label1_5") << "Label1_5" << QRect(64, 176, 33, 17);
    QTest::newRow("Text1_1") << "Text1_1" << QRect(56, 192, 41, 18);
    QTest::newRow("Label1_1") << "Label1_1" << QRect(8, 216, 81, 17);
    QTest::newRow("Text1_2") << "Text1_2" << QRect(8, 232, 89, 18);
    QTest::newRow("Label1_2") << "Label1_2" << QRect(8, 256, 81, 17);
    QTest::newRow("Text1_3") << "Text1_3" << QRect(8, 272, 89, 18);
    QTest::newRow("Label1_3") << "Label1_3" << QRect(8, 296, 81, 17);
    QTest::newRow("Text1_4") << "Text1_4" << QRect(8, 312, 89, 18);
    QTest::newRow("Label1_4") << "Label1_4" << QRect(8, 336, 81, 17);
    QTest::newRow("Text1_5") << "Text1_5" << QRect(8, 352, 89, 81);
    QTest::newRow("Command1") << "Command1" << QRect(24, 440, 73, 25);
    QTest::newRow("Command2") << "Command2" << QRect(8, 440, 17, 25);
    QTest::newRow("Line1_0") << "Line1_0" << QRect(8, 0, 544, 1);
    QTest::newRow("Line1_1") << "Line1_1" << QRect(8, 1, 544, 1);
}

void TestEditorWindow::designGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QCOMPARE(m_fixture->child<QWidget>(name)->geometry(), pixels);
    // The inside area below the menu bar is the design's 557 x 486 pixels.
    QWidget* client = m_fixture->mapView()->parentWidget();
    QCOMPARE(client->size(), QSize(557, 486));
    // The map view keeps 4 pixels (60 twips) to the right edge and above the status bar.
    auto* bar = m_fixture->child<QStatusBar>(QStringLiteral("StatusBar1"));
    QCOMPARE(m_fixture->mapView()->geometry().topLeft(), QPoint(104, 8));
    QCOMPARE(m_fixture->mapView()->geometry().right() + 1, 557 - 4);
    QCOMPARE(m_fixture->mapView()->geometry().bottom() + 1, bar->y() - 4);
    QCOMPARE(bar->geometry().bottom() + 1, 486);
    QCOMPARE(bar->width(), 557);
}

void TestEditorWindow::resizeMovesOnlyMapAndLines() {
    EditorFixture& f = *m_fixture;
    const QStringList fixed = {u8("List1_3"),  u8("Text1_0"),  u8("Text1_1"), u8("Text1_2"),
                               u8("Text1_3"),  u8("Text1_4"),  u8("Text1_5"), u8("Label1_0"),
                               u8("Label1_5"), u8("Command1"), u8("Command2")};
    QList<QRect> before;
    for (const QString& name : fixed)
        before << f.child<QWidget>(name)->geometry();
    const QRect map = f.mapView()->geometry();
    const QRect line0 = f.child<QWidget>(u8("Line1_0"))->geometry();
    const QRect line1 = f.child<QWidget>(u8("Line1_1"))->geometry();

    // 1005 twips wider and 450 twips taller.
    f.editor->resize(f.editor->size() + QSize(67, 30));
    QTRY_COMPARE(f.mapView()->width(), map.width() + 67);
    QCOMPARE(f.mapView()->height(), map.height() + 30);
    QCOMPARE(f.mapView()->pos(), map.topLeft());
    QCOMPARE(f.child<QWidget>(u8("Line1_0"))->geometry(), line0.adjusted(0, 0, 67, 0));
    QCOMPARE(f.child<QWidget>(u8("Line1_1"))->geometry(), line1.adjusted(0, 0, 67, 0));
    for (int i = 0; i < fixed.size(); ++i)
        QCOMPARE(f.child<QWidget>(fixed[i])->geometry(), before[i]);
    auto* bar = f.child<QStatusBar>(QStringLiteral("StatusBar1"));
    QCOMPARE(bar->width(), 557 + 67);
    QCOMPARE(bar->geometry().bottom() + 1, 486 + 30);

    // Too small for the map view: it gets no size rather than a negative one.
    f.editor->resize(40, 40);
    QTRY_COMPARE(f.mapView()->size(), QSize(0, 0));
}

void TestEditorWindow::tabOrderAndAccessKeys() {
    EditorFixture& f = *m_fixture;
    QVERIFY(QTest::qWaitForWindowActive(f.editor.get()));
    f.list()->setFocus();
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({u8("Text1_0"), u8("Text1_1"), u8("Text1_2"), u8("Text1_3"),
                                   u8("Text1_4"), u8("Text1_5"), u8("Command1"), u8("Command2")}));

    const QList<std::pair<const char*, const char*>> buddies = {
        {"Label1_0", "Text1_0"}, {"Label1_5", "Text1_1"}, {"Label1_1", "Text1_2"},
        {"Label1_2", "Text1_3"}, {"Label1_3", "Text1_4"}, {"Label1_4", "Text1_5"}};
    const QStringList captions = {u8("座標 ( &X , "), u8("&Y ) "),     u8("ﾋﾝﾄ(&H)"),
                                  u8("答え1(&A)"),    u8("答え2(&B)"), u8("情報(&I)")};
    for (int i = 0; i < buddies.size(); ++i) {
        auto* label = f.child<QLabel>(QString::fromLatin1(buddies[i].first));
        QCOMPARE(label->text(), captions[i]);
        QCOMPARE(label->buddy()->objectName(), QString::fromLatin1(buddies[i].second));
    }
    // Alt+I leads to the info box.
    f.list()->setFocus();
    QTest::keyClick(f.editor.get(), Qt::Key_I, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), f.infoBox());
}

void TestEditorWindow::enterKey_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("messages"); // Command1 refuses the empty boxes with one message
    QTest::addColumn<EditMode>("mode");
    QTest::addColumn<QString>("info");

    QTest::newRow("hint box") << "Text1_2" << 0 << 1 << EditMode::Add << "";
    QTest::newRow("table list") << "List1_3" << 0 << 1 << EditMode::Add << "";
    QTest::newRow("info box") << "Text1_5" << 0 << 1 << EditMode::Add << "";
    QTest::newRow("keypad enter in the info box")
        << "Text1_5" << int(Qt::KeypadModifier) << 1 << EditMode::Add << "";
    QTest::newRow("ctrl+enter types a line break")
        << "Text1_5" << int(Qt::ControlModifier) << 0 << EditMode::Add << "\n";
    QTest::newRow("on Command1") << "Command1" << 0 << 1 << EditMode::Add << "";
    QTest::newRow("on Command2") << "Command2" << 0 << 0 << EditMode::Edit << "";
}

void TestEditorWindow::enterKey() {
    QFETCH(QString, focus);
    QFETCH(int, modifiers);
    EditorFixture& f = *m_fixture;
    QVERIFY(QTest::qWaitForWindowActive(f.editor.get()));
    QWidget* target = f.child<QWidget>(focus);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    const Qt::Key key = modifiers & Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return;
    QTest::keyClick(target, key, Qt::KeyboardModifiers(modifiers));
    QTEST(int(f.services.messages.size()), "messages");
    if (!f.services.messages.isEmpty())
        QCOMPARE(f.services.lastMessage().text, u8("X座標またはY座標の値が不正です。"));
    QTEST(f.editor->mode(), "mode");
    QTEST(f.infoBox()->toPlainText(), "info");
}

void TestEditorWindow::blinkCycle() {
    MapMarker* marker = m_fixture->mapView()->marker();
    auto* timer = m_fixture->mapView()->findChild<QTimer*>();
    timer->stop(); // the ticks come from the test
    const QList<QColor> expected = {QColor(0, 0, 255),     QColor(255, 255, 0), QColor(0, 0, 0),
                                    QColor(255, 255, 255), QColor(255, 0, 0),   QColor(0, 0, 255)};
    for (const QColor& colour : expected) {
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QCOMPARE(marker->fillColor(), colour);
    }
    QVERIFY(!m_fixture->mapView()->isMarkerShown()); // the hidden marker blinks too
}

void TestEditorWindow::coordinateDisplay() {
    EditorFixture& f = *m_fixture;
    QLabel* position = f.panel("Position");
    QTest::mouseMove(f.mapView()->viewport(), f.onMap(QPointF(128, 45)));
    QTRY_COMPARE(position->text(), u8("X=128 Y=45"));
    // Over another control: unchanged.
    QTest::mouseMove(f.child<QWidget>(u8("Label1_1")), QPoint(3, 3));
    QTest::qWait(20);
    QCOMPARE(position->text(), u8("X=128 Y=45"));
    // Over the bare window: emptied.
    QWidget* client = f.mapView()->parentWidget();
    QVERIFY(!client->childAt(QPoint(3, 100)));
    QTest::mouseMove(client, QPoint(3, 100));
    QTRY_COMPARE(position->text(), QString());
    // The largest coordinates show whole at the window's opening size.
    position->setText(u8("X=32767 Y=32767"));
    QVERIFY(position->contentsRect().width() >=
            position->fontMetrics().horizontalAdvance(position->text()));
}

void TestEditorWindow::closing_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("closed");

    QTest::newRow("no changes") << false << MessageAnswer::No << true;
    QTest::newRow("changed, No") << true << MessageAnswer::No << false;
    QTest::newRow("changed, Yes") << true << MessageAnswer::Yes << true;
}

void TestEditorWindow::closing() {
    QFETCH(bool, changed);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, closed);
    EditorFixture& f = *m_fixture;
    if (changed)
        f.add(samplePoint(1));
    // There is no cancel button: Escape neither closes nor asks.
    QTest::keyClick(f.list(), Qt::Key_Escape);
    QVERIFY(f.editor->isVisible());
    QVERIFY(f.services.messages.isEmpty());
    f.services.answerMessage(answer);
    f.action("Menu2_End")->trigger();
    QCOMPARE(f.editor->isVisible(), !closed);
    if (!changed) {
        QVERIFY(f.services.messages.isEmpty());
        return;
    }
    QCOMPARE(f.services.messages.size(), 1);
    const MessageRequest& question = f.services.lastMessage();
    QCOMPARE(question.text, u8("編集中のﾌｧｲﾙは変更されています。\r終了してよろしいですか？"));
    QCOMPARE(question.title, u8("終了"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::Question);
    QCOMPARE(f.rows(), 1); // No leaves everything as it was
    QVERIFY(f.modified());

    // The close box asks the same; a new window starts afresh and closes at once.
    if (!closed) {
        f.services.answerMessage(MessageAnswer::No);
        QVERIFY(!f.editor->close());
        QCOMPARE(f.services.messages.size(), 2);
    } else {
        EditorFixture again;
        QCOMPARE(again.rows(), 0);
        QVERIFY(again.editor->close());
        QVERIFY(again.services.messages.isEmpty());
    }
}

void TestEditorWindow::openedModallyFromMainWindow() {
    FakeServices services;
    MainWindow main(services, m_fixture->dir.path() + u'/');
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QList<int> rowsAtOpening;
    // Runs inside the editor's modal loop: add a point, then close with Yes.
    const auto useEditor = [&] {
        auto* editor = qobject_cast<EditorWindow*>(QApplication::activeModalWidget());
        QVERIFY(editor);
        QCOMPARE(editor->parentWidget(), &main);
        QVERIFY(editor->isModal());
        rowsAtOpening << editor->pointTable().rowCount();
        EditorFixture::addTo(*editor, samplePoint(1));
        services.answerMessage(MessageAnswer::Yes);
        editor->close();
    };
    for (int opening = 0; opening < 2; ++opening) {
        QTimer::singleShot(0, &main, useEditor);
        Controls::action(&main, "Menu2_FileEdit")->trigger(); // returns once the editor closed
        QVERIFY(!QApplication::activeModalWidget());
    }
    QCOMPARE(rowsAtOpening, QList<int>({0, 0})); // every opening starts afresh
    QCOMPARE(services.messages.size(), 2);
    QCOMPARE(services.messages[0].title, u8("終了"));
    QVERIFY(main.findChildren<EditorWindow*>().isEmpty());
}

void TestEditorWindow::pressPlacesPoint_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestEditorWindow::pressPlacesPoint() {
    QFETCH(Qt::MouseButton, button);
    EditorFixture& f = *m_fixture;
    f.add(samplePoint(1));
    const bool flag = f.modified();
    f.list()->setFocus();
    f.pressMap(QPoint(128, 45), button);
    QCOMPARE(f.box(ColumnX)->text(), u8("128"));
    QCOMPARE(f.box(ColumnY)->text(), u8("45"));
    QCOMPARE(f.mapView()->marker()->topLeft(), QPointF(124, 41));
    QVERIFY(f.mapView()->isMarkerShown());
    QCOMPARE(f.editor->focusWidget(), f.box(ColumnAnswer1));
    QCOMPARE(f.rows(), 1);
    QCOMPARE(f.editor->pointTable().row(0), samplePoint(1));
    QCOMPARE(f.modified(), flag);
}

void TestEditorWindow::pressAtAnyZoomPlacesTheMapPixel_data() {
    QTest::addColumn<QStringList>("commands"); // of the menu 表示(&V), after opening the map
    QTest::addColumn<qreal>("zoom");           // 0: the whole map in view
    QTest::newRow("whole map") << QStringList() << 0.0;
    QTest::newRow("200 %") << QStringList{u8("Menu2_ActualSize"), u8("Menu2_ZoomIn"),
                                          u8("Menu2_ZoomIn")}
                           << 2.0;
}

// The press lands on the map pixel under the pointer, whatever the zoom and scroll; selecting
// a row whose point lies out of view brings it into view.
void TestEditorWindow::pressAtAnyZoomPlacesTheMapPixel() {
    QFETCH(QStringList, commands);
    QFETCH(qreal, zoom);
    EditorFixture& f = *m_fixture;
    const QString map = f.dir.filePath(u8("large.bmp"));
    QVERIFY(TestFiles::writeBmp(map, 1200, 900));
    f.services.answerFile(map);
    f.action("Menu2_MapOpen")->trigger();
    for (const QString& command : commands)
        f.action(qPrintable(command))->trigger();
    MapView* view = f.mapView();
    if (zoom > 0)
        QCOMPARE(view->zoom(), zoom);
    else
        QVERIFY(view->zoom() < 0.5);
    const QPoint scroll(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
    const QPoint at(123, 77);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    const QPointF pixel = QPointF(at + scroll) / view->zoom();
    QCOMPARE(f.box(ColumnX)->text(), QString::number(int(pixel.x())));
    QCOMPARE(f.box(ColumnY)->text(), QString::number(int(pixel.y())));
    QVERIFY(view->marker()->geometry().adjusted(-1, -1, 1, 1).contains(at));

    f.add(TestFiles::point(u8("1150"), u8("870"), u8("h"), u8("a")));
    f.add(TestFiles::point(u8("5"), u8("5"), u8("h"), u8("b")));
    for (int row : {0, 1}) {
        f.selectRow(row);
        QVERIFY(view->viewport()->rect().contains(view->marker()->geometry().center()));
    }
}

void TestEditorWindow::typedCoordinates_data() {
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QPointF>("topLeft");

    QTest::newRow("fraction") << "12.5"
                              << "40" << true << QPointF(8.5, 36);
    QTest::newRow("negative") << "-5"
                              << "900" << true << QPointF(-9, 896);
    QTest::newRow("blanks and exponent") << " 1e2 "
                                         << "+7" << true << QPointF(96, 3);
    QTest::newRow("letters") << "abc"
                             << "40" << false << QPointF();
    QTest::newRow("empty y") << "12"
                             << "" << false << QPointF();
    QTest::newRow("exponent without digits") << "e5"
                                             << "4" << false << QPointF();
}

void TestEditorWindow::typedCoordinates() {
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(bool, moves);
    EditorFixture& f = *m_fixture;
    f.pressMap(QPoint(50, 60));
    f.box(ColumnX)->setText(u8("x")); // the marker stays where the press put it
    f.box(ColumnY)->setText(y);
    const QPointF before = f.mapView()->marker()->topLeft();
    QCOMPARE(before, QPointF(46, 56));
    f.box(ColumnX)->clear();
    QTest::keyClicks(f.box(ColumnX), x);
    if (moves)
        QTEST(f.mapView()->marker()->topLeft(), "topLeft");
    else
        QCOMPARE(f.mapView()->marker()->topLeft(), before);
    QVERIFY(f.mapView()->isMarkerShown());
    QVERIFY(!f.modified());
}

void TestEditorWindow::refusals_data() {
    QTest::addColumn<Point>("boxes");
    QTest::addColumn<EditMode>("mode");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<MessageIcon>("icon");

    const QString coordinates = u8("X座標またはY座標の値が不正です。");
    const QString error = u8("ｴﾗｰ");
    const auto p = [](const QString& x, const QString& a1, const QString& hint = QString()) {
        return TestFiles::point(x, u8("40"), hint, a1);
    };
    QTest::newRow("x abc") << p(u8("abc"), u8("a")) << EditMode::Add << -1 << coordinates << error
                           << MessageIcon::Exclamation;
    QTest::newRow("empty x and empty answer: coordinates only")
        << p(QString(), QString()) << EditMode::Add << -1 << coordinates << error
        << MessageIcon::Exclamation;
    QTest::newRow("empty answer") << p(u8("1"), QString()) << EditMode::Add << -1
                                  << u8("答え1には、必ずなにか入力してください。") << u8("ZAVMap")
                                  << MessageIcon::None;
    QTest::newRow("update without selection")
        << p(u8("1"), u8("a")) << EditMode::Edit << -1 << u8("選択して下さい。") << error
        << MessageIcon::Exclamation;
    QTest::newRow("answer before selection")
        << p(u8("1"), QString()) << EditMode::Edit << -1
        << u8("答え1には、必ずなにか入力してください。") << u8("ZAVMap") << MessageIcon::None;
    QTest::newRow("emoji in the hint")
        << p(u8("1"), u8("a"), u8("😀")) << EditMode::Add << -1
        << u8("ﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「😀」が含まれています。\r"
              "ﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")と、ｼﾌﾄJISで表せない文字は使えません。")
        << error << MessageIcon::Exclamation;
    QTest::newRow("quote in the answer on update")
        << p(u8("1"), u8("\"a\"")) << EditMode::Edit << 0
        << u8("答え1に、ﾌｧｲﾙに保存できない文字「\"」が含まれています。\r"
              "ﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")と、ｼﾌﾄJISで表せない文字は使えません。")
        << error << MessageIcon::Exclamation;
}

void TestEditorWindow::refusals() {
    QFETCH(Point, boxes);
    QFETCH(EditMode, mode);
    QFETCH(int, selection);
    EditorFixture& f = *m_fixture;
    f.add(samplePoint(0));
    f.add(samplePoint(1));
    if (mode == EditMode::Edit)
        f.modeButton()->click();
    if (selection >= 0)
        f.selectRow(selection);
    // Saved, so that a flag set by the refusal would show.
    f.save(f.dir.filePath(u8("saved.zvm")));
    f.services.clear();
    QVERIFY(!f.modified());
    f.setBoxes(boxes);
    f.box(ColumnHint)->setFocus();
    QWidget* focus = f.editor->focusWidget();

    f.commitButton()->click();
    QCOMPARE(f.services.messages.size(), 1);
    const MessageRequest& message = f.services.lastMessage();
    QTEST(message.text, "text");
    QTEST(message.title, "title");
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QTEST(message.icon, "icon");
    QCOMPARE(f.rows(), 2);
    QCOMPARE(f.editor->pointTable().row(0), samplePoint(0));
    QCOMPARE(f.editor->pointTable().row(1), samplePoint(1));
    QCOMPARE(f.boxes(), boxes);
    QVERIFY(!f.modified());
    QCOMPARE(f.editor->focusWidget(), focus);
}

void TestEditorWindow::addFillsAllColumns() {
    EditorFixture& f = *m_fixture;
    f.add(samplePoint(0));
    f.selectRow(0);
    f.pressMap(QPoint(30, 31));
    Point point{u8("30"), u8("31"), u8("大阪, 京都"), u8(" "), QString(), u8("一\r\n二")};
    f.setBoxes(point);
    f.save(f.dir.filePath(u8("saved.zvm")));
    QVERIFY(!f.modified());
    f.commitButton()->click();

    QVERIFY(f.services.messages.isEmpty());
    QCOMPARE(f.rows(), 2);
    for (int column = 0; column < kPointColumns; ++column) {
        QCOMPARE(f.editor->pointTable().text(column, 1), point[column]);
        QCOMPARE(f.modelText(1, column), point[column]);
    }
    QCOMPARE(f.editor->pointTable().row(0), samplePoint(0));
    QCOMPARE(f.boxes(), Point{});
    QCOMPARE(f.editor->focusWidget(), f.box(ColumnAnswer1));
    QCOMPARE(f.mapView()->marker()->topLeft(), QPointF(26, 27));
    QVERIFY(f.mapView()->isMarkerShown());
    QVERIFY(f.modified());
    QCOMPARE(f.editor->pointTable().selection(), 0); // adding selects nothing new
    QVERIFY(f.list()->selectionModel()->isSelected(f.list()->model()->index(0, ColumnAnswer1)));
}

void TestEditorWindow::selectFillsBoxesAndUpdateOverwrites() {
    EditorFixture& f = *m_fixture;
    for (int i = 0; i < 3; ++i)
        f.add(samplePoint(i));
    f.modeButton()->click(); // edit mode
    QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {},
                      f.list()->visualRect(f.list()->model()->index(2, ColumnAnswer1)).center());
    QCOMPARE(f.editor->pointTable().selection(), 2);
    QCOMPARE(f.boxes(), samplePoint(2));
    QCOMPARE(f.infoBox()->toPlainText(), u8("情報2\n二行目"));
    QCOMPARE(f.mapView()->marker()->topLeft(), QPointF(8, 18)); // (12, 22) - 4
    QVERIFY(f.mapView()->isMarkerShown());
    // Keyboard selection fills the boxes too.
    QTest::keyClick(f.list(), Qt::Key_Up);
    QCOMPARE(f.editor->pointTable().selection(), 1);
    QCOMPARE(f.boxes(), samplePoint(1));
    QTest::keyClick(f.list(), Qt::Key_Down);

    f.save(f.dir.filePath(u8("saved.zvm")));
    QVERIFY(!f.modified());
    const Point changed{u8("7.5"), u8("-3"), u8("新しい"), u8("新答え"), u8("別"), u8("a\r\nb")};
    f.setBoxes(changed);
    f.box(ColumnHint)->setFocus();
    f.commitButton()->click();
    QVERIFY(f.services.messages.isEmpty());
    QCOMPARE(f.rows(), 3);
    QCOMPARE(f.editor->pointTable().row(0), samplePoint(0));
    QCOMPARE(f.editor->pointTable().row(1), samplePoint(1));
    QCOMPARE(f.editor->pointTable().row(2), changed);
    QCOMPARE(f.list()->model()->index(2, ColumnAnswer1).data().toString(), u8("新答え"));
    QCOMPARE(f.editor->pointTable().selection(), 2);
    QVERIFY(f.list()->selectionModel()->isSelected(f.list()->model()->index(2, ColumnAnswer1)));
    QCOMPARE(f.boxes(), changed);
    QCOMPARE(f.editor->focusWidget(), f.list());
    QVERIFY(f.modified());
    QCOMPARE(f.editor->mode(), EditMode::Edit);
}

void TestEditorWindow::deleteRows() {
    EditorFixture& f = *m_fixture;
    for (int i = 0; i < 3; ++i)
        f.add(samplePoint(i));
    // Without a selection nothing happens and nothing is shown.
    f.action("PMenu_Delete")->trigger();
    QCOMPARE(f.rows(), 3);
    QVERIFY(f.services.messages.isEmpty());

    f.save(f.dir.filePath(u8("saved.zvm")));
    QVERIFY(!f.modified());
    f.selectRow(0);
    const Point shown = f.boxes();
    const QPointF marker = f.mapView()->marker()->topLeft();
    f.action("PMenu_Delete")->trigger();
    QVERIFY(f.services.messages.isEmpty());
    QCOMPARE(f.rows(), 2);
    for (int column = 0; column < kPointColumns; ++column) {
        QCOMPARE(f.editor->pointTable().text(column, 0), samplePoint(1)[column]);
        QCOMPARE(f.modelText(1, column), samplePoint(2)[column]);
    }
    QCOMPARE(f.editor->pointTable().selection(), -1);
    QVERIFY(!f.list()->selectionModel()->hasSelection());
    QCOMPARE(f.boxes(), shown);
    QCOMPARE(f.mapView()->marker()->topLeft(), marker);
    // Deleting leaves the flag as it was: closing now asks nothing.
    QVERIFY(!f.modified());
}

void TestEditorWindow::itemCountAndPopup() {
    EditorFixture& f = *m_fixture;
    f.action("PMenu_ListNum")->trigger();
    QCOMPARE(f.services.lastMessage().text, u8("0項目"));
    QCOMPARE(f.services.lastMessage().title, u8("ZAVMap"));
    QCOMPARE(f.services.lastMessage().buttons, MessageButtons::Ok);
    QCOMPARE(f.services.lastMessage().icon, MessageIcon::None);
    for (int i = 0; i < 12; ++i)
        f.add(samplePoint(i));
    f.action("PMenu_ListNum")->trigger();
    QCOMPARE(f.services.lastMessage().text, u8("12項目"));

    // A right press on another row opens the popup and leaves the selection on row 1.
    f.selectRow(1);
    auto* popup = f.child<QMenu>(QStringLiteral("PMenu1"));
    const QPoint onRow3 = f.list()->visualRect(f.list()->model()->index(3, ColumnAnswer1)).center();
    QTest::mousePress(f.list()->viewport(), Qt::RightButton, {}, onRow3);
    QTRY_VERIFY(popup->isVisible());
    QCOMPARE(f.editor->pointTable().selection(), 1);
    QVERIFY(f.list()->selectionModel()->isSelected(f.list()->model()->index(1, ColumnAnswer1)));
    popup->hide();
    f.action("PMenu_Delete")->trigger();
    QCOMPARE(f.rows(), 11);
    QCOMPARE(f.editor->pointTable().text(ColumnAnswer1, 1), samplePoint(2)[ColumnAnswer1]);
}

void TestEditorWindow::modeSwitching() {
    EditorFixture& f = *m_fixture;
    QAction* add = f.action("Menu2_AddMode");
    QAction* edit = f.action("Menu2_EditMode");
    f.add(samplePoint(0));
    f.selectRow(0);
    f.pressMap(QPoint(5, 5));
    const Point boxes = f.boxes();
    const bool flag = f.modified();

    struct Step {
        std::function<void()> act;
        EditMode mode;
        const char* caption;
        QWidget* focus;
    };
    const QList<Step> steps = {
        {[&] { f.modeButton()->click(); }, EditMode::Edit, "更新(&R)", f.list()},
        {[&] { edit->trigger(); }, EditMode::Edit, "更新(&R)", f.list()},
        {[&] { f.modeButton()->click(); }, EditMode::Add, "追加(&A)", f.box(ColumnX)},
        {[&] { edit->trigger(); }, EditMode::Edit, "更新(&R)", f.list()},
        {[&] { add->trigger(); }, EditMode::Add, "追加(&A)", f.box(ColumnX)},
        {[&] { add->trigger(); }, EditMode::Add, "追加(&A)", f.box(ColumnX)},
    };
    for (const Step& step : steps) {
        f.box(ColumnHint)->setFocus();
        step.act();
        QCOMPARE(f.editor->mode(), step.mode);
        QCOMPARE(f.commitButton()->text(), u8(step.caption));
        QCOMPARE(add->isChecked(), step.mode == EditMode::Add);
        QCOMPARE(edit->isChecked(), step.mode == EditMode::Edit);
        QCOMPARE(f.editor->focusWidget(), step.focus);
    }
    QCOMPARE(f.rows(), 1);
    QCOMPARE(f.editor->pointTable().selection(), 0);
    QCOMPARE(f.boxes(), boxes);
    QCOMPARE(f.mapView()->marker()->topLeft(), QPointF(1, 1));
    QCOMPARE(f.modified(), flag);
}

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
