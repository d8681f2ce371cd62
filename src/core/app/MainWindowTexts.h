#pragma once

#include "core/data/QuestionFile.h"
#include "core/platform/Services.h"

#include <optional>

// The main window's own texts: its status lines, the boxes around the start of a quiz and the
// messages for a question file that could not be read for play.
namespace MainWindowTexts {

inline QString openPleaseStatus() {
    return QStringLiteral("ﾌｧｲﾙを開いてください。");
}
inline QString startPleaseStatus() {
    return QStringLiteral("ｽﾀｰﾄして下さい。");
}
inline QString errorStatus() {
    return QStringLiteral("ｴﾗｰが発生しました。");
}

// Start with no points to ask, and the box before the first question.
inline MessageRequest emptyTableMessage() {
    return MessageRequest::error(
        QStringLiteral("ﾌｧｲﾙが開かれていないか、開いたﾌｧｲﾙにはﾎﾟｲﾝﾄが設定されていません。"));
}
inline MessageRequest goodLuckMessage() {
    return {QStringLiteral("Good Luck!"), QStringLiteral("Go!"), MessageButtons::Ok,
            MessageIcon::None};
}

// The message for a read that failed; nothing for a read error (it passes without one) and
// for a read that did not fail.
std::optional<MessageRequest> failureMessage(ReadOutcome outcome);

} // namespace MainWindowTexts
