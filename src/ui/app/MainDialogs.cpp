#include "ui/app/MainDialogs.h"

#include "core/app/AppSession.h"
#include "core/platform/Services.h"
#include "ui/dialogs/JudgingDialog.h"
#include "ui/dialogs/OptionsDialog.h"
#include "ui/editor/EditorWindow.h"

MainDialogs::MainDialogs(Services& services, AppSession& session, const QString& helpFile,
                         QWidget& window)
    : m_services(services)
    , m_session(session)
    , m_helpFile(helpFile)
    , m_window(window) {}

void MainDialogs::openEditor() {
    // A new editor each time, so every opening starts afresh; this window waits until it closes.
    EditorWindow editor(m_services, &m_window);
    editor.exec();
}

void MainDialogs::openOptions() {
    // A new dialog each time, so it starts from the current option; this window waits.
    OptionsDialog options(m_session.startupOption(), &m_window);
    if (options.exec() == QDialog::Accepted)
        m_session.setStartupOption(options.startupOption());
}

void MainDialogs::openJudging() {
    JudgingDialog dialog(m_session.judgingOptions(), &m_window);
    if (dialog.exec() == QDialog::Accepted)
        m_session.setJudgingOptions(dialog.options());
}

void MainDialogs::showHelp() {
    if (m_helpFile.isEmpty()) {
        // Without a help file there is nothing a viewer could show, so none is opened.
        m_services.message(
            QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙが見つかりません。") + u'\r' +
                QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙは、実行ﾌｧｲﾙと同じﾃﾞｨﾚｸﾄﾘにおいてください。"),
            QStringLiteral("ﾍﾙﾌﾟ"), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    m_services.showHelp(m_helpFile);
}

QString MainDialogs::versionText() {
    return QStringLiteral("ZAV 地図覚え  Ver%1.%2").arg(ZAV_VERSION_MAJOR).arg(ZAV_VERSION_MINOR);
}

void MainDialogs::showVersion() {
    m_services.message(versionText(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), MessageButtons::Ok,
                       MessageIcon::None);
}
