#pragma once

#include "core/data/FieldReader.h"
#include "core/data/RecentFiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The history file "履歴.zav" in the own folder: one record of one field per recent file,
// most recent first.
namespace HistoryFile {

inline QString fileName() {
    return QStringLiteral("履歴.zav");
}

// Appends every field of the file at `path` to `list`, in file order and without limit.
// A missing or unreadable file leaves the list as it was.
// `chunkSize` is the field reader's.
void read(const QString& path, RecentFiles& list,
          qsizetype chunkSize = FieldReader::kDefaultChunkSize);

// True when an entry can be saved and read back as the same text: no double quote (the
// record syntax cannot carry one), a code page 932 form that decodes to the same path, and no
// longer than a path can be.
bool isStorable(const QString& entry);

// A line for standard error about an entry left out: the entry (cut when long) and why.
QString describeLeftOut(const QString& entry);

// The bytes for the first RecentFiles::kSavedEntries entries, leaving out those that cannot
// be stored (listed in `leftOut` when given). An empty list gives no bytes.
QByteArray encode(const RecentFiles& list, QStringList* leftOut = nullptr);

// Replaces the file with encode(list) through AtomicFile. On failure returns false and sets
// `errorString`.
[[nodiscard]] bool write(const QString& path, const RecentFiles& list,
                         QString* errorString = nullptr, QStringList* leftOut = nullptr);

} // namespace HistoryFile
