#pragma once

#include <QWidget>

#include <array>

class QLabel;

// The main window's status-bar panels, left to right: "Panel_Main" (what happened last),
// "Panel_Time" (the quiz clock) and "Panel_Position" (the pointer over the map). Each is as
// wide as its width in twips says; they are placed by hand rather than by a layout, so that
// panels wider than the bar are cut off instead of forcing a minimum size on the window.
class StatusPanels : public QWidget {
    Q_OBJECT
public:
    enum Panel { Main, Time, Position };

    explicit StatusPanels(QWidget* parent);

    QLabel* label(Panel panel) const { return m_labels[panel]; }
    QString text(Panel panel) const;
    void setText(Panel panel, const QString& text);

    // A panel's width in twips, and setting it (negative widths are refused).
    int widthTwips(Panel panel) const { return m_widths[panel]; }
    void setWidthTwips(Panel panel, int twips);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placePanels();

    std::array<QLabel*, 3> m_labels{};
    std::array<int, 3> m_widths{};
};
