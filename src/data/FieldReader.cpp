#include "data/FieldReader.h"

#include "data/Cp932.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr qint64 kChunkSize = 64 * 1024;

bool isFieldEnd(char c) { return c == ',' || c == '\r' || c == '\n'; }
} // namespace

FieldReader::FieldReader(QIODevice& device)
    : m_device(device) {}

bool FieldReader::fill() {
    if (m_pos < m_buffer.size())
        return true;
    if (m_eof)
        return false;
    m_buffer.resize(kChunkSize);
    const qint64 got = m_device.read(m_buffer.data(), kChunkSize);
    if (got < 0)
        m_failed = true;
    if (got <= 0) {
        m_buffer.clear();
        m_pos = 0;
        m_eof = true;
        return false;
    }
    m_buffer.resize(got);
    m_pos = 0;
    return true;
}

int FieldReader::peek() {
    return fill() ? static_cast<uchar>(m_buffer[m_pos]) : -1;
}

bool FieldReader::atEnd() { return !fill(); }

void FieldReader::skipLineEnd() {
    if (peek() == '\n')
        ++m_pos;
}

void FieldReader::skipToTerminator() {
    for (int c = peek(); c >= 0; c = peek()) {
        ++m_pos;
        if (c == ',' || c == '\n')
            return;
        if (c == '\r') {
            skipLineEnd();
            return;
        }
    }
}

std::optional<QByteArray> FieldReader::readRawField() {
    if (!fill())
        return std::nullopt;
    for (int c = peek(); c == ' ' || c == '\t'; c = peek())
        ++m_pos;

    QByteArray field;
    if (peek() == '"') {
        ++m_pos;
        while (fill()) {
            const char* begin = m_buffer.constData() + m_pos;
            const auto available = static_cast<size_t>(m_buffer.size() - m_pos);
            const void* quote = std::memchr(begin, '"', available);
            if (quote) {
                const auto length = static_cast<const char*>(quote) - begin;
                field.append(begin, length);
                m_pos += length + 1;
                skipToTerminator();
                return field;
            }
            field.append(begin, static_cast<qsizetype>(available));
            m_pos = m_buffer.size();
        }
        return field; // unterminated: the end of the file closes it
    }

    while (fill()) {
        const qsizetype start = m_pos;
        const qsizetype size = m_buffer.size();
        const char* data = m_buffer.constData();
        while (m_pos < size && !isFieldEnd(data[m_pos]))
            ++m_pos;
        field.append(data + start, m_pos - start);
        if (m_pos < size) {
            const char terminator = data[m_pos++];
            if (terminator == '\r')
                skipLineEnd();
            return field;
        }
    }
    return field;
}

std::optional<QString> FieldReader::readField() {
    std::optional<QByteArray> raw = readRawField();
    if (!raw)
        return std::nullopt;
    return Cp932::decode(*raw);
}
