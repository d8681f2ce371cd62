#pragma once

#include <QStringList>

// The recently opened question files, most recent first, no two equal (compared exactly,
// letter case included). The list may grow past what the history file keeps.
class RecentFiles {
public:
    static constexpr int kSavedEntries = 20;

    const QStringList& entries() const { return m_entries; }
    int count() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // After a successful load: every equal entry goes, and the path comes first.
    // An empty path changes nothing.
    void add(const QString& path) {
        if (path.isEmpty())
            return;
        m_entries.removeAll(path);
        m_entries.prepend(path);
    }

    // Reading the history file appends entries as they stand, duplicates and all.
    void append(const QString& entry) { m_entries.append(entry); }

    // The entries the history file keeps.
    QStringList savedEntries() const { return m_entries.mid(0, kSavedEntries); }

private:
    QStringList m_entries;
};
