#include "core/data/TableSink.h"

PointList TableSink::takeRows() {
    PointList rows = std::move(m_table.rows());
    m_table.clear();
    m_rowsTaken += static_cast<int>(rows.size());
    return rows;
}

void TableSink::readingStarted() {
    m_started = true;
    if (onStarted)
        onStarted();
}

void TableSink::mapLoaded(const QImage& loaded, const QString& reference) {
    map = loaded;
    mapReference = reference;
    if (onMapLoaded)
        onMapLoaded(loaded, reference);
}

QuestionSink::AfterMapFailure TableSink::mapFailed(ReadOutcome failure, const QString& reference) {
    return onMapFailed ? onMapFailed(failure, reference) : AfterMapFailure::Stop;
}

void TableSink::recordRead() {
    if (onRecordRead)
        onRecordRead();
}
