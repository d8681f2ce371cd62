#include "TestFiles.h"

#include "core/data/Cp932.h"

#include <QFile>
#include <QImage>

namespace TestFiles {

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBmp(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image.save(path, "BMP");
}

QByteArray record(const QStringList& fields) {
    QByteArray bytes;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            bytes += ',';
        bytes += '"' + Cp932::encode(fields[i]).value_or(QByteArray("?")) + '"';
    }
    return bytes + "\r\n";
}

QByteArray questionFile(const QString& mapReference, const PointList& points) {
    QByteArray bytes = record({QStringLiteral("Map"), mapReference});
    for (const Point& p : points)
        bytes += record({QStringLiteral("Point"), p[0], p[1], p[2], p[3], p[4], p[5]});
    return bytes + record({QStringLiteral("End")});
}

Point point(const QString& x, const QString& y, const QString& hint, const QString& answer1,
            const QString& answer2, const QString& info) {
    return Point{x, y, hint, answer1, answer2, info};
}

} // namespace TestFiles
