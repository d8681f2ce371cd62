#include "data/SettingsFile.h"

#include "data/AtomicFile.h"
#include "data/FieldReader.h"

#include <QFile>
#include <QFileInfo>

namespace SettingsFile {

std::optional<QString> readStoredValue(const QString& path, qsizetype chunkSize) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    // An unreadable file is treated like a missing one: the start goes on quietly.
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    FieldReader reader(file, chunkSize);
    if (reader.atEnd())
        return kStoredTrue.toString();
    return reader.readField().value_or(QString());
}

QString optionFromStoredValue(const std::optional<QString>& stored) {
    if (!stored)
        return kDialog.toString();
    if (*stored == kStoredTrue)
        return kDialog.toString();
    if (*stored == kStoredAuto)
        return kAuto.toString();
    if (*stored == kStoredFalse)
        return kManual.toString();
    return kDialog.toString();
}

QString storedValueFor(const QString& option) {
    if (option == kAuto)
        return kStoredAuto.toString();
    if (option == kManual)
        return kStoredFalse.toString();
    return kStoredTrue.toString();
}

QByteArray encode(const QString& option) {
    // The stored values are plain ASCII.
    return '"' + storedValueFor(option).toLatin1() + "\"\r\n";
}

bool write(const QString& path, const QString& option, QString* errorString) {
    return AtomicFile::write(path, encode(option), errorString);
}

} // namespace SettingsFile
