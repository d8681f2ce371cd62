#include "ui/platform/MapZoomMenu.h"

#include "ui/platform/MapView.h"

#include <QMenuBar>

namespace MapZoomMenu {

QList<QAction*> add(QMenuBar* bar, MapView* view, QMenu* before) {
    auto* menu = new QMenu(QStringLiteral("表示(&V)"), bar);
    menu->setObjectName(QStringLiteral("Menu1_View"));
    menu->menuAction()->setObjectName(QStringLiteral("Menu1_View"));
    bar->insertMenu(before ? before->menuAction() : nullptr, menu);
    const auto item = [&](const char* name, const QString& caption,
                          const QList<QKeySequence>& shortcuts, void (MapView::*command)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(shortcuts);
        QObject::connect(action, &QAction::triggered, view, command);
        return action;
    };
    return {item("Menu2_ZoomIn", QStringLiteral("拡大"),
                 {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                 &MapView::zoomIn),
            item("Menu2_ZoomOut", QStringLiteral("縮小"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
                 &MapView::zoomOut),
            item("Menu2_ActualSize", QStringLiteral("実ｻｲｽﾞ"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
                 &MapView::zoomToActualSize),
            item("Menu2_WholeMap", QStringLiteral("全体を表示"), {}, &MapView::zoomToFit)};
}

} // namespace MapZoomMenu
