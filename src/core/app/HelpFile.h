#pragma once

#include <QString>

// The help file that lives beside the program, or in the install's data folder.
namespace HelpFile {

// "ZAV地図覚えヘルプ.hlp", the name the help file goes by.
QString fileName();

// The install's read-only data folder (help file, samples) seen from the program's own folder
// (which ends with a separator): "share/zavmap/" beside the program's "lib/zavmap/". Ends with
// "/".
QString installedDataFolder(const QString& ownFolder);

// The help file in `ownFolder` (which ends with a separator), else in installedDataFolder();
// empty when there is none. In each folder the lower-case name is preferred; a file named with
// ".HLP" is taken when it is the only one, since on a case-sensitive file system the lower-case
// name would name no file.
QString find(const QString& ownFolder);

} // namespace HelpFile
