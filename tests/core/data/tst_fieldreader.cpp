#include "core/data/FieldReader.h"

#include <QBuffer>
#include <QTest>

namespace {

// Every field the reader yields until the end, as raw bytes.
QList<QByteArray> readAll(const QByteArray& bytes,
                          qsizetype chunkSize = FieldReader::kDefaultChunkSize) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    FieldReader reader(buffer, chunkSize);
    QList<QByteArray> fields;
    while (std::optional<QByteArray> field = reader.readRawField())
        fields.append(*field);
    return fields;
}

} // namespace

class TestFieldReader : public QObject {
    Q_OBJECT
private slots:
    void scanning_data();
    void scanning();
    void decodesFields();
    void atEndAfterTheLastLineEnd();
    void fieldsAcrossChunkBoundaries();
    void aHugeUnterminatedFieldEndsAtTheEndOfTheFile();
};

void TestFieldReader::scanning_data() {
    using Fields = QList<QByteArray>;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Fields>("fields");
    QTest::newRow("empty file") << QByteArray() << Fields{};
    QTest::newRow("quoted record") << QByteArray("\"Map\",\"\"\r\n") << Fields{"Map", ""};
    QTest::newRow("comma and line break inside quotes")
        << QByteArray("\"a,b\",\"x\r\ny\"\r\n") << Fields{"a,b", "x\r\ny"};
    QTest::newRow("blanks before a field are skipped")
        << QByteArray("  \t\"a\", b\r\n") << Fields{"a", "b"};
    QTest::newRow("text after the closing quote is skipped")
        << QByteArray("\"a\"junk,\"b\"  \r\n\"c\"") << Fields{"a", "b", "c"};
    QTest::newRow("unquoted fields end at comma or line end")
        << QByteArray("12,3.5\r\nEnd") << Fields{"12", "3.5", "End"};
    QTest::newRow("unquoted field keeps trailing blanks") << QByteArray("a \r\n") << Fields{"a "};
    QTest::newRow("empty line is one empty field")
        << QByteArray("\"a\"\r\n\r\n\"b\"\r\n") << Fields{"a", "", "b"};
    QTest::newRow("lone LF and lone CR end fields")
        << QByteArray("a\nb\rc") << Fields{"a", "b", "c"};
    QTest::newRow("quoted field without closing quote")
        << QByteArray("\"abc,def\r\n") << Fields{"abc,def\r\n"};
    QTest::newRow("trailing comma gives nothing more") << QByteArray("a,") << Fields{"a"};
    QTest::newRow("NUL bytes are text")
        << QByteArray("\"a\0b\",c", 7) << Fields{QByteArray("a\0b", 3), "c"};
    QTest::newRow("blanks at the very end are one empty field")
        << QByteArray("\"a\"\r\n  ") << Fields{"a", ""};
    // Trail bytes of double-byte characters never equal a delimiter.
    QTest::newRow("double-byte text") << QByteArray("\"\x92\x6E\x90\x7D\",\x82\xA0\r\n")
                                      << Fields{"\x92\x6E\x90\x7D", "\x82\xA0"};
}

void TestFieldReader::scanning() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, fields);
    // Tiny chunks put every quote, comma and CR LF pair across a chunk seam somewhere.
    for (const qsizetype chunk :
         {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(5), FieldReader::kDefaultChunkSize})
        QCOMPARE(readAll(bytes, chunk), fields);
}

void TestFieldReader::decodesFields() {
    QByteArray data("\"\x92\x6E\x90\x7D\",\"\xCC\xA7\xB2\xD9\"\r\n");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    FieldReader reader(buffer);
    QCOMPARE(reader.readField(), QString::fromUtf8("地図"));
    QCOMPARE(reader.readField(), QString::fromUtf8("ﾌｧｲﾙ"));
    QCOMPARE(reader.readField(), std::nullopt);
}

void TestFieldReader::atEndAfterTheLastLineEnd() {
    QByteArray data("\"a\"\r\n\"b\"\r\n");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    FieldReader reader(buffer);
    QVERIFY(!reader.atEnd());
    QCOMPARE(reader.readRawField(), QByteArray("a"));
    QVERIFY(!reader.atEnd());
    QCOMPARE(reader.readRawField(), QByteArray("b"));
    QVERIFY(reader.atEnd());
    QVERIFY(!reader.failed());
}

void TestFieldReader::fieldsAcrossChunkBoundaries() {
    // The reader works in 64 KiB chunks: put fields, quotes and CR LF pairs across the seams.
    for (const int filler : {65533, 65534, 65535, 65536}) {
        const QByteArray big(filler, 'x');
        const QByteArray bytes = "\"" + big + "\"\r\n" + big + "\r\n\"tail\",\"end\"";
        const QList<QByteArray> fields = readAll(bytes);
        QCOMPARE(fields.size(), 4);
        QCOMPARE(fields[0], big);
        QCOMPARE(fields[1], big);
        QCOMPARE(fields[2], QByteArray("tail"));
        QCOMPARE(fields[3], QByteArray("end"));
    }
}

void TestFieldReader::aHugeUnterminatedFieldEndsAtTheEndOfTheFile() {
    const QByteArray bytes = "\"" + QByteArray(10 * 1024 * 1024, 'a');
    const QList<QByteArray> fields = readAll(bytes);
    QCOMPARE(fields.size(), 1);
    QCOMPARE(fields[0].size(), 10 * 1024 * 1024);
}

QTEST_GUILESS_MAIN(TestFieldReader)
#include "tst_fieldreader.moc"
