// CSV import and export of the editor's points without a window: the round trip of awkward
// texts and of cells a spreadsheet would run, every line end read alike in pieces of any size,
// every rejected line reported with its number and reason (bounded however many), the files
// refused whole, the choice of encoding, and the commands with their dialog, message and undo
// step.
#include "core/data/Cp932.h"
#include "core/data/Csv.h"
#include "core/editor/CsvCommands.h"
#include "core/editor/EditorDocument.h"
#include "core/editor/EditorHistory.h"
#include "core/editor/PointCsv.h"
#include "core/editor/PointTableModel.h"

#include "FakeServices.h"
#include "TestFiles.h"
#include "Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using TestFiles::u8;

Q_DECLARE_METATYPE(PointList)

class TestPointCsv : public QObject {
    Q_OBJECT
private slots:
    void fieldsRoundTrip();
    void rowsRoundTrip();
    void lineEnds_data();
    void lineEnds();
    void rejectedLines_data();
    void rejectedLines();
    void rejectionsStayBounded();
    void refusedFiles_data();
    void refusedFiles();
    void codePage932();
    void commands();
    void exportKeepsTheOldFile();
};

namespace {

QByteArray csv(const char* body) {
    return QByteArray("x,y,hint,answer1,answer2,info\r\n") + body;
}

} // namespace

void TestPointCsv::fieldsRoundTrip() {
    // The quoting itself, quotes included (a question file cannot hold those, a CSV can).
    const QList<QByteArray> fields = {
        "plain", "a,b", "say \"hi\"", "two\r\nlines", "", " blank ", "lf\nonly", "\"", ",", "末尾"};
    const QByteArray line = Csv::formatRecord(fields);
    QVERIFY(line.startsWith("plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",,\" blank \","));
    const Csv::Parsed parsed = Csv::parse(line + line);
    QCOMPARE(parsed.malformedLine, 0);
    QCOMPARE(parsed.records.size(), 2);
    QCOMPARE(parsed.records[0].fields, fields);
    QCOMPARE(parsed.records[1].fields, fields);
    QCOMPARE(parsed.records[0].line, 1);
    QCOMPARE(parsed.records[1].line, 4); // the first record spans three lines
}

void TestPointCsv::rowsRoundTrip() {
    const PointList rows = {
        TestFiles::point(u8("128"), u8("45"), u8("大阪,京都"), u8("ﾄｳｷｮｳ"), QString(),
                         u8("一行目\r\n二行目\r\n")),
        TestFiles::point(u8("-5.5"), u8("1E2"), u8("〜波ダッシュ"), u8(" 空白 "), u8("ｶﾞｷﾞｸﾞ"),
                         u8("情報, 引用\tなし")),
        TestFiles::point(u8("0"), u8("0"), QString(), u8("a"), QString(), QString()),
        // Cells a spreadsheet would run as formulas, and texts that look guarded already.
        TestFiles::point(u8("-7"), u8("+8"), u8("=cmd|' /C calc'!A0"), u8("+1+1"), u8("-2+3"),
                         u8("@SUM(A1)")),
        TestFiles::point(u8("1"), u8("2"), u8("'quoted"), u8("\tTab"), u8("''two"), u8("\r\n=1")),
    };
    const QByteArray bytes = PointCsv::encode(rows);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFx,y,hint,answer1,answer2,info\r\n"));
    QVERIFY(bytes.endsWith("-7,+8,'=cmd|' /C calc'!A0,'+1+1,'-2+3,'@SUM(A1)\r\n"
                           "1,2,''quoted,'\tTab,'''two,\"'\r\n=1\"\r\n"));
    const PointCsv::Import import = PointCsv::parse(bytes, kMaxPoints);
    QVERIFY(!import.refusal);
    QVERIFY(import.rejected.isEmpty());
    QVERIFY(!import.readAsCp932);
    QCOMPARE(import.rows, rows);

    // Line breaks from a spreadsheet (LF alone) are kept as the info box keeps them, CR LF.
    const PointCsv::Import lf = PointCsv::parse(csv("1,2,h,a,,\"one\ntwo\"\n"), kMaxPoints);
    QCOMPARE(lf.rows.size(), 1);
    QCOMPARE(lf.rows[0][ColumnInfo], u8("one\r\ntwo"));
}

void TestPointCsv::lineEnds_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void TestPointCsv::lineEnds() {
    // Read from a file in pieces of a few bytes too, so that a CR and its LF, a quoted line
    // break and a UTF-8 character fall across the seams.
    QFETCH(QByteArray, lineEnd);
    QByteArray bytes = "\xEF\xBB\xBFx,y,hint,answer1,answer2,info|1,2,h,東京,,\"a|b\"||1,x,h,c,,|"
                       "3,4,h,大阪,,|";
    bytes.replace('|', lineEnd);
    QTemporaryDir dir;
    const QString path = dir.filePath(u8("改行.csv"));
    QVERIFY(TestFiles::writeBytes(path, bytes));
    const PointList rows = {
        TestFiles::point(u8("1"), u8("2"), u8("h"), u8("東京"), QString(), u8("a\r\nb")),
        TestFiles::point(u8("3"), u8("4"), u8("h"), u8("大阪"), QString(), QString())};
    for (const qint64 chunk : {qint64(1), qint64(2), qint64(3), PointCsv::kChunkBytes}) {
        const PointCsv::Import import = PointCsv::read(path, kMaxPoints, chunk);
        QCOMPARE(import.rows, rows);
        QCOMPARE(PointCsv::report(import).text,
                 u8("2項目を取り込みました。\r次の1行は取り込めませんでした。\r"
                    "5行目: X座標またはY座標の値が不正です。"));
    }
}

void TestPointCsv::rejectedLines_data() {
    QTest::addColumn<QByteArray>("body"); // after the header line
    QTest::addColumn<int>("room");
    QTest::addColumn<QStringList>("imported"); // answer 1 of each row taken
    QTest::addColumn<QString>("report");       // the lines of the message after its first

    QTest::newRow("every line good") << csv("1,2,h,東京,,\r\n3,4,h,大阪,,\r\n") << kMaxPoints
                                     << QStringList{u8("東京"), u8("大阪")} << QString();
    QTest::newRow("each reason with its line")
        << csv("abc,2,h,a,,\r\n"          // 2
               "1,2,h,,,\r\n"             // 3
               "1,2,h,b,,\r\n"            // 4 taken
               "1,2,é,c,,\r\n"            // 5
               "1,2,\"x\"\"y\",d,,\r\n"   // 6
               "1,2,\"h\r\n2\",e,,\r\n"   // 7-8
               "1,2,h,f,,\"i\r\nj\"\r\n") // 9-10 taken
        << kMaxPoints << QStringList{u8("b"), u8("f")}
        << u8("次の5行は取り込めませんでした。\r"
              "2行目: X座標またはY座標の値が不正です。\r"
              "3行目: 答え1には、必ずなにか入力してください。\r"
              "5行目: ﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「é」が含まれています。\r"
              "6行目: ﾋﾝﾄに、ﾌｧｲﾙに保存できない文字「\"」が含まれています。\r"
              "7行目: ﾋﾝﾄに改行が含まれています。");
    QTest::newRow("same reason in a row makes a range; blank lines and rows skipped")
        << csv("\r\n1,,h,a,,\r\n,,,,,\r\n1,x,h,b,,\r\n \r\n1,2,h,c,,\r\n1,,h,d,,\r\n") << kMaxPoints
        << QStringList{u8("c")}
        << u8("次の3行は取り込めませんでした。\r"
              "3～5行目: X座標またはY座標の値が不正です。\r"
              "8行目: X座標またはY座標の値が不正です。");
    QTest::newRow("coordinates beyond a double")
        << csv("1e999,2,h,a,,\r\n1,-1E400,h,b,,\r\n1,2,h,c,,\r\n") << kMaxPoints
        << QStringList{u8("c")}
        << u8("次の2行は取り込めませんでした。\r"
              "2～3行目: X座標またはY座標の値が不正です。");
    // Code page 932 bytes in UTF-8 (あ), which code page 932 would read: only their line is
    // left out, whether a byte order mark says UTF-8 or not.
    const QByteArray oneBadLine =
        csv("1,2,h,東京,,\n1,2,h,京都,,\n1,2,h,\x82\xA0,,\n1,2,h,大阪,,\n");
    const QString badLineReport = u8("次の1行は取り込めませんでした。\r"
                                     "4行目: UTF-8として読めないﾊﾞｲﾄが含まれています。");
    QTest::newRow("UTF-8 with a line of other bytes")
        << oneBadLine << kMaxPoints << QStringList{u8("東京"), u8("京都"), u8("大阪")}
        << badLineReport;
    QTest::newRow("byte order mark and a line of other bytes")
        << "\xEF\xBB\xBF" + oneBadLine << kMaxPoints
        << QStringList{u8("東京"), u8("京都"), u8("大阪")} << badLineReport;
    QTest::newRow("rows beyond the limit")
        << csv("1,2,h,a,,\n1,2,h,,,\n1,2,h,b,,\n1,2,h,c,,\n") << 1 << QStringList{u8("a")}
        << u8("次の3行は取り込めませんでした。\r"
              "3行目: 答え1には、必ずなにか入力してください。\r"
              "4～5行目: 項目数が32767を超えるため、追加できません。");
}

void TestPointCsv::rejectedLines() {
    QFETCH(QByteArray, body);
    QFETCH(int, room);
    QFETCH(QStringList, imported);
    QFETCH(QString, report);

    const PointCsv::Import import = PointCsv::parse(body, room);
    QVERIFY(!import.refusal);
    QStringList answers;
    for (const Point& row : import.rows)
        answers.append(row[ColumnAnswer1]);
    QCOMPARE(answers, imported);

    const MessageRequest message = PointCsv::report(import);
    QCOMPARE(message.title, u8("CSVﾌｧｲﾙの取り込み"));
    const QString first = QString::number(imported.size()) + u8("項目を取り込みました。");
    QCOMPARE(message.text, report.isEmpty() ? first : first + u8("\r") + report);
    QCOMPARE(message.icon, report.isEmpty() ? MessageIcon::None : MessageIcon::Exclamation);
}

void TestPointCsv::rejectionsStayBounded() {
    // Past the room a record is only counted, and so is a rejection past the groups the report
    // lists: 999 rejections alternating between two reasons keep 30 groups.
    QByteArray body;
    for (int i = 0; i < 1000; ++i)
        body += i % 2 ? "x,2,h,a,,\n" : "1,2,h,a,,\n";
    const PointCsv::Import import = PointCsv::parse(csv(body), 1);
    QCOMPARE(import.rows.size(), 1);
    QCOMPARE(import.rejected.size(), PointCsv::kMaxReportedGroups);
    QCOMPARE(import.rejectedRecords, 999);
    const QStringList lines = PointCsv::report(import).text.split(u'\r');
    QCOMPARE(lines.size(), 2 + 30 + 1);
    QCOMPARE(lines[1], u8("次の999行は取り込めませんでした。"));
    QCOMPARE(lines[3], u8("4行目: 項目数が32767を超えるため、追加できません。"));
    QCOMPARE(lines.last(), u8("ほか969行"));
}

void TestPointCsv::refusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason"); // the first line of the message

    const QString noHeader = u8("先頭に見出しの行 x,y,hint,answer1,answer2,info がありません。");
    QTest::newRow("empty file") << QByteArray() << noHeader;
    QTest::newRow("data without a header") << QByteArray("1,2,h,a,,\r\n") << noHeader;
    QTest::newRow("header with a column missing")
        << QByteArray("x,y,hint,answer1,answer2\r\n") << noHeader;
    QTest::newRow("a record with five fields")
        << csv("1,2,h,a,,\r\n1,2,h,a,\r\n")
        << u8("3行目の列の数が5です。列は6つ必要です(x,y,hint,answer1,answer2,info)。");
    QTest::newRow("a record with seven fields")
        << csv("1,2,h,\"a,b\",,,\r\n")
        << u8("2行目の列の数が7です。列は6つ必要です(x,y,hint,answer1,answer2,info)。");
    QTest::newRow("a quote inside an unquoted field")
        << csv("1,2,h,a,,\r\n1,2,5\"screen,a,,\r\n")
        << u8("3行目のﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")の使い方が正しくありません。");
    QTest::newRow("a quote never closed")
        << csv("1,2,h,a,,\r\n1,2,\"h,a,,\r\n1,2,h,a,,\r\n")
        << u8("3行目のﾀﾞﾌﾞﾙｸｫｰﾃｰｼｮﾝ(\")の使い方が正しくありません。");
}

void TestPointCsv::refusedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const PointCsv::Import import = PointCsv::parse(bytes, kMaxPoints);
    QVERIFY(import.refusal);
    QVERIFY(import.rows.isEmpty());
    QCOMPARE(import.refusal->text, reason + u8("\rﾌｧｲﾙは取り込まれていません。"));
    QCOMPARE(import.refusal->icon, MessageIcon::Exclamation);
}

void TestPointCsv::codePage932() {
    // As a spreadsheet on Windows saves it: code page 932, header in any letter case.
    const QByteArray bytes = "X,Y,Hint,Answer1,Answer2,Info\r\n" +
                             *Cp932::encode(u8("10,20,九州,鹿児島,ｶｺﾞｼﾏ,\"桜島\r\n〜\"\r\n"));
    const PointCsv::Import import = PointCsv::parse(bytes, kMaxPoints);
    QVERIFY(!import.refusal);
    QVERIFY(import.readAsCp932);
    QCOMPARE(import.rows.size(), 1);
    QCOMPARE(import.rows[0], TestFiles::point(u8("10"), u8("20"), u8("九州"), u8("鹿児島"),
                                              u8("ｶｺﾞｼﾏ"), u8("桜島\r\n～")));
    QCOMPARE(PointCsv::report(import).text,
             u8("1項目を取り込みました。\rUTF-8ではないため、ｼﾌﾄJISとして読み込みました。"));

    // Valid UTF-8 is never taken for code page 932.
    QVERIFY(!PointCsv::parse(csv("1,2,ｶﾅ,〜,,\r\n"), kMaxPoints).readAsCp932);
}

void TestPointCsv::commands() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString in = dir.filePath(u8("地名.csv"));
    QVERIFY(TestFiles::writeBytes(in, csv("1,2,h,東京,,\r\n1,,h,x,,\r\n3,4,h,大阪,,\r\n")));

    FakeServices services;
    PointTableModel model;
    EditorDocument document;
    EditorHistory history(model, document);
    CsvCommands commands(services, history, model.table());
    QVERIFY(history.addRow(TestFiles::point(u8("5"), u8("6"), QString(), u8("京都"))));

    commands.importFile(); // the dialog cancelled
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(services.messages.isEmpty());

    services.answerFile(in);
    commands.importFile();
    QCOMPARE(services.fileRequests.last().filter, u8("CSVﾌｧｲﾙ(*.csv)|*.csv"));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.table().text(ColumnAnswer1, 2), u8("大阪"));
    QCOMPARE(services.messages.size(), 1);
    QVERIFY(services.lastMessage().text.contains(u8("3行目: X座標またはY座標の値が不正です。")));
    history.stack().undo(); // the import was one step
    QCOMPARE(model.rowCount(), 1);
    history.stack().redo();

    // A refused file changes nothing and makes no step.
    const QString bad = dir.filePath(u8("bad.csv"));
    QVERIFY(TestFiles::writeBytes(bad, "1,2,h,a,,\r\n"));
    services.answerFile(bad);
    commands.importFile();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(history.stack().count(), 2);
    QVERIFY(services.lastMessage().text.startsWith(u8("先頭に見出しの行")));

    // Export writes every row; the same dialog offers the file chosen last.
    const QString out = dir.filePath(u8("書き出し.csv"));
    services.answerFile(out);
    commands.exportFile();
    QCOMPARE(services.fileRequests.last().proposed, bad);
    QCOMPARE(PointCsv::parse(TestFiles::readBytes(out), kMaxPoints).rows, model.table().rows());
    QCOMPARE(services.messages.size(), 2);
    QCOMPARE(services.unscriptedRequests, 1); // the cancelled dialog
}

void TestPointCsv::exportKeepsTheOldFile() {
    if (Unprivileged::rerunIfRoot())
        return;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(u8("old.csv"));
    QVERIFY(TestFiles::writeBytes(out, "old"));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const std::optional<MessageRequest> failure =
        PointCsv::write(out, {TestFiles::point(u8("1"), u8("2"), QString(), u8("a"))});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(failure);
    const QStringList lines = failure->text.split(u'\r');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], u8("CSVﾌｧｲﾙを書き出せませんでした。"));
    QCOMPARE(lines[1], out);
    QVERIFY(!lines[2].isEmpty()); // the system's reason
    QCOMPARE(TestFiles::readBytes(out), QByteArray("old"));
}

QTEST_GUILESS_MAIN(TestPointCsv)
#include "tst_pointcsv.moc"
