#include "data/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(uchar b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool isSingleByteKana(uchar b) { return b >= 0xA1 && b <= 0xDF; }

// Length of the character unit at bytes[i] (1 or 2) when it is structurally valid, 0 when not.
qsizetype unitLength(QByteArrayView bytes, qsizetype i) {
    const auto b = static_cast<uchar>(bytes[i]);
    if (b < 0x80 || isSingleByteKana(b))
        return 1;
    if (isLeadByte(b) && i + 1 < bytes.size() && isTrailByte(static_cast<uchar>(bytes[i + 1])))
        return 2;
    return 0;
}

QStringDecoder& decoder() {
    thread_local QStringDecoder d("CP932", QStringConverter::Flag::Stateless);
    return d;
}

QStringEncoder& encoder() {
    thread_local QStringEncoder e("CP932", QStringConverter::Flag::Stateless);
    return e;
}

// Decodes a run of structurally valid non-ASCII units. A pair that the code page leaves
// unassigned makes ICU report an error; then each unit is decoded on its own so only the
// bad ones become U+FFFD.
void decodeRun(QByteArrayView run, QString& out) {
    QStringDecoder& d = decoder();
    d.resetState();
    const QString text = d(run);
    if (!d.hasError()) {
        out += text;
        return;
    }
    for (qsizetype i = 0; i < run.size();) {
        const qsizetype len = unitLength(run, i);
        d.resetState();
        const QString unit = d(run.sliced(i, len));
        out += (!d.hasError() && unit.size() == 1) ? unit : QString(QChar(kReplacement));
        i += len;
    }
}

} // namespace

namespace Cp932 {

QString decode(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype asciiStart = i;
        while (i < n && static_cast<uchar>(bytes[i]) < 0x80)
            ++i;
        if (i > asciiStart)
            out += QLatin1StringView(bytes.sliced(asciiStart, i - asciiStart));
        const qsizetype runStart = i;
        while (i < n && static_cast<uchar>(bytes[i]) >= 0x80) {
            const qsizetype len = unitLength(bytes, i);
            if (len == 0)
                break;
            i += len;
        }
        if (i > runStart)
            decodeRun(bytes.sliced(runStart, i - runStart), out);
        if (i < n && static_cast<uchar>(bytes[i]) >= 0x80 && unitLength(bytes, i) == 0) {
            out += QChar(kReplacement);
            ++i;
        }
    }
    return out;
}

QString toWindowsCodePoints(QString text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break; // WAVE DASH -> FULLWIDTH TILDE
        case 0x2212: c = QChar(0xFF0D); break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2016: c = QChar(0x2225); break; // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2014: c = QChar(0x2015); break; // EM DASH -> HORIZONTAL BAR
        case 0x00A2: c = QChar(0xFFE0); break; // CENT SIGN -> FULLWIDTH CENT SIGN
        case 0x00A3: c = QChar(0xFFE1); break; // POUND SIGN -> FULLWIDTH POUND SIGN
        case 0x00AC: c = QChar(0xFFE2); break; // NOT SIGN -> FULLWIDTH NOT SIGN
        default: break;
        }
    }
    return text;
}

std::optional<QByteArray> encode(QStringView input) {
    const QString text = toWindowsCodePoints(input.toString());
    QByteArray out;
    out.reserve(text.size() * 2);
    QStringEncoder& e = encoder();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && text[i].unicode() < 0x80)
            out += char(text[i++].unicode());
        const qsizetype runStart = i;
        while (i < n && text[i].unicode() >= 0x80)
            ++i;
        if (i > runStart) {
            e.resetState();
            out += e(QStringView(text).sliced(runStart, i - runStart));
            if (e.hasError())
                return std::nullopt;
        }
    }
    return out;
}

bool canEncode(QStringView text) { return encode(text).has_value(); }

qsizetype firstUnencodable(QStringView input) {
    const QString text = toWindowsCodePoints(input.toString());
    QStringEncoder& e = encoder();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80)
            continue;
        // A surrogate pair is one character for the user, and never encodable.
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        e.resetState();
        (void)e(QStringView(text).sliced(i, len));
        if (e.hasError())
            return i;
        i += len - 1;
    }
    return -1;
}

} // namespace Cp932
