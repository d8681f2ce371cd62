#include "core/app/HelpFile.h"

#include "core/platform/Files.h"

#include <QDir>

// Set by the build from the install layout (packaging/Layout.cmake).
#ifndef ZAV_DATA_FROM_PROGRAM
#define ZAV_DATA_FROM_PROGRAM "../../share/zavmap"
#endif

namespace HelpFile {

namespace {

QString findIn(const QString& folder) {
    const QString lower = folder + fileName();
    if (Files::fileExists(lower))
        return lower;
    const QString upper = folder + QStringLiteral("ZAV地図覚えヘルプ.HLP");
    if (Files::fileExists(upper))
        return upper;
    return QString();
}

} // namespace

QString fileName() {
    return QStringLiteral("ZAV地図覚えヘルプ.hlp");
}

QString installedDataFolder(const QString& ownFolder) {
    return QDir::cleanPath(ownFolder + QStringLiteral(ZAV_DATA_FROM_PROGRAM)) + u'/';
}

QString find(const QString& ownFolder) {
    const QString beside = findIn(ownFolder);
    return beside.isEmpty() ? findIn(installedDataFolder(ownFolder)) : beside;
}

} // namespace HelpFile
