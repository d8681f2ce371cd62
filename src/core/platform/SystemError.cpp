#include "core/platform/SystemError.h"

#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

namespace SystemError {

Condition fromErrno(int code) {
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return Condition::NoSpace;
    case EFBIG:
        return Condition::TooLarge;
    case EACCES:
    case EPERM:
        return Condition::NoPermission;
    case EROFS:
        return Condition::ReadOnlyFileSystem;
    case ENOENT:
    case ENOTDIR:
        return Condition::NotFound;
    case EISDIR:
        return Condition::Folder;
    case ENXIO:
    case ENODEV:
        return Condition::NotRegularFile;
    case EBUSY:
    case ETXTBSY:
        return Condition::InUse;
    case ENOMEM:
        return Condition::NoMemory;
    case EIO:
        return Condition::DeviceError;
    case ENAMETOOLONG:
        return Condition::NameTooLong;
    case EMFILE:
    case ENFILE:
        return Condition::TooManyOpen;
    default:
        return Condition::Other;
    }
}

QString text(Condition condition, const QString& detail) {
    switch (condition) {
    case Condition::NoSpace:
        return QStringLiteral("ﾃﾞｨｽｸの空き容量が足りません。");
    case Condition::TooLarge:
        return QStringLiteral("ﾌｧｲﾙの大きさが上限を超えます。");
    case Condition::NoPermission:
        return QStringLiteral("ﾌｧｲﾙまたはﾌｫﾙﾀﾞへのｱｸｾｽ権がありません。");
    case Condition::ReadOnlyFileSystem:
        return QStringLiteral("読み取り専用のﾄﾞﾗｲﾌﾞには書き込めません。");
    case Condition::NotFound:
        return QStringLiteral("ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。");
    case Condition::Folder:
        return QStringLiteral("ﾌｧｲﾙではなくﾌｫﾙﾀﾞです。");
    case Condition::NotRegularFile:
        return QStringLiteral("通常のﾌｧｲﾙではありません。");
    case Condition::InUse:
        return QStringLiteral("他のﾌﾟﾛｸﾞﾗﾑが使用中です。");
    case Condition::NoMemory:
        return QStringLiteral("ﾒﾓﾘが足りません。");
    case Condition::DeviceError:
        return QStringLiteral("ﾃﾞｨｽｸの読み書き中にｴﾗｰが発生しました。");
    case Condition::NameTooLong:
        return QStringLiteral("ﾌｧｲﾙ名が長すぎます。");
    case Condition::TooManyOpen:
        return QStringLiteral("開いているﾌｧｲﾙが多すぎます。");
    case Condition::Other:
        break;
    }
    QString sentence = QStringLiteral("予期しないｴﾗｰが発生しました。");
    if (!detail.isEmpty())
        sentence += u'(' + detail + u')';
    return sentence;
}

QString describe(int errnoCode) {
    const Condition condition = fromErrno(errnoCode);
    return text(condition, condition == Condition::Other && errnoCode != 0
                               ? qt_error_string(errnoCode)
                               : QString());
}

QString describe(const QFileDevice& file, int errnoAfter) {
    if (errnoAfter != 0)
        return describe(errnoAfter);
    // Qt refuses some paths itself, without a system call that fails.
    if (file.error() == QFileDevice::ResourceError)
        return text(Condition::NoSpace);
    const QFileInfo info(file.fileName());
    if (info.isDir())
        return text(Condition::Folder);
    if (info.exists() && !info.isFile())
        return text(Condition::NotRegularFile);
    return text(Condition::Other, file.errorString());
}

} // namespace SystemError
