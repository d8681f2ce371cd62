#include "ui/dialogs/JudgingDialog.h"

#include "Controls.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using TestFiles::u8;

namespace {

QCheckBox* box(const QDialog& d, int index) {
    return Controls::find<QCheckBox>(&d, QStringLiteral("Check1_%1").arg(index));
}

QPushButton* button(const QDialog& d, int index) {
    return Controls::find<QPushButton>(&d, QStringLiteral("Command1_%1").arg(index));
}

QList<bool> values(const JudgingDialog& d) {
    const JudgingOptions options = d.options();
    return {options.ignoreWidth, options.ignoreKana, options.ignoreSpaces};
}

} // namespace

class TestJudgingDialog : public QObject {
    Q_OBJECT

private slots:
    void valuesInAndOut_data();
    void valuesInAndOut();
};

void TestJudgingDialog::valuesInAndOut_data() {
    QTest::addColumn<QList<bool>>("start");
    QTest::addColumn<int>("toggle");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QList<bool>>("after");

    QTest::newRow("all off, width, OK")
        << QList{false, false, false} << 0 << true << QList{true, false, false};
    QTest::newRow("kana and spaces, kana off, OK")
        << QList{false, true, true} << 1 << true << QList{false, false, true};
    QTest::newRow("spaces on, Cancel")
        << QList{true, false, false} << 2 << false << QList{true, false, false};
}

void TestJudgingDialog::valuesInAndOut() {
    QFETCH(QList<bool>, start);
    QFETCH(int, toggle);
    QFETCH(bool, accept);
    QFETCH(QList<bool>, after);

    JudgingDialog d(JudgingOptions{start[0], start[1], start[2]});
    QCOMPARE(d.windowTitle(), u8("判定の設定"));
    QCOMPARE(box(d, 0)->text(), u8("全角と半角を区別しない(&W)"));
    QCOMPARE(box(d, 1)->text(), u8("ひらがなとカタカナを区別しない(&K)"));
    QCOMPARE(box(d, 2)->text(), u8("空白を無視する(&S)"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(box(d, i)->isChecked(), start[i]);

    QTimer::singleShot(0, &d, [&] {
        QTest::mouseClick(box(d, toggle), Qt::LeftButton, {},
                          QPoint(5, box(d, toggle)->height() / 2));
        // Nothing changes before the dialog is closed with OK.
        QCOMPARE(values(d), start);
        // Enter presses "&OK", the default button.
        if (accept)
            QTest::keyClick(&d, Qt::Key_Return);
        else
            QTest::mouseClick(button(d, 1), Qt::LeftButton);
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.done(-1); });
    watchdog.start(5000);
    QCOMPARE(d.exec(), int(accept ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(values(d), after);
}

QTEST_MAIN(TestJudgingDialog)
#include "tst_judgingdialog.moc"
