#include "core/data/FieldReader.h"

#include "core/data/Cp932.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
bool isFieldEnd(char c) {
    return c == ',' || c == '\r' || c == '\n';
}
} // namespace

FieldReader::FieldReader(QIODevice& device, qsizetype chunkSize)
    : m_device(device)
    , m_chunkSize(std::max<qsizetype>(chunkSize, 1)) {}

bool FieldReader::refill() {
    if (m_eof)
        return false;
    m_buffer.resize(m_chunkSize);
    const qint64 got = m_device.read(m_buffer.data(), m_chunkSize);
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

bool FieldReader::atEnd() {
    settle();
    return !fill();
}

void FieldReader::settle() {
    const Pending pending = std::exchange(m_pending, Pending::Nothing);
    if (pending == Pending::SkipLineFeed) {
        if (peek() == '\n')
            ++m_pos;
    } else if (pending == Pending::SkipToTerminator) {
        for (int c = peek(); c >= 0; c = peek()) {
            ++m_pos;
            if (c == ',' || c == '\n')
                return;
            if (c == '\r') {
                if (peek() == '\n')
                    ++m_pos;
                return;
            }
        }
    }
}

std::optional<QByteArrayView> FieldReader::scanField() {
    settle();
    if (!fill())
        return std::nullopt;
    for (int c = peek(); c == ' ' || c == '\t'; c = peek())
        ++m_pos;

    m_spill.clear();
    bool spilled = false;
    if (peek() == '"') {
        ++m_pos;
        while (fill()) {
            const char* begin = m_buffer.constData() + m_pos;
            const auto available = static_cast<size_t>(m_buffer.size() - m_pos);
            const auto* quote = static_cast<const char*>(std::memchr(begin, '"', available));
            if (quote) {
                const qsizetype length = quote - begin;
                m_pos += length + 1;
                m_pending = Pending::SkipToTerminator;
                if (!spilled)
                    return QByteArrayView(begin, length);
                m_spill.append(begin, length);
                return QByteArrayView(m_spill);
            }
            m_spill.append(begin, static_cast<qsizetype>(available));
            spilled = true;
            m_pos = m_buffer.size();
        }
        return QByteArrayView(m_spill); // unterminated: the end of the file closes it
    }

    while (fill()) {
        const qsizetype start = m_pos;
        const qsizetype size = m_buffer.size();
        const char* data = m_buffer.constData();
        while (m_pos < size && !isFieldEnd(data[m_pos]))
            ++m_pos;
        if (m_pos < size) {
            const QByteArrayView field(data + start, m_pos - start);
            if (data[m_pos++] == '\r')
                m_pending = Pending::SkipLineFeed;
            if (!spilled)
                return field;
            m_spill.append(field);
            return QByteArrayView(m_spill);
        }
        m_spill.append(data + start, m_pos - start);
        spilled = true;
    }
    return QByteArrayView(m_spill);
}

std::optional<QByteArray> FieldReader::readRawField() {
    const std::optional<QByteArrayView> field = scanField();
    if (!field)
        return std::nullopt;
    return field->toByteArray();
}

std::optional<QString> FieldReader::readField() {
    const std::optional<QByteArrayView> field = scanField();
    if (!field)
        return std::nullopt;
    return Cp932::decode(*field);
}
