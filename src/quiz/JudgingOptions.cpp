#include "quiz/JudgingOptions.h"

#include "data/Cp932.h"

namespace Judging {

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

// Full-width katakana with a hiragana twin lie 0x60 above it: ァ..ヶ (U+30A1..U+30F6) and the
// iteration marks ヽ ヾ (U+30FD, U+30FE). ヷ..ヺ and ー have no twin and stay.
constexpr char16_t kKatakanaToHiragana = 0x60;

bool hasHiraganaTwin(char16_t c) {
    return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE;
}

void foldKatakana(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (hasHiraganaTwin(c))
            text[i] = QChar(char16_t(c - kKatakanaToHiragana));
    }
}

} // namespace

QString comparedForm(const QString& text, const JudgingOptions& options) {
    QString form = Cp932::toWindowsCodePoints(text);
    if (options.ignoreWidth)
        form = form.normalized(QString::NormalizationForm_KC);
    if (options.ignoreKana)
        foldKatakana(form);
    if (options.ignoreSpaces)
        form.removeIf([](QChar c) { return c.isSpace(); });
    return form;
}

bool isCorrect(const QString& typed, const QString& answer1, const QString& answer2,
               const JudgingOptions& options) {
    const QString entry = comparedForm(typed, options);
    // With no option on, only an empty entry compares as empty.
    if (entry.isEmpty())
        return false;
    return entry == comparedForm(answer1, options) || entry == comparedForm(answer2, options);
}

JudgingOptions fromNamedOptions(const NamedOptions& named) {
    const auto isOn = [&](const QString& name) {
        return named.value(name) == onValue();
    };
    return {isOn(widthName()), isOn(kanaName()), isOn(spacesName())};
}

void storeInNamedOptions(const JudgingOptions& options, NamedOptions& named) {
    const auto store = [&](const QString& name, bool on) {
        if (on)
            named.insert(name, onValue());
        else
            named.remove(name);
    };
    store(widthName(), options.ignoreWidth);
    store(kanaName(), options.ignoreKana);
    store(spacesName(), options.ignoreSpaces);
}

} // namespace Judging
