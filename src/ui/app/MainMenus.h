#pragma once

#include "core/app/MainWindowState.h"

#include <QList>

class MapView;
class QAction;
class QMenu;
class QMenuBar;

// The main window's menus, built with their captions, access keys, shortcuts and established
// names ("Menu1_File", "Menu2_Open", ...; a menu's QMenu and its menuAction() both carry the
// menu's name). The window connects the items to its commands, except those of the menu
// 表示(&V), which the map view carries out, and shows its state in them.
struct MainMenus {
    MainMenus(QMenuBar* bar, MapView* mapView);

    // The items of a command (the four zoom items for Zoom, the submenu's own item for a menu).
    QList<QAction*> actionsOf(MainCommand command) const;

    QAction* open = nullptr;
    QAction* openSample = nullptr; // ｻﾝﾌﾟﾙを開く: the quizzes that come with the program
    QAction* start = nullptr;
    QAction* stop = nullptr;
    QAction* review = nullptr; // 結果(&R): the review of the last quiz
    QAction* print = nullptr;
    QAction* exportPdf = nullptr;
    QAction* end = nullptr;
    QMenu* mode = nullptr;
    QAction* practiceMode = nullptr;
    QAction* normalMode = nullptr;
    QAction* weakFirstMode = nullptr;
    QAction* reviewMode = nullptr; // 今日の復習: the points the memory model says are due
    QMenu* method = nullptr;       // 解答方法: typing or locating on the map
    QAction* typingMethod = nullptr;
    QAction* locateMethod = nullptr;
    QAction* choiceMethod = nullptr;
    QAction* judging = nullptr;
    QAction* editor = nullptr;
    QAction* options = nullptr;
    QAction* studyOptions = nullptr;
    QList<QAction*> zoom;        // 拡大, 縮小, 実ｻｲｽﾞ, 全体を表示
    QAction* mastery = nullptr;  // 習熟度を表示, a toggle at the end of 表示(&V)
    QAction* explore = nullptr;  // 地図を見る, a toggle after it
    QAction* progress = nullptr; // 学習の記録: charts of the record
    QAction* help = nullptr;
    QAction* version = nullptr;
};
