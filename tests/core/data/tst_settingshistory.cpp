#include "core/data/HistoryFile.h"
#include "core/data/SettingsFile.h"

#include "TestFiles.h"
#include "Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using TestFiles::readBytes;
using TestFiles::u8;
using TestFiles::writeBytes;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

RecentFiles listOf(const QStringList& entries) {
    RecentFiles list;
    for (const QString& entry : entries)
        list.append(entry);
    return list;
}

} // namespace

class TestSettingsHistory : public QObject {
    Q_OBJECT

private slots:
    // Every test gets a folder of its own.
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void settingsRead_data();
    void settingsRead();
    void settingsMissingFileHasNoValue();
    void settingsWrite_data();
    void settingsWrite();
    void unrecognisedSettingIsRewrittenAsTrue_data();
    void unrecognisedSettingIsRewrittenAsTrue();
    void settingsWriteFailureKeepsOldFile();
    void settingsWriteInReadOnlyFolder();
    void namedOptionsSurviveAWrite();

    void historyRead_data();
    void historyRead();
    void historyMissingFileLeavesListAlone();
    void historyKeepsTwentyOfTwentyFive();
    void historyRoundTrip_data();
    void historyRoundTrip();
    void emptyHistoryIsZeroBytes();
    void unstorableEntriesAreLeftOut_data();
    void unstorableEntriesAreLeftOut();
    void leftOutEntryIsDescribedShortly();
    void historyWriteFailureKeepsOldFile();
    void historyWriteInReadOnlyFolder();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString folder() const { return m_dir->path(); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsHistory::settingsRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<StartupOption>("option");

    const StartupOption dialog = StartupOption::Dialog;
    QTest::newRow("empty file") << QByteArray() << "True" << dialog;
    QTest::newRow("CR LF alone") << QByteArray("\r\n") << "" << dialog;
    QTest::newRow("True") << QByteArray("\"True\"\r\n") << "True" << dialog;
    QTest::newRow("Auto") << QByteArray("\"Auto\"\r\n") << "Auto" << StartupOption::Auto;
    QTest::newRow("False") << QByteArray("\"False\"\r\n") << "False" << StartupOption::Manual;
    QTest::newRow("auto lower case") << QByteArray("\"auto\"\r\n") << "auto" << dialog;
    QTest::newRow("option name Dialog") << QByteArray("\"Dialog\"\r\n") << "Dialog" << dialog;
    QTest::newRow("option name Manual") << QByteArray("\"Manual\"\r\n") << "Manual" << dialog;
    QTest::newRow("unquoted, no line end")
        << QByteArray("False") << "False" << StartupOption::Manual;
    QTest::newRow("leading blanks")
        << QByteArray(" \t\"Auto\"\r\n") << "Auto" << StartupOption::Auto;
    QTest::newRow("rest ignored") << QByteArray("\"False\",\"Auto\"\r\n\"True\"\r\n") << "False"
                                  << StartupOption::Manual;
    QTest::newRow("blank before value") << QByteArray("\r\n\"Auto\"\r\n") << "" << dialog;
    QTest::newRow("trailing space inside quotes")
        << QByteArray("\"Auto \"\r\n") << "Auto " << dialog;
}

void TestSettingsHistory::settingsRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, stored);
    QFETCH(StartupOption, option);
    const QString file = path(SettingsFile::fileName());
    QVERIFY(writeBytes(file, bytes));

    const std::optional<QString> value = SettingsFile::readStoredValue(file);
    QVERIFY(value.has_value());
    QCOMPARE(*value, stored);
    QCOMPARE(SettingsFile::optionFromStoredValue(value), option);
}

void TestSettingsHistory::settingsMissingFileHasNoValue() {
    const std::optional<QString> value = SettingsFile::readStoredValue(path(u8("設定.zav")));
    QVERIFY(!value.has_value());
    QCOMPARE(SettingsFile::optionFromStoredValue(value), StartupOption::Dialog);
    // A folder of that name is no settings file either.
    QVERIFY(QDir(folder()).mkdir(u8("設定.zav")));
    QVERIFY(!SettingsFile::readStoredValue(path(u8("設定.zav"))).has_value());
}

void TestSettingsHistory::settingsWrite_data() {
    QTest::addColumn<StartupOption>("option");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Auto") << StartupOption::Auto << QByteArray("\"Auto\"\r\n");
    QTest::newRow("Dialog") << StartupOption::Dialog << QByteArray("\"True\"\r\n");
    QTest::newRow("Manual") << StartupOption::Manual << QByteArray("\"False\"\r\n");
}

void TestSettingsHistory::settingsWrite() {
    QFETCH(StartupOption, option);
    QFETCH(QByteArray, bytes);
    const QString file = path(SettingsFile::fileName());
    // Replaces whatever was there, longer content included.
    QVERIFY(writeBytes(file, "\"something much longer than a value\"\r\n\"x\"\r\n"));

    QString error;
    QVERIFY2(SettingsFile::write(file, option, &error), qPrintable(error));
    QCOMPARE(readBytes(file), bytes);
    QCOMPARE(SettingsFile::optionFromStoredValue(SettingsFile::readStoredValue(file)), option);
}

void TestSettingsHistory::unrecognisedSettingIsRewrittenAsTrue_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF alone") << QByteArray("\r\n");
    QTest::newRow("auto") << QByteArray("\"auto\"\r\n");
    QTest::newRow("Dialog") << QByteArray("\"Dialog\"\r\n");
    QTest::newRow("empty file") << QByteArray();
}

void TestSettingsHistory::unrecognisedSettingIsRewrittenAsTrue() {
    QFETCH(QByteArray, bytes);
    const QString file = path(SettingsFile::fileName());
    QVERIFY(writeBytes(file, bytes));

    const StartupOption option =
        SettingsFile::optionFromStoredValue(SettingsFile::readStoredValue(file));
    QCOMPARE(option, StartupOption::Dialog);
    QVERIFY(SettingsFile::write(file, option));
    QCOMPARE(readBytes(file), QByteArray("\"True\"\r\n"));
}

void TestSettingsHistory::settingsWriteFailureKeepsOldFile() {
    // A folder that does not exist fails for every user, root included.
    QString error;
    QVERIFY(!SettingsFile::write(path(u8("no such folder/設定.zav")), StartupOption::Auto, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path(u8("no such folder"))));

    // A settings "file" that is a folder cannot be replaced; the folder stays as it was.
    const QString file = path(SettingsFile::fileName());
    QVERIFY(QDir(folder()).mkdir(SettingsFile::fileName()));
    QVERIFY(!SettingsFile::write(file, StartupOption::Manual, &error));
    QVERIFY(QFileInfo(file).isDir());
}

void TestSettingsHistory::settingsWriteInReadOnlyFolder() {
    if (Unprivileged::rerunIfRoot())
        return;
    const QString file = path(SettingsFile::fileName());
    QVERIFY(writeBytes(file, "\"False\"\r\n"));
    QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));

    QString error;
    const bool written = SettingsFile::write(file, StartupOption::Auto, &error);
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(file), QByteArray("\"False\"\r\n"));
}

void TestSettingsHistory::namedOptionsSurviveAWrite() {
    const QString file = path(SettingsFile::fileName());
    QVERIFY(writeBytes(file, "\"False\"\r\n"));
    QVERIFY(SettingsFile::readNamedOptions(file).isEmpty());

    // Records after the first survive whatever their names; lines of another shape, or with
    // bytes that are no code page 932 text, do not.
    QVERIFY(
        writeBytes(file, "\"Auto\",\"x\"\r\n\"Zoom\",\"150\"\r\n\r\n\"one\"\n\"a\",\"b\",\"c\"\r"
                         "\"\",\"no name\"\r\n\"cut\",\"x\xf2\"\r\n" +
                             TestFiles::record({u8("地図"), u8("日本,世界")})));
    const Settings settings{StartupOption::Manual, SettingsFile::readNamedOptions(file)};
    QCOMPARE(settings.namedOptions,
             (NamedOptions{{u8("Zoom"), u8("150")}, {u8("地図"), u8("日本,世界")}}));
    QVERIFY(SettingsFile::write(file, settings));
    QCOMPARE(readBytes(file), "\"False\"\r\n\"Zoom\",\"150\"\r\n" +
                                  TestFiles::record({u8("地図"), u8("日本,世界")}));
    QCOMPARE(SettingsFile::readNamedOptions(file), settings.namedOptions);
}

void TestSettingsHistory::historyRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("two entries") << (TestFiles::record({u8("/home/u/地図/日本.zvm")}) +
                                     TestFiles::record({u8("/b.zvm")}))
                                 << QStringList{u8("/home/u/地図/日本.zvm"), u8("/b.zvm")};
    QTest::newRow("no line end after last")
        << QByteArray("\"/a.zvm\"\r\n\"/b.zvm\"") << QStringList{u8("/a.zvm"), u8("/b.zvm")};
    QTest::newRow("blank line in the middle") << QByteArray("\"/a.zvm\"\r\n\r\n\"/b.zvm\"\r\n")
                                              << QStringList{u8("/a.zvm"), QString(), u8("/b.zvm")};
    QTest::newRow("comma inside quotes")
        << QByteArray("\"/x/a,b.zvm\"\r\n") << QStringList{u8("/x/a,b.zvm")};
    QTest::newRow("two fields on one line are two entries")
        << QByteArray("\"/a.zvm\",\"/b.zvm\"\r\n") << QStringList{u8("/a.zvm"), u8("/b.zvm")};
    QTest::newRow("duplicates kept as read")
        << QByteArray("\"/a.zvm\"\r\n\"/a.zvm\"\r\n") << QStringList{u8("/a.zvm"), u8("/a.zvm")};
}

void TestSettingsHistory::historyRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    const QString file = path(HistoryFile::fileName());
    QVERIFY(writeBytes(file, bytes));

    RecentFiles list;
    HistoryFile::read(file, list);
    QCOMPARE(list.entries(), entries);
}

void TestSettingsHistory::historyMissingFileLeavesListAlone() {
    RecentFiles list = listOf({u8("/kept.zvm")});
    HistoryFile::read(path(HistoryFile::fileName()), list);
    QCOMPARE(list.entries(), QStringList{u8("/kept.zvm")});
}

void TestSettingsHistory::historyKeepsTwentyOfTwentyFive() {
    QStringList entries;
    for (int i = 0; i < 25; ++i)
        entries << u8("/maps/問題%1.zvm").arg(i);
    const QString file = path(HistoryFile::fileName());

    // More than 20 records read in full.
    QByteArray bytes;
    for (const QString& entry : entries)
        bytes += TestFiles::record({entry});
    QVERIFY(writeBytes(file, bytes));
    RecentFiles read;
    HistoryFile::read(file, read);
    QCOMPARE(read.count(), 25);

    QVERIFY(HistoryFile::write(file, read));
    RecentFiles again;
    HistoryFile::read(file, again);
    QCOMPARE(again.entries(), entries.mid(0, 20));
}

void TestSettingsHistory::historyRoundTrip_data() {
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("comma in path") << QStringList{u8("/maps/a,b.zvm"), u8("/c.zvm")};
    QTest::newRow("japanese and half-width kana")
        << QStringList{u8("/ﾃｽﾄ/日本地図.zvm"), u8("/home/ユーザー/表.zvm")};
    QTest::newRow("case differs") << QStringList{u8("/a.zvm"), u8("/A.zvm"), u8("/a.ZVM")};
    QTest::newRow("spaces kept") << QStringList{u8("  /lead and trail.zvm  ")};
    QTest::newRow("empty entry kept") << QStringList{u8("/a.zvm"), QString(), u8("/b.zvm")};
}

void TestSettingsHistory::historyRoundTrip() {
    QFETCH(QStringList, entries);
    const QString file = path(HistoryFile::fileName());
    QStringList leftOut;
    QVERIFY(HistoryFile::write(file, listOf(entries), nullptr, &leftOut));
    QVERIFY(leftOut.isEmpty());

    QByteArray expected;
    for (const QString& entry : entries)
        expected += TestFiles::record({entry});
    QCOMPARE(readBytes(file), expected);

    RecentFiles read;
    HistoryFile::read(file, read);
    QCOMPARE(read.entries(), entries);
}

void TestSettingsHistory::emptyHistoryIsZeroBytes() {
    const QString file = path(HistoryFile::fileName());
    QVERIFY(writeBytes(file, TestFiles::record({u8("/old.zvm")})));
    QVERIFY(HistoryFile::write(file, RecentFiles()));
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(QFileInfo(file).size(), 0);

    // Created when missing.
    QVERIFY(QFile::remove(file));
    QVERIFY(HistoryFile::write(file, RecentFiles()));
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(QFileInfo(file).size(), 0);
}

void TestSettingsHistory::unstorableEntriesAreLeftOut_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<QStringList>("leftOut");

    QTest::newRow("accented letter")
        << QStringList{u8("/a.zvm"), u8("/café/b.zvm"), u8("/c.zvm")}
        << QStringList{u8("/a.zvm"), u8("/c.zvm")} << QStringList{u8("/café/b.zvm")};
    QTest::newRow("double quote") << QStringList{u8("/say \"hi\".zvm"), u8("/d.zvm")}
                                  << QStringList{u8("/d.zvm")}
                                  << QStringList{u8("/say \"hi\".zvm")};
    // The wave dash has a code page 932 form, but it reads back as the full-width tilde:
    // a different path.
    QTest::newRow("wave dash") << QStringList{u8("/x〜y.zvm"), u8("/x～y.zvm")}
                               << QStringList{u8("/x～y.zvm")} << QStringList{u8("/x〜y.zvm")};
    QTest::newRow("all unstorable")
        << QStringList{u8("/é.zvm")} << QStringList() << QStringList{u8("/é.zvm")};
    // No path is longer than PATH_MAX bytes (4,096 with the closing zero): such an entry names
    // no file, and carrying it would make every start read it again.
    const QString longest = u8("/") + QString(4094, u'a');
    const QString tooLong = u8("/") + QString(4095, u'a');
    const QString tooLongInBytes = u8("/") + QString(1400, QChar(0x5730)); // 3 bytes each
    QTest::newRow("longest path kept, longer ones left out")
        << QStringList{longest, tooLong, tooLongInBytes} << QStringList{longest}
        << QStringList{tooLong, tooLongInBytes};
}

void TestSettingsHistory::unstorableEntriesAreLeftOut() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, saved);
    QFETCH(QStringList, leftOut);
    const QString file = path(HistoryFile::fileName());

    for (const QString& entry : entries)
        QCOMPARE(HistoryFile::isStorable(entry), !leftOut.contains(entry));

    QStringList reported;
    QVERIFY(HistoryFile::write(file, listOf(entries), nullptr, &reported));
    QCOMPARE(reported, leftOut);
    RecentFiles read;
    HistoryFile::read(file, read);
    QCOMPARE(read.entries(), saved);
}

void TestSettingsHistory::leftOutEntryIsDescribedShortly() {
    const QString huge(10 << 20, u'x');
    const QString note = HistoryFile::describeLeftOut(huge);
    QVERIFY(note.size() < 300);
    QVERIFY(note.contains(u8("10485760 characters")));
    QVERIFY(note.endsWith(u8("(longer than any path)")));
    QCOMPARE(HistoryFile::describeLeftOut(u8("/café.zvm")), u8("/café.zvm (not storable)"));
}

void TestSettingsHistory::historyWriteFailureKeepsOldFile() {
    QString error;
    QVERIFY(!HistoryFile::write(path(u8("missing/履歴.zav")), listOf({u8("/a.zvm")}), &error));
    QVERIFY(!error.isEmpty());
}

void TestSettingsHistory::historyWriteInReadOnlyFolder() {
    if (Unprivileged::rerunIfRoot())
        return;
    const QString file = path(HistoryFile::fileName());
    const QByteArray old = TestFiles::record({u8("/old.zvm")});
    QVERIFY(writeBytes(file, old));
    QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));

    QString error;
    const bool written = HistoryFile::write(file, listOf({u8("/new.zvm")}), &error);
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(file), old);
}

QTEST_GUILESS_MAIN(TestSettingsHistory)
#include "tst_settingshistory.moc"
