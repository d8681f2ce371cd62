#pragma once

#include "platform/Services.h"

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

// What start-up decided: the messages to show (in order, before any load) and the question
// file to load, empty for none.
struct StartupDecision {
    QList<MessageRequest> messages;
    QString startupPath; // a full path
    bool recentDialogShown = false;
};

namespace StartupPlan {

// The command-line argument text from QCoreApplication::arguments() (taken after Qt removed
// its own options): every argument after the program name, joined by single spaces.
QString commandLineText(const QStringList& arguments);

// True for the two extensions a question file on the command line may have: "ZVM", "zvm".
bool hasQuestionFileExtension(const QString& path);

// Runs the start-up decision. `startupOption` (Module1::StartupOption in the program) is set
// before the recent-files dialog is asked, so the dialog may still change it. The dialog is
// asked only with the settings value "True" and a non-empty history; it returns the chosen
// path, empty when nothing was chosen.
StartupDecision decide(const StartupInputs& inputs, QString& startupOption,
                       const std::function<QString()>& askRecentFile);

} // namespace StartupPlan
