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

    static QString recordingName() { return QStringLiteral("Recording"); }
    static QString reviewOpensName() { return QStringLiteral("ReviewOpens"); }

    // Reads the options from the named options; a missing name or a value other than exactly
    // "True" or "False" gives the default.
    static StudyOptions fromNamed(const QMap<QString, QString>& named);

    // Puts the options into `named`: "False" for an option turned off, and the name removed for
    // one at its default. Other names are left as they are.
    void writeTo(QMap<QString, QString>& named) const;

    friend bool operator==(const StudyOptions&, const StudyOptions&) = default;
};
