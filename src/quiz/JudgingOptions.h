#pragma once

#include "data/NamedOptions.h"

#include <QString>

// How leniently a typed answer is judged. All off is the exact rule: the typed text must equal
// an answer code unit for code unit (after the code page 932 mapping).
struct JudgingOptions {
    bool ignoreWidth = false; // compare after Unicode NFKC: Ａ = A, ﾄｳｷｮｳ = トウキョウ
    bool ignoreKana = false; // hiragana and katakana compare equal: とうきょう = トウキョウ
    bool ignoreSpaces = false; // spaces, full-width ones included, are left out

    bool isExact() const { return !ignoreWidth && !ignoreKana && !ignoreSpaces; }
    friend bool operator==(const JudgingOptions&, const JudgingOptions&) = default;
};

namespace Judging {

// The form a text is compared in: the code page 932 mapping (〜 typed on Linux is ～ stored on
// Windows), then, as the options say, NFKC, katakana folded to hiragana, spaces left out.
// Kana folding alone leaves half-width katakana as it is: width is the width option's.
QString comparedForm(const QString& text, const JudgingOptions& options);

// True when the typed text's compared form equals that of answer 1 or of answer 2. An entry
// that compares as empty (nothing typed, or only spaces with spaces ignored) is always wrong.
bool isCorrect(const QString& typed, const QString& answer1, const QString& answer2,
               const JudgingOptions& options);

// The options as the settings file holds them: "JudgeWidth", "JudgeKana", "JudgeSpaces" with
// the value "True" for an option that is on; an option that is off has no record, so with all
// off the file is what it was without these options. Any other value reads as off.
JudgingOptions fromNamedOptions(const NamedOptions& named);
// Sets the three records in `named` from `options`, leaving every other record as it is.
void storeInNamedOptions(const JudgingOptions& options, NamedOptions& named);

} // namespace Judging
