// Paints a bundled sample quiz's map from the drawing lists that extract.mjs made, writes its
// question file with the program's own writer, and reads both back as the program would.
//
//   zav_samplegen DRAWING.json... SAMPLES_FOLDER
//
// writes SAMPLES_FOLDER/SUBJECT/NAME/NAME.bmp and .../NAME.zvm for each drawing, SUBJECT and
// NAME coming from the drawing lists; the question file names its map as "./NAME.bmp".

#include "BitmapFile.h"
#include "SamplePalette.h"

#include "core/data/QuestionFile.h"
#include "core/data/QuestionTable.h"
#include "core/data/TableSink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

QRect rectOf(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    return a.size() == 4 ? QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()) : QRect();
}

QPolygonF polygonOf(const QJsonValue& value) {
    const QJsonArray flat = value.toArray();
    QPolygonF polygon;
    polygon.reserve(flat.size() / 2);
    for (qsizetype i = 0; i + 1 < flat.size(); i += 2)
        polygon.append(QPointF(flat[i].toDouble(), flat[i + 1].toDouble()));
    return polygon;
}

// Runs `draw` once, or, for a map whose edge cuts through land, also one map width to the
// left and to the right, so that shapes crossing the edge come out whole on both sides.
template <typename Draw> void drawWrapped(QPainter& painter, int wrap, Draw draw) {
    const QList<int> shifts = wrap > 0 ? QList<int>{-wrap, 0, wrap} : QList<int>{0};
    for (const int dx : shifts) {
        painter.save();
        painter.translate(dx, 0);
        draw();
        painter.restore();
    }
}

bool paintOperation(QPainter& painter, QImage& image, const QJsonObject& op) {
    const QString kind = op[u"op"].toString();
    const QColor colour = SamplePalette::byName(op[u"colour"].toString());
    if (!colour.isValid()) {
        err() << "unknown colour " << op[u"colour"].toString() << Qt::endl;
        return false;
    }
    const QRect clip = rectOf(op[u"clip"]);
    painter.setClipRect(clip, clip.isValid() ? Qt::ReplaceClip : Qt::NoClip);
    const int wrap = op[u"wrap"].toInt();

    if (kind == u"fill") {
        image.fill(colour);
    } else if (kind == u"rect") {
        painter.fillRect(rectOf(op[u"rect"]), colour);
    } else if (kind == u"frame") {
        const QRect r = rectOf(op[u"rect"]);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    } else if (kind == u"polygons") {
        const QJsonArray polygons = op[u"polygons"].toArray();
        drawWrapped(painter, wrap, [&] {
            for (const QJsonValue& polygon : polygons) {
                QPainterPath path;
                path.setFillRule(Qt::OddEvenFill);
                for (const QJsonValue& ring : polygon.toArray())
                    path.addPolygon(polygonOf(ring));
                painter.fillPath(path, colour);
            }
        });
    } else if (kind == u"circles") {
        // Marks on small places and cities, centred on their pixel: a pen width of 0 fills them.
        const QPolygonF centres = polygonOf(op[u"centres"]);
        const double radius = op[u"radius"].toDouble();
        const int pen = op[u"pen"].toInt();
        painter.setPen(pen > 0 ? QPen(colour, pen) : QPen(Qt::NoPen));
        painter.setBrush(pen > 0 ? QBrush(Qt::NoBrush) : QBrush(colour));
        for (const QPointF& c : centres)
            painter.drawEllipse(c + QPointF(0.5, 0.5), radius, radius);
    } else if (kind == u"lines") {
        const QJsonArray paths = op[u"paths"].toArray();
        painter.setPen(QPen(colour, 1));
        painter.setBrush(Qt::NoBrush);
        drawWrapped(painter, wrap, [&] {
            for (const QJsonValue& path : paths)
                painter.drawPolyline(polygonOf(path));
        });
    } else {
        err() << "unknown drawing operation " << kind << Qt::endl;
        return false;
    }
    return true;
}

// The map as an 8-bit bitmap of the palette's colours; every pixel must be one of them.
std::optional<QImage> paintMap(const QJsonObject& drawing) {
    QImage image(drawing[u"width"].toInt(), drawing[u"height"].toInt(), QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const QJsonValue& op : drawing[u"ops"].toArray())
            if (!paintOperation(painter, image, op.toObject()))
                return std::nullopt;
    }
    QList<QRgb> table;
    for (const QColor& c : SamplePalette::all())
        table.append(c.rgb());
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (indexed.pixel(x, y) != image.pixel(x, y)) {
                err() << "a colour outside the palette at " << x << "," << y << Qt::endl;
                return std::nullopt;
            }
    return indexed;
}

PointList pointsOf(const QJsonObject& drawing) {
    PointList rows;
    for (const QJsonValue& value : drawing[u"points"].toArray()) {
        const QJsonObject p = value.toObject();
        Point row;
        row[ColumnX] = QString::number(p[u"x"].toInt());
        row[ColumnY] = QString::number(p[u"y"].toInt());
        row[ColumnHint] = p[u"hint"].toString();
        row[ColumnAnswer1] = p[u"answer1"].toString();
        row[ColumnAnswer2] = p[u"answer2"].toString();
        row[ColumnInfo] = p[u"info"].toString();
        rows.append(row);
    }
    return rows;
}

// Reads the written quiz back through the program's reader and checks that the map comes back
// pixel for pixel and that every point sits on its own colour (its place's fill, or its
// city's dot), with no border or sea within two pixels.
bool verify(const QString& zvmPath, const QJsonObject& drawing, const PointList& written,
            const QImage& painted) {
    QuestionTable table;
    TableSink sink(table);
    const ReadOutcome outcome = QuestionFile::read(zvmPath, sink);
    if (outcome != ReadOutcome::Success) {
        err() << "reading back " << zvmPath << " failed: " << int(outcome) << Qt::endl;
        return false;
    }
    if (table.rows() != written || sink.map.isNull()) {
        err() << "read back other points or no map" << Qt::endl;
        return false;
    }
    if (sink.map.size() != painted.size()) {
        err() << "read back a map of another size" << Qt::endl;
        return false;
    }
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            if (sink.map.pixel(x, y) != painted.pixel(x, y)) {
                err() << "read back another pixel at " << x << "," << y << Qt::endl;
                return false;
            }
    const QJsonArray points = drawing[u"points"].toArray();
    bool ok = true;
    for (int i = 0; i < table.rowCount(); ++i) {
        const int x = table.text(ColumnX, i).toInt();
        const int y = table.text(ColumnY, i).toInt();
        const QRgb expected = SamplePalette::byName(points[i][u"colour"].toString()).rgb();
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QPoint at(x + dx, y + dy);
                if (!sink.map.valid(at) || sink.map.pixel(at) != expected) {
                    err() << table.text(ColumnAnswer1, i) << ": not on its own colour at " << at.x()
                          << "," << at.y() << Qt::endl;
                    ok = false;
                    dx = dy = 3;
                }
            }
    }
    return ok;
}

// Paints, writes and checks one quiz; false after telling why not.
bool makeQuiz(const QString& drawingPath, const QString& samples) {
    QFile input(drawingPath);
    if (!input.open(QIODevice::ReadOnly)) {
        err() << "cannot open " << drawingPath << Qt::endl;
        return false;
    }
    const QJsonObject drawing = QJsonDocument::fromJson(input.readAll()).object();
    const QString name = drawing[u"name"].toString();
    const QString subject = drawing[u"subject"].toString();
    if (name.isEmpty() || subject.isEmpty()) {
        err() << drawingPath << " holds no drawing lists" << Qt::endl;
        return false;
    }

    const QDir folder(QDir(samples).filePath(subject + u'/' + name));
    if (!QDir().mkpath(folder.path())) {
        err() << "cannot create " << folder.path() << Qt::endl;
        return false;
    }
    const std::optional<QImage> map = paintMap(drawing);
    const QString bmpPath = folder.filePath(name + QStringLiteral(".bmp"));
    QFile bmp(bmpPath);
    const QByteArray bmpBytes = map ? BitmapFile::smallest(*map) : QByteArray();
    if (bmpBytes.isEmpty() || !bmp.open(QIODevice::WriteOnly) ||
        bmp.write(bmpBytes) != bmpBytes.size() || !bmp.flush()) {
        err() << "cannot paint or save " << bmpPath << Qt::endl;
        return false;
    }
    bmp.close();

    const PointList rows = pointsOf(drawing);
    const QString zvmPath = folder.filePath(name + QStringLiteral(".zvm"));
    const WriteResult result =
        QuestionFile::write(zvmPath, QStringLiteral("./") + name + QStringLiteral(".bmp"), rows);
    if (!result.ok()) {
        err() << "cannot write " << zvmPath << ": row " << result.row << ", column "
              << result.column << " " << result.errorString << Qt::endl;
        return false;
    }
    if (!verify(zvmPath, drawing, rows, *map))
        return false;
    QTextStream(stdout) << zvmPath << ": " << rows.size() << " points on a " << map->width()
                        << " x " << map->height() << " map, " << bmpBytes.size() << " bytes"
                        << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        err() << "usage: zav_samplegen DRAWING.json... SAMPLES_FOLDER" << Qt::endl;
        return 2;
    }
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (!makeQuiz(args[i], args.last()))
            return 1;
    return 0;
}
