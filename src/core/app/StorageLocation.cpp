#include "core/app/StorageLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Asks the file system itself rather than the permission bits: a read-only mount, an ACL or
// root's rights all give the true answer. The probe file is gone again before this returns.
bool canWriteIn(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral(".zavmap-probe-XXXXXX"));
    return probe.open();
}

} // namespace

StorageLocation StorageLocation::choose(const QString& programFolder, const QString& configFolder) {
    StorageLocation location;
    if (canWriteIn(programFolder)) {
        location.m_place = Place::ProgramFolder;
        location.m_folder = programFolder;
        return location;
    }
    const bool made = !configFolder.isEmpty() && QDir().mkpath(configFolder);
    if (made && canWriteIn(configFolder)) {
        location.m_place = Place::ConfigFolder;
        location.m_folder = configFolder;
        return location;
    }
    if (made)
        location.m_folder = configFolder;
    const QString config = configFolder.isEmpty() ? QStringLiteral("the configuration folder")
                                                  : QDir::toNativeSeparators(configFolder);
    location.m_problem =
        QStringLiteral("This run saves no settings or history: %1 cannot be written and %2 "
                       "cannot be %3.")
            .arg(QDir::toNativeSeparators(programFolder), config,
                 made ? QStringLiteral("written") : QStringLiteral("created"));
    return location;
}

QString StorageLocation::userConfigFolder() {
    // The folder AppConfigLocation names for a program called zavmap, whatever name the
    // executable was started under.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/zavmap/");
}
