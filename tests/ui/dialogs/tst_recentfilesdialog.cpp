#include "ui/dialogs/RecentFilesDialog.h"

#include "Controls.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using TestFiles::u8;

namespace {

enum class Action { OpenButton, CancelButton, EnterKey, EscKey, DoubleClick, FrameClose };

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestRecentFilesDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout();
    void listShowsEntriesUnselected();
    void actions_data();
    void actions();
    void keyboardSelectionThenEnterIsTheOpenButton();
    void modalDisplayEndsWithTheChoice();
    void modalDisplayEndsOnFrameClose();

private:
    void showDialog();
    QListWidget* list() const { return Controls::find<QListWidget>(m_dialog.get(), "List1"); }
    QCheckBox* check() const { return Controls::find<QCheckBox>(m_dialog.get(), "Check1"); }
    QPushButton* button(int index) const {
        return Controls::find<QPushButton>(m_dialog.get(),
                                           QStringLiteral("Command1_%1").arg(index));
    }

    const QStringList m_entries{u8("/maps/日本.zvm"), u8("/maps/a,b.zvm"), u8("/maps/Europe.zvm")};
    std::unique_ptr<RecentFilesDialog> m_dialog;
};

void TestRecentFilesDialog::init() {
    m_dialog = std::make_unique<RecentFilesDialog>(m_entries, StartupOption::Dialog);
}

void TestRecentFilesDialog::cleanup() {
    m_dialog.reset();
}

void TestRecentFilesDialog::showDialog() {
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestRecentFilesDialog::layout() {
    RecentFilesDialog& d = *m_dialog;
    QCOMPARE(d.windowTitle(), u8("最近使ったﾌｧｲﾙ"));
    // 5,760 x 2,115 twips at 15 twips a pixel, and fixed.
    QCOMPARE(d.minimumSize(), QSize(384, 141));
    QCOMPARE(d.maximumSize(), QSize(384, 141));
    QVERIFY(!(d.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowMaximizeButtonHint));

    QCOMPARE(list()->geometry(), QRect(8, 8, 297, 100));
    QCOMPARE(button(0)->geometry(), QRect(312, 24, 65, 25));
    QCOMPARE(button(1)->geometry(), QRect(312, 64, 65, 25));
    QCOMPARE(check()->geometry(), QRect(8, 120, 369, 17));

    QCOMPARE(button(0)->text(), u8("開く(&O)"));
    QCOMPARE(button(1)->text(), u8("ｷｬﾝｾﾙ(&C)"));
    QCOMPARE(check()->text(), u8("次回からこのﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示しない(&U)"));
    QVERIFY(button(0)->isDefault());
    QVERIFY(!button(1)->isDefault());
    QVERIFY(!check()->isChecked());
    QVERIFY(!list()->isSortingEnabled());

    // Tab walks List1, Command1 (0), Command1 (1), Check1 and back.
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.focusWidget(), list());
    const QList<QWidget*> order{button(0), button(1), check(), list()};
    for (QWidget* next : order) {
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), next);
    }
}

void TestRecentFilesDialog::listShowsEntriesUnselected() {
    showDialog();
    QCOMPARE(itemTexts(list()), m_entries);
    QVERIFY(list()->selectedItems().isEmpty());
}

void TestRecentFilesDialog::actions_data() {
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("row"); // selected first, -1 for none
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<int>("chosenRow"); // whose text is the chosen path, -1 for none
    QTest::addColumn<StartupOption>("option");

    const StartupOption dialog = StartupOption::Dialog;
    const StartupOption manual = StartupOption::Manual;
    // clang-format off
    QTest::newRow("Enter without selection")  << false << -1 << Action::EnterKey     << true  << -1 << dialog;
    QTest::newRow("Open without selection")   << false << -1 << Action::OpenButton   << true  << -1 << dialog;
    QTest::newRow("Esc")                      << false << -1 << Action::EscKey       << false << -1 << dialog;
    QTest::newRow("Esc with selection")       << false <<  1 << Action::EscKey       << false << -1 << dialog;
    QTest::newRow("Cancel with selection")    << false <<  2 << Action::CancelButton << false << -1 << dialog;
    QTest::newRow("Enter with selection")     << false <<  1 << Action::EnterKey     << false <<  1 << dialog;
    QTest::newRow("Open with selection")      << false <<  2 << Action::OpenButton   << false <<  2 << dialog;
    QTest::newRow("double-click")             << false <<  0 << Action::DoubleClick  << false <<  0 << dialog;
    QTest::newRow("frame close")              << false <<  1 << Action::FrameClose   << false << -1 << dialog;
    QTest::newRow("check, Cancel")            << true  << -1 << Action::CancelButton << false << -1 << manual;
    QTest::newRow("check, Esc")               << true  << -1 << Action::EscKey       << false << -1 << manual;
    QTest::newRow("check, frame close")       << true  <<  0 << Action::FrameClose   << false << -1 << manual;
    QTest::newRow("check, double-click")      << true  <<  1 << Action::DoubleClick  << false <<  1 << dialog;
    QTest::newRow("check, Open, no selection")<< true  << -1 << Action::OpenButton   << true  << -1 << manual;
    QTest::newRow("check, Enter, no selection")<< true << -1 << Action::EnterKey     << true  << -1 << manual;
    QTest::newRow("check, Open with selection")<< true <<  2 << Action::OpenButton   << false <<  2 << manual;
    // clang-format on
}

void TestRecentFilesDialog::actions() {
    QFETCH(bool, checked);
    QFETCH(int, row);
    QFETCH(Action, action);
    QFETCH(bool, staysOpen);
    QFETCH(int, chosenRow);
    QFETCH(StartupOption, option);

    showDialog();
    RecentFilesDialog& d = *m_dialog;
    if (checked)
        QTest::mouseClick(check(), Qt::LeftButton, {}, QPoint(5, check()->height() / 2));
    QCOMPARE(check()->isChecked(), checked);
    if (row >= 0)
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
    QCOMPARE(list()->selectedItems().size(), row >= 0 ? 1 : 0);
    // Checking the box alone changes nothing yet.
    QCOMPARE(d.startupOption(), StartupOption::Dialog);

    switch (action) {
    case Action::OpenButton:
        QTest::mouseClick(button(0), Qt::LeftButton);
        break;
    case Action::CancelButton:
        QTest::mouseClick(button(1), Qt::LeftButton);
        break;
    case Action::EnterKey:
        // Typed into the list, which leaves Enter to the dialog's default button.
        QTest::keyClick(list(), Qt::Key_Return);
        break;
    case Action::EscKey:
        QTest::keyClick(list(), Qt::Key_Escape);
        break;
    case Action::DoubleClick:
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {},
                           list()->visualItemRect(list()->item(row)).center());
        break;
    case Action::FrameClose:
        QVERIFY(d.close());
        break;
    }

    QCOMPARE(d.isVisible(), staysOpen);
    QCOMPARE(d.chosenPath(), chosenRow >= 0 ? m_entries.at(chosenRow) : QString());
    QCOMPARE(d.startupOption(), option);
}

void TestRecentFilesDialog::keyboardSelectionThenEnterIsTheOpenButton() {
    showDialog();
    RecentFilesDialog& d = *m_dialog;
    check()->setChecked(true);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Down);
    QCOMPARE(list()->selectedItems().size(), 1);
    const QString selected = list()->selectedItems().first()->text();

    QTest::keyClick(list(), Qt::Key_Enter);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.chosenPath(), selected);
    // Unlike a double-click, Enter is the Open button, so the box counts.
    QCOMPARE(d.startupOption(), StartupOption::Manual);
}

void TestRecentFilesDialog::modalDisplayEndsWithTheChoice() {
    RecentFilesDialog& d = *m_dialog;
    bool wasModal = false;
    QTimer::singleShot(0, &d, [&] {
        wasModal = d.isModal() && d.isVisible();
        list()->setCurrentRow(2);
        QTest::mouseClick(button(0), Qt::LeftButton);
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.QDialog::done(-1); });
    watchdog.start(5000);
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QVERIFY(wasModal);
    QCOMPARE(d.chosenPath(), m_entries.at(2));
}

void TestRecentFilesDialog::modalDisplayEndsOnFrameClose() {
    RecentFilesDialog& d = *m_dialog;
    QTimer::singleShot(0, &d, [&] {
        check()->setChecked(true);
        d.close();
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.QDialog::done(-1); });
    watchdog.start(5000);
    QCOMPARE(d.exec(), int(QDialog::Rejected));
    QCOMPARE(d.chosenPath(), QString());
    QCOMPARE(d.startupOption(), StartupOption::Manual);
}

QTEST_MAIN(TestRecentFilesDialog)
#include "tst_recentfilesdialog.moc"
