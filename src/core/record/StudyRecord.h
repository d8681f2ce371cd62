#pragma once

#include "core/data/Point.h"
#include "core/data/QuizTerms.h"
#include "core/memory/MemoryStates.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// What the record knows a point by: its answers and its position. Hint and information texts
// are not part of it, so correcting them keeps the point's record.
struct PointIdentity {
    QString answer1;
    QString answer2;
    QString x;
    QString y;

    static PointIdentity of(const Point& point) {
        return {point[ColumnAnswer1], point[ColumnAnswer2], point[ColumnX], point[ColumnY]};
    }
    friend bool operator==(const PointIdentity&, const PointIdentity&) = default;
};

inline size_t qHash(const PointIdentity& id, size_t seed = 0) {
    return qHashMulti(seed, id.answer1, id.answer2, id.x, id.y);
}

// How one point has fared so far.
struct PointStats {
    std::int64_t asked = 0;
    std::int64_t right = 0;
    // Right answers in a row, counted back from the latest; 0 after a miss.
    std::int64_t streak = 0;
};

using PointStatsTable = QHash<PointIdentity, PointStats>;

// The wrong answers given for each point, by the text given, with how often each was given.
using WrongAnswers = QHash<PointIdentity, QHash<QString, qint64>>;

// One judged question. Its mode and answer method are stored as text so the file explains
// itself.
struct Attempt {
    std::int64_t whenMsecsUtc = 0;
    QString typed;
    bool correct = false;
    double seconds = 0;
    QuizMode mode = QuizMode::Normal;
    AnswerMethod method = AnswerMethod::Typing;
    // Where the map was pressed and how far from the point, in map pixels (press answers only).
    std::optional<double> pressX;
    std::optional<double> pressY;
    std::optional<double> distance;
};

// Each point's answers, in time order.
using AnswerHistory = QHash<PointIdentity, QList<TimedAnswer>>;

// Each point's memory trace and memory state by identity.
using MemoryTraceTable = QHash<PointIdentity, MemoryTrace>;
using MemoryStateTable = QHash<PointIdentity, MemoryState>;

// The traces of answers held in memory (on the pool's threads), and the states traces give at
// the model's desired retention.
MemoryTraceTable memoryTraces(const AnswerHistory& history);
MemoryStateTable memoryStates(const Fsrs& model, const MemoryTraceTable& traces);

// A quiz as it ended: what the personal bests are made of.
struct QuizRun {
    QuizMode mode = QuizMode::Normal;
    AnswerMethod method = AnswerMethod::Typing;
    std::int64_t correct = 0;
    std::int64_t asked = 0;
    std::int64_t seconds = 0; // the quiz's clock at the end, in whole seconds
    bool complete = false;    // a normal quiz asked to its last question, not stopped
};

// The best a learner has done on a file in one mode with one answer method.
struct PersonalBest {
    // The most right answers in one quiz, and out of how many (at the same number of right
    // answers, fewer asked is better).
    std::int64_t correct = 0;
    std::int64_t asked = 0;
    // The best complete normal quiz, by more right answers and, at the same number, the shorter
    // time: its time, and its right answers. Nothing until a normal quiz has been completed.
    std::optional<std::int64_t> seconds;
    std::int64_t fullCorrect = 0;

    friend bool operator==(const PersonalBest&, const PersonalBest&) = default;
};

// A quiz against the best before it.
struct BestComparison {
    std::optional<PersonalBest> before; // nothing was recorded before in this mode and method
    std::optional<PersonalBest> after;  // what the record keeps now
    bool scoreBeaten = false;           // a best existed and the quiz did better
    bool fullQuizBeaten = false;        // a complete normal quiz beat the best one before
    bool beaten() const { return scoreBeaten || fullQuizBeaten; }

    // The rule, without the record: a quiz without a judged question changes nothing; the
    // first quiz sets the best without beating anything.
    static BestComparison of(const std::optional<PersonalBest>& before, const QuizRun& run);
};

// The study record: every judged question, in an SQLite file "学習記録.db" in the folder the
// caller names (the folder of the settings file).
//
// A question file is known by its path. A path the record has not seen whose points are the
// same set of identities as a known file's takes over that file's record, so a moved or
// renamed file keeps its history. Editing one point gives that point a new identity and leaves
// every other point's record as it was.
//
// The file is opened on first use, in WAL mode, with a busy timeout of a few milliseconds:
// every judged question is one short transaction. Whatever goes wrong (a damaged file, another
// program's file, a read-only folder, another program holding the lock, a file from a newer
// version) never stops the caller: the question is simply not recorded, and one line on
// standard error says why, once per reason. A damaged, foreign or newer file is then left alone
// for the rest of the run; a lock is tried again at the next question.
class StudyRecord {
public:
    static QString fileName() { return QStringLiteral("学習記録.db"); }
    // The schema this version writes; older files are upgraded on opening.
    static constexpr int kSchemaVersion = 3;
    // SQLite's application id of a record ("ZavM"), written when a record is made or first
    // opened by this version. A file with another id, or whose tables are not a record's, is
    // another program's: it is refused before anything in it changes.
    static constexpr int kApplicationId = 0x5A61764D;
    // How long a write waits for another program's lock before the question is skipped.
    static constexpr int kBusyTimeoutMs = 2;

    // An empty `folder` (nowhere the program may write) records nothing.
    explicit StudyRecord(const QString& folder);
    ~StudyRecord();
    StudyRecord(const StudyRecord&) = delete;
    StudyRecord& operator=(const StudyRecord&) = delete;

    QString filePath() const;

    // The question file the calls below are about. Touches no file: the record is opened and
    // the file looked up when first needed.
    void setQuestionFile(const QString& path, const PointList& points);

    // The record of the current file's points by identity; points never asked are absent. Empty
    // when the record cannot be read.
    PointStatsTable pointStats();

    // The wrong answers typed or chosen for the current file's points, with their counts
    // (presses on the map, which name nothing, left out). Empty when the record cannot be read.
    WrongAnswers wrongAnswers();

    // Every answer to the current file's points, each point's in time order. Empty when the
    // record cannot be read.
    AnswerHistory answerHistory();

    // The memory trace of each of the current file's points that has been answered, kept as
    // its answers are written, so a file of 32,767 points is one indexed read however long its
    // history. A trace missing or behind the point's answers (a record from before traces were
    // kept) is worked out from the answers, and stored for the next time when the record can
    // be written. Empty when the record cannot be read.
    MemoryTraceTable memoryTraces();

    // Records one judged question of the current file in one transaction. False when it was
    // skipped (no current file, or the record cannot be written).
    bool record(const Point& point, const Attempt& attempt);

    // The current file's personal best in this mode and method; nothing when none is recorded,
    // and nothing (with `readable` false) when the record cannot be read.
    std::optional<PersonalBest> personalBest(QuizMode mode, AnswerMethod method,
                                             bool* readable = nullptr);
    // Compares a quiz of the current file with its best and keeps the better, in one
    // transaction. Nothing when the record cannot be read or written: no best is then shown
    // rather than a wrong one.
    std::optional<BestComparison> recordRun(const QuizRun& run);

    // Empties the record. A file that is not a readable record is removed. False, with the
    // reason in `errorString`, when it cannot be done (for instance while another program
    // holds the lock).
    bool clear(QString* errorString = nullptr);

    // False once the record has given up for this run (damaged, unwritable, newer version).
    bool isUsable() const;

    // The set of point identities of a file, as one hash: equal sets give equal hashes, in any
    // order and with repeated points counted once.
    static QByteArray fingerprint(const PointList& points);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
