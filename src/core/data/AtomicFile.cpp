#include "core/data/AtomicFile.h"

#include "core/platform/SystemError.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

bool fail(QString* errorString, const QString& reason) {
    if (errorString)
        *errorString = reason;
    return false;
}

} // namespace

namespace AtomicFile {

bool write(const QString& path, const QByteArray& bytes, QString* errorString) {
    // Decide what is replaced before anything is written: renaming over a FIFO or a device
    // node would destroy it, and renaming over a link would cut the link.
    const QFileInfo info(path);
    QString target = path;
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty())
            return fail(errorString, QStringLiteral("ﾘﾝｸ先のﾌｧｲﾙがありません。"));
        if (!QFileInfo(target).isFile())
            return fail(errorString,
                        QStringLiteral("ﾘﾝｸ先が通常のﾌｧｲﾙではないため、書き込みません。"));
    } else if (info.exists() && !info.isFile()) {
        return fail(errorString,
                    SystemError::text(info.isDir() ? SystemError::Condition::Folder
                                                   : SystemError::Condition::NotRegularFile));
    }

    QSaveFile file(target);
    // Each step clears errno first, so the reason is the one of the step that failed.
    const auto failed = [&] {
        const int code = errno;
        const QString reason = SystemError::describe(file, code);
        file.cancelWriting();
        return fail(errorString, reason);
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return failed();
    // commit() does not notice a buffered write that failed (disk full, file size limit) and
    // would put a cut-off file in place of the old one, so the flush is checked first.
    errno = 0;
    if (!file.flush())
        return failed();
    errno = 0;
    if (!file.commit())
        return failed();
    return true;
}

} // namespace AtomicFile
