#pragma once

#include <QByteArray>
#include <QString>

// The one way the program replaces a file of its own or of the user's: the new bytes go to a
// temporary file beside the old one, which is renamed over it only once every byte is on disk.
// Whatever fails (a full disk, a file size limit, a read-only folder), the old file stays as it
// was, byte for byte.
//
// Only regular files are replaced. A symbolic link to a regular file is written through: the
// link stays a link and its target gets the new bytes, atomically in the target's own folder.
// A link to anything else (a FIFO, a device, a folder), a dangling link, or a path that already
// names something other than a regular file is left alone and reported.
namespace AtomicFile {

// Replaces (or creates) the file at `path` with `bytes`. On failure returns false, changes
// nothing and sets `errorString` to the reason, a Japanese sentence (SystemError).
[[nodiscard]] bool write(const QString& path, const QByteArray& bytes,
                         QString* errorString = nullptr);

} // namespace AtomicFile
