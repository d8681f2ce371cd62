#include "TestFiles.h"
#include "Unprivileged.h"

#include "core/data/StudyOptions.h"
#include "core/platform/SystemError.h"
#include "core/record/StudyRecord.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(PointList)
Q_DECLARE_METATYPE(std::optional<PersonalBest>)
Q_DECLARE_METATYPE(QuizRun)
Q_DECLARE_METATYPE(StudyOptions)

using Named = QMap<QString, QString>;
using TestFiles::point;
using TestFiles::u8;

namespace {

// A fuse far above the few milliseconds a lock holder needs to start.
constexpr int kFuseMs = 30000;

const PointList kPoints{
    point("10", "20", u8("県庁所在地"), u8("札幌"), u8("さっぽろ"), u8("北の街")),
    point("30", "40", u8("県庁所在地"), u8("仙台"), QString(), u8("杜の都")),
    point("50", "60", u8("県庁所在地"), u8("那覇"))};

Attempt attempt(bool correct, const QString& typed = u8("札幌")) {
    Attempt a;
    a.whenMsecsUtc = 1700000000000;
    a.typed = typed;
    a.correct = correct;
    a.seconds = 2.5;
    return a;
}

// {asked, right, streak} of a point, or {} when the record does not know it.
QList<qint64> counts(const PointStatsTable& stats, const Point& p) {
    const auto it = stats.constFind(PointIdentity::of(p));
    if (it == stats.cend())
        return {};
    return {it->asked, it->right, it->streak};
}

// Another process holding the record's write lock until released.
class LockHolder {
public:
    bool start(const QString& file) {
        m_process.start(QStringLiteral(ZAV_STUDY_LOCK_HOLDER), {file});
        if (!m_process.waitForStarted(kFuseMs))
            return false;
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(kFuseMs))
                return false;
        }
        return m_process.readLine().trimmed() == "locked";
    }
    void release() {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(kFuseMs))
            m_process.kill();
    }
    ~LockHolder() {
        if (m_process.state() != QProcess::NotRunning)
            release();
    }

private:
    QProcess m_process;
};

// Runs `sql` on the file through a connection of its own, for setting up and looking inside.
QList<QVariant> rawQuery(const QString& file, const QString& sql) {
    QList<QVariant> values;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next()) {
                for (int i = 0; i < query.record().count(); ++i)
                    values.append(query.isNull(i) ? QVariant() : query.value(i));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return values;
}

} // namespace

class TestStudyRecord : public QObject {
    Q_OBJECT

private slots:
    void init();
    void survivesRestart();
    void identity_data();
    void identity();
    void failuresSkipRecording_data();
    void failuresSkipRecording();
    void clear_data();
    void clear();
    void options_data();
    void options();
    void bestRule_data();
    void bestRule();
    void bestsPerModeAndMethod();
    void memoryTraces();

private:
    QString dbPath() const { return m_dir->filePath(StudyRecord::fileName()); }
    QString zvm(const char* name) const { return m_dir->filePath(QString::fromUtf8(name)); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStudyRecord::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestStudyRecord::survivesRestart() {
    {
        StudyRecord record(m_dir->path());
        record.setQuestionFile(zvm("日本.zvm"), kPoints);
        for (const bool correct : {true, true, false, true})
            QVERIFY(record.record(kPoints[0], attempt(correct)));
        Attempt setBack = attempt(true); // a clock set back: written last, dated first
        setBack.whenMsecsUtc -= 60000;
        setBack.seconds = 1;
        QVERIFY(record.record(kPoints[0], setBack));
        Attempt press = attempt(false, QString());
        press.mode = QuizMode::WeakFirst;
        press.method = AnswerMethod::Locate;
        press.pressX = 12.5;
        press.pressY = 7;
        press.distance = 40.25;
        QVERIFY(record.record(kPoints[1], press));
        for (const char* typed : {"札幌", "那覇", "札幌"})
            QVERIFY(record.record(kPoints[1], attempt(false, u8(typed))));
        // Past a checkpoint, which runs beside the writes.
        for (int i = 0; i < 300; ++i)
            QVERIFY(record.record(kPoints[2], attempt(true)));
    }
    // As a record made before records carried their application id.
    rawQuery(dbPath(), QStringLiteral("PRAGMA application_id=0"));
    StudyRecord again(m_dir->path());
    again.setQuestionFile(zvm("日本.zvm"), kPoints);
    const PointStatsTable stats = again.pointStats();
    QCOMPARE(stats.size(), 3);
    QCOMPARE(counts(stats, kPoints[0]), (QList<qint64>{5, 4, 2}));
    QCOMPARE(counts(stats, kPoints[1]), (QList<qint64>{4, 0, 0}));
    QCOMPARE(counts(stats, kPoints[2]), (QList<qint64>{300, 300, 300}));
    // The wrong answers by point and text: right ones and presses name nothing.
    QCOMPARE(again.wrongAnswers(),
             (WrongAnswers{{PointIdentity::of(kPoints[0]), {{u8("札幌"), 1}}},
                           {PointIdentity::of(kPoints[1]), {{u8("札幌"), 2}, {u8("那覇"), 1}}}}));

    // Each point's answers in time order.
    const AnswerHistory history = again.answerHistory();
    QCOMPARE(history.size(), 3);
    QCOMPARE(history.value(PointIdentity::of(kPoints[0])),
             (QList<TimedAnswer>{{1699999940000, 1, true},
                                 {1700000000000, 2.5, true},
                                 {1700000000000, 2.5, true},
                                 {1700000000000, 2.5, false},
                                 {1700000000000, 2.5, true}}));
    QCOMPARE(history.value(PointIdentity::of(kPoints[2])).size(), 300);

    // What another program (or a later version) finds in the file.
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("PRAGMA user_version")).value(0).toInt(),
             StudyRecord::kSchemaVersion);
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("PRAGMA application_id")).value(0).toInt(),
             StudyRecord::kApplicationId);
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("PRAGMA journal_mode")).value(0).toString(), "wal");
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("SELECT asked_at, typed, correct, seconds, mode,"
                                               " method, press_x, press_y, distance FROM attempts"
                                               " ORDER BY id LIMIT 1")),
             (QList<QVariant>{1700000000000LL, u8("札幌"), 1, 2.5, "Normal", "Typed", QVariant(),
                              QVariant(), QVariant()}));
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("SELECT typed, mode, method, press_x, press_y,"
                                               " distance FROM attempts WHERE method = 'Press'")),
             (QList<QVariant>{QString(""), "WeakFirst", "Press", 12.5, 7.0, 40.25}));
}

void TestStudyRecord::identity_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<PointList>("points");
    QTest::addColumn<int>("firstRow");         // where the first point is now
    QTest::addColumn<QList<qint64>>("first");  // its counts as it is now
    QTest::addColumn<QList<qint64>>("second"); // the second point is never edited

    const QList<qint64> right{1, 1, 1}, wrong{1, 0, 0}, none;
    const auto edited = [](int row, int column, const QString& text) {
        PointList points = kPoints;
        points[row][column] = text;
        return points;
    };
    const PointList reversed{kPoints[2], kPoints[1], kPoints[0]};
    const QString here = u8("日本.zvm");
    QTest::newRow("unchanged") << here << kPoints << 0 << right << wrong;
    QTest::newRow("hint edited") << here << edited(0, ColumnHint, u8("道庁")) << 0 << right
                                 << wrong;
    QTest::newRow("info edited") << here << edited(0, ColumnInfo, u8("雪")) << 0 << right << wrong;
    QTest::newRow("answer 1 edited")
        << here << edited(0, ColumnAnswer1, u8("札幌市")) << 0 << none << wrong;
    QTest::newRow("answer 2 edited")
        << here << edited(0, ColumnAnswer2, QString()) << 0 << none << wrong;
    QTest::newRow("point moved") << here << edited(0, ColumnX, u8("11")) << 0 << none << wrong;
    QTest::newRow("file moved") << u8("移動/日本.zvm") << kPoints << 0 << right << wrong;
    QTest::newRow("renamed, points reordered") << u8("地図.zvm") << reversed << 2 << right << wrong;
    QTest::newRow("moved and edited")
        << u8("地図.zvm") << edited(2, ColumnAnswer1, u8("首里")) << 0 << none << none;
}

void TestStudyRecord::identity() {
    QFETCH(QString, path);
    QFETCH(PointList, points);
    QFETCH(int, firstRow);
    QFETCH(QList<qint64>, first);
    QFETCH(QList<qint64>, second);
    {
        StudyRecord record(m_dir->path());
        record.setQuestionFile(zvm("日本.zvm"), kPoints);
        QVERIFY(record.record(kPoints[0], attempt(true)));
        QVERIFY(record.record(kPoints[1], attempt(false)));
    }
    StudyRecord record(m_dir->path());
    const QString full = m_dir->filePath(path);
    record.setQuestionFile(full, points);
    QCOMPARE(counts(record.pointStats(), points[firstRow]), first);
    QCOMPARE(counts(record.pointStats(), kPoints[1]), second);

    // Recording under the file as it is now adds to the record it found.
    QVERIFY(record.record(kPoints[1], attempt(false)));
    QCOMPARE(counts(record.pointStats(), kPoints[1]).value(0), second.value(0) + 1);
    if (full != zvm("日本.zvm") && !second.isEmpty()) {
        // A taken-over record has left the old path.
        record.setQuestionFile(zvm("日本.zvm"), {kPoints[1]});
        QVERIFY(record.pointStats().isEmpty());
    }
}

void TestStudyRecord::failuresSkipRecording_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("recoversWhenReleased");

    QTest::newRow("random bytes") << "random"
                                  << "damaged" << false;
    QTest::newRow("newer version") << "newer"
                                   << "newer version" << false;
    QTest::newRow("another program's file of version 1") << "foreign tables"
                                                         << "tables are not" << false;
    QTest::newRow("another program's id") << "foreign id"
                                          << "application id" << false;
    QTest::newRow("folder in the way") << "folder"
                                       << "not a regular file" << false;
    QTest::newRow("read-only folder, no record yet") << "read-only"
                                                     << "cannot be opened" << false;
    QTest::newRow("read-only folder with a record") << "read-only with record"
                                                    << "cannot be opened" << false;
    QTest::newRow("locked while open") << "locked"
                                       << "another program" << true;
    QTest::newRow("locked before first use") << "locked at once"
                                             << "another program" << true;
    QTest::newRow("no folder to write in") << "nowhere"
                                           << "no folder" << false;
}

void TestStudyRecord::failuresSkipRecording() {
    QFETCH(QString, situation);
    QFETCH(QString, reason);
    QFETCH(bool, recoversWhenReleased);
    if (situation.startsWith(u"read-only") && Unprivileged::rerunIfRoot())
        return;

    auto record =
        std::make_unique<StudyRecord>(situation == u"nowhere" ? QString() : m_dir->path());
    record->setQuestionFile(zvm("日本.zvm"), kPoints);
    LockHolder holder;
    QByteArray bytes;
    if (situation == u"random") {
        bytes.resize(8192);
        QRandomGenerator(14).fillRange(reinterpret_cast<quint32*>(bytes.data()), 2048);
        QVERIFY(TestFiles::writeBytes(dbPath(), bytes));
    } else if (situation == u"newer") {
        rawQuery(dbPath(), QStringLiteral("PRAGMA user_version=99"));
        bytes = TestFiles::readBytes(dbPath());
    } else if (situation.startsWith(u"foreign")) {
        rawQuery(dbPath(), QStringLiteral("PRAGMA user_version=1"));
        rawQuery(dbPath(), situation.endsWith(u"id") ? QStringLiteral("PRAGMA application_id=7")
                                                     : QStringLiteral("CREATE TABLE notes (t)"));
        bytes = TestFiles::readBytes(dbPath());
    } else if (situation == u"folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(StudyRecord::fileName()));
    } else if (situation.startsWith(u"read-only")) {
        if (situation.endsWith(u"record")) {
            QVERIFY(record->record(kPoints[0], attempt(true)));
            record = std::make_unique<StudyRecord>(m_dir->path());
            record->setQuestionFile(zvm("日本.zvm"), kPoints);
        }
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    } else if (situation == u"locked") {
        QVERIFY(record->record(kPoints[0], attempt(true)));
        QVERIFY(holder.start(dbPath()));
    } else if (situation == u"locked at once") {
        QVERIFY(holder.start(dbPath()));
    }

    // One line on standard error, however many questions are skipped.
    const QRegularExpression line(u8("^Study record .* not kept: .*") + reason);
    QTest::ignoreMessage(QtWarningMsg, line);
    QTest::failOnWarning(line);
    const qint64 before = counts(record->pointStats(), kPoints[0]).value(0);
    QVERIFY(!record->record(kPoints[0], attempt(true)));
    QVERIFY(!record->record(kPoints[1], attempt(false)));
    QCOMPARE(record->isUsable(), recoversWhenReleased);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!bytes.isEmpty())
        QCOMPARE(TestFiles::readBytes(dbPath()), bytes); // left exactly as it was
    if (situation.startsWith(u"foreign"))
        QCOMPARE(rawQuery(dbPath(), QStringLiteral("PRAGMA journal_mode")).value(0), "delete");
    QVERIFY(!QFileInfo::exists(StudyRecord::fileName())); // never in the working folder

    // A lock is tried again at the next question.
    holder.release();
    QCOMPARE(record->record(kPoints[0], attempt(true)), recoversWhenReleased);
    if (recoversWhenReleased)
        QCOMPARE(counts(record->pointStats(), kPoints[0]).value(0), before + 1);
}

void TestStudyRecord::clear_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("cleared");

    QTest::newRow("a record") << "record" << true;
    QTest::newRow("no record yet") << "none" << true;
    QTest::newRow("random bytes") << "random" << true;
    QTest::newRow("locked") << "locked" << false;
}

void TestStudyRecord::clear() {
    QFETCH(QString, situation);
    QFETCH(bool, cleared);

    StudyRecord record(m_dir->path());
    record.setQuestionFile(zvm("日本.zvm"), kPoints);
    LockHolder holder;
    if (situation == u"record" || situation == u"locked")
        QVERIFY(record.record(kPoints[0], attempt(false)));
    if (situation == u"locked")
        QVERIFY(holder.start(dbPath()));
    if (situation == u"random") {
        QVERIFY(TestFiles::writeBytes(dbPath(), QByteArray(4096, '\x5a')));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged"));
        QVERIFY(!record.record(kPoints[0], attempt(false)));
    }

    QString error;
    QCOMPARE(record.clear(&error), cleared);
    QCOMPARE(error, cleared ? QString() : SystemError::text(SystemError::Condition::InUse));
    holder.release();
    if (cleared) {
        QVERIFY(record.pointStats().isEmpty());
        QVERIFY(record.memoryTraces().isEmpty());
        // And the record starts afresh.
        QVERIFY(record.record(kPoints[0], attempt(true)));
        QCOMPARE(counts(record.pointStats(), kPoints[0]), (QList<qint64>{1, 1, 1}));
    } else {
        QCOMPARE(counts(record.pointStats(), kPoints[0]), (QList<qint64>{1, 0, 0}));
    }
}

void TestStudyRecord::options_data() {
    QTest::addColumn<Named>("stored");
    QTest::addColumn<StudyOptions>("options");
    QTest::addColumn<Named>("written"); // after writing back what was read

    const StudyOptions defaults;
    QTest::newRow("nothing stored: the defaults, nothing written")
        << Named() << defaults << Named();
    QTest::newRow("recording off")
        << Named{{"Recording", "False"}} << StudyOptions{false, true, 90, 20}
        << Named{{"Recording", "False"}};
    QTest::newRow("review off") << Named{{"ReviewOpens", "False"}}
                                << StudyOptions{true, false, 90, 20}
                                << Named{{"ReviewOpens", "False"}};
    const Named numbers{{"DesiredRetention", "85"}, {"NewPointsPerDay", "0"}};
    QTest::newRow("retention and new points a day")
        << numbers << StudyOptions{true, true, 85, 0} << numbers;
    QTest::newRow("defaults stored are dropped")
        << Named{{"Recording", "True"}, {"ReviewOpens", "True"}, {"DesiredRetention", "90"}}
        << defaults << Named();
    QTest::newRow("values compared exactly, numbers whole and in range")
        << Named{{"Recording", "false"}, {"DesiredRetention", "69"}, {"NewPointsPerDay", "2.5"}}
        << defaults << Named();
    QTest::newRow("other names kept")
        << Named{{"Zoom", "2"}, {"ReviewOpens", "False"}} << StudyOptions{true, false, 90, 20}
        << Named{{"Zoom", "2"}, {"ReviewOpens", "False"}};
}

void TestStudyRecord::options() {
    QFETCH(Named, stored);
    QFETCH(StudyOptions, options);
    QFETCH(Named, written);

    QVERIFY(StudyOptions::fromNamed(stored) == options);
    QMap<QString, QString> named = stored;
    options.writeTo(named);
    QCOMPARE(named, written);
}

void TestStudyRecord::bestRule_data() {
    QTest::addColumn<std::optional<PersonalBest>>("before");
    QTest::addColumn<QuizRun>("run");
    QTest::addColumn<std::optional<PersonalBest>>("after");
    QTest::addColumn<bool>("scoreBeaten");
    QTest::addColumn<bool>("fullQuizBeaten");

    using Best = std::optional<PersonalBest>;
    const auto normal = [](std::int64_t correct, std::int64_t asked, std::int64_t seconds,
                           bool complete = true) {
        return QuizRun{QuizMode::Normal, AnswerMethod::Typing, correct, asked, seconds, complete};
    };
    const Best none;
    const Best seven = PersonalBest{7, 10, 90, 7};
    QTest::newRow("first quiz sets, beats nothing")
        << none << normal(7, 10, 90) << seven << false << false;
    QTest::newRow("more right") << seven << normal(8, 10, 99) << Best(PersonalBest{8, 10, 99, 8})
                                << true << true;
    QTest::newRow("fewer right, however fast")
        << seven << normal(6, 10, 5) << seven << false << false;
    QTest::newRow("as many right, sooner")
        << seven << normal(7, 10, 89) << Best(PersonalBest{7, 10, 89, 7}) << false << true;
    QTest::newRow("as many right, later") << seven << normal(7, 10, 91) << seven << false << false;
    QTest::newRow("as many right out of fewer, no time to compare")
        << Best(PersonalBest{5, 9, {}, 0})
        << QuizRun{QuizMode::Practice, AnswerMethod::Choice, 5, 6, 40, false}
        << Best(PersonalBest{5, 6, {}, 0}) << true << false;
    QTest::newRow("stopped with more right: the score, not the time")
        << seven << normal(8, 9, 10, false) << Best(PersonalBest{8, 9, 90, 7}) << true << false;
    QTest::newRow("first complete quiz after stopped ones sets the time")
        << Best(PersonalBest{3, 3, {}, 0}) << normal(2, 10, 50) << Best(PersonalBest{3, 3, 50, 2})
        << false << false;
    QTest::newRow("nothing judged") << seven << normal(0, 0, 3, false) << seven << false << false;
    QTest::newRow("nothing judged, no best")
        << none << normal(0, 0, 3, false) << none << false << false;
}

void TestStudyRecord::bestRule() {
    QFETCH(std::optional<PersonalBest>, before);
    QFETCH(QuizRun, run);
    QFETCH(std::optional<PersonalBest>, after);
    QFETCH(bool, scoreBeaten);
    QFETCH(bool, fullQuizBeaten);

    const BestComparison comparison = BestComparison::of(before, run);
    QCOMPARE(comparison.before, before);
    QCOMPARE(comparison.after, after);
    QCOMPARE(comparison.scoreBeaten, scoreBeaten);
    QCOMPARE(comparison.fullQuizBeaten, fullQuizBeaten);
}

void TestStudyRecord::bestsPerModeAndMethod() {
    const auto run = [](QuizMode mode, AnswerMethod method, std::int64_t correct,
                        std::int64_t asked, std::int64_t seconds) {
        return QuizRun{mode, method, correct, asked, seconds, mode == QuizMode::Normal};
    };
    {
        StudyRecord record(m_dir->path());
        record.setQuestionFile(zvm("日本.zvm"), kPoints);
        bool readable = false;
        QVERIFY(!record.personalBest(QuizMode::Normal, AnswerMethod::Typing, &readable));
        QVERIFY(readable);
        QVERIFY(record.record(kPoints[0], attempt(true)));
        QVERIFY(record.record(kPoints[1], attempt(false, u8("那覇"))));
        QVERIFY(record.recordRun(run(QuizMode::Normal, AnswerMethod::Typing, 2, 3, 40)));
        QVERIFY(record.recordRun(run(QuizMode::Normal, AnswerMethod::Choice, 3, 3, 30)));
        QVERIFY(record.recordRun(run(QuizMode::Practice, AnswerMethod::Typing, 5, 9, 100)));
        const std::optional<BestComparison> again =
            record.recordRun(run(QuizMode::Normal, AnswerMethod::Choice, 3, 3, 25));
        QVERIFY(again && again->fullQuizBeaten);
    }
    // As a record of the version before bests: its attempts stay, its bests start empty.
    rawQuery(dbPath(), QStringLiteral("DROP TABLE bests"));
    rawQuery(dbPath(), QStringLiteral("DROP TABLE wrong_answers"));
    rawQuery(dbPath(), QStringLiteral("DROP TABLE memory_traces"));
    rawQuery(dbPath(), QStringLiteral("PRAGMA user_version=1"));
    {
        StudyRecord record(m_dir->path());
        record.setQuestionFile(zvm("日本.zvm"), kPoints);
        QCOMPARE(counts(record.pointStats(), kPoints[0]), (QList<qint64>{1, 1, 1}));
        // The wrong answers are counted from the attempts it has.
        QCOMPARE(record.wrongAnswers().value(PointIdentity::of(kPoints[1])),
                 (QHash<QString, qint64>{{u8("那覇"), 1}}));
        QVERIFY(!record.personalBest(QuizMode::Normal, AnswerMethod::Choice));
        QVERIFY(record.recordRun(run(QuizMode::Normal, AnswerMethod::Typing, 2, 3, 40)));
        QVERIFY(record.recordRun(run(QuizMode::Normal, AnswerMethod::Choice, 3, 3, 30)));
        QVERIFY(record.recordRun(run(QuizMode::Practice, AnswerMethod::Typing, 5, 9, 100)));
    }
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("PRAGMA user_version")).value(0).toInt(),
             StudyRecord::kSchemaVersion);

    StudyRecord record(m_dir->path());
    record.setQuestionFile(zvm("日本.zvm"), kPoints);
    using Best = std::optional<PersonalBest>;
    QCOMPARE(record.personalBest(QuizMode::Normal, AnswerMethod::Typing),
             Best(PersonalBest{2, 3, 40, 2}));
    QCOMPARE(record.personalBest(QuizMode::Normal, AnswerMethod::Choice),
             Best(PersonalBest{3, 3, 30, 3}));
    QCOMPARE(record.personalBest(QuizMode::Practice, AnswerMethod::Typing),
             Best(PersonalBest{5, 9, {}, 0}));
    QCOMPARE(record.personalBest(QuizMode::WeakFirst, AnswerMethod::Typing), Best());
    QCOMPARE(record.personalBest(QuizMode::Normal, AnswerMethod::Locate), Best());

    // A record that cannot be read gives no best rather than a wrong one.
    QVERIFY(TestFiles::writeBytes(dbPath(), QByteArray(4096, '\x5a')));
    StudyRecord damaged(m_dir->path());
    damaged.setQuestionFile(zvm("日本.zvm"), kPoints);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged"));
    bool readable = true;
    QCOMPARE(damaged.personalBest(QuizMode::Normal, AnswerMethod::Typing, &readable), Best());
    QVERIFY(!readable);
    QVERIFY(!damaged.recordRun(run(QuizMode::Normal, AnswerMethod::Typing, 3, 3, 1)));
}

// The traces kept as answers are written are the ones the answers give; one missing, behind
// or damaged (a record from before traces, a file changed by hand) is worked out again.
void TestStudyRecord::memoryTraces() {
    const auto answered = [](qint64 minutes, bool correct, double seconds) {
        Attempt a = attempt(correct);
        a.whenMsecsUtc += minutes * 60'000;
        a.seconds = seconds;
        return a;
    };
    const QList<QList<Attempt>> given{
        {answered(0, true, 3), answered(10, true, 9), answered(3 * 1440, false, 2)},
        // Dated back: a clock set back between answers.
        {answered(2 * 1440, true, 2), answered(-1440, false, 4), answered(0, true, 1)},
        {answered(5, true, 2)}};
    StudyRecord record(m_dir->path());
    record.setQuestionFile(zvm("日本.zvm"), kPoints);
    for (int p = 0; p < given.size(); ++p) {
        for (const Attempt& a : given[p])
            QVERIFY(record.record(kPoints[p], a));
    }
    const MemoryTraceTable expected = ::memoryTraces(record.answerHistory());
    QCOMPARE(expected.size(), 3);
    QCOMPARE(expected.value(PointIdentity::of(kPoints[1])).firstMsecsUtc,
             attempt(true).whenMsecsUtc - 1440 * 60'000);
    QVERIFY(record.memoryTraces() == expected);

    rawQuery(dbPath(), QStringLiteral("DELETE FROM memory_traces WHERE point_id ="
                                      " (SELECT id FROM points WHERE answer1 = '%1')")
                           .arg(u8("札幌")));
    rawQuery(dbPath(), QStringLiteral("UPDATE memory_traces SET trace = x'0900' WHERE point_id ="
                                      " (SELECT id FROM points WHERE answer1 = '%1')")
                           .arg(u8("仙台")));
    rawQuery(dbPath(), QStringLiteral("UPDATE memory_traces SET asked = 0 WHERE point_id ="
                                      " (SELECT id FROM points WHERE answer1 = '%1')")
                           .arg(u8("那覇")));
    QVERIFY(record.memoryTraces() == expected);
    // ... and stored again.
    QCOMPARE(rawQuery(dbPath(), QStringLiteral("SELECT count(*), min(length(trace)), sum(asked)"
                                               " FROM memory_traces")),
             (QList<QVariant>{3, 60, 7}));

    // A record of the version before traces: upgraded, its traces made on first reading.
    rawQuery(dbPath(), QStringLiteral("DROP TABLE memory_traces"));
    rawQuery(dbPath(), QStringLiteral("PRAGMA user_version=2"));
    StudyRecord upgraded(m_dir->path());
    upgraded.setQuestionFile(zvm("日本.zvm"), kPoints);
    QVERIFY(upgraded.memoryTraces() == expected);
    QVERIFY(upgraded.record(kPoints[2], answered(2 * 1440, true, 2)));
    QCOMPARE(upgraded.memoryTraces(), ::memoryTraces(upgraded.answerHistory()));
    QCOMPARE(upgraded.memoryTraces().value(PointIdentity::of(kPoints[2])).answers, 2);
}

QTEST_GUILESS_MAIN(TestStudyRecord)
#include "tst_studyrecord.moc"
