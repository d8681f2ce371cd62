#pragma once

#include "core/data/Point.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builders for the files tests hand to the program.
namespace TestFiles {

// Writes bytes to a file, replacing it; false on failure.
bool writeBytes(const QString& path, const QByteArray& bytes);
QByteArray readBytes(const QString& path);

// Writes a real BMP picture of the given size; false on failure.
bool writeBmp(const QString& path, int width = 64, int height = 48);

// One record as the program writes it: quoted fields joined by commas, CR LF, code page 932.
QByteArray record(const QStringList& fields);

// A whole question file: Map record, Point records, End record.
QByteArray questionFile(const QString& mapReference, const PointList& points);

// A point with the given texts.
Point point(const QString& x, const QString& y, const QString& hint, const QString& answer1,
            const QString& answer2 = QString(), const QString& info = QString());

// Convenience for literals written in UTF-8.
inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace TestFiles
