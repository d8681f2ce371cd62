#include "core/data/Csv.h"

#include <csv.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// RFC 4180: blanks are part of a field. libcsv would trim them from unquoted fields.
int noBlanks(unsigned char) {
    return 0;
}

// libcsv grows the buffer of the field being read by a fixed 128 bytes at a time, through
// realloc, so a long field would be copied over and over, in time with the square of its
// length. These keep a block's real room in front of it and double it when it runs out, so that
// most of libcsv's small steps find the room already there.
constexpr size_t kRoomHeader = alignof(std::max_align_t);

void* growField(void* block, size_t size) {
    char* base = block ? static_cast<char*>(block) - kRoomHeader : nullptr;
    size_t room = 0;
    if (base)
        std::memcpy(&room, base, sizeof room);
    if (size <= room)
        return block;
    if (size > SIZE_MAX / 2 - kRoomHeader)
        return nullptr; // libcsv asks for less
    size_t grown = std::max(size, room * 2);
    auto* moved = static_cast<char*>(std::realloc(base, grown + kRoomHeader));
    if (!moved && grown > size) {
        grown = size;
        moved = static_cast<char*>(std::realloc(base, grown + kRoomHeader));
    }
    if (!moved)
        return nullptr; // the old block stays libcsv's
    std::memcpy(moved, &grown, sizeof grown);
    return moved + kRoomHeader;
}

void freeField(void* block) {
    if (block)
        std::free(static_cast<char*>(block) - kRoomHeader);
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

// libcsv calls back with fields and record ends but tells no positions, so the text goes to it
// one physical line at a time: a line begins a record unless a record is still open from the
// lines before it (a quoted line break). Each byte is looked at once here, whatever the line
// ends are.
struct Reader::State {
    csv_parser parser{};
    bool parserReady = false;
    RecordHandler onRecord;
    Record current;
    int line = 0;            // the physical line being read
    bool atLineStart = true; // the next byte begins a line (unless it is the LF of a CR LF)
    bool afterCr = false;    // the last byte was a CR that ended a line
    bool lineBlank = true;   // the line holds nothing before its line end
    bool ended = false;      // a record ended on this line
    bool open = false;       // a record began on an earlier line and has not ended
    int malformedLine = 0;

    static void onField(void* bytes, size_t length, void* data) {
        auto* state = static_cast<State*>(data);
        state->current.fields.append(
            QByteArray(static_cast<const char*>(bytes), static_cast<qsizetype>(length)));
    }

    static void onRecordEnd(int, void* data) {
        auto* state = static_cast<State*>(data);
        state->onRecord(state->current);
        state->current.fields.clear(); // keeps its room for the next record's fields
        state->ended = true;
    }

    bool parse(const char* bytes, qsizetype length) {
        const auto size = static_cast<size_t>(length);
        if (csv_parse(&parser, bytes, size, onField, onRecordEnd, this) == size)
            return true;
        malformedLine = line;
        return false;
    }
};

Reader::Reader(RecordHandler onRecord)
    : m_state(std::make_unique<State>()) {
    m_state->onRecord = std::move(onRecord);
    if (csv_init(&m_state->parser, CSV_STRICT | CSV_STRICT_FINI) == 0) {
        m_state->parserReady = true;
        csv_set_space_func(&m_state->parser, noBlanks);
        csv_set_realloc_func(&m_state->parser, growField);
        csv_set_free_func(&m_state->parser, freeField);
    }
}

Reader::~Reader() {
    if (m_state->parserReady)
        csv_free(&m_state->parser);
}

int Reader::malformedLine() const {
    return m_state->malformedLine;
}

bool Reader::feed(QByteArrayView bytes) {
    State& s = *m_state;
    if (!s.parserReady || s.malformedLine > 0)
        return false;
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    while (at < end) {
        if (s.afterCr) {
            s.afterCr = false;
            if (*at == '\n') { // the rest of a CR LF: the line has ended already
                if (!s.parse(at, 1))
                    return false;
                ++at;
                continue;
            }
        }
        if (s.atLineStart) {
            s.atLineStart = false;
            ++s.line;
            s.lineBlank = true;
            s.ended = false;
            if (!s.open)
                s.current.line = s.line;
        }
        const char* stop = at;
        while (stop < end && !isLineBreak(*stop))
            ++stop;
        if (stop > at)
            s.lineBlank = false;
        if (stop == end) // the line goes on in the next piece
            return s.parse(at, end - at);
        if (!s.parse(at, stop + 1 - at))
            return false;
        if (s.ended)
            s.open = false;
        else if (!s.lineBlank)
            s.open = true;
        s.atLineStart = true;
        s.afterCr = *stop == '\r';
        at = stop + 1;
    }
    return true;
}

bool Reader::finish() {
    State& s = *m_state;
    if (!s.parserReady || s.malformedLine > 0)
        return false;
    if (csv_fini(&s.parser, State::onField, State::onRecordEnd, &s) != 0) {
        s.malformedLine = s.current.line; // a quote never closed
        return false;
    }
    return true;
}

Parsed parse(QByteArrayView text) {
    Parsed parsed;
    Reader reader([&parsed](const Record& record) { parsed.records.append(record); });
    if (!reader.feed(text) || !reader.finish())
        parsed.malformedLine = reader.malformedLine();
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
