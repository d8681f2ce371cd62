// The printed worksheet, checked in the real PDF: its text as pdftotext reads it, its map page
// as pdftoppm renders it, its fonts as pdffonts lists them.

#include "ScriptedRandom.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include "core/data/QuestionFile.h"
#include "core/data/QuizTerms.h"
#include "core/data/TableSink.h"
#include "core/worksheet/Worksheet.h"
#include "core/worksheet/WorksheetLayout.h"
#include "core/worksheet/WorksheetRenderer.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using TestFiles::u8;

namespace {

const QDate kDate(2024, 5, 1);

WorksheetSource prefectures() {
    QuestionTable table;
    TableSink sink(table);
    const QString path = QStringLiteral(ZAV_SAMPLES_DIR) + u8("/日本/都道府県/都道府県.zvm");
    if (QuestionFile::read(path, sink) != ReadOutcome::Success)
        qFatal("cannot read the prefecture sample");
    return {u8("都道府県.zvm"), kDate, sink.map, table.rows()};
}

// 300 points on a wide map, and three that cannot be drawn: outside the map, a coordinate
// that is no number, a negative one.
WorksheetSource generated() {
    QImage map(1600, 900, QImage::Format_RGB32);
    map.fill(QColor(190, 220, 240));
    PointList points;
    for (int i = 0; i < 300; ++i)
        points.append(TestFiles::point(QString::number(40 + (i % 20) * 77),
                                       QString::number(40 + (i / 20) * 55), u8("ヒント%1").arg(i),
                                       u8("答え%1").arg(i), u8("別解%1").arg(i),
                                       u8("情報%1\r\n二行目").arg(i)));
    points.insert(7, TestFiles::point(u8("1600"), u8("10"), u8("外のヒント"), u8("外の答え")));
    points.insert(100, TestFiles::point(u8("abc"), u8("10"), u8("文字のヒント"), u8("文字の答え")));
    points.append(TestFiles::point(u8("-1"), u8("10"), u8("負のヒント"), u8("負の答え")));
    return {u8("生成.zvm"), kDate, map, points};
}

QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning() << program << arguments << process.readAllStandardError();
    return process.readAllStandardOutput();
}

// The text of every page, read back as pdftotext lays it out.
QStringList pageTexts(const QString& pdf) {
    QStringList pages =
        QString::fromUtf8(
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
            .split(u'\f');
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The page from `first` on with a line matching `pattern`: -1 when none, -2 when several.
int pageWithLine(const QStringList& pages, int first, const QString& pattern) {
    const QRegularExpression line(QStringLiteral("^") + pattern + QStringLiteral("\\s*$"),
                                  QRegularExpression::MultilineOption);
    int found = -1;
    for (int i = first; i < pages.size(); ++i) {
        if (pages[i].contains(line)) {
            if (found >= 0)
                return -2;
            found = i;
        }
    }
    return found;
}

bool hasTitle(const QString& page, const QString& name, const QString& part) {
    return page.section(u'\n', 0, 0)
        .contains(QRegularExpression(QRegularExpression::escape(name) + QStringLiteral("\\s+") +
                                     part + QStringLiteral("(?!\\S)")));
}

QString cell(const QString& text) {
    return QRegularExpression::escape(text.section(u'\r', 0, 0));
}

WorksheetLayout layoutFor(const Worksheet& worksheet, QPdfWriter& writer) {
    writer.setPageLayout(WorksheetRenderer::pdfPageLayout(worksheet, QPageSize(QPageSize::A4)));
    return WorksheetLayout(worksheet, writer, QSizeF(writer.width(), writer.height()));
}

bool isRed(QRgb pixel) {
    return qRed(pixel) > 150 && qGreen(pixel) < 110 && qBlue(pixel) < 110;
}

} // namespace

class TestWorksheet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyEntryOnItsPages_data();
    void everyEntryOnItsPages();
    void circlesAtTheScaledPositions();
    void japaneseFontEmbedded();
    void labelsKeepOffCirclesAndEachOther_data();
    void labelsKeepOffCirclesAndEachOther();
    void largeMapOverOverlappingPages();
    void tilesOnlyWhereTheMapDoesNotFit_data();
    void tilesOnlyWhereTheMapDoesNotFit();
    void unwritablePathKeepsTheOldFile();

private:
    QTemporaryDir m_dir;
};

void TestWorksheet::initTestCase() {
    for (const char* tool : {"pdftotext", "pdftoppm", "pdffonts"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 "poppler-utils is needed (scripts/install-deps.sh)");
    QVERIFY(m_dir.isValid());
}

void TestWorksheet::everyEntryOnItsPages_data() {
    QTest::addColumn<bool>("sample");
    QTest::addColumn<WorksheetOptions>("options");
    const WorksheetOptions all;
    WorksheetOptions hinted;
    hinted.hintsOnMap = true;
    hinted.numbering = WorksheetOptions::Numbering::Shuffled;
    WorksheetOptions keyOnly;
    keyOnly.mapPages = keyOnly.answerSheet = false;
    WorksheetOptions mapAndSheet;
    mapAndSheet.answerKey = false;
    QTest::newRow("prefectures") << true << all;
    QTest::newRow("prefectures, hints on the map, shuffled") << true << hinted;
    QTest::newRow("303 points") << false << all;
    QTest::newRow("303 points, key only") << false << keyOnly;
    QTest::newRow("303 points, map and sheet") << false << mapAndSheet;
}

// Map pages, then the sheet, then the key; every number on the map, every sheet line and
// every key line exactly once, in number order, with its own point's texts.
void TestWorksheet::everyEntryOnItsPages() {
    QFETCH(bool, sample);
    QFETCH(WorksheetOptions, options);
    ScriptedRandom random{0.3, 0.9, 0.1, 0.6};
    const Worksheet worksheet(sample ? prefectures() : generated(), options, random);
    const QString pdf = m_dir.filePath(QStringLiteral("entries.pdf"));
    QString error;
    QVERIFY2(WorksheetRenderer::writePdf(pdf, worksheet, &error), qPrintable(error));
    const QStringList pages = pageTexts(pdf);
    QVERIFY(!pages.isEmpty());

    const QString name = worksheet.source().fileName;
    int mapPages = 0;
    for (int i = 0; i < pages.size(); ++i) {
        QVERIFY2(pages[i].contains(name) && pages[i].contains(u8("2024年5月1日")),
                 qPrintable(u8("title line of page %1").arg(i + 1)));
        QVERIFY(pages[i].contains(QStringLiteral("%1 / %2").arg(i + 1).arg(pages.size())));
        if (hasTitle(pages[i], name, u8("地図")))
            mapPages = i + 1;
    }
    QCOMPARE(mapPages > 0, options.mapPages);

    // Numbers on the map pages (title and page number aside).
    QSet<QString> onMap;
    const QRegularExpression footer(QStringLiteral("^\\s*\\d+ / \\d+\\s*$"));
    for (int i = 0; i < mapPages; ++i) {
        for (const QString& line : pages[i].split(u'\n').mid(1)) {
            if (line.contains(footer))
                continue;
            for (const auto& match : QRegularExpression(QStringLiteral("\\d+")).globalMatch(line))
                onMap.insert(match.captured());
        }
    }

    // Shuffled, the numbers are a fresh order of all the points, drawn from the random source.
    QSet<int> rows;
    bool moved = false;
    for (const WorksheetEntry& entry : worksheet.entries()) {
        rows.insert(entry.row);
        moved = moved || entry.row != entry.number - 1;
    }
    QCOMPARE(rows.size(), worksheet.source().points.size());
    QCOMPARE(moved, options.numbering == WorksheetOptions::Numbering::Shuffled);
    QCOMPARE(random.reseeds, moved ? 1 : 0);

    int sheetPage = mapPages, keyPage = mapPages, offMap = 0;
    for (const WorksheetEntry& entry : worksheet.entries()) {
        const Point& point = worksheet.point(entry);
        const QString number = QString::number(entry.number);
        offMap += !entry.position;
        if (options.mapPages) {
            QCOMPARE(onMap.contains(number), entry.position.has_value());
            if (options.hintsOnMap && entry.position) {
                const QString beside = number + u' ' + point[ColumnHint];
                QVERIFY2(pages.first().contains(beside), qPrintable(beside));
            }
        }
        if (options.answerSheet) {
            const int page = pageWithLine(pages, mapPages,
                                          QStringLiteral("\\s*") + number + QStringLiteral("\\s+") +
                                              cell(point[ColumnHint]));
            QVERIFY2(page >= sheetPage, qPrintable(u8("sheet line %1").arg(number)));
            QVERIFY(hasTitle(pages[page], name, u8("解答用紙")));
            sheetPage = keyPage = page;
        }
        if (options.answerKey) {
            QStringList keyCells{number};
            for (int column : {ColumnAnswer1, ColumnAnswer2, ColumnInfo}) {
                if (!point[column].isEmpty())
                    keyCells << cell(point[column]);
            }
            const int page =
                pageWithLine(pages, mapPages,
                             QStringLiteral("\\s*") + keyCells.join(QStringLiteral("\\s+")) +
                                 QStringLiteral(".*"));
            QVERIFY2(page >= keyPage, qPrintable(u8("key line %1").arg(number)));
            QVERIFY(hasTitle(pages[page], name, u8("解答")));
            keyPage = page;
        }
    }
    // A point missing from the printed map says so on the sheet and in the key.
    const int notes = pages.join(QString()).count(offMapText());
    QCOMPARE(notes, options.mapPages ? offMap * (options.answerSheet + options.answerKey) : 0);
}

// The map page as pixels: at every point's place on the scaled map a red circle, and inside
// it the map's own colour at that pixel.
void TestWorksheet::circlesAtTheScaledPositions() {
    ScriptedRandom random;
    const Worksheet worksheet(prefectures(), WorksheetOptions(), random);
    const QString pdf = m_dir.filePath(QStringLiteral("map.pdf"));
    QVERIFY(WorksheetRenderer::writePdf(pdf, worksheet));
    constexpr int kDpi = 150;
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-f"), QStringLiteral("1"),
         QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, m_dir.filePath(QStringLiteral("map"))});
    const QImage page(m_dir.filePath(QStringLiteral("map.png")));
    QVERIFY(!page.isNull());

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const WorksheetLayout layout = layoutFor(worksheet, writer);
    const WorksheetPage& mapPage = layout.pages().first();
    const QImage& map = worksheet.source().map;
    QCOMPARE(mapPage.mapSource, QRectF(QPointF(0, 0), map.size()));
    const qreal scale = mapPage.mapTarget.width() / map.width();
    QVERIFY(std::abs(mapPage.mapTarget.height() / map.height() - scale) < 1e-9);
    QVERIFY(layout.body().contains(mapPage.mapTarget));

    const QPointF origin = writer.pageLayout().paintRectPixels(writer.resolution()).topLeft();
    const qreal toPixels = qreal(kDpi) / writer.resolution();
    const qreal radius = mapPage.circleRadius * toPixels;
    QVERIFY(radius > 3);
    for (const Point& point : worksheet.source().points) {
        const QPointF mapPixel(point[ColumnX].toDouble(), point[ColumnY].toDouble());
        const QPointF centre =
            (origin + mapPage.mapTarget.topLeft() + (mapPixel + QPointF(0.5, 0.5)) * scale) *
            toPixels;
        int red = 0;
        for (int k = 0; k < 16; ++k) {
            const qreal angle = k * M_PI / 8;
            bool hit = false;
            for (qreal d = -1.5; d <= 1.5; d += 0.5) {
                hit = hit || isRed(page.pixel(qRound(centre.x() + (radius + d) * std::cos(angle)),
                                              qRound(centre.y() + (radius + d) * std::sin(angle))));
            }
            red += hit;
        }
        QVERIFY2(red >= 13, qPrintable(point[ColumnAnswer1] + QStringLiteral(": %1/16").arg(red)));
        const QRgb inside = page.pixel(centre.toPoint());
        const QRgb expected = map.pixel(mapPixel.toPoint());
        QVERIFY2(std::abs(qRed(inside) - qRed(expected)) < 40 &&
                     std::abs(qGreen(inside) - qGreen(expected)) < 40 &&
                     std::abs(qBlue(inside) - qBlue(expected)) < 40,
                 qPrintable(point[ColumnAnswer1]));
    }
}

void TestWorksheet::japaneseFontEmbedded() {
    ScriptedRandom random;
    const Worksheet worksheet(prefectures(), WorksheetOptions(), random);
    const QString pdf = m_dir.filePath(QStringLiteral("fonts.pdf"));
    QVERIFY(WorksheetRenderer::writePdf(pdf, worksheet));
    // name, type, encoding, emb, sub, uni, object id: every font the Japanese one, embedded.
    const QStringList lines =
        QString::fromUtf8(run(QStringLiteral("pdffonts"), {pdf})).split(u'\n');
    QStringList fonts;
    for (const QString& line : lines.mid(2)) {
        if (!line.trimmed().isEmpty())
            fonts << line;
    }
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts) {
        QVERIFY2(font.contains(QStringLiteral("IPAGothic")), qPrintable(font));
        QCOMPARE(font.split(u' ', Qt::SkipEmptyParts).at(4), QStringLiteral("yes"));
    }
}

void TestWorksheet::labelsKeepOffCirclesAndEachOther_data() {
    QTest::addColumn<bool>("hints");
    QTest::newRow("numbers") << false;
    QTest::newRow("numbers and hints") << true;
}

// On the sample every label finds a place on the map that covers no circle and no label.
void TestWorksheet::labelsKeepOffCirclesAndEachOther() {
    QFETCH(bool, hints);
    WorksheetOptions options;
    options.hintsOnMap = hints;
    ScriptedRandom random;
    const Worksheet worksheet(prefectures(), options, random);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const WorksheetPage page = layoutFor(worksheet, writer).pages().first();
    QCOMPARE(page.marks.size(), worksheet.entries().size());
    for (const WorksheetPage::Mark& mark : page.marks) {
        QVERIFY(page.mapTarget.contains(mark.label.box));
        for (const WorksheetPage::Mark& other : page.marks) {
            if (&other == &mark)
                continue;
            QVERIFY2(!MapLabels::coversCircle(mark.label.box, other.centre, page.circleRadius),
                     qPrintable(mark.text + QStringLiteral(" covers ") + other.text));
            QVERIFY2(!mark.label.box.intersects(other.label.box),
                     qPrintable(mark.text + QStringLiteral(" meets ") + other.text));
        }
    }
}

// A map too large for one readable page goes over several that overlap, cover it whole and
// print it no smaller than the readable limit; every point is marked on some page.
void TestWorksheet::largeMapOverOverlappingPages() {
    QImage map(5000, 2600, QImage::Format_RGB32);
    map.fill(Qt::white);
    PointList points;
    for (int i = 0; i < 50; ++i)
        points.append(TestFiles::point(QString::number(i * 100 + 7), QString::number(i * 52),
                                       QString(), u8("答え")));
    ScriptedRandom random;
    WorksheetOptions options;
    options.answerSheet = options.answerKey = false;
    const Worksheet worksheet({u8("大きな地図.zvm"), kDate, map, points}, options, random);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    const WorksheetLayout layout = layoutFor(worksheet, writer);
    const QList<WorksheetPage>& pages = layout.pages();
    QVERIFY(pages.size() > 1);

    QRectF covered;
    QSet<int> marked;
    QList<qreal> lefts, tops;
    for (const WorksheetPage& page : pages) {
        const qreal scale = page.mapTarget.width() / page.mapSource.width();
        QVERIFY(scale * WorksheetLayout::kMaxMapPixelsPerInch >= writer.resolution() - 1e-6);
        QVERIFY(layout.body().adjusted(-1, -1, 1, 1).contains(page.mapTarget));
        covered = covered.united(page.mapSource);
        if (!lefts.contains(page.mapSource.left()))
            lefts.append(page.mapSource.left());
        if (!tops.contains(page.mapSource.top()))
            tops.append(page.mapSource.top());
        for (const WorksheetPage::Mark& mark : page.marks)
            marked.insert(mark.entry);
    }
    QCOMPARE(lefts.size() * tops.size(), pages.size());
    // Neighbours share a strip.
    const QSizeF shown = pages.first().mapSource.size();
    for (int i = 1; i < lefts.size(); ++i)
        QVERIFY(lefts[i] < lefts[i - 1] + shown.width());
    for (int i = 1; i < tops.size(); ++i)
        QVERIFY(tops[i] < tops[i - 1] + shown.height());
    QCOMPARE(covered, QRectF(QPointF(0, 0), map.size()));
    QCOMPARE(marked.size(), points.size());
}

void TestWorksheet::tilesOnlyWhereTheMapDoesNotFit_data() {
    QTest::addColumn<qreal>("length"); // map pixels
    QTest::addColumn<qreal>("scale");  // device units per map pixel
    QTest::addColumn<qreal>("page");   // device units
    QTest::addColumn<int>("tiles");
    // The sample's map, 893 pixels wide, scaled to fill A4 on a 1200 dpi printer (10 pt
    // margins): 893 * (9583 / 893) comes out a rounding error over 9583.
    const qreal width = 9583;
    QTest::newRow("filling the printer's page") << 893.0 << width / 893 << width << 1;
    QTest::newRow("well inside") << 500.0 << 1.0 << 999.0 << 1;
    QTest::newRow("a unit over") << 1000.0 << 1.0 << 999.0 << 2;
    const qreal overlap = 15 * 1200 / 25.4;
    QTest::newRow("filling two pages") << 5000.0 << (2 * width - overlap) / 5000 << width << 2;
    QTest::newRow("a unit over two pages") << 2 * width - overlap + 1 << 1.0 << width << 3;
}

// A map is split only when it does not fit; the tiles cover it to its end.
void TestWorksheet::tilesOnlyWhereTheMapDoesNotFit() {
    QFETCH(qreal, length);
    QFETCH(qreal, scale);
    QFETCH(qreal, page);
    QFETCH(int, tiles);
    const qreal overlap = 15 * 1200 / 25.4;
    const QList<qreal> starts = WorksheetLayout::tileStarts(length, scale, page, overlap);
    QCOMPARE(starts.size(), tiles);
    QCOMPARE(starts.first(), 0.0);
    QVERIFY(starts.last() + page / scale >= length - 1e-9);
}

void TestWorksheet::unwritablePathKeepsTheOldFile() {
    if (Unprivileged::rerunIfRoot())
        return;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u8("地図.pdf"));
    QVERIFY(TestFiles::writeBytes(pdf, "old"));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    ScriptedRandom random;
    const Worksheet worksheet(generated(), WorksheetOptions(), random);
    QString error;
    const bool written = WorksheetRenderer::writePdf(pdf, worksheet, &error);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(TestFiles::readBytes(pdf), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u8("地図.pdf")});
}

QTEST_MAIN(TestWorksheet)
#include "tst_worksheet.moc"
