// The worksheet's options dialog: no worksheet of nothing. (Values in and out are tested
// through the main window's commands.)
#include "dialogs/WorksheetDialog.h"

#include "Controls.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

class TestWorksheetDialog : public QObject {
    Q_OBJECT
private slots:
    void noPartNoOk();
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

QTEST_MAIN(TestWorksheetDialog)
#include "tst_worksheetdialog.moc"
