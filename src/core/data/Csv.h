#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <memory>

// Comma-separated values as RFC 4180 writes them, through libcsv: a field may be quoted, and a
// quoted field holds commas, line breaks and quotes written twice. Fields stay bytes; the caller
// decides their encoding (only ASCII bytes are special here, so UTF-8 and code page 932 both
// pass unharmed).
namespace Csv {

struct Record {
    int line = 0; // the line the record begins on, the first line being 1
    QList<QByteArray> fields;
};

// Splits text handed in pieces of any size into records and hands each on as soon as it ends,
// so a file is read without holding it. Records end at CR LF, CR or LF outside quotes, and a
// piece may end anywhere (inside a field, between the CR and the LF); a line that holds
// nothing is no record. Blanks belong to the field they are in, as RFC 4180 says. Time and
// memory grow with the text's size, memory only with its longest record.
class Reader {
public:
    // Called with each record as it ends; the record is valid during the call only.
    using RecordHandler = std::function<void(const Record&)>;

    explicit Reader(RecordHandler onRecord);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // The next piece of the text. False once a quote stands where the format allows none
    // (inside an unquoted field, or after a closing quote); the records before it were handed
    // on, and later pieces are ignored.
    bool feed(QByteArrayView bytes);
    // The end of the text: hands on a last record without a line end. False for a quote never
    // closed, or when the text was malformed before.
    bool finish();
    // The line of the record the malformed quote is in, or 0 while the text is well formed.
    int malformedLine() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

struct Parsed {
    QList<Record> records;
    // As Reader::malformedLine(); the records before it are kept.
    int malformedLine = 0;
};

// The whole text at once, through a Reader.
Parsed parse(QByteArrayView text);

// One record as a line ending in CR LF. A field is quoted when it must be (it holds a comma, a
// quote or a line break) or when a reader might trim it (it begins or ends with a blank).
QByteArray formatRecord(const QList<QByteArray>& fields);

} // namespace Csv
