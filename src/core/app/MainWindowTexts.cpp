#include "core/app/MainWindowTexts.h"

namespace MainWindowTexts {

std::optional<MessageRequest> failureMessage(ReadOutcome outcome) {
    switch (outcome) {
    case ReadOutcome::MapMissing:
        return MessageRequest::error(QuestionFileText::mapMissing());
    case ReadOutcome::MapNotBitmap:
        return MessageRequest::error(QuestionFileText::mapNotBitmap());
    case ReadOutcome::Malformed:
        return MessageRequest::error(QuestionFileText::malformed());
    case ReadOutcome::TooManyPoints:
        return MessageRequest::error(
            QStringLiteral("ﾎﾟｲﾝﾄが多すぎます。") + u'\r' +
            QStringLiteral("読み込めるﾎﾟｲﾝﾄは%1個までです。").arg(kMaxPoints));
    case ReadOutcome::Success:
    case ReadOutcome::ReadError:
    case ReadOutcome::CannotOpen:
        break;
    }
    return std::nullopt;
}

} // namespace MainWindowTexts
