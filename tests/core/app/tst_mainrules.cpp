// The main window's rules that need no window: the resize arithmetic, the help-file lookup and
// the commands' looks in each state.
#include "core/app/HelpFile.h"
#include "core/app/MainLayout.h"
#include "core/app/MainWindowState.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::u8;

Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(MainWindowState::Values)
Q_DECLARE_METATYPE(QList<MainCommand>)

class TestMainRules : public QObject {
    Q_OBJECT
private slots:
    void resize_data();
    void resize();
    void helpFile_data();
    void helpFile();
    void commandLooks_data();
    void commandLooks();
};

namespace {
const std::optional<int> refused;
}

void TestMainRules::resize_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("positionWidth");
    QTest::addColumn<std::optional<int>>("mapWidth");
    QTest::addColumn<std::optional<int>>("mapHeight");
    QTest::addColumn<int>("lineX2");
    QTest::addColumn<std::optional<int>>("mainWidth");

    using O = std::optional<int>;
    // The design frame: a 6,810 x 4,530 client area inside borders, caption and menu bar.
    QTest::newRow("design size") << 6930 << 5220 << 1440 << O(6615) << O(4095) << 6720 << O(4390);
    QTest::newRow("height exactly 1125")
        << 6930 << 1125 << 1440 << O(6615) << O(0) << 6720 << O(4390);
    QTest::newRow("height below 1125")
        << 6930 << 1124 << 1440 << O(6615) << refused << 6720 << O(4390);
    QTest::newRow("width exactly 315") << 315 << 5220 << 1440 << O(0) << O(4095) << 105 << refused;
    QTest::newRow("tiny window") << 150 << 300 << 1440 << refused << refused << -60 << refused;
    QTest::newRow("main panel exactly fits")
        << 2540 << 5220 << 1440 << O(2225) << O(4095) << 2330 << O(0);
    QTest::newRow("main panel one twip short")
        << 2539 << 5220 << 1440 << O(2224) << O(4095) << 2329 << refused;
    QTest::newRow("wider position panel")
        << 9000 << 6000 << 2000 << O(8685) << O(4875) << 8790 << O(5900);
}

void TestMainRules::resize() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, positionWidth);
    QFETCH(std::optional<int>, mapWidth);
    QFETCH(std::optional<int>, mapHeight);
    QFETCH(int, lineX2);
    QFETCH(std::optional<int>, mainWidth);

    const MainLayout::Assignments a = MainLayout::resize(width, height, positionWidth);
    QCOMPARE(a.mapWidth, mapWidth);
    QCOMPARE(a.mapHeight, mapHeight);
    QCOMPARE(a.line0X2, lineX2);
    QCOMPARE(a.line1X2, lineX2);
    QCOMPARE(a.panelTimeWidth, 1000);
    QCOMPARE(a.panelMainWidth, mainWidth);
}

void TestMainRules::helpFile_data() {
    // Names are of files beside the program; "share:" puts one in the install's data folder.
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("expected");
    const QString lower = u8("ZAV地図覚えヘルプ.hlp");
    const QString upper = u8("ZAV地図覚えヘルプ.HLP");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("lower-case name") << QStringList{lower} << lower;
    QTest::newRow("upper-case extension only") << QStringList{upper} << upper;
    QTest::newRow("both: the lower-case one") << QStringList{upper, lower} << lower;
    QTest::newRow("other mix of case") << QStringList{u8("ZAV地図覚えヘルプ.Hlp")} << QString();
    QTest::newRow("other name") << QStringList{u8("ヘルプ.hlp")} << QString();
    QTest::newRow("installed data folder") << QStringList{"share:" + upper} << "share:" + upper;
    QTest::newRow("beside the program first") << QStringList{"share:" + lower, upper} << upper;
}

void TestMainRules::helpFile() {
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The layout of an install: the program in lib/zavmap/, its data in share/zavmap/.
    const QString own = dir.path() + QStringLiteral("/lib/zavmap/");
    const QString data = dir.path() + QStringLiteral("/share/zavmap/");
    QVERIFY(QDir().mkpath(own) && QDir().mkpath(data));
    QCOMPARE(HelpFile::installedDataFolder(own), data);
    const auto path = [&](QString name) {
        return name.startsWith("share:") ? data + name.mid(6) : own + name;
    };
    for (const QString& name : present)
        QVERIFY(TestFiles::writeBytes(path(name), "<html></html>"));
    if (present.contains(u8("ZAV地図覚えヘルプ.Hlp")) &&
        QFileInfo::exists(own + u8("ZAV地図覚えヘルプ.hlp")))
        QSKIP("file names are not case-sensitive here");
    QCOMPARE(HelpFile::find(own), expected.isEmpty() ? QString() : path(expected));
}

void TestMainRules::commandLooks_data() {
    QTest::addColumn<MainWindowState::Values>("state");
    QTest::addColumn<QList<MainCommand>>("disabled");
    QTest::addColumn<QList<MainCommand>>("checked");

    using C = MainCommand;
    using State = MainWindowState::Values;
    const QList<C> worksheet = {C::Print, C::ExportPdf};
    const QList<C> defaults = {C::NormalMode, C::TypingMethod};
    QTest::newRow("at start") << State{}
                              << QList{C::Stop, C::Review, C::Explore, C::Progress} + worksheet
                              << defaults;

    State opened;
    opened.fileOpen = opened.hasPoints = true;
    QTest::newRow("file with points") << opened << QList{C::Stop, C::Review} << defaults;
    State empty = opened;
    empty.hasPoints = false;
    QTest::newRow("file without points")
        << empty << QList{C::Stop, C::Review, C::Explore} + worksheet << defaults;
    State failed;
    failed.hasPoints = true; // rows of a read that failed
    QTest::newRow("read failed") << failed
                                 << QList{C::Stop, C::Review, C::Explore, C::Progress} + worksheet
                                 << defaults;
    State exploring = opened;
    exploring.exploring = true;
    exploring.answerMethod = AnswerMethod::Choice;
    QTest::newRow("exploring") << exploring << QList{C::Stop, C::Review, C::Start}
                               << QList{C::NormalMode, C::ChoiceMethod, C::Explore};

    State quiz = opened;
    quiz.quizRunning = true;
    quiz.reviewReady = true;
    quiz.mode = QuizMode::Practice;
    quiz.answerMethod = AnswerMethod::Locate;
    quiz.masteryShown = true;
    QTest::newRow("quiz running") << quiz
                                  << QList{C::Open,     C::OpenSample, C::Start,      C::Review,
                                           C::ModeMenu, C::Editor,     C::MethodMenu, C::Judging,
                                           C::Mastery,  C::Explore,    C::Progress} +
                                         worksheet
                                  << QList{C::PracticeMode, C::LocateMethod, C::Mastery};

    State ended = opened;
    ended.reviewReady = true;
    ended.mode = QuizMode::WeakFirst;
    QTest::newRow("quiz ended") << ended << QList{C::Stop}
                                << QList{C::WeakFirstMode, C::TypingMethod};

    State reporting = ended;
    reporting.busy = true;
    reporting.mode = QuizMode::Review;
    QTest::newRow("long command reports") << reporting << QList{C::Stop, C::Explore} + worksheet
                                          << QList{C::ReviewMode, C::TypingMethod};

    State held = reporting;
    held.commandsHeld = true;
    held.masteryShown = true;
    QList<C> all;
    for (int command = 0; command < kMainCommandCount; ++command)
        all.append(static_cast<C>(command));
    QTest::newRow("long command holds")
        << held << all << QList{C::ReviewMode, C::TypingMethod, C::Mastery};
}

void TestMainRules::commandLooks() {
    QFETCH(MainWindowState::Values, state);
    QFETCH(QList<MainCommand>, disabled);
    QFETCH(QList<MainCommand>, checked);

    const MainCommandLooks looks = MainWindowState::looks(state);
    for (int i = 0; i < kMainCommandCount; ++i) {
        const auto command = static_cast<MainCommand>(i);
        const QByteArray which = "command " + QByteArray::number(i);
        QVERIFY2(looks[i].enabled != disabled.contains(command), which);
        QVERIFY2(looks[i].checked == checked.contains(command), which);
    }
}

QTEST_GUILESS_MAIN(TestMainRules)
#include "tst_mainrules.moc"
