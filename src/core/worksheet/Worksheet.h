#pragma once

#include "core/data/Point.h"
#include "core/data/WorksheetOptions.h"

#include <QDate>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

class RandomSource;

// The question file as it goes on paper.
struct WorksheetSource {
    QString fileName; // in the title line of every page
    QDate date;       // in the title line; an invalid date leaves a blank field to fill in
    QImage map;
    PointList points;
};

// One numbered question of the worksheet.
struct WorksheetEntry {
    int number = 0; // as printed, from 1
    int row = 0;    // the point's row in the question file
    // Where the point lies on the map, in map pixels (the centre of its pixel); none when a
    // coordinate is not a number or the point lies outside the map.
    std::optional<QPointF> position;
};

// The points numbered once, so every rendering of one worksheet (a preview drawn again for
// another paper size, then the print) shows the same numbers.
class Worksheet {
public:
    Worksheet(WorksheetSource source, const WorksheetOptions& options, RandomSource& random);

    const WorksheetSource& source() const { return m_source; }
    const WorksheetOptions& options() const { return m_options; }
    // In number order: entries()[n - 1] is number n.
    const QList<WorksheetEntry>& entries() const { return m_entries; }
    const Point& point(const WorksheetEntry& entry) const { return m_source.points[entry.row]; }

private:
    WorksheetSource m_source;
    WorksheetOptions m_options;
    QList<WorksheetEntry> m_entries;
};
