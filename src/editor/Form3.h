#pragma once

#include "editor/EditorDocument.h"
#include "editor/EditorRules.h"
#include "editor/PointTableModel.h"
#include "platform/Services.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointF>

#include <array>

class MapView;
class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QWidget;

// The question-file editor ("ﾌｧｲﾙ編集"), shown modally from the main window. The map is on the
// right; a press on it places a point, whose six texts are typed into the boxes on the left;
// Command1 adds the point to the table or overwrites the selected row. Each window starts
// afresh: empty table, empty boxes, add mode, no map, nothing to save.
//
// Controls carry their established names as objectNames; members of a control array are
// "Name_index" (List1_3, Text1_0, Label1_5, Line1_0).
class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(Services& services, QWidget* parent = nullptr);
    ~Form3() override;

    // The state behind the controls.
    const PointTable& pointTable() const { return m_model->table(); }
    const EditorDocument& document() const { return m_document; }
    EditMode mode() const { return m_mode; }
    // True while Open or Save runs; no other command starts then.
    bool isBusy() const { return m_busy; }
    const FileDialogState& commonDialog1() const { return m_commonDialog1; }
    const FileDialogState& commonDialog2() const { return m_commonDialog2; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    class ReadSink;
    class BusyScope;

    void createMenus();
    void createControls();
    void createStatusBar();

    // Event handlers, named after control and event.
    void Form_Resize();
    void Menu2_New_Click();
    void Menu2_Open_Click();
    void Menu2_Save_Click();
    void Menu2_End_Click();
    void Menu2_MapOpen_Click();
    void Menu2_Path_Click();
    void Menu2_AddMode_Click();
    void Menu2_EditMode_Click();
    void PMenu_ListNum_Click();
    void PMenu_Delete_Click();
    void Command1_Click();
    void Command2_Click();
    void Picture1_MouseDown(QPointF mapPos);
    void Picture1_MouseMove(QPointF mapPos);
    void Text1_Change();
    void List1_Click();
    void Timer1_Timer();

    // Open's steps, called by the reader.
    void openStarted(const QString& path);
    void openMapLoaded(const QImage& map, const QString& reference);

    QString boxText(int column) const;
    Point boxTexts() const;
    void setBoxTexts(const Point& point);
    void clearBoxes();
    void clearTable();
    void clearListSelection();
    void setMode(EditMode mode);
    void showModeChecks();
    MessageAnswer showBox(const MessageRequest& request);
    bool mayDiscardChanges(const QString& title);
    bool mayClose();
    bool pumpDue() const;
    void letEventsRun();
    // Shows a map picture checked to be a loadable bitmap, or reports why not (nothing changes).
    bool loadMapFile(const QString& path, QImage& map);

    Services& m_services;
    EditorDocument m_document;
    PointTableModel* m_model;
    EditMode m_mode = EditMode::Add;
    FileDialogState m_commonDialog1;
    FileDialogState m_commonDialog2;
    bool m_busy = false;
    bool m_placing = false;          // a press on the map is filling the coordinate boxes
    bool m_syncingSelection = false; // the program, not the user, changes the list's selection
    bool m_closing = false;
    QElapsedTimer m_pumpClock;

    QMenuBar* m_menuBar = nullptr;
    QAction* m_addMode = nullptr;
    QAction* m_editMode = nullptr;
    QMenu* m_popup = nullptr;
    QWidget* m_client = nullptr;
    std::array<QListView*, kPointColumns> m_lists{};
    std::array<QLineEdit*, ColumnInfo> m_lineBoxes{}; // Text1(0) to Text1(4)
    QPlainTextEdit* m_infoBox = nullptr;              // Text1(5)
    std::array<QLabel*, kPointColumns> m_labels{};
    std::array<QWidget*, 2> m_lines{};
    MapView* m_picture = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_editingFile = nullptr;
    QLabel* m_mapName = nullptr;
    QLabel* m_position = nullptr;
    QTimer* m_timer = nullptr;
};
