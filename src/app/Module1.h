#pragma once

#include <QString>

// The program's one global: what the next start does without a command line. Start-up sets
// it, the recent-files and options dialogs change it, the exit step saves it.
namespace Module1 {

// One of "Auto", "Dialog", "Manual" (SettingsFile::kAuto, kDialog, kManual).
extern QString StartupOption;

} // namespace Module1
