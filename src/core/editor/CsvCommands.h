#pragma once

#include "core/platform/Services.h"

class EditorHistory;
class PointTable;

// The editor's CSV commands of the ﾌｧｲﾙ menu, without a window: the file dialog, the read or
// write, the rows appended as one step that undo takes back, and the one message.
class CsvCommands {
public:
    CsvCommands(Services& services, EditorHistory& history, const PointTable& table);

    // Appends the rows of a chosen CSV file that pass the add button's checks and reports what
    // came in and every line that did not. A refused file changes nothing.
    void importFile();
    // Writes every row to a chosen CSV file; a failure keeps any old file and says why.
    void exportFile();

    // One dialog for both, so each starts with the file chosen last in either.
    const FileDialogState& dialog() const { return m_dialog; }

private:
    Services& m_services;
    EditorHistory& m_history;
    const PointTable& m_table;
    FileDialogState m_dialog;
};
