#include "ui/explore/ExplorePanel.h"

#include "core/platform/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ExplorePanel::ExplorePanel(const QStringList& hints, QWidget* parent)
    : QWidget(parent)
    , m_hints(new QComboBox(this))
    , m_numbers(new QCheckBox(QStringLiteral("番号で表示(&N)"), this))
    , m_details(new QPlainTextEdit(this))
    , m_offMap(new QListWidget(this)) {
    setObjectName(QStringLiteral("ExplorePanel"));
    setFixedWidth(Twips::toPixels(kWidthTwips));
    m_hints->setObjectName(QStringLiteral("ExploreHintFilter"));
    m_hints->addItem(QStringLiteral("すべて"));
    for (const QString& hint : hints)
        m_hints->addItem(hint.isEmpty() ? QStringLiteral("(ﾋﾝﾄなし)") : hint, hint);
    m_numbers->setObjectName(QStringLiteral("ExploreNumbers"));
    m_details->setObjectName(QStringLiteral("ExploreDetails"));
    m_details->setReadOnly(true);
    m_details->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_offMap->setObjectName(QStringLiteral("ExploreOffMap"));
    m_offMapCaption = caption(QStringLiteral("地図上にない地点(&L)"), m_offMap, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption(QStringLiteral("ﾋﾝﾄで絞り込み(&K)"), m_hints, this));
    layout->addWidget(m_hints);
    layout->addWidget(m_numbers);
    layout->addWidget(caption(QStringLiteral("詳細(&D)"), m_details, this));
    layout->addWidget(m_details, 2);
    layout->addWidget(m_offMapCaption);
    layout->addWidget(m_offMap, 1);
    setOffMap({}, {});

    connect(m_hints, &QComboBox::currentIndexChanged, this, [this](int index) {
        emit hintChosen(index > 0 ? std::optional<QString>(m_hints->itemData(index).toString())
                                  : std::nullopt);
    });
    connect(m_numbers, &QCheckBox::toggled, this, &ExplorePanel::numbersToggled);
    connect(m_offMap, &QListWidget::currentRowChanged, this, [this](int index) {
        if (index >= 0)
            emit offMapChosen(m_offMap->item(index)->data(Qt::UserRole).toInt());
    });
    // Chosen again after a point on the map was: the current row stays, the click counts.
    connect(m_offMap, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit offMapChosen(item->data(Qt::UserRole).toInt()); });
}

void ExplorePanel::setOffMap(const QStringList& texts, const QList<int>& rows) {
    const QSignalBlocker blocker(m_offMap);
    m_offMap->clear();
    for (qsizetype i = 0; i < texts.size() && i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(texts[i], m_offMap);
        item->setData(Qt::UserRole, rows[i]);
    }
    m_offMapCaption->setVisible(!texts.isEmpty());
    m_offMap->setVisible(!texts.isEmpty());
}

void ExplorePanel::setDetails(const QString& text) {
    m_details->setPlainText(text);
}
