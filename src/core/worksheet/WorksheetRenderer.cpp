#include "core/worksheet/WorksheetRenderer.h"

#include "core/data/AtomicFile.h"
#include "core/worksheet/WorksheetLayout.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace {

const QColor kCircleColour(220, 0, 0);
const QColor kRuleColour(120, 120, 120);

class PagePainter {
public:
    PagePainter(QPainter& painter, const WorksheetLayout& layout)
        : m_painter(painter)
        , m_layout(layout)
        , m_mm(layout.millimetre()) {}

    void paint(int index) {
        const WorksheetPage& page = m_layout.pages()[index];
        paintTitle(page);
        paintFooter(index);
        switch (page.part) {
        case WorksheetPage::Part::Map:
            paintMap(page);
            break;
        case WorksheetPage::Part::Sheet:
            paintSheet(page);
            break;
        case WorksheetPage::Part::Key:
            paintKey(page);
            break;
        }
    }

private:
    QPen pen(const QColor& colour, qreal millimetres) const {
        return QPen(colour, millimetres * m_mm, Qt::SolidLine, Qt::FlatCap);
    }

    // A line in its own pen; the text pen stays as it was.
    void drawRule(const QLineF& line, const QColor& colour, qreal millimetres) {
        const QPen text = m_painter.pen();
        m_painter.setPen(pen(colour, millimetres));
        m_painter.drawLine(line);
        m_painter.setPen(text);
    }

    // File name and part on the left; name (for the pages handed out) and date on the right.
    void paintTitle(const WorksheetPage& page) {
        const qreal width = m_layout.paintSize().width();
        const QRectF band(0, 0, width, m_layout.body().top() - 2 * m_mm);
        QString part;
        switch (page.part) {
        case WorksheetPage::Part::Map:
            part = QStringLiteral("地図");
            break;
        case WorksheetPage::Part::Sheet:
            part = QStringLiteral("解答用紙");
            break;
        case WorksheetPage::Part::Key:
            part = QStringLiteral("解答");
            break;
        }
        if (page.partPages > 1)
            part += QStringLiteral(" (%1/%2)").arg(page.partPage).arg(page.partPages);

        const QDate date = m_layout.worksheet().source().date;
        const QString dateText = QStringLiteral("日付: ") +
                                 (date.isValid() ? date.toString(QStringLiteral("yyyy年M月d日"))
                                                 : QStringLiteral("　　　年　　月　　日"));
        m_painter.setFont(m_layout.titleFont());
        const QFontMetricsF metrics(m_layout.titleFont(), m_painter.device());
        const qreal dateWidth = metrics.horizontalAdvance(dateText);
        qreal right = width - dateWidth;
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(right, band.top(), dateWidth, band.height()),
                           Qt::AlignRight | Qt::AlignBottom, dateText);
        if (page.part != WorksheetPage::Part::Key) {
            const qreal line = 45 * m_mm;
            const QString name = QStringLiteral("名前: ");
            const qreal nameWidth = metrics.horizontalAdvance(name);
            right -= 6 * m_mm + line;
            m_painter.drawText(QRectF(right - nameWidth, band.top(), nameWidth, band.height()),
                               Qt::AlignRight | Qt::AlignBottom, name);
            drawRule(
                QLineF(right, band.bottom() - 0.5 * m_mm, right + line, band.bottom() - 0.5 * m_mm),
                Qt::black, 0.2);
            right -= nameWidth;
        }
        const QString title = m_layout.worksheet().source().fileName + QStringLiteral("　") + part;
        m_painter.drawText(QRectF(0, band.top(), std::max(right - 4 * m_mm, 0.0), band.height()),
                           Qt::AlignLeft | Qt::AlignBottom,
                           metrics.elidedText(title, Qt::ElideMiddle, right - 4 * m_mm));
        drawRule(QLineF(0, band.bottom() + m_mm, width, band.bottom() + m_mm), Qt::black, 0.3);
    }

    void paintFooter(int index) {
        const QSizeF size = m_layout.paintSize();
        const qreal top = m_layout.body().bottom();
        m_painter.setFont(m_layout.headingFont());
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, top, size.width(), size.height() - top), Qt::AlignCenter,
                           QStringLiteral("%1 / %2").arg(index + 1).arg(m_layout.pages().size()));
    }

    void paintMap(const WorksheetPage& page) {
        m_painter.save();
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter.drawImage(page.mapTarget, m_layout.worksheet().source().map, page.mapSource);
        m_painter.setPen(pen(kRuleColour, 0.2));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(page.mapTarget);
        // Circles of points at a page's edge are cut there; the neighbouring page shows them.
        m_painter.setClipRect(page.mapTarget);
        m_painter.setRenderHint(QPainter::Antialiasing);

        // Leaders first, so circles and labels lie on top of them.
        const qreal radius = page.circleRadius;
        m_painter.setPen(pen(Qt::black, 0.15));
        for (const WorksheetPage::Mark& mark : page.marks) {
            if (!mark.label.leader)
                continue;
            const QRectF& box = mark.label.box;
            const QPointF target(std::clamp(mark.centre.x(), box.left(), box.right()),
                                 std::clamp(mark.centre.y(), box.top(), box.bottom()));
            QLineF leader(mark.centre, target);
            if (leader.length() > radius)
                leader.setP1(leader.pointAt(radius / leader.length()));
            m_painter.drawLine(leader);
        }
        m_painter.setPen(pen(kCircleColour, 0.4));
        for (const WorksheetPage::Mark& mark : page.marks)
            m_painter.drawEllipse(mark.centre, radius, radius);

        m_painter.setFont(m_layout.labelFont());
        for (const WorksheetPage::Mark& mark : page.marks) {
            m_painter.fillRect(mark.label.box, Qt::white);
            m_painter.setPen(Qt::black);
            m_painter.drawText(mark.label.box, Qt::AlignCenter, mark.text);
        }
        m_painter.restore();
    }

    void paintHeadings(const QList<std::pair<qreal, QString>>& headings) {
        const QRectF body = m_layout.body();
        m_painter.setFont(m_layout.headingFont());
        m_painter.setPen(Qt::black);
        const qreal height = m_layout.headingHeight();
        for (const auto& [left, text] : headings)
            m_painter.drawText(QRectF(left, body.top(), body.width() - left, height),
                               Qt::AlignLeft | Qt::AlignVCenter, text);
        drawRule(QLineF(0, body.top() + height, body.width(), body.top() + height), kRuleColour,
                 0.2);
    }

    void paintNumber(const WorksheetPage::Row& row, qreal pad) {
        const WorksheetEntry& entry = m_layout.worksheet().entries()[row.entry];
        m_painter.drawText(
            QRectF(0, row.top + pad, m_layout.columns().numberRight, row.height - pad),
            Qt::AlignRight | Qt::AlignTop, QString::number(entry.number));
    }

    void paintCell(const WorksheetPage::Row& row, qreal pad, int column, qreal left, qreal width) {
        if (width <= 0)
            return;
        const WorksheetEntry& entry = m_layout.worksheet().entries()[row.entry];
        m_painter.drawText(QRectF(left, row.top + pad, width, row.height - pad),
                           WorksheetLayout::kWrapFlags | Qt::AlignLeft | Qt::AlignTop,
                           m_layout.cell(entry, column));
    }

    void paintSheet(const WorksheetPage& page) {
        const WorksheetColumns& c = m_layout.columns();
        QList<std::pair<qreal, QString>> headings{{0, QStringLiteral("番号")},
                                                  {c.lineLeft, QStringLiteral("答え")}};
        if (c.hintWidth > 0)
            headings.insert(1, {c.hintLeft, QStringLiteral("ヒント")});
        paintHeadings(headings);
        const qreal right = m_layout.body().width();
        const qreal pad = 2 * m_mm;
        m_painter.setFont(m_layout.textFont());
        for (const WorksheetPage::Row& row : page.rows) {
            paintNumber(row, pad);
            paintCell(row, pad, ColumnHint, c.hintLeft, c.hintWidth);
            const qreal y = row.top + row.height - 1.5 * m_mm;
            drawRule(QLineF(c.lineLeft, y, right, y), Qt::black, 0.25);
        }
    }

    void paintKey(const WorksheetPage& page) {
        const WorksheetColumns& c = m_layout.columns();
        paintHeadings({{0, QStringLiteral("番号")},
                       {c.answer1Left, QStringLiteral("答え1")},
                       {c.answer2Left, QStringLiteral("答え2")},
                       {c.infoLeft, QStringLiteral("情報")}});
        const qreal right = m_layout.body().width();
        const qreal pad = 1.25 * m_mm;
        m_painter.setFont(m_layout.textFont());
        for (const WorksheetPage::Row& row : page.rows) {
            paintNumber(row, pad);
            paintCell(row, pad, ColumnAnswer1, c.answer1Left, c.answer1Width);
            paintCell(row, pad, ColumnAnswer2, c.answer2Left, c.answer2Width);
            paintCell(row, pad, ColumnInfo, c.infoLeft, c.infoWidth);
            const qreal y = row.top + row.height;
            drawRule(QLineF(0, y, right, y), kRuleColour, 0.1);
        }
    }

    QPainter& m_painter;
    const WorksheetLayout& m_layout;
    qreal m_mm;
};

} // namespace

namespace WorksheetRenderer {

QPageLayout::Orientation orientationFor(const Worksheet& worksheet) {
    const QImage& map = worksheet.source().map;
    const bool wide = worksheet.options().mapPages && map.width() > map.height();
    return wide ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool paint(const Worksheet& worksheet, QPagedPaintDevice& device,
           const std::function<void()>& betweenPages) {
    const WorksheetLayout layout(worksheet, device, QSizeF(device.width(), device.height()));
    if (layout.pages().isEmpty())
        return false;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PagePainter pages(painter, layout);
    for (int i = 0; i < layout.pages().size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        pages.paint(i);
        if (betweenPages)
            betweenPages();
    }
    return painter.end();
}

QPageLayout pdfPageLayout(const Worksheet& worksheet, const QPageSize& pageSize) {
    return QPageLayout(pageSize, orientationFor(worksheet), QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

bool writePdf(const QString& path, const Worksheet& worksheet, QString* errorString,
              const QPageSize& pageSize, const std::function<void()>& betweenPages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("ZAV地図覚え"));
        writer.setTitle(worksheet.source().fileName);
        writer.setPageLayout(pdfPageLayout(worksheet, pageSize));
        if (!paint(worksheet, writer, betweenPages)) {
            if (errorString)
                *errorString = QStringLiteral("PDFを作成できませんでした。");
            return false;
        }
    }
    return AtomicFile::write(path, buffer.data(), errorString);
}

} // namespace WorksheetRenderer
