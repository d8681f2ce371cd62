#include "core/quiz/Judging.h"

#include "core/data/Cp932.h"

namespace Judging {

namespace {

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

} // namespace Judging
