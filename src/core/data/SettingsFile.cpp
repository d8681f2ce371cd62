#include "core/data/SettingsFile.h"

#include "core/data/AtomicFile.h"
#include "core/data/FieldReader.h"

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

NamedOptions readNamedOptions(const QString& path) {
    // A settings file holds a few short records; anything much larger is not one.
    constexpr qint64 kLargestRead = 64 * 1024;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kLargestRead + 1);
    if (bytes.size() > kLargestRead)
        return {};
    return NamedOptionRecords::parse(bytes);
}

StartupOption optionFromStoredValue(const std::optional<QString>& stored) {
    if (!stored)
        return StartupOption::Dialog;
    if (*stored == kStoredTrue)
        return StartupOption::Dialog;
    if (*stored == kStoredAuto)
        return StartupOption::Auto;
    if (*stored == kStoredFalse)
        return StartupOption::Manual;
    return StartupOption::Dialog;
}

QString storedValueFor(StartupOption option) {
    switch (option) {
    case StartupOption::Auto:
        return kStoredAuto.toString();
    case StartupOption::Manual:
        return kStoredFalse.toString();
    case StartupOption::Dialog:
        break;
    }
    return kStoredTrue.toString();
}

QByteArray encode(const Settings& settings) {
    // The stored values are plain ASCII.
    return '"' + storedValueFor(settings.startupOption).toLatin1() + "\"\r\n" +
           NamedOptionRecords::encode(settings.namedOptions);
}

bool write(const QString& path, const Settings& settings, QString* errorString) {
    return AtomicFile::write(path, encode(settings), errorString);
}

} // namespace SettingsFile
