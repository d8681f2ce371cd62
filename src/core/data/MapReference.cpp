#include "core/data/MapReference.h"

#include "core/platform/Files.h"

namespace MapReference {

bool isRelative(const QString& reference) {
    return reference.startsWith(kRelativePrefix);
}

QString resolveInFolder(const QString& relativeText, const QString& folder) {
    QString relative = relativeText;
    relative.replace(u'\\', u'/');
    return Files::joinPath(folder, relative);
}

QString resolve(const QString& reference, const QString& questionFilePath) {
    if (!isRelative(reference))
        return reference;
    return resolveInFolder(reference, Files::parentFolder(questionFilePath));
}

} // namespace MapReference
