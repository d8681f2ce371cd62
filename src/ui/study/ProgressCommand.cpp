#include "ui/study/ProgressCommand.h"

#include "ui/study/ProgressView.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QPluginLoader>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

QStringList ProgressCommand::pluginFolders() {
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/plugins")};
}

MessageRequest ProgressCommand::missingMessage() {
    return MessageRequest::error(
        QStringLiteral("学習の記録を表示できません。\r表示に必要なﾌｧｲﾙ %1 が見つからないか、"
                       "読み込めません。\rZAV地図覚えをｲﾝｽﾄｰﾙし直してください。")
            .arg(QString::fromLatin1(kPluginFile)));
}

ProgressCommand::ProgressCommand(Services& services, QWidget* parent, const QStringList& folders)
    : m_services(services)
    , m_parent(parent)
    , m_folders(folders) {
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &ProgressCommand::counted);
}

ProgressCommand::~ProgressCommand() {
    m_watcher.cancel();
    m_watcher.waitForFinished();
}

ProgressView* ProgressCommand::view() {
    if (m_view)
        return m_view;
    for (const QString& folder : m_folders) {
        // The loader stays: the plugin's code is needed as long as its window lives.
        auto* loader =
            new QPluginLoader(QDir(folder).filePath(QString::fromLatin1(kPluginFile)), this);
        if (loader->load() && (m_view = qobject_cast<ProgressView*>(loader->instance())))
            return m_view;
        qWarning().noquote() << "Cannot load the progress charts:" << loader->errorString();
        delete loader;
    }
    return nullptr;
}

void ProgressCommand::open(ProgressRequest request) {
    // Before any counting: without the plugin there is nothing to show them in.
    if (!view()) {
        m_services.message(missingMessage());
        return;
    }
    m_watcher.cancel();
    m_watcher.setFuture(
        QtConcurrent::run([request = std::move(request)] { return request.read(); }));
}

void ProgressCommand::counted() {
    // A superseded count's news may arrive after the next one began.
    const QFuture<ProgressData> future = m_watcher.future();
    if (!future.isFinished() || future.isCanceled() || future.resultCount() == 0)
        return;
    if (!m_window)
        m_window = m_view->createWindow(m_parent);
    m_view->setData(m_window, future.result());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit shown();
}
