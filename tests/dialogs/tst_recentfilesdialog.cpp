#include "app/Module1.h"
#include "data/RecentFiles.h"
#include "dialogs/Form4.h"

#include "TestFiles.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using TestFiles::u8;

namespace {

enum class Action { OpenButton, CancelButton, EnterKey, EscKey, DoubleClick, FrameClose };

const QString kPreviousTag = QStringLiteral("previous tag");

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestForm4 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout();
    void listShowsEntriesUnselected();
    void actions_data();
    void actions();
    void keyboardSelectionThenEnterIsTheOpenButton();
    void frameCloseKeepsTheDialog();
    void modalDisplayEndsWithTheChoice();
    void modalDisplayEndsOnFrameClose();

private:
    void showDialog();

    RecentFiles m_recent;
    QString m_tag;
    std::unique_ptr<Form4> m_dialog;
};

void TestForm4::init() {
    Module1::StartupOption = QStringLiteral("Dialog");
    m_recent = RecentFiles();
    for (const char* path : {"/maps/日本.zvm", "/maps/a,b.zvm", "/maps/Europe.zvm"})
        m_recent.append(QString::fromUtf8(path));
    m_tag = kPreviousTag;
    m_dialog = std::make_unique<Form4>(m_recent, m_tag);
}

void TestForm4::cleanup() {
    m_dialog.reset();
}

void TestForm4::showDialog() {
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestForm4::layout() {
    Form4& d = *m_dialog;
    QCOMPARE(d.windowTitle(), u8("最近使ったﾌｧｲﾙ"));
    // 5,760 x 2,115 twips at 15 twips a pixel, and fixed.
    QCOMPARE(d.minimumSize(), QSize(384, 141));
    QCOMPARE(d.maximumSize(), QSize(384, 141));
    QVERIFY(!(d.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowMaximizeButtonHint));

    QCOMPARE(d.findChild<QListWidget*>(QStringLiteral("List1")), d.List1);
    QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("Command1_0")), d.Command1[0]);
    QCOMPARE(d.findChild<QPushButton*>(QStringLiteral("Command1_1")), d.Command1[1]);
    QCOMPARE(d.findChild<QCheckBox*>(QStringLiteral("Check1")), d.Check1);

    QCOMPARE(d.List1->geometry(), QRect(8, 8, 297, 100));
    QCOMPARE(d.Command1[0]->geometry(), QRect(312, 24, 65, 25));
    QCOMPARE(d.Command1[1]->geometry(), QRect(312, 64, 65, 25));
    QCOMPARE(d.Check1->geometry(), QRect(8, 120, 369, 17));

    QCOMPARE(d.Command1[0]->text(), u8("開く(&O)"));
    QCOMPARE(d.Command1[1]->text(), u8("ｷｬﾝｾﾙ(&C)"));
    QCOMPARE(d.Check1->text(), u8("次回からこのﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示しない(&U)"));
    QVERIFY(d.Command1[0]->isDefault());
    QVERIFY(!d.Command1[1]->isDefault());
    QVERIFY(!d.Check1->isChecked());
    QVERIFY(!d.List1->isSortingEnabled());

    // Tab walks List1, Command1 (0), Command1 (1), Check1 and back.
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.focusWidget(), d.List1);
    const QList<QWidget*> order{d.Command1[0], d.Command1[1], d.Check1, d.List1};
    for (QWidget* next : order) {
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QCOMPARE(d.focusWidget(), next);
    }
}

void TestForm4::listShowsEntriesUnselected() {
    showDialog();
    QCOMPARE(itemTexts(m_dialog->List1), m_recent.entries());
    QVERIFY(m_dialog->List1->selectedItems().isEmpty());

    // Hidden, then shown again after a load put a new file first: the list follows.
    m_dialog->List1->setCurrentRow(1);
    m_dialog->Command1_Click(1);
    QVERIFY(!m_dialog->isVisible());
    m_recent.add(u8("/maps/新しい.zvm"));
    showDialog();
    QCOMPARE(itemTexts(m_dialog->List1).first(), u8("/maps/新しい.zvm"));
    QCOMPARE(itemTexts(m_dialog->List1), m_recent.entries());
    QVERIFY(m_dialog->List1->selectedItems().isEmpty());
}

void TestForm4::actions_data() {
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("row"); // selected first, -1 for none
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<int>("chosenRow"); // whose text becomes the Tag, -1 for unchanged
    QTest::addColumn<QString>("option");

    const QString dialog = QStringLiteral("Dialog");
    const QString manual = QStringLiteral("Manual");
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

void TestForm4::actions() {
    QFETCH(bool, checked);
    QFETCH(int, row);
    QFETCH(Action, action);
    QFETCH(bool, staysOpen);
    QFETCH(int, chosenRow);
    QFETCH(QString, option);

    showDialog();
    Form4& d = *m_dialog;
    if (checked)
        QTest::mouseClick(d.Check1, Qt::LeftButton, {}, QPoint(5, d.Check1->height() / 2));
    QCOMPARE(d.Check1->isChecked(), checked);
    if (row >= 0)
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, {},
                          d.List1->visualItemRect(d.List1->item(row)).center());
    QCOMPARE(d.List1->selectedItems().size(), row >= 0 ? 1 : 0);
    // Checking the box alone changes nothing yet.
    QCOMPARE(Module1::StartupOption, QStringLiteral("Dialog"));

    switch (action) {
    case Action::OpenButton:
        QTest::mouseClick(d.Command1[0], Qt::LeftButton);
        break;
    case Action::CancelButton:
        QTest::mouseClick(d.Command1[1], Qt::LeftButton);
        break;
    case Action::EnterKey:
        // Typed into the list, which leaves Enter to the dialog's default button.
        QTest::keyClick(d.List1, Qt::Key_Return);
        break;
    case Action::EscKey:
        QTest::keyClick(d.List1, Qt::Key_Escape);
        break;
    case Action::DoubleClick:
        QTest::mouseDClick(d.List1->viewport(), Qt::LeftButton, {},
                           d.List1->visualItemRect(d.List1->item(row)).center());
        break;
    case Action::FrameClose:
        QVERIFY(d.close());
        break;
    }

    QCOMPARE(d.isVisible(), staysOpen);
    QCOMPARE(m_tag, chosenRow >= 0 ? m_recent.entries().at(chosenRow) : kPreviousTag);
    QCOMPARE(Module1::StartupOption, option);
    // The dialog never changes the list it shows.
    QCOMPARE(m_recent.count(), 3);
}

void TestForm4::keyboardSelectionThenEnterIsTheOpenButton() {
    showDialog();
    Form4& d = *m_dialog;
    d.Check1->setChecked(true);
    d.List1->setFocus();
    QTest::keyClick(d.List1, Qt::Key_Down);
    QTest::keyClick(d.List1, Qt::Key_Down);
    QCOMPARE(d.List1->selectedItems().size(), 1);
    const QString selected = d.List1->selectedItems().first()->text();

    QTest::keyClick(d.List1, Qt::Key_Enter);
    QVERIFY(!d.isVisible());
    QCOMPARE(m_tag, selected);
    // Unlike a double-click, Enter is the Open button, so the box counts.
    QCOMPARE(Module1::StartupOption, QStringLiteral("Manual"));
}

void TestForm4::frameCloseKeepsTheDialog() {
    QWidget owner;
    QPointer<Form4> dialog = new Form4(m_recent, m_tag, &owner);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.data()));
    QVERIFY(dialog->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dialog.isNull());
    QVERIFY(!dialog->isVisible());

    // It can still be shown, with the whole list.
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.data()));
    QCOMPARE(itemTexts(dialog->List1), m_recent.entries());
}

void TestForm4::modalDisplayEndsWithTheChoice() {
    Form4& d = *m_dialog;
    bool wasModal = false;
    QTimer::singleShot(0, &d, [&] {
        wasModal = d.isModal() && d.isVisible();
        d.List1->setCurrentRow(2);
        QTest::mouseClick(d.Command1[0], Qt::LeftButton);
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.QDialog::done(-1); });
    watchdog.start(5000);
    const int result = d.exec();
    QVERIFY(result != -1);
    QVERIFY(wasModal);
    QCOMPARE(m_tag, m_recent.entries().at(2));
}

void TestForm4::modalDisplayEndsOnFrameClose() {
    Form4& d = *m_dialog;
    QTimer::singleShot(0, &d, [&] {
        d.Check1->setChecked(true);
        d.close();
    });
    QTimer watchdog;
    watchdog.callOnTimeout(&d, [&] { d.QDialog::done(-1); });
    watchdog.start(5000);
    QVERIFY(d.exec() != -1);
    QCOMPARE(m_tag, kPreviousTag);
    QCOMPARE(Module1::StartupOption, QStringLiteral("Manual"));
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
