#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

// Shared by the fuzz targets: the readers under test take paths, so each input is written to a
// file in a folder of this process's own.
namespace FuzzSupport {

inline const QString& folder() {
    static const QString dir = [] {
        const QString d = QStringLiteral("/tmp/zavfuzz-%1").arg(::getpid());
        if (!QFile::exists(d) && ::mkdir(QFile::encodeName(d).constData(), 0700) != 0)
            std::abort();
        return d;
    }();
    return dir;
}

inline QString writeInput(const QString& name, const uint8_t* data, size_t size) {
    const QString path = folder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

// A tiny read chunk, so that fields and line ends fall across the field reader's chunk seams
// (real files meet them only past 64 KiB). Taken from the input's size, so that every byte of
// a seed file stays file content.
inline qsizetype chunkSizeFor(size_t size) {
    return qsizetype(1 + size % 16);
}

// An invariant broke: report it and crash, so the fuzzer keeps the input.
[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace FuzzSupport
