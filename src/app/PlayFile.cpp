#include "app/PlayFile.h"

namespace PlayFile {

std::optional<MessageRequest> failureMessage(ReadOutcome outcome) {
    QString text;
    switch (outcome) {
    case ReadOutcome::MapMissing:
        text = QStringLiteral("指定されているﾏｯﾌﾟは存在しません。");
        break;
    case ReadOutcome::MapNotBitmap:
        text = QStringLiteral("指定されているﾏｯﾌﾟは、ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません。");
        break;
    case ReadOutcome::Malformed:
        text = QStringLiteral("このﾌｧｲﾙは不正か、または壊れています。");
        break;
    case ReadOutcome::TooManyPoints:
        text = QStringLiteral("ﾎﾟｲﾝﾄが多すぎます。") + u'\r' +
               QStringLiteral("読み込めるﾎﾟｲﾝﾄは%1個までです。").arg(kMaxPoints);
        break;
    case ReadOutcome::Success:
    case ReadOutcome::ReadError:
    case ReadOutcome::CannotOpen:
        return std::nullopt;
    }
    return MessageRequest{text, QStringLiteral("ｴﾗｰ"), MessageButtons::Ok,
                          MessageIcon::Exclamation};
}

} // namespace PlayFile
