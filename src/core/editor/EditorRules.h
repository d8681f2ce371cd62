#pragma once

#include "core/data/Point.h"
#include "core/data/QuestionFile.h"
#include "core/editor/PointTable.h"
#include "core/platform/Services.h"

#include <QString>

#include <optional>

// What Command1 does: append the boxes as a new row, or overwrite the selected row.
enum class EditMode { Add, Edit };

// The editor's rules and texts that need no window: the checks of the add/update button, the
// refusals of saving, and the texts of its messages and status panels.
namespace EditorRules {

// Message texts and titles the editor shows.
namespace Text {
inline QString badCoordinates() {
    return QStringLiteral("X座標またはY座標の値が不正です。");
}
inline QString noAnswer1() {
    return QStringLiteral("答え1には、必ずなにか入力してください。");
}
inline QString selectRow() {
    return QStringLiteral("選択して下さい。");
}
inline QString itemsSuffix() {
    return QStringLiteral("項目");
}
inline QString closeTitle() {
    return QStringLiteral("終了");
}
inline QString closeQuestion() {
    return QStringLiteral("編集中のﾌｧｲﾙは変更されています。\r終了してよろしいですか？");
}
inline QString newTitle() {
    return QStringLiteral("新規作成");
}
inline QString saveTitle() {
    return QStringLiteral("保存");
}
inline QString changedOnDisk() {
    return QStringLiteral("ﾌｧｲﾙが他で変更されています。上書きしますか？");
}
inline QString openTitle() {
    return QStringLiteral("開く");
}
inline QString discardQuestion() {
    return QStringLiteral("編集中のﾌｧｲﾙは変更されています。\r破棄してよろしいですか？");
}
inline QString saving() {
    return QStringLiteral("ﾌｧｲﾙを保存しています...");
}
inline QString mapTitle() {
    return QStringLiteral("ﾏｯﾌﾟの指定");
}
inline QString saveFirst() {
    return QStringLiteral("この処理は、先にファイルを保存してから行ってください。");
}
inline QString fileNotFound() {
    return QStringLiteral("指定されたﾌｧｲﾙは存在しません。");
}
} // namespace Text

// The first character of `text` that a question file cannot hold (a double quote, or a
// character code page 932 lacks; a surrogate pair counts as one character), or empty.
QString firstUnstorableCharacter(const QString& text);

// The first refusal of the add/update button for these box texts, or nothing when the point
// may go into the table. Order: coordinates (finite numbers, NumericText::isNumeric), answer
// 1, then the mode's own condition (room for another row, or a selected row), then texts a file
// could not hold.
std::optional<MessageRequest> checkPoint(EditMode mode, const Point& boxes,
                                         const PointTable& table);

// Why a row from elsewhere (a CSV import) cannot be added, by the add button's checks in its
// order (coordinates, answer 1, texts a file could not hold), and a line break outside the
// info, which no other box can hold; nothing when the row may be added.
std::optional<QString> rowRefusal(const Point& row);

// The message for a save that wrote nothing because of an unstorable text.
MessageRequest unstorableOnSave(const WriteResult& result, const QString& mapReference,
                                const PointList& rows);
// The message for a save the file system refused.
MessageRequest saveFailed(const QString& path, const QString& reason);
// The message for a map file that is no picture at all.
MessageRequest mapNotLoadable(const QString& path);
// The message for a file with more points than a table holds.
MessageRequest tooManyPoints();
// "12項目": the row count box (application title, OK, no icon).
MessageRequest itemCount(int rows);

// The info box shows line breaks as the platform's text edit does ("\n"); the table and the
// file keep them as a Windows text box does, CR LF.
QString infoFromBox(const QString& boxText);
QString infoToBox(const QString& stored);

} // namespace EditorRules
