#include "data/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

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
        return fail(errorString, QStringLiteral("通常のﾌｧｲﾙではないため、書き込みません。"));
    }

    QSaveFile file(target);
    // commit() does not notice a buffered write that failed (disk full, file size limit) and
    // would put a cut-off file in place of the old one, so the flush is checked first.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit())
        return true;
    const QString reason = file.errorString();
    file.cancelWriting();
    return fail(errorString, reason);
}

} // namespace AtomicFile
