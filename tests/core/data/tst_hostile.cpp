// Files nobody should hand the program, and some that somebody will. Each must end in the
// reader's message or read-error path, in bounded memory (500 MB, with room for the quarantine
// when the build carries AddressSanitizer) and without hanging. The time limit is only a fuse
// against a hang, far above what the slowest case takes on an idle machine (about 1.2 s);
// speed is measured in bench/, never here.
#include "TestFiles.h"
#include "Unprivileged.h"
#include "core/data/HistoryFile.h"
#include "core/data/QuestionFile.h"
#include "core/data/SettingsFile.h"
#include "core/data/TableSink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define ZAV_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZAV_TEST_UNDER_ASAN 1
#endif
#endif

#ifdef ZAV_TEST_UNDER_ASAN
// AddressSanitizer slows everything down and keeps freed memory in a quarantine of 256 MB.
constexpr qint64 kFuseMs = 100000;
constexpr qint64 kMemoryLimitKiB = (500 + 256) * 1024;
#else
constexpr qint64 kFuseMs = 20000;
constexpr qint64 kMemoryLimitKiB = 500 * 1024;
#endif

// Peak resident memory since the last reset, in KiB (Linux).
qint64 peakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QByteArray le32(quint32 v) {
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}
QByteArray le16(quint16 v) {
    return QByteArray(reinterpret_cast<const char*>(&v), 2);
}

QByteArray bitmapHeader(quint32 width, quint32 height, quint16 bits = 24, quint32 compression = 0,
                        quint32 colours = 0) {
    const quint32 offset = 54 + colours * 4;
    return QByteArray("BM") + le32(offset + width * height * 3) + le32(0) + le32(offset) +
           le32(40) + le32(width) + le32(height) + le16(1) + le16(bits) + le32(compression) +
           le32(0) + le32(0) + le32(0) + le32(colours) + le32(0);
}

// A 4 x 3 run-length (RLE8) bitmap of two colours: runs, literal pixels, line ends, the end.
QByteArray runLengthBitmap() {
    const QByteArray palette("\0\0\0\0\xFF\xFF\xFF\0", 8);
    const QByteArray stream("\x04\x01\0\0\0\x04\x01\0\x01\0\0\0\x04\x00\0\0\0\x01", 18);
    return bitmapHeader(4, 3, 8, 1, 2) + palette + stream;
}

} // namespace

class TestHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void questionFiles_data();
    void questionFiles();
    void unreadableFile();
    void settingsAndHistoryFromHostileFiles_data();
    void settingsAndHistoryFromHostileFiles();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The file a data row names: "=path" is used as it is (relative to the test folder unless
    // absolute); any other name is written with `bytes` first. Empty when writing failed.
    QString fileFor(const QString& name, const QByteArray& bytes) const {
        if (name.startsWith(u'='))
            return name.mid(1).startsWith(u'/') ? name.mid(1) : path(name.mid(1));
        const QString file = path(name);
        return TestFiles::writeBytes(file, bytes) ? file : QString();
    }
    QTemporaryDir m_dir;
};

void TestHostileFiles::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("map.bmp"))));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.bmp")));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.zvm")));
    QCOMPARE(mkfifo(QFile::encodeName(path(QStringLiteral("fifo.zvm"))).constData(), 0600), 0);
}

void TestHostileFiles::questionFiles_data() {
    QTest::addColumn<QString>("name");     // a file to create, or a path to use as it is
    QTest::addColumn<QByteArray>("bytes"); // its content (ignored for paths given as they are)
    QTest::addColumn<int>("outcome");

    const QByteArray map = "\"Map\",\"./map.bmp\"\r\n";
    QTest::newRow("0-byte file") << "empty.zvm" << QByteArray() << int(ReadOutcome::ReadError);
    QTest::newRow("NUL bytes") << "nul.zvm" << QByteArray(1 << 20, '\0')
                               << int(ReadOutcome::Malformed);
    QTest::newRow("50 MB unterminated quoted field")
        << "quote.zvm"
        << "\"" + QByteArray(50 << 20, 'a') << int(ReadOutcome::Malformed);
    QTest::newRow("50 MB unterminated field in a point")
        << "pointquote.zvm" << map + "\"Point\",\"" + QByteArray(50 << 20, '\x82')
        << int(ReadOutcome::ReadError);
    QTest::newRow("lone lead byte at the end")
        << "lead.zvm" << map + "\"End\x82" << int(ReadOutcome::Malformed);
    QTest::newRow("lone lead byte ends the file")
        << "lead2.zvm" << map + "\x82" << int(ReadOutcome::Malformed);
    QByteArray many = map;
    for (int i = 0; i < 100000; ++i)
        many += "\"Point\",\"1\",\"2\",\"h\",\"a\",\"\",\"\"\r\n";
    QTest::newRow("100,000 points") << "many.zvm" << many + "\"End\"\r\n"
                                    << int(ReadOutcome::TooManyPoints);
    QTest::newRow("bitmap claiming 100000 x 100000 pixels")
        << "huge.zvm" << QByteArray("\"Map\",\"./huge.bmp\"\r\n\"End\"\r\n")
        << int(ReadOutcome::ReadError);
    QTest::newRow("bitmap cut after its header")
        << "cut.zvm" << QByteArray("\"Map\",\"./cut.bmp\"\r\n\"End\"\r\n")
        << int(ReadOutcome::ReadError);
    QTest::newRow("bitmap claiming 2^31-1 x 2^31-1 pixels at 32 bits")
        << "largest.zvm" << QByteArray("\"Map\",\"./largest.bmp\"\r\n\"End\"\r\n")
        << int(ReadOutcome::ReadError);
    QTest::newRow("run-length bitmap")
        << "rle.zvm" << QByteArray("\"Map\",\"./rle.bmp\"\r\n\"End\"\r\n")
        << int(ReadOutcome::Success);
    QTest::newRow("run-length bitmap cut short")
        << "rlecut.zvm" << QByteArray("\"Map\",\"./rlecut.bmp\"\r\n\"End\"\r\n")
        << int(ReadOutcome::ReadError);
    QTest::newRow("map reference of 10,000 characters")
        << "longref.zvm"
        << "\"Map\",\"./" + QByteArray(10000, 'm') + ".bmp\"\r\n\"End\"\r\n"
        << int(ReadOutcome::MapMissing);
    QTest::newRow("map reference naming a folder")
        << "folderref.zvm" << QByteArray("\"Map\",\"./folder.bmp\"\r\n\"End\"\r\n")
        << int(ReadOutcome::MapMissing);
    QTest::newRow("map reference naming /dev/zero")
        << "devzero.zvm" << QByteArray("\"Map\",\"/dev/zero\"\r\n\"End\"\r\n")
        << int(ReadOutcome::MapMissing);
    QTest::newRow("a folder instead of a file")
        << "=folder.zvm" << QByteArray() << int(ReadOutcome::CannotOpen);
    QTest::newRow("a FIFO") << "=fifo.zvm" << QByteArray() << int(ReadOutcome::CannotOpen);
    QTest::newRow("/dev/zero") << "=/dev/zero" << QByteArray() << int(ReadOutcome::CannotOpen);
}

void TestHostileFiles::questionFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, outcome);
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("huge.bmp")), bitmapHeader(100000, 100000)));
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("cut.bmp")), bitmapHeader(64, 48)));
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("largest.bmp")),
                                  bitmapHeader(0x7fffffff, 0x7fffffff, 32)));
    QVERIFY(TestFiles::writeBytes(path(QStringLiteral("rle.bmp")), runLengthBitmap()));
    QVERIFY(
        TestFiles::writeBytes(path(QStringLiteral("rlecut.bmp")), runLengthBitmap().chopped(6)));

    const QString file = fileFor(name, bytes);
    QVERIFY(!file.isEmpty());
    bytes.clear(); // measure the reader, not the test's own copy
    bytes.squeeze();

    resetPeak();
    const qint64 before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    QuestionTable table;
    TableSink sink(table);
    QCOMPARE(int(QuestionFile::read(file, sink)), outcome);
    QVERIFY2(timer.elapsed() < kFuseMs,
             qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
    const qint64 peak = peakKiB();
    if (before >= 0 && peak >= 0)
        QVERIFY2(peak < kMemoryLimitKiB, qPrintable(QStringLiteral("peak %1 KiB").arg(peak)));
    QVERIFY(table.rowCount() <= kMaxPoints);
    if (!name.startsWith(u'='))
        QFile::remove(file);
}

void TestHostileFiles::unreadableFile() {
    if (Unprivileged::rerunIfRoot())
        return;
    const QString file = path(QStringLiteral("secret.zvm"));
    QVERIFY(TestFiles::writeBytes(file, "\"Map\",\"./map.bmp\"\r\n\"End\"\r\n"));
    QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    QuestionTable table;
    TableSink sink(table);
    QCOMPARE(QuestionFile::read(file, sink), ReadOutcome::CannotOpen);
    QCOMPARE(SettingsFile::readStoredValue(file), std::nullopt);
}

void TestHostileFiles::settingsAndHistoryFromHostileFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<StartupOption>("option");
    QTest::addColumn<int>("entries");
    QTest::newRow("0-byte file") << "empty" << QByteArray() << StartupOption::Dialog << 0;
    QTest::newRow("NUL bytes") << "nul" << QByteArray(4096, '\0') << StartupOption::Dialog << 1;
    QTest::newRow("50 MB unterminated quoted field")
        << "quote"
        << "\"" + QByteArray(50 << 20, 'a') << StartupOption::Dialog << 1;
    QTest::newRow("lone lead byte")
        << "lead" << QByteArray("\"Auto\x82") << StartupOption::Dialog << 1;
    QTest::newRow("a folder") << "=folder.zvm" << QByteArray() << StartupOption::Dialog << 0;
    QTest::newRow("a FIFO") << "=fifo.zvm" << QByteArray() << StartupOption::Dialog << 0;
    QTest::newRow("/dev/zero") << "=/dev/zero" << QByteArray() << StartupOption::Dialog << 0;
}

void TestHostileFiles::settingsAndHistoryFromHostileFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(StartupOption, option);
    QFETCH(int, entries);
    const QString file = fileFor(name, bytes);
    QVERIFY(!file.isEmpty());
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(SettingsFile::optionFromStoredValue(SettingsFile::readStoredValue(file)), option);
    RecentFiles list;
    HistoryFile::read(file, list);
    QCOMPARE(list.count(), entries);
    QVERIFY2(timer.elapsed() < kFuseMs,
             qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostile.moc"
