#pragma once

class QCoreApplication;

// Qt's own texts in Japanese whatever the system's language, since the program speaks only
// Japanese: the file, print and preview dialogs, the input box, the question before a file is
// replaced and the standard buttons.
namespace QtLanguage {

// Makes Japanese the default locale and installs Qt's Japanese catalogue, from Qt's translations
// folder, into `app`. Call once, before the first window is made. False, with one line on
// standard error, when the catalogue is not installed (Debian: qt6-translations-l10n): Qt's
// texts then stay English.
bool useJapanese(QCoreApplication& app);

} // namespace QtLanguage
