// The main window's start-up sequence (history, settings, command line, recent-files dialog,
// load) and its exit steps (history, then settings), with the own folder in a temporary folder.
#include "core/app/QtLanguage.h"
#include "core/data/HistoryFile.h"
#include "ui/app/MainWindow.h"
#include "ui/app/StatusPanels.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/dialogs/RecentFilesDialog.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include <QAbstractFileIconProvider>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include <unistd.h>

using TestFiles::u8;

namespace {

const QString kOpenPlease = u8("ﾌｧｲﾙを開いてください。");
const QString kStartText = u8("ｽﾀｰﾄして下さい。");
const QString kErrorText = u8("ｴﾗｰが発生しました。");
const QString kMoved = u8("移動、削除されたか、もしくは名前が変更された可能性があります。");

QListWidget* list(const QDialog& d) {
    return Controls::find<QListWidget>(&d, "List1");
}
QCheckBox* check(const QDialog& d) {
    return Controls::find<QCheckBox>(&d, "Check1");
}
QPushButton* button(const QDialog& d, int index) {
    return Controls::find<QPushButton>(&d, QStringLiteral("Command1_%1").arg(index));
}
QRadioButton* optionButton(const QDialog& d, int index) {
    return Controls::find<QRadioButton>(&d, QStringLiteral("Option1_%1").arg(index));
}

QStringList titles(const QList<MessageRequest>& messages) {
    QStringList out;
    for (const MessageRequest& m : messages)
        out << m.title;
    return out;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void settingsWithoutDialog_data();
    void settingsWithoutDialog();
    void emptySettingsShowsTheDialog();
    void dialogCancelled();
    void dialogCheckThenCancel();
    void dialogCheckThenDoubleClick();
    void dialogChoiceGone();
    void autoWithDeletedFirstEntry();
    void commandLine_data();
    void commandLine();
    void startupLoadFailures_data();
    void startupLoadFailures();
    void relativeMapAgainstStartupPath();

    void optionsDialog_data();
    void optionsDialog();
    void optionsAfterCheckingTheRecentFilesBox();

    void exitKeepsTwentyEntries();
    void exitKeepsNamedOptions();
    void exitWithUnstorableEntry();
    void exitWhenHistoryCannotBeWritten();
    void exitWhenSettingsCannotBeWritten();
    void exitFromReadOnlyFolder();
    void exitDuringAQuiz();
    void windowThatNeverStartedWritesNothing();
    void storageFolder_data();
    void storageFolder();
    // Last: it changes the whole test program's language.
    void qtDialogsSpeakJapanese();

private:
    QString own(const QString& name) const { return m_own->path() + u'/' + name; }
    QString ownFolder() const { return m_own->path() + u'/'; }
    QString maps(const QString& name) const { return m_maps->path() + u'/' + name; }
    QString historyPath() const { return own(u8("履歴.zav")); }
    QString settingsPath() const { return own(u8("設定.zav")); }
    QString questionFile(const QString& name, int points = 2);
    void writeHistory(const QStringList& entries);
    QStringList readHistory() const;
    QByteArray readSettings() const { return TestFiles::readBytes(settingsPath()); }
    static QStringList readHistory(const QString& path);
    // Makes the window and runs its start-up; `onDialog` acts on the recent-files dialog
    // while it is shown modally (and records that it was).
    void start(const QString& commandLine = QString(),
               std::function<void(RecentFilesDialog&)> onDialog = {});
    bool closeWindow();
    StartupOption startupOption() const { return m_window->session().startupOption(); }
    QString status() const { return Controls::text(m_window.get(), "Panel_Main"); }

    std::unique_ptr<QTemporaryDir> m_own;
    std::unique_ptr<QTemporaryDir> m_maps;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<MainWindow> m_window;
    int m_dialogShown = 0;
};

void TestStartup::init() {
    m_own = std::make_unique<QTemporaryDir>();
    m_maps = std::make_unique<QTemporaryDir>();
    QVERIFY(m_own->isValid() && m_maps->isValid());
    QVERIFY(TestFiles::writeBmp(maps(u8("map.bmp"))));
    m_services = std::make_unique<FakeServices>();
    m_dialogShown = 0;
}

void TestStartup::cleanup() {
    m_window.reset();
    m_services.reset();
    if (m_own)
        QFile::setPermissions(m_own->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_own.reset();
    m_maps.reset();
}

QString TestStartup::questionFile(const QString& name, int points) {
    PointList rows;
    for (int i = 0; i < points; ++i)
        rows << TestFiles::point(QString::number(5 + i), QString::number(7 + i), u8("ヒント"),
                                 u8("答え%1").arg(i));
    const QString file = maps(name);
    if (!TestFiles::writeBytes(file, TestFiles::questionFile(maps(u8("map.bmp")), rows)))
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

void TestStartup::writeHistory(const QStringList& entries) {
    QByteArray bytes;
    for (const QString& entry : entries)
        bytes += TestFiles::record({entry});
    QVERIFY(TestFiles::writeBytes(historyPath(), bytes));
}

QStringList TestStartup::readHistory() const {
    return readHistory(historyPath());
}

QStringList TestStartup::readHistory(const QString& path) {
    RecentFiles list;
    HistoryFile::read(path, list);
    return list.entries();
}

void TestStartup::start(const QString& commandLine,
                        std::function<void(RecentFilesDialog&)> onDialog) {
    m_window = std::make_unique<MainWindow>(*m_services, ownFolder());
    // Timers run only inside an event loop: the dialog's modal one, or a read's breaks (when
    // the dialog is not up, so nothing happens).
    QTimer poll;
    poll.setInterval(0);
    poll.callOnTimeout([&] {
        auto* dialog = m_window->findChild<RecentFilesDialog*>();
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        ++m_dialogShown;
        QVERIFY(dialog->isModal());
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (onDialog)
            onDialog(*dialog);
        if (dialog->isVisible()) // the script left it open: end the test's wait
            dialog->reject();
    });
    poll.start();
    m_window->start(commandLine);
    poll.stop();
    // Whatever happened, the dialog is gone afterwards.
    QVERIFY(!m_window->findChild<RecentFilesDialog*>());
}

bool TestStartup::closeWindow() {
    m_window->show();
    return m_window->close();
}

// ---- Start-up without a command line ----

void TestStartup::settingsWithoutDialog_data() {
    QTest::addColumn<std::optional<QByteArray>>("settings");
    QTest::addColumn<bool>("withHistory");
    QTest::addColumn<StartupOption>("option");
    const StartupOption A = StartupOption::Auto, D = StartupOption::Dialog,
                        M = StartupOption::Manual;
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QByteArray>("written");

    const QByteArray asTrue("\"True\"\r\n");
    // clang-format off
    QTest::newRow("no settings file")   << std::optional<QByteArray>()              << true  << D << false << asTrue;
    QTest::newRow("False")              << std::optional<QByteArray>("\"False\"\r\n") << true << M << false << QByteArray("\"False\"\r\n");
    QTest::newRow("Dialog not a value") << std::optional<QByteArray>("\"Dialog\"\r\n") << true << D << false << asTrue;
    QTest::newRow("auto not a value")   << std::optional<QByteArray>("\"auto\"\r\n")  << true  << D << false << asTrue;
    QTest::newRow("CR LF alone")        << std::optional<QByteArray>("\r\n")         << true  << D << false << asTrue;
    QTest::newRow("True, no history")   << std::optional<QByteArray>("\"True\"\r\n") << false << D << false << asTrue;
    QTest::newRow("empty, no history")  << std::optional<QByteArray>(QByteArray())   << false << D << false << asTrue;
    QTest::newRow("Auto, no history")   << std::optional<QByteArray>("\"Auto\"\r\n") << false << A << false << QByteArray("\"Auto\"\r\n");
    QTest::newRow("Auto opens the last file") << std::optional<QByteArray>("\"Auto\"\r\n") << true << A << true << QByteArray("\"Auto\"\r\n");
    // clang-format on
}

void TestStartup::settingsWithoutDialog() {
    QFETCH(std::optional<QByteArray>, settings);
    QFETCH(bool, withHistory);
    QFETCH(StartupOption, option);
    QFETCH(bool, loads);
    QFETCH(QByteArray, written);

    const QStringList history{questionFile(u8("最後.zvm"), 3), questionFile(u8("前.zvm"))};
    if (settings)
        QVERIFY(TestFiles::writeBytes(settingsPath(), *settings));
    if (withHistory)
        writeHistory(history);

    start();
    QCOMPARE(m_dialogShown, 0);
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(startupOption(), option);
    QCOMPARE(m_window->questionTable().rowCount(), loads ? 3 : 0);
    QCOMPARE(status(), loads ? kStartText : kOpenPlease);
    QCOMPARE(m_window->session().recentFiles().entries(), withHistory ? history : QStringList());

    QVERIFY(closeWindow());
    QCOMPARE(readSettings(), written);
    QCOMPARE(readHistory(), withHistory ? history : QStringList());
    QVERIFY(QFileInfo::exists(historyPath()));
}

void TestStartup::emptySettingsShowsTheDialog() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), QByteArray()));
    const QStringList history{questionFile(u8("a.zvm")), questionFile(u8("b,c.zvm"), 4)};
    writeHistory(history);

    QStringList shown;
    start(QString(), [&](RecentFilesDialog& d) {
        for (int i = 0; i < list(d)->count(); ++i)
            shown << list(d)->item(i)->text();
        QVERIFY(list(d)->selectedItems().isEmpty());
        list(d)->setCurrentRow(1);
        QTest::mouseClick(button(d, 0), Qt::LeftButton);
    });
    QCOMPARE(m_dialogShown, 1);
    QCOMPARE(shown, history);
    QCOMPARE(m_window->questionTable().rowCount(), 4);
    QCOMPARE(status(), kStartText);
    QCOMPARE(m_window->session().recentFiles().entries(), (QStringList{history[1], history[0]}));
    QVERIFY(m_services->messages.isEmpty());

    QVERIFY(closeWindow());
    QCOMPARE(readHistory(), (QStringList{history[1], history[0]}));
    QCOMPARE(readSettings(), QByteArray("\"True\"\r\n"));
}

void TestStartup::dialogCancelled() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"True\"\r\n"));
    writeHistory({questionFile(u8("a.zvm"))});
    start(QString(), [](RecentFilesDialog& d) { QTest::keyClick(list(d), Qt::Key_Escape); });
    QCOMPARE(m_dialogShown, 1);
    QCOMPARE(m_window->questionTable().rowCount(), 0);
    QCOMPARE(status(), kOpenPlease);
    QCOMPARE(startupOption(), StartupOption::Dialog);
    QVERIFY(m_services->messages.isEmpty());
}

void TestStartup::dialogCheckThenCancel() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"True\"\r\n"));
    const QStringList history{questionFile(u8("a.zvm"))};
    writeHistory(history);
    start(QString(), [](RecentFilesDialog& d) {
        check(d)->setChecked(true);
        QTest::mouseClick(button(d, 1), Qt::LeftButton);
    });
    QCOMPARE(m_dialogShown, 1);
    QCOMPARE(startupOption(), StartupOption::Manual);
    QCOMPARE(m_window->questionTable().rowCount(), 0);

    QVERIFY(closeWindow());
    QCOMPARE(readSettings(), QByteArray("\"False\"\r\n"));
    QCOMPARE(readHistory(), history);

    // The next start opens nothing and shows no dialog.
    m_window.reset();
    start();
    QCOMPARE(m_dialogShown, 1);
    QCOMPARE(startupOption(), StartupOption::Manual);
    QCOMPARE(m_window->questionTable().rowCount(), 0);
}

void TestStartup::dialogCheckThenDoubleClick() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"True\"\r\n"));
    const QStringList history{questionFile(u8("a.zvm"), 1), questionFile(u8("b.zvm"), 5)};
    writeHistory(history);
    start(QString(), [](RecentFilesDialog& d) {
        check(d)->setChecked(true);
        const QRect item = list(d)->visualItemRect(list(d)->item(1));
        // A double-click's first click, then the double-click itself.
        QTest::mouseClick(list(d)->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list(d)->viewport(), Qt::LeftButton, {}, item.center());
    });
    QCOMPARE(startupOption(), StartupOption::Dialog);
    QCOMPARE(m_window->questionTable().rowCount(), 5);
    QCOMPARE(m_window->session().recentFiles().entries().first(), history[1]);

    QVERIFY(closeWindow());
    QCOMPARE(readSettings(), QByteArray("\"True\"\r\n"));
}

void TestStartup::dialogChoiceGone() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"True\"\r\n"));
    const QStringList history{maps(u8("消えた.zvm")), questionFile(u8("a.zvm"))};
    writeHistory(history);
    start(QString(), [](RecentFilesDialog& d) {
        list(d)->setCurrentRow(0);
        QTest::keyClick(list(d), Qt::Key_Return);
    });
    QCOMPARE(m_services->messages.size(), 1);
    const MessageRequest& m = m_services->messages.first();
    QCOMPARE(m.text, u8("このﾌｧｲﾙは存在しません。") + u'\r' + kMoved);
    QCOMPARE(m.title, u8("ｴﾗｰ"));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m_window->questionTable().rowCount(), 0);
    QCOMPARE(status(), kOpenPlease);
    QCOMPARE(m_window->session().recentFiles().entries(), history);
}

void TestStartup::autoWithDeletedFirstEntry() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"Auto\"\r\n"));
    const QStringList history{maps(u8("消えた.zvm")), questionFile(u8("a.zvm"))};
    writeHistory(history);
    start();
    QCOMPARE(m_dialogShown, 0);
    QCOMPARE(m_services->messages.size(), 1);
    const MessageRequest& m = m_services->messages.first();
    QCOMPARE(m.text,
             u8("前回使ったﾌｧｲﾙを開こうとしましたが、ﾌｧｲﾙが見つかりません。") + u'\r' + kMoved);
    QCOMPARE(m.title, u8("自動ﾌｧｲﾙ読みこみ"));
    QCOMPARE(m.icon, MessageIcon::Exclamation);
    // The second entry is not tried; the missing one stays first.
    QCOMPARE(m_window->questionTable().rowCount(), 0);
    QCOMPARE(status(), kOpenPlease);
    QCOMPARE(m_window->session().recentFiles().entries(), history);

    QVERIFY(closeWindow());
    QCOMPARE(readHistory(), history);
    QCOMPARE(readSettings(), QByteArray("\"Auto\"\r\n"));
}

// ---- Start-up with a command line ----

void TestStartup::commandLine_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<StartupOption>("option");
    const StartupOption A = StartupOption::Auto, D = StartupOption::Dialog,
                        M = StartupOption::Manual;

    // clang-format off
    QTest::newRow("zvm with False")    << u8("地図.zvm") << QByteArray("\"False\"\r\n") << true  << M;
    QTest::newRow("ZVM with True")     << u8("地図.ZVM") << QByteArray("\"True\"\r\n")  << true  << D;
    QTest::newRow("zvm with Auto")     << u8("my map.zvm") << QByteArray("\"Auto\"\r\n") << true << A;
    QTest::newRow("Zvm refused")       << u8("地図.Zvm") << QByteArray("\"False\"\r\n") << false << M;
    QTest::newRow("zVM refused")       << u8("地図.zVM") << QByteArray("\"Auto\"\r\n")  << false << A;
    // clang-format on
}

void TestStartup::commandLine() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, settings);
    QFETCH(bool, loads);
    QFETCH(StartupOption, option);

    QVERIFY(TestFiles::writeBytes(settingsPath(), settings));
    // A history whose entries would be opened or offered without the command line.
    const QStringList history{questionFile(u8("other.zvm"), 1)};
    writeHistory(history);
    const QString file = questionFile(fileName, 6);

    start(file);
    QCOMPARE(m_dialogShown, 0);
    QCOMPARE(startupOption(), option);
    if (loads) {
        QVERIFY(m_services->messages.isEmpty());
        QCOMPARE(m_window->questionTable().rowCount(), 6);
        QCOMPARE(status(), kStartText);
        QCOMPARE(m_window->session().recentFiles().entries(), (QStringList{file, history[0]}));
        // The open dialog does not take the start-up path as its file name.
        QVERIFY(m_window->openDialog().fileName.isEmpty());
    } else {
        QCOMPARE(m_services->messages.size(), 1);
        QCOMPARE(m_services->lastMessage().text, u8("このﾌｧｲﾙは、ZAVﾏｯﾌﾟﾌｧｲﾙではありません。"));
        QCOMPARE(m_services->lastMessage().title, u8("ｴﾗｰ"));
        QCOMPARE(m_services->lastMessage().icon, MessageIcon::Exclamation);
        QCOMPARE(m_window->questionTable().rowCount(), 0);
        QCOMPARE(m_window->session().recentFiles().entries(), history);
    }

    // The option read from the settings file is saved again.
    QVERIFY(closeWindow());
    QCOMPARE(readSettings(), settings);
    QCOMPARE(readHistory().first(), loads ? file : history[0]);
}

void TestStartup::startupLoadFailures_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<QString>("message");

    QTest::newRow("no such file") << QByteArray() << QString();
    QTest::newRow("no End record")
        << QByteArray("\"Point\",\"1\",\"2\",\"h\",\"a\",\"\",\"\"\r\n") << QString();
    QTest::newRow("map missing") << TestFiles::record({u8("Map"), u8("/no/such/map.bmp")})
                                 << u8("指定されているﾏｯﾌﾟは存在しません。");
    QTest::newRow("malformed") << TestFiles::record({u8("Mop")})
                               << u8("このﾌｧｲﾙは不正か、または壊れています。");
}

void TestStartup::startupLoadFailures() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString file = maps(u8("壊れた.zvm"));
    if (!bytes.isEmpty())
        QVERIFY(TestFiles::writeBytes(file, bytes));

    start(file);
    // The window opens normally, says what happened, and the list is not updated.
    QCOMPARE(status(), kErrorText);
    QVERIFY(!m_window->testAttribute(Qt::WA_SetCursor) ||
            m_window->cursor().shape() != Qt::WaitCursor);
    QVERIFY(m_window->session().recentFiles().isEmpty());
    if (message.isEmpty()) {
        QVERIFY(m_services->messages.isEmpty());
    } else {
        QCOMPARE(m_services->messages.size(), 1);
        QCOMPARE(m_services->lastMessage().text, message);
        QCOMPARE(m_services->lastMessage().title, u8("ｴﾗｰ"));
    }
    // And the program goes on: a later Open works.
    m_services->answerFile(questionFile(u8("good.zvm"), 2));
    Controls::action(m_window.get(), "Menu2_Open")->trigger();
    QCOMPARE(status(), kStartText);
    QCOMPARE(m_window->questionTable().rowCount(), 2);
}

void TestStartup::relativeMapAgainstStartupPath() {
    QVERIFY(QDir(m_maps->path()).mkdir(u8("sub")));
    QVERIFY(TestFiles::writeBmp(maps(u8("sub/地図.bmp")), 30, 20));
    const QString file = maps(u8("sub/q.zvm"));
    QVERIFY(TestFiles::writeBytes(
        file, TestFiles::questionFile(u8("./地図.bmp"),
                                      {TestFiles::point(u8("1"), u8("2"), u8("h"), u8("a"))})));
    start(file);
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(m_window->questionTable().rowCount(), 1);
    QCOMPARE(status(), kStartText);
}

// ---- The options dialog from the menu ----

void TestStartup::optionsDialog_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("selectedAtOpen");
    QTest::addColumn<int>("choose");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("written");

    // clang-format off
    QTest::newRow("False shows no setting; Auto, OK")  << QByteArray("\"False\"\r\n") << 2 << 0 << true  << QByteArray("\"Auto\"\r\n");
    QTest::newRow("Auto; Dialog, OK")                  << QByteArray("\"Auto\"\r\n")  << 0 << 1 << true  << QByteArray("\"True\"\r\n");
    QTest::newRow("True; no setting, OK")              << QByteArray("\"True\"\r\n")  << 1 << 2 << true  << QByteArray("\"False\"\r\n");
    QTest::newRow("False; Auto, Cancel")               << QByteArray("\"False\"\r\n") << 2 << 0 << false << QByteArray("\"False\"\r\n");
    // clang-format on
}

void TestStartup::optionsDialog() {
    QFETCH(QByteArray, settings);
    QFETCH(int, selectedAtOpen);
    QFETCH(int, choose);
    QFETCH(bool, ok);
    QFETCH(QByteArray, written);

    QVERIFY(TestFiles::writeBytes(settingsPath(), settings));
    start();
    m_window->show();
    int selected = -1;
    bool modal = false;
    QTimer::singleShot(0, m_window.get(), [&] {
        auto* d = m_window->findChild<OptionsDialog*>();
        QVERIFY(d);
        modal = d->isModal() && d->isVisible();
        for (int i = 0; i < 3; ++i) {
            if (optionButton(*d, i)->isChecked())
                selected = i;
        }
        optionButton(*d, choose)->click();
        QTest::mouseClick(button(*d, ok ? 0 : 1), Qt::LeftButton);
    });
    Controls::action(m_window.get(), "Menu2_Option")->trigger();
    QVERIFY(modal);
    QCOMPARE(selected, selectedAtOpen);
    // Gone once closed: the next opening starts afresh.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window->findChild<OptionsDialog*>());

    QVERIFY(closeWindow());
    QCOMPARE(readSettings(), written);
}

void TestStartup::optionsAfterCheckingTheRecentFilesBox() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"True\"\r\n"));
    writeHistory({questionFile(u8("a.zvm"))});
    start(QString(), [](RecentFilesDialog& d) {
        check(d)->setChecked(true);
        QTest::keyClick(list(d), Qt::Key_Escape);
    });
    int selected = -1;
    QTimer::singleShot(0, m_window.get(), [&] {
        auto* d = m_window->findChild<OptionsDialog*>();
        QVERIFY(d);
        for (int i = 0; i < 3; ++i) {
            if (optionButton(*d, i)->isChecked())
                selected = i;
        }
        d->close();
    });
    Controls::action(m_window.get(), "Menu2_Option")->trigger();
    QCOMPARE(selected, 2);
}

// ---- Exit ----

void TestStartup::exitKeepsTwentyEntries() {
    QStringList history;
    for (int i = 0; i < 25; ++i)
        history << maps(u8("問題%1.zvm").arg(i));
    writeHistory(history);
    start();
    QCOMPARE(m_window->session().recentFiles().count(), 25);
    QVERIFY(closeWindow());
    QCOMPARE(readHistory(), history.mid(0, 20));
}

void TestStartup::exitKeepsNamedOptions() {
    // Options stored after the first record (by a later version) come back at exit, behind
    // the start-up option as the run left it.
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"False\"\r\n\"Zoom\",\"150\"\r\n"));
    start();
    QCOMPARE(startupOption(), StartupOption::Manual);
    m_window->session().setStartupOption(StartupOption::Auto);
    QVERIFY(closeWindow());
    QCOMPARE(readSettings(), QByteArray("\"Auto\"\r\n\"Zoom\",\"150\"\r\n"));
}

void TestStartup::exitWithUnstorableEntry() {
    const QString file = questionFile(u8("café.zvm"), 1);
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"False\"\r\n"));
    writeHistory({maps(u8("a.zvm")), maps(u8("b.zvm"))});
    start(file);
    QCOMPARE(m_window->session().recentFiles().entries().first(), file);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u8("Left out of .*café.zvm")));
    QVERIFY(closeWindow());
    QCOMPARE(readHistory(), (QStringList{maps(u8("a.zvm")), maps(u8("b.zvm"))}));
}

void TestStartup::exitWhenHistoryCannotBeWritten() {
    // A folder where the history file belongs cannot be replaced, whoever runs the test.
    QVERIFY(QDir(m_own->path()).mkdir(u8("履歴.zav")));
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"True\"\r\n"));
    start();
    m_window->session().setStartupOption(StartupOption::Auto);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u8("Cannot write .*履歴.zav")));
    QVERIFY(closeWindow());
    QVERIFY(!m_window->isVisible());
    // The settings are written all the same.
    QCOMPARE(readSettings(), QByteArray("\"Auto\"\r\n"));
}

void TestStartup::exitWhenSettingsCannotBeWritten() {
    QVERIFY(QDir(m_own->path()).mkdir(u8("設定.zav")));
    const QString file = questionFile(u8("a.zvm"));
    start(file);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u8("Cannot write .*設定.zav")));
    QVERIFY(closeWindow());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(readHistory(), QStringList{file});
    QVERIFY(QFileInfo(settingsPath()).isDir());
}

void TestStartup::exitFromReadOnlyFolder() {
    if (Unprivileged::rerunIfRoot())
        return;
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"False\"\r\n"));
    writeHistory({maps(u8("old.zvm"))});
    const QString file = questionFile(u8("a.zvm"));
    start(file);
    QVERIFY(QFile::setPermissions(m_own->path(), QFile::ReadOwner | QFile::ExeOwner));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u8("Cannot write .*履歴.zav")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u8("Cannot write .*設定.zav")));
    QVERIFY(closeWindow());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(readHistory(), QStringList{maps(u8("old.zvm"))});
    QCOMPARE(readSettings(), QByteArray("\"False\"\r\n"));
}

void TestStartup::exitDuringAQuiz() {
    QVERIFY(TestFiles::writeBytes(settingsPath(), "\"False\"\r\n"));
    const QString file = questionFile(u8("a.zvm"), 3);
    start(file);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    Controls::action(m_window.get(), "Menu2_Start")->trigger();
    auto* answerWindow = m_window->findChild<QDialog*>(QStringLiteral("Form2"));
    if (!answerWindow)
        QSKIP("the quiz's answer window is not built yet");
    QVERIFY(answerWindow->isVisible());
    const int messagesBefore = int(m_services->messages.size());

    QVERIFY(m_window->close());
    QVERIFY(!answerWindow->isVisible());
    QTest::qWait(50);
    QCOMPARE(m_services->messages.size(), messagesBefore);
    QVERIFY(!titles(m_services->messages).contains(u8("終了")));
    QCOMPARE(readHistory(), QStringList{file});
    QCOMPARE(readSettings(), QByteArray("\"False\"\r\n"));
}

void TestStartup::windowThatNeverStartedWritesNothing() {
    m_window = std::make_unique<MainWindow>(*m_services, ownFolder());
    QVERIFY(closeWindow());
    QVERIFY(!QFileInfo::exists(historyPath()));
    QVERIFY(!QFileInfo::exists(settingsPath()));
}

// ---- Where the files live ----

void TestStartup::storageFolder_data() {
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<QString>(
        "config");                     // "absent", "earlier run" (settings and history), "blocked"
    QTest::addColumn<QString>("kept"); // where the files are read and written: "program",
                                       // "config" or "nowhere"
    QTest::newRow("writable program folder: beside the program") << true << "absent"
                                                                 << "program";
    QTest::newRow("read-only program folder, first run: config folder made") << false << "absent"
                                                                             << "config";
    QTest::newRow("read-only program folder: config folder read and written")
        << false << "earlier run"
        << "config";
    QTest::newRow("neither can be written: nothing saved") << false << "blocked"
                                                           << "nowhere";
}

void TestStartup::storageFolder() {
    QFETCH(bool, programWritable);
    QFETCH(QString, config);
    QFETCH(QString, kept);
    if (!programWritable && Unprivileged::rerunIfRoot())
        return;
    QTemporaryDir home;
    QVERIFY(home.isValid());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
    const QString configFolder = home.filePath(u8("zavmap")) + u'/';
    if (config == "blocked")
        QVERIFY(TestFiles::writeBytes(home.filePath(u8("zavmap")), "a file, not a folder"));

    // An earlier run's files where this run should find them: "False" and one history entry.
    const QString folder = kept == "program" ? ownFolder() : configFolder;
    const bool earlierRun = programWritable || config == "earlier run";
    if (earlierRun) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(TestFiles::writeBytes(folder + u8("設定.zav"), "\"False\"\r\n"));
        QVERIFY(TestFiles::writeBytes(folder + u8("履歴.zav"),
                                      TestFiles::record({maps(u8("old.zvm"))})));
    }
    if (!programWritable)
        QVERIFY(QFile::setPermissions(m_own->path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString file = questionFile(u8("a.zvm"));
    if (kept == "nowhere")
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u8("saves no settings")));
    start(file);
    QCOMPARE(startupOption(), earlierRun ? StartupOption::Manual : StartupOption::Dialog);
    // The study record goes beside the settings, and nowhere when they go nowhere.
    QCOMPARE(m_window->session().settingsFolder(), kept == "nowhere" ? QString() : folder);
    QVERIFY(closeWindow());

    if (kept == "nowhere") {
        QVERIFY(QFileInfo(home.filePath(u8("zavmap"))).isFile());
    } else {
        const QStringList history =
            earlierRun ? QStringList{file, maps(u8("old.zvm"))} : QStringList{file};
        QCOMPARE(readHistory(folder + u8("履歴.zav")), history);
        QCOMPARE(TestFiles::readBytes(folder + u8("設定.zav")),
                 QByteArray(earlierRun ? "\"False\"\r\n" : "\"True\"\r\n"));
    }
    // Nothing lands anywhere else: no configuration folder beside a writable program, nothing
    // beside a read-only one.
    if (kept == "program")
        QVERIFY(!QFileInfo::exists(configFolder));
    else
        QVERIFY(
            QDir(m_own->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestStartup::qtDialogsSpeakJapanese() {
    const auto cancelText = [] {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Cancel)->text();
    };
    const QString english = cancelText();
    const QString folderType = QAbstractFileIconProvider().type(QFileInfo(m_own->path()));
    QVERIFY(QtLanguage::useJapanese(*QCoreApplication::instance()));

    const QRegularExpression latin(QStringLiteral("[A-Za-z]{2}"));
    for (const auto& [before, after] :
         {std::pair{english, cancelText()},
          {QStringLiteral("Open"), QCoreApplication::translate("QFileDialog", "Open")},
          {folderType, QAbstractFileIconProvider().type(QFileInfo(m_own->path()))}}) {
        QVERIFY2(before.contains(latin), qPrintable(before));
        QVERIFY2(!after.contains(latin), qPrintable(after));
    }
    QCOMPARE(QLocale().language(), QLocale::Japanese);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
