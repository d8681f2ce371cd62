#include "core/editor/EditorHistory.h"

#include "core/editor/EditorDocument.h"
#include "core/editor/PointTableModel.h"

#include <QUndoStack>

#include <algorithm>

// One step: done by redo() (the first time also applying its event to the unsaved-changes
// flag), taken back by undo(). Undo and redo leave the flag to EditorHistory::followIndex.
class EditorHistory::Step : public QUndoCommand {
public:
    Step(EditorHistory& history, EditorEvent event, const QString& text)
        : m_history(history)
        , m_event(event) {
        setText(text);
    }

    void redo() override {
        apply();
        if (!m_done)
            m_history.m_document.apply(m_event);
        m_done = true;
    }
    void undo() override { revert(); }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;

    EditorHistory& m_history;
    PointTableModel& model() { return m_history.m_model; }

private:
    EditorEvent m_event;
    bool m_done = false;
};

// Adding, updating (moving included) or deleting one row.
class EditorHistory::RowStep : public Step {
public:
    enum class Kind { Add, Update, Delete };

    RowStep(EditorHistory& history, Kind kind, int row, Point before, Point after,
            EditorEvent event, const QString& text)
        : Step(history, event, text)
        , m_kind(kind)
        , m_row(row)
        , m_before(std::move(before))
        , m_after(std::move(after)) {}

protected:
    void apply() override {
        switch (m_kind) {
        case Kind::Add:
            model().insert(m_row, m_after);
            break;
        case Kind::Update:
            model().update(m_row, m_after);
            break;
        case Kind::Delete:
            model().remove(m_row);
            break;
        }
    }
    void revert() override {
        switch (m_kind) {
        case Kind::Add:
            model().remove(m_row);
            break;
        case Kind::Update:
            model().update(m_row, m_before);
            break;
        case Kind::Delete:
            model().insert(m_row, m_before);
            break;
        }
    }

private:
    Kind m_kind;
    int m_row;
    Point m_before;
    Point m_after;
};

// Rows appended together (an import), taken back together.
class EditorHistory::RowsStep : public Step {
public:
    RowsStep(EditorHistory& history, int first, PointList rows)
        : Step(history, EditorEvent::RowAdded, QStringLiteral("CSVﾌｧｲﾙの取り込み"))
        , m_first(first)
        , m_rows(std::move(rows)) {}

protected:
    void apply() override { model().appendAll(PointList(m_rows)); }
    void revert() override { model().removeRange(m_first, static_cast<int>(m_rows.size())); }

private:
    int m_first;
    PointList m_rows;
};

class EditorHistory::MapStep : public Step {
public:
    MapStep(EditorHistory& history, EditorMap before, EditorMap after, EditorEvent event,
            const QString& text)
        : Step(history, event, text)
        , m_before(std::move(before))
        , m_after(std::move(after)) {}

protected:
    void apply() override { m_history.showMap(m_after); }
    void revert() override { m_history.showMap(m_before); }

private:
    EditorMap m_before;
    EditorMap m_after;
};

EditorHistory::EditorHistory(PointTableModel& model, EditorDocument& document, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_document(document)
    , m_stack(new QUndoStack(this)) {
    connect(m_stack, &QUndoStack::indexChanged, this, &EditorHistory::followIndex);
}

EditorHistory::~EditorHistory() = default;

void EditorHistory::push(QUndoCommand* step) {
    const int at = m_stack->index();
    m_flags.resize(at + 1);
    m_flags[at] = m_document.isModified();
    m_pushing = true;
    m_stack->push(step); // runs the step's first redo()
    m_pushing = false;
    m_flags.append(m_document.isModified());
}

void EditorHistory::followIndex(int index) {
    if (m_pushing)
        return;
    // After a save only the saved state is unchanged; the stack forgets that state (clean index
    // -1) once a new step replaces the steps undone past it.
    if (m_saved)
        m_document.setModified(index != m_stack->cleanIndex());
    else
        m_document.setModified(m_flags.value(index, true));
}

void EditorHistory::showMap(const EditorMap& map) {
    m_document.setMapReference(map.reference);
    m_mapPicture = map.picture;
    emit mapChanged(map.picture, map.reference);
}

bool EditorHistory::addRow(const Point& point) {
    if (m_model.table().isFull())
        return false;
    push(new RowStep(*this, RowStep::Kind::Add, m_model.table().rowCount(), Point{}, point,
                     EditorEvent::RowAdded, QStringLiteral("追加")));
    return true;
}

bool EditorHistory::updateRow(int row, const Point& point) {
    if (!m_model.table().contains(row))
        return false;
    push(new RowStep(*this, RowStep::Kind::Update, row, m_model.table().row(row), point,
                     EditorEvent::RowUpdated, QStringLiteral("更新")));
    return true;
}

bool EditorHistory::movePoint(int row, const QString& x, const QString& y) {
    if (!m_model.table().contains(row))
        return false;
    const Point& before = m_model.table().row(row);
    if (before[ColumnX] == x && before[ColumnY] == y)
        return false;
    Point after = before;
    after[ColumnX] = x;
    after[ColumnY] = y;
    // A move is stored as an update would store it.
    push(new RowStep(*this, RowStep::Kind::Update, row, before, std::move(after),
                     EditorEvent::RowUpdated, QStringLiteral("移動")));
    return true;
}

bool EditorHistory::deleteRow(int row) {
    if (!m_model.table().contains(row))
        return false;
    push(new RowStep(*this, RowStep::Kind::Delete, row, m_model.table().row(row), Point{},
                     EditorEvent::RowDeleted, QStringLiteral("削除")));
    return true;
}

int EditorHistory::appendRows(PointList rows) {
    const int first = m_model.table().rowCount();
    const int taken = std::min(kMaxPoints - first, static_cast<int>(rows.size()));
    if (taken <= 0)
        return 0;
    rows.resize(taken);
    push(new RowsStep(*this, first, std::move(rows)));
    return taken;
}

void EditorHistory::chooseMap(const EditorMap& map) {
    push(new MapStep(*this, {m_mapPicture, m_document.mapReference()}, map, EditorEvent::MapChosen,
                     QStringLiteral("ﾏｯﾌﾟを開く")));
}

void EditorHistory::nameMapRelatively(const EditorMap& map) {
    push(new MapStep(*this, {m_mapPicture, m_document.mapReference()}, map,
                     EditorEvent::RelativePathSet, QStringLiteral("相対ﾊﾟｽで指定")));
}

void EditorHistory::clear() {
    m_pushing = true; // clearing is no step back: the flag stays as the caller has it
    m_stack->clear();
    m_pushing = false;
    m_flags.clear();
    m_saved = false;
    m_mapPicture = QImage();
}

void EditorHistory::markSaved() {
    m_stack->setClean();
    m_saved = true;
}
