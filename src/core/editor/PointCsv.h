#pragma once

#include "core/data/Point.h"
#include "core/platform/Services.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The editor's points as CSV, for spreadsheets: a header line x,y,hint,answer1,answer2,info,
// then one record per row in table order, UTF-8, quoted as RFC 4180 says.
//
// Cells a spreadsheet would run as a formula: a text that begins with = + - @, a tab or a CR is
// written with an apostrophe ' in front (a spreadsheet shows the text and drops the
// apostrophe), and so is a text that begins with an apostrophe itself, so that reading takes
// exactly one leading apostrophe off every cell and gets back what was written. Coordinates
// that read as numbers ("-5", "+1E2") stay as they are.
//
// Reading takes every record through the add button's checks; a record that fails is left out
// whole and reported with its line and reason. The file is read twice, in pieces, never held
// whole: once to choose its encoding, once for the records. It is UTF-8 when it begins with a
// byte order mark, when at least half of its lines that hold non-ASCII bytes are valid UTF-8,
// or when code page 932 reads no more of those lines than UTF-8 does; a record with bytes that
// are not UTF-8 is then left out, saying so. Otherwise it is code page 932 (what spreadsheets
// on Windows write), the message says so, and a record with bytes code page 932 cannot read is
// left out. A file without the header, with a record of another number of fields, or with
// broken quoting is refused whole.
namespace PointCsv {

inline QString header() {
    return QStringLiteral("x,y,hint,answer1,answer2,info");
}
// Larger files are refused.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;
// How much of a file is read at a time.
constexpr qint64 kChunkBytes = qint64(64) << 10;
// How many groups of rejected lines an import keeps for its report; the rest are only counted.
constexpr int kMaxReportedGroups = 30;

// Records one after the other (blank records between them aside) left out for one reason.
struct Rejection {
    int firstLine = 0;
    int lastLine = 0;
    int records = 0;    // how many
    int lastRecord = 0; // the last one's place among the records that are not blank
    QString reason;
};

struct Import {
    PointList rows;            // the records that passed, at most the room asked for, in file order
    QList<Rejection> rejected; // the first kMaxReportedGroups groups, in file order
    int rejectedRecords = 0;   // every record that did not pass, in a group above or not
    bool readAsCp932 = false;
    // The file was refused whole (nothing in `rows`): why.
    std::optional<MessageRequest> refusal;
};

// Reads CSV text for a table with room for `room` more rows; records that pass beyond that
// room are rejected for the limit.
Import parse(QByteArrayView bytes, int room);
// The same for a file, read `chunkBytes` at a time; one that cannot be read is refused with
// the reason.
Import read(const QString& path, int room, qint64 chunkBytes = kChunkBytes);

// The one message after an import that was not refused: how many rows came in, the note on
// the encoding, and the rejected lines with their reasons (consecutive lines with the same
// reason as one range), the lines past the groups kept only counted.
MessageRequest report(const Import& import);

// The file's bytes for these rows: a UTF-8 byte order mark (so spreadsheets know the
// encoding), the header, one record per row, CR LF line ends.
QByteArray encode(const PointList& rows);
// Writes the rows to `path` through the one atomic write; on failure the old file stays and
// the message says why.
std::optional<MessageRequest> write(const QString& path, const PointList& rows);

// The title of the import's messages, and the file dialog's filter.
QString importTitle();
QString exportTitle();
QString dialogFilter();

} // namespace PointCsv
