#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>

// Small pictures of the sample quizzes' maps. Reading a map and shrinking it takes a moment
// each, so they are made on worker threads and reported one by one as they are done: the
// dialog that lists the quizzes opens at once and fills in its pictures.
class SampleThumbnails : public QObject {
    Q_OBJECT
public:
    // The box each picture is shrunk to fit, keeping its proportions.
    static constexpr QSize kSize{96, 64};

    explicit SampleThumbnails(QObject* parent = nullptr);
    // Drops the pictures not yet begun and waits for those under way.
    ~SampleThumbnails() override;

    // Starts the pictures of `questionFiles`, dropping those of an earlier start.
    void start(const QStringList& questionFiles);

    // The map of `questionFile`, read as a quiz reads it, shrunk to fit in `size`; null when
    // the file or its map cannot be read.
    static QImage make(const QString& questionFile, QSize size = kSize);

signals:
    // The picture of the `index`th file handed to start(); null when it could not be made.
    void ready(int index, const QImage& thumbnail);

private:
    QFutureWatcher<QImage> m_watcher;
};
