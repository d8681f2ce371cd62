#include "core/editor/PointCsv.h"

#include "core/data/AtomicFile.h"
#include "core/data/Cp932.h"
#include "core/data/Csv.h"
#include "core/data/NumericText.h"
#include "core/editor/EditorRules.h"
#include "core/platform/SystemError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <cerrno>

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

Import tooLarge(const QString& path) {
    return refused(QStringLiteral("ﾌｧｲﾙが大きすぎます(%1MBまで)。\r").arg(kMaxFileBytes >> 20) +
                   path);
}

// UTF-8 as Unicode defines it (no overlong forms, no surrogates, nothing past U+10FFFF), taken
// in pieces that may end inside a character.
class Utf8Check {
public:
    bool valid() const { return m_valid && m_need == 0; }

    void add(const unsigned char* at, const unsigned char* end) {
        while (m_valid && at < end) {
            if (m_need > 0) { // the rest of a character begun in an earlier piece
                m_valid = *at >= m_low && *at <= m_high;
                m_low = 0x80;
                m_high = 0xBF;
                --m_need;
                ++at;
                continue;
            }
            const unsigned char byte = *at++;
            if (byte < 0x80)
                continue;
            if (byte >= 0xC2 && byte <= 0xDF) {
                m_need = 1;
            } else if (byte >= 0xE0 && byte <= 0xEF) {
                m_need = 2;
                m_low = byte == 0xE0 ? 0xA0 : 0x80;
                m_high = byte == 0xED ? 0x9F : 0xBF;
            } else if (byte >= 0xF0 && byte <= 0xF4) {
                m_need = 3;
                m_low = byte == 0xF0 ? 0x90 : 0x80;
                m_high = byte == 0xF4 ? 0x8F : 0xBF;
            } else {
                m_valid = false;
                return;
            }
            if (end - at < m_need)
                continue; // the character goes on in the next piece
            // The whole character is here: its bytes at once.
            m_valid = at[0] >= m_low && at[0] <= m_high;
            for (int k = 1; k < m_need; ++k)
                m_valid = m_valid && (at[k] & 0xC0) == 0x80;
            at += m_need;
            m_need = 0;
            m_low = 0x80;
            m_high = 0xBF;
        }
    }

private:
    bool m_valid = true;
    int m_need = 0; // continuation bytes still to come
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
};

bool isValidUtf8(QByteArrayView bytes) {
    Utf8Check check;
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    check.add(at, at + bytes.size());
    return check.valid();
}

// The shape of code page 932: single bytes, and lead bytes each followed by a trail byte.
class Cp932Check {
public:
    bool valid() const { return m_valid && !m_trail; }

    void add(const unsigned char* at, const unsigned char* end) {
        for (; m_valid && at < end; ++at) {
            const unsigned char byte = *at;
            if (m_trail) {
                m_trail = false;
                m_valid = (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
            } else if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
                m_trail = true;
            } else if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD) {
                m_valid = false;
            }
        }
    }

private:
    bool m_valid = true;
    bool m_trail = false;
};

// The first pass over a file: which encoding reads it. Each line (CR or LF ends it; neither
// encoding uses those bytes inside a character) that holds a non-ASCII byte votes for each
// encoding that reads it. UTF-8 Japanese often reads as code page 932 too, and code page 932
// Japanese almost never as UTF-8, so code page 932 wins only where UTF-8 reads fewer than half
// of those lines and code page 932 reads more of them. A file that begins with a byte order
// mark needs no vote.
class EncodingVote {
public:
    void add(QByteArrayView bytes) {
        const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
        const auto* const end = at + bytes.size();
        while (at < end) {
            const unsigned char* stop = at;
            unsigned char all = 0; // every byte of the piece of the line ORed
            while (stop < end && *stop != '\r' && *stop != '\n')
                all |= *stop++;
            if (all >= 0x80 || m_nonAscii) { // an ASCII piece after a non-ASCII one counts too
                m_nonAscii = true;
                m_utf8.add(at, stop);
                m_cp932.add(at, stop);
            }
            if (stop == end)
                break;
            endLine();
            at = stop + 1;
        }
    }

    bool utf8() {
        endLine();
        return 2 * m_utf8Lines >= m_nonAsciiLines || m_cp932Lines <= m_utf8Lines;
    }

private:
    void endLine() {
        if (m_nonAscii) {
            ++m_nonAsciiLines;
            m_utf8Lines += m_utf8.valid() ? 1 : 0;
            m_cp932Lines += m_cp932.valid() ? 1 : 0;
        }
        m_nonAscii = false;
        m_utf8 = Utf8Check();
        m_cp932 = Cp932Check();
    }

    bool m_nonAscii = false; // in the line being read
    Utf8Check m_utf8;
    Cp932Check m_cp932;
    qint64 m_nonAsciiLines = 0;
    qint64 m_utf8Lines = 0;
    qint64 m_cp932Lines = 0;
};

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

// A cell as written: the apostrophe that keeps a spreadsheet from running it (see PointCsv.h).
QString cellText(int column, const QString& text) {
    static constexpr QStringView kGuarded = u"=+-@\t\r'";
    if (text.isEmpty() || !kGuarded.contains(text.front()))
        return text;
    if ((column == ColumnX || column == ColumnY) && NumericText::toNumber(text))
        return text;
    return u'\'' + text;
}

// The second pass: records as they come, through the header, the field count and the add
// button's checks. Past the room, and past the groups of rejected lines the report lists, a
// record is only counted, so memory stays bounded whatever the file holds.
class Importer {
public:
    Importer(bool utf8, int room)
        : m_utf8(utf8)
        , m_room(room)
        , m_reader([this](const Csv::Record& record) { take(record); }) {
        m_import.readAsCp932 = !utf8;
    }

    bool feed(QByteArrayView bytes) { return m_reader.feed(bytes); }

    // Broken quoting is told first, wherever it is; then a missing header, then a record of
    // another field count.
    Import finish() {
        m_reader.finish();
        const bool cp932 = !m_utf8;
        if (m_reader.malformedLine() > 0)
            return refused(QStringLiteral("%1行目のﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")の使い方が正しくありません。")
                               .arg(m_reader.malformedLine()),
                           cp932);
        if (m_stage == Stage::BeforeHeader || m_noHeader)
            return refused(QStringLiteral("先頭に見出しの行 %1 がありません。").arg(header()),
                           cp932);
        if (m_badLine > 0)
            return refused(QStringLiteral("%1行目の列の数が%2です。列は%3つ必要です(%4)。")
                               .arg(m_badLine)
                               .arg(m_badFields)
                               .arg(kPointColumns)
                               .arg(header()),
                           cp932);
        return std::move(m_import);
    }

private:
    enum class Stage { BeforeHeader, Rows, Refused };

    // The field's text, or nothing when its bytes are not of the file's encoding.
    std::optional<QString> decode(const QByteArray& field) const {
        if (m_utf8) {
            // Bad bytes become U+FFFD, which good ones rarely are: only then look closer.
            QString text = QString::fromUtf8(field);
            if (text.contains(QChar::ReplacementCharacter) && !isValidUtf8(field))
                return std::nullopt;
            return text;
        }
        QString text = Cp932::decode(field);
        if (text.contains(QChar::ReplacementCharacter))
            return std::nullopt;
        return text;
    }

    void take(const Csv::Record& record) {
        if (m_stage == Stage::Refused || isBlank(record))
            return; // a refused file is still parsed: broken quoting later on is told first
        if (m_stage == Stage::BeforeHeader) {
            QList<QString> fields;
            for (const QByteArray& field : record.fields)
                fields.append(decode(field).value_or(QString()));
            m_noHeader = !isHeader(fields);
            m_stage = m_noHeader ? Stage::Refused : Stage::Rows;
            return;
        }
        // A record with another number of fields means the columns cannot be trusted at all.
        if (record.fields.size() != kPointColumns) {
            m_badLine = record.line;
            m_badFields = record.fields.size();
            m_stage = Stage::Refused;
            m_import.rows.clear();
            return;
        }

        ++m_ordinal;
        Point row;
        for (int column = 0; column < kPointColumns; ++column) {
            std::optional<QString> text = decode(record.fields[column]);
            if (!text) {
                reject(record.line,
                       m_utf8 ? QStringLiteral("UTF-8として読めないﾊﾞｲﾄが含まれています。")
                              : QStringLiteral("ｼﾌﾄJISとして読めないﾊﾞｲﾄが含まれています。"));
                return;
            }
            if (text->startsWith(u'\''))
                text->remove(0, 1);
            row[column] = std::move(*text);
        }
        row[ColumnInfo] = EditorRules::infoFromBox(row[ColumnInfo]);
        if (std::optional<QString> reason = EditorRules::rowRefusal(row))
            reject(record.line, *reason);
        else if (m_import.rows.size() >= m_room)
            reject(record.line, m_limitReason);
        else
            m_import.rows.append(std::move(row));
    }

    void reject(int line, const QString& reason) {
        ++m_import.rejectedRecords;
        QList<Rejection>& groups = m_import.rejected;
        if (!groups.isEmpty()) {
            Rejection& last = groups.back();
            if (last.reason == reason && last.lastRecord + 1 == m_ordinal) {
                last.lastLine = line;
                last.lastRecord = m_ordinal;
                ++last.records;
                return;
            }
        }
        if (groups.size() < kMaxReportedGroups)
            groups.append({line, line, 1, m_ordinal, reason});
    }

    const bool m_utf8;
    const int m_room;
    const QString m_limitReason =
        QStringLiteral("項目数が%1を超えるため、追加できません。").arg(kMaxPoints);
    Csv::Reader m_reader;
    Stage m_stage = Stage::BeforeHeader;
    bool m_noHeader = false;
    int m_badLine = 0; // the first record of another field count
    qsizetype m_badFields = 0;
    int m_ordinal = 0; // records that are not blank, after the header
    Import m_import;
};

} // namespace

Import parse(QByteArrayView bytes, int room) {
    const bool byteOrderMark = bytes.startsWith(kByteOrderMark);
    EncodingVote vote;
    if (!byteOrderMark)
        vote.add(bytes);
    Importer importer(byteOrderMark || vote.utf8(), room);
    importer.feed(byteOrderMark ? bytes.sliced(kByteOrderMark.size()) : bytes);
    return importer.finish();
}

Import read(const QString& path, int room, qint64 chunkBytes) {
    const QFileInfo info(path);
    // A FIFO or a device would block or never end.
    if (info.exists() && !info.isFile())
        return refused(QStringLiteral("通常のﾌｧｲﾙではないため、読み込めません。\r") + path);
    if (info.size() > kMaxFileBytes)
        return tooLarge(path);
    QFile file(path);
    // errno is read at once after the call that failed, before anything else can change it.
    int failure = 0;
    const auto readFailed = [&] {
        return refused(QStringLiteral("ﾌｧｲﾙを読み込めませんでした。\r") + path + u'\r' +
                       SystemError::describe(file, failure));
    };
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        failure = errno;
        return readFailed();
    }

    QByteArray buffer(std::max<qint64>(chunkBytes, 1), Qt::Uninitialized);
    // Hands each piece of the file to `take` until the end or until `take` says no more; the
    // file grown past the limit since it was looked at ends it too. False on a read error.
    bool large = false;
    const auto eachPiece = [&](const auto& take) {
        qint64 total = 0;
        for (;;) {
            errno = 0;
            const qint64 size = file.read(buffer.data(), buffer.size());
            if (size < 0 || file.error() != QFileDevice::NoError) {
                failure = errno;
                return false;
            }
            total += size;
            large = total > kMaxFileBytes;
            if (size == 0 || large || !take(QByteArrayView(buffer.constData(), size)))
                return true;
        }
    };

    char head[kByteOrderMark.size()];
    errno = 0;
    const qint64 headSize = file.peek(head, sizeof head);
    if (headSize < 0) {
        failure = errno;
        return readFailed();
    }
    const bool byteOrderMark = QByteArrayView(head, headSize) == kByteOrderMark;
    EncodingVote vote;
    if (!byteOrderMark) {
        if (!eachPiece([&](QByteArrayView piece) {
                vote.add(piece);
                return true;
            }))
            return readFailed();
        if (large)
            return tooLarge(path);
        errno = 0;
        if (!file.seek(0)) {
            failure = errno;
            return readFailed();
        }
    }

    Importer importer(byteOrderMark || vote.utf8(), room);
    qsizetype skip = byteOrderMark ? kByteOrderMark.size() : 0;
    if (!eachPiece([&](QByteArrayView piece) {
            const qsizetype cut = std::min(skip, piece.size());
            skip -= cut;
            return importer.feed(piece.sliced(cut)); // broken quoting ends the reading
        }))
        return readFailed();
    if (large)
        return tooLarge(path);
    return importer.finish();
}

MessageRequest report(const Import& import) {
    QString text = QStringLiteral("%1項目を取り込みました。").arg(import.rows.size());
    if (import.readAsCp932)
        text += u'\r' + cp932Note();
    if (import.rejectedRecords == 0)
        return {text, importTitle(), MessageButtons::Ok, MessageIcon::None};

    text += QStringLiteral("\r次の%1行は取り込めませんでした。").arg(import.rejectedRecords);
    int listed = 0;
    for (const Rejection& group : import.rejected) {
        text += u'\r' + linesText(group.firstLine, group.lastLine) + QStringLiteral(": ") +
                group.reason;
        listed += group.records;
    }
    if (listed < import.rejectedRecords)
        text += QStringLiteral("\rほか%1行").arg(import.rejectedRecords - listed);
    return MessageRequest::error(text, importTitle());
}

QByteArray encode(const PointList& rows) {
    QByteArray bytes = kByteOrderMark.toByteArray();
    bytes += header().toUtf8() + "\r\n";
    QList<QByteArray> fields(kPointColumns);
    for (const Point& row : rows) {
        for (int column = 0; column < kPointColumns; ++column)
            fields[column] = cellText(column, row[column]).toUtf8();
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
