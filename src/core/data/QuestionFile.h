#pragma once

#include "core/data/FieldReader.h"
#include "core/data/Point.h"

#include <QImage>
#include <QString>

#include <functional>

// How a read of a question file ended.
enum class ReadOutcome {
    Success,       // the End record was met
    MapMissing,    // a Map record names no existing file
    MapNotBitmap,  // a Map record names a file whose extension is not "BMP" or "bmp"
    Malformed,     // a keyword other than "Map", "Point" or "End"
    ReadError,     // end of file before the End record, a file-system failure, or a map that
                   // exists with a bitmap extension but cannot be loaded as a picture
    CannotOpen,    // the file could not be opened (nothing was read)
    TooManyPoints, // the file holds more points than a table can (kMaxPoints)
};

// What both windows say about question files: their file dialogs' filter, the status while one
// is read, and the reads that failed alike in both.
namespace QuestionFileText {
inline QString filter() {
    return QStringLiteral("ZAVMapﾌｧｲﾙ(*.zvm)|*.zvm");
}
inline QString opening() {
    return QStringLiteral("ﾌｧｲﾙを開いています...");
}
inline QString mapMissing() {
    return QStringLiteral("指定されているﾏｯﾌﾟは存在しません。");
}
inline QString mapNotBitmap() {
    return QStringLiteral("指定されているﾏｯﾌﾟは、ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙではありません。");
}
inline QString malformed() {
    return QStringLiteral("このﾌｧｲﾙは不正か、または壊れています。");
}
} // namespace QuestionFileText

// Where a read puts what it finds: the main window's question table and map view, or the
// editor's point table and map view. The reader itself knows nothing of windows.
class QuestionSink {
public:
    enum class AfterMapFailure { Stop, Continue };

    virtual ~QuestionSink() = default;

    // The file is open and reading starts; nothing has been read yet.
    virtual void readingStarted() {}
    // A guess at how many points the file holds (from its size, never above kMaxPoints), so a
    // table can make room once instead of growing step by step.
    virtual void expectPoints(int count) { (void)count; }
    virtual int pointCount() const = 0;
    virtual void appendPoint(Point&& point) = 0;
    // A Map record whose map passed the checks and loaded; `reference` as the file holds it.
    virtual void mapLoaded(const QImage& map, const QString& reference) = 0;
    // False for a sink that wants the points only (a list of files with their counts): the
    // map is still checked, but not loaded, which takes far longer than the points.
    virtual bool wantsMap() const { return true; }
    // A Map record failed a check (MapMissing or MapNotBitmap): stop the read, or go on.
    virtual AfterMapFailure mapFailed(ReadOutcome failure, const QString& reference) = 0;
    // After each Map and Point record: a chance to let pending window events run.
    virtual void recordRead() {}
};

// The outcome of writing a question file. Nothing is written unless everything can be.
struct WriteResult {
    enum class Status {
        Ok,
        UnstorableText, // a text holds a double quote or a character code page 932 lacks
        FileError,      // the file could not be created, written or replaced
    };
    Status status = Status::Ok;
    int row = -1;        // for UnstorableText: the row, or -1 for the map reference
    int column = -1;     // and the column
    QString errorString; // for FileError: the reason, in Japanese (SystemError)

    bool ok() const { return status == Status::Ok; }
};

namespace QuestionFile {

constexpr QStringView kMapKeyword = u"Map";
constexpr QStringView kPointKeyword = u"Point";
constexpr QStringView kEndKeyword = u"End";

// Reads the question file at `path` into `sink`. A "./" map reference is resolved against
// the folder of `path`. Rows read before a failure stay in the sink. `chunkSize` is the field
// reader's.
[[nodiscard]] ReadOutcome read(const QString& path, QuestionSink& sink,
                               qsizetype chunkSize = FieldReader::kDefaultChunkSize);

// True when a text can be stored in a question file field: no double quote, and every
// character has a code page 932 form.
bool isStorable(const QString& text);

// Writes the Map record, one Point record per row and the End record, replacing the file
// only once everything was written (the old file stays intact on any failure).
// `beforeRow` runs before each row is encoded, so a caller can let window events run.
[[nodiscard]] WriteResult write(const QString& path, const QString& mapReference,
                                const PointList& rows, const std::function<void()>& beforeRow = {});

// The bytes write() would put into the file, or the first unstorable text.
[[nodiscard]] WriteResult encode(const QString& mapReference, const PointList& rows,
                                 QByteArray& bytes, const std::function<void()>& beforeRow = {});

} // namespace QuestionFile
