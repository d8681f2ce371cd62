#include "TestFiles.h"
#include "core/data/Cp932.h"

#include <QTest>

using TestFiles::u8;

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void vectors_data();
    void vectors();
    void decodesDuplicateCodes();
    void invalidBytesBecomeReplacementCharacters_data();
    void invalidBytesBecomeReplacementCharacters();
    void asciiIsUnchanged();
    void linuxCodePointsEncodeAsWindowsDoes_data();
    void linuxCodePointsEncodeAsWindowsDoes();
    void refusesCharactersWithoutCode_data();
    void refusesCharactersWithoutCode();
    void neverYieldsMoreCharactersThanBytes();
};

void TestCp932::vectors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("fullwidth tilde") << u8("～") << QByteArray("\x81\x60");
    QTest::newRow("circled one") << u8("①") << QByteArray("\x87\x40");
    QTest::newRow("roman one") << u8("Ⅰ") << QByteArray("\x87\x54");
    QTest::newRow("small roman one") << u8("ⅰ") << QByteArray("\xFA\x40");
    QTest::newRow("taka with ladder") << u8("髙") << QByteArray("\xFB\xFC");
    QTest::newRow("because") << u8("∵") << QByteArray("\x81\xE6");
    QTest::newRow("not sign") << u8("￢") << QByteArray("\x81\xCA");
    QTest::newRow("half-width fu") << u8("ﾌ") << QByteArray("\xCC");
    QTest::newRow("chi") << u8("地") << QByteArray("\x92\x6E");
    QTest::newRow("mixed") << u8("ZAV地図覚え ﾍﾙﾌﾟ")
                           << QByteArray("ZAV\x92\x6E\x90\x7D\x8A\x6F\x82\xA6 \xCD\xD9\xCC\xDF");
    QTest::newRow("backslash is a backslash") << u8("C:\\map") << QByteArray("C:\\map");
    // Single bytes the code page leaves unassigned, mapped both ways as Windows maps them.
    QTest::newRow("windows single bytes")
        << QStringLiteral(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3") << QByteArray("\x80\xA0\xFD\xFE\xFF");
}

void TestCp932::vectors() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text).value_or("<none>"), bytes);
    QCOMPARE(Cp932::decode(bytes), text);
}

void TestCp932::decodesDuplicateCodes() {
    // NEC-selected and IBM extension duplicates read as the same characters.
    QCOMPARE(Cp932::decode("\xEE\xE0"), u8("髙"));
    QCOMPARE(Cp932::decode("\xED\x40"), Cp932::decode("\xFA\x5C"));
    QCOMPARE(Cp932::decode("\x87\x9A"), u8("∵"));
}

void TestCp932::invalidBytesBecomeReplacementCharacters_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString r(QChar(0xFFFD));
    QTest::newRow("lone lead byte at the end") << QByteArray("a\x82") << u8("a") + r;
    QTest::newRow("lead byte before a quote") << QByteArray("\x82\"") << r + u8("\"");
    QTest::newRow("lead byte before CR") << QByteArray("\x81\r") << r + u8("\r");
    QTest::newRow("unassigned pair") << QByteArray("\x85\x40x") << r + u8("x");
    QTest::newRow("pair after bad byte") << QByteArray("\x82\x7F\x92\x6E") << r + u8("\x7F地");
}

void TestCp932::invalidBytesBecomeReplacementCharacters() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
}

void TestCp932::asciiIsUnchanged() {
    // Every byte below 0x80 is the same code point both ways, control codes and NUL included.
    QByteArray bytes;
    QString text;
    for (int b = 0; b < 0x80; ++b) {
        bytes += char(b);
        text += QChar(b);
    }
    QCOMPARE(Cp932::decode(bytes), text);
    QCOMPARE(Cp932::encode(text).value_or("<none>"), bytes);
}

void TestCp932::linuxCodePointsEncodeAsWindowsDoes_data() {
    QTest::addColumn<QString>("linux");
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wave dash") << u8("〜") << u8("～") << QByteArray("\x81\x60");
    QTest::newRow("minus") << u8("−") << u8("－") << QByteArray("\x81\x7C");
    QTest::newRow("double vertical line") << u8("‖") << u8("∥") << QByteArray("\x81\x61");
    QTest::newRow("cent") << u8("¢") << u8("￠") << QByteArray("\x81\x91");
    QTest::newRow("pound") << u8("£") << u8("￡") << QByteArray("\x81\x92");
    QTest::newRow("not") << u8("¬") << u8("￢") << QByteArray("\x81\xCA");
    QTest::newRow("em dash") << u8("—") << u8("―") << QByteArray("\x81\x5C");
}

void TestCp932::linuxCodePointsEncodeAsWindowsDoes() {
    QFETCH(QString, linux);
    QFETCH(QString, windows);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::toWindowsCodePoints(linux), windows);
    QCOMPARE(Cp932::encode(linux).value_or("<none>"), bytes);
    QCOMPARE(Cp932::decode(bytes), windows);
}

void TestCp932::refusesCharactersWithoutCode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("firstBad");
    QTest::newRow("emoji") << u8("ab😀") << 2;
    QTest::newRow("supplementary kanji") << u8("𠮷野家") << 0;
    QTest::newRow("accented letter") << u8("café") << 3;
    QTest::newRow("yen sign") << u8("¥100") << 0;
    QTest::newRow("replacement character") << QString(QChar(0xFFFD)) << 0;
    QTest::newRow("no-break space, not the Windows byte A0") << QString(QChar(0xA0)) << 0;
    // ICU would drop this one silently; we must not.
    QTest::newRow("zero width space") << u8("a\u200Bb") << 1;
}

void TestCp932::refusesCharactersWithoutCode() {
    QFETCH(QString, text);
    QFETCH(int, firstBad);
    QVERIFY(!Cp932::encode(text).has_value());
    QVERIFY(!Cp932::canEncode(text));
    QCOMPARE(Cp932::firstUnencodable(text), qsizetype(firstBad));
}

void TestCp932::neverYieldsMoreCharactersThanBytes() {
    QByteArray bytes;
    quint32 state = 12345;
    for (int i = 0; i < 100000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += char(state >> 16);
    }
    const QString text = Cp932::decode(bytes);
    QVERIFY(text.size() <= bytes.size());
    QVERIFY(!text.isEmpty());
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
