#include "data/HistoryFile.h"

#include "data/Cp932.h"
#include "data/FieldReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace HistoryFile {

void read(const QString& path, RecentFiles& list) {
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    FieldReader reader(file);
    while (std::optional<QString> field = reader.readField())
        list.append(*field);
}

namespace {

std::optional<QByteArray> storedForm(const QString& entry) {
    if (entry.contains(u'"'))
        return std::nullopt;
    std::optional<QByteArray> bytes = Cp932::encode(entry);
    // Characters that encode to another character's code (〜 as ～, for one) would come
    // back as a different path, so they count as unstorable too.
    if (!bytes || Cp932::decode(*bytes) != entry)
        return std::nullopt;
    return bytes;
}

} // namespace

bool isStorable(const QString& entry) {
    return storedForm(entry).has_value();
}

QByteArray encode(const RecentFiles& list, QStringList* leftOut) {
    QByteArray bytes;
    for (const QString& entry : list.savedEntries()) {
        const std::optional<QByteArray> stored = storedForm(entry);
        if (!stored) {
            if (leftOut)
                leftOut->append(entry);
            continue;
        }
        bytes += '"';
        bytes += *stored;
        bytes += "\"\r\n";
    }
    return bytes;
}

bool write(const QString& path, const RecentFiles& list, QString* errorString,
           QStringList* leftOut) {
    const QByteArray bytes = encode(list, leftOut);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (errorString)
        *errorString = file.errorString();
    return false;
}

} // namespace HistoryFile
