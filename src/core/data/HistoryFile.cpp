#include "core/data/HistoryFile.h"

#include "core/data/AtomicFile.h"
#include "core/data/Cp932.h"
#include "core/data/FieldReader.h"

#include <QFile>
#include <QFileInfo>

#include <climits>

namespace HistoryFile {

void read(const QString& path, RecentFiles& list, qsizetype chunkSize) {
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    FieldReader reader(file, chunkSize);
    while (std::optional<QString> field = reader.readField())
        list.append(*field);
}

namespace {

// Longer than any path the system can open (PATH_MAX counts the closing zero byte): such an
// entry names no file, and writing it back would make every later start read it again.
bool isLongerThanAnyPath(const QString& entry) {
    if (entry.size() >= PATH_MAX)
        return true; // every character takes at least one byte
    if (entry.size() * 3 < PATH_MAX)
        return false; // and at most three
    return QFile::encodeName(entry).size() >= PATH_MAX;
}

std::optional<QByteArray> storedForm(const QString& entry) {
    if (isLongerThanAnyPath(entry) || entry.contains(u'"'))
        return std::nullopt;
    // Characters that encode to another character's code (〜 as ～, for one) would come
    // back as a different path, so they count as unstorable too.
    return Cp932::encodeExactly(entry);
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

QString describeLeftOut(const QString& entry) {
    constexpr qsizetype kShown = 200;
    QString shown =
        entry.size() > kShown
            ? entry.left(kShown) + QStringLiteral("... (%1 characters)").arg(entry.size())
            : entry;
    return shown + (isLongerThanAnyPath(entry) ? QStringLiteral(" (longer than any path)")
                                               : QStringLiteral(" (not storable)"));
}

bool write(const QString& path, const RecentFiles& list, QString* errorString,
           QStringList* leftOut) {
    return AtomicFile::write(path, encode(list, leftOut), errorString);
}

} // namespace HistoryFile
