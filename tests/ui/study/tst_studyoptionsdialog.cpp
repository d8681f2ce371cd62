#include "ui/study/StudyOptionsDialog.h"

#include "Controls.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using TestFiles::u8;

class TestStudyOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void choices_data();
    void choices();
};

void TestStudyOptionsDialog::choices_data() {
    QTest::addColumn<bool>("recording");
    QTest::addColumn<bool>("reviewOpens");
    QTest::addColumn<QString>("button"); // the closing button's objectName
    QTest::addColumn<bool>("changed");

    QTest::newRow("both on, turned off, OK") << true << true << "StudyOk" << true;
    QTest::newRow("both off, turned on, OK") << false << false << "StudyOk" << true;
    QTest::newRow("one of each, turned over, Cancel") << true << false << "StudyCancel" << false;
}

void TestStudyOptionsDialog::choices() {
    QFETCH(bool, recording);
    QFETCH(bool, reviewOpens);
    QFETCH(QString, button);
    QFETCH(bool, changed);

    StudyOptionsDialog d(StudyOptions{recording, reviewOpens});
    QCOMPARE(d.windowTitle(), u8("学習の設定"));
    auto* record = Controls::find<QCheckBox>(&d, QStringLiteral("StudyRecording"));
    auto* review = Controls::find<QCheckBox>(&d, QStringLiteral("StudyReviewOpens"));
    QCOMPARE(record->isChecked(), recording);
    QCOMPARE(review->isChecked(), reviewOpens);

    // Emptying the record is asked for at once, whatever the dialog's outcome, and the dialog
    // stays open.
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QSignalSpy clear(&d, &StudyOptionsDialog::clearRequested);
    Controls::find<QPushButton>(&d, QStringLiteral("StudyClear"))->click();
    QCOMPARE(clear.size(), 1);
    QVERIFY(d.isVisible());
    record->setChecked(!recording);
    review->setChecked(!reviewOpens);
    QCOMPARE(d.options(), (StudyOptions{recording, reviewOpens})); // nothing until OK
    Controls::find<QPushButton>(&d, button)->click();
    const StudyOptions expected =
        changed ? StudyOptions{!recording, !reviewOpens} : StudyOptions{recording, reviewOpens};
    QCOMPARE(d.options(), expected);
    QVERIFY(!d.isVisible());
}

QTEST_MAIN(TestStudyOptionsDialog)
#include "tst_studyoptionsdialog.moc"
