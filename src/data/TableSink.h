#pragma once

#include "data/QuestionFile.h"
#include "data/QuestionTable.h"

// Reads a question file into a plain table, without a window: the last map and its reference
// are kept, and a failed map check stops the read as the main window's Open does.
class TableSink : public QuestionSink {
public:
    explicit TableSink(QuestionTable& table)
        : m_table(table) {}

    void expectPoints(int count) override { m_table.rows().reserve(count); }
    int pointCount() const override { return m_table.rowCount(); }
    void appendPoint(Point&& point) override { m_table.appendRow(std::move(point)); }
    void mapLoaded(const QImage& map, const QString& reference) override {
        this->map = map;
        this->mapReference = reference;
    }
    AfterMapFailure mapFailed(ReadOutcome, const QString&) override {
        return AfterMapFailure::Stop;
    }

    QImage map;
    QString mapReference;

private:
    QuestionTable& m_table;
};
