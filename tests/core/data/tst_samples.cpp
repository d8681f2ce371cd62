// The bundled sample quizzes, read from the source tree as the program reads them: every
// question file found under samples/, and a few facts about the well-known ones.

#include "SamplePalette.h"

#include "core/data/Cp932.h"
#include "core/data/QuestionFile.h"
#include "core/data/QuestionTable.h"
#include "core/data/TableSink.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QDir samples(QStringLiteral(ZAV_SAMPLES_DIR));

// Every question file under samples/, as paths relative to it ("日本/都道府県/都道府県.zvm").
QStringList allSamples() {
    QStringList found;
    QDirIterator it(samples.path(), {QStringLiteral("*.zvm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(samples.relativeFilePath(it.next()));
    found.sort();
    return found;
}

struct Sample {
    ReadOutcome outcome = ReadOutcome::CannotOpen;
    QuestionTable table;
    QImage map;
    QString reference;
};

Sample readSample(const QString& relative) {
    Sample sample;
    TableSink sink(sample.table);
    sample.outcome = QuestionFile::read(samples.filePath(relative), sink);
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

int pointsIn(const QStringList& files) {
    int sum = 0;
    for (const QString& file : files)
        sum += readSample(file).table.rowCount();
    return sum;
}

} // namespace

class TestSamples : public QObject {
    Q_OBJECT

private slots:
    void everySample_data();
    void everySample();
    void library();
    void facts_data();
    void facts();
    void placesLieWhereTheyBelong();
};

void TestSamples::everySample_data() {
    QTest::addColumn<QString>("file");
    for (const QString& file : allSamples())
        QTest::newRow(qPrintable(file)) << file;
}

// Each quiz opens whole, in the writer's own bytes, with its map beside it; every point is a
// whole pixel on the map with the 5 x 5 pixels around it one colour and not the sea (its
// place, or the mark of a small place or a city), and no two points share answer 1.
void TestSamples::everySample() {
    QFETCH(QString, file);
    const Sample sample = readSample(file);
    QCOMPARE(sample.outcome, ReadOutcome::Success);
    const QString name = QFileInfo(file).completeBaseName();
    QCOMPARE(sample.reference, QStringLiteral("./") + name + QStringLiteral(".bmp"));
    QVERIFY(!sample.map.isNull());
    QVERIFY(sample.table.rowCount() > 0);

    QFile bytes(samples.filePath(file));
    QVERIFY(bytes.open(QIODevice::ReadOnly));
    QByteArray rewritten;
    QVERIFY(QuestionFile::encode(sample.reference, sample.table.rows(), rewritten).ok());
    QCOMPARE(bytes.readAll(), rewritten);

    // Never larger than the same map as a plain 4-bit bitmap.
    const QFileInfo bmp(
        QFileInfo(samples.filePath(file)).dir().filePath(name + QStringLiteral(".bmp")));
    const qint64 plain =
        14 + 40 + 4 * 16 + qint64((sample.map.width() * 4 + 31) / 32 * 4) * sample.map.height();
    QVERIFY2(bmp.size() <= plain, qPrintable(bmp.fileName()));

    const QRgb sea = SamplePalette::sea.rgb();
    QSet<QString> answers;
    for (const Point& row : sample.table.rows()) {
        const QString& place = row[ColumnAnswer1];
        QVERIFY2(!place.isEmpty() && !answers.contains(place), qPrintable(place));
        answers.insert(place);
        for (const QString& text : row)
            QVERIFY2(QuestionFile::isStorable(text), qPrintable(text));
        bool okX = false;
        bool okY = false;
        const QPoint at(row[ColumnX].toInt(&okX), row[ColumnY].toInt(&okY));
        QVERIFY2(okX && okY && sample.map.valid(at), qPrintable(place));
        const QRgb under = sample.map.pixel(at);
        QVERIFY2(under != sea, qPrintable(place + QStringLiteral(": in the sea")));
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                QVERIFY2(sample.map.valid(at + QPoint(dx, dy)) &&
                             sample.map.pixel(at + QPoint(dx, dy)) == under,
                         qPrintable(place + QStringLiteral(": another colour next to it")));
    }
}

// The library as a whole (its README's table is compared with what the sample dialog lists, in
// tst_samplelibrary): the regions adding up to the whole, and within the size the install
// allows.
void TestSamples::library() {
    const QStringList files = allSamples();
    QVERIFY(files.size() >= 24);
    qint64 bitmaps = 0;
    for (const QString& file : files) {
        bitmaps += QFileInfo(samples.filePath(file.chopped(4) + QStringLiteral(".bmp"))).size();
        QCOMPARE(file.count(u'/'), 2); // subject/quiz/quiz.zvm
    }
    QVERIFY(bitmaps <= 25 * 1024 * 1024);

    const auto matching = [&](const QString& pattern) {
        return files.filter(QRegularExpression(pattern));
    };
    QCOMPARE(pointsIn(matching(QStringLiteral("^日本/.*地方/"))), 47);
    // The members and observer states of the United Nations, region by region: the country
    // quizzes that have a capital quiz beside them.
    QStringList byContinent;
    for (const QString& capitals : matching(QStringLiteral("^世界/.+の首都/")))
        byContinent.append(
            QString(capitals).replace(QStringLiteral("の首都"), QStringLiteral("の国")));
    QCOMPARE(byContinent.size(), 6);
    QCOMPARE(pointsIn(byContinent), 195);
}

void TestSamples::facts_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("answer1");
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("info");
    const auto row = [](const char* file, const char* a1, const char* a2, const char* hint,
                        const char* info) {
        QTest::addRow("%s %s", file, a1)
            << QString::fromUtf8(file) << QString::fromUtf8(a1) << QString::fromUtf8(a2)
            << QString::fromUtf8(hint) << QString::fromUtf8(info);
    };
    const char* prefectures = "日本/都道府県/都道府県.zvm";
    row(prefectures, "鹿児島県", "鹿児島", "九州地方", "鹿児島市");
    row(prefectures, "沖縄県", "沖縄", "九州地方", "那覇市");
    row(prefectures, "東京都", "東京", "関東地方", "新宿区");
    row(prefectures, "三重県", "三重", "近畿地方", "津市");
    row(prefectures, "北海道", "北海道", "北海道地方", "札幌市");
    row(prefectures, "埼玉県", "埼玉", "関東地方", "さいたま市");
    const char* seats = "日本/県庁所在地/県庁所在地.zvm";
    row(seats, "札幌市", "札幌", "北海道", "北海道地方");
    row(seats, "さいたま市", "さいたま", "埼玉県", "関東地方");
    row(seats, "東京", "新宿区", "東京都", "関東地方");
    row(seats, "松江市", "松江", "島根県", "中国地方");
    row("日本/近畿地方/近畿地方.zvm", "三重県", "三重", "津市", "近畿地方");
    row("日本/政令指定都市/政令指定都市.zvm", "相模原市", "相模原", "神奈川県", "関東地方");
    const char* world = "世界/世界の国/世界の国.zvm";
    row(world, "中華人民共和国", "中国", "東アジア", "北京");
    row(world, "アメリカ合衆国", "アメリカ", "北アメリカ", "ワシントンD.C.");
    row(world, "イギリス", "英国", "ヨーロッパ", "ロンドン");
    row("世界/ヨーロッパの国/ヨーロッパの国.zvm", "ロシア連邦", "ロシア", "モスクワ",
        "Russian Federation");
    row("世界/アジアの首都/アジアの首都.zvm", "北京", "ペキン", "中華人民共和国", "Beijing");
    row("世界/アフリカの首都/アフリカの首都.zvm", "ナイロビ", "", "ケニア", "Nairobi");
    row("世界/南アメリカの首都/南アメリカの首都.zvm", "ブラジリア", "", "ブラジル", "Brasilia");
    row("世界/オセアニアの首都/オセアニアの首都.zvm", "キャンベラ", "", "オーストラリア",
        "Canberra");
    row("世界/アメリカの州/アメリカの州.zvm", "テキサス州", "テキサス", "南部", "TX");
    row("世界/中国の省/中国の省.zvm", "新疆ウイグル自治区", "新疆", "西北", "Xinjiang");
    row("世界/EUの国/EUの国.zvm", "マルタ", "", "バレッタ", "Malta");
}

void TestSamples::facts() {
    QFETCH(QString, file);
    QFETCH(QString, answer1);
    QFETCH(QString, answer2);
    QFETCH(QString, hint);
    QFETCH(QString, info);
    const Sample sample = readSample(file);
    const Point* row = findRow(sample.table, answer1);
    QVERIFY(row);
    QCOMPARE(row->at(ColumnAnswer2), answer2);
    QCOMPARE(row->at(ColumnHint), hint);
    QCOMPARE(row->at(ColumnInfo), info);
}

// A projection that is mirrored, shifted or mixed up between places shows in where a few
// well-known places lie against each other.
void TestSamples::placesLieWhereTheyBelong() {
    const auto in = [](const char* file) {
        return [table = readSample(QString::fromUtf8(file)).table](const char* name) {
            return positionOf(table, QString::fromUtf8(name));
        };
    };
    const auto pref = in("日本/都道府県/都道府県.zvm");
    QVERIFY(pref("北海道").y() < pref("青森県").y());
    QVERIFY(pref("青森県").y() < pref("東京都").y());
    QVERIFY(pref("東京都").y() < pref("鹿児島県").y());
    QVERIFY(pref("福岡県").x() < pref("大阪府").x());
    QVERIFY(pref("大阪府").x() < pref("東京都").x());
    QVERIFY(pref("島根県").y() < pref("広島県").y());

    const auto seat = in("日本/県庁所在地/県庁所在地.zvm");
    QVERIFY(seat("札幌市").y() < seat("仙台市").y());
    QVERIFY(seat("大津市").x() > seat("京都市").x());
    QVERIFY(seat("横浜市").y() > seat("東京").y());

    const auto country = in("世界/世界の国/世界の国.zvm");
    // Centred on the Pacific: Europe and Africa on the left, the Americas on the right.
    QVERIFY(country("フランス").x() < country("インド").x());
    QVERIFY(country("日本").x() < country("アメリカ合衆国").x());
    QVERIFY(country("アメリカ合衆国").x() < country("ブラジル").x());
    QVERIFY(country("エジプト").y() < country("南アフリカ").y());

    const auto europe = in("世界/ヨーロッパの首都/ヨーロッパの首都.zvm");
    QVERIFY(europe("パリ").x() < europe("ベルリン").x());
    QVERIFY(europe("ロンドン").y() < europe("マドリード").y());
    QVERIFY(europe("オスロ").y() < europe("ローマ").y());

    const auto states = in("世界/アメリカの州/アメリカの州.zvm");
    QVERIFY(states("カリフォルニア州").x() < states("ネバダ州").x());
    QVERIFY(states("ノースダコタ州").y() < states("テキサス州").y());
    QVERIFY(states("オハイオ州").x() < states("メイン州").x());
}

QTEST_GUILESS_MAIN(TestSamples)
#include "tst_samples.moc"
