#include "editor/PointCsv.h"

#include "data/AtomicFile.h"
#include "data/Cp932.h"
#include "data/Csv.h"
#include "editor/EditorRules.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace PointCsv {

QString importTitle() {
    return QStringLiteral("CSVﾌｧｲﾙの取り込み");
}

QString exportTitle() {
    return QStringLiteral("CSVﾌｧｲﾙへの書き出し");
}

QString dialogFilter() {
    return QStringLiteral("CSVﾌｧｲﾙ(*.csv)|*.csv");
}

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
// How many groups of rejected lines the report lists before it only counts the rest.
constexpr int kMaxReportedGroups = 30;

QString cp932Note() {
    return QStringLiteral("UTF-8ではないため、ｼﾌﾄJISとして読み込みました。");
}

Import refused(const QString& text, bool cp932 = false) {
    Import import;
    import.readAsCp932 = cp932;
    QString message = text;
    if (cp932)
        message += u'\r' + cp932Note();
    import.refusal = MessageRequest::error(
        message + QStringLiteral("\rﾌｧｲﾙは取り込まれていません。"), importTitle());
    return import;
}

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder.decode(bytes); // decode() converts only when assigned
    return !decoder.hasError();
}

// A record of nothing but empty or blank fields, as spreadsheets write for empty rows.
bool isBlank(const Csv::Record& record) {
    for (const QByteArray& field : record.fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

bool isHeader(const QList<QString>& fields) {
    const QStringList names = header().split(u',');
    if (fields.size() != names.size())
        return false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (fields[i].trimmed().compare(names[i], Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

QString linesText(int first, int last) {
    return first == last ? QStringLiteral("%1行目").arg(first)
                         : QStringLiteral("%1～%2行目").arg(first).arg(last);
}

} // namespace

Import parse(QByteArrayView bytes, int room) {
    const bool utf8 = isValidUtf8(bytes);
    if (utf8 && bytes.startsWith(kByteOrderMark))
        bytes = bytes.sliced(kByteOrderMark.size());
    const auto decode = [utf8](const QByteArray& field) {
        return utf8 ? QString::fromUtf8(field) : Cp932::decode(field);
    };

    Csv::Parsed parsed = Csv::parse(bytes);
    if (parsed.malformedLine > 0)
        return refused(QStringLiteral("%1行目のﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")の使い方が正しくありません。")
                           .arg(parsed.malformedLine),
                       !utf8);

    QList<Csv::Record>& records = parsed.records;
    qsizetype next = 0;
    while (next < records.size() && isBlank(records[next]))
        ++next;
    QList<QString> headerFields;
    if (next < records.size()) {
        for (const QByteArray& field : records[next].fields)
            headerFields.append(decode(field));
    }
    if (!isHeader(headerFields))
        return refused(QStringLiteral("先頭に見出しの行 %1 がありません。").arg(header()), !utf8);

    // A record with another number of fields means the columns cannot be trusted at all.
    for (qsizetype i = next + 1; i < records.size(); ++i) {
        const Csv::Record& record = records[i];
        if (record.fields.size() != kPointColumns && !isBlank(record))
            return refused(QStringLiteral("%1行目の列の数が%2です。列は%3つ必要です(%4)。")
                               .arg(record.line)
                               .arg(record.fields.size())
                               .arg(kPointColumns)
                               .arg(header()),
                           !utf8);
    }

    Import import;
    import.readAsCp932 = !utf8;
    import.rows.reserve(std::min<qsizetype>(room, records.size()));
    int ordinal = 0;
    for (qsizetype i = next + 1; i < records.size(); ++i) {
        const Csv::Record& record = records[i];
        if (isBlank(record))
            continue;
        ++ordinal;
        Point row;
        for (int column = 0; column < kPointColumns; ++column)
            row[column] = decode(record.fields[column]);
        row[ColumnInfo] = EditorRules::infoFromBox(row[ColumnInfo]);
        if (std::optional<QString> reason = EditorRules::rowRefusal(row)) {
            import.rejected.append({record.line, std::move(*reason), ordinal});
        } else if (import.rows.size() >= room) {
            import.rejected.append(
                {record.line,
                 QStringLiteral("項目数が%1を超えるため、追加できません。").arg(kMaxPoints),
                 ordinal});
        } else {
            import.rows.append(std::move(row));
        }
    }
    return import;
}

Import read(const QString& path, int room) {
    const QFileInfo info(path);
    // A FIFO or a device would block or never end.
    if (info.exists() && !info.isFile())
        return refused(QStringLiteral("通常のﾌｧｲﾙではないため、読み込めません。\r") + path);
    if (info.size() > kMaxFileBytes)
        return refused(QStringLiteral("ﾌｧｲﾙが大きすぎます(%1MBまで)。\r").arg(kMaxFileBytes >> 20) +
                       path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("ﾌｧｲﾙを読み込めませんでした。\r") + path + u'\r' +
                       file.errorString());
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("ﾌｧｲﾙを読み込めませんでした。\r") + path + u'\r' +
                       file.errorString());
    if (bytes.size() > kMaxFileBytes)
        return refused(QStringLiteral("ﾌｧｲﾙが大きすぎます(%1MBまで)。\r").arg(kMaxFileBytes >> 20) +
                       path);
    return parse(bytes, room);
}

MessageRequest report(const Import& import) {
    QString text = QStringLiteral("%1項目を取り込みました。").arg(import.rows.size());
    if (import.readAsCp932)
        text += u'\r' + cp932Note();
    if (import.rejected.isEmpty())
        return {text, importTitle(), MessageButtons::Ok, MessageIcon::None};

    text += QStringLiteral("\r次の%1行は取り込めませんでした。").arg(import.rejected.size());
    int groups = 0;
    qsizetype i = 0;
    while (i < import.rejected.size() && groups < kMaxReportedGroups) {
        // Records rejected one after the other for the same reason make one range; blank
        // records between them do not break it.
        const auto adjoins = [&](qsizetype at) {
            const PointCsv::Rejection& before = import.rejected[at - 1];
            const PointCsv::Rejection& after = import.rejected[at];
            return after.reason == before.reason && after.record == before.record + 1;
        };
        qsizetype last = i;
        while (last + 1 < import.rejected.size() && adjoins(last + 1))
            ++last;
        text += u'\r' + linesText(import.rejected[i].line, import.rejected[last].line) +
                QStringLiteral(": ") + import.rejected[i].reason;
        ++groups;
        i = last + 1;
    }
    if (i < import.rejected.size())
        text += QStringLiteral("\rほか%1行").arg(import.rejected.size() - i);
    return MessageRequest::error(text, importTitle());
}

QByteArray encode(const PointList& rows) {
    QByteArray bytes = kByteOrderMark.toByteArray();
    bytes += header().toUtf8() + "\r\n";
    QList<QByteArray> fields(kPointColumns);
    for (const Point& row : rows) {
        for (int column = 0; column < kPointColumns; ++column)
            fields[column] = row[column].toUtf8();
        bytes += Csv::formatRecord(fields);
    }
    return bytes;
}

std::optional<MessageRequest> write(const QString& path, const PointList& rows) {
    QString reason;
    if (AtomicFile::write(path, encode(rows), &reason))
        return std::nullopt;
    return MessageRequest::error(
        QStringLiteral("CSVﾌｧｲﾙを書き出せませんでした。\r") + path + u'\r' + reason, exportTitle());
}

} // namespace PointCsv
