#pragma once

#include "data/QuestionFile.h"
#include "platform/Services.h"

#include <optional>

// What the main window says about opening a question file for play.
namespace PlayFile {

inline QString openPleaseStatus() {
    return QStringLiteral("ﾌｧｲﾙを開いてください。");
}
inline QString openingStatus() {
    return QStringLiteral("ﾌｧｲﾙを開いています...");
}
inline QString startPleaseStatus() {
    return QStringLiteral("ｽﾀｰﾄして下さい。");
}
inline QString errorStatus() {
    return QStringLiteral("ｴﾗｰが発生しました。");
}

// Start with no points to ask, and the box before the first question.
inline MessageRequest emptyTableMessage() {
    return {QStringLiteral("ﾌｧｲﾙが開かれていないか、開いたﾌｧｲﾙにはﾎﾟｲﾝﾄが設定されていません。"),
            QStringLiteral("ｴﾗｰ"), MessageButtons::Ok, MessageIcon::Exclamation};
}
inline MessageRequest goodLuckMessage() {
    return {QStringLiteral("Good Luck!"), QStringLiteral("Go!"), MessageButtons::Ok,
            MessageIcon::None};
}

// The open dialog's filter.
inline QString filter() {
    return QStringLiteral("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm");
}

// The message for a read that failed; nothing for a read error (it passes without one) and
// for a read that did not fail.
std::optional<MessageRequest> failureMessage(ReadOutcome outcome);

} // namespace PlayFile
