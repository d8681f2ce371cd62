#pragma once

#include "core/data/SettingsFile.h"
#include "core/platform/Services.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What start-up knows before it decides anything.
struct StartupInputs {
    QStringList history;                  // the recent-files list as read from the history file
    std::optional<QString> storedSetting; // the settings file's value; nothing without a file
    QString commandLine;                  // the command-line argument text
};

// What start-up decided: the start-up option for this run, the messages to show (in order,
// before any load) and the question file to load, empty for none.
struct StartupDecision {
    StartupOption startupOption = StartupOption::Dialog;
    QList<MessageRequest> messages;
    QString startupPath; // a full path
    bool recentDialogShown = false;
};

// What the recent-files dialog handed back: the chosen path (empty for none) and the start-up
// option, which its check box may have switched.
struct RecentFileChoice {
    QString path;
    StartupOption startupOption = StartupOption::Dialog;
};

namespace StartupPlan {

// The command-line argument text from QCoreApplication::arguments() (taken after Qt removed
// its own options): every argument after the program name, joined by single spaces.
QString commandLineText(const QStringList& arguments);

// True for the two extensions a question file on the command line may have: "ZVM", "zvm".
bool hasQuestionFileExtension(const QString& path);

// Shows the recent-files dialog with the start-up option so far.
using AskRecentFile = std::function<RecentFileChoice(StartupOption current)>;

// Runs the start-up decision. The dialog is asked only with the settings value "True" and a
// non-empty history; the option it hands back is the option of the run.
StartupDecision decide(const StartupInputs& inputs, const AskRecentFile& askRecentFile);

} // namespace StartupPlan
