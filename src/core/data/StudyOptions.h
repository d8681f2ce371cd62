#pragma once

#include <QMap>
#include <QString>

// The study options, kept as named options of the settings file ("Name","Value" records after
// its first record). Each is written only while it differs from its default, so a user who
// changes nothing keeps the settings file byte for byte.
struct StudyOptions {
    // Every judged question goes into the study record.
    bool recording = true;
    // The review window opens by itself when a quiz ends.
    bool reviewOpens = true;
    // Today's review: the probability of recall, in percent, below which a point is asked again.
    int retentionPercent = 90;
    // Today's review: how many points never asked it takes up in a day.
    int newPerDay = 20;

    static constexpr int kMinRetentionPercent = 70;
    static constexpr int kMaxRetentionPercent = 97;
    static constexpr int kMaxNewPerDay = 32767; // a file's points at most

    static QString recordingName() { return QStringLiteral("Recording"); }
    static QString reviewOpensName() { return QStringLiteral("ReviewOpens"); }
    static QString retentionName() { return QStringLiteral("DesiredRetention"); }
    static QString newPerDayName() { return QStringLiteral("NewPointsPerDay"); }

    // Reads the options from the named options; a missing name, a flag other than exactly
    // "True" or "False" or a number that is not a whole number in its range gives the default.
    static StudyOptions fromNamed(const QMap<QString, QString>& named);

    // Puts the options into `named`: "False" for a flag turned off, the number for a number
    // changed, and the name removed for an option at its default. Other names are left as they
    // are.
    void writeTo(QMap<QString, QString>& named) const;

    friend bool operator==(const StudyOptions&, const StudyOptions&) = default;
};
