#include "editor/EditorDocument.h"

bool EditorDocument::flagAfter(EditorEvent event, bool before) {
    switch (event) {
    case EditorEvent::RowAdded:
    case EditorEvent::RowUpdated:
    case EditorEvent::RowDeleted:
    case EditorEvent::MapChosen:
    case EditorEvent::RelativePathSet:
        return true;
    case EditorEvent::EditorOpened:
    case EditorEvent::NewCompleted:
    case EditorEvent::Saved:
    case EditorEvent::FileOpened:
        return false;
    case EditorEvent::SaveFailed:
    case EditorEvent::FileOpenIncomplete:
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
    m_modified = false;
}
