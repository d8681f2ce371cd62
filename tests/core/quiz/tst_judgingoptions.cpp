#include "ScriptedRandom.h"
#include "TestFiles.h"

#include "core/data/SettingsFile.h"
#include "core/quiz/Judging.h"
#include "core/quiz/QuizSession.h"

#include <QTemporaryDir>
#include <QtTest>

using TestFiles::point;
using TestFiles::readBytes;
using TestFiles::u8;
using TestFiles::writeBytes;

Q_DECLARE_METATYPE(JudgingOptions)

namespace {

// Options by their initials: "" all off, "w" width, "k" kana, "s" spaces, "wks" all on.
JudgingOptions options(const char* on) {
    const QByteArray flags(on);
    return {flags.contains('w'), flags.contains('k'), flags.contains('s')};
}

} // namespace

class TestJudgingOptions : public QObject {
    Q_OBJECT

private slots:
    void judging_data();
    void judging();
    void sessionJudgesWithItsOptions();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void settingsWithoutTheRecordsMeanAllOff();
};

void TestJudgingOptions::judging_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer1");
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<QString>("on");
    QTest::addColumn<bool>("right");

    const QString tokyo = u8("東京");
    const QString kataTokyo = u8("トウキョウ");
    const QString hiraTokyo = u8("とうきょう");
    const QString halfTokyo = u8("ﾄｳｷｮｳ");
    const QString none;
    // clang-format off
    // Width: NFKC makes full-width letters and half-width katakana one form.
    QTest::newRow("full-width A, exact")     << u8("Ａ") << "A" << none << "" << false;
    QTest::newRow("full-width A, width")     << u8("Ａ") << "A" << none << "w" << true;
    QTest::newRow("half-width kana, exact")  << halfTokyo << kataTokyo << none << "" << false;
    QTest::newRow("half-width kana, width")  << halfTokyo << kataTokyo << none << "w" << true;
    QTest::newRow("half-width kana, kana")   << halfTokyo << kataTokyo << none << "k" << false;
    QTest::newRow("voiced half-width, w+k")  << u8("ｶﾞｯｺｳ") << u8("がっこう") << none << "wk" << true;
    QTest::newRow("tilde for wave dash, w")  << "~" << u8("〜") << none << "w" << true;
    QTest::newRow("tilde for wave dash")     << "~" << u8("〜") << none << "" << false;
    // Kana: hiragana and full-width katakana, the long-vowel mark shared.
    QTest::newRow("hiragana, exact")         << hiraTokyo << kataTokyo << none << "" << false;
    QTest::newRow("hiragana, kana")          << hiraTokyo << kataTokyo << none << "k" << true;
    QTest::newRow("katakana in answer 2")    << hiraTokyo << tokyo << kataTokyo << "k" << true;
    QTest::newRow("vu and long vowel, kana") << u8("ヴァイオリーン") << u8("ゔぁいおりーん") << none << "k" << true;
    QTest::newRow("hiragana, width")         << hiraTokyo << kataTokyo << none << "w" << false;
    QTest::newRow("half-width to hiragana")  << halfTokyo << hiraTokyo << none << "wk" << true;
    // Spaces, full-width included, anywhere.
    QTest::newRow("inner blank, exact")      << u8("東 京") << tokyo << none << "" << false;
    QTest::newRow("inner blank, spaces")     << u8("東 京") << tokyo << none << "s" << true;
    QTest::newRow("full-width blanks")       << u8("　東　京　") << tokyo << none << "s" << true;
    QTest::newRow("full-width blank, width") << u8("東　京") << tokyo << none << "w" << false;
    QTest::newRow("blank in the answer")     << u8("ニューヨーク") << u8("ニュー ヨーク") << none << "s" << true;
    // All together; letter case and other letters still count.
    QTest::newRow("everything at once")      << u8(" ﾄｳ ｷｮｳ") << hiraTokyo << none << "wks" << true;
    QTest::newRow("letter case, all on")     << "tokyo" << "Tokyo" << none << "wks" << false;
    QTest::newRow("another place, all on")   << u8("大阪") << tokyo << kataTokyo << "wks" << false;
    QTest::newRow("exact still right")       << tokyo << tokyo << none << "wks" << true;
    // Nothing typed is wrong, also when spaces are all there is and answer 2 is empty.
    QTest::newRow("empty entry, all on")     << none << tokyo << none << "wks" << false;
    QTest::newRow("only blanks, spaces")     << u8(" 　") << tokyo << none << "s" << false;
    QTest::newRow("blank answer, exact")     << " " << " " << none << "" << true;
    // clang-format on
}

void TestJudgingOptions::judging() {
    QFETCH(QString, typed);
    QFETCH(QString, answer1);
    QFETCH(QString, answer2);
    QFETCH(QString, on);
    QFETCH(bool, right);
    QCOMPARE(Judging::isCorrect(typed, answer1, answer2, options(on.toLatin1())), right);
}

void TestJudgingOptions::sessionJudgesWithItsOptions() {
    const PointList rows{point("1", "1", "hint", u8("トウキョウ")),
                         point("2", "2", "hint", u8("トウキョウ"))};
    ScriptedRandom random;
    QuizSession session(rows, QuizMode::Normal, random);
    QVERIFY(session.advance());
    QVERIFY(!session.judge(u8("とうきょう")));
    session.setJudgingOptions(options("k"));
    QVERIFY(session.advance());
    QVERIFY(session.judge(u8("とうきょう")));
    QCOMPARE(session.correctNo(), 1);
}

void TestJudgingOptions::settingsRoundTrip_data() {
    QTest::addColumn<JudgingOptions>("judging");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray first = "\"Auto\"\r\n";
    const QByteArray width = "\"JudgeWidth\",\"True\"\r\n";
    const QByteArray kana = "\"JudgeKana\",\"True\"\r\n";
    const QByteArray spaces = "\"JudgeSpaces\",\"True\"\r\n";
    const QByteArray zoom = "\"Zoom\",\"150\"\r\n"; // another version's option, kept
    QTest::newRow("all off") << options("") << first + zoom;
    QTest::newRow("width") << options("w") << first + width + zoom;
    QTest::newRow("kana") << options("k") << first + kana + zoom;
    QTest::newRow("spaces") << options("s") << first + spaces + zoom;
    QTest::newRow("all on") << options("wks") << first + kana + spaces + width + zoom;
}

void TestJudgingOptions::settingsRoundTrip() {
    QFETCH(JudgingOptions, judging);
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    const QString file = dir.filePath(SettingsFile::fileName());
    // Whatever was on before is replaced.
    Settings settings{StartupOption::Auto,
                      {{u8("Zoom"), u8("150")}, {u8("JudgeKana"), u8("True")}}};
    options("wks").writeTo(settings.namedOptions);
    judging.writeTo(settings.namedOptions);
    QVERIFY(SettingsFile::write(file, settings));
    QCOMPARE(readBytes(file), bytes);

    // The first field keeps its meaning for a reader that reads nothing else.
    QCOMPARE(SettingsFile::readStoredValue(file).value_or(QString()), u8("Auto"));
    QCOMPARE(JudgingOptions::fromNamed(SettingsFile::readNamedOptions(file)), judging);
}

void TestJudgingOptions::settingsWithoutTheRecordsMeanAllOff() {
    QTemporaryDir dir;
    const QString file = dir.filePath(SettingsFile::fileName());
    QVERIFY(writeBytes(file, "\"True\"\r\n"));
    QVERIFY(JudgingOptions::fromNamed(SettingsFile::readNamedOptions(file)).isExact());
    // Only "True" turns an option on, exactly as written.
    QVERIFY(writeBytes(file, "\"True\"\r\n\"JudgeWidth\",\"true\"\r\n\"JudgeKana\",\"1\"\r\n"
                             "\"JudgeSpaces\",\"True \"\r\n"));
    QVERIFY(JudgingOptions::fromNamed(SettingsFile::readNamedOptions(file)).isExact());

    // All off writes today's file: the first record alone, byte for byte.
    Settings settings{StartupOption::Dialog};
    JudgingOptions{}.writeTo(settings.namedOptions);
    QVERIFY(SettingsFile::write(file, settings));
    QCOMPARE(readBytes(file), QByteArray("\"True\"\r\n"));
}

QTEST_GUILESS_MAIN(TestJudgingOptions)
#include "tst_judgingoptions.moc"
