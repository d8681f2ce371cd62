#include "ui/study/StudyOptionsDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* addNumber(QFormLayout* form, const char* name, const QString& caption, int low, int high,
                    int value, const QString& suffix) {
    auto* box = new QSpinBox(form->parentWidget());
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    box->setSuffix(suffix);
    form->addRow(caption, box);
    return box;
}

} // namespace

StudyOptionsDialog::StudyOptionsDialog(const StudyOptions& options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_options(options) {
    setObjectName(QStringLiteral("StudyOptionsDialog"));
    setWindowTitle(QStringLiteral("学習の設定"));

    m_recording = new QCheckBox(QStringLiteral("解答を学習記録に残す(&R)"), this);
    m_recording->setObjectName(QStringLiteral("StudyRecording"));
    m_recording->setChecked(options.recording);
    m_reviewOpens = new QCheckBox(QStringLiteral("ｸｲｽﾞが終わったら結果を表示する(&V)"), this);
    m_reviewOpens->setObjectName(QStringLiteral("StudyReviewOpens"));
    m_reviewOpens->setChecked(options.reviewOpens);
    auto* review = new QGroupBox(QStringLiteral("今日の復習"), this);
    auto* form = new QFormLayout(review);
    m_retention = addNumber(form, "StudyRetention", QStringLiteral("覚えている確率の目標(&T):"),
                            StudyOptions::kMinRetentionPercent, StudyOptions::kMaxRetentionPercent,
                            options.retentionPercent, QStringLiteral(" %"));
    m_newPerDay =
        addNumber(form, "StudyNewPerDay", QStringLiteral("1日の新しい地点(&N):"), 0,
                  StudyOptions::kMaxNewPerDay, options.newPerDay, QStringLiteral(" 地点"));
    auto* clear = new QPushButton(QStringLiteral("学習記録を消去(&E)"), this);
    clear->setObjectName(QStringLiteral("StudyClear"));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, &StudyOptionsDialog::clearRequested);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("StudyOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ(&C)"), this);
    cancel->setObjectName(QStringLiteral("StudyCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* clearRow = new QHBoxLayout;
    clearRow->addWidget(clear);
    clearRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_recording);
    layout->addWidget(m_reviewOpens);
    layout->addWidget(review);
    layout->addLayout(clearRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ok->setFocus();
}

void StudyOptionsDialog::accept() {
    m_options.recording = m_recording->isChecked();
    m_options.reviewOpens = m_reviewOpens->isChecked();
    m_options.retentionPercent = m_retention->value();
    m_options.newPerDay = m_newPerDay->value();
    QDialog::accept();
}
