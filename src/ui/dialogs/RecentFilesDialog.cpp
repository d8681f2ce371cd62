#include "ui/dialogs/RecentFilesDialog.h"

#include "core/platform/Twips.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

RecentFilesDialog::RecentFilesDialog(const QStringList& entries, StartupOption startupOption,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_startupOption(startupOption) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("最近使ったﾌｧｲﾙ"));
    setFixedSize(Twips::rect(0, 0, 5760, 2115).size());

    // Controls are created in tab order.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setGeometry(Twips::rect(120, 120, 4455, 1500));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->addItems(entries);

    auto* open = new QPushButton(QStringLiteral("開く(&O)"), this);
    open->setObjectName(QStringLiteral("Command1_0"));
    open->setGeometry(Twips::rect(4680, 360, 975, 375));
    open->setDefault(true);
    connect(open, &QPushButton::clicked, this, [this] { buttonPressed(true); });
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), this);
    cancel->setObjectName(QStringLiteral("Command1_1"));
    cancel->setGeometry(Twips::rect(4680, 960, 975, 375));
    connect(cancel, &QPushButton::clicked, this, [this] { buttonPressed(false); });

    m_dontShowAgain =
        new QCheckBox(QStringLiteral("次回からこのﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示しない(&U)"), this);
    m_dontShowAgain->setObjectName(QStringLiteral("Check1"));
    m_dontShowAgain->setGeometry(Twips::rect(120, 1800, 5535, 255));

    // A double-click only: "activated" also fires on Enter and, in some styles, on one click,
    // and Enter belongs to the default button.
    connect(m_list, &QListWidget::itemDoubleClicked, this, &RecentFilesDialog::openSelected);
}

void RecentFilesDialog::showEvent(QShowEvent* event) {
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();
    m_list->setFocus();
    // Centred on the screen of the window that shows it.
    if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void RecentFilesDialog::buttonPressed(bool open) {
    if (open)
        openSelected();
    else
        QDialog::reject();
    if (m_dontShowAgain->isChecked())
        m_startupOption = StartupOption::Manual;
}

void RecentFilesDialog::reject() {
    // Esc and the frame's close button act as the cancel button, check box included.
    buttonPressed(false);
}

void RecentFilesDialog::openSelected() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return; // the dialog stays open
    m_chosenPath = selected.first()->text();
    accept();
}
