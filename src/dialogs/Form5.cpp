#include "dialogs/Form5.h"

#include "app/Module1.h"
#include "data/SettingsFile.h"
#include "platform/Twips.h"

#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

Form5::Form5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    setFixedSize(Twips::rect(0, 0, 5145, 1815).size());

    // Created in tab order: the buttons first, then the options.
    const std::array<QString, 2> buttons{QStringLiteral("&OK"), QStringLiteral("ｷｬﾝｾﾙ(&C)")};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(buttons[i], this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setGeometry(Twips::rect(1680 + 1680 * i, 1320, 1575, 375));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    const std::array<QString, 3> captions{
        QStringLiteral("起動時に、前回使用したﾌｧｲﾙを自動的に開く(&A)"),
        QStringLiteral("起動時に、[最近使ったﾌｧｲﾙ]ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示する(&D)"),
        QStringLiteral("設定なし(&N)")};
    const std::array<QStringView, 3> tags{SettingsFile::kAuto, SettingsFile::kDialog,
                                          SettingsFile::kManual};
    for (int i = 0; i < 3; ++i) {
        // Radio buttons with one parent form one group: one selected at a time.
        Option1[i] = new QRadioButton(captions[i], this);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setProperty("Tag", tags[i].toString());
        Option1[i]->setGeometry(Twips::rect(120, 120 + 360 * i, 4815, 255));
        connect(Option1[i], &QRadioButton::toggled, this, [this] { updateTabStops(); });
    }

    Command1[0]->setDefault(true);

    Command1[0]->setFocus();

    Form_Load();
}

void Form5::Form_Load() {
    for (QRadioButton* option : Option1) {
        if (option->property("Tag").toString() == Module1::StartupOption) {
            option->setChecked(true);
            break;
        }
    }
}

void Form5::updateTabStops() {
    // Tab enters the group at its selected option; the arrow keys move within it.
    const bool anyChecked =
        std::any_of(Option1.begin(), Option1.end(), [](auto* o) { return o->isChecked(); });
    for (QRadioButton* option : Option1)
        option->setFocusPolicy(!anyChecked || option->isChecked() ? Qt::StrongFocus
                                                                  : Qt::ClickFocus);
}

void Form5::Command1_Click(int index) {
    if (index == 0) {
        for (QRadioButton* option : Option1) {
            if (option->isChecked()) {
                Module1::StartupOption = option->property("Tag").toString();
                break;
            }
        }
        accept();
    } else {
        reject();
    }
}
