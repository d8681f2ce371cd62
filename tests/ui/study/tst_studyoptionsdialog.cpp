#include "ui/study/StudyOptionsDialog.h"

#include "Controls.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using TestFiles::u8;

Q_DECLARE_METATYPE(StudyOptions)

class TestStudyOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void choices_data();
    void choices();
};

void TestStudyOptionsDialog::choices_data() {
    QTest::addColumn<StudyOptions>("given");
    QTest::addColumn<QString>("button"); // the closing button's objectName
    QTest::addColumn<bool>("changed");

    QTest::newRow("the defaults, all changed, OK") << StudyOptions() << "StudyOk" << true;
    QTest::newRow("flags off, at the ranges' ends, all changed, OK")
        << StudyOptions{false, false, 97, 0} << "StudyOk" << true;
    QTest::newRow("one of each, all changed, Cancel")
        << StudyOptions{true, false, 70, 5} << "StudyCancel" << false;
}

void TestStudyOptionsDialog::choices() {
    QFETCH(StudyOptions, given);
    QFETCH(QString, button);
    QFETCH(bool, changed);

    StudyOptionsDialog d(given);
    QCOMPARE(d.windowTitle(), u8("学習の設定"));
    auto* record = Controls::find<QCheckBox>(&d, QStringLiteral("StudyRecording"));
    auto* review = Controls::find<QCheckBox>(&d, QStringLiteral("StudyReviewOpens"));
    auto* retention = Controls::find<QSpinBox>(&d, QStringLiteral("StudyRetention"));
    auto* newPerDay = Controls::find<QSpinBox>(&d, QStringLiteral("StudyNewPerDay"));
    QCOMPARE(record->isChecked(), given.recording);
    QCOMPARE(review->isChecked(), given.reviewOpens);
    QCOMPARE(retention->value(), given.retentionPercent);
    QCOMPARE(newPerDay->value(), given.newPerDay);

    // Emptying the record is asked for at once, whatever the dialog's outcome, and the dialog
    // stays open.
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QSignalSpy clear(&d, &StudyOptionsDialog::clearRequested);
    Controls::find<QPushButton>(&d, QStringLiteral("StudyClear"))->click();
    QCOMPARE(clear.size(), 1);
    QVERIFY(d.isVisible());
    const StudyOptions other{!given.recording, !given.reviewOpens, 80, 12};
    record->setChecked(other.recording);
    review->setChecked(other.reviewOpens);
    retention->setValue(other.retentionPercent);
    newPerDay->setValue(other.newPerDay);
    QVERIFY(d.options() == given); // nothing until OK
    Controls::find<QPushButton>(&d, button)->click();
    QVERIFY(d.options() == (changed ? other : given));
    QVERIFY(!d.isVisible());
}

QTEST_MAIN(TestStudyOptionsDialog)
#include "tst_studyoptionsdialog.moc"
