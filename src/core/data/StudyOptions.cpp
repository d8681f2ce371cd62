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

int readNumber(const QMap<QString, QString>& named, const QString& name, int low, int high,
               int fallback) {
    bool ok = false;
    const int value = named.value(name).toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

void writeNumber(QMap<QString, QString>& named, const QString& name, int value, int fallback) {
    if (value == fallback)
        named.remove(name);
    else
        named.insert(name, QString::number(value));
}

} // namespace

StudyOptions StudyOptions::fromNamed(const QMap<QString, QString>& named) {
    const StudyOptions defaults;
    StudyOptions options;
    options.recording = readFlag(named, recordingName(), defaults.recording);
    options.reviewOpens = readFlag(named, reviewOpensName(), defaults.reviewOpens);
    options.retentionPercent = readNumber(named, retentionName(), kMinRetentionPercent,
                                          kMaxRetentionPercent, defaults.retentionPercent);
    options.newPerDay = readNumber(named, newPerDayName(), 0, kMaxNewPerDay, defaults.newPerDay);
    return options;
}

void StudyOptions::writeTo(QMap<QString, QString>& named) const {
    const StudyOptions defaults;
    writeFlag(named, recordingName(), recording, defaults.recording);
    writeFlag(named, reviewOpensName(), reviewOpens, defaults.reviewOpens);
    writeNumber(named, retentionName(), retentionPercent, defaults.retentionPercent);
    writeNumber(named, newPerDayName(), newPerDay, defaults.newPerDay);
}
