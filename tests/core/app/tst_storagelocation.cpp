#include "core/app/StorageLocation.h"

#include "TestFiles.h"
#include "Unprivileged.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using Place = StorageLocation::Place;

class TestStorageLocation : public QObject {
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
    void configFolderFollowsXdgConfigHome();
};

// Each row prepares a program folder and the ground under a configuration folder that does not
// exist yet ("config/zavmap/"), then asks where the files go.
void TestStorageLocation::choose_data() {
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<QString>("configGround"); // "free", "read-only parent", "blocked by a file",
                                               // "exists read-only"
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("folder"); // "program", "config" or "" (nothing to read)

    QTest::newRow("writable program folder") << true << "free" << Place::ProgramFolder << "program";
    QTest::newRow("read-only program folder: config made")
        << false << "free" << Place::ConfigFolder << "config";
    QTest::newRow("neither: config cannot be made")
        << false << "read-only parent" << Place::Nowhere << "";
    QTest::newRow("neither: a file in the config's way")
        << false << "blocked by a file" << Place::Nowhere << "";
    QTest::newRow("neither: config read-only, still read")
        << false << "exists read-only" << Place::Nowhere << "config";
}

void TestStorageLocation::choose() {
    QFETCH(bool, programWritable);
    QFETCH(QString, configGround);
    QFETCH(Place, place);
    QFETCH(QString, folder);
    const bool needsPermissions = !programWritable || configGround.contains("read-only");
    if (needsPermissions && Unprivileged::rerunIfRoot())
        return;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath("program") + u'/';
    const QString configParent = dir.filePath("config");
    const QString config = configParent + QStringLiteral("/zavmap/");
    QVERIFY(QDir().mkpath(program));
    if (configGround == "blocked by a file")
        QVERIFY(TestFiles::writeBytes(configParent, "not a folder"));
    else if (configGround == "exists read-only")
        QVERIFY(QDir().mkpath(config) &&
                QFile::setPermissions(config, QFile::ReadOwner | QFile::ExeOwner));
    else
        QVERIFY(QDir().mkpath(configParent));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    if (configGround == "read-only parent")
        QVERIFY(QFile::setPermissions(configParent, readOnly));
    if (!programWritable)
        QVERIFY(QFile::setPermissions(program, readOnly));

    const StorageLocation location = StorageLocation::choose(program, config);

    QCOMPARE(location.place(), place);
    QCOMPARE(location.canSave(), place != Place::Nowhere);
    QCOMPARE(location.folder(), folder == "program"  ? program
                                : folder == "config" ? config
                                                     : QString());
    // Nothing can be saved: one line says so, naming both folders.
    QCOMPARE(location.problem().isEmpty(), location.canSave());
    if (!location.canSave()) {
        QVERIFY(!location.problem().contains(u'\n'));
        QVERIFY(location.problem().contains(program) && location.problem().contains(config));
    }
    // The configuration folder exists only when it is used; the probe leaves nothing behind.
    QCOMPARE(QFileInfo(config).isDir(), folder == "config");
    QVERIFY(
        QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QFile::setPermissions(configParent, readOnly | QFile::WriteOwner);
    QFile::setPermissions(config, readOnly | QFile::WriteOwner);
    QFile::setPermissions(program, readOnly | QFile::WriteOwner);
}

void TestStorageLocation::configFolderFollowsXdgConfigHome() {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/elsewhere");
    const QString folder = StorageLocation::userConfigFolder();
    qunsetenv("XDG_CONFIG_HOME");
    const QString home = StorageLocation::userConfigFolder();
    if (!saved.isEmpty())
        qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(folder, QStringLiteral("/tmp/elsewhere/zavmap/"));
    QCOMPARE(home, QDir::homePath() + QStringLiteral("/.config/zavmap/"));
}

QTEST_GUILESS_MAIN(TestStorageLocation)
#include "tst_storagelocation.moc"
