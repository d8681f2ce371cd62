#include "ui/explore/ExploreMode.h"

#include "core/app/MainWindowState.h"
#include "core/data/QuestionTable.h"
#include "core/explore/ExplorePoints.h"
#include "ui/explore/ExplorePanel.h"

ExploreMode::ExploreMode(MainWindowState& state, MapView& view, const QuestionTable& table)
    : m_state(state)
    , m_view(view)
    , m_table(table) {}

ExploreMode::~ExploreMode() {
    m_view.removeOverlay(&m_overlay);
}

void ExploreMode::fileOpening() {
    leave();
    m_rows.clear();
}

void ExploreMode::fileOpened() {
    m_rows = m_table.rows();
}

void ExploreMode::toggle() {
    if (isOn())
        leave();
    else
        enter();
}

void ExploreMode::enter() {
    if (isOn() || !m_state.look(MainCommand::Explore).enabled)
        return;
    m_saved = m_view.savedView();
    const PointList& rows = m_rows;
    m_overlay.setFont(m_view.font());
    m_overlay.setPoints(rows, m_view.mapSize());
    m_panel = new ExplorePanel(ExplorePoints::hints(rows));
    connect(m_panel, &ExplorePanel::hintChosen, this, &ExploreMode::chooseHint);
    connect(m_panel, &ExplorePanel::numbersToggled, this, [this](bool numbers) {
        m_overlay.setNumbers(numbers);
        m_view.updateOverlays();
    });
    connect(m_panel, &ExplorePanel::offMapChosen, this, &ExploreMode::showRow);
    chooseHint(std::nullopt);
    m_view.addOverlay(&m_overlay);
    m_press = connect(&m_view, &MapView::pressed, this, &ExploreMode::pressAt);
    emit columnChanged(m_panel);
    m_panel->show();
    m_state.setExploring(true);
}

void ExploreMode::leave() {
    if (!isOn())
        return;
    disconnect(m_press);
    m_view.removeOverlay(&m_overlay);
    m_view.setMarkerVisible(false);
    emit columnChanged(nullptr);
    delete m_panel;
    // After the column's width went back, so the view has its old size again.
    m_view.restoreView(m_saved);
    m_overlay.setPoints({}, {});
    m_state.setExploring(false);
}

void ExploreMode::chooseHint(const std::optional<QString>& hint) {
    const PointList& rows = m_rows;
    const ExplorePoints::Split split = ExplorePoints::split(rows, m_view.mapSize(), hint);
    m_overlay.setShown(split.onMap);
    QStringList texts;
    for (int row : split.offMap)
        texts.append(QStringLiteral("%1  %2").arg(row + 1).arg(rows.at(row)[ColumnAnswer1]));
    m_panel->setOffMap(texts, split.offMap);
    m_panel->setDetails(QString());
    m_view.setMarkerVisible(false);
    m_view.updateOverlays();
}

void ExploreMode::pressAt(QPointF mapPixel, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (const std::optional<int> row = m_overlay.rowAt(mapPixel))
        showRow(*row);
}

void ExploreMode::showRow(int row) {
    const PointList& rows = m_rows;
    if (row < 0 || row >= rows.size())
        return;
    m_panel->setDetails(ExplorePoints::details(rows.at(row), row));
    const std::optional<QPointF> place = ExplorePoints::place(rows.at(row), m_view.mapSize());
    if (place)
        m_view.placeMarkerOnPoint(*place);
    m_view.setMarkerVisible(place.has_value());
}
