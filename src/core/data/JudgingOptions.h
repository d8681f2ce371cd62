#pragma once

#include "core/data/NamedOptions.h"

// How leniently a typed answer is judged. All off is the exact rule: the typed text must equal
// an answer code unit for code unit (after the code page 932 mapping).
struct JudgingOptions {
    bool ignoreWidth = false; // compare after Unicode NFKC: Ａ = A, ﾄｳｷｮｳ = トウキョウ
    bool ignoreKana = false; // hiragana and katakana compare equal: とうきょう = トウキョウ
    bool ignoreSpaces = false; // spaces, full-width ones included, are left out

    bool isExact() const { return !ignoreWidth && !ignoreKana && !ignoreSpaces; }
    friend bool operator==(const JudgingOptions&, const JudgingOptions&) = default;

    // The options as the settings file holds them: "JudgeWidth", "JudgeKana", "JudgeSpaces"
    // with the value "True" for an option that is on; an option that is off has no record, so
    // with all off the file is what it was without these options. Any other value reads as off.
    static JudgingOptions fromNamed(const NamedOptions& named);
    // Sets the three records in `named`, leaving every other record as it is.
    void writeTo(NamedOptions& named) const;
};
