// The editor's rules without a window: the point table and its model, the unsaved-changes
// flag, the add/update checks, the save refusals, the file commands' decisions and the layout
// arithmetic.
#include "core/editor/EditorDocument.h"
#include "core/editor/EditorFiles.h"
#include "core/editor/EditorLayout.h"
#include "core/editor/EditorRules.h"
#include "core/editor/PointTable.h"
#include "core/editor/PointTableModel.h"
#include "ui/platform/MapView.h"

#include "TestFiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::u8;

Q_DECLARE_METATYPE(EditorEvent)
Q_DECLARE_METATYPE(EditMode)
Q_DECLARE_METATYPE(Point)
Q_DECLARE_METATYPE(ReadOutcome)
Q_DECLARE_METATYPE(WriteResult::Status)

namespace {

Point numbered(int n) {
    const QString s = QString::number(n);
    return {s, s, u8("ﾋﾝﾄ") + s, u8("答え") + s, u8("別解") + s, u8("情報") + s};
}

PointTable tableOf(int rows) {
    PointTable table;
    for (int i = 0; i < rows; ++i)
        table.append(numbered(i));
    return table;
}

} // namespace

class TestEditorCore : public QObject {
    Q_OBJECT
private slots:
    void tableAppendUpdateRemove();
    void tableSelection_data();
    void tableSelection();
    void tableHoldsAtMostTheLimit();
    void modelColumnsAndSignals();

    void flagTable_data();
    void flagTable();

    void checkPoint_data();
    void checkPoint();
    void unstorableCharacter_data();
    void unstorableCharacter();
    void saveRefusalNamesTheRow_data();
    void saveRefusalNamesTheRow();
    void smallTexts();
    void infoLineBreaks_data();
    void infoLineBreaks();

    void finishOpen_data();
    void finishOpen();
    void finishSave_data();
    void finishSave();
    void relativeMap_data();
    void relativeMap();

    void layout_data();
    void layout();
};

void TestEditorCore::tableAppendUpdateRemove() {
    PointTable table = tableOf(3);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.row(2), numbered(2));

    QVERIFY(table.update(1, numbered(9)));
    QCOMPARE(table.row(0), numbered(0));
    QCOMPARE(table.row(1), numbered(9));
    QCOMPARE(table.row(2), numbered(2));
    QVERIFY(!table.update(3, numbered(7)));
    QVERIFY(!table.update(-1, numbered(7)));

    QVERIFY(table.remove(0));
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.row(0), numbered(9));
    QCOMPARE(table.text(ColumnInfo, 1), u8("情報2"));
    QVERIFY(!table.remove(2));
    QCOMPARE(table.rowCount(), 2);

    table.clear();
    QVERIFY(table.isEmpty());
}

void TestEditorCore::tableSelection_data() {
    QTest::addColumn<int>("select");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("expected");

    QTest::newRow("select a row") << 1 << "" << 1;
    QTest::newRow("select none") << -1 << "" << -1;
    QTest::newRow("outside the table selects none") << 3 << "" << -1;
    QTest::newRow("update keeps the selection") << 2 << "update" << 2;
    QTest::newRow("append keeps the selection") << 0 << "append" << 0;
    QTest::newRow("remove leaves none selected") << 2 << "remove0" << -1;
    QTest::newRow("removing the selected row") << 1 << "remove1" << -1;
    QTest::newRow("clear leaves none selected") << 1 << "clear" << -1;
    QTest::newRow("a row put back before it moves it down") << 1 << "insert0" << 2;
    QTest::newRow("a row put back after it keeps it") << 1 << "insert2" << 1;
    QTest::newRow("removing rows leaves none selected") << 0 << "removeRange" << -1;
}

void TestEditorCore::tableSelection() {
    QFETCH(int, select);
    QFETCH(QString, operation);
    QFETCH(int, expected);
    PointTable table = tableOf(3);
    table.select(select);
    if (operation == u"update")
        table.update(2, numbered(5));
    else if (operation == u"append")
        table.append(numbered(5));
    else if (operation == u"remove0")
        table.remove(0);
    else if (operation == u"remove1")
        table.remove(1);
    else if (operation == u"clear")
        table.clear();
    else if (operation == u"insert0")
        QVERIFY(table.insert(0, numbered(5)));
    else if (operation == u"insert2")
        QVERIFY(table.insert(2, numbered(5)));
    else if (operation == u"removeRange")
        QVERIFY(table.removeRange(1, 2) && table.rowCount() == 1);
    QCOMPARE(table.selection(), expected);
    QCOMPARE(table.hasSelection(), expected >= 0);
}

void TestEditorCore::tableHoldsAtMostTheLimit() {
    PointTable table;
    PointList many(kMaxPoints - 1, numbered(1));
    QCOMPARE(table.appendAll(std::move(many)), kMaxPoints - 1);
    QVERIFY(!table.isFull());
    QVERIFY(table.append(numbered(2)));
    QVERIFY(table.isFull());
    QVERIFY(!table.append(numbered(3)));
    QCOMPARE(table.rowCount(), kMaxPoints);
    QCOMPARE(table.row(kMaxPoints - 1), numbered(2));

    // A batch takes only what fits.
    PointTable partial = tableOf(kMaxPoints - 2);
    QCOMPARE(partial.appendAll(PointList(5, numbered(4))), 2);
    QCOMPARE(partial.rowCount(), kMaxPoints);
}

void TestEditorCore::modelColumnsAndSignals() {
    PointTableModel model;
    QCOMPARE(model.columnCount(), kPointColumns);
    const QStringList tags = {u8("PositionX"), u8("PositionY"), u8("ヒント"),
                              u8("答え1"),     u8("答え2"),     u8("情報")};
    for (int column = 0; column < kPointColumns; ++column)
        QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), tags[column]);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    QVERIFY(model.append(numbered(0)));
    QCOMPARE(model.appendAll(PointList{numbered(1), numbered(2), numbered(3)}), 3);
    QCOMPARE(inserted.count(), 2); // one insertion per batch
    QCOMPARE(inserted.at(1).at(1).toInt(), 1);
    QCOMPARE(inserted.at(1).at(2).toInt(), 3);
    QCOMPARE(model.rowCount(), 4);
    for (int column = 0; column < kPointColumns; ++column)
        QCOMPARE(model.data(model.index(2, column)).toString(), numbered(2)[column]);

    QVERIFY(model.update(1, numbered(8)));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 1);
    QCOMPARE(model.data(model.index(1, ColumnAnswer1)).toString(), numbered(8)[ColumnAnswer1]);

    model.select(3);
    QVERIFY(model.remove(0));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(model.table().selection(), -1);
    QCOMPARE(model.data(model.index(0, ColumnAnswer1)).toString(), numbered(8)[ColumnAnswer1]);
    QVERIFY(!model.update(7, numbered(1)));
    QCOMPARE(changed.count(), 1);
}

void TestEditorCore::flagTable_data() {
    QTest::addColumn<EditorEvent>("event");
    QTest::addColumn<bool>("afterFalse");
    QTest::addColumn<bool>("afterTrue");

    QTest::newRow("editor opened") << EditorEvent::EditorOpened << false << false;
    QTest::newRow("row added") << EditorEvent::RowAdded << true << true;
    QTest::newRow("row updated") << EditorEvent::RowUpdated << true << true;
    QTest::newRow("map chosen") << EditorEvent::MapChosen << true << true;
    QTest::newRow("new completed") << EditorEvent::NewCompleted << false << false;
    QTest::newRow("saved") << EditorEvent::Saved << false << false;
    QTest::newRow("save failed") << EditorEvent::SaveFailed << false << true;
    QTest::newRow("file opened completely") << EditorEvent::FileOpened << false << false;
    QTest::newRow("file opened in part") << EditorEvent::FileOpenIncomplete << false << true;
    QTest::newRow("mode switched") << EditorEvent::ModeSwitched << false << true;
    QTest::newRow("press on the map") << EditorEvent::MapPressed << false << true;
    QTest::newRow("typing in a box") << EditorEvent::BoxTyped << false << true;
    QTest::newRow("row deleted") << EditorEvent::RowDeleted << false << true;
    QTest::newRow("relative map set") << EditorEvent::RelativePathSet << false << true;
}

void TestEditorCore::flagTable() {
    QFETCH(EditorEvent, event);
    QFETCH(bool, afterFalse);
    QFETCH(bool, afterTrue);
    QCOMPARE(EditorDocument::flagAfter(event, false), afterFalse);
    QCOMPARE(EditorDocument::flagAfter(event, true), afterTrue);

    EditorDocument document;
    document.apply(EditorEvent::RowAdded);
    document.apply(event);
    QCOMPARE(document.isModified(), afterTrue);
}

void TestEditorCore::checkPoint_data() {
    QTest::addColumn<EditMode>("mode");
    QTest::addColumn<Point>("boxes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("text"); // empty: accepted
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");

    const QString coordinates = u8("X座標またはY座標の値が不正です。");
    const QString answer = u8("答え1には、必ずなにか入力してください。");
    const QString select = u8("選択して下さい。");
    const QString error = u8("ｴﾗｰ");
    const int excl = int(MessageIcon::Exclamation);
    const int none = int(MessageIcon::None);
    const auto p = [](const char* x, const char* y, const char* a1) {
        return TestFiles::point(u8(x), u8(y), QString(), u8(a1));
    };

    QTest::newRow("add accepted") << EditMode::Add << p("1", "2", "a") << 0 << -1 << ""
                                  << "" << 0;
    QTest::newRow("blank answer is an answer") << EditMode::Add << p("1", "2", " ") << 0 << -1 << ""
                                               << "" << 0;
    QTest::newRow("negative and beyond the map")
        << EditMode::Add << p("-5", "900", "a") << 0 << -1 << ""
        << "" << 0;
    QTest::newRow("fraction and exponent")
        << EditMode::Add << p(" 12.5 ", "1E2", "a") << 0 << -1 << ""
        << "" << 0;
    QTest::newRow("x is abc") << EditMode::Add << p("abc", "2", "a") << 0 << -1 << coordinates
                              << error << excl;
    QTest::newRow("y empty") << EditMode::Add << p("1", "", "a") << 0 << -1 << coordinates << error
                             << excl;
    QTest::newRow("coordinates before answer")
        << EditMode::Add << p("", "", "") << 0 << -1 << coordinates << error << excl;
    QTest::newRow("answer missing")
        << EditMode::Add << p("1", "2", "") << 0 << -1 << answer << "" << none;
    QTest::newRow("answer before selection")
        << EditMode::Edit << p("1", "2", "") << 3 << -1 << answer << "" << none;
    QTest::newRow("edit without selection")
        << EditMode::Edit << p("1", "2", "a") << 3 << -1 << select << error << excl;
    QTest::newRow("edit with selection") << EditMode::Edit << p("1", "2", "a") << 3 << 2 << ""
                                         << "" << 0;
    QTest::newRow("add to a full table")
        << EditMode::Add << p("1", "2", "a") << kMaxPoints << -1
        << u8("これ以上追加できません。\r項目数は32767までです。") << error << excl;
    QTest::newRow("update in a full table")
        << EditMode::Edit << p("1", "2", "a") << kMaxPoints << 5 << ""
        << "" << 0;

    const QString hint = u8("ﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")と、ｼﾌﾄJISで表せない文字は使えません。");
    Point quote = p("1", "2", "a");
    quote[ColumnHint] = u8("大阪\"城");
    QTest::newRow("quote in the hint")
        << EditMode::Add << quote << 0 << -1
        << u8("ﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「\"」が含まれています。\r") + hint << error << excl;
    Point emoji = p("1", "2", "a");
    emoji[ColumnInfo] = u8("楽しい😀");
    emoji[ColumnAnswer2] = u8("café");
    QTest::newRow("first unstorable box is named")
        << EditMode::Add << emoji << 0 << -1
        << u8("答え2に、ﾌｧｲﾙに保存できない文字「é」が含まれています。\r") + hint << error << excl;
    Point kanji = p("1", "2", u8("𠮷野家").toUtf8().constData());
    QTest::newRow("a character beyond the code page")
        << EditMode::Edit << kanji << 3 << 0
        << u8("答え1に、ﾌｧｲﾙに保存できない文字「𠮷」が含まれています。\r") + hint << error << excl;
    QTest::newRow("selection before text")
        << EditMode::Edit << kanji << 3 << -1 << select << error << excl;
}

void TestEditorCore::checkPoint() {
    QFETCH(EditMode, mode);
    QFETCH(Point, boxes);
    QFETCH(int, rows);
    QFETCH(int, selection);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(int, icon);

    PointTable table;
    table.appendAll(PointList(rows, numbered(0)));
    table.select(selection);
    const std::optional<MessageRequest> refusal = EditorRules::checkPoint(mode, boxes, table);
    if (text.isEmpty()) {
        QVERIFY2(!refusal, qPrintable(refusal ? refusal->text : QString()));
        return;
    }
    QVERIFY(refusal);
    QCOMPARE(refusal->text, text);
    QCOMPARE(refusal->title, title);
    QCOMPARE(refusal->buttons, MessageButtons::Ok);
    QCOMPARE(int(refusal->icon), icon);
}

void TestEditorCore::unstorableCharacter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain Japanese") << u8("東京タワー ﾄｳｷｮｳ 123") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("line break") << u8("一行目\r\n二行目") << QString();
    QTest::newRow("wave dash from a Linux input method") << u8("〜") << QString();
    QTest::newRow("double quote") << u8("a\"b") << u8("\"");
    QTest::newRow("accented letter") << u8("é") << u8("é");
    QTest::newRow("surrogate pair is one character") << u8("x𠮷") << u8("𠮷");
    QTest::newRow("emoji") << u8("😀") << u8("😀");
    QTest::newRow("the earlier of the two") << u8("é\"") << u8("é");
    QTest::newRow("quote before accent") << u8("\"é") << u8("\"");
}

void TestEditorCore::unstorableCharacter() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(EditorRules::firstUnstorableCharacter(text), expected);
}

void TestEditorCore::saveRefusalNamesTheRow_data() {
    QTest::addColumn<QString>("mapReference");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("map reference") << u8("/tmp/é/map.bmp") << -1 << -1
                                   << u8("ﾏｯﾌﾟ名に、ﾌｧｲﾙに保存できない文字「é」が含まれています。");
    QTest::newRow("row 3 info")
        << QString() << 2 << int(ColumnInfo)
        << u8("3番目の項目の情報に、ﾌｧｲﾙに保存できない文字「😀」が含まれています。");
}

void TestEditorCore::saveRefusalNamesTheRow() {
    QFETCH(QString, mapReference);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, firstLine);

    PointList rows(3, numbered(1));
    rows[2][ColumnInfo] = u8("絵😀");
    const WriteResult result{WriteResult::Status::UnstorableText, row, column, {}};
    const MessageRequest message = EditorRules::unstorableOnSave(result, mapReference, rows);
    const QStringList lines = message.text.split(u'\r');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], firstLine);
    QCOMPARE(lines[2], u8("ﾌｧｲﾙは保存されていません。"));
    QCOMPARE(message.title, u8("ｴﾗｰ"));
    QCOMPARE(message.icon, MessageIcon::Exclamation);
}

void TestEditorCore::smallTexts() {
    QCOMPARE(EditorRules::itemCount(12).text, u8("12項目"));
    QCOMPARE(EditorRules::itemCount(0).text, u8("0項目"));
    QCOMPARE(EditorRules::itemCount(0).title, QString()); // the application's title
    QCOMPARE(EditorRules::itemCount(0).icon, MessageIcon::None);
    QCOMPARE(MapView::positionText(QPointF(128, 45)), u8("X=128 Y=45"));
    QCOMPARE(MapView::positionText(QPointF(-3, 0)), u8("X=-3 Y=0"));
    const MessageRequest failed = EditorRules::saveFailed(u8("/a/b.zvm"), u8("Is a directory"));
    QCOMPARE(failed.text, u8("ﾌｧｲﾙを保存できませんでした。\r/a/b.zvm\rIs a directory"));
    QCOMPARE(failed.title, u8("ｴﾗｰ"));
}

void TestEditorCore::infoLineBreaks_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one line") << u8("情報") << u8("情報") << u8("情報");
    QTest::newRow("two lines") << u8("一\n二") << u8("一\r\n二") << u8("一\n二");
    QTest::newRow("already CR LF") << u8("一\r\n二") << u8("一\r\n二") << u8("一\n二");
    QTest::newRow("lone CR") << u8("一\r二\n") << u8("一\r\n二\r\n") << u8("一\n二\n");
}

void TestEditorCore::infoLineBreaks() {
    QFETCH(QString, box);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(EditorRules::infoFromBox(box), stored);
    QCOMPARE(EditorRules::infoToBox(stored), shown);
}

void TestEditorCore::finishOpen_data() {
    QTest::addColumn<ReadOutcome>("outcome");
    QTest::addColumn<QString>("panel"); // "@" stands for the file's name
    QTest::addColumn<bool>("clearsFlag");
    QTest::addColumn<QString>("message");

    const QString malformed = u8("このﾌｧｲﾙは不正か、または壊れています。");
    QTest::newRow("complete") << ReadOutcome::Success << u8("@") << true << QString();
    QTest::newRow("malformed") << ReadOutcome::Malformed << malformed << false << malformed;
    QTest::newRow("too many points")
        << ReadOutcome::TooManyPoints << u8("@") << false
        << u8("項目数が32767を超えているため、途中までしか読み込めませんでした。");
    QTest::newRow("read error") << ReadOutcome::ReadError << malformed << false << QString();
}

void TestEditorCore::finishOpen() {
    QFETCH(ReadOutcome, outcome);
    QFETCH(QString, panel);
    QFETCH(bool, clearsFlag);
    QFETCH(QString, message);
    EditorDocument document;
    document.setEditingFileName(u8("/q/日本.zvm"));
    document.apply(EditorEvent::RowAdded);
    const EditorFiles::Report report = EditorFiles::finishOpen(document, outcome);
    QCOMPARE(report.editingFileText, panel == u"@" ? document.editingFileName() : panel);
    QCOMPARE(document.isModified(), !clearsFlag);
    QCOMPARE(report.message.has_value(), !message.isEmpty());
    if (report.message) {
        QCOMPARE(report.message->text, message);
        QCOMPARE(report.message->title, u8("ｴﾗｰ"));
    }
}

void TestEditorCore::finishSave_data() {
    QTest::addColumn<WriteResult::Status>("status");
    QTest::addColumn<QString>("message"); // its first line
    QTest::newRow("written") << WriteResult::Status::Ok << QString();
    QTest::newRow("unstorable")
        << WriteResult::Status::UnstorableText
        << u8("2番目の項目のﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「\"」が含まれています。");
    QTest::newRow("file error") << WriteResult::Status::FileError
                                << u8("ﾌｧｲﾙを保存できませんでした。");
}

void TestEditorCore::finishSave() {
    QFETCH(WriteResult::Status, status);
    QFETCH(QString, message);
    EditorDocument document;
    document.setEditingFileName(u8("/q/old.zvm"));
    document.apply(EditorEvent::RowAdded);
    PointList rows{numbered(0), numbered(1)};
    rows[1][ColumnHint] = u8("a\"b");
    WriteResult result;
    result.status = status;
    result.row = 1;
    result.column = ColumnHint;
    result.errorString = u8("No space left on device");

    const EditorFiles::Report report =
        EditorFiles::finishSave(document, u8("/q/new.zvm"), result, rows);
    const bool saved = status == WriteResult::Status::Ok;
    QCOMPARE(document.editingFileName(), saved ? u8("/q/new.zvm") : u8("/q/old.zvm"));
    QCOMPARE(report.editingFileText, document.editingFileName());
    QCOMPARE(document.isModified(), !saved);
    QCOMPARE(report.message.has_value(), !saved);
    if (report.message) {
        QCOMPARE(report.message->text.split(u'\r').first(), message);
        QCOMPARE(report.message->icon, MessageIcon::Exclamation);
    }
    if (status == WriteResult::Status::FileError)
        QCOMPARE(report.message->text, message + u8("\r/q/new.zvm\rNo space left on device"));
}

void TestEditorCore::relativeMap_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("path"); // inside the question file's folder
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("found");
    QTest::newRow("beside the file") << u8("map.bmp") << u8("map.bmp") << u8("./map.bmp") << true;
    QTest::newRow("Windows separators kept as typed")
        << u8("maps\\jp.bmp") << u8("maps/jp.bmp") << u8("./maps\\jp.bmp") << true;
    QTest::newRow("no such file") << u8("gone.bmp") << u8("gone.bmp") << u8("./gone.bmp") << false;
}

void TestEditorCore::relativeMap() {
    QFETCH(QString, typed);
    QFETCH(QString, path);
    QFETCH(QString, reference);
    QFETCH(bool, found);
    QTemporaryDir dir;
    QVERIFY(dir.isValid() && QDir(dir.path()).mkdir(u8("maps")));
    for (const char* name : {"map.bmp", "maps/jp.bmp"})
        QVERIFY(TestFiles::writeBmp(dir.filePath(QString::fromLatin1(name))));

    EditorDocument document;
    QVERIFY(EditorFiles::relativeMapRefusal(document).has_value()); // unnamed: save first
    document.setEditingFileName(dir.filePath(u8("q.zvm")));
    document.setMapReference(u8("/old/map.bmp"));
    QVERIFY(!EditorFiles::relativeMapRefusal(document));
    QCOMPARE(EditorFiles::relativeMapPrompt(document),
             u8("現在値=/old/map.bmp\r現在のﾃﾞｨﾚｸﾄﾘ=") + dir.path());
    const EditorFiles::RelativeMap map = EditorFiles::relativeMap(document, typed);
    QCOMPARE(map.path, dir.filePath(path));
    QCOMPARE(map.reference, reference);
    QCOMPARE(map.refusal.has_value(), !found);
    if (found)
        QVERIFY(!EditorFiles::loadMap(map.path).picture.isNull());
}

void TestEditorCore::layout_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("statusTop");
    QTest::addColumn<int>("mapWidth");
    QTest::addColumn<int>("mapHeight");
    QTest::addColumn<int>("lineX2");

    QTest::newRow("design size") << 8355 << 7035 << 6735 << 6855 << 8280;
    QTest::newRow("1000 twips wider") << 9355 << 7035 << 7735 << 6855 << 9280;
    QTest::newRow("1000 twips taller") << 8355 << 8035 << 6735 << 7855 << 8280;
    QTest::newRow("too small") << 900 << 100 << 0 << 0 << 825;
    QTest::newRow("minimized") << 0 << 0 << 0 << 0 << 120;
}

void TestEditorCore::layout() {
    QFETCH(int, width);
    QFETCH(int, statusTop);
    const EditorLayout::Arrangement a = EditorLayout::arrange(width, statusTop);
    QTEST(a.mapWidth, "mapWidth");
    QTEST(a.mapHeight, "mapHeight");
    QTEST(a.lineX2, "lineX2");
}

QTEST_GUILESS_MAIN(TestEditorCore)
#include "tst_editorcore.moc"
