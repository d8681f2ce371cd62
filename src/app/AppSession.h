#pragma once

#include "app/StartupPlan.h"
#include "data/RecentFiles.h"
#include "data/SettingsFile.h"
#include "quiz/JudgingOptions.h"

#include <QString>

// What the program remembers from one run to the next: the recent-files list and the settings
// (the start-up option and any named options), kept in two files in the own folder. start()
// reads them and decides what to open; save() writes them back at exit. No windows here.
class AppSession {
public:
    // `ownFolder` ends with one "/".
    explicit AppSession(const QString& ownFolder);

    const QString& ownFolder() const { return m_ownFolder; }

    RecentFiles& recentFiles() { return m_recentFiles; }
    const RecentFiles& recentFiles() const { return m_recentFiles; }

    StartupOption startupOption() const { return m_settings.startupOption; }
    void setStartupOption(StartupOption option) { m_settings.startupOption = option; }
    const Settings& settings() const { return m_settings; }
    // How typed answers are judged, kept as named options of the settings file.
    JudgingOptions judgingOptions() const {
        return Judging::fromNamedOptions(m_settings.namedOptions);
    }
    void setJudgingOptions(const JudgingOptions& options) {
        Judging::storeInNamedOptions(options, m_settings.namedOptions);
    }

    // Reads the history file, then the settings file, and decides what the start opens from
    // them and the command-line argument text. Runs once; a second call decides nothing.
    StartupDecision start(const QString& commandLine, const StartupPlan::AskRecentFile& ask);
    bool hasStarted() const { return m_started; }

    // Writes the history file, then the settings file, once and only after start(). A failure
    // is reported on standard error and keeps nothing else from happening.
    void save();

private:
    QString m_ownFolder;
    RecentFiles m_recentFiles;
    Settings m_settings;
    bool m_started = false;
    bool m_saved = false;
};
