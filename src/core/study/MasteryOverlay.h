#pragma once

#include "core/data/Point.h"
#include "core/platform/MapOverlay.h"
#include "core/record/StudyRecord.h"
#include "core/study/MasteryDots.h"
#include "core/study/MasteryReader.h"

// The mastery map on a map view: one dot per point of the open file, coloured by its recall,
// with the counts, the recall and the next review as the tooltip; while there are dots, a
// legend of the colours in the view's bottom-right corner, the same size at every zoom and in
// place while the map scrolls.
class MasteryOverlay : public MapOverlay {
public:
    void setSnapshot(MasterySnapshot snapshot);
    void clear() { setSnapshot({}); }
    const MasteryDots& dots() const { return m_snapshot.dots; }

    void paint(QPainter& painter, const MapTransform& transform,
               const QRectF& visibleMap) const override;
    int itemAt(const MapTransform& transform, const QPointF& viewPos) const override;
    QString toolTip(int item) const override;
    QRectF pinnedRect(const MapTransform& transform) const override;

private:
    void paintLegend(QPainter& painter, const QSize& viewSize) const;

    // Kept to write a tooltip when one is asked for, not for every point in advance.
    MasterySnapshot m_snapshot;
    // Where the legend was last painted: its size follows the painter's font.
    mutable QRectF m_legend;
};

// "Which one did I mean": a ring in its own colour on the point that a wrong answer names,
// with that point's answer beside it.
class MeantPointRing : public MapOverlay {
public:
    static constexpr int kDiameter = 17;

    // Nothing shown for a point without a place on the map.
    void show(const Point& point);
    void hide() { m_centre.reset(); }
    bool isShown() const { return m_centre.has_value(); }
    QPointF centre() const { return m_centre.value_or(QPointF()); }
    QString text() const { return m_text; }

    void paint(QPainter& painter, const MapTransform& transform,
               const QRectF& visibleMap) const override;

private:
    std::optional<QPointF> m_centre; // map pixels
    QString m_text;
};
