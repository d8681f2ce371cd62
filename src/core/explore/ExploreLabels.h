#pragma once

#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

class QFontMetricsF;

// Where the names go beside the dots of the map being explored. Labels keep their size on the
// screen, so the layout is made for one zoom at a time, in zoomed map pixels (map pixels times
// the zoom; the scroll only moves the whole). Each label goes beside its dot in one of eight
// places, shortened where the whole text fits nowhere, and is left out where even its
// shortest form would cover another label or another point's dot; zooming in spreads the dots
// and brings it back. Pure geometry, so a crowd of 32,767 points is laid out in one pass.
namespace ExploreLabels {

// The forms a label's text can take, widest first: the whole text, then ever shorter prefixes
// followed by "…", each narrower than the one before. An empty text has no forms and no label.
struct Forms {
    QList<qreal> widths;
    QList<int> lengths; // UTF-16 units of the text each form keeps
};

// The advances of a font's characters, each measured once.
class Advances {
public:
    explicit Advances(const QFontMetricsF& metrics);
    qreal of(char32_t c);

private:
    const QFontMetricsF& m_metrics;
    std::vector<qreal> m_basic; // the basic plane by code, -1 when not measured yet
    QHash<char32_t, qreal> m_other;
};

// Measures the forms of a text once, by the advances of its characters: fast enough for a full
// table, and a pixel or two of kerning is what `kPadding` leaves room for.
Forms measure(const QString& text, Advances& advances);
// The text a form shows: the text itself, or its first `length` units and "…".
QString shown(const QString& text, int length);

constexpr qreal kPadding = 2; // inside a label's box, on each side of its text

struct Geometry {
    qreal dotRadius = 4; // half the side of the square each dot keeps free
    qreal gap = 2;       // between a dot's square and its own label
    qreal height = 16;   // every label's height
    QRectF bounds;       // the zoomed map: labels stay inside it
};

struct Placed {
    QRectF box;    // zoomed map pixels; empty when left out
    int form = -1; // index into the label's forms; -1 when left out
};

// One label per dot (`dots` in zoomed map pixels, `forms` parallel to them), placed in list
// order, so earlier labels get the better places: the widest form first, then the first free
// place in the order right, left, above, below, then the corners.
QList<Placed> place(const QList<QPointF>& dots, const QList<const Forms*>& forms,
                    const Geometry& geometry);

} // namespace ExploreLabels
