#pragma once

#include "core/platform/MapLineOverlay.h"

#include <QObject>
#include <QPointer>

class AnswerWindow;
class MapView;

// Joins a locate quiz to the map it is played on: presses on the map go to the answer window
// as answers, and the line it reports from a judged press to the right place is drawn over
// the map until the next question or the end of the quiz. A child of the answer window, so it
// goes with it; the map may go first (the main window's children are deleted in order).
class MapAnswerLink : public QObject {
    Q_OBJECT
public:
    // Makes `quiz`, not yet started, a locate quiz on the map `mapView` shows.
    MapAnswerLink(MapView& mapView, AnswerWindow& quiz);
    ~MapAnswerLink() override;

    const MapLineOverlay& overlay() const { return m_line; }

private:
    void showLine(const QLineF& line);

    QPointer<MapView> m_mapView;
    MapLineOverlay m_line;
};
