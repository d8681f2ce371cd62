#pragma once

#include "core/data/QuestionFile.h"
#include "core/data/QuestionTable.h"

#include <functional>

// Reads a question file into a table: the rows go into the table, the last map and its
// reference are kept, and a failed map check stops the read unless a window says otherwise.
// A window hooks in where it has something to show: the start of the read, a loaded map, a
// failed map check, the end of each record (to let its events run).
class TableSink : public QuestionSink {
public:
    explicit TableSink(QuestionTable& table)
        : m_table(table) {}

    std::function<void()> onStarted;
    std::function<void(const QImage& map, const QString& reference)> onMapLoaded;
    std::function<AfterMapFailure(ReadOutcome failure, const QString& reference)> onMapFailed;
    std::function<void()> onRecordRead;

    // True once the file was open and reading began.
    bool started() const { return m_started; }

    // Moves the rows read so far out of the table, for a window that hands them on in
    // batches; they still count toward the point limit of the read.
    PointList takeRows();

    void readingStarted() override;
    void expectPoints(int count) override { m_table.rows().reserve(count); }
    int pointCount() const override { return m_rowsTaken + m_table.rowCount(); }
    void appendPoint(Point&& point) override { m_table.appendRow(std::move(point)); }
    void mapLoaded(const QImage& map, const QString& reference) override;
    AfterMapFailure mapFailed(ReadOutcome failure, const QString& reference) override;
    void recordRead() override;

    QImage map;
    QString mapReference;

private:
    QuestionTable& m_table;
    int m_rowsTaken = 0;
    bool m_started = false;
};
