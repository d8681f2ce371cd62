// The map view as a widget, on a screen with a device pixel ratio of 2 throughout.
#include "core/platform/MapOverlay.h"
#include "ui/platform/MapView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

// Every pixel its own colour.
QImage patterned(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    return image;
}

QPoint scrollOf(const MapView& view) {
    return QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
}

// Resizes the view so that its inside, without scroll bars, is `inside`.
void setInside(MapView& view, const QSize& inside) {
    view.resize(inside + QSize(2, 2) * view.frameWidth());
    QApplication::processEvents(); // the scroll bars' layout is queued
}

void turnWheel(MapView& view, const QPointF& at, int eighths, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, eighths),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    QApplication::processEvents();
}

class FixedItem : public MapOverlay {
public:
    explicit FixedItem(int item)
        : m_item(item) {}
    void paint(QPainter&, const MapTransform&, const QRectF&) const override {}
    int itemAt(const MapTransform&, const QPointF&) const override { return m_item; }

private:
    int m_item;
};

// A square drawn in place whatever the scroll.
class PinnedSquare : public MapOverlay {
public:
    static constexpr QRect kSquare{10, 10, 20, 20};
    void paint(QPainter& painter, const MapTransform&, const QRectF&) const override {
        painter.fillRect(kSquare, Qt::magenta);
    }
    QRectF pinnedRect(const MapTransform&) const override { return kSquare; }
};

} // namespace

class TestMapView : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void navigatesWithWheelAndMiddleButton();
    void opensFittedOrAtActualSize_data();
    void opensFittedOrAtActualSize();
    void overlaysAnswerLastAddedFirst();
    void pinnedOverlayStaysWhileTheMapScrolls();
    void everyPressLandsOnThePixelUnderIt();
    void givesASavedViewBack();

private:
    std::unique_ptr<MapView> m_view;
};

void TestMapView::init() {
    m_view = std::make_unique<MapView>();
    setInside(*m_view, QSize(400, 300));
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QCOMPARE(m_view->devicePixelRatioF(), 2.0);
}

void TestMapView::cleanup() {
    m_view.reset();
}

void TestMapView::navigatesWithWheelAndMiddleButton() {
    MapView& view = *m_view;
    view.setMap(patterned(QSize(800, 600)));
    QCOMPARE(view.zoom(), 0.5); // fitted
    QSignalSpy presses(&view, &MapView::pressed);

    // Ctrl + wheel: a step a notch (half notches add up), about the pointer.
    const QPointF pointer(100, 80);
    const QPointF under = view.transform().toMap(pointer);
    turnWheel(view, pointer, 60, Qt::ControlModifier);
    QCOMPARE(view.zoom(), 0.5);
    turnWheel(view, pointer, 60, Qt::ControlModifier);
    QCOMPARE(view.zoom(), 2.0 / 3);
    const QPointF moved = view.transform().toView(under) - pointer;
    QVERIFY(qAbs(moved.x()) <= 1 && qAbs(moved.y()) <= 1);
    turnWheel(view, pointer, -240, Qt::ControlModifier);
    QCOMPARE(view.zoom(), 1.0 / 3);

    // The wheel scrolls down; with Shift, sideways.
    view.zoomToActualSize();
    QApplication::processEvents();
    view.horizontalScrollBar()->setValue(100);
    view.verticalScrollBar()->setValue(100);
    const QPoint start = scrollOf(view);
    turnWheel(view, pointer, -120, Qt::NoModifier);
    QVERIFY(scrollOf(view).y() > start.y());
    QCOMPARE(scrollOf(view).x(), start.x());
    const QPoint down = scrollOf(view);
    turnWheel(view, pointer, -120, Qt::ShiftModifier);
    QVERIFY(scrollOf(view).x() > down.x());
    QCOMPARE(scrollOf(view).y(), down.y());

    // Dragging with the middle button pans and places nothing; a middle click does, on release.
    QWidget* viewport = view.viewport();
    const QPoint before = scrollOf(view);
    QTest::mousePress(viewport, Qt::MiddleButton, {}, QPoint(200, 150));
    QTest::mouseMove(viewport, QPoint(170, 130));
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, QPoint(170, 130));
    QCOMPARE(scrollOf(view), before + QPoint(30, 20));
    QCOMPARE(presses.count(), 0);
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, QPoint(50, 40));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(presses[0][0].toPointF(), QPointF(QPoint(50, 40) + scrollOf(view)));
    QCOMPARE(presses[0][1].value<Qt::MouseButton>(), Qt::MiddleButton);
}

void TestMapView::opensFittedOrAtActualSize_data() {
    QTest::addColumn<QSize>("mapSize");
    QTest::addColumn<qreal>("opening");      // inside 400 x 300
    QTest::addColumn<qreal>("afterGrowing"); // inside 800 x 600, not zoomed by the user
    QTest::newRow("larger than the view") << QSize(800, 600) << 0.5 << 1.0;
    QTest::newRow("much larger") << QSize(2400, 1200) << 1.0 / 6 << 1.0 / 3;
    QTest::newRow("fits") << QSize(300, 200) << 1.0 << 1.0;
}

void TestMapView::opensFittedOrAtActualSize() {
    QFETCH(QSize, mapSize);
    QFETCH(qreal, opening);
    QFETCH(qreal, afterGrowing);
    MapView& view = *m_view;
    view.setMap(patterned(mapSize));
    QCOMPARE(view.zoom(), opening);
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);
    QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    setInside(view, QSize(800, 600));
    QCOMPARE(view.zoom(), afterGrowing);
    // Once the user has zoomed, a resize keeps the zoom.
    view.zoomOut();
    const qreal chosen = view.zoom();
    setInside(view, QSize(500, 400));
    QCOMPARE(view.zoom(), chosen);
}

void TestMapView::overlaysAnswerLastAddedFirst() {
    MapView& view = *m_view;
    FixedItem none(-1), first(1), second(2);
    view.addOverlay(&first);
    view.addOverlay(&second);
    view.addOverlay(&none);
    const MapView::OverlayItem found = view.overlayItemAt(QPointF(10, 10));
    QCOMPARE(found.overlay, &second);
    QCOMPARE(found.item, 2);
    view.removeOverlay(&second);
    QCOMPARE(view.overlayItemAt(QPointF(10, 10)).overlay, &first);
}

void TestMapView::pinnedOverlayStaysWhileTheMapScrolls() {
    MapView& view = *m_view;
    const QImage map = patterned(QSize(800, 600));
    view.setMap(map);
    view.zoomToActualSize();
    PinnedSquare square;
    view.addOverlay(&square);
    // What the screen shows at a view position, as the view last put it there (the offscreen
    // screen hands back the window's top-left part in device pixels).
    const auto shown = [&view](const QPoint& inView) {
        const QImage window = view.screen()->grabWindow(view.winId()).toImage();
        return window.pixel(view.viewport()->mapTo(&view, inView) * view.devicePixelRatioF());
    };
    // Then back up and left: what was painted moves down and right, the square's copy with
    // it, but the view paints the map there and the square where it was.
    for (const QPoint& scroll : {QPoint(100, 100), QPoint(70, 75)}) {
        view.horizontalScrollBar()->setValue(scroll.x());
        view.verticalScrollBar()->setValue(scroll.y());
        QTRY_COMPARE(shown(QPoint(80, 60)), map.pixel(scroll + QPoint(80, 60)));
    }
    QTRY_COMPARE(shown(QPoint(50, 45)), map.pixel(QPoint(70 + 50, 75 + 45)));
    QCOMPARE(shown(QPoint(20, 20)), QColor(Qt::magenta).rgb());
}

// A press on the second device pixel of a logical pixel reaches the view as Qt's widget
// delivery makes it: the position and the global position rounded up to the next logical
// pixel, the position in the window keeping the half. And a second press within the
// double-click time comes as a double-click.
void TestMapView::everyPressLandsOnThePixelUnderIt() {
    MapView& view = *m_view;
    view.setMap(patterned(QSize(800, 600)));
    view.zoomToActualSize();
    QApplication::processEvents();
    QSignalSpy presses(&view, &MapView::pressed);
    QWidget* viewport = view.viewport();
    const QPointF exact = QPointF(61, 37) / 2; // device pixels to logical ones
    const QPointF inWindow = viewport->mapTo(viewport->window(), exact);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
        QMouseEvent press(type, exact.toPoint(), inWindow, viewport->mapToGlobal(exact).toPoint(),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QCOMPARE(presses.count(), type == QEvent::MouseButtonPress ? 1 : 2);
        QCOMPARE(presses.last()[0].toPointF(), QPointF(30, 18) + QPointF(scrollOf(view)));
    }
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(70, 50));
    QCOMPARE(presses.count(), 3);
    QCOMPARE(presses.last()[0].toPointF(), QPointF(70, 50) + QPointF(scrollOf(view)));
}

// A mode that changed the view (narrowed it, zoomed, scrolled) gives it back as it was.
void TestMapView::givesASavedViewBack() {
    MapView& view = *m_view;
    view.setMap(patterned(QSize(800, 600)));
    const MapView::SavedView opening = view.savedView();
    const auto change = [&view] {
        setInside(view, QSize(250, 300));
        view.zoomIn();
        view.horizontalScrollBar()->setValue(70);
        setInside(view, QSize(400, 300));
    };
    change();
    view.restoreView(opening);
    QCOMPARE(view.zoom(), 0.5);
    QCOMPARE(scrollOf(view), QPoint());
    setInside(view, QSize(800, 600)); // the opening rule decides again
    QCOMPARE(view.zoom(), 1.0);

    setInside(view, QSize(400, 300));
    view.zoomAbout(1.5, QPointF(100, 100));
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    const MapView::SavedView chosen = view.savedView();
    change();
    view.restoreView(chosen);
    QCOMPARE(view.zoom(), 1.5);
    QCOMPARE(scrollOf(view), chosen.transform.scroll());
    QCOMPARE(scrollOf(view).y(), view.verticalScrollBar()->maximum());
}

int main(int argc, char** argv) {
    // Everything on a screen of device pixel ratio 2.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestMapView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mapview.moc"
