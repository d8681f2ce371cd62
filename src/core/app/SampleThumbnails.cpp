#include "core/app/SampleThumbnails.h"

#include "core/data/TableSink.h"

#include <QtConcurrent/QtConcurrentMap>

SampleThumbnails::SampleThumbnails(QObject* parent)
    : QObject(parent) {
    connect(&m_watcher, &QFutureWatcherBase::resultReadyAt, this,
            [this](int index) { emit ready(index, m_watcher.resultAt(index)); });
}

SampleThumbnails::~SampleThumbnails() {
    m_watcher.cancel();
    m_watcher.waitForFinished();
}

void SampleThumbnails::start(const QStringList& questionFiles) {
    m_watcher.cancel();
    m_watcher.waitForFinished();
    m_watcher.setFuture(QtConcurrent::mapped(
        questionFiles, [](const QString& questionFile) { return make(questionFile); }));
}

QImage SampleThumbnails::make(const QString& questionFile, QSize size) {
    // A table of its own: a read touches nothing another thread uses.
    QuestionTable table;
    TableSink sink(table);
    if (QuestionFile::read(questionFile, sink) != ReadOutcome::Success || sink.map.isNull())
        return QImage();
    return sink.map.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
