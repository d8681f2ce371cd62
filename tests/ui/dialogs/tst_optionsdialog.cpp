#include "ui/dialogs/OptionsDialog.h"

#include "Controls.h"
#include "TestFiles.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using TestFiles::u8;

namespace {

enum class Action { OkButton, EnterKey, CancelButton, EscKey, FrameClose };

QRadioButton* optionButton(const QDialog& d, int index) {
    return Controls::find<QRadioButton>(&d, QStringLiteral("Option1_%1").arg(index));
}

QPushButton* button(const QDialog& d, int index) {
    return Controls::find<QPushButton>(&d, QStringLiteral("Command1_%1").arg(index));
}

int checkedIndex(const QDialog& d) {
    for (int i = 0; i < 3; ++i) {
        if (optionButton(d, i)->isChecked())
            return i;
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void layout();
    void opensWithTheOptionSelected_data();
    void opensWithTheOptionSelected();
    void actions_data();
    void actions();
    void modalDisplayEnds();
};

void TestOptionsDialog::layout() {
    OptionsDialog d(StartupOption::Dialog);
    QCOMPARE(d.windowTitle(), u8("ｵﾌﾟｼｮﾝ"));
    QCOMPARE(d.minimumSize(), QSize(343, 121));
    QCOMPARE(d.maximumSize(), QSize(343, 121));
    QVERIFY(!(d.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowMaximizeButtonHint));

    const QStringList captions{u8("起動時に、前回使用したﾌｧｲﾙを自動的に開く(&A)"),
                               u8("起動時に、[最近使ったﾌｧｲﾙ]ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示する(&D)"),
                               u8("設定なし(&N)")};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(optionButton(d, i)->text(), captions[i]);
        QCOMPARE(optionButton(d, i)->geometry(), QRect(8, 8 + 24 * i, 321, 17));
    }
    QCOMPARE(button(d, 0)->text(), u8("&OK"));
    QCOMPARE(button(d, 1)->text(), u8("ｷｬﾝｾﾙ(&C)"));
    QCOMPARE(button(d, 0)->geometry(), QRect(112, 88, 105, 25));
    QCOMPARE(button(d, 1)->geometry(), QRect(224, 88, 105, 25));
    QVERIFY(button(d, 0)->isDefault());

    // Focus starts on "&OK"; Tab goes to "ｷｬﾝｾﾙ(&C)", then into the options at the selected
    // one ("Dialog" here), then back; the arrow keys move within the options.
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.focusWidget(), button(d, 0));
    const QList<QWidget*> order{button(d, 1), optionButton(d, 1), button(d, 0)};
    for (QWidget* next : order) {
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), next);
    }
    QTest::keyClick(d.focusWidget(), Qt::Key_Backtab);
    QCOMPARE(d.focusWidget(), optionButton(d, 1));
    QTest::keyClick(d.focusWidget(), Qt::Key_Up);
    QCOMPARE(d.focusWidget(), optionButton(d, 0));
    QVERIFY(optionButton(d, 0)->isChecked());
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    QCOMPARE(d.focusWidget(), optionButton(d, 0));
}

void TestOptionsDialog::opensWithTheOptionSelected_data() {
    QTest::addColumn<StartupOption>("option");
    QTest::addColumn<int>("selected");
    QTest::newRow("Auto") << StartupOption::Auto << 0;
    QTest::newRow("Dialog") << StartupOption::Dialog << 1;
    QTest::newRow("Manual") << StartupOption::Manual << 2;
}

void TestOptionsDialog::opensWithTheOptionSelected() {
    QFETCH(StartupOption, option);
    QFETCH(int, selected);
    OptionsDialog d(option);
    QCOMPARE(checkedIndex(d), selected);
    QCOMPARE(d.startupOption(), option);
}

void TestOptionsDialog::actions_data() {
    QTest::addColumn<StartupOption>("start");
    QTest::addColumn<int>("choose"); // clicked before the action, -1 for none
    QTest::addColumn<Action>("action");
    QTest::addColumn<StartupOption>("option");

    const StartupOption A = StartupOption::Auto, D = StartupOption::Dialog,
                        M = StartupOption::Manual;
    // clang-format off
    QTest::newRow("Auto, OK")            << D <<  0 << Action::OkButton     << A;
    QTest::newRow("Manual, Enter")       << D <<  2 << Action::EnterKey     << M;
    QTest::newRow("Dialog, OK")          << M <<  1 << Action::OkButton     << D;
    QTest::newRow("unchanged, OK")       << A << -1 << Action::OkButton     << A;
    QTest::newRow("Auto, Cancel")        << D <<  0 << Action::CancelButton << D;
    QTest::newRow("Manual, Esc")         << A <<  2 << Action::EscKey       << A;
    QTest::newRow("Auto, frame close")   << M <<  0 << Action::FrameClose   << M;
    // clang-format on
}

void TestOptionsDialog::actions() {
    QFETCH(StartupOption, start);
    QFETCH(int, choose);
    QFETCH(Action, action);
    QFETCH(StartupOption, option);

    OptionsDialog d(start);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QWidget* focus = button(d, 0);
    if (choose >= 0) {
        QTest::mouseClick(optionButton(d, choose), Qt::LeftButton, {},
                          QPoint(5, optionButton(d, choose)->height() / 2));
        QCOMPARE(checkedIndex(d), choose);
        focus = optionButton(d, choose);
    }
    // Choosing alone changes nothing yet.
    QCOMPARE(d.startupOption(), start);

    switch (action) {
    case Action::OkButton:
        QTest::mouseClick(button(d, 0), Qt::LeftButton);
        break;
    case Action::EnterKey:
        QTest::keyClick(focus, Qt::Key_Return);
        break;
    case Action::CancelButton:
        QTest::mouseClick(button(d, 1), Qt::LeftButton);
        break;
    case Action::EscKey:
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    case Action::FrameClose:
        QVERIFY(d.close());
        break;
    }
    QVERIFY(!d.isVisible());
    QCOMPARE(d.startupOption(), option);
}

void TestOptionsDialog::modalDisplayEnds() {
    OptionsDialog d(StartupOption::Manual);
    QTimer::singleShot(0, &d, [&] {
        optionButton(d, 0)->setChecked(true);
        QTest::mouseClick(button(d, 0), Qt::LeftButton);
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.done(-1); });
    watchdog.start(5000);
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QCOMPARE(d.startupOption(), StartupOption::Auto);
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
