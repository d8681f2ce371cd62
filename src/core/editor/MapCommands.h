#pragma once

#include "core/platform/Services.h"

class EditorDocument;
class EditorHistory;

// The editor's ﾏｯﾌﾟ menu without a window: the map dialog or the input box, the checks, and
// the map taken into the document as a step that undo takes back. The window shows the map
// when the history reports it.
class MapCommands {
public:
    MapCommands(Services& services, EditorHistory& history, const EditorDocument& document);

    void chooseMap();
    void nameMapRelatively();

    const FileDialogState& dialog() const { return m_dialog; }

private:
    Services& m_services;
    EditorHistory& m_history;
    const EditorDocument& m_document;
    FileDialogState m_dialog;
};
