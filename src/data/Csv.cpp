#include "data/Csv.h"

#include <csv.h>

#include <cstring>

namespace {

struct ParseState {
    Csv::Parsed* out = nullptr;
    Csv::Record current;
    bool ended = false; // a record ended during the last call of the parser
};

void onField(void* bytes, size_t length, void* data) {
    auto* state = static_cast<ParseState*>(data);
    state->current.fields.append(
        QByteArray(static_cast<const char*>(bytes), static_cast<qsizetype>(length)));
}

void onRecordEnd(int, void* data) {
    auto* state = static_cast<ParseState*>(data);
    const int line = state->current.line;
    state->out->records.append(std::move(state->current));
    state->current = Csv::Record{};
    state->current.line = line;
    state->ended = true;
}

// RFC 4180: blanks are part of a field. libcsv would trim them from unquoted fields.
int noBlanks(unsigned char) {
    return 0;
}

// The end of the physical line that starts at `from`: just past its CR LF, CR or LF.
qsizetype lineEnd(QByteArrayView text, qsizetype from) {
    const char* begin = text.data() + from;
    const qsizetype rest = text.size() - from;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', rest));
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', rest));
    if (!cr && !lf)
        return text.size();
    if (cr && (!lf || cr < lf))
        return from + (cr - begin) + ((cr + 1 == lf) ? 2 : 1);
    return from + (lf - begin) + 1;
}

bool isQuoteWorthy(const QByteArray& field) {
    if (field.isEmpty())
        return false;
    const auto blank = [](char c) {
        return c == ' ' || c == '\t';
    };
    return blank(field.front()) || blank(field.back()) || field.contains(',') ||
           field.contains('"') || field.contains('\r') || field.contains('\n');
}

} // namespace

namespace Csv {

Parsed parse(QByteArrayView text) {
    Parsed parsed;
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
        return parsed;
    csv_set_space_func(&parser, noBlanks);
    ParseState state;
    state.out = &parsed;

    // The text goes in line by line so that each record knows the line it begins on: a line
    // begins a record unless a record is still open from the lines before it (a quoted line
    // break).
    bool open = false;
    int line = 0;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype end = lineEnd(text, from);
        ++line;
        if (!open)
            state.current.line = line;
        state.ended = false;
        const auto length = static_cast<size_t>(end - from);
        if (csv_parse(&parser, text.data() + from, length, onField, onRecordEnd, &state) !=
            length) {
            parsed.malformedLine = line;
            csv_free(&parser);
            return parsed;
        }
        const bool blank = text[from] == '\r' || text[from] == '\n';
        if (state.ended)
            open = false;
        else if (!blank)
            open = true;
        from = end;
    }
    if (csv_fini(&parser, onField, onRecordEnd, &state) != 0)
        parsed.malformedLine = state.current.line; // a quote never closed
    csv_free(&parser);
    return parsed;
}

QByteArray formatRecord(const QList<QByteArray>& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const QByteArray& field = fields[i];
        if (!isQuoteWorthy(field)) {
            line += field;
            continue;
        }
        const size_t size = csv_write(nullptr, 0, field.constData(), field.size());
        const qsizetype at = line.size();
        line.resize(at + static_cast<qsizetype>(size));
        csv_write(line.data() + at, size, field.constData(), field.size());
    }
    line += "\r\n";
    return line;
}

} // namespace Csv
