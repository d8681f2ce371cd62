#include "core/data/QuestionFile.h"

#include "core/data/AtomicFile.h"
#include "core/data/Cp932.h"
#include "core/data/FieldReader.h"
#include "core/data/MapImage.h"
#include "core/data/MapReference.h"
#include "core/platform/Files.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace QuestionFile {

namespace {

ReadOutcome readMapRecord(FieldReader& reader, const QString& path, QuestionSink& sink,
                          bool& stop) {
    const std::optional<QString> reference = reader.readField();
    if (!reference)
        return ReadOutcome::ReadError;
    const QString mapPath = MapReference::resolve(*reference, path);
    ReadOutcome failure = ReadOutcome::Success;
    if (!Files::fileExists(mapPath))
        failure = ReadOutcome::MapMissing;
    else if (!MapImage::hasBitmapExtension(mapPath))
        failure = ReadOutcome::MapNotBitmap;
    if (failure != ReadOutcome::Success) {
        stop = sink.mapFailed(failure, *reference) == QuestionSink::AfterMapFailure::Stop;
        return failure;
    }
    if (!sink.wantsMap())
        return ReadOutcome::Success;
    const std::optional<QImage> map = MapImage::load(mapPath);
    if (!map)
        return ReadOutcome::ReadError;
    sink.mapLoaded(*map, *reference);
    return ReadOutcome::Success;
}

ReadOutcome readPointRecord(FieldReader& reader, QuestionSink& sink) {
    Point point;
    for (QString& field : point) {
        std::optional<QString> text = reader.readField();
        if (!text)
            return ReadOutcome::ReadError;
        field = std::move(*text);
    }
    if (sink.pointCount() >= kMaxPoints)
        return ReadOutcome::TooManyPoints;
    sink.appendPoint(std::move(point));
    return ReadOutcome::Success;
}

ReadOutcome readRecords(FieldReader& reader, const QString& path, QuestionSink& sink) {
    for (;;) {
        // Keywords are ASCII, so their bytes compare as the text would.
        const std::optional<QByteArrayView> keyword = reader.readFieldView();
        if (!keyword)
            return ReadOutcome::ReadError;
        ReadOutcome outcome;
        if (*keyword == "Map") {
            bool stop = false;
            outcome = readMapRecord(reader, path, sink, stop);
            // A sink that goes on after a failed map check reads the next record.
            if (!stop &&
                (outcome == ReadOutcome::MapMissing || outcome == ReadOutcome::MapNotBitmap))
                outcome = ReadOutcome::Success;
        } else if (*keyword == "Point") {
            outcome = readPointRecord(reader, sink);
        } else if (*keyword == "End") {
            return ReadOutcome::Success;
        } else {
            return ReadOutcome::Malformed;
        }
        if (outcome != ReadOutcome::Success)
            return outcome;
        sink.recordRead();
    }
}

} // namespace

ReadOutcome read(const QString& path, QuestionSink& sink, qsizetype chunkSize) {
    // Only regular files: a FIFO or device would block or never end.
    if (!QFileInfo(path).isFile())
        return ReadOutcome::CannotOpen;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadOutcome::CannotOpen;
    sink.readingStarted();
    // The shortest Point record with short texts is about 40 bytes.
    sink.expectPoints(static_cast<int>(std::min<qint64>(kMaxPoints, file.size() / 40)));
    FieldReader reader(file, chunkSize);
    const ReadOutcome outcome = readRecords(reader, path, sink);
    if (outcome == ReadOutcome::ReadError || reader.failed())
        return ReadOutcome::ReadError;
    return outcome;
}

bool isStorable(const QString& text) {
    return !text.contains(u'"') && Cp932::canEncode(text);
}

namespace {

bool appendField(QByteArray& bytes, const QString& text) {
    if (text.contains(u'"'))
        return false;
    const std::optional<QByteArray> encoded = Cp932::encode(text);
    if (!encoded)
        return false;
    bytes += '"';
    bytes += *encoded;
    bytes += '"';
    return true;
}

void appendKeyword(QByteArray& bytes, QStringView keyword) {
    bytes += '"';
    bytes += keyword.toLatin1();
    bytes += '"';
}

} // namespace

WriteResult encode(const QString& mapReference, const PointList& rows, QByteArray& bytes,
                   const std::function<void()>& beforeRow) {
    using Status = WriteResult::Status;
    bytes.clear();
    bytes.reserve(64 + rows.size() * 96);
    appendKeyword(bytes, kMapKeyword);
    bytes += ',';
    if (!appendField(bytes, mapReference))
        return {Status::UnstorableText, -1, -1, {}};
    bytes += "\r\n";
    for (int row = 0; row < rows.size(); ++row) {
        if (beforeRow)
            beforeRow();
        appendKeyword(bytes, kPointKeyword);
        for (int column = 0; column < kPointColumns; ++column) {
            bytes += ',';
            if (!appendField(bytes, rows[row][column]))
                return {Status::UnstorableText, row, column, {}};
        }
        bytes += "\r\n";
    }
    appendKeyword(bytes, kEndKeyword);
    bytes += "\r\n";
    return {};
}

WriteResult write(const QString& path, const QString& mapReference, const PointList& rows,
                  const std::function<void()>& beforeRow) {
    QByteArray bytes;
    WriteResult result = encode(mapReference, rows, bytes, beforeRow);
    if (!result.ok())
        return result;
    if (!AtomicFile::write(path, bytes, &result.errorString))
        result.status = WriteResult::Status::FileError;
    return result;
}

} // namespace QuestionFile
