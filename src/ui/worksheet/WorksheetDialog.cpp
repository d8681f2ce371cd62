#include "ui/worksheet/WorksheetDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <class Button>
Button* addButton(QLayout* layout, const char* name, const QString& caption, bool checked) {
    auto* button = new Button(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setChecked(checked);
    layout->addWidget(button);
    return button;
}

} // namespace

WorksheetDialog::WorksheetDialog(const WorksheetOptions& options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_options(options) {
    setObjectName(QStringLiteral("WorksheetDialog"));
    setWindowTitle(QStringLiteral("印刷する内容"));

    auto* parts = new QGroupBox(QStringLiteral("印刷する部分"));
    auto* partsLayout = new QVBoxLayout(parts);
    m_map = addButton<QCheckBox>(partsLayout, "MapPages", QStringLiteral("地図 (番号付きの円)(&M)"),
                                 options.mapPages);
    m_sheet = addButton<QCheckBox>(partsLayout, "AnswerSheet",
                                   QStringLiteral("解答用紙 (番号・ﾋﾝﾄ・記入欄)(&S)"),
                                   options.answerSheet);
    m_key =
        addButton<QCheckBox>(partsLayout, "AnswerKey",
                             QStringLiteral("解答 (答え1・答え2・情報)(&K)"), options.answerKey);

    auto* numbering = new QGroupBox(QStringLiteral("番号の付け方"));
    auto* numberingLayout = new QVBoxLayout(numbering);
    const bool shuffled = options.numbering == WorksheetOptions::Numbering::Shuffled;
    m_fileOrder = addButton<QRadioButton>(numberingLayout, "FileOrder",
                                          QStringLiteral("ﾌｧｲﾙの順(&F)"), !shuffled);
    m_shuffled =
        addButton<QRadioButton>(numberingLayout, "Shuffled", QStringLiteral("ﾗﾝﾀﾞﾑ(&R)"), shuffled);

    auto* buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    // Enter is "&OK" wherever the focus is: a button that takes the focus never becomes the
    // default, and the focus leaves "&OK" as soon as an option is clicked.
    for (QPushButton* button : {m_ok, cancel})
        button->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parts);
    layout->addWidget(numbering);
    m_hints = addButton<QCheckBox>(layout, "HintsOnMap",
                                   QStringLiteral("地図の番号の横にﾋﾝﾄを表示する(&H)"),
                                   options.hintsOnMap);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Only once it is in the dialog does the button become the dialog's own default.
    m_ok->setDefault(true);

    for (QCheckBox* part : {m_map, m_sheet, m_key})
        connect(part, &QCheckBox::toggled, this, &WorksheetDialog::updateButtons);
    updateButtons();
    m_ok->setFocus();
}

WorksheetOptions WorksheetDialog::chosen() const {
    WorksheetOptions options;
    options.mapPages = m_map->isChecked();
    options.answerSheet = m_sheet->isChecked();
    options.answerKey = m_key->isChecked();
    options.numbering = m_shuffled->isChecked() ? WorksheetOptions::Numbering::Shuffled
                                                : WorksheetOptions::Numbering::FileOrder;
    options.hintsOnMap = m_hints->isChecked();
    return options;
}

void WorksheetDialog::updateButtons() {
    // Hints belong to the map; a worksheet of no part is nothing to print.
    m_hints->setEnabled(m_map->isChecked());
    m_ok->setEnabled(chosen().hasAnyPart());
}

void WorksheetDialog::accept() {
    if (!chosen().hasAnyPart())
        return;
    m_options = chosen();
    QDialog::accept();
}
