#include "core/editor/MapCommands.h"

#include "core/editor/EditorFiles.h"
#include "core/editor/EditorHistory.h"
#include "core/editor/EditorRules.h"

MapCommands::MapCommands(Services& services, EditorHistory& history, const EditorDocument& document)
    : m_services(services)
    , m_history(history)
    , m_document(document) {
    m_dialog.filter = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)|*.bmp");
}

void MapCommands::chooseMap() {
    const QString path = m_services.openFileName(m_dialog);
    if (path.isEmpty())
        return;
    const EditorFiles::MapFile map = EditorFiles::loadMap(path);
    if (map.refusal) {
        m_services.message(*map.refusal);
        return;
    }
    m_history.chooseMap({map.picture, path});
}

void MapCommands::nameMapRelatively() {
    if (const std::optional<MessageRequest> refusal = EditorFiles::relativeMapRefusal(m_document)) {
        m_services.message(*refusal);
        return;
    }
    const QString typed = m_services.inputBox(EditorFiles::relativeMapPrompt(m_document),
                                              EditorRules::Text::mapTitle());
    if (typed.isEmpty())
        return;
    const EditorFiles::RelativeMap relative = EditorFiles::relativeMap(m_document, typed);
    if (relative.refusal) {
        m_services.message(*relative.refusal);
        return;
    }
    const EditorFiles::MapFile map = EditorFiles::loadMap(relative.path);
    if (map.refusal) {
        m_services.message(*map.refusal);
        return;
    }
    m_history.nameMapRelatively({map.picture, relative.reference});
}
