#include "app/AppSession.h"

#include "data/HistoryFile.h"
#include "platform/Files.h"

#include <QDebug>

AppSession::AppSession(const QString& ownFolder)
    : m_ownFolder(ownFolder) {}

StartupDecision AppSession::start(const QString& commandLine,
                                  const StartupPlan::AskRecentFile& ask) {
    if (m_started) {
        StartupDecision nothing;
        nothing.startupOption = m_settings.startupOption;
        return nothing;
    }
    m_started = true;
    HistoryFile::read(Files::joinPath(m_ownFolder, HistoryFile::fileName()), m_recentFiles);
    const QString settingsPath = Files::joinPath(m_ownFolder, SettingsFile::fileName());

    StartupInputs inputs;
    inputs.history = m_recentFiles.entries();
    inputs.storedSetting = SettingsFile::readStoredValue(settingsPath);
    inputs.commandLine = commandLine;
    m_settings.namedOptions = SettingsFile::readNamedOptions(settingsPath);
    const StartupDecision decision = StartupPlan::decide(inputs, ask);
    m_settings.startupOption = decision.startupOption;
    return decision;
}

void AppSession::save() {
    if (!m_started || m_saved)
        return;
    m_saved = true;
    QString error;
    QStringList leftOut;
    const QString history = Files::joinPath(m_ownFolder, HistoryFile::fileName());
    if (!HistoryFile::write(history, m_recentFiles, &error, &leftOut))
        qWarning().noquote() << "Cannot write" << history << ":" << error;
    for (const QString& entry : leftOut)
        qWarning().noquote() << "Left out of" << history << ":" << HistoryFile::describeLeftOut(entry);
    const QString settings = Files::joinPath(m_ownFolder, SettingsFile::fileName());
    if (!SettingsFile::write(settings, m_settings, &error))
        qWarning().noquote() << "Cannot write" << settings << ":" << error;
}
