#include "data/SettingsFile.h"

#include "data/FieldReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SettingsFile {

std::optional<QString> readStoredValue(const QString& path) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    // An unreadable file is treated like a missing one: the start goes on quietly.
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    FieldReader reader(file);
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
    const QByteArray bytes = encode(option);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (errorString)
        *errorString = file.errorString();
    return false;
}

} // namespace SettingsFile
