#pragma once

#include <QString>

// The help file that lives beside the program.
namespace HelpFile {

// "ZAV地図覚えヘルプ.hlp", the name the help file goes by.
QString fileName();

// The help file in `ownFolder` (which ends with a separator), or empty when there is none.
// The lower-case name is preferred; a file named with ".HLP" is taken when it is the only one,
// since on a case-sensitive file system the lower-case name would name no file.
QString find(const QString& ownFolder);

} // namespace HelpFile
