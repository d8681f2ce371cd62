#include "core/data/Cp932.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

// The conversion tables are built once, from Qt's ICU converter, the first time they are
// needed: ICU holds the code page's data, while a per-character table lookup is ten times
// faster than calling the converter for every field, and keeps ASCII as Windows has it (the
// ICU table swaps the control codes 0x1A, 0x1C and 0x7F).

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(uchar b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
bool isSingleByteKana(uchar b) {
    return b >= 0xA1 && b <= 0xDF;
}

// What ICU gives for a byte sequence it has no character for.
bool isSubstitute(char16_t c) {
    return c == kReplacement || c == 0x001A;
}

// Five single bytes that the code page leaves unassigned are mapped by Windows to characters of
// their own (U+0080 and four private-use characters) and back; ICU has no mapping for them.
constexpr std::pair<uchar, char16_t> kWindowsSingleBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

// Character of each byte pair (lead << 8 | trail) and single byte; 0 when unassigned.
struct DecodeTable {
    std::array<char16_t, 0x10000> toUnicode{};
};

// Code of each BMP character: a single byte below 0x100, a pair above; 0 when none.
struct EncodeTable {
    std::array<quint16, 0x10000> fromUnicode{};
};

void buildDecodeTable(DecodeTable& t) {
    QByteArray all;
    QList<quint16> codes;
    for (int b = 0xA1; b <= 0xDF; ++b) {
        all += char(b);
        codes.append(quint16(b));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(uchar(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(uchar(trail)))
                continue;
            all += char(lead);
            all += char(trail);
            codes.append(quint16(lead << 8 | trail));
        }
    }
    for (const auto& [byte, c] : kWindowsSingleBytes)
        t.toUnicode[byte] = c;
    QStringDecoder decoder("CP932", QStringConverter::Flag::Stateless);
    const QString text = decoder(all);
    // Unassigned pairs set hasError(); each still gives exactly one substitute, so the output
    // lines up with the codes. If it ever does not, decode code by code instead.
    if (text.size() == codes.size()) {
        for (qsizetype i = 0; i < codes.size(); ++i) {
            if (!isSubstitute(text[i].unicode()))
                t.toUnicode[codes[i]] = text[i].unicode();
        }
        return;
    }
    for (qsizetype i = 0, at = 0; i < codes.size(); ++i) {
        const qsizetype len = codes[i] > 0xFF ? 2 : 1;
        QStringDecoder single("CP932", QStringConverter::Flag::Stateless);
        const QString c = single(QByteArrayView(all).sliced(at, len));
        at += len;
        if (!single.hasError() && c.size() == 1 && !isSubstitute(c[0].unicode()))
            t.toUnicode[codes[i]] = c[0].unicode();
    }
}

quint16 encodeOne(QChar c) {
    QStringEncoder encoder("CP932", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder(QStringView(&c, 1));
    if (encoder.hasError())
        return 0;
    if (bytes.size() == 1)
        return uchar(bytes[0]);
    if (bytes.size() == 2)
        return quint16(uchar(bytes[0]) << 8 | uchar(bytes[1]));
    return 0;
}

// Only codes that decode back to a character are kept, so encoding never writes bytes that
// the reader would turn into a replacement character.
void keepIfRoundTrips(EncodeTable& t, const DecodeTable& decode, char16_t c, quint16 code) {
    if (code >= 0x80 && decode.toUnicode[code] != 0)
        t.fromUnicode[c] = code;
}

void buildEncodeTable(EncodeTable& t, const DecodeTable& decode) {
    // Every character follows a line feed, which no code contains: ICU skips unmappable
    // "default ignorable" characters without a trace, so the output must be cut per character.
    QString all;
    QList<char16_t> chars;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        all += u'\n';
        all += QChar(char16_t(c));
        chars.append(char16_t(c));
    }
    QStringEncoder encoder("CP932", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder(all);
    // Cut the output at the line feeds: the bytes between two of them are one character's code.
    QList<quint16> codes;
    codes.reserve(chars.size());
    qsizetype at = bytes.isEmpty() || bytes[0] != '\n' ? -1 : 0;
    while (at >= 0 && at < bytes.size()) {
        const qsizetype next = bytes.indexOf('\n', at + 1);
        const qsizetype end = next < 0 ? bytes.size() : next;
        const QByteArrayView code = QByteArrayView(bytes).sliced(at + 1, end - at - 1);
        quint16 value = 0;
        if (code.size() == 1)
            value = uchar(code[0]);
        else if (code.size() == 2 && code != "\xFC\xFC") // FC FC: ICU's mark for "no code"
            value = quint16(uchar(code[0]) << 8 | uchar(code[1]));
        codes.append(value);
        at = next;
    }
    if (codes.size() != chars.size()) {
        for (const char16_t c : chars)
            keepIfRoundTrips(t, decode, c, encodeOne(QChar(c)));
    } else {
        for (qsizetype i = 0; i < chars.size(); ++i)
            keepIfRoundTrips(t, decode, chars[i], codes[i]);
    }
    // The five Windows single bytes stand for their own characters only: no other character
    // that ICU might approximate by one of them is written as it.
    for (quint16& code : t.fromUnicode) {
        for (const auto& [byte, c] : kWindowsSingleBytes) {
            if (code == byte)
                code = 0;
        }
    }
    for (const auto& [byte, c] : kWindowsSingleBytes)
        t.fromUnicode[c] = byte;
}

// Each table is built on first use, so reading files never pays for the encoding table.
const DecodeTable& decodeTable() {
    static const std::unique_ptr<const DecodeTable> built = [] {
        auto t = std::make_unique<DecodeTable>();
        buildDecodeTable(*t);
        return t;
    }();
    return *built;
}

const EncodeTable& encodeTable() {
    static const std::unique_ptr<const EncodeTable> built = [] {
        auto t = std::make_unique<EncodeTable>();
        buildEncodeTable(*t, decodeTable());
        return t;
    }();
    return *built;
}

} // namespace

namespace Cp932 {

QString decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const char16_t* const start = dst;
    const auto* src = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = src + bytes.size();
    // ASCII needs no table: the settings file and plain paths never build it.
    while (src < end && *src < 0x80)
        *dst++ = *src++;
    if (src == end) {
        out.truncate(dst - start);
        return out;
    }
    const DecodeTable& t = decodeTable();
    while (src < end) {
        const uchar b = *src;
        if (b < 0x80) {
            *dst++ = b;
            ++src;
        } else if (isSingleByteKana(b)) {
            const char16_t c = t.toUnicode[b];
            *dst++ = c ? c : kReplacement;
            ++src;
        } else if (isLeadByte(b) && src + 1 < end && isTrailByte(src[1])) {
            const char16_t c = t.toUnicode[b << 8 | src[1]];
            *dst++ = c ? c : kReplacement;
            src += 2;
        } else {
            // One of Windows' extra single bytes; otherwise a byte that starts no character, or
            // a lead byte without its trail byte (the trail position is then read again as a
            // character of its own).
            const char16_t c = t.toUnicode[b];
            *dst++ = c ? c : kReplacement;
            ++src;
        }
    }
    out.truncate(dst - start);
    return out;
}

QString toWindowsCodePoints(QString text) {
    // What Linux input methods type, and what Windows has for the same code page 932 character.
    static constexpr std::pair<char16_t, char16_t> kWindowsForm[] = {
        {0x301C, 0xFF5E}, // WAVE DASH -> FULLWIDTH TILDE
        {0x2212, 0xFF0D}, // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        {0x2016, 0x2225}, // DOUBLE VERTICAL LINE -> PARALLEL TO
        {0x2014, 0x2015}, // EM DASH -> HORIZONTAL BAR
        {0x00A2, 0xFFE0}, // CENT SIGN -> FULLWIDTH CENT SIGN
        {0x00A3, 0xFFE1}, // POUND SIGN -> FULLWIDTH POUND SIGN
        {0x00AC, 0xFFE2}, // NOT SIGN -> FULLWIDTH NOT SIGN
    };
    const auto windowsFormOf = [](char16_t c) -> char16_t {
        for (const auto& [typed, windows] : kWindowsForm) {
            if (c == typed)
                return windows;
        }
        return c;
    };
    // Most texts need nothing: look first, so they are handed back shared, not copied.
    const qsizetype first =
        std::find_if(text.cbegin(), text.cend(),
                     [&](QChar c) { return windowsFormOf(c.unicode()) != c.unicode(); }) -
        text.cbegin();
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (const char16_t windows = windowsFormOf(c); windows != c)
            text[i] = QChar(windows);
    }
    return text;
}

std::optional<QByteArray> encode(QStringView input) {
    const EncodeTable& t = encodeTable();
    const QString text = toWindowsCodePoints(input.toString());
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            *dst++ = char(c);
            continue;
        }
        const quint16 code = t.fromUnicode[c];
        if (code == 0)
            return std::nullopt; // surrogates land here too: nothing outside the BMP is in 932
        if (code > 0xFF)
            *dst++ = char(code >> 8);
        *dst++ = char(code & 0xFF);
    }
    out.truncate(dst - out.constData());
    return out;
}

std::optional<QByteArray> encodeExactly(QStringView text) {
    std::optional<QByteArray> bytes = encode(text);
    if (!bytes || decode(*bytes) != text)
        return std::nullopt;
    return bytes;
}

bool canEncode(QStringView text) {
    return firstUnencodable(text) < 0;
}

qsizetype firstUnencodable(QStringView input) {
    const EncodeTable& t = encodeTable();
    const QString text = toWindowsCodePoints(input.toString());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80 && t.fromUnicode[c] == 0)
            return i;
    }
    return -1;
}

} // namespace Cp932
