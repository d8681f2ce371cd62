#include "core/worksheet/WorksheetLayout.h"

#include "core/data/QuizTerms.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace {

QFont worksheetFont(qreal points) {
    QFont font(QString::fromLatin1(WorksheetLayout::kFontFamily));
    font.setPointSizeF(points);
    return font;
}

// How many pages `span` device units need when each shows `page` of them and neighbours share
// `overlap`. Computed spans come out a rounding error away from the page they were scaled to
// fill, so a span within a small fraction of a device unit of a whole number of pages takes
// that number, never one more.
int tileCount(qreal span, qreal page, qreal overlap) {
    constexpr qreal kSlack = 0.01;
    if (span <= page + kSlack)
        return 1;
    return std::max(2, static_cast<int>(std::ceil((span - overlap - kSlack) / (page - overlap))));
}

} // namespace

QList<qreal> WorksheetLayout::tileStarts(qreal length, qreal scale, qreal page, qreal overlap) {
    const int count = tileCount(length * scale, page, overlap);
    if (count == 1)
        return {0};
    // Spread evenly: every neighbour shares the same strip, at least `overlap` wide.
    const qreal step = (length - page / scale) / (count - 1);
    QList<qreal> starts;
    for (int i = 0; i < count; ++i)
        starts.append(i * step);
    return starts;
}

WorksheetLayout::WorksheetLayout(const Worksheet& worksheet, const QPaintDevice& device,
                                 const QSizeF& paintSize)
    : m_worksheet(worksheet)
    , m_device(device)
    , m_paintSize(paintSize)
    , m_mm(device.logicalDpiY() / 25.4)
    , m_titleFont(worksheetFont(10))
    , m_textFont(worksheetFont(10.5))
    , m_headingFont(worksheetFont(8.5))
    , m_labelFont(worksheetFont(7)) {
    const QFontMetricsF title(m_titleFont, &m_device);
    const QFontMetricsF heading(m_headingFont, &m_device);
    const qreal top = title.height() + 4 * m_mm;
    const qreal bottom = heading.height() + 4 * m_mm;
    m_body = QRectF(0, top, paintSize.width(), std::max(paintSize.height() - top - bottom, m_mm));
    m_headingHeight = heading.height() + 2 * m_mm;

    const QFontMetricsF text(m_textFont, &m_device);
    const QString digits(QString::number(worksheet.entries().size()).size(), u'0');
    m_columns.numberRight =
        std::max(text.horizontalAdvance(digits), heading.horizontalAdvance(QStringLiteral("番号")));

    const WorksheetOptions& options = worksheet.options();
    if (showsMap())
        layOutMap();
    if (options.answerSheet)
        layOutSheet();
    if (options.answerKey)
        layOutKey();
}

QString WorksheetLayout::cellText(const QString& text) {
    // A hostile file may hold megabytes in one field; a worksheet shows the start of it.
    constexpr qsizetype kLimit = 2000;
    QString result = text.size() > kLimit ? text.left(kLimit) + QChar(0x2026) : text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(u'\r', u'\n');
    return result;
}

bool WorksheetLayout::showsMap() const {
    return m_worksheet.options().mapPages && !m_worksheet.source().map.isNull();
}

QString WorksheetLayout::cell(const WorksheetEntry& entry, int column) const {
    QString text = cellText(m_worksheet.point(entry)[column]);
    if ((column == ColumnHint || column == ColumnInfo) && !entry.position && showsMap())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + offMapText();
    return text;
}

qreal WorksheetLayout::wrappedHeight(const QFont& font, const QString& text, qreal width) const {
    const QFontMetricsF metrics(font, &m_device);
    if (text.isEmpty())
        return metrics.height();
    return metrics.boundingRect(QRectF(0, 0, width, 1e9), kWrapFlags, text).height();
}

// The width that column `column` of the points needs, at most `limit`.
qreal WorksheetLayout::widest(const QFont& font, int column, qreal limit) const {
    const QFontMetricsF metrics(font, &m_device);
    qreal width = 0;
    for (const WorksheetEntry& entry : m_worksheet.entries()) {
        for (const QString& line : cell(entry, column).split(u'\n')) {
            width = std::max(width, metrics.horizontalAdvance(line));
            if (width >= limit)
                return limit;
        }
    }
    return width;
}

void WorksheetLayout::layOutMap() {
    const QImage& map = m_worksheet.source().map;
    const qreal width = map.width();
    const qreal height = map.height();
    const qreal smallest = m_device.logicalDpiX() / kMaxMapPixelsPerInch;
    // Neighbouring pages share a strip, narrower only on paper too small for it.
    const qreal overlap = std::min(15 * m_mm, std::min(m_body.width(), m_body.height()) / 4);
    qreal scale = std::min(m_body.width() / width, m_body.height() / height);
    if (scale < smallest) {
        // Fewest pages that show the map at a readable size, then as large as they allow.
        const qreal across = tileCount(width * smallest, m_body.width(), overlap);
        const qreal down = tileCount(height * smallest, m_body.height(), overlap);
        scale = std::min((across * m_body.width() - (across - 1) * overlap) / width,
                         (down * m_body.height() - (down - 1) * overlap) / height);
    }
    const QList<qreal> columns = tileStarts(width, scale, m_body.width(), overlap);
    const QList<qreal> rows = tileStarts(height, scale, m_body.height(), overlap);

    const QFontMetricsF metrics(m_labelFont, &m_device);
    const bool hints = m_worksheet.options().hintsOnMap;
    const int first = static_cast<int>(m_pages.size());
    for (qreal y : rows) {
        for (qreal x : columns) {
            WorksheetPage page;
            page.part = WorksheetPage::Part::Map;
            // One tile along an axis shows the map's whole length, though the page be a
            // rounding error short of it.
            page.mapSource = QRectF(x, y, columns.size() == 1 ? width : m_body.width() / scale,
                                    rows.size() == 1 ? height : m_body.height() / scale);
            const QSizeF size = page.mapSource.size() * scale;
            page.mapTarget = QRectF(m_body.left() + (m_body.width() - size.width()) / 2,
                                    m_body.top() + (m_body.height() - size.height()) / 2,
                                    size.width(), size.height());

            QList<QPointF> centres;
            QList<QSizeF> sizes;
            const QList<WorksheetEntry>& entries = m_worksheet.entries();
            for (int i = 0; i < entries.size(); ++i) {
                const auto& position = entries[i].position;
                if (!position || !page.mapSource.contains(*position))
                    continue;
                QString text = QString::number(entries[i].number);
                const QString hint =
                    cellText(m_worksheet.point(entries[i])[ColumnHint]).simplified();
                if (hints && !hint.isEmpty())
                    text += u' ' + metrics.elidedText(hint, Qt::ElideRight, 30 * m_mm);
                const QPointF centre =
                    page.mapTarget.topLeft() + (*position - page.mapSource.topLeft()) * scale;
                page.marks.append({i, centre, {}, text});
                centres.append(centre);
                sizes.append(QSizeF(metrics.horizontalAdvance(text) + 0.8 * m_mm,
                                    metrics.height() + 0.2 * m_mm));
            }
            page.circleRadius = MapLabels::circleRadius(centres, 0.6 * m_mm, 1.3 * m_mm);
            const QList<MapLabels::Label> labels =
                MapLabels::place(centres, sizes, page.circleRadius, 0.3 * m_mm, page.mapTarget);
            for (int i = 0; i < labels.size(); ++i)
                page.marks[i].label = labels[i];
            m_pages.append(page);
        }
    }
    const int count = static_cast<int>(m_pages.size()) - first;
    for (int i = 0; i < count; ++i) {
        m_pages[first + i].partPage = i + 1;
        m_pages[first + i].partPages = count;
    }
}

void WorksheetLayout::layOutSheet() {
    const QFontMetricsF metrics(m_textFont, &m_device);
    const qreal width = m_body.width();
    const int count = static_cast<int>(m_worksheet.entries().size());
    m_columns.hintLeft = m_columns.numberRight + 4 * m_mm;
    m_columns.hintWidth = widest(m_textFont, ColumnHint, 0.45 * width);
    m_columns.lineLeft =
        m_columns.hintLeft + m_columns.hintWidth + (m_columns.hintWidth > 0 ? 4 * m_mm : 0);

    QList<qreal> heights;
    heights.reserve(count);
    for (const WorksheetEntry& entry : m_worksheet.entries()) {
        const QString hint = cell(entry, ColumnHint);
        // Room to write by hand, more when the hint runs over several lines.
        heights.append(
            std::max(9 * m_mm, wrappedHeight(m_textFont, hint, m_columns.hintWidth) + 4 * m_mm));
    }
    paginate(WorksheetPage::Part::Sheet, heights);
}

void WorksheetLayout::layOutKey() {
    const QFontMetricsF metrics(m_textFont, &m_device);
    const qreal width = m_body.width();
    const int count = static_cast<int>(m_worksheet.entries().size());
    const qreal gap = 4 * m_mm;
    const QFontMetricsF heading(m_headingFont, &m_device);
    const qreal least = heading.horizontalAdvance(QStringLiteral("答え1"));
    m_columns.answer1Left = m_columns.numberRight + gap;
    m_columns.answer1Width = std::max(least, widest(m_textFont, ColumnAnswer1, 0.25 * width));
    m_columns.answer2Left = m_columns.answer1Left + m_columns.answer1Width + gap;
    m_columns.answer2Width = std::max(least, widest(m_textFont, ColumnAnswer2, 0.25 * width));
    m_columns.infoLeft = m_columns.answer2Left + m_columns.answer2Width + gap;
    m_columns.infoWidth = std::max(width - m_columns.infoLeft, 0.0);

    QList<qreal> heights;
    heights.reserve(count);
    for (const WorksheetEntry& entry : m_worksheet.entries()) {
        const qreal text =
            std::max({wrappedHeight(m_textFont, cell(entry, ColumnAnswer1), m_columns.answer1Width),
                      wrappedHeight(m_textFont, cell(entry, ColumnAnswer2), m_columns.answer2Width),
                      wrappedHeight(m_textFont, cell(entry, ColumnInfo), m_columns.infoWidth)});
        heights.append(text + 2.5 * m_mm);
    }
    paginate(WorksheetPage::Part::Key, heights);
}

// Rows go under the column headings, page after page; a row taller than a whole page is cut
// to the page (the painter clips its text).
void WorksheetLayout::paginate(WorksheetPage::Part part, const QList<qreal>& heights) {
    const qreal top = m_body.top() + m_headingHeight;
    const qreal room = m_body.bottom() - top;
    const int first = static_cast<int>(m_pages.size());
    WorksheetPage page;
    page.part = part;
    qreal y = top;
    for (int i = 0; i < heights.size(); ++i) {
        const qreal height = std::min(heights[i], room);
        if (y + height > m_body.bottom() && !page.rows.isEmpty()) {
            m_pages.append(page);
            page.rows.clear();
            y = top;
        }
        page.rows.append({i, y, height});
        y += height;
    }
    m_pages.append(page);
    const int count = static_cast<int>(m_pages.size()) - first;
    for (int i = 0; i < count; ++i) {
        m_pages[first + i].partPage = i + 1;
        m_pages[first + i].partPages = count;
    }
}
