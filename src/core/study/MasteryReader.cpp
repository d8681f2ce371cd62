#include "core/study/MasteryReader.h"

#include <QtConcurrent/QtConcurrentRun>

MasterySnapshot MasteryRequest::read(const std::function<bool()>& canceled) const {
    MasterySnapshot snapshot{rows, {}, {}, Fsrs(retention), at, {}};
    const auto stop = [&canceled] {
        return canceled && canceled();
    };
    if (rows.isEmpty() || stop())
        return snapshot;
    {
        // A connection of this thread's own: a record is used on one thread only.
        StudyRecord record(recordFolder);
        record.setQuestionFile(questionFile, rows);
        snapshot.stats = record.pointStats();
        const MemoryTraceTable traces = record.memoryTraces();
        if (stop())
            return snapshot;
        snapshot.states = memoryStates(snapshot.model, traces);
    }
    snapshot.dots.setDots(
        Mastery::dots(rows, snapshot.states, snapshot.model, at.toMSecsSinceEpoch()));
    return snapshot;
}

MasteryReader::MasteryReader(QObject* parent)
    : QObject(parent) {
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &MasteryReader::finished);
}

MasteryReader::~MasteryReader() {
    m_watcher.cancel();
    m_watcher.waitForFinished();
}

void MasteryReader::read(MasteryRequest request) {
    cancel();
    if (request.rows.isEmpty()) {
        emit ready(request.read());
        return;
    }
    m_reading = true;
    m_watcher.setFuture(
        QtConcurrent::run([request = std::move(request)](QPromise<MasterySnapshot>& promise) {
            promise.addResult(request.read([&promise] { return promise.isCanceled(); }));
        }));
}

void MasteryReader::cancel() {
    if (!m_reading)
        return;
    m_reading = false;
    m_watcher.cancel();
}

void MasteryReader::finished() {
    // A canceled or superseded read's news may still arrive after the next one began.
    const QFuture<MasterySnapshot> future = m_watcher.future();
    if (!m_reading || !future.isFinished() || future.isCanceled() || future.resultCount() == 0)
        return;
    m_reading = false;
    emit ready(future.result());
}
