// The print and PDF-export commands through the main window: when they are available, each
// step of their flow, and that a cancel at any step changes nothing.
#include "ScriptedRandom.h"
#include "core/data/QuestionFile.h"
#include "core/data/TableSink.h"
#include "ui/app/MainWindow.h"
#include "ui/worksheet/WorksheetCommands.h"
#include "ui/worksheet/WorksheetDialog.h"

#include "Controls.h"
#include "FakeServices.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using TestFiles::u8;

namespace {

const QString kStartText = u8("ｽﾀｰﾄして下さい。");

// What the user does in the options dialog: untick the key, or cancel it.
enum class InDialog { Accept, UntickKey, Cancel, NotShown };

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

Q_DECLARE_METATYPE(InDialog)

class TestWorksheetCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void availableWithPointsAndNoQuiz();
    void exportPdf_data();
    void exportPdf();
    void print_data();
    void print();
    void sampleAfterAQuiz();

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    QAction* action(const char* name) const { return Controls::action(m_window.get(), name); }
    QString status() const { return Controls::text(m_window.get(), "Panel_Main"); }
    void open(const QString& file);
    // Answers the next options dialog; `seen` gets the options it opened with.
    void answerDialog(InDialog what, WorksheetOptions* seen = nullptr);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<MainWindow> m_window;
    QString m_file;
    bool m_dialogShown = false;
};

void TestWorksheetCommands::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(TestFiles::writeBmp(path(QStringLiteral("map.bmp")), 64, 48));
    m_file = path(u8("白地図.zvm"));
    QVERIFY(TestFiles::writeBytes(
        m_file, TestFiles::questionFile(
                    QStringLiteral("./map.bmp"),
                    {TestFiles::point(u8("10"), u8("20"), u8("九州"), u8("福岡県"), u8("福岡")),
                     TestFiles::point(u8("40"), u8("30"), u8("四国"), u8("高知県"))})));
    m_services = std::make_unique<FakeServices>();
    m_window = std::make_unique<MainWindow>(*m_services, m_dir->path() + u'/');
    m_dialogShown = false;
}

void TestWorksheetCommands::cleanup() {
    m_window.reset();
    m_services.reset();
    m_dir.reset();
}

void TestWorksheetCommands::open(const QString& file) {
    m_services->answerFile(file);
    action("Menu2_Open")->trigger();
}

void TestWorksheetCommands::answerDialog(InDialog what, WorksheetOptions* seen) {
    if (what == InDialog::NotShown)
        return;
    QTimer::singleShot(0, this, [this, what, seen] {
        auto* dialog = qobject_cast<WorksheetDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        m_dialogShown = true;
        if (seen)
            *seen = dialog->options();
        if (what == InDialog::UntickKey)
            Controls::find<QCheckBox>(dialog, "AnswerKey")->setChecked(false);
        if (what == InDialog::Cancel)
            dialog->reject();
        else
            dialog->accept();
    });
}

void TestWorksheetCommands::availableWithPointsAndNoQuiz() {
    const auto available = [this] {
        const bool print = action("Menu2_Print")->isEnabled();
        return print == action("Menu2_ExportPdf")->isEnabled() && print;
    };
    QVERIFY(!available());
    open(m_file);
    QVERIFY(available());

    // Held while a file is read; after a read that failed there is no file to print.
    std::optional<bool> availableDuringRead;
    QTimer::singleShot(0, m_window.get(), [&] { availableDuringRead = available(); });
    open(m_file);
    QCOMPARE(availableDuringRead, std::optional<bool>(false));
    QVERIFY(available());
    const QString noMap = path(u8("地図なし.zvm"));
    QVERIFY(TestFiles::writeBytes(
        noMap, TestFiles::questionFile(QStringLiteral("./none.bmp"),
                                       {TestFiles::point(u8("1"), u8("1"), u8("h"), u8("a"))})));
    open(noMap);
    QVERIFY(!available());

    const QString empty = path(u8("空.zvm"));
    QVERIFY(TestFiles::writeBytes(empty, TestFiles::questionFile(QStringLiteral("./map.bmp"), {})));
    open(empty);
    QCOMPARE(status(), kStartText);
    QVERIFY(!available());

    open(m_file);
    QVERIFY(available());
    m_window->startQuiz();
    QVERIFY(m_window->answerWindow());
    QVERIFY(!available());
    m_services->answerMessage(MessageAnswer::Yes);
    m_window->stopQuiz();
    QVERIFY(available());
}

void TestWorksheetCommands::exportPdf_data() {
    QTest::addColumn<InDialog>("inDialog");
    QTest::addColumn<QString>("saveAs"); // empty: dialog cancelled; "-": never shown
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("statusAfter");
    QTest::newRow("options cancelled") << InDialog::Cancel << u8("-") << QString() << kStartText;
    QTest::newRow("save dialog cancelled")
        << InDialog::UntickKey << QString() << QString() << kStartText;
    QTest::newRow("exported") << InDialog::UntickKey << u8("問題.pdf") << QString()
                              << WorksheetCommands::exportedStatus();
    QTest::newRow("folder missing")
        << InDialog::UntickKey << u8("ない/問題.pdf")
        << u8("PDFﾌｧｲﾙを保存できませんでした。\r%1/ない/問題.pdf") << u8("ｴﾗｰが発生しました。");
}

void TestWorksheetCommands::exportPdf() {
    QFETCH(InDialog, inDialog);
    QFETCH(QString, saveAs);
    QFETCH(QString, message);
    QFETCH(QString, statusAfter);
    open(m_file);
    m_services->clear();
    const QString target = saveAs.isEmpty() || saveAs == u8("-") ? QString() : path(saveAs);
    if (saveAs != u8("-"))
        m_services->answerFile(target);
    WorksheetOptions seen;
    answerDialog(inDialog, &seen);
    action("Menu2_ExportPdf")->trigger();

    QVERIFY(m_dialogShown);
    QCOMPARE(seen, WorksheetOptions());
    QCOMPARE(m_services->fileRequests.size(), saveAs == u8("-") ? 0 : 1);
    if (!m_services->fileRequests.isEmpty()) {
        QVERIFY(m_services->fileRequests.first().save);
        QCOMPARE(m_services->fileRequests.first().filter, u8("PDFﾌｧｲﾙ(*.pdf)|*.pdf"));
        QCOMPARE(m_services->fileRequests.first().proposed, path(u8("白地図.pdf")));
    }
    QCOMPARE(status(), statusAfter);
    QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files),
             target.isEmpty() || !message.isEmpty() ? QStringList() : QStringList{saveAs});
    if (message.isEmpty()) {
        QVERIFY(m_services->messages.isEmpty());
    } else {
        QCOMPARE(m_services->messages.size(), 1);
        QVERIFY(m_services->lastMessage().text.startsWith(message.arg(m_dir->path())));
        QCOMPARE(m_services->lastMessage().title, u8("ｴﾗｰ"));
    }
    QVERIFY(action("Menu2_ExportPdf")->isEnabled());
    QVERIFY(!m_window->state().values().busy);

    // Only an export that went through keeps its options for the next one.
    const bool exported = !target.isEmpty() && message.isEmpty();
    if (exported) {
        const QString text = pdfText(target);
        QVERIFY(text.contains(u8("白地図.zvm")));
        QVERIFY(text.contains(u8("解答用紙")) && text.contains(u8("九州")));
        QVERIFY(!text.contains(u8("福岡県")));
    }
    m_services->clear();
    answerDialog(InDialog::Cancel, &seen);
    action("Menu2_ExportPdf")->trigger();
    QCOMPARE(seen.answerKey, !exported);
}

void TestWorksheetCommands::print_data() {
    QTest::addColumn<InDialog>("inDialog");
    QTest::addColumn<int>("printDialog"); // -1: not shown, 0: cancelled, 1: accepted
    QTest::addColumn<int>("preview");     // -1: not shown, 0: closed, 1: printed from
    QTest::newRow("options cancelled") << InDialog::Cancel << -1 << -1;
    QTest::newRow("print dialog cancelled") << InDialog::Accept << 0 << -1;
    QTest::newRow("preview closed") << InDialog::Accept << 1 << 0;
    QTest::newRow("printed") << InDialog::Accept << 1 << 1;
}

void TestWorksheetCommands::print() {
    QFETCH(InDialog, inDialog);
    QFETCH(int, printDialog);
    QFETCH(int, preview);
    open(m_file);
    m_services->clear();
    const QString printed = path(QStringLiteral("printer.pdf"));
    if (printDialog >= 0)
        m_services->answerPrintSetup(printDialog == 1, printed);
    if (preview >= 0)
        m_services->answerPreview(preview == 1);
    answerDialog(inDialog);
    action("Menu2_Print")->trigger();

    QVERIFY(m_dialogShown);
    QCOMPARE(m_services->printSetups, printDialog < 0 ? 0 : 1);
    QCOMPARE(m_services->previews, preview < 0 ? 0 : 1);
    QCOMPARE(m_services->unscriptedRequests, 0);
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(status(), preview == 1 ? WorksheetCommands::printedStatus() : kStartText);
    QCOMPARE(QFile::exists(printed), preview == 1);
    if (preview == 1) {
        const QString text = pdfText(printed);
        QVERIFY(text.contains(u8("白地図.zvm")) && text.contains(u8("福岡県")));
    }
}

// After a quiz shuffled the window's table, print and PDF of the sample give the same pages
// (the map on one), numbered in the file's order.
void TestWorksheetCommands::sampleAfterAQuiz() {
    const QString sample = QStringLiteral(ZAV_SAMPLES_DIR) + u8("/日本/都道府県/都道府県.zvm");
    QuestionTable file;
    TableSink sink(file);
    QCOMPARE(QuestionFile::read(sample, sink), ReadOutcome::Success);
    ScriptedRandom random{0.0}; // the first row goes last
    m_window->setRandomSource(random);
    open(sample);
    m_window->startQuiz();
    QVERIFY(m_window->answerWindow());
    m_services->answerMessage(MessageAnswer::Yes);
    m_window->stopQuiz();

    const QString exported = path(QStringLiteral("exported.pdf"));
    m_services->answerFile(exported);
    answerDialog(InDialog::Accept);
    action("Menu2_ExportPdf")->trigger();
    const QString printed = path(QStringLiteral("printed.pdf"));
    m_services->answerPrintSetup(true, printed);
    m_services->answerPreview(true);
    answerDialog(InDialog::Accept);
    action("Menu2_Print")->trigger();

    const QString text = pdfText(exported);
    const QString onPaper = pdfText(printed);
    QCOMPARE(onPaper.count(u'\f'), text.count(u'\f'));
    QCOMPARE(onPaper.count(QRegularExpression(u8("地図\\s+名前"))), 1); // no "(1/2)"
    // Key lines: number, answer 1.
    for (int row = 0; row < file.rowCount(); ++row) {
        const QRegularExpression line(
            QStringLiteral("^\\s*%1\\s+%2\\s")
                .arg(row + 1)
                .arg(QRegularExpression::escape(file.text(ColumnAnswer1, row))),
            QRegularExpression::MultilineOption);
        QVERIFY2(text.contains(line), qPrintable(line.pattern()));
    }
}

QTEST_MAIN(TestWorksheetCommands)
#include "tst_worksheetcommands.moc"
