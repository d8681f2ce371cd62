#pragma once

#include "core/data/Point.h"
#include "core/memory/Fsrs.h"
#include "core/record/StudyRecord.h"
#include "core/study/MasteryDots.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <functional>

// What the mastery map shows of a file, as read at one moment: the colours and the tooltips
// are as of `at`.
struct MasterySnapshot {
    PointList rows;
    PointStatsTable stats;
    MemoryStateTable states;
    Fsrs model = Fsrs();
    QDateTime at;
    MasteryDots dots;
};

// What to read: the file's record in the record folder, its points, the desired retention,
// and the moment.
struct MasteryRequest {
    QString recordFolder;
    QString questionFile;
    PointList rows;
    double retention = Fsrs::kDefaultRetention;
    QDateTime at;

    // Reads it through a record of its own, so on any thread; `canceled` is asked between the
    // read and the computing.
    MasterySnapshot read(const std::function<bool()>& canceled = {}) const;
};

// Reads the mastery map off the caller's thread: a million answers take a second or more to
// read and the memory states some more, during which the window goes on. A new request
// supersedes the one under way, whose result is dropped.
class MasteryReader : public QObject {
    Q_OBJECT
public:
    explicit MasteryReader(QObject* parent = nullptr);
    // Waits for a read under way, which may still be opening the record's file.
    ~MasteryReader() override;

    // A request without points needs no reading: it is ready at once.
    void read(MasteryRequest request);
    // Drops the read under way, if any.
    void cancel();
    bool isReading() const { return m_reading; }

signals:
    void ready(const MasterySnapshot& snapshot);

private:
    void finished();

    QFutureWatcher<MasterySnapshot> m_watcher;
    bool m_reading = false;
};
