#pragma once

#include "core/worksheet/MapLabels.h"
#include "core/worksheet/Worksheet.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPaintDevice;

// One page of a worksheet, in device units with the origin at the top-left corner of the
// page's paint rectangle.
struct WorksheetPage {
    enum class Part { Map, Sheet, Key };

    struct Mark {
        int entry = 0; // index into Worksheet::entries()
        QPointF centre;
        MapLabels::Label label;
        QString text;
    };
    struct Row {
        int entry = 0; // index into Worksheet::entries()
        qreal top = 0;
        qreal height = 0;
    };

    Part part = Part::Map;
    int partPage = 1; // this page within its part, from 1
    int partPages = 1;
    // Map pages: the part of the map shown (map pixels), where it goes, and the marks on it.
    QRectF mapSource;
    QRectF mapTarget;
    qreal circleRadius = 0;
    QList<Mark> marks;
    // Sheet and key pages: the rows under the column headings.
    QList<Row> rows;
};

// Columns of the answer sheet and the key, as left edges and widths.
struct WorksheetColumns {
    qreal numberRight = 0; // numbers are right-aligned to this edge
    qreal hintLeft = 0, hintWidth = 0;
    qreal lineLeft = 0; // the line to write on runs from here to the right edge
    qreal answer1Left = 0, answer1Width = 0;
    qreal answer2Left = 0, answer2Width = 0;
    qreal infoLeft = 0, infoWidth = 0;
};

// Lays a worksheet out on pages: the map scaled to fit (over several overlapping pages when
// one page would print it too small to read), the answer sheet and the answer key continuing
// over as many pages as they need. Fonts are measured on the device that will be painted, so
// what is laid out is what is printed.
class WorksheetLayout {
public:
    // `paintSize` is the page's paint rectangle in the units of `device`.
    WorksheetLayout(const Worksheet& worksheet, const QPaintDevice& device,
                    const QSizeF& paintSize);

    const Worksheet& worksheet() const { return m_worksheet; }
    const QList<WorksheetPage>& pages() const { return m_pages; }
    const WorksheetColumns& columns() const { return m_columns; }
    QSizeF paintSize() const { return m_paintSize; }
    QRectF body() const { return m_body; }
    qreal millimetre() const { return m_mm; }
    qreal headingHeight() const { return m_headingHeight; }

    // Fonts: all in one named Japanese face (embedded in a PDF), never the machine's default,
    // so a worksheet looks the same wherever it is made.
    const QFont& titleFont() const { return m_titleFont; }
    const QFont& textFont() const { return m_textFont; }
    const QFont& headingFont() const { return m_headingFont; }
    const QFont& labelFont() const { return m_labelFont; }

    // The text of a column of an entry as printed: line breaks of any kind as LF, bounded in
    // length; the hint and the information of a point missing from the printed map say so.
    QString cell(const WorksheetEntry& entry, int column) const;
    static QString cellText(const QString& text);
    // Word wrap that falls back to breaking anywhere, for long words and Japanese alike.
    static constexpr int kWrapFlags = Qt::TextWordWrap | Qt::TextWrapAnywhere;

    // Where the tiles along one axis of the map start (map pixels) when `length` map pixels are
    // shown `scale` device units each on pages `page` units long, neighbours sharing `overlap`:
    // one tile when the map fits the page, to well under a device unit.
    static QList<qreal> tileStarts(qreal length, qreal scale, qreal page, qreal overlap);

    static constexpr auto kFontFamily = "IPAGothic";
    // Below this many device units per map pixel a map goes over several pages.
    static constexpr qreal kMaxMapPixelsPerInch = 200;

private:
    void layOutMap();
    void layOutSheet();
    void layOutKey();
    void paginate(WorksheetPage::Part part, const QList<qreal>& heights);
    qreal wrappedHeight(const QFont& font, const QString& text, qreal width) const;
    qreal widest(const QFont& font, int column, qreal limit) const;
    bool showsMap() const;

    const Worksheet& m_worksheet;
    const QPaintDevice& m_device;
    QSizeF m_paintSize;
    qreal m_mm = 1;
    QRectF m_body;
    qreal m_headingHeight = 0;
    QFont m_titleFont, m_textFont, m_headingFont, m_labelFont;
    WorksheetColumns m_columns;
    QList<WorksheetPage> m_pages;
};
