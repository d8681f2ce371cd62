#pragma once

#include "data/Point.h"
#include "platform/Services.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The editor's points as CSV, for spreadsheets: a header line x,y,hint,answer1,answer2,info,
// then one record per row in table order, UTF-8, quoted as RFC 4180 says.
//
// Reading takes every record through the add button's checks; a record that fails is left out
// whole and reported with its line and reason. A file that is not UTF-8 is read as code page
// 932 (what spreadsheets on Windows write), and says so. A file without the header, with a
// record of another number of fields, or with broken quoting is refused whole.
namespace PointCsv {

inline QString header() {
    return QStringLiteral("x,y,hint,answer1,answer2,info");
}
// Larger files are refused rather than read into memory.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;

struct Rejection {
    int line = 0;
    QString reason;
    int record = 0; // its place among the records that are not blank: which rejections adjoin
};

struct Import {
    PointList rows;            // the records that passed, in file order
    QList<Rejection> rejected; // every record that did not, in file order
    bool readAsCp932 = false;
    // The file was refused whole (nothing in `rows`): why.
    std::optional<MessageRequest> refusal;
};

// Reads CSV text for a table with room for `room` more rows; records that pass beyond that
// room are rejected for the limit.
Import parse(QByteArrayView bytes, int room);
// The same for a file; one that cannot be read is refused with the reason.
Import read(const QString& path, int room);

// The one message after an import that was not refused: how many rows came in, the note on
// the encoding, and every rejected line with its reason (consecutive lines with the same
// reason as one range).
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
