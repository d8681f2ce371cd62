#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Code page 932 as Windows writes it. ASCII bytes are handled here (the ICU table behind
// Qt swaps a few control codes); everything else goes through Qt's ICU converter.
namespace Cp932 {

// Decodes bytes. A byte sequence that is not valid code page 932 becomes one U+FFFD per
// offending byte or pair, never dropped; the result never has more characters than bytes.
QString decode(QByteArrayView bytes);

// Replaces the characters that Linux input methods and converters produce where Windows
// uses another code point for the same code page 932 character (〜 U+301C gives ～ U+FF5E,
// − U+2212 gives － U+FF0D, and so on). Used before encoding and before comparing answers.
QString toWindowsCodePoints(QString text);

// Encodes after toWindowsCodePoints; nothing when any character has no code page 932 form.
std::optional<QByteArray> encode(QStringView text);

// Encodes only when the bytes decode back to exactly `text`: a character that is written as
// another one (〜 as ～, say) makes it fail, as for paths and names that must come back the same.
std::optional<QByteArray> encodeExactly(QStringView text);

// True when encode() would succeed.
bool canEncode(QStringView text);

// Index of the first character that code page 932 cannot hold, or -1.
qsizetype firstUnencodable(QStringView text);

} // namespace Cp932
