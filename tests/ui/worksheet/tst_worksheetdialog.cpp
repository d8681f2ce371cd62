// The worksheet's options dialog: no worksheet of nothing, and Enter is "&OK" whatever was
// changed. (Values in and out are tested through the main window's commands.)
#include "ui/worksheet/WorksheetDialog.h"

#include "Controls.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

class TestWorksheetDialog : public QObject {
    Q_OBJECT
private slots:
    void noPartNoOk();
    void enterIsOk_data();
    void enterIsOk();
};

// Without a part "&OK" is unavailable (and Enter does nothing); hints belong to the map.
void TestWorksheetDialog::noPartNoOk() {
    WorksheetDialog dialog{WorksheetOptions()};
    auto* ok = Controls::find<QPushButton>(&dialog, "OkButton");
    auto* hints = Controls::find<QCheckBox>(&dialog, "HintsOnMap");
    for (const char* part : {"AnswerSheet", "AnswerKey"})
        Controls::find<QCheckBox>(&dialog, part)->setChecked(false);
    QVERIFY(ok->isEnabled());
    Controls::find<QCheckBox>(&dialog, "MapPages")->setChecked(false);
    QVERIFY(!ok->isEnabled());
    QVERIFY(!hints->isEnabled());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.options(), WorksheetOptions());
}

void TestWorksheetDialog::enterIsOk_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("click"); // else only focused
    QTest::addColumn<WorksheetOptions>("chosen");
    WorksheetOptions noKey, shuffled, hints;
    noKey.answerKey = false;
    shuffled.numbering = WorksheetOptions::Numbering::Shuffled;
    hints.hintsOnMap = true;
    QTest::newRow("part ticked off") << QStringLiteral("AnswerKey") << true << noKey;
    QTest::newRow("numbering chosen") << QStringLiteral("Shuffled") << true << shuffled;
    QTest::newRow("hints ticked") << QStringLiteral("HintsOnMap") << true << hints;
    QTest::newRow("cancel focused")
        << QStringLiteral("CancelButton") << false << WorksheetOptions();
}

// A click moves the focus to the control; Enter still accepts with what was chosen.
void TestWorksheetDialog::enterIsOk() {
    QFETCH(QString, control);
    QFETCH(bool, click);
    QFETCH(WorksheetOptions, chosen);
    WorksheetDialog dialog{WorksheetOptions()};
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* widget = Controls::find<QAbstractButton>(&dialog, control);
    if (click) // on the indicator: a button in a layout may be wider than its text
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    else
        widget->setFocus();
    QCOMPARE(dialog.focusWidget(), widget);
    QTest::keyClick(widget, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.options(), chosen);
}

QTEST_MAIN(TestWorksheetDialog)
#include "tst_worksheetdialog.moc"
