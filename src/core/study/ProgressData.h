#pragma once

#include "core/data/Point.h"
#include "core/record/StudyRecord.h"
#include "core/memory/Fsrs.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

// What the window 学習の記録 charts, counted by local day. Plain values, so they may be
// computed on any thread and handed to the window (which lives in a plugin) as they are.
struct ProgressData {
    static constexpr int kDueDays = 14;
    // The days charted go back at most this far; earlier answers still shape the model.
    static constexpr int kMaxDays = 730;

    QDate firstDay; // the first charted day; the last is `today`
    QDate today;
    // One count per day from firstDay to today.
    QList<int> known;   // points whose recall at the day's end is at least the desired retention
    QList<int> answers; // answers given that day
    QList<int> right;   // of which right
    // Reviews due on each of the kDueDays days from today; today's include the overdue ones.
    QList<int> due;
    int studiedDays = 0; // days with at least one answer, charted or not

    // The counts of the file's points (answers to points no longer in the file are left out) as
    // of `now`. An answer dated after today (a clock set back) counts on today.
    static ProgressData of(const AnswerHistory& history, const PointList& points, const Fsrs& model,
                           const QDateTime& now);

    // What the window says instead of charts that would show nothing; empty when it charts.
    // Inline: the window's plugin links no library of ours.
    QString notice() const {
        if (studiedDays == 0)
            return QStringLiteral("まだ学習記録がありません。");
        if (studiedDays == 1)
            return QStringLiteral("記録が1日分だけです。2日以上学習するとｸﾞﾗﾌが表示されます。");
        return {};
    }
};

// What to count: the file's record in the record folder, its points, the desired retention and
// the moment. Read through a record of its own, so on any thread.
struct ProgressRequest {
    QString recordFolder;
    QString questionFile;
    PointList rows;
    double retention = Fsrs::kDefaultRetention;
    QDateTime now;

    ProgressData read() const;
};
