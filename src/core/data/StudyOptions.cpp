#include "core/data/StudyOptions.h"

namespace {

bool readFlag(const QMap<QString, QString>& named, const QString& name, bool fallback) {
    const auto it = named.constFind(name);
    if (it == named.cend())
        return fallback;
    if (*it == u"True")
        return true;
    if (*it == u"False")
        return false;
    return fallback;
}

void writeFlag(QMap<QString, QString>& named, const QString& name, bool value, bool fallback) {
    if (value == fallback)
        named.remove(name);
    else
        named.insert(name, value ? QStringLiteral("True") : QStringLiteral("False"));
}

} // namespace

StudyOptions StudyOptions::fromNamed(const QMap<QString, QString>& named) {
    const StudyOptions defaults;
    StudyOptions options;
    options.recording = readFlag(named, recordingName(), defaults.recording);
    options.reviewOpens = readFlag(named, reviewOpensName(), defaults.reviewOpens);
    return options;
}

void StudyOptions::writeTo(QMap<QString, QString>& named) const {
    const StudyOptions defaults;
    writeFlag(named, recordingName(), recording, defaults.recording);
    writeFlag(named, reviewOpensName(), reviewOpens, defaults.reviewOpens);
}
