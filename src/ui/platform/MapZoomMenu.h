#pragma once

#include <QList>

class MapView;
class QAction;
class QMenu;
class QMenuBar;

// The menu 表示(&V) of a window with a map view: 拡大 (Ctrl++ and Ctrl+=), 縮小 (Ctrl+-),
// 実ｻｲｽﾞ (Ctrl+0) and 全体を表示, each carried out by the view. Named "Menu1_View",
// "Menu2_ZoomIn", "Menu2_ZoomOut", "Menu2_ActualSize" and "Menu2_WholeMap".
namespace MapZoomMenu {

// Adds the menu to `bar`, before `before` when given, else at the end; returns its items (the
// commands a long operation holds).
QList<QAction*> add(QMenuBar* bar, MapView* view, QMenu* before = nullptr);

} // namespace MapZoomMenu
