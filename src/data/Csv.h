#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Comma-separated values as RFC 4180 writes them, through libcsv: a field may be quoted, and a
// quoted field holds commas, line breaks and quotes written twice. Fields stay bytes; the caller
// decides their encoding (only ASCII bytes are special here, so UTF-8 and code page 932 both
// pass unharmed).
namespace Csv {

struct Record {
    int line = 0; // the line the record begins on, the first line being 1
    QList<QByteArray> fields;
};

struct Parsed {
    QList<Record> records;
    // A quote where the format allows none (inside an unquoted field, after a closing quote, or
    // never closed): the line of the record it is in, or 0 when the text is well formed. The
    // records before it are kept.
    int malformedLine = 0;
};

// Splits text into records. Records end at CR LF, CR or LF outside quotes; a line that holds
// nothing is no record. Blanks belong to the field they are in, as RFC 4180 says.
Parsed parse(QByteArrayView text);

// One record as a line ending in CR LF. A field is quoted when it must be (it holds a comma, a
// quote or a line break) or when a reader might trim it (it begins or ends with a blank).
QByteArray formatRecord(const QList<QByteArray>& fields);

} // namespace Csv
