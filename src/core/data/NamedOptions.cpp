#include "core/data/NamedOptions.h"

#include "core/data/Cp932.h"

#include <optional>

namespace NamedOptionRecords {

namespace {

// The text of a field that is exactly one quoted text without quotes inside.
std::optional<QByteArrayView> quoted(QByteArrayView field) {
    if (field.size() < 2 || !field.startsWith('"') || !field.endsWith('"'))
        return std::nullopt;
    const QByteArrayView text = field.sliced(1, field.size() - 2);
    if (text.contains('"'))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> storable(const QString& text) {
    if (text.contains(u'"'))
        return std::nullopt;
    return Cp932::encodeExactly(text);
}

void parseLine(QByteArrayView line, NamedOptions& options) {
    const qsizetype comma = line.indexOf("\",\"");
    if (comma < 0)
        return;
    const std::optional<QByteArrayView> name = quoted(line.first(comma + 1));
    const std::optional<QByteArrayView> value = quoted(line.sliced(comma + 2));
    if (!name || !value || name->isEmpty())
        return;
    // A record with bytes that are no code page 932 text could not be written back as it was
    // read: it is not taken, rather than taken and silently dropped by the next write.
    const QString nameText = Cp932::decode(*name);
    const QString valueText = Cp932::decode(*value);
    if (!storable(nameText) || !storable(valueText))
        return;
    options.insert(nameText, valueText);
}

} // namespace

NamedOptions parse(QByteArrayView bytes) {
    NamedOptions options;
    bool firstLine = true;
    qsizetype start = 0;
    // A CR LF pair, a lone CR and a lone LF each end a line, as they end a field.
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        const bool end = i == bytes.size();
        if (!end && bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        if (!firstLine)
            parseLine(bytes.sliced(start, i - start), options);
        firstLine = false;
        if (!end && bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return options;
}

QByteArray encode(const NamedOptions& options) {
    QByteArray bytes;
    for (auto it = options.cbegin(); it != options.cend(); ++it) {
        const std::optional<QByteArray> name = storable(it.key());
        const std::optional<QByteArray> value = storable(it.value());
        if (!name || !value || name->isEmpty())
            continue;
        bytes += '"' + *name + "\",\"" + *value + "\"\r\n";
    }
    return bytes;
}

} // namespace NamedOptionRecords
