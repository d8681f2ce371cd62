#include "core/app/AppSession.h"

#include "core/data/HistoryFile.h"
#include "core/platform/Files.h"

#include <QDebug>

AppSession::AppSession(const QString& ownFolder, const QString& configFolder)
    : m_ownFolder(ownFolder)
    , m_configFolder(configFolder) {}

StartupDecision AppSession::start(const QString& commandLine,
                                  const StartupPlan::AskRecentFile& ask) {
    if (m_started) {
        StartupDecision nothing;
        nothing.startupOption = m_settings.startupOption;
        return nothing;
    }
    m_started = true;
    m_storage = StorageLocation::choose(m_ownFolder, m_configFolder);
    if (!m_storage.canSave())
        qWarning().noquote() << m_storage.problem();

    StartupInputs inputs;
    // Without a folder there is nothing to read: the files count as missing.
    if (const QString& folder = m_storage.folder(); !folder.isEmpty()) {
        HistoryFile::read(Files::joinPath(folder, HistoryFile::fileName()), m_recentFiles);
        const QString settingsPath = Files::joinPath(folder, SettingsFile::fileName());
        inputs.storedSetting = SettingsFile::readStoredValue(settingsPath);
        m_settings.namedOptions = SettingsFile::readNamedOptions(settingsPath);
    }
    inputs.history = m_recentFiles.entries();
    inputs.commandLine = commandLine;
    const StartupDecision decision = StartupPlan::decide(inputs, ask);
    m_settings.startupOption = decision.startupOption;
    return decision;
}

void AppSession::save() {
    if (!m_started || m_saved || !m_storage.canSave())
        return;
    m_saved = true;
    QString error;
    QStringList leftOut;
    const QString history = Files::joinPath(m_storage.folder(), HistoryFile::fileName());
    if (!HistoryFile::write(history, m_recentFiles, &error, &leftOut))
        qWarning().noquote() << "Cannot write" << history << ":" << error;
    for (const QString& entry : leftOut)
        qWarning().noquote() << "Left out of" << history << ":"
                             << HistoryFile::describeLeftOut(entry);
    const QString settings = Files::joinPath(m_storage.folder(), SettingsFile::fileName());
    if (!SettingsFile::write(settings, m_settings, &error))
        qWarning().noquote() << "Cannot write" << settings << ":" << error;
}

namespace {

const QString& answerMethodName() {
    static const QString name = QStringLiteral("AnswerMethod");
    return name;
}
const QString& choiceValue() {
    static const QString value = QStringLiteral("Choice");
    return value;
}

} // namespace

AnswerMethod AppSession::answerMethod() const {
    return m_settings.namedOptions.value(answerMethodName()) == choiceValue()
               ? AnswerMethod::Choice
               : AnswerMethod::Typing;
}

void AppSession::setAnswerMethod(AnswerMethod method) {
    if (method == AnswerMethod::Choice)
        m_settings.namedOptions.insert(answerMethodName(), choiceValue());
    else
        m_settings.namedOptions.remove(answerMethodName());
}
