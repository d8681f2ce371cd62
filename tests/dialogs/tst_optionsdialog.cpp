#include "app/Module1.h"
#include "dialogs/Form5.h"

#include "TestFiles.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using TestFiles::u8;

namespace {

enum class Action { OkButton, EnterKey, CancelButton, EscKey, FrameClose };

int checkedIndex(const Form5& d) {
    for (int i = 0; i < 3; ++i) {
        if (d.Option1[i]->isChecked())
            return i;
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestForm5 : public QObject {
    Q_OBJECT

private slots:
    void init() { Module1::StartupOption = QStringLiteral("Dialog"); }

    void layout();
    void loadSelectsTheCurrentOption_data();
    void loadSelectsTheCurrentOption();
    void actions_data();
    void actions();
    void reopeningStartsFromTheOption();
    void modalDisplayEnds();
};

void TestForm5::layout() {
    Form5 d;
    QCOMPARE(d.windowTitle(), u8("ｵﾌﾟｼｮﾝ"));
    QCOMPARE(d.minimumSize(), QSize(343, 121));
    QCOMPARE(d.maximumSize(), QSize(343, 121));
    QVERIFY(!(d.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowMaximizeButtonHint));

    const QStringList captions{u8("起動時に、前回使用したﾌｧｲﾙを自動的に開く(&A)"),
                               u8("起動時に、[最近使ったﾌｧｲﾙ]ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示する(&D)"),
                               u8("設定なし(&N)")};
    const QStringList tags{u8("Auto"), u8("Dialog"), u8("Manual")};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(d.findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i)), d.Option1[i]);
        QCOMPARE(d.Option1[i]->text(), captions[i]);
        QCOMPARE(d.Option1[i]->property("Tag").toString(), tags[i]);
        QCOMPARE(d.Option1[i]->geometry(), QRect(8, 8 + 24 * i, 321, 17));
    }
    QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("Command1_0")), d.Command1[0]);
    QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("Command1_1")), d.Command1[1]);
    QCOMPARE(d.Command1[0]->text(), u8("&OK"));
    QCOMPARE(d.Command1[1]->text(), u8("ｷｬﾝｾﾙ(&C)"));
    QCOMPARE(d.Command1[0]->geometry(), QRect(112, 88, 105, 25));
    QCOMPARE(d.Command1[1]->geometry(), QRect(224, 88, 105, 25));
    QVERIFY(d.Command1[0]->isDefault());

    // Focus starts on "&OK"; Tab goes to "ｷｬﾝｾﾙ(&C)", then into the options at the selected
    // one ("Dialog" here), then back; the arrow keys move within the options.
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.focusWidget(), d.Command1[0]);
    const QList<QWidget*> order{d.Command1[1], d.Option1[1], d.Command1[0]};
    for (QWidget* next : order) {
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), next);
    }
    QTest::keyClick(d.focusWidget(), Qt::Key_Backtab);
    QCOMPARE(d.focusWidget(), d.Option1[1]);
    QTest::keyClick(d.focusWidget(), Qt::Key_Up);
    QCOMPARE(d.focusWidget(), d.Option1[0]);
    QVERIFY(d.Option1[0]->isChecked());
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    QCOMPARE(d.focusWidget(), d.Option1[0]);
}

void TestForm5::loadSelectsTheCurrentOption_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("selected");
    QTest::newRow("Auto") << "Auto" << 0;
    QTest::newRow("Dialog") << "Dialog" << 1;
    QTest::newRow("Manual") << "Manual" << 2;
    // Exact comparison: a text in another case selects nothing.
    QTest::newRow("auto") << "auto" << -1;
}

void TestForm5::loadSelectsTheCurrentOption() {
    QFETCH(QString, option);
    QFETCH(int, selected);
    Module1::StartupOption = option;
    Form5 d;
    QCOMPARE(checkedIndex(d), selected);
}

void TestForm5::actions_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("choose"); // clicked before the action, -1 for none
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("option");

    // clang-format off
    QTest::newRow("Auto, OK")            << "Dialog" <<  0 << Action::OkButton     << "Auto";
    QTest::newRow("Manual, Enter")       << "Dialog" <<  2 << Action::EnterKey     << "Manual";
    QTest::newRow("Dialog, OK")          << "Manual" <<  1 << Action::OkButton     << "Dialog";
    QTest::newRow("unchanged, OK")       << "Auto"   << -1 << Action::OkButton     << "Auto";
    QTest::newRow("Auto, Cancel")        << "Dialog" <<  0 << Action::CancelButton << "Dialog";
    QTest::newRow("Manual, Esc")         << "Auto"   <<  2 << Action::EscKey       << "Auto";
    QTest::newRow("Auto, frame close")   << "Manual" <<  0 << Action::FrameClose   << "Manual";
    QTest::newRow("unknown kept on OK without a choice") << "auto" << -1 << Action::OkButton << "auto";
    // clang-format on
}

void TestForm5::actions() {
    QFETCH(QString, start);
    QFETCH(int, choose);
    QFETCH(Action, action);
    QFETCH(QString, option);

    Module1::StartupOption = start;
    Form5 d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QWidget* focus = d.Command1[0];
    if (choose >= 0) {
        QTest::mouseClick(d.Option1[choose], Qt::LeftButton, {},
                          QPoint(5, d.Option1[choose]->height() / 2));
        QCOMPARE(checkedIndex(d), choose);
        focus = d.Option1[choose];
    }
    // Choosing alone changes nothing yet.
    QCOMPARE(Module1::StartupOption, start);

    switch (action) {
    case Action::OkButton:
        QTest::mouseClick(d.Command1[0], Qt::LeftButton);
        break;
    case Action::EnterKey:
        QTest::keyClick(focus, Qt::Key_Return);
        break;
    case Action::CancelButton:
        QTest::mouseClick(d.Command1[1], Qt::LeftButton);
        break;
    case Action::EscKey:
        QTest::keyClick(focus, Qt::Key_Escape);
        break;
    case Action::FrameClose:
        QVERIFY(d.close());
        break;
    }
    QVERIFY(!d.isVisible());
    QCOMPARE(Module1::StartupOption, option);
}

void TestForm5::reopeningStartsFromTheOption() {
    Module1::StartupOption = QStringLiteral("Manual");
    {
        Form5 first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        QTest::mouseClick(first.Option1[0], Qt::LeftButton, {}, QPoint(5, 8));
        QTest::mouseClick(first.Command1[1], Qt::LeftButton);
    }
    Form5 second;
    QCOMPARE(checkedIndex(second), 2);
}

void TestForm5::modalDisplayEnds() {
    Form5 d;
    QTimer::singleShot(0, &d, [&] {
        d.Option1[0]->setChecked(true);
        QTest::mouseClick(d.Command1[0], Qt::LeftButton);
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.done(-1); });
    watchdog.start(5000);
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QCOMPARE(Module1::StartupOption, QStringLiteral("Auto"));
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
