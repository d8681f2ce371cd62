#include "core/editor/EditorDocument.h"

#include <QDateTime>
#include <QFileInfo>

DiskStamp DiskStamp::of(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified().toMSecsSinceEpoch()};
}

bool EditorDocument::flagAfter(EditorEvent event, bool before) {
    switch (event) {
    case EditorEvent::RowAdded:
    case EditorEvent::RowUpdated:
    case EditorEvent::MapChosen:
        return true;
    case EditorEvent::EditorOpened:
    case EditorEvent::NewCompleted:
    case EditorEvent::Saved:
    case EditorEvent::FileOpened:
        return false;
    case EditorEvent::SaveFailed:
    case EditorEvent::FileOpenIncomplete:
    // Deleting a row and naming the map relatively leave the flag as it was: a relative map is
    // named just before saving, and closing without a question is what users know here.
    case EditorEvent::RowDeleted:
    case EditorEvent::RelativePathSet:
    case EditorEvent::ModeSwitched:
    case EditorEvent::MapPressed:
    case EditorEvent::BoxTyped:
        return before;
    }
    return before;
}

void EditorDocument::reset() {
    m_editingFileName.clear();
    m_mapReference.clear();
    m_diskStamp = {};
    m_modified = false;
}
