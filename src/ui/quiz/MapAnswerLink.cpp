#include "ui/quiz/MapAnswerLink.h"

#include "ui/platform/MapView.h"
#include "ui/quiz/AnswerWindow.h"

MapAnswerLink::MapAnswerLink(MapView& mapView, AnswerWindow& quiz)
    : QObject(&quiz)
    , m_mapView(&mapView) {
    quiz.setLocateOnMap(mapView.mapSize());
    mapView.addOverlay(&m_line);
    connect(&mapView, &MapView::pressed, &quiz,
            [&quiz](QPointF mapPos, Qt::MouseButton) { quiz.pressOnMap(mapPos); });
    connect(&quiz, &AnswerWindow::pressLineChanged, this, &MapAnswerLink::showLine);
    for (auto ended : {&AnswerWindow::completed, &AnswerWindow::stopped})
        connect(&quiz, ended, this, [this] { showLine(QLineF()); });
}

MapAnswerLink::~MapAnswerLink() {
    if (m_mapView)
        m_mapView->removeOverlay(&m_line);
}

void MapAnswerLink::showLine(const QLineF& line) {
    m_line.setLine(line);
    if (m_mapView)
        m_mapView->updateOverlays();
}
