#pragma once

#include "core/app/StartupPlan.h"
#include "core/app/StorageLocation.h"
#include "core/data/JudgingOptions.h"
#include "core/data/QuizTerms.h"
#include "core/data/RecentFiles.h"
#include "core/data/SettingsFile.h"
#include "core/data/StudyOptions.h"

#include <QString>

// What the program remembers from one run to the next: the recent-files list and the settings
// (the start-up option and any named options), kept in two files in the folder StorageLocation
// chooses: the own folder when it may be written, else the user's configuration folder. start()
// reads them and decides what to open; save() writes them back at exit. No windows here.
class AppSession {
public:
    // Both folders end with one "/".
    explicit AppSession(const QString& ownFolder,
                        const QString& configFolder = StorageLocation::userConfigFolder());

    const QString& ownFolder() const { return m_ownFolder; }
    // Where the files are read and written, chosen by start(); files of the program's own that
    // are added later (the study record) go there too.
    const StorageLocation& storage() const { return m_storage; }
    // The folder of the settings file, where the study record lives too: the storage folder
    // once start() has chosen it (empty when nothing can be saved), the own folder before.
    QString settingsFolder() const {
        if (!m_started)
            return m_ownFolder;
        return m_storage.canSave() ? m_storage.folder() : QString();
    }

    RecentFiles& recentFiles() { return m_recentFiles; }
    const RecentFiles& recentFiles() const { return m_recentFiles; }

    StartupOption startupOption() const { return m_settings.startupOption; }
    void setStartupOption(StartupOption option) { m_settings.startupOption = option; }
    const Settings& settings() const { return m_settings; }
    // How typed answers are judged, kept as named options of the settings file.
    JudgingOptions judgingOptions() const {
        return JudgingOptions::fromNamed(m_settings.namedOptions);
    }
    void setJudgingOptions(const JudgingOptions& options) {
        options.writeTo(m_settings.namedOptions);
    }
    // The study options, kept as named options of the settings file.
    StudyOptions studyOptions() const { return StudyOptions::fromNamed(m_settings.namedOptions); }
    void setStudyOptions(const StudyOptions& options) { options.writeTo(m_settings.namedOptions); }
    // The answer method the next quiz uses. Only 選択式 is kept from one run to the next, as
    // the named option "AnswerMethod"="Choice": the others leave the settings file as it was.
    AnswerMethod answerMethod() const;
    void setAnswerMethod(AnswerMethod method);

    // Chooses the storage folder (saying once on standard error when nothing can be saved),
    // reads the history file, then the settings file, and decides what the start opens from
    // them and the command-line argument text. Runs once; a second call decides nothing.
    StartupDecision start(const QString& commandLine, const StartupPlan::AskRecentFile& ask);
    bool hasStarted() const { return m_started; }

    // Writes the history file, then the settings file, once and only after start(), and only
    // when the storage folder can be written. A failure is reported on standard error and
    // keeps nothing else from happening.
    void save();

private:
    QString m_ownFolder;
    QString m_configFolder;
    StorageLocation m_storage;
    RecentFiles m_recentFiles;
    Settings m_settings;
    bool m_started = false;
    bool m_saved = false;
};
