#pragma once

#include "quiz/QuizSession.h"

#include <QList>

class MapView;
class QAction;
class QMenu;
class QMenuBar;

// The main window's menus, built with their captions, access keys, shortcuts and established
// names ("Menu1_File", "Menu2_Open", ...; a menu's QMenu and its menuAction() both carry the
// menu's name). The window connects the items to its commands, except those of the menu
// 表示(&V), which the map view carries out.
struct MainMenus {
    MainMenus(QMenuBar* bar, MapView* mapView);
    // The mode items call back into this object.
    MainMenus(const MainMenus&) = delete;
    MainMenus& operator=(const MainMenus&) = delete;

    // Every command, the mode submenu's own item included.
    QList<QAction*> commands() const;
    // The answer method checked in 解答方法.
    AnswerMethod answerMethod() const;

    // The mode items: one checked at a time, normal at first.
    QuizMode chosenMode() const;
    void chooseMode(QuizMode mode);

    QAction* open = nullptr;
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
    QMenu* method = nullptr; // 解答方法: typing or locating on the map, one checked
    QAction* typingMethod = nullptr;
    QAction* locateMethod = nullptr;
    QAction* judging = nullptr;
    QAction* editor = nullptr;
    QAction* options = nullptr;
    QAction* studyOptions = nullptr;
    QList<QAction*> zoom;       // 拡大, 縮小, 実ｻｲｽﾞ, 全体を表示
    QAction* mastery = nullptr; // 習熟度を表示, a toggle at the end of 表示(&V)
    QAction* help = nullptr;
    QAction* version = nullptr;
};
