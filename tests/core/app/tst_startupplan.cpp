#include "core/app/AppSession.h"
#include "core/app/StartupPlan.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using TestFiles::u8;

namespace {

const QString kMovedLine = u8("移動、削除されたか、もしくは名前が変更された可能性があります。");

QString notThereMessage() {
    return u8("このﾌｧｲﾙは存在しません。") + u'\r' + kMovedLine;
}
QString autoMissingMessage() {
    return u8("前回使ったﾌｧｲﾙを開こうとしましたが、ﾌｧｲﾙが見つかりません。") + u'\r' + kMovedLine;
}
QString notAMapFileMessage() {
    return u8("このﾌｧｲﾙは、ZAVﾏｯﾌﾟﾌｧｲﾙではありません。");
}

// A stored setting in a data row: "<none>" stands for a missing settings file.
const QString kNoFile = QStringLiteral("<none>");

} // namespace

class TestStartupPlan : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void decide_data();
    void decide();
    void dialogMayChangeTheOption();
    void relativeCommandLineIsAnchoredAtTheCurrentFolder();
    void commandLineText_data();
    void commandLineText();
    void sessionStartsOnceAndSavesOnce();

private:
    // "@" at the start of a text stands for the test folder.
    QString expand(const QString& text) const {
        return text.startsWith(u'@') ? m_dir.path() + u'/' + text.mid(1) : text;
    }
    QStringList expand(const QStringList& texts) const {
        QStringList out;
        for (const QString& text : texts)
            out << expand(text);
        return out;
    }
    QTemporaryDir m_dir;
};

void TestStartupPlan::initTestCase() {
    QVERIFY(m_dir.isValid());
    for (const char* name : {"a.zvm", "b.zvm", "c.Zvm", "d.ZVM", "my map.zvm"})
        QVERIFY(TestFiles::writeBytes(m_dir.filePath(QString::fromUtf8(name)), "\"End\"\r\n"));
}

void TestStartupPlan::decide_data() {
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("dialogAnswer");
    QTest::addColumn<StartupOption>("option");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("messageText");
    QTest::addColumn<QString>("messageTitle");

    const QStringList history{u8("@a.zvm"), u8("@b.zvm")};
    const QString none;
    const QString error = u8("ｴﾗｰ");

    // No command line: the settings decide.
    QTest::newRow("no settings file") << history << kNoFile << none << none << StartupOption::Dialog
                                      << false << none << none << none;
    QTest::newRow("True, file chosen") << history << "True" << none << "@b.zvm"
                                       << StartupOption::Dialog << true << "@b.zvm" << none << none;
    QTest::newRow("True, nothing chosen") << history << "True" << none << none
                                          << StartupOption::Dialog << true << none << none << none;
    QTest::newRow("True, chosen file gone")
        << history << "True" << none << "@gone.zvm" << StartupOption::Dialog << true << none
        << notThereMessage() << error;
    QTest::newRow("True, empty history") << QStringList() << "True" << none << "@a.zvm"
                                         << StartupOption::Dialog << false << none << none << none;
    QTest::newRow("Auto opens the first entry")
        << history << "Auto" << none << none << StartupOption::Auto << false << "@a.zvm" << none
        << none;
    QTest::newRow("Auto, first entry gone, second not tried")
        << QStringList{u8("@gone.zvm"), u8("@a.zvm")} << "Auto" << none << none
        << StartupOption::Auto << false << none << autoMissingMessage() << u8("自動ﾌｧｲﾙ読みこみ");
    QTest::newRow("Auto, empty history") << QStringList() << "Auto" << none << none
                                         << StartupOption::Auto << false << none << none << none;
    QTest::newRow("False") << history << "False" << none << "@a.zvm" << StartupOption::Manual
                           << false << none << none << none;
    QTest::newRow("empty field") << history << "" << none << "@a.zvm" << StartupOption::Dialog
                                 << false << none << none << none;
    QTest::newRow("auto in lower case") << history << "auto" << none << "@a.zvm"
                                        << StartupOption::Dialog << false << none << none << none;
    QTest::newRow("option name Dialog") << history << "Dialog" << none << "@a.zvm"
                                        << StartupOption::Dialog << false << none << none << none;

    // A command line: no dialog, no history path, the option still from the settings.
    QTest::newRow("zvm with False")
        << history << "False"
        << "@b.zvm"
        << "@a.zvm" << StartupOption::Manual << false << "@b.zvm" << none << none;
    QTest::newRow("zvm with True")
        << history << "True"
        << "@b.zvm"
        << "@a.zvm" << StartupOption::Dialog << false << "@b.zvm" << none << none;
    QTest::newRow("ZVM with Auto and a gone first entry")
        << QStringList{u8("@gone.zvm")} << "Auto"
        << "@d.ZVM" << none << StartupOption::Auto << false << "@d.ZVM" << none << none;
    QTest::newRow("zvm without settings file")
        << history << kNoFile << "@a.zvm" << none << StartupOption::Dialog << false << "@a.zvm"
        << none << none;
    QTest::newRow("zvm with unknown setting")
        << history << "auto"
        << "@a.zvm" << none << StartupOption::Dialog << false << "@a.zvm" << none << none;
    QTest::newRow("path with a space taken whole")
        << history << "False"
        << "@my map.zvm" << none << StartupOption::Manual << false << "@my map.zvm" << none << none;
    QTest::newRow("missing zvm taken unchecked") << history << "False"
                                                 << "@nowhere.zvm" << none << StartupOption::Manual
                                                 << false << "@nowhere.zvm" << none << none;
    QTest::newRow("Zvm refused though valid") << history << "Auto"
                                              << "@c.Zvm" << none << StartupOption::Auto << false
                                              << none << notAMapFileMessage() << error;
    QTest::newRow("no extension") << history << "False"
                                  << "@zvm" << none << StartupOption::Manual << false << none
                                  << notAMapFileMessage() << error;
    QTest::newRow("zvm only in a folder name")
        << history << kNoFile << "@x.zvm/readme" << none << StartupOption::Dialog << false << none
        << notAMapFileMessage() << error;
    QTest::newRow("quoted argument not unquoted")
        << history << "True"
        << "\"/tmp/a.zvm\"" << none << StartupOption::Dialog << false << none
        << notAMapFileMessage() << error;
}

void TestStartupPlan::decide() {
    QFETCH(QStringList, history);
    QFETCH(QString, stored);
    QFETCH(QString, commandLine);
    QFETCH(QString, dialogAnswer);
    QFETCH(StartupOption, option);
    QFETCH(bool, dialogShown);
    QFETCH(QString, path);
    QFETCH(QString, messageText);
    QFETCH(QString, messageTitle);

    StartupInputs inputs;
    inputs.history = expand(history);
    if (stored != kNoFile)
        inputs.storedSetting = stored;
    inputs.commandLine = expand(commandLine);

    int asked = 0;
    const StartupDecision decision = StartupPlan::decide(inputs, [&](StartupOption current) {
        ++asked;
        return RecentFileChoice{expand(dialogAnswer), current};
    });

    QCOMPARE(decision.startupOption, option);
    QCOMPARE(asked, dialogShown ? 1 : 0);
    QCOMPARE(decision.recentDialogShown, dialogShown);
    QCOMPARE(decision.startupPath, expand(path));
    if (messageText.isEmpty()) {
        QVERIFY(decision.messages.isEmpty());
    } else {
        QCOMPARE(decision.messages.size(), 1);
        const MessageRequest& message = decision.messages.first();
        QCOMPARE(message.text, messageText);
        QCOMPARE(message.title, messageTitle);
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QCOMPARE(message.icon, MessageIcon::Exclamation);
    }
}

void TestStartupPlan::dialogMayChangeTheOption() {
    // The dialog's check box switches the option while the dialog is up; that must stick.
    StartupInputs inputs;
    inputs.history = {m_dir.filePath(QStringLiteral("a.zvm"))};
    inputs.storedSetting = QStringLiteral("True");
    std::optional<StartupOption> seenByDialog;
    const StartupDecision decision = StartupPlan::decide(inputs, [&](StartupOption current) {
        seenByDialog = current;
        return RecentFileChoice{QString(), StartupOption::Manual};
    });
    QCOMPARE(seenByDialog, StartupOption::Dialog);
    QCOMPARE(decision.startupOption, StartupOption::Manual);
    QVERIFY(decision.startupPath.isEmpty());
}

void TestStartupPlan::relativeCommandLineIsAnchoredAtTheCurrentFolder() {
    StartupInputs inputs;
    inputs.commandLine = u8("maps/日本 地図.zvm");
    const StartupDecision decision = StartupPlan::decide(inputs, {});
    QCOMPARE(decision.startupPath, QDir::currentPath() + u8("/maps/日本 地図.zvm"));
    QVERIFY(decision.messages.isEmpty());
}

void TestStartupPlan::commandLineText_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("text");

    QTest::newRow("program only") << QStringList{u8("/opt/zav/zavmap")} << QString();
    QTest::newRow("one file") << QStringList{u8("zavmap"), u8("/m/日本.zvm")} << u8("/m/日本.zvm");
    QTest::newRow("split path joined again")
        << QStringList{u8("zavmap"), u8("/m/my"), u8("map.zvm")} << u8("/m/my map.zvm");
    QTest::newRow("empty argument") << QStringList{u8("zavmap"), QString()} << QString();
    QTest::newRow("nothing at all") << QStringList() << QString();
}

void TestStartupPlan::commandLineText() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, text);
    QCOMPARE(StartupPlan::commandLineText(arguments), text);
}

void TestStartupPlan::sessionStartsOnceAndSavesOnce() {
    QTemporaryDir own;
    QVERIFY(own.isValid());
    const QString history = own.filePath(u8("履歴.zav"));
    const QString settings = own.filePath(u8("設定.zav"));
    AppSession session(own.path() + u'/');
    session.save(); // nothing was read, so nothing is written
    QVERIFY(!QFileInfo::exists(history) && !QFileInfo::exists(settings));

    const QString first = m_dir.filePath(QStringLiteral("a.zvm"));
    QVERIFY(TestFiles::writeBytes(history, TestFiles::record({first})));
    QVERIFY(TestFiles::writeBytes(settings, "\"Auto\"\r\n\"Zoom\",\"150\"\r\n"));
    const StartupDecision decision = session.start(QString(), {});
    QCOMPARE(decision.startupPath, first);
    QCOMPARE(session.startupOption(), StartupOption::Auto);
    QCOMPARE(session.settings().namedOptions, (NamedOptions{{u8("Zoom"), u8("150")}}));
    // A second start reads and decides nothing.
    QVERIFY(session.start(QString(), {}).startupPath.isEmpty());
    QCOMPARE(session.recentFiles().count(), 1);

    // Only the choice among four is kept as an answer method; the others leave the file alone.
    session.setAnswerMethod(AnswerMethod::Locate);
    QCOMPARE(session.settings().namedOptions.size(), 1);
    QCOMPARE(session.answerMethod(), AnswerMethod::Typing);
    session.setAnswerMethod(AnswerMethod::Choice);
    QCOMPARE(session.answerMethod(), AnswerMethod::Choice);

    session.setStartupOption(StartupOption::Manual);
    session.recentFiles().add(u8("/q/b.zvm"));
    session.save();
    QCOMPARE(TestFiles::readBytes(history),
             TestFiles::record({u8("/q/b.zvm")}) + TestFiles::record({first}));
    QCOMPARE(TestFiles::readBytes(settings),
             QByteArray("\"False\"\r\n\"AnswerMethod\",\"Choice\"\r\n\"Zoom\",\"150\"\r\n"));
    // Only once.
    QVERIFY(TestFiles::writeBytes(settings, "\"True\"\r\n"));
    session.save();
    QCOMPARE(TestFiles::readBytes(settings), QByteArray("\"True\"\r\n"));
}

QTEST_GUILESS_MAIN(TestStartupPlan)
#include "tst_startupplan.moc"
