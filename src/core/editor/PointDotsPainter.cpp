#include "core/editor/PointDotsPainter.h"

#include "core/editor/PointDots.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// One dot per cell of this many logical pixels: closer dots could not be told apart.
constexpr qreal kDotCell = 2;
// How far from a dot's centre the pointer still finds it, in logical pixels.
constexpr qreal kHitPixels = 6;
// Magenta, which none of the marker's blink colours is, with a white rim for dark maps.
const QColor kDotFill(214, 0, 147);
const QColor kDraggedFill(255, 140, 0);

// Cells of `size` along one axis, fixed to the zoomed map (view + scroll), that cover the
// view span [from, to].
struct CellSpan {
    int first = 0;
    int last = -1;
    int count() const { return last - first + 1; }
};

CellSpan cellSpan(qreal from, qreal to, qreal scroll, qreal size) {
    return {static_cast<int>(std::floor((from + scroll) / size)),
            static_cast<int>(std::floor((to + scroll) / size))};
}

int cellAt(qreal view, qreal scroll, qreal size) {
    return static_cast<int>(std::floor((view + scroll) / size));
}

// The top-left corner of an image placed at `at`, on a whole device pixel.
QPointF onDevicePixel(const QPointF& at, qreal ratio) {
    return QPointF(std::round(at.x() * ratio) / ratio, std::round(at.y() * ratio) / ratio);
}

QImage dotImage(qreal ratio, const QColor& fill, const QColor& rim) {
    const int side = static_cast<int>(std::ceil(PointDotsPainter::kDotSize * ratio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(rim, 1.0));
    p.setBrush(fill);
    const qreal size = PointDotsPainter::kDotSize;
    p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    return image;
}

} // namespace

QPointF PointDotsPainter::toView(const QPointF& map, qreal zoom, const QPointF& scroll) {
    return (map + QPointF(0.5, 0.5)) * zoom - scroll;
}

QPointF PointDotsPainter::toMap(const QPointF& view, qreal zoom, const QPointF& scroll) {
    return (view + scroll) / zoom - QPointF(0.5, 0.5);
}

int PointDotsPainter::rowAt(const PointDots& dots, qreal zoom, const QPointF& scroll,
                            const QPointF& view) {
    if (zoom <= 0)
        return -1;
    return dots.rowNear(toMap(view, zoom, scroll), kHitPixels / zoom);
}

void PointDotsPainter::makeSprites(qreal ratio) {
    m_spriteRatio = ratio;
    m_dot = dotImage(ratio, kDotFill, Qt::white);
    m_draggedDot = dotImage(ratio, kDraggedFill, Qt::black);

    QFont font;
    font.setPixelSize(10);
    font.setBold(true);
    const QFontMetricsF metrics(font);
    qreal advance = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        advance = std::max(advance, metrics.horizontalAdvance(QChar::fromLatin1(digit)));
    // Each digit carries a white halo of one pixel, so numbers read on any map.
    m_digitSize = QSizeF(std::ceil(advance), std::ceil(metrics.height()));
    const QSize pixels(static_cast<int>(std::ceil((m_digitSize.width() + 2) * ratio)),
                       static_cast<int>(std::ceil((m_digitSize.height() + 2) * ratio)));
    for (int digit = 0; digit < 10; ++digit) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setFont(font);
        const QString text = QString::number(digit);
        const QPointF baseline(1, 1 + metrics.ascent());
        p.setPen(Qt::white);
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy)
                p.drawText(baseline + QPointF(dx, dy), text);
        }
        p.setPen(Qt::black);
        p.drawText(baseline, text);
        m_digits[digit] = image;
    }
}

void PointDotsPainter::paint(QPainter& painter, const PointDots& dots, qreal zoom,
                             const QPointF& scroll, const QRectF& exposed, const QSizeF& viewSize) {
    if (zoom <= 0 || exposed.isEmpty())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (ratio != m_spriteRatio)
        makeSprites(ratio);
    const qreal radius = kDotSize / 2.0;
    const auto onMap = [&](const QRectF& view) {
        return QRectF(toMap(view.topLeft(), zoom, scroll), toMap(view.bottomRight(), zoom, scroll));
    };
    // Numbers are thinned only where the whole view is crowded, whatever part is painted.
    const bool crowded =
        dots.countIn(onMap(QRectF(QPointF(0, 0), viewSize)), kAllNumbersUpTo + 1) > kAllNumbersUpTo;
    // A cell as large as the longest number of this table.
    const int digits = static_cast<int>(QString::number(std::max(dots.rowCount(), 1)).size());
    const QSizeF number(digits * m_digitSize.width() + radius + 1, m_digitSize.height());
    // Crowded, each number keeps some room around it, so the ones shown can be read.
    const QSizeF label =
        crowded ? QSizeF(number.width() + m_digitSize.width(), number.height() * 1.5) : number;

    // Dots in cells touching the exposed part, and numbers whose cells reach into it: a number
    // stands right of its dot.
    const QRectF dotArea = exposed.adjusted(-radius, -radius, radius, radius);
    const CellSpan dotColumns = cellSpan(dotArea.left(), dotArea.right(), scroll.x(), kDotCell);
    const CellSpan dotRows = cellSpan(dotArea.top(), dotArea.bottom(), scroll.y(), kDotCell);
    const QRectF labelArea = exposed.adjusted(-label.width() - radius - 1, -label.height(),
                                              label.width(), label.height());
    const CellSpan labelColumns =
        cellSpan(labelArea.left(), labelArea.right(), scroll.x(), label.width());
    const CellSpan labelRows =
        cellSpan(labelArea.top(), labelArea.bottom(), scroll.y(), label.height());
    // Whole cells, in view coordinates, then on the map.
    const QRectF cells =
        QRectF(
            QPointF(labelColumns.first * label.width(), labelRows.first * label.height()),
            QPointF((labelColumns.last + 1) * label.width(), (labelRows.last + 1) * label.height()))
            .translated(-scroll)
            .united(QRectF(QPointF(dotColumns.first, dotRows.first) * kDotCell,
                           QPointF(dotColumns.last + 1, dotRows.last + 1) * kDotCell)
                        .translated(-scroll));
    std::vector<int> rows;
    dots.rowsIn(onMap(cells), rows);

    const int dragged = dots.draggedRow();
    std::vector<unsigned char> dotTaken(static_cast<size_t>(dotColumns.count()) * dotRows.count());
    std::vector<unsigned char> labelTaken(static_cast<size_t>(labelColumns.count()) *
                                          labelRows.count());
    std::vector<std::pair<int, QPointF>> labels;
    for (int row : rows) {
        if (row == dragged)
            continue;
        const QPointF centre = toView(*dots.position(row), zoom, scroll);
        // Crowded, the lowest row of a number's cell gets the number; its dot is the lowest of
        // its own cell too, so it is drawn.
        const int labelColumn = cellAt(centre.x(), scroll.x(), label.width()) - labelColumns.first;
        const int labelRow = cellAt(centre.y(), scroll.y(), label.height()) - labelRows.first;
        if (!crowded) {
            labels.emplace_back(row, centre);
        } else if (labelColumn >= 0 && labelColumn < labelColumns.count() && labelRow >= 0 &&
                   labelRow < labelRows.count()) {
            unsigned char& taken = labelTaken[labelRow * labelColumns.count() + labelColumn];
            if (!taken) {
                taken = 1;
                labels.emplace_back(row, centre);
            }
        }
        const int dotColumn = cellAt(centre.x(), scroll.x(), kDotCell) - dotColumns.first;
        const int dotRow = cellAt(centre.y(), scroll.y(), kDotCell) - dotRows.first;
        if (dotColumn < 0 || dotColumn >= dotColumns.count() || dotRow < 0 ||
            dotRow >= dotRows.count())
            continue;
        unsigned char& taken = dotTaken[dotRow * dotColumns.count() + dotColumn];
        if (taken)
            continue;
        taken = 1;
        painter.drawImage(onDevicePixel(centre - QPointF(radius, radius), ratio), m_dot);
    }

    const auto drawNumber = [&](int row, const QPointF& centre) {
        QPointF at = onDevicePixel(
            centre + QPointF(radius, -m_digitSize.height() / 2) - QPointF(0, 1), ratio);
        if (!QRectF(at, number).intersects(exposed))
            return;
        const QString digits = QString::number(row + 1);
        for (QChar digit : digits) {
            painter.drawImage(at, m_digits[digit.unicode() - u'0']);
            at.rx() += m_digitSize.width();
        }
    };
    for (const auto& [row, centre] : labels)
        drawNumber(row, centre);

    // The dragged point above all: a line from where it is to where it goes.
    if (dragged >= 0) {
        const QPointF from = toView(*dots.tablePosition(dragged), zoom, scroll);
        const QPointF to = toView(*dots.position(dragged), zoom, scroll);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(from, to);
        painter.restore();
        painter.drawImage(onDevicePixel(to - QPointF(radius, radius), ratio), m_draggedDot);
        drawNumber(dragged, to);
    }
}
