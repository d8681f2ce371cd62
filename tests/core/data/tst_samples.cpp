// The bundled sample quizzes, read from the source tree as the program reads them.

#include "SamplePalette.h"

#include "core/data/Cp932.h"
#include "core/data/QuestionFile.h"
#include "core/data/QuestionTable.h"
#include "core/data/TableSink.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

namespace {

QString samplePath(const QString& name) {
    return QDir(QStringLiteral(ZAV_SAMPLES_DIR))
        .filePath(name + u'/' + name + QStringLiteral(".zvm"));
}

struct Sample {
    ReadOutcome outcome = ReadOutcome::CannotOpen;
    QuestionTable table;
    QImage map;
    QString reference;
};

Sample readSample(const QString& name) {
    Sample sample;
    TableSink sink(sample.table);
    sample.outcome = QuestionFile::read(samplePath(name), sink);
    sample.map = sink.map;
    sample.reference = sink.mapReference;
    return sample;
}

const Point* findRow(const QuestionTable& table, const QString& answer1) {
    for (const Point& row : table.rows())
        if (row[ColumnAnswer1] == answer1)
            return &row;
    return nullptr;
}

QPoint positionOf(const QuestionTable& table, const QString& answer1) {
    const Point* row = findRow(table, answer1);
    return row ? QPoint(row->at(ColumnX).toInt(), row->at(ColumnY).toInt()) : QPoint(-1, -1);
}

} // namespace

class TestSamples : public QObject {
    Q_OBJECT

private slots:
    void readsBackWhole_data();
    void readsBackWhole();
    void bytesAreTheFileFormat_data();
    void bytesAreTheFileFormat();
    void prefectures_data();
    void prefectures();
    void countries_data();
    void countries();
    void placesLieWhereTheyBelong();
};

void TestSamples::readsBackWhole_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("mapSize");
    QTest::newRow("prefectures") << QStringLiteral("都道府県") << 47 << QSize(893, 1000);
    QTest::newRow("countries") << QStringLiteral("世界の国") << 54 << QSize(1600, 795);
}

// Every point is a whole pixel well inside its place: the 5 x 5 pixels around it are one fill
// colour, so neither sea nor a border nor land outside the quiz lies under the marker's centre.
void TestSamples::readsBackWhole() {
    QFETCH(QString, name);
    QFETCH(int, points);
    QFETCH(QSize, mapSize);

    const Sample sample = readSample(name);
    QCOMPARE(sample.outcome, ReadOutcome::Success);
    QCOMPARE(sample.reference, QStringLiteral("./") + name + QStringLiteral(".bmp"));
    QCOMPARE(sample.map.size(), mapSize);
    QCOMPARE(sample.table.rowCount(), points);

    QSet<QString> answers;
    QSet<QPoint> positions;
    for (const Point& row : sample.table.rows()) {
        const QString& place = row[ColumnAnswer1];
        QVERIFY2(!place.isEmpty() && !row[ColumnHint].isEmpty() && !row[ColumnInfo].isEmpty(),
                 qPrintable(place));
        for (const QString& text : row)
            QVERIFY2(QuestionFile::isStorable(text), qPrintable(text));
        answers.insert(place);

        bool okX = false;
        bool okY = false;
        const QPoint at(row[ColumnX].toInt(&okX), row[ColumnY].toInt(&okY));
        QVERIFY2(okX && okY,
                 qPrintable(place + QStringLiteral(": coordinates are not whole numbers")));
        positions.insert(at);
        const QRgb fill = sample.map.pixel(at);
        QVERIFY2(SamplePalette::isFill(fill),
                 qPrintable(place + QStringLiteral(": not on a place's fill")));
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                QVERIFY2(sample.map.valid(at + QPoint(dx, dy)) &&
                             sample.map.pixel(at + QPoint(dx, dy)) == fill,
                         qPrintable(place + QStringLiteral(": sea or a border next to the point")));
    }
    QCOMPARE(answers.size(), points);
    QCOMPARE(positions.size(), points);
}

void TestSamples::bytesAreTheFileFormat_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("prefectures") << QStringLiteral("都道府県");
    QTest::newRow("countries") << QStringLiteral("世界の国");
}

// Exactly what the program's own writer produces: code page 932, CR LF, every field quoted.
void TestSamples::bytesAreTheFileFormat() {
    QFETCH(QString, name);
    QFile file(samplePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    const Sample sample = readSample(name);
    QByteArray rewritten;
    QVERIFY(QuestionFile::encode(sample.reference, sample.table.rows(), rewritten).ok());
    QCOMPARE(bytes, rewritten);

    QVERIFY(bytes.startsWith(
        *Cp932::encode(QStringLiteral("\"Map\",\"./") + name + QStringLiteral(".bmp\"\r\n"))));
    QVERIFY(bytes.endsWith("\r\n\"End\"\r\n"));
    QCOMPARE(bytes.count("\r\n"), sample.table.rowCount() + 2);
    QCOMPARE(bytes.count('\n'), sample.table.rowCount() + 2);
}

void TestSamples::prefectures_data() {
    QTest::addColumn<QString>("answer1");
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("info");
    const auto row = [](const char* a1, const char* a2, const char* hint, const char* info) {
        QTest::newRow(a1) << QString::fromUtf8(a1) << QString::fromUtf8(a2)
                          << QString::fromUtf8(hint) << QString::fromUtf8(info);
    };
    row("鹿児島県", "鹿児島", "九州地方", "鹿児島市");
    row("沖縄県", "沖縄", "九州地方", "那覇市");
    row("東京都", "東京", "関東地方", "新宿区");
    row("大阪府", "大阪", "近畿地方", "大阪市");
    row("京都府", "京都", "近畿地方", "京都市");
    row("三重県", "三重", "近畿地方", "津市");
    row("北海道", "北海道", "北海道地方", "札幌市");
    row("愛知県", "愛知", "中部地方", "名古屋市");
    row("新潟県", "新潟", "中部地方", "新潟市");
    row("宮城県", "宮城", "東北地方", "仙台市");
    row("山口県", "山口", "中国地方", "山口市");
    row("香川県", "香川", "四国地方", "高松市");
    row("埼玉県", "埼玉", "関東地方", "さいたま市");
}

void TestSamples::prefectures() {
    QFETCH(QString, answer1);
    QFETCH(QString, answer2);
    QFETCH(QString, hint);
    QFETCH(QString, info);
    static const Sample sample = readSample(QStringLiteral("都道府県"));
    const Point* row = findRow(sample.table, answer1);
    QVERIFY(row);
    QCOMPARE(row->at(ColumnAnswer2), answer2);
    QCOMPARE(row->at(ColumnHint), hint);
    QCOMPARE(row->at(ColumnInfo), info);
}

void TestSamples::countries_data() {
    QTest::addColumn<QString>("answer1");
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("info");
    const auto row = [](const char* a1, const char* a2, const char* hint, const char* info) {
        QTest::newRow(a1) << QString::fromUtf8(a1) << QString::fromUtf8(a2)
                          << QString::fromUtf8(hint) << QString::fromUtf8(info);
    };
    row("日本", "", "東アジア", "東京");
    row("中華人民共和国", "中国", "東アジア", "北京");
    row("アメリカ合衆国", "アメリカ", "北アメリカ", "ワシントンD.C.");
    row("イギリス", "英国", "ヨーロッパ", "ロンドン");
    row("ブラジル", "", "南アメリカ", "ブラジリア");
    row("オーストラリア", "", "オセアニア", "キャンベラ");
    row("エジプト", "", "アフリカ", "カイロ");
}

void TestSamples::countries() {
    QFETCH(QString, answer1);
    QFETCH(QString, answer2);
    QFETCH(QString, hint);
    QFETCH(QString, info);
    static const Sample sample = readSample(QStringLiteral("世界の国"));
    const Point* row = findRow(sample.table, answer1);
    QVERIFY(row);
    QCOMPARE(row->at(ColumnAnswer2), answer2);
    QCOMPARE(row->at(ColumnHint), hint);
    QCOMPARE(row->at(ColumnInfo), info);
}

// A projection that is mirrored, shifted or mixed up between places shows in where a few
// well-known places lie against each other.
void TestSamples::placesLieWhereTheyBelong() {
    const Sample japan = readSample(QStringLiteral("都道府県"));
    const auto pref = [&](const char* name) {
        return positionOf(japan.table, QString::fromUtf8(name));
    };
    QVERIFY(pref("北海道").y() < pref("青森県").y());
    QVERIFY(pref("青森県").y() < pref("東京都").y());
    QVERIFY(pref("東京都").y() < pref("鹿児島県").y());
    QVERIFY(pref("福岡県").y() < pref("鹿児島県").y());
    QVERIFY(pref("福岡県").x() < pref("大阪府").x());
    QVERIFY(pref("大阪府").x() < pref("東京都").x());
    QVERIFY(pref("東京都").x() < pref("千葉県").x());
    QVERIFY(pref("島根県").y() < pref("広島県").y());

    const Sample world = readSample(QStringLiteral("世界の国"));
    const auto country = [&](const char* name) {
        return positionOf(world.table, QString::fromUtf8(name));
    };
    // Centred on the Pacific: Europe and Africa on the left, the Americas on the right.
    QVERIFY(country("フランス").x() < country("インド").x());
    QVERIFY(country("中華人民共和国").x() < country("日本").x());
    QVERIFY(country("日本").x() < country("アメリカ合衆国").x());
    QVERIFY(country("アメリカ合衆国").x() < country("ブラジル").x());
    QVERIFY(country("カナダ").y() < country("アメリカ合衆国").y());
    QVERIFY(country("アメリカ合衆国").y() < country("メキシコ").y());
    QVERIFY(country("日本").y() < country("オーストラリア").y());
    QVERIFY(country("エジプト").y() < country("南アフリカ").y());
}

QTEST_GUILESS_MAIN(TestSamples)
#include "tst_samples.moc"
