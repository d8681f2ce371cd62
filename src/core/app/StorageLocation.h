#pragma once

#include <QString>

// Where the program keeps the files it writes for itself (settings, history, study record).
// Its own folder, as always, when it may write there; otherwise (an install under /usr) the
// user's configuration folder, made on first use; otherwise nowhere, and the run saves nothing.
// The same folder is read at start-up and written at exit.
class StorageLocation {
public:
    enum class Place { ProgramFolder, ConfigFolder, Nowhere };

    // Decides between `programFolder` and `configFolder` (each ending with "/"), creating the
    // configuration folder when it is the one chosen and does not exist yet.
    static StorageLocation choose(const QString& programFolder,
                                  const QString& configFolder = userConfigFolder());

    // The user's configuration folder for this program, "~/.config/zavmap/" unless
    // XDG_CONFIG_HOME says otherwise; empty when there is no home to put it in.
    static QString userConfigFolder();

    Place place() const { return m_place; }
    bool canSave() const { return m_place != Place::Nowhere; }

    // Where the files are read and, when canSave(), written; ends with "/". When nothing can
    // be saved it is the configuration folder if that exists (read-only, it may still hold an
    // earlier run's files), else empty: nothing to read.
    const QString& folder() const { return m_folder; }

    // One line for standard error when nothing can be saved; empty otherwise.
    const QString& problem() const { return m_problem; }

private:
    Place m_place = Place::Nowhere;
    QString m_folder;
    QString m_problem;
};
