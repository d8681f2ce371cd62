#pragma once

#include "core/data/Point.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

class EditorDocument;
class PointTableModel;
class QUndoCommand;
class QUndoStack;

// A map as the editor shows it: the picture and the reference the document keeps for it.
struct EditorMap {
    QImage picture;
    QString reference;
};

// The editor's undo and redo. Every change of the document a user can take back is one step
// here: adding, updating, moving and deleting a point, importing rows, choosing a map and naming
// it relatively. Each step changes the table model and the document, never the window, which
// follows the model's signals and mapChanged().
//
// The unsaved-changes flag after a step done anew follows EditorDocument::flagAfter exactly as
// without undo. Undo and redo give back the flag the state they return to had; once a save has
// been made, every state but the saved one counts as changed. New and Open start a fresh history.
class EditorHistory : public QObject {
    Q_OBJECT
public:
    EditorHistory(PointTableModel& model, EditorDocument& document, QObject* parent = nullptr);
    ~EditorHistory() override;

    // For the window's actions: canUndo(), undoText(), their change signals, undo(), redo().
    QUndoStack& stack() const { return *m_stack; }

    // The steps. Each does what it says without the editor's checks, which the caller has made.
    // False (nothing done, nothing to undo) when there is no such row or the table is full.
    bool addRow(const Point& point);
    bool updateRow(int row, const Point& point);
    // Writes new coordinate texts into a row, the other columns kept; false also when both are
    // as they were.
    bool movePoint(int row, const QString& x, const QString& y);
    bool deleteRow(int row);
    // Appends as many rows as fit, as one step; returns how many.
    int appendRows(PointList rows);
    // A map picked with the map dialog, or named relative to the question file's folder.
    void chooseMap(const EditorMap& map);
    void nameMapRelatively(const EditorMap& map);

    // The picture shown now, which undoing a map step brings back. Open shows the maps it reads
    // through this; New clears it with the history.
    const QImage& mapPicture() const { return m_mapPicture; }
    void setMapPicture(const QImage& picture) { m_mapPicture = picture; }

    // New and Open: nothing to undo or redo, and no map picture.
    void clear();
    // A completed save: the state now is the saved one.
    void markSaved();

signals:
    // A map step was done, undone or redone: the document holds the reference; show the picture.
    void mapChanged(const QImage& picture, const QString& reference);

private:
    class Step;
    class RowStep;
    class RowsStep;
    class MapStep;

    void push(QUndoCommand* step);
    void followIndex(int index);
    void showMap(const EditorMap& map);

    PointTableModel& m_model;
    EditorDocument& m_document;
    QUndoStack* m_stack;
    QImage m_mapPicture;
    // The flag each state of the stack had when it was reached by doing a step: entry i for
    // the state at index i. Used until the first save since clear().
    QList<bool> m_flags;
    bool m_saved = false;
    bool m_pushing = false;
};
