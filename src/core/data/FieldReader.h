#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// Reads the quoted, comma-separated fields of the program's text files one at a time,
// whatever the line structure:
//  - spaces and tabs before a field are skipped;
//  - a field that starts with a double quote runs to the next double quote, commas and line
//    breaks included; anything after the closing quote up to the next comma or line end
//    (included) is skipped;
//  - any other field runs up to the next comma or line end;
//  - a comma or a line end (CR LF, or a lone CR or LF) ends a field, so an empty line is one
//    empty field; the end of the file ends the last field too.
// The device is read in chunks, so memory stays proportional to the longest field.
class FieldReader {
public:
    static constexpr qsizetype kDefaultChunkSize = 64 * 1024;

    // `chunkSize` (at least 1) is how much is read at a time; tests and fuzzers make it tiny
    // so that fields and line ends fall across chunk seams.
    explicit FieldReader(QIODevice& device, qsizetype chunkSize = kDefaultChunkSize);

    // The next field, decoded from code page 932; nothing when the file is at its end.
    std::optional<QString> readField();

    // The next field as raw bytes.
    std::optional<QByteArray> readRawField();

    // The next field's raw bytes without a copy; valid until the next call on this reader.
    std::optional<QByteArrayView> readFieldView() { return scanField(); }

    // True when nothing is left to read.
    bool atEnd();

    // True when the device reported a read failure (the reader then behaves as at the end).
    bool failed() const { return m_failed; }

private:
    enum class Pending { Nothing, SkipToTerminator, SkipLineFeed };

    // Makes at least one unread byte available; false at the end.
    bool fill() { return m_pos < m_buffer.size() || refill(); }
    bool refill();
    // The next byte, or -1 at the end.
    int peek() { return fill() ? static_cast<uchar>(m_buffer[m_pos]) : -1; }
    void settle(); // finishes the previous field's terminator
    // The next field's bytes: a view into the read buffer, or into m_spill when the field
    // crosses a chunk boundary. Valid until the next call.
    std::optional<QByteArrayView> scanField();

    QIODevice& m_device;
    qsizetype m_chunkSize;
    QByteArray m_buffer;
    QByteArray m_spill;
    qsizetype m_pos = 0;
    Pending m_pending = Pending::Nothing;
    bool m_eof = false;
    bool m_failed = false;
};
