#include "dialogs/Form4.h"

#include "app/Module1.h"
#include "data/RecentFiles.h"
#include "data/SettingsFile.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

Form4::Form4(RecentFiles& recentFiles, QString& ownerTag, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_recentFiles(recentFiles)
    , m_ownerTag(ownerTag) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("最近使ったﾌｧｲﾙ"));
    setFixedSize(Twips::rect(0, 0, 5760, 2115).size());

    // Controls are created in tab order.
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(Twips::rect(120, 120, 4455, 1500));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    const std::array<QString, 2> captions{QStringLiteral("開く(&O)"), QStringLiteral("ｷｬﾝｾﾙ(&C)")};
    const std::array<int, 2> tops{360, 960};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(captions[i], this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setGeometry(Twips::rect(4680, tops[i], 975, 375));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command1[0]->setDefault(true);

    Check1 = new QCheckBox(QStringLiteral("次回からこのﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示しない(&U)"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(Twips::rect(120, 1800, 5535, 255));

    // A double-click only: "activated" also fires on Enter and, in some styles, on one click,
    // and Enter belongs to the default button.
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
}

void Form4::showEvent(QShowEvent* event) {
    // The list is the owner's recent-files list as it stands now, nothing selected.
    List1->clear();
    List1->addItems(m_recentFiles.entries());
    List1->setCurrentItem(nullptr);
    List1->clearSelection();
    List1->setFocus();

    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void Form4::Command1_Click(int index) {
    if (index == 1)
        hideDialog(QDialog::Rejected);
    else
        OpenFile();
    if (Check1->isChecked())
        Module1::StartupOption = SettingsFile::kManual.toString();
}

void Form4::List1_DblClick() {
    OpenFile();
}

void Form4::reject() {
    Command1_Click(1);
}

void Form4::OpenFile() {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    m_ownerTag = selected.first()->text();
    hideDialog(QDialog::Accepted);
}

void Form4::hideDialog(int result) {
    // done() ends a modal display and hides the window; the dialog itself stays.
    QDialog::done(result);
}
