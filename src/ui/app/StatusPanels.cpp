#include "ui/app/StatusPanels.h"

#include "core/app/MainLayout.h"

#include <QLabel>

StatusPanels::StatusPanels(QWidget* parent)
    : QWidget(parent)
    , m_widths{0, MainLayout::kPanelTimeWidth, MainLayout::kPanelPositionWidth} {
    setObjectName(QStringLiteral("StatusPanels"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    const std::array<QString, 3> keys = {QStringLiteral("Panel_Main"), QStringLiteral("Panel_Time"),
                                         QStringLiteral("Panel_Position")};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(keys[i]);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        m_labels[i] = label;
    }
    setMinimumHeight(m_labels[Main]->sizeHint().height());
}

QString StatusPanels::text(Panel panel) const {
    return m_labels[panel]->text();
}

void StatusPanels::setText(Panel panel, const QString& text) {
    m_labels[panel]->setText(text);
}

void StatusPanels::setWidthTwips(Panel panel, int twips) {
    if (twips < 0)
        return;
    m_widths[panel] = twips;
    placePanels();
}

void StatusPanels::resizeEvent(QResizeEvent*) {
    placePanels();
}

void StatusPanels::placePanels() {
    int x = 0;
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        const int width = Twips::toPixels(m_widths[i]);
        m_labels[i]->setGeometry(x, 0, width, height());
        x += width;
    }
}
