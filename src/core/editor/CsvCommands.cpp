#include "core/editor/CsvCommands.h"

#include "core/editor/EditorHistory.h"
#include "core/editor/PointCsv.h"
#include "core/editor/PointTable.h"

CsvCommands::CsvCommands(Services& services, EditorHistory& history, const PointTable& table)
    : m_services(services)
    , m_history(history)
    , m_table(table) {
    m_dialog.filter = PointCsv::dialogFilter();
}

void CsvCommands::importFile() {
    const QString path = m_services.openFileName(m_dialog);
    if (path.isEmpty())
        return;
    PointCsv::Import import = PointCsv::read(path, kMaxPoints - m_table.rowCount());
    if (import.refusal) {
        m_services.message(*import.refusal);
        return;
    }
    const MessageRequest report = PointCsv::report(import);
    m_history.appendRows(std::move(import.rows));
    m_services.message(report);
}

void CsvCommands::exportFile() {
    const QString path = m_services.saveFileName(m_dialog);
    if (path.isEmpty())
        return;
    if (const std::optional<MessageRequest> failure = PointCsv::write(path, m_table.rows()))
        m_services.message(*failure);
}
