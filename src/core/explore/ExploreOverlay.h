#pragma once

#include "core/data/Point.h"
#include "core/explore/ExploreLabels.h"
#include "core/platform/MapOverlay.h"
#include "core/quiz/LocateRule.h"

#include <QFont>
#include <QHash>
#include <QImage>

#include <memory>
#include <optional>
#include <vector>

// The explored map: a dot on every shown point and its answer 1 (or its number) beside it, as
// ExploreLabels lays them out. The layout is made once per zoom and kept for the zooms used
// last, the texts are measured once per file; a frame paints only the dots and labels of the
// cells of a coarse grid that it shows, so panning over 32,767 points stays smooth.
class ExploreOverlay : public MapOverlay {
public:
    // Logical pixels, like the quiz's marker, at every zoom.
    static constexpr int kDotDiameter = 7;

    // The file's points on a map of that size; every point with a place is shown.
    void setPoints(const PointList& rows, QSize mapSize);
    // Which rows show: rows with a place on the map (ExplorePoints::split), in file order.
    void setShown(const QList<int>& rows);
    const QList<int>& shown() const { return m_shown; }
    // The row numbers (1-based, in file order) instead of the names.
    void setNumbers(bool numbers);
    void setFont(const QFont& font);

    // The shown row a press on the map (map pixels) points at, by the locate rule.
    std::optional<int> rowAt(const QPointF& press) const;

    // The layout at one zoom, in zoomed map pixels: the shown rows' dots and labels.
    struct Layout {
        qreal zoom = 1;
        QList<QPointF> dots;                 // parallel to shown()
        QList<ExploreLabels::Placed> labels; // parallel to shown()
        // Painting's index: the items of each cell of a coarse grid, by their dots.
        qreal cell = 256;
        int columns = 1;
        int rows = 1;
        std::vector<int> cellStart; // items of cell c: items[cellStart[c] .. cellStart[c + 1])
        std::vector<int> items;
        qreal reach = 0; // how far an item's label reaches from its dot's cell
    };
    const Layout& layout(qreal zoom) const;
    // How many layouts were made since the points, the rows shown or the mode last changed.
    int layoutsMade() const { return m_layoutsMade; }
    // The text the label of a shown item shows in a layout (empty when left out).
    QString labelText(const Layout& layout, int item) const;

    void paint(QPainter& painter, const MapTransform& transform,
               const QRectF& visibleMap) const override;
    int itemAt(const MapTransform& transform, const QPointF& viewPos) const override;
    QString toolTip(int item) const override;

private:
    QString textOf(int row) const;
    const QList<ExploreLabels::Forms>& forms() const;
    std::unique_ptr<Layout> makeLayout(qreal zoom) const;
    const QImage& dotImage(qreal devicePixelRatio) const;
    void forgetLayouts();

    PointList m_rows;
    QSize m_mapSize;
    QList<std::optional<QPointF>> m_places; // per row
    QList<int> m_shown;
    mutable std::optional<LocateRule> m_rule; // over the shown rows, made at the first press
    bool m_numbers = false;
    QFont m_font;

    // Measured once per file, font and kind of text.
    mutable QList<ExploreLabels::Forms> m_nameForms;
    mutable QList<ExploreLabels::Forms> m_numberForms;
    mutable std::vector<std::unique_ptr<Layout>> m_layouts; // the last used first
    mutable int m_layoutsMade = 0;
    mutable QHash<qreal, QImage> m_dotImages;
};
