#pragma once

#include "core/data/Point.h"

#include <QList>

#include <array>

class MapView;
class QAbstractItemModel;
class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QUndoStack;
class QWidget;

// The editor window's menus and controls, made and placed as the design has them (in twips),
// with their established objectNames ("Menu2_Open", "List1_3", "Text1_0", "Command1", ...).
// arrange() follows a resize of the client area: only the map view, the separator lines and
// the status bar move; moves over the bare client area empty the coordinate panel. The window
// wires the controls to its commands.
struct EditorControls {
    EditorControls(QWidget* window, QAbstractItemModel* model);

    void arrange();

    // Every menu command, the popup's included.
    QList<QAction*> commands() const;
    // While a file is read or written every command and both buttons are held (disabled);
    // given back, they are usable again, undo and redo as the history is then.
    void holdCommands(bool held, const QUndoStack& stack);

    // The six boxes as a point (the info box's line breaks as CR LF, as the table keeps them),
    // and filling them from one.
    Point boxes() const;
    void setBoxes(const Point& point);
    // Fills the boxes from a row that changed while selected, unless they already show it.
    void showChangedRow(const Point& point);

    // The row selected in the list (kNoSelection for none), and selecting one there.
    int listedRow() const;
    void selectListed(int row);

    // The undo and redo items as the history is now: available or not, naming the step;
    // followHistory keeps them so from now on.
    void showUndoState(const QUndoStack& stack);
    void followHistory(const QUndoStack& stack);

    QMenuBar* menuBar = nullptr;
    QAction* newAction = nullptr;
    QAction* openAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* importCsvAction = nullptr;
    QAction* exportCsvAction = nullptr;
    QAction* endAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* mapOpenAction = nullptr;
    QAction* relativeMapAction = nullptr;
    QAction* addModeAction = nullptr;
    QAction* editModeAction = nullptr;
    QMenu* popup = nullptr; // the table's popup menu; never in the menu bar
    QAction* rowCountAction = nullptr;
    QAction* deleteAction = nullptr;
    QList<QAction*> zoomActions;   // 表示(&V): 拡大, 縮小, 実ｻｲｽﾞ, 全体を表示
    QAction* listAction = nullptr; // 表示(&V): 一覧

    QWidget* client = nullptr;                      // below the menu bar
    QListView* table = nullptr;                     // the answer-1 column of the model
    std::array<QLineEdit*, ColumnInfo> lineBoxes{}; // X, Y, hint, answer 1, answer 2
    QPlainTextEdit* infoBox = nullptr;
    std::array<QLabel*, kPointColumns> labels{}; // by label number, as the design names them
    MapView* mapView = nullptr;
    QPushButton* commitButton = nullptr; // adds the boxes as a row, or updates the selected one
    QPushButton* modeButton = nullptr;   // switches between adding and editing
    std::array<QWidget*, 2> lines{};
    QStatusBar* statusBar = nullptr;
    QLabel* editingFilePanel = nullptr;
    QLabel* mapNamePanel = nullptr;
    QLabel* positionPanel = nullptr;
};
