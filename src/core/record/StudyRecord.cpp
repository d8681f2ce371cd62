#include "core/record/StudyRecord.h"

#include "core/platform/SystemError.h"

#include <QAtomicInteger>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <future>
#include <vector>

namespace {

// Questions between two checkpoints: about 3 MB of WAL.
constexpr int kCommitsPerCheckpoint = 256;
// Past this many points whose memory traces are to be made, one read of all the file's
// attempts in the order written is quicker than a lookup per point.
constexpr std::size_t kLookupsBeforeScan = 256;

// SQLite's primary result codes that decide what a failure means.
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteNoMem = 7;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// What went wrong, as far as what to do next is concerned.
enum class Failure {
    Locked,  // another program holds the lock: skip this question, try again at the next
    Damaged, // not a readable record: leave it alone for the run; clearing removes it
    Newer,   // written by a newer version: leave it alone; clearing removes it
    Other,   // cannot be opened or written here (read-only folder or file, no driver)
};

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : -1;
}

Failure classify(const QSqlError& error) {
    switch (primaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return Failure::Locked;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return Failure::Damaged;
    default:
        return Failure::Other;
    }
}

QString describe(Failure failure) {
    switch (failure) {
    case Failure::Locked:
        return QStringLiteral("another program holds its lock; questions are not recorded "
                              "while it does");
    case Failure::Damaged:
        return QStringLiteral("it is damaged or not a study record");
    case Failure::Newer:
        return QStringLiteral("it was written by a newer version of this program");
    case Failure::Other:
        break;
    }
    return QStringLiteral("it cannot be opened or written");
}

// The reason the user reads, in the program's words; standard error keeps the driver's.
QString reasonText(Failure failure, const QSqlError& error) {
    using SystemError::Condition;
    switch (failure) {
    case Failure::Locked:
        return SystemError::text(Condition::InUse);
    case Failure::Damaged:
        return QStringLiteral("学習記録が壊れているか、学習記録のﾌｧｲﾙではありません。");
    case Failure::Newer:
        return QStringLiteral("このﾌﾟﾛｸﾞﾗﾑの新しいﾊﾞｰｼﾞｮﾝで書かれた学習記録です。");
    case Failure::Other:
        break;
    }
    switch (primaryCode(error)) {
    case kSqlitePerm:
    case kSqliteReadOnly:
        return SystemError::text(Condition::NoPermission);
    case kSqliteNoMem:
        return SystemError::text(Condition::NoMemory);
    case kSqliteIoErr:
        return SystemError::text(Condition::DeviceError);
    case kSqliteFull:
        return SystemError::text(Condition::NoSpace);
    default:
        return SystemError::text(Condition::Other, error.text());
    }
}

QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("zav-study-record-%1").arg(counter.fetchAndAddRelaxed(1));
}

const char* modeText(QuizMode mode) {
    switch (mode) {
    case QuizMode::Normal:
        return "Normal";
    case QuizMode::Practice:
        return "Practice";
    case QuizMode::WeakFirst:
        return "WeakFirst";
    case QuizMode::Review:
        return "Review";
    }
    return "Normal";
}

const char* methodText(AnswerMethod method) {
    switch (method) {
    case AnswerMethod::Typing:
        return "Typed";
    case AnswerMethod::Locate:
        return "Press";
    case AnswerMethod::Choice:
        return "Choice";
    }
    return "Typed";
}

QVariant optionalReal(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

// Version 1: files by path and point set, points by identity with their running counts (so a
// mastery map of 32,767 points is one indexed read), and every attempt with room for answers
// given by pressing on the map.
const char* const kSchemaV1[] = {
    "CREATE TABLE files ("
    " id INTEGER PRIMARY KEY,"
    " path TEXT NOT NULL UNIQUE,"
    " fingerprint BLOB NOT NULL,"
    " point_count INTEGER NOT NULL)",
    "CREATE INDEX files_by_fingerprint ON files(fingerprint)",
    "CREATE TABLE points ("
    " id INTEGER PRIMARY KEY,"
    " file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,"
    " answer1 TEXT NOT NULL, answer2 TEXT NOT NULL, x TEXT NOT NULL, y TEXT NOT NULL,"
    " asked INTEGER NOT NULL DEFAULT 0,"
    " correct INTEGER NOT NULL DEFAULT 0,"
    " streak INTEGER NOT NULL DEFAULT 0,"
    " last_asked INTEGER,"
    " UNIQUE (file_id, answer1, answer2, x, y))",
    "CREATE TABLE attempts ("
    " id INTEGER PRIMARY KEY,"
    " point_id INTEGER NOT NULL REFERENCES points(id) ON DELETE CASCADE,"
    " asked_at INTEGER NOT NULL,"
    " typed TEXT NOT NULL,"
    " correct INTEGER NOT NULL,"
    " seconds REAL NOT NULL,"
    " mode TEXT NOT NULL,"
    " method TEXT NOT NULL,"
    " press_x REAL, press_y REAL, distance REAL)",
    "CREATE INDEX attempts_by_point ON attempts(point_id)",
};

// A database's tables with their columns ("name type", in order), SQLite's own left out.
using TableColumns = QMap<QString, QStringList>;

std::optional<TableColumns> readTables(const QSqlDatabase& db, QSqlError* error) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT m.name, p.name, p.type FROM sqlite_schema AS m, pragma_table_info(m.name) AS p"
            " WHERE m.type = 'table' AND substr(m.name, 1, 7) <> 'sqlite_'"
            " ORDER BY m.name, p.cid"))) {
        *error = query.lastError();
        return std::nullopt;
    }
    TableColumns tables;
    while (query.next()) {
        tables[query.value(0).toString()].append(query.value(1).toString() + u' ' +
                                                 query.value(2).toString());
    }
    if (query.lastError().isValid()) {
        *error = query.lastError();
        return std::nullopt;
    }
    return tables;
}

// Version 2: each file's personal bests, one row per mode and answer method; and each point's
// wrong typed answers with their counts, kept as the attempts are written, so the choices of a
// quiz read them without going through every attempt (a million take seconds).
const char* const kSchemaV2[] = {
    "CREATE TABLE bests ("
    " file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,"
    " mode TEXT NOT NULL,"
    " method TEXT NOT NULL,"
    " correct INTEGER NOT NULL,"
    " asked INTEGER NOT NULL,"
    " seconds INTEGER,"
    " full_correct INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY (file_id, mode, method))",
    "CREATE TABLE wrong_answers ("
    " point_id INTEGER NOT NULL REFERENCES points(id) ON DELETE CASCADE,"
    " typed TEXT NOT NULL,"
    " count INTEGER NOT NULL,"
    " PRIMARY KEY (point_id, typed)) WITHOUT ROWID",
    "INSERT INTO wrong_answers (point_id, typed, count)"
    " SELECT point_id, typed, count(*) FROM attempts WHERE correct = 0 AND typed <> ''"
    " GROUP BY point_id, typed",
};

// Version 3: each point's memory trace (MemoryTrace: the model's state before its latest
// answer, and that answer's grade and time), kept as the attempts are written, so the memory
// states of a file are read without going through every attempt. `asked` is the point's count
// of attempts the trace was made from: a trace behind it is worked out again. The trace is one
// value of kTraceBytes (see packTrace), not eleven columns: a file of 32,767 points is read
// in a third less time. Records from before have none: their traces are made when their
// states are first read.
const char* const kSchemaV3[] = {
    "CREATE TABLE memory_traces ("
    " point_id INTEGER PRIMARY KEY REFERENCES points(id) ON DELETE CASCADE,"
    " asked INTEGER NOT NULL,"
    " trace BLOB NOT NULL)",
};

// A trace as stored: little-endian, the state before the latest answer (phase, step, reps,
// lapses as 32-bit integers; difficulty, stability as doubles; its last answer in milliseconds
// since 1970 UTC), then the latest answer's grade (32-bit, 1 to 4) and time, and the time of
// the first answer (64-bit milliseconds).
constexpr qsizetype kTraceBytes = 4 * 4 + 2 * 8 + 8 + 4 + 2 * 8;

QByteArray packTrace(const MemoryTrace& trace) {
    QByteArray bytes(kTraceBytes, Qt::Uninitialized);
    char* at = bytes.data();
    const auto put = [&at](auto value) {
        qToLittleEndian(value, at);
        at += sizeof(value);
    };
    const MemoryState& b = trace.before;
    put(qint32(b.phase));
    put(qint32(b.step));
    put(qint32(b.reps));
    put(qint32(b.lapses));
    put(b.difficulty);
    put(b.stability);
    put(qint64(b.lastMsecsUtc));
    put(qint32(trace.rating));
    put(qint64(trace.atMsecsUtc));
    put(qint64(trace.firstMsecsUtc));
    return bytes;
}

// A stored trace, or nothing when it is not one the model could have written (a file changed
// by hand): such a trace is worked out again from the answers.
std::optional<MemoryTrace> unpackTrace(const QByteArray& bytes, std::int64_t asked) {
    if (bytes.size() != kTraceBytes || asked <= 0)
        return std::nullopt;
    const char* at = bytes.constData();
    const auto get = [&at]<typename T>(T) {
        const T value = qFromLittleEndian<T>(at);
        at += sizeof(T);
        return value;
    };
    MemoryTrace trace;
    MemoryState& b = trace.before;
    const qint32 phase = get(qint32());
    b.step = get(qint32());
    b.reps = get(qint32());
    b.lapses = get(qint32());
    b.difficulty = get(double());
    b.stability = get(double());
    b.lastMsecsUtc = get(qint64());
    const qint32 rating = get(qint32());
    trace.atMsecsUtc = get(qint64());
    trace.firstMsecsUtc = get(qint64());
    trace.answers = asked;
    b.phase = static_cast<MemoryPhase>(phase);
    trace.rating = static_cast<Rating>(rating);
    const bool sound = phase >= 0 && phase <= 3 && rating >= 1 && rating <= 4 &&
                       std::isfinite(b.difficulty) && std::isfinite(b.stability) &&
                       b.difficulty >= 0 && b.stability >= 0 && b.step >= 0 && b.reps >= 0 &&
                       b.lapses >= 0;
    return sound ? std::optional(trace) : std::nullopt;
}

// The statements that bring a record of `from` up to `from` + 1.
QList<const char*> upgradeStatements(int from) {
    switch (from) {
    case 0:
        return QList<const char*>(std::begin(kSchemaV1), std::end(kSchemaV1));
    case 1:
        return QList<const char*>(std::begin(kSchemaV2), std::end(kSchemaV2));
    case 2:
        return QList<const char*>(std::begin(kSchemaV3), std::end(kSchemaV3));
    }
    return {};
}

// The tables of a record of each version up to this one, as SQLite reads the statements that
// make them; empty when they cannot be made.
const QList<TableColumns>& recordTables() {
    static const QList<TableColumns> tables = [] {
        QList<TableColumns> made(StudyRecord::kSchemaVersion + 1);
        const QString name = nextConnectionName();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            bool ok = db.open();
            for (int version = 1; ok && version <= StudyRecord::kSchemaVersion; ++version) {
                for (const char* statement : upgradeStatements(version - 1))
                    ok = ok && QSqlQuery(db).exec(QString::fromLatin1(statement));
                QSqlError ignored;
                if (ok)
                    made[version] = readTables(db, &ignored).value_or(TableColumns());
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return made;
    }();
    return tables;
}

} // namespace

struct StudyRecord::Private {
    enum class State { Closed, Open, GaveUp };

    QString folder;
    QString connectionName = nextConnectionName();
    QSqlDatabase db;
    State state = State::Closed;
    Failure gaveUpFor = Failure::Other;
    QString gaveUpReason; // in Japanese, for a box
    QSet<int> reported;   // failures already on standard error
    QSqlError error;      // of the last statement that failed

    QString path;
    QByteArray fingerprint;
    qsizetype pointCount = 0;

    std::future<void> checkpointer;
    int commitsSinceCheckpoint = 0;

    // After every so many questions, copies the WAL back into the file on a thread of its own,
    // with a connection of its own; a passive checkpoint never waits for, nor blocks, a writer.
    void afterCommit() {
        if (++commitsSinceCheckpoint < kCommitsPerCheckpoint)
            return;
        if (checkpointer.valid() &&
            checkpointer.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
        commitsSinceCheckpoint = 0;
        checkpointer = std::async(std::launch::async, checkpoint, filePath());
    }

    static void checkpoint(const QString& file) {
        const QString name = nextConnectionName();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(file);
            if (db.open())
                QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    QString filePath() const { return QDir(folder).filePath(StudyRecord::fileName()); }

    void report(Failure failure, const QString& detail) {
        if (reported.contains(int(failure)))
            return;
        reported.insert(int(failure));
        QString line =
            QStringLiteral("Study record %1 not kept: %2").arg(filePath(), describe(failure));
        if (!detail.isEmpty())
            line += QStringLiteral(" (%1)").arg(detail);
        qWarning().noquote() << line;
    }

    // Reports the failure once. A lock leaves an open record open (the next question tries
    // again); anything else ends the record's use for this run. `reason` is the user's
    // sentence, when the last statement's error does not tell it.
    void fail(Failure failure, const QString& detail, const QString& reason = QString()) {
        report(failure, detail);
        if (failure == Failure::Locked && state == State::Open)
            return;
        close();
        if (failure != Failure::Locked) {
            state = State::GaveUp;
            gaveUpFor = failure;
            gaveUpReason = reason.isEmpty() ? reasonText(failure, error) : reason;
        }
    }

    void failWithError() { fail(classify(error), error.text()); }

    void close() {
        if (checkpointer.valid())
            checkpointer.wait();
        if (db.isValid()) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
        }
        if (state == State::Open)
            state = State::Closed;
    }

    // Runs a prepared (or, with `sql`, a plain) statement; keeps its error on failure.
    bool run(QSqlQuery& query, const QString& sql = QString()) {
        if (sql.isEmpty() ? query.exec() : query.exec(sql))
            return true;
        error = query.lastError();
        return false;
    }
    bool run(const char* sql) {
        QSqlQuery query(db);
        return run(query, QString::fromLatin1(sql));
    }
    std::optional<int> readInt(const char* sql) {
        QSqlQuery query(db);
        if (!run(query, QString::fromLatin1(sql)))
            return std::nullopt;
        if (!query.next()) {
            error = query.lastError();
            return std::nullopt;
        }
        return query.value(0).toInt();
    }
    void rollback() { QSqlQuery(db).exec(QStringLiteral("ROLLBACK")); }
    bool stampApplicationId() {
        QSqlQuery query(db);
        return run(query, QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    }

    bool open() {
        if (state == State::Open)
            return true;
        if (state == State::GaveUp)
            return false;
        if (folder.isEmpty()) {
            fail(Failure::Other, QStringLiteral("no folder the program may write to"),
                 QStringLiteral("書き込めるﾌｫﾙﾀﾞがありません。"));
            return false;
        }
        const QFileInfo info(filePath());
        // Never hand SQLite a folder, a FIFO (it would block) or a dangling link (it would
        // create the target).
        if ((info.exists() && !info.isFile()) || (info.isSymLink() && !info.exists())) {
            fail(Failure::Other, QStringLiteral("not a regular file"),
                 SystemError::text(info.isDir() ? SystemError::Condition::Folder
                                                : SystemError::Condition::NotRegularFile));
            return false;
        }
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        if (!db.isValid()) {
            fail(Failure::Other, QStringLiteral("Qt's SQLite driver is missing"),
                 QStringLiteral("SQLiteのﾄﾞﾗｲﾊﾞがｲﾝｽﾄｰﾙされていません。"));
            return false;
        }
        db.setDatabaseName(info.absoluteFilePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        if (!db.open()) {
            error = db.lastError();
            fail(primaryCode(error) == kSqliteCantOpen ? Failure::Other : classify(error),
                 error.text());
            return false;
        }
        const std::optional<Failure> failure = prepare();
        if (failure) {
            fail(*failure, failure == Failure::Newer ? QString() : error.text());
            return false;
        }
        state = State::Open;
        return true;
    }

    // Refuses a file another program made: an application id of another program, or tables
    // that are not a record's (none for a file not yet made a record). Reads only.
    std::optional<Failure> checkOwnFile(int applicationId, int version) {
        if (applicationId != 0 && applicationId != kApplicationId) {
            error = QSqlError(
                QStringLiteral("another program's file, application id %1").arg(applicationId),
                QString(), QSqlError::UnknownError);
            return Failure::Damaged;
        }
        const TableColumns& expected =
            recordTables().value(version == 0 ? kSchemaVersion : version);
        if (expected.isEmpty()) {
            error = QSqlError(QStringLiteral("the record's tables cannot be made to compare"),
                              QString(), QSqlError::UnknownError);
            return Failure::Other;
        }
        const std::optional<TableColumns> tables = readTables(db, &error);
        if (!tables)
            return classify(error);
        if (*tables != (version == 0 ? TableColumns() : expected)) {
            error = QSqlError(QStringLiteral("another program's file: its tables are not a "
                                             "study record's"),
                              QString(), QSqlError::UnknownError);
            return Failure::Damaged;
        }
        return std::nullopt;
    }

    // Journal, synchronisation and schema of a freshly opened connection.
    std::optional<Failure> prepare() {
        // A newer version's file, or another program's, is left exactly as it is, its journal
        // mode included: everything is checked before anything is written.
        const std::optional<int> applicationId = readInt("PRAGMA application_id");
        if (!applicationId)
            return classify(error);
        std::optional<int> version = readInt("PRAGMA user_version");
        if (!version)
            return classify(error);
        if (*version > kSchemaVersion && (*applicationId == 0 || *applicationId == kApplicationId))
            return Failure::Newer;
        if (const std::optional<Failure> foreign = checkOwnFile(*applicationId, *version))
            return foreign;

        // WAL: a reader never waits for a writer, and a commit is one append. NORMAL
        // synchronisation: a commit survives a crash of the program; only a power cut may lose
        // the last few questions, and no commit waits for the disk.
        QSqlQuery journal(db);
        if (!run(journal, QStringLiteral("PRAGMA journal_mode=WAL")))
            return classify(error);
        if (!journal.next() || journal.value(0).toString().compare(u"wal", Qt::CaseInsensitive)) {
            error = QSqlError(QString(), QStringLiteral("WAL mode refused"),
                              QSqlError::ConnectionError);
            return Failure::Other;
        }
        journal.finish();
        // Checkpoints (copying the WAL back into the file, with a wait for the disk) run in
        // the background, never inside a question; the WAL file is cut back after each.
        if (!run("PRAGMA synchronous=NORMAL") || !run("PRAGMA foreign_keys=ON") ||
            !run("PRAGMA wal_autocheckpoint=0") || !run("PRAGMA journal_size_limit=4194304"))
            return classify(error);
        if (*version == kSchemaVersion) {
            // A record made before records carried the id gets it.
            if (*applicationId == kApplicationId || stampApplicationId())
                return std::nullopt;
            return classify(error);
        }
        if (!run("BEGIN IMMEDIATE"))
            return classify(error);
        // Another program may have upgraded it meanwhile.
        version = readInt("PRAGMA user_version");
        bool ok = version.has_value();
        // One step per version, each as its own statements describe it.
        for (int from = ok ? *version : kSchemaVersion; ok && from < kSchemaVersion; ++from) {
            for (const char* statement : upgradeStatements(from)) {
                if (!(ok = run(statement)))
                    break;
            }
        }
        QSqlQuery stamp(db);
        ok = ok && run(stamp, QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion)) &&
             stampApplicationId() && run("COMMIT");
        if (ok)
            return std::nullopt;
        rollback();
        return classify(error);
    }

    // The current file's row: by path, or else a file with the same set of points (moved or
    // renamed). Nothing when the record has neither; false on a failure.
    struct FileRow {
        qint64 id = 0;
        bool samePath = false;
        QByteArray fingerprint;
    };
    bool findFile(std::optional<FileRow>* file) {
        file->reset();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT id, fingerprint FROM files WHERE path = ?"));
        query.addBindValue(path);
        if (!run(query))
            return false;
        if (query.next()) {
            *file = FileRow{query.value(0).toLongLong(), true, query.value(1).toByteArray()};
            return true;
        }
        if (pointCount == 0)
            return true; // every empty file would match every other
        query.prepare(
            QStringLiteral("SELECT id FROM files WHERE fingerprint = ? ORDER BY id DESC LIMIT 1"));
        query.addBindValue(fingerprint);
        if (!run(query))
            return false;
        if (query.next())
            *file = FileRow{query.value(0).toLongLong(), false, fingerprint};
        return true;
    }

    // The current file's row, made or brought up to date (path and point set), inside the
    // caller's transaction.
    bool ensureFile(qint64* fileId) {
        std::optional<FileRow> file;
        if (!findFile(&file))
            return false;
        QSqlQuery query(db);
        if (!file) {
            query.prepare(QStringLiteral(
                "INSERT INTO files (path, fingerprint, point_count) VALUES (?, ?, ?)"));
            query.addBindValue(path);
            query.addBindValue(fingerprint);
            query.addBindValue(qint64(pointCount));
            if (!run(query))
                return false;
            *fileId = query.lastInsertId().toLongLong();
            return true;
        }
        *fileId = file->id;
        if (file->samePath && file->fingerprint == fingerprint)
            return true;
        // Take over a moved file's record, and keep the point set current after edits.
        query.prepare(QStringLiteral(
            "UPDATE files SET path = ?, fingerprint = ?, point_count = ? WHERE id = ?"));
        query.addBindValue(path);
        query.addBindValue(fingerprint);
        query.addBindValue(qint64(pointCount));
        query.addBindValue(file->id);
        return run(query);
    }

    // The statements of one judged question, inside the caller's transaction.
    bool writeAttempt(const Point& point, const Attempt& attempt) {
        qint64 fileId = 0;
        if (!ensureFile(&fileId))
            return false;
        QSqlQuery query(db);
        const PointIdentity id = PointIdentity::of(point);
        query.prepare(QStringLiteral(
            "INSERT INTO points (file_id, answer1, answer2, x, y) VALUES (?, ?, ?, ?, ?)"
            " ON CONFLICT DO UPDATE SET file_id = excluded.file_id RETURNING id"));
        query.addBindValue(fileId);
        for (const QString* text : {&id.answer1, &id.answer2, &id.x, &id.y})
            query.addBindValue(notNull(*text));
        if (!run(query))
            return false;
        if (!query.next()) {
            error = query.lastError();
            return false;
        }
        const qint64 pointId = query.value(0).toLongLong();
        query.finish();

        query.prepare(QStringLiteral(
            "INSERT INTO attempts (point_id, asked_at, typed, correct, seconds, mode, method,"
            " press_x, press_y, distance) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        query.addBindValue(pointId);
        query.addBindValue(qint64(attempt.whenMsecsUtc));
        query.addBindValue(notNull(attempt.typed));
        query.addBindValue(attempt.correct ? 1 : 0);
        query.addBindValue(attempt.seconds);
        query.addBindValue(QString::fromLatin1(modeText(attempt.mode)));
        query.addBindValue(QString::fromLatin1(methodText(attempt.method)));
        query.addBindValue(optionalReal(attempt.pressX));
        query.addBindValue(optionalReal(attempt.pressY));
        query.addBindValue(optionalReal(attempt.distance));
        if (!run(query))
            return false;
        if (!attempt.correct && !attempt.typed.isEmpty()) {
            query.prepare(
                QStringLiteral("INSERT INTO wrong_answers (point_id, typed, count) VALUES (?, ?, 1)"
                               " ON CONFLICT DO UPDATE SET count = count + 1"));
            query.addBindValue(pointId);
            query.addBindValue(attempt.typed);
            if (!run(query))
                return false;
        }

        query.prepare(QStringLiteral(
            "UPDATE points SET asked = asked + 1, correct = correct + ?,"
            " streak = CASE WHEN ? THEN streak + 1 ELSE 0 END, last_asked = ? WHERE id = ?"
            " RETURNING asked"));
        query.addBindValue(attempt.correct ? 1 : 0);
        query.addBindValue(attempt.correct ? 1 : 0);
        query.addBindValue(qint64(attempt.whenMsecsUtc));
        query.addBindValue(pointId);
        if (!run(query))
            return false;
        if (!query.next()) {
            error = query.lastError();
            return false;
        }
        const std::int64_t asked = query.value(0).toLongLong();
        query.finish();
        QList<TimedAnswer> answers;
        return readAnswers(pointId, &answers) &&
               writeTrace(pointId, asked, MemoryStates::trace(answers));
    }

    // A point's answers in the order written; false on a failure.
    bool readAnswers(qint64 pointId, QList<TimedAnswer>* answers) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral(
            "SELECT asked_at, correct, seconds FROM attempts WHERE point_id = ? ORDER BY id"));
        query.addBindValue(pointId);
        if (!run(query))
            return false;
        answers->clear();
        while (query.next()) {
            answers->append({query.value(0).toLongLong(), query.value(2).toDouble(),
                             query.value(1).toLongLong() != 0});
        }
        if (query.lastError().isValid()) {
            error = query.lastError();
            return false;
        }
        return true;
    }

    bool writeTrace(qint64 pointId, std::int64_t asked, const MemoryTrace& trace) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral(
            "INSERT OR REPLACE INTO memory_traces (point_id, asked, trace) VALUES (?, ?, ?)"));
        query.addBindValue(pointId);
        query.addBindValue(qint64(asked));
        query.addBindValue(packTrace(trace));
        return run(query);
    }

    // The best of a file in a mode and method; false on a failure.
    bool readBest(qint64 fileId, QuizMode mode, AnswerMethod method,
                  std::optional<PersonalBest>* best) {
        best->reset();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT correct, asked, seconds, full_correct FROM bests"
                                     " WHERE file_id = ? AND mode = ? AND method = ?"));
        query.addBindValue(fileId);
        query.addBindValue(QString::fromLatin1(modeText(mode)));
        query.addBindValue(QString::fromLatin1(methodText(method)));
        if (!run(query))
            return false;
        if (query.next()) {
            PersonalBest read{query.value(0).toLongLong(),
                              query.value(1).toLongLong(),
                              {},
                              query.value(3).toLongLong()};
            if (!query.isNull(2))
                read.seconds = query.value(2).toLongLong();
            *best = read;
        }
        return true;
    }

    bool writeBest(qint64 fileId, QuizMode mode, AnswerMethod method, const PersonalBest& best) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral(
            "INSERT OR REPLACE INTO bests (file_id, mode, method, correct, asked, seconds,"
            " full_correct) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        query.addBindValue(fileId);
        query.addBindValue(QString::fromLatin1(modeText(mode)));
        query.addBindValue(QString::fromLatin1(methodText(method)));
        query.addBindValue(qint64(best.correct));
        query.addBindValue(qint64(best.asked));
        query.addBindValue(best.seconds ? QVariant(qint64(*best.seconds))
                                        : QVariant(QMetaType::fromType<qint64>()));
        query.addBindValue(qint64(best.fullCorrect));
        return run(query);
    }

    // A null QString binds as SQL NULL; the columns want text.
    static QString notNull(const QString& text) {
        return text.isNull() ? QStringLiteral("") : text;
    }
};

StudyRecord::StudyRecord(const QString& folder)
    : d(std::make_unique<Private>()) {
    d->folder = folder;
}

StudyRecord::~StudyRecord() {
    d->close();
}

QString StudyRecord::filePath() const {
    return d->filePath();
}

void StudyRecord::setQuestionFile(const QString& path, const PointList& points) {
    d->path = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    d->fingerprint = fingerprint(points);
    d->pointCount = points.size();
}

PointStatsTable StudyRecord::pointStats() {
    PointStatsTable stats;
    if (d->path.isEmpty() || !d->open())
        return stats;
    std::optional<Private::FileRow> file;
    if (!d->findFile(&file)) {
        d->failWithError();
        return stats;
    }
    if (!file)
        return stats;
    stats.reserve(d->pointCount);
    QSqlQuery query(d->db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT answer1, answer2, x, y, asked, correct, streak"
                                 " FROM points WHERE file_id = ? AND asked > 0"));
    query.addBindValue(file->id);
    if (!d->run(query)) {
        d->failWithError();
        return stats;
    }
    while (query.next()) {
        const PointIdentity id{query.value(0).toString(), query.value(1).toString(),
                               query.value(2).toString(), query.value(3).toString()};
        stats.insert(id, PointStats{query.value(4).toLongLong(), query.value(5).toLongLong(),
                                    query.value(6).toLongLong()});
    }
    return stats;
}

WrongAnswers StudyRecord::wrongAnswers() {
    WrongAnswers wrong;
    if (d->path.isEmpty() || !d->open())
        return wrong;
    std::optional<Private::FileRow> file;
    if (!d->findFile(&file)) {
        d->failWithError();
        return wrong;
    }
    if (!file)
        return wrong;
    QSqlQuery query(d->db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT p.id, p.answer1, p.answer2, p.x, p.y, w.typed, w.count"
                                 " FROM points AS p JOIN wrong_answers AS w ON w.point_id = p.id"
                                 " WHERE p.file_id = ? ORDER BY p.id"));
    query.addBindValue(file->id);
    if (!d->run(query)) {
        d->failWithError();
        return wrong;
    }
    // The rows come grouped by point: each point's identity is made once.
    qint64 lastPoint = -1;
    QHash<QString, qint64>* given = nullptr;
    while (query.next()) {
        const qint64 point = query.value(0).toLongLong();
        if (point != lastPoint || !given) {
            lastPoint = point;
            given = &wrong[PointIdentity{query.value(1).toString(), query.value(2).toString(),
                                         query.value(3).toString(), query.value(4).toString()}];
        }
        given->insert(query.value(5).toString(), query.value(6).toLongLong());
    }
    return wrong;
}

AnswerHistory StudyRecord::answerHistory() {
    AnswerHistory history;
    if (d->path.isEmpty() || !d->open())
        return history;
    std::optional<Private::FileRow> file;
    if (!d->findFile(&file)) {
        d->failWithError();
        return history;
    }
    if (!file)
        return history;
    // The points' identities first, then the attempts in the order they were written (the
    // table's own order: no sort, no lookup through the index, no identity texts on every
    // row), each point's then put in time order, which they almost always are already.
    QSqlQuery query(d->db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT id, answer1, answer2, x, y FROM points WHERE file_id = ?"));
    query.addBindValue(file->id);
    if (!d->run(query)) {
        d->failWithError();
        return history;
    }
    std::vector<PointIdentity> identities;
    QHash<qint64, std::size_t> indexOf;
    while (query.next()) {
        indexOf.insert(query.value(0).toLongLong(), identities.size());
        identities.push_back({query.value(1).toString(), query.value(2).toString(),
                              query.value(3).toString(), query.value(4).toString()});
    }
    query.finish();
    query.prepare(QStringLiteral("SELECT a.point_id, a.asked_at, a.correct, a.seconds"
                                 " FROM attempts AS a CROSS JOIN points AS p ON p.id = a.point_id"
                                 " WHERE p.file_id = ? ORDER BY a.id"));
    query.addBindValue(file->id);
    if (!d->run(query)) {
        d->failWithError();
        return history;
    }
    std::vector<QList<TimedAnswer>> answersOf(identities.size());
    qint64 lastPoint = -1;
    QList<TimedAnswer>* answers = nullptr;
    while (query.next()) {
        const qint64 point = query.value(0).toLongLong();
        if (point != lastPoint || !answers) {
            lastPoint = point;
            const auto it = indexOf.constFind(point);
            answers = it == indexOf.cend() ? nullptr : &answersOf[*it];
        }
        if (answers) {
            answers->append({query.value(1).toLongLong(), query.value(3).toDouble(),
                             query.value(2).toLongLong() != 0});
        }
    }
    const auto earlier = [](const TimedAnswer& a, const TimedAnswer& b) {
        return a.whenMsecsUtc < b.whenMsecsUtc;
    };
    history.reserve(static_cast<qsizetype>(identities.size()));
    for (std::size_t i = 0; i < identities.size(); ++i) {
        QList<TimedAnswer>& list = answersOf[i];
        if (list.isEmpty())
            continue;
        if (!std::is_sorted(list.cbegin(), list.cend(), earlier))
            std::stable_sort(list.begin(), list.end(), earlier);
        history.insert(identities[i], std::move(list));
    }
    return history;
}

MemoryTraceTable StudyRecord::memoryTraces() {
    MemoryTraceTable traces;
    if (d->path.isEmpty() || !d->open())
        return traces;
    std::optional<Private::FileRow> file;
    if (!d->findFile(&file)) {
        d->failWithError();
        return traces;
    }
    if (!file)
        return traces;
    QSqlQuery query(d->db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT p.id, p.answer1, p.answer2, p.x, p.y, p.asked, t.asked, t.trace "
                       "FROM points AS p LEFT JOIN memory_traces AS t ON t.point_id = p.id"
                       " WHERE p.file_id = ? AND p.asked > 0"));
    query.addBindValue(file->id);
    if (!d->run(query)) {
        d->failWithError();
        return traces;
    }
    struct Behind {
        qint64 pointId;
        std::int64_t asked;
        PointIdentity identity;
    };
    std::vector<Behind> behind;
    traces.reserve(d->pointCount);
    while (query.next()) {
        PointIdentity identity{query.value(1).toString(), query.value(2).toString(),
                               query.value(3).toString(), query.value(4).toString()};
        const std::int64_t asked = query.value(5).toLongLong();
        const std::optional<MemoryTrace> trace =
            query.value(6).toLongLong() == asked ? unpackTrace(query.value(7).toByteArray(), asked)
                                                 : std::nullopt;
        if (trace)
            traces.insert(std::move(identity), *trace);
        else
            behind.push_back({query.value(0).toLongLong(), asked, std::move(identity)});
    }
    if (query.lastError().isValid()) {
        d->error = query.lastError();
        d->failWithError();
        return {};
    }
    query.finish();
    if (behind.empty())
        return traces;

    // Traces missing or behind: from the points' answers, then kept if the record can be
    // written now (if not, they are simply worked out again next time).
    std::vector<QList<TimedAnswer>> answers(behind.size());
    if (behind.size() > kLookupsBeforeScan) {
        const AnswerHistory all = answerHistory();
        if (d->state != Private::State::Open)
            return {};
        for (std::size_t i = 0; i < behind.size(); ++i)
            answers[i] = all.value(behind[i].identity);
    } else {
        for (std::size_t i = 0; i < behind.size(); ++i) {
            if (!d->readAnswers(behind[i].pointId, &answers[i])) {
                d->failWithError();
                return {};
            }
        }
    }
    const std::vector<MemoryTrace> made = MemoryStates::traces(answers);
    for (std::size_t i = 0; i < behind.size(); ++i) {
        if (made[i].answers > 0)
            traces.insert(behind[i].identity, made[i]);
    }
    if (d->run("BEGIN IMMEDIATE")) {
        bool ok = true;
        for (std::size_t i = 0; ok && i < behind.size(); ++i) {
            // A point counted as asked without its attempts (a file changed by hand) keeps
            // no trace: nothing to step from.
            if (made[i].answers > 0)
                ok = d->writeTrace(behind[i].pointId, behind[i].asked, made[i]);
        }
        if (!(ok && d->run("COMMIT")))
            d->rollback();
    }
    return traces;
}

bool StudyRecord::record(const Point& point, const Attempt& attempt) {
    if (d->path.isEmpty() || !d->open())
        return false;
    // IMMEDIATE takes the write lock first, so a lock held elsewhere fails here, after the
    // busy timeout, before anything is done.
    if (!d->run("BEGIN IMMEDIATE")) {
        d->failWithError();
        return false;
    }
    if (d->writeAttempt(point, attempt) && d->run("COMMIT")) {
        d->afterCommit();
        return true;
    }
    d->rollback();
    d->failWithError();
    return false;
}

std::optional<PersonalBest> StudyRecord::personalBest(QuizMode mode, AnswerMethod method,
                                                      bool* readable) {
    const auto result = [readable](bool ok, std::optional<PersonalBest> best = std::nullopt) {
        if (readable)
            *readable = ok;
        return best;
    };
    if (d->path.isEmpty() || !d->open())
        return result(false);
    std::optional<Private::FileRow> file;
    if (!d->findFile(&file)) {
        d->failWithError();
        return result(false);
    }
    std::optional<PersonalBest> best;
    if (file && !d->readBest(file->id, mode, method, &best)) {
        d->failWithError();
        return result(false);
    }
    return result(true, best);
}

std::optional<BestComparison> StudyRecord::recordRun(const QuizRun& run) {
    if (d->path.isEmpty() || !d->open())
        return std::nullopt;
    if (!d->run("BEGIN IMMEDIATE")) {
        d->failWithError();
        return std::nullopt;
    }
    qint64 fileId = 0;
    std::optional<PersonalBest> before;
    bool ok = d->ensureFile(&fileId) && d->readBest(fileId, run.mode, run.method, &before);
    const BestComparison comparison = BestComparison::of(before, run);
    if (ok && comparison.after && comparison.after != before)
        ok = d->writeBest(fileId, run.mode, run.method, *comparison.after);
    if (ok && d->run("COMMIT"))
        return comparison;
    d->rollback();
    d->failWithError();
    return std::nullopt;
}

bool StudyRecord::clear(QString* errorString) {
    const auto failWith = [errorString](const QString& text) {
        if (errorString)
            *errorString = text;
        return false;
    };
    const QString file = d->filePath();
    const auto unreadable = [this] {
        return d->state == Private::State::GaveUp &&
               (d->gaveUpFor == Failure::Damaged || d->gaveUpFor == Failure::Newer);
    };
    if (QFileInfo::exists(file) && !unreadable())
        d->open();
    if (unreadable()) {
        // Not a record this version can empty: remove it and start afresh.
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                      QStringLiteral("-journal")}) {
            QFile part(file + suffix);
            if (!part.exists())
                continue;
            errno = 0;
            if (!part.remove()) {
                const int code = errno;
                return failWith(SystemError::describe(part, code));
            }
        }
        d->state = Private::State::Closed;
        d->reported.clear();
        return true;
    }
    if (!QFileInfo::exists(file))
        return true; // nothing recorded
    if (d->state != Private::State::Open)
        return failWith(d->state == Private::State::GaveUp ? d->gaveUpReason
                                                           : reasonText(Failure::Locked, d->error));
    bool ok = d->run("BEGIN IMMEDIATE");
    for (const char* statement :
         {"DELETE FROM bests", "DELETE FROM wrong_answers", "DELETE FROM memory_traces",
          "DELETE FROM attempts", "DELETE FROM points", "DELETE FROM files", "COMMIT"}) {
        ok = ok && d->run(statement);
    }
    if (!ok) {
        d->rollback();
        const Failure failure = classify(d->error);
        return failWith(reasonText(failure, d->error));
    }
    // Give the space back, so erased answers do not linger in the file; not essential.
    d->run("VACUUM");
    return true;
}

bool StudyRecord::isUsable() const {
    return d->state != Private::State::GaveUp;
}

BestComparison BestComparison::of(const std::optional<PersonalBest>& before, const QuizRun& run) {
    BestComparison comparison;
    comparison.before = before;
    comparison.after = before;
    if (run.asked <= 0)
        return comparison; // nothing was judged: no score to compare
    PersonalBest after = before.value_or(PersonalBest{run.correct, run.asked, {}});
    // More right answers win; at the same number, fewer asked.
    if (before && (run.correct > before->correct ||
                   (run.correct == before->correct && run.asked < before->asked))) {
        after.correct = run.correct;
        after.asked = run.asked;
        comparison.scoreBeaten = true;
    }
    // A complete normal quiz: more right answers win, at the same number the shorter time, so
    // hurrying through with misses never sets a time to beat.
    if (run.complete && run.mode == QuizMode::Normal &&
        (!after.seconds || run.correct > after.fullCorrect ||
         (run.correct == after.fullCorrect && run.seconds < *after.seconds))) {
        comparison.fullQuizBeaten = before.has_value() && before->seconds.has_value();
        after.seconds = run.seconds;
        after.fullCorrect = run.correct;
    }
    comparison.after = after;
    return comparison;
}

QByteArray StudyRecord::fingerprint(const PointList& points) {
    QList<QByteArray> keys;
    keys.reserve(points.size());
    for (const Point& point : points) {
        // Length-prefixed texts, so no choice of characters can make two points collide.
        QByteArray key;
        for (const int column : {ColumnAnswer1, ColumnAnswer2, ColumnX, ColumnY}) {
            const QByteArray text = point[column].toUtf8();
            key += QByteArray::number(text.size()) + ':' + text;
        }
        keys.append(key);
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray& key : keys)
        hash.addData(key);
    return hash.result();
}

MemoryStateTable memoryStates(const Fsrs& model, const MemoryTraceTable& traces) {
    MemoryStateTable states;
    states.reserve(traces.size());
    for (auto it = traces.cbegin(); it != traces.cend(); ++it)
        states.insert(it.key(), MemoryStates::of(model, it.value()));
    return states;
}

MemoryTraceTable memoryTraces(const AnswerHistory& history) {
    std::vector<QList<TimedAnswer>> answers;
    answers.reserve(history.size());
    for (const QList<TimedAnswer>& list : history)
        answers.push_back(list);
    const std::vector<MemoryTrace> made = MemoryStates::traces(answers);
    MemoryTraceTable traces;
    traces.reserve(history.size());
    std::size_t i = 0;
    for (auto it = history.cbegin(); it != history.cend(); ++it, ++i) {
        if (made[i].answers > 0)
            traces.insert(it.key(), made[i]);
    }
    return traces;
}
