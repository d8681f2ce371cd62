#pragma once

#include <QString>

// How a file looked on disk when the editor last read or wrote it: enough to tell that another
// program, or another copy of this one, has written it since.
struct DiskStamp {
    bool exists = false;
    qint64 size = -1;
    qint64 modifiedMs = -1;

    static DiskStamp of(const QString& path);
    bool operator==(const DiskStamp&) const = default;
};

// What happens to the document being edited, as far as the unsaved-changes flag cares.
enum class EditorEvent {
    EditorOpened,
    RowAdded,
    RowUpdated,
    RowDeleted,
    MapChosen,       // a map picked with the map dialog
    RelativePathSet, // the map named relative to the question file's folder
    NewCompleted,
    Saved,
    SaveFailed,
    FileOpened,         // a read that reached the End record
    FileOpenIncomplete, // a read that stopped early (malformed, read error, too many points)
    ModeSwitched,
    MapPressed,
    BoxTyped,
};

// The document of the editor window: the question file it was last opened from or saved to,
// the map reference exactly as read or made, and whether it holds changes no save has written.
class EditorDocument {
public:
    // The flag after `event`, given the flag before it. Adding or updating a row and choosing a
    // map set it; a completed new file, save or read clears it; deleting a row, naming the map
    // relatively, looking around (presses, typing, mode switches) and a failed save or read
    // leave it alone.
    static bool flagAfter(EditorEvent event, bool before);

    bool isModified() const { return m_modified; }
    void apply(EditorEvent event) { m_modified = flagAfter(event, m_modified); }
    // Undo and redo put back the flag that belongs to the state they return to (EditorHistory);
    // everything else changes it through apply().
    void setModified(bool modified) { m_modified = modified; }

    const QString& editingFileName() const { return m_editingFileName; }
    void setEditingFileName(const QString& path) { m_editingFileName = path; }
    // A document that was never opened or saved has no name.
    bool isNamed() const { return !m_editingFileName.isEmpty(); }

    const QString& mapReference() const { return m_mapReference; }
    void setMapReference(const QString& reference) { m_mapReference = reference; }

    // The named file as this document last read or wrote it.
    const DiskStamp& diskStamp() const { return m_diskStamp; }
    void setDiskStamp(const DiskStamp& stamp) { m_diskStamp = stamp; }

    // Unnamed, no map, no changes: the state of a new editor window and of New.
    void reset();

private:
    DiskStamp m_diskStamp;
    QString m_editingFileName;
    QString m_mapReference;
    bool m_modified = false;
};
