#include "core/editor/EditorRules.h"

#include "core/data/Cp932.h"
#include "core/data/NumericText.h"
#include "core/editor/PointColumns.h"

#include <algorithm>

namespace EditorRules {

QString firstUnstorableCharacter(const QString& text) {
    qsizetype at = text.indexOf(u'"');
    // Code page 932 holds every ASCII character: only a text with others needs its table (a CSV
    // import asks this of every cell).
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c < u'\x80'; });
    const qsizetype unencodable = ascii ? -1 : Cp932::firstUnencodable(text);
    if (unencodable >= 0 && (at < 0 || unencodable < at))
        at = unencodable;
    if (at < 0 || at >= text.size())
        return QString();
    const bool pair =
        text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
    return text.mid(at, pair ? 2 : 1);
}

namespace {

QString unstorableLine(const QString& where, const QString& character) {
    return where + QStringLiteral("に、ﾌｧｲﾙに保存できない文字「") + character +
           QStringLiteral("」が含まれています。");
}

QString unstorableHint() {
    return QStringLiteral("ﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")と、ｼﾌﾄJISで表せない文字は使えません。");
}

// "ﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「"」が含まれています。" for the first box that holds one.
std::optional<QString> unstorableBox(const Point& boxes) {
    for (int column = 0; column < kPointColumns; ++column) {
        const QString character = firstUnstorableCharacter(boxes[column]);
        if (!character.isEmpty())
            return unstorableLine(PointColumns::boxName(column), character);
    }
    return std::nullopt;
}

} // namespace

std::optional<MessageRequest> checkPoint(EditMode mode, const Point& boxes,
                                         const PointTable& table) {
    if (!NumericText::isNumeric(boxes[ColumnX]) || !NumericText::isNumeric(boxes[ColumnY]))
        return MessageRequest::error(Text::badCoordinates());
    // Only the empty text is empty: a blank is an answer.
    if (boxes[ColumnAnswer1].isEmpty())
        return MessageRequest{Text::noAnswer1(), QString(), MessageButtons::Ok, MessageIcon::None};
    if (mode == EditMode::Add && table.isFull())
        return MessageRequest::error(
            QStringLiteral("これ以上追加できません。\r項目数は%1までです。").arg(kMaxPoints));
    if (mode == EditMode::Edit && !table.hasSelection())
        return MessageRequest::error(Text::selectRow());
    if (const std::optional<QString> unstorable = unstorableBox(boxes))
        return MessageRequest::error(*unstorable + u'\r' + unstorableHint());
    return std::nullopt;
}

std::optional<QString> rowRefusal(const Point& row) {
    if (!NumericText::isNumeric(row[ColumnX]) || !NumericText::isNumeric(row[ColumnY]))
        return Text::badCoordinates();
    if (row[ColumnAnswer1].isEmpty())
        return Text::noAnswer1();
    if (const std::optional<QString> unstorable = unstorableBox(row))
        return unstorable;
    // Only the info box takes more than one line; an answer with a line break could never be
    // typed.
    for (int column = 0; column < ColumnInfo; ++column) {
        if (row[column].contains(u'\r') || row[column].contains(u'\n'))
            return PointColumns::boxName(column) + QStringLiteral("に改行が含まれています。");
    }
    return std::nullopt;
}

MessageRequest unstorableOnSave(const WriteResult& result, const QString& mapReference,
                                const PointList& rows) {
    QString where;
    QString character;
    if (result.row < 0) {
        where = QStringLiteral("ﾏｯﾌﾟ名");
        character = firstUnstorableCharacter(mapReference);
    } else {
        where = QStringLiteral("%1番目の項目の").arg(result.row + 1) +
                PointColumns::boxName(result.column);
        if (result.row < rows.size() && result.column >= 0 && result.column < kPointColumns)
            character = firstUnstorableCharacter(rows[result.row][result.column]);
    }
    return MessageRequest::error(unstorableLine(where, character) + u'\r' + unstorableHint() +
                                 u'\r' + QStringLiteral("ﾌｧｲﾙは保存されていません。"));
}

MessageRequest saveFailed(const QString& path, const QString& reason) {
    QString text = QStringLiteral("ﾌｧｲﾙを保存できませんでした。\r") + path;
    if (!reason.isEmpty())
        text += u'\r' + reason;
    return MessageRequest::error(text);
}

MessageRequest mapNotLoadable(const QString& path) {
    return MessageRequest::error(
        QStringLiteral("指定されたﾌｧｲﾙは、ﾋﾞｯﾄﾏｯﾌﾟとして読み込めません。\r") + path);
}

MessageRequest tooManyPoints() {
    return MessageRequest::error(
        QStringLiteral("項目数が%1を超えているため、途中までしか読み込めませんでした。")
            .arg(kMaxPoints));
}

MessageRequest itemCount(int rows) {
    return {QString::number(rows) + Text::itemsSuffix(), QString(), MessageButtons::Ok,
            MessageIcon::None};
}

QString infoFromBox(const QString& boxText) {
    // One pass, and none at all for a text of CR LF pairs only: a CSV import calls this for
    // every record.
    const qsizetype size = boxText.size();
    const auto lineEndsAt = [&](qsizetype i) {
        return boxText[i] == u'\r' && i + 1 < size && boxText[i + 1] == u'\n';
    };
    qsizetype i = 0;
    while (i < size && ((boxText[i] != u'\r' && boxText[i] != u'\n') || lineEndsAt(i)))
        i += boxText[i] == u'\r' ? 2 : 1;
    if (i == size)
        return boxText;
    QString text = boxText.first(i);
    for (; i < size; ++i) {
        if (boxText[i] == u'\r' || boxText[i] == u'\n') {
            text += QStringLiteral("\r\n");
            if (lineEndsAt(i))
                ++i;
        } else {
            text += boxText[i];
        }
    }
    return text;
}

QString infoToBox(const QString& stored) {
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace EditorRules
