// Every file the program writes (settings, history, question files) is replaced through one
// atomic write: never half-written, never in place of something that is not a regular file.
#include "core/data/HistoryFile.h"
#include "core/data/QuestionFile.h"
#include "core/data/SettingsFile.h"

#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using TestFiles::readBytes;
using TestFiles::u8;
using TestFiles::writeBytes;

namespace {

using Writer = std::function<bool(const QString& path, QString* error)>;

Writer writerNamed(const QString& name) {
    if (name == u"settings")
        return [](const QString& path, QString* error) {
            return SettingsFile::write(path, Settings{StartupOption::Dialog, {}}, error);
        };
    if (name == u"history")
        return [](const QString& path, QString* error) {
            RecentFiles list;
            list.add(u8("/地図/新しい.zvm"));
            return HistoryFile::write(path, list, error);
        };
    return [](const QString& path, QString* error) {
        const WriteResult result = QuestionFile::write(
            path, u8("./map.bmp"), {TestFiles::point(u8("1"), u8("2"), u8("ﾋﾝﾄ"), u8("東京"))});
        if (error)
            *error = result.errorString;
        return result.ok();
    };
}

bool isFifo(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// The file size limit of this process, lowered for one scope: writes past it fail as on a full
// disk (EFBIG), and the signal that would end the process is ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        m_ok = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

const QByteArray kOld = "\"False\"\r\n";

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void writers_data();
    void linksAndSpecialFiles_data();
    void linksAndSpecialFiles();
    void fullDiskKeepsOldFile_data() { writers_data(); }
    void fullDiskKeepsOldFile();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAtomicFile::writers_data() {
    QTest::addColumn<QString>("writer");
    for (const char* writer : {"settings", "history", "question"})
        QTest::newRow(writer) << QString::fromLatin1(writer);
}

void TestAtomicFile::linksAndSpecialFiles_data() {
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("written");
    for (const char* writer : {"settings", "history", "question"}) {
        const QString w = QString::fromLatin1(writer);
        QTest::addRow("%s: link to a regular file", writer) << w << "link to file" << true;
        QTest::addRow("%s: link to a FIFO", writer) << w << "link to fifo" << false;
        QTest::addRow("%s: dangling link", writer) << w << "dangling link" << false;
        QTest::addRow("%s: a FIFO", writer) << w << "fifo" << false;
        QTest::addRow("%s: a folder", writer) << w << "folder" << false;
    }
}

void TestAtomicFile::linksAndSpecialFiles() {
    QFETCH(QString, writer);
    QFETCH(QString, kind);
    QFETCH(bool, written);
    const QString file = path(u8("設定.zav"));
    const QString target = path(QStringLiteral("elsewhere/target"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("elsewhere"))));
    if (kind == u"link to file")
        QVERIFY(writeBytes(target, kOld));
    if (kind == u"link to fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    if (kind.startsWith(u"link") || kind == u"dangling link")
        QVERIFY(QFile::link(target, file));
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    if (kind == u"folder")
        QVERIFY(QDir().mkdir(file));

    QString error;
    QCOMPARE(writerNamed(writer)(file, &error), written);
    QCOMPARE(error.isEmpty(), written);
    if (kind.contains(u"link"))
        QVERIFY(QFileInfo(file).isSymLink()); // the link itself stays a link
    if (kind == u"link to file") {
        QCOMPARE(QFileInfo(file).canonicalFilePath(), QFileInfo(target).canonicalFilePath());
        QVERIFY(readBytes(target) != kOld && !readBytes(target).isEmpty());
        // Written in the target's folder, with no temporary file left there.
        QCOMPARE(QDir(path(QStringLiteral("elsewhere"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("target")});
    }
    if (kind == u"link to fifo")
        QVERIFY(isFifo(target));
    if (kind == u"dangling link")
        QVERIFY(!QFileInfo::exists(target));
    if (kind == u"fifo")
        QVERIFY(isFifo(file));
    if (kind == u"folder")
        QVERIFY(QFileInfo(file).isDir());
}

void TestAtomicFile::fullDiskKeepsOldFile() {
    QFETCH(QString, writer);
    const QString file = path(u8("ﾌｧｲﾙ"));
    QVERIFY(writeBytes(file, kOld));
    QString error;
    bool written = true;
    {
        FileSizeLimit limit(0);
        QVERIFY(limit.ok());
        written = writerNamed(writer)(file, &error);
    }
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(file), kOld);
    // No temporary file is left beside it.
    QCOMPARE(QDir(path(QString())).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
