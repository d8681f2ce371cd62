#include "ui/dialogs/OptionsDialog.h"

#include "core/platform/Twips.h"

#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

OptionsDialog::OptionsDialog(StartupOption startupOption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_startupOption(startupOption) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    setFixedSize(Twips::rect(0, 0, 5145, 1815).size());

    // Created in tab order: the buttons first, then the options.
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1_0"));
    ok->setGeometry(Twips::rect(1680, 1320, 1575, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), this);
    cancel->setObjectName(QStringLiteral("Command1_1"));
    cancel->setGeometry(Twips::rect(3360, 1320, 1575, 375));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const std::array<QString, 3> captions{
        QStringLiteral("起動時に、前回使用したﾌｧｲﾙを自動的に開く(&A)"),
        QStringLiteral("起動時に、[最近使ったﾌｧｲﾙ]ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示する(&D)"),
        QStringLiteral("設定なし(&N)")};
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        // Radio buttons with one parent form one group: one selected at a time.
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(Twips::rect(120, 120 + 360 * int(i), 4815, 255));
        option->setChecked(kOptions[i] == startupOption);
        connect(option, &QRadioButton::toggled, this, &OptionsDialog::updateTabStops);
        m_options[i] = option;
    }
    updateTabStops();
    ok->setFocus();
}

void OptionsDialog::updateTabStops() {
    // Tab enters the group at its selected option; the arrow keys move within it.
    const bool anyChecked =
        std::any_of(m_options.begin(), m_options.end(), [](auto* o) { return o->isChecked(); });
    for (QRadioButton* option : m_options)
        option->setFocusPolicy(!anyChecked || option->isChecked() ? Qt::StrongFocus
                                                                  : Qt::ClickFocus);
}

void OptionsDialog::accept() {
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        if (m_options[i]->isChecked()) {
            m_startupOption = kOptions[i];
            break;
        }
    }
    QDialog::accept();
}
