#pragma once

#include "core/data/JudgingOptions.h"

#include <QString>

// Judging typed answers under the judging options.
namespace Judging {

// The form a text is compared in: the code page 932 mapping (〜 typed on Linux is ～ stored on
// Windows), then, as the options say, NFKC, katakana folded to hiragana, spaces left out.
// Kana folding alone leaves half-width katakana as it is: width is the width option's.
QString comparedForm(const QString& text, const JudgingOptions& options);

// True when the typed text's compared form equals that of answer 1 or of answer 2. An entry
// that compares as empty (nothing typed, or only spaces with spaces ignored) is always wrong.
bool isCorrect(const QString& typed, const QString& answer1, const QString& answer2,
               const JudgingOptions& options);

} // namespace Judging
