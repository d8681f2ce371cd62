#include "app/HelpFile.h"

#include "platform/Files.h"

namespace HelpFile {

QString fileName() {
    return QStringLiteral("ZAV地図覚えヘルプ.hlp");
}

QString find(const QString& ownFolder) {
    const QString lower = ownFolder + fileName();
    if (Files::fileExists(lower))
        return lower;
    const QString upper = ownFolder + QStringLiteral("ZAV地図覚えヘルプ.HLP");
    if (Files::fileExists(upper))
        return upper;
    return QString();
}

} // namespace HelpFile
