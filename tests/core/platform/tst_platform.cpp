#include "FakeServices.h"
#include "core/platform/Files.h"
#include "core/platform/SystemError.h"
#include "core/platform/Twips.h"
#include "ui/platform/MapView.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void extensionName_data();
    void extensionName();
    void parentFolderName_data();
    void parentFolderName();
    void fileExistsOnlyForFiles();
    void programFolderEndsInOneSeparator();
    void messageWithoutTitleCarriesTheApplicationTitle();
    void fileDialogsRememberTheLastChoice();
    void qtFilterOffersBothLetterCases_data();
    void qtFilterOffersBothLetterCases();
    void markerBlinkCycle();
    void twipsToPixels_data();
    void twipsToPixels();
    void systemErrorsInJapanese_data();
    void systemErrorsInJapanese();
    void everySentenceIsJapanese();
    void folderWithoutErrnoIsNamed();
};

void TestPlatform::extensionName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension");
    QTest::newRow("plain") << "/q/japan.zvm"
                           << "zvm";
    QTest::newRow("upper case kept") << "/q/JAPAN.ZVM"
                                     << "ZVM";
    QTest::newRow("two full stops") << "a.b.c"
                                    << "c";
    QTest::newRow("full stop only in a folder") << "folder.x/name"
                                                << "";
    QTest::newRow("Windows folder") << "C:\\maps.old\\japan"
                                    << "";
    QTest::newRow("trailing full stop") << "name."
                                        << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPlatform::extensionName() {
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QCOMPARE(Files::extension(path), extension);
}

void TestPlatform::parentFolderName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("file in a folder") << "/home/u/quiz/japan.zvm"
                                      << "/home/u/quiz";
    QTest::newRow("file in the root") << "/japan.zvm"
                                      << "/";
    QTest::newRow("doubled separator") << "/home//japan.zvm"
                                       << "/home";
    QTest::newRow("Windows path") << "C:\\quiz\\japan.zvm"
                                  << "C:\\quiz";
    QTest::newRow("bare name") << "japan.zvm"
                               << "";
}

void TestPlatform::parentFolderName() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(Files::parentFolder(path), folder);
}

void TestPlatform::fileExistsOnlyForFiles() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a.zvm"));
    QVERIFY(!Files::fileExists(file));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(Files::fileExists(file));
    QVERIFY(!Files::fileExists(dir.path()));
    QVERIFY(!Files::fileExists(QString()));
    QVERIFY(!Files::fileExists(QStringLiteral("/dev/null")));
}

void TestPlatform::programFolderEndsInOneSeparator() {
    const QString own = Files::programFolder();
    QVERIFY(own.endsWith(u'/'));
    QVERIFY(!own.endsWith(QStringLiteral("//")));
    QCOMPARE(QDir(own).absolutePath(), QCoreApplication::applicationDirPath());
    QCOMPARE(Files::joinPath(own, QStringLiteral("x")),
             QCoreApplication::applicationDirPath() + QStringLiteral("/x"));
}

void TestPlatform::messageWithoutTitleCarriesTheApplicationTitle() {
    FakeServices services;
    services.message(QStringLiteral("12項目"));
    services.answerMessage(MessageAnswer::Yes);
    const MessageAnswer answer = services.message(QStringLiteral("q"), QStringLiteral("確認"),
                                                  MessageButtons::YesNo, MessageIcon::Question);
    QCOMPARE(services.messages.size(), 2);
    QCOMPARE(services.messages[0].title, QStringLiteral("ZAVMap"));
    QCOMPARE(services.messages[0].icon, MessageIcon::None);
    QCOMPARE(services.messages[1].title, QStringLiteral("確認"));
    QCOMPARE(answer, MessageAnswer::Yes);
    QCOMPARE(services.unscriptedRequests, 0);
}

void TestPlatform::fileDialogsRememberTheLastChoice() {
    FakeServices services;
    FileDialogState dialog{QStringLiteral("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm"), QString()};
    services.answerFile(QStringLiteral("/q/a.zvm"));
    QCOMPARE(services.openFileName(dialog), QStringLiteral("/q/a.zvm"));
    // Cancel keeps the remembered name, and the next dialog offers it.
    QCOMPARE(services.saveFileName(dialog), QString());
    QCOMPARE(dialog.fileName, QStringLiteral("/q/a.zvm"));
    QCOMPARE(services.fileRequests.size(), 2);
    QCOMPARE(services.fileRequests[1].proposed, QStringLiteral("/q/a.zvm"));
    QVERIFY(services.fileRequests[1].save);
    QCOMPARE(services.fileRequests[1].filter, dialog.filter);
}

void TestPlatform::qtFilterOffersBothLetterCases_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("question files") << "ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm"
                                    << "ZAVMapﾌｧｲﾙ(*.zvm) (*.zvm *.ZVM)";
    QTest::newRow("bitmaps") << "ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp"
                             << "ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp) (*.bmp *.BMP)";
    QTest::newRow("two filters") << "A|*.a;*.B|All|*"
                                 << "A (*.a *.A *.B *.b);;All (*)";
}

void TestPlatform::qtFilterOffersBothLetterCases() {
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(qtFileFilter(filter), qt);
}

void TestPlatform::markerBlinkCycle() {
    QColor colour(255, 0, 0);
    QList<QColor> seen;
    for (int i = 0; i < 5; ++i) {
        colour = MapMarker::nextBlinkColor(colour);
        seen << colour;
    }
    const QList<QColor> cycle{QColor(0, 0, 255), QColor(255, 255, 0), QColor(0, 0, 0),
                              QColor(255, 255, 255), QColor(255, 0, 0)};
    QCOMPARE(seen, cycle);
    QCOMPARE(MapMarker::nextBlinkColor(QColor(0, 128, 0)), QColor(0, 128, 0));
}

void TestPlatform::twipsToPixels_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("just under half") << 7 << 0;
    QTest::newRow("half rounds up") << 8 << 1;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("map width") << 6615 << 441;
    QTest::newRow("map height") << 4095 << 273;
    QTest::newRow("time panel") << 1000 << 67;
    QTest::newRow("negative") << -8 << -1;
    QTest::newRow("negative line end") << -60 << -4;
}

void TestPlatform::twipsToPixels() {
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(twips), pixels);
    if (twips % Twips::kPerPixel == 0)
        QCOMPARE(Twips::fromPixels(pixels), twips);
}

void TestPlatform::systemErrorsInJapanese_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("condition");
    using SystemError::Condition;
    QTest::newRow("ENOSPC") << ENOSPC << int(Condition::NoSpace);
    QTest::newRow("EACCES") << EACCES << int(Condition::NoPermission);
    QTest::newRow("EROFS") << EROFS << int(Condition::ReadOnlyFileSystem);
    QTest::newRow("anything else") << EPROTO << int(Condition::Other);
    QTest::newRow("no errno") << 0 << int(Condition::Other);
}

void TestPlatform::systemErrorsInJapanese() {
    QFETCH(int, code);
    QFETCH(int, condition);
    QCOMPARE(int(SystemError::fromErrno(code)), condition);
    // Only an unknown reason carries the system's words, after the Japanese sentence.
    const QString text = SystemError::describe(code);
    const bool withSystemWords = condition == int(SystemError::Condition::Other) && code != 0;
    QCOMPARE(text.endsWith(u'(' + qt_error_string(code) + u')'), withSystemWords);
    QCOMPARE(text.section(u'(', 0, 0), SystemError::text(SystemError::Condition(condition)));
}

void TestPlatform::everySentenceIsJapanese() {
    for (int c = 0; c <= int(SystemError::Condition::Other); ++c) {
        const QString sentence = SystemError::text(SystemError::Condition(c));
        QVERIFY2(sentence.endsWith(u'。'), qPrintable(sentence));
        QVERIFY2(!sentence.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                 qPrintable(sentence));
    }
}

void TestPlatform::folderWithoutErrnoIsNamed() {
    // Qt refuses to open a folder without a failing system call, so errno tells nothing.
    QTemporaryDir dir;
    QFile folder(dir.path());
    QVERIFY(!folder.open(QIODevice::ReadOnly));
    QCOMPARE(SystemError::describe(folder, 0), SystemError::text(SystemError::Condition::Folder));
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
