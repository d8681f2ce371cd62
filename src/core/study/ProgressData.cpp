#include "core/study/ProgressData.h"

#include "core/memory/MemoryStates.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {

std::int64_t startOf(QDate day) {
    return QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch();
}

// The ends of `count` days from `first`, each the next day's midnight (local time, so a day
// may be 23 or 25 hours long).
QList<std::int64_t> endsOf(QDate first, int count) {
    QList<std::int64_t> ends;
    ends.reserve(count);
    for (int i = 0; i < count; ++i)
        ends.append(startOf(first.addDays(i + 1)));
    return ends;
}

// The index of the day `msecs` lies in among days ending at `ends`; ends.size() after them.
int dayOf(const QList<std::int64_t>& ends, std::int64_t msecs) {
    return int(std::upper_bound(ends.cbegin(), ends.cend(), msecs) - ends.cbegin());
}

} // namespace

ProgressData ProgressData::of(const AnswerHistory& history, const PointList& points,
                              const Fsrs& model, const QDateTime& now) {
    ProgressData data;
    data.today = now.date();
    data.due.fill(0, kDueDays);

    // Each of the file's points once, its answers in time order.
    QList<QList<TimedAnswer>> answered;
    QSet<PointIdentity> seen;
    std::int64_t earliest = std::numeric_limits<std::int64_t>::max();
    for (const Point& point : points) {
        const PointIdentity id = PointIdentity::of(point);
        const auto found = history.constFind(id);
        if (found == history.cend() || found->isEmpty() || seen.contains(id))
            continue;
        seen.insert(id);
        QList<TimedAnswer> answers = *found;
        std::stable_sort(answers.begin(), answers.end(), [](const auto& a, const auto& b) {
            return a.whenMsecsUtc < b.whenMsecsUtc;
        });
        earliest = std::min(earliest, answers.first().whenMsecsUtc);
        answered.append(answers);
    }

    QDate first = data.today;
    if (!answered.isEmpty())
        first = std::min(first, QDateTime::fromMSecsSinceEpoch(earliest).date());
    data.firstDay = std::max(first, data.today.addDays(-(kMaxDays - 1)));
    const int dayCount = int(data.firstDay.daysTo(data.today)) + 1;
    data.known.fill(0, dayCount);
    data.answers.fill(0, dayCount);
    data.right.fill(0, dayCount);
    const QList<std::int64_t> ends = endsOf(data.firstDay, dayCount);
    const QList<std::int64_t> dueEnds = endsOf(data.today, kDueDays);
    const std::int64_t charted = startOf(data.firstDay);

    QSet<qint64> studied; // Julian days
    for (const QList<TimedAnswer>& answers : answered) {
        const QList<Rating> ratings = MemoryStates::ratings(answers);
        MemoryState state;
        qsizetype next = 0;
        // The model replayed day by day from the point's first answer; today takes the rest.
        for (int day = std::min(dayOf(ends, answers.first().whenMsecsUtc), dayCount - 1);
             day < dayCount; ++day) {
            const bool last = day == dayCount - 1;
            for (; next < answers.size() && (last || answers[next].whenMsecsUtc < ends[day]);
                 ++next) {
                const TimedAnswer& answer = answers[next];
                state = model.next(state, ratings[next], answer.whenMsecsUtc);
                if (answer.whenMsecsUtc < charted) {
                    studied.insert(
                        QDateTime::fromMSecsSinceEpoch(answer.whenMsecsUtc).date().toJulianDay());
                    continue;
                }
                studied.insert(data.firstDay.addDays(day).toJulianDay());
                ++data.answers[day];
                data.right[day] += answer.correct ? 1 : 0;
            }
            if (model.retrievability(state, ends[day]) >= model.desiredRetention())
                ++data.known[day];
        }
        const int dueDay = dayOf(dueEnds, state.dueMsecsUtc);
        if (dueDay < kDueDays)
            ++data.due[dueDay];
    }
    data.studiedDays = int(studied.size());
    return data;
}

ProgressData ProgressRequest::read() const {
    AnswerHistory history;
    if (!rows.isEmpty()) {
        // A connection of this thread's own: a record is used on one thread only.
        StudyRecord record(recordFolder);
        record.setQuestionFile(questionFile, rows);
        history = record.answerHistory();
    }
    return ProgressData::of(history, rows, Fsrs(retention), now);
}
