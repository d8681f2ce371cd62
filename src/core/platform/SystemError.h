#pragma once

#include <QString>

class QFileDevice;

// The system's reasons for a failed file operation, told in the program's own Japanese words.
// Qt's and the C library's texts are English whatever the program speaks, so no box shows them
// as its sentence: every message that names why a file could not be read or written takes the
// reason from here. Only a reason without a sentence of its own (`Other`) carries the system's
// words after the Japanese, in parentheses, for whoever has to look the failure up.
namespace SystemError {

enum class Condition {
    NoSpace,            // ENOSPC, EDQUOT
    TooLarge,           // EFBIG: the file size limit
    NoPermission,       // EACCES, EPERM
    ReadOnlyFileSystem, // EROFS
    NotFound,           // ENOENT, ENOTDIR: a file or a folder on the way is missing
    Folder,             // EISDIR
    NotRegularFile,     // a FIFO, a device, a socket
    InUse,              // EBUSY, ETXTBSY, or a lock another program holds
    NoMemory,           // ENOMEM
    DeviceError,        // EIO
    NameTooLong,        // ENAMETOOLONG, ELOOP
    TooManyOpen,        // EMFILE, ENFILE
    Other,
};

// The condition an errno value stands for; 0 and unknown values are Other.
Condition fromErrno(int code);

// The sentence for a condition. `detail`, the system's own words, is added in parentheses to
// Other only.
QString text(Condition condition, const QString& detail = QString());

// The sentence for an errno value (with the C library's text when it is Other).
QString describe(int errnoCode);

// The sentence for a failed call on a QFile or QSaveFile. `errnoAfter` is errno read right
// after the failing call, with errno cleared before it: Qt keeps no errno, and some failures
// (a short write on a full disk) leave the device's own error unset. Without an errno the
// device's error and what its path names on disk decide.
QString describe(const QFileDevice& file, int errnoAfter);

} // namespace SystemError
