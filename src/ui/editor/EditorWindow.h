#pragma once

#include "core/editor/EditorDocument.h"
#include "core/editor/EditorRules.h"
#include "core/editor/MapCommands.h"
#include "core/editor/PointTableModel.h"
#include "core/platform/Services.h"

#include <QDialog>
#include <QPointF>

#include <memory>

class CsvCommands;
class EditorHistory;
class LongOperation;
class MapPoints;
class PointListWindow;
struct EditorControls;

// The question-file editor "ﾌｧｲﾙ編集", shown modally from the main window. The map is on the
// right; a press on it places a point, whose six texts are typed into the boxes on the left;
// the commit button adds the point to the table or overwrites the selected row. Every row's
// point shows as a dot on the map; Shift + drag moves one. Changes can be undone. Each window
// starts afresh: empty table, empty boxes, add mode, no map, nothing to save. The window only
// wires: the rows live in the model, the document state in EditorDocument, the decisions in
// EditorRules and EditorFiles.
class EditorWindow : public QDialog {
    Q_OBJECT
public:
    explicit EditorWindow(Services& services, QWidget* parent = nullptr);
    ~EditorWindow() override;

    const PointTable& pointTable() const { return m_model->table(); }
    const EditorDocument& document() const { return m_document; }
    EditMode mode() const { return m_mode; }
    // True while Open or Save runs; every command of the window is held meanwhile.
    bool isBusy() const { return m_operation != nullptr; }
    // The question-file dialog (Open and Save share it) and the map dialog.
    const FileDialogState& fileDialog() const { return m_fileDialog; }
    const FileDialogState& mapDialog() const { return m_mapCommands->dialog(); }
    // The undo history of the document's changes.
    const EditorHistory& history() const { return *m_history; }
    // The full list, once 表示 → 一覧 has shown it.
    PointListWindow* pointList() const { return m_list; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void wireControls();

    void newFile();
    void openFile();
    void saveFile();
    void showList();
    void setMode(EditMode mode);
    void showRowCount();
    void deleteRow();
    void commitBoxes();
    void placePoint(QPointF mapPos);
    void showPointer(QPointF mapPos);
    void followTypedCoordinates();
    void followSelection();

    void startOpening(const QString& path);
    void showMap(const QImage& map, const QString& reference);
    void clearTable();
    void clearSelection();
    void showModeChecks();
    MessageAnswer showBox(const MessageRequest& request);
    bool mayDiscardChanges(const QString& title);
    std::unique_ptr<LongOperation> holdCommands();

    Services& m_services;
    EditorDocument m_document;
    PointTableModel* m_model;
    EditorHistory* m_history;
    std::unique_ptr<CsvCommands> m_csv;
    std::unique_ptr<MapCommands> m_mapCommands;
    EditMode m_mode = EditMode::Add;
    FileDialogState m_fileDialog;
    std::unique_ptr<LongOperation> m_operation;
    bool m_placing = false;          // a press on the map is filling the coordinate boxes
    bool m_syncingSelection = false; // the program, not the user, changes the list's selection
    bool m_closing = false;

    std::unique_ptr<EditorControls> m_controls;
    MapPoints* m_mapPoints = nullptr;
    PointListWindow* m_list = nullptr;
};
