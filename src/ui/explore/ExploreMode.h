#pragma once

#include "core/explore/ExploreOverlay.h"
#include "ui/explore/ExplorePanel.h"
#include "ui/platform/MapView.h"

#include <QObject>
#include <QPointer>

#include <optional>

class MainWindowState;
class QuestionTable;

// 地図を見る: the open file's points on the map with their names, a press on one showing its
// details beside the map and the marker blinking on it. Entering saves the view and puts the
// overlay and the panel up; leaving takes them down and gives the view back exactly as it was
// (the window gives back the column's width before that). The main window's state says when
// it may be entered and shows that it is on.
class ExploreMode : public QObject {
    Q_OBJECT
public:
    ExploreMode(MainWindowState& state, MapView& view, const QuestionTable& table);
    ~ExploreMode() override;

    // The mode follows the window's reads: left when another file is opened, and the points
    // kept in the file's order once one was read (a quiz shuffles the window's table in place).
    void fileOpening();
    void fileOpened();

    bool isOn() const { return !m_panel.isNull(); }
    ExplorePanel* panel() const { return m_panel; }
    const ExploreOverlay& overlay() const { return m_overlay; }

public slots:
    void toggle();
    // Nothing happens unless the state makes the command usable.
    void enter();
    void leave();

signals:
    // The panel is to stand beside the map, or (nothing) its column is to go.
    void columnChanged(QWidget* panel);

private:
    void pressAt(QPointF mapPixel, Qt::MouseButton button);
    void chooseHint(const std::optional<QString>& hint);
    void showRow(int row);

    MainWindowState& m_state;
    MapView& m_view;
    const QuestionTable& m_table;
    PointList m_rows; // in the file's order
    ExploreOverlay m_overlay;
    QPointer<ExplorePanel> m_panel;
    MapView::SavedView m_saved;
    QMetaObject::Connection m_press;
};
