// The worksheet's options dialog: values in, values out after exec(), and no worksheet of
// nothing.
#include "dialogs/WorksheetDialog.h"

#include "Controls.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestWorksheetDialog : public QObject {
    Q_OBJECT
private slots:
    void valuesInAndOut_data();
    void valuesInAndOut();
    void noPartNoOk();
};

void TestWorksheetDialog::valuesInAndOut_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("OK") << true;
    QTest::newRow("cancel") << false;
}

void TestWorksheetDialog::valuesInAndOut() {
    QFETCH(bool, accept);
    WorksheetOptions in;
    in.answerSheet = false;
    in.numbering = WorksheetOptions::Numbering::Shuffled;
    WorksheetDialog dialog(in);
    QVERIFY(!Controls::find<QCheckBox>(&dialog, "AnswerSheet")->isChecked());
    QVERIFY(Controls::find<QRadioButton>(&dialog, "Shuffled")->isChecked());

    Controls::find<QCheckBox>(&dialog, "AnswerKey")->setChecked(false);
    Controls::find<QRadioButton>(&dialog, "FileOrder")->setChecked(true);
    Controls::find<QCheckBox>(&dialog, "HintsOnMap")->setChecked(true);
    WorksheetOptions out = in;
    if (accept) {
        out.answerKey = false;
        out.numbering = WorksheetOptions::Numbering::FileOrder;
        out.hintsOnMap = true;
        dialog.accept();
    } else {
        dialog.reject();
    }
    QCOMPARE(dialog.options(), out);
}

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

QTEST_MAIN(TestWorksheetDialog)
#include "tst_worksheetdialog.moc"
