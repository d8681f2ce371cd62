#include "core/data/JudgingOptions.h"

namespace {

const QString& widthName() {
    static const QString name = QStringLiteral("JudgeWidth");
    return name;
}
const QString& kanaName() {
    static const QString name = QStringLiteral("JudgeKana");
    return name;
}
const QString& spacesName() {
    static const QString name = QStringLiteral("JudgeSpaces");
    return name;
}
const QString& onValue() {
    static const QString value = QStringLiteral("True");
    return value;
}

} // namespace

JudgingOptions JudgingOptions::fromNamed(const NamedOptions& named) {
    const auto isOn = [&](const QString& name) {
        return named.value(name) == onValue();
    };
    return {isOn(widthName()), isOn(kanaName()), isOn(spacesName())};
}

void JudgingOptions::writeTo(NamedOptions& named) const {
    const auto store = [&](const QString& name, bool on) {
        if (on)
            named.insert(name, onValue());
        else
            named.remove(name);
    };
    store(widthName(), ignoreWidth);
    store(kanaName(), ignoreKana);
    store(spacesName(), ignoreSpaces);
}
