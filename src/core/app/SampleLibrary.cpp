#include "core/app/SampleLibrary.h"

#include "core/app/HelpFile.h"
#include "core/app/MainWindowTexts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <tuple>

namespace {

// Counts the points; the map is checked but never loaded, so a long list reads quickly.
class PointCounter : public QuestionSink {
public:
    int pointCount() const override { return m_count; }
    void appendPoint(Point&&) override { ++m_count; }
    bool wantsMap() const override { return false; }
    void mapLoaded(const QImage&, const QString&) override {}
    AfterMapFailure mapFailed(ReadOutcome, const QString&) override {
        return AfterMapFailure::Stop;
    }

private:
    int m_count = 0;
};

} // namespace

QString SampleEntry::problem() const {
    if (readable())
        return QString();
    if (const std::optional<MessageRequest> message = MainWindowTexts::failureMessage(outcome))
        return QString(message->text).replace(u'\r', u' ');
    return QStringLiteral("ﾌｧｲﾙを読み込めません。");
}

namespace SampleLibrary {

QString folder(const QString& ownFolder) {
    const QString beside = ownFolder + QStringLiteral("samples/");
    if (QFileInfo(beside).isDir())
        return beside;
    return HelpFile::installedDataFolder(ownFolder) + QStringLiteral("samples/");
}

QList<SampleEntry> list(const QString& samplesFolder) {
    QList<SampleEntry> entries;
    const QDir root(samplesFolder);
    if (!root.exists())
        return entries;
    // Name filters match regardless of case: files made on Windows often end in ".ZVM".
    QDirIterator it(root.path(), {QStringLiteral("*.zvm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        SampleEntry entry;
        entry.path = it.next();
        entry.relativePath = root.relativeFilePath(entry.path);
        const QStringList parts = entry.relativePath.split(u'/');
        if (parts.size() >= 3)
            entry.subject = parts.front();
        entry.title = QFileInfo(entry.path).completeBaseName();
        PointCounter counter;
        entry.outcome = QuestionFile::read(entry.path, counter);
        entry.points = counter.pointCount();
        entries.append(entry);
    }
    // The order the file system gives differs from one machine to the next.
    std::sort(entries.begin(), entries.end(), [](const SampleEntry& a, const SampleEntry& b) {
        return std::tie(a.subject, a.relativePath) < std::tie(b.subject, b.relativePath);
    });
    return entries;
}

MessageRequest noSamplesMessage(const QString& samplesFolder) {
    return {QStringLiteral("ｻﾝﾌﾟﾙの問題ﾌｧｲﾙが見つかりません。") + u'\r' +
                QDir::toNativeSeparators(samplesFolder),
            QStringLiteral("ｻﾝﾌﾟﾙを開く"), MessageButtons::Ok, MessageIcon::Exclamation};
}

} // namespace SampleLibrary
