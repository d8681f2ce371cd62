#pragma once

#include <QColor>
#include <QList>
#include <QString>

// The colours of the bundled sample maps. The maps are painted without antialiasing and saved
// with exactly these colours, so a pixel tells what lies there: sea, a border line, land that
// is not asked about, or one of the fills of the places that are.
namespace SamplePalette {

inline const QColor sea{0xC4, 0xDD, 0xF0};
inline const QColor other{0xDC, 0xD9, 0xD2};
inline const QColor border{0x5A, 0x5A, 0x5A};
inline const QList<QColor> fills{
    {0xF7, 0xE3, 0xA3}, // sand
    {0xCB, 0xE5, 0xB3}, // green
    {0xF6, 0xC8, 0xAB}, // peach
    {0xE1, 0xCC, 0xEA}, // lilac
    {0xF4, 0xBE, 0xC8}, // rose
};

// Every colour of the maps: the colour table of their 8-bit bitmaps.
inline QList<QColor> all() {
    return QList<QColor>{sea, other, border} + fills;
}

// The colour a drawing list names: "sea", "other", "border" or "fill0" to "fill4".
inline QColor byName(const QString& name) {
    if (name == u"sea")
        return sea;
    if (name == u"other")
        return other;
    if (name == u"border")
        return border;
    if (name.startsWith(u"fill")) {
        bool ok = false;
        const int index = name.mid(4).toInt(&ok);
        if (ok && index >= 0 && index < fills.size())
            return fills[index];
    }
    return {};
}

inline bool isFill(QRgb rgb) {
    for (const QColor& fill : fills)
        if (fill.rgb() == (rgb | 0xFF000000u))
            return true;
    return false;
}

} // namespace SamplePalette
