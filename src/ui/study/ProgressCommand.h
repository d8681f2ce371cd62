#pragma once

#include "core/platform/Services.h"
#include "core/study/ProgressData.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QStringList>

class ProgressView;
class QWidget;

// 学習の記録: counts the record off the UI thread, then shows the counts in the window of the
// plugin, which is loaded on first use from the folders given.
class ProgressCommand : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kPluginFile = "libzavprogress.so";
    // Where the plugin is looked for: "plugins" beside the program, in the build tree as
    // installed.
    static QStringList pluginFolders();
    static MessageRequest missingMessage();

    ProgressCommand(Services& services, QWidget* parent,
                    const QStringList& folders = pluginFolders());
    // Waits for a count under way, which may still be reading the record.
    ~ProgressCommand() override;

    // The window shows once the counts are ready; a count under way gives way to this one.
    // Without the plugin, the user is told and nothing opens.
    void open(ProgressRequest request);
    // Null until first shown.
    QWidget* window() const { return m_window; }

signals:
    void shown();

private:
    void counted();
    ProgressView* view();

    Services& m_services;
    QWidget* m_parent;
    QStringList m_folders;
    ProgressView* m_view = nullptr; // owned by its loader, loaded until the program ends
    QPointer<QWidget> m_window;
    QFutureWatcher<ProgressData> m_watcher;
};
