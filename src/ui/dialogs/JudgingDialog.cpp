#include "ui/dialogs/JudgingDialog.h"

#include "core/platform/Twips.h"

#include <QCheckBox>
#include <QPushButton>

JudgingDialog::JudgingDialog(const JudgingOptions& options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_options(options) {
    setObjectName(QStringLiteral("JudgingDialog"));
    setWindowTitle(QStringLiteral("判定の設定"));
    setFixedSize(Twips::rect(0, 0, 4500, 1815).size());

    // Created in tab order: the boxes, then the buttons.
    const std::array<bool, 3> values{options.ignoreWidth, options.ignoreKana, options.ignoreSpaces};
    const std::array<QString, 3> captions{QStringLiteral("全角と半角を区別しない(&W)"),
                                          QStringLiteral("ひらがなとカタカナを区別しない(&K)"),
                                          QStringLiteral("空白を無視する(&S)")};
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        auto* box = new QCheckBox(captions[i], this);
        box->setObjectName(QStringLiteral("Check1_%1").arg(i));
        box->setGeometry(Twips::rect(120, 120 + 360 * int(i), 4260, 255));
        box->setChecked(values[i]);
        m_boxes[i] = box;
    }

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1_0"));
    ok->setGeometry(Twips::rect(1035, 1320, 1575, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), this);
    cancel->setObjectName(QStringLiteral("Command1_1"));
    cancel->setGeometry(Twips::rect(2715, 1320, 1575, 375));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ok->setFocus();
}

void JudgingDialog::accept() {
    m_options = {m_boxes[0]->isChecked(), m_boxes[1]->isChecked(), m_boxes[2]->isChecked()};
    QDialog::accept();
}
