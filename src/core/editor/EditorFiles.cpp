#include "core/editor/EditorFiles.h"

#include "core/data/MapImage.h"
#include "core/data/MapReference.h"
#include "core/editor/EditorRules.h"
#include "core/platform/Files.h"

#include <QFileInfo>

namespace EditorFiles {

using namespace EditorRules;

Report finishOpen(EditorDocument& document, ReadOutcome outcome) {
    switch (outcome) {
    case ReadOutcome::Success:
        document.setDiskStamp(DiskStamp::of(document.editingFileName()));
        document.apply(EditorEvent::FileOpened);
        return {document.editingFileName(), std::nullopt};
    case ReadOutcome::Malformed:
        document.setDiskStamp(DiskStamp::of(document.editingFileName()));
        document.apply(EditorEvent::FileOpenIncomplete);
        return {QuestionFileText::malformed(),
                MessageRequest::error(QuestionFileText::malformed())};
    case ReadOutcome::TooManyPoints:
        document.setDiskStamp(DiskStamp::of(document.editingFileName()));
        document.apply(EditorEvent::FileOpenIncomplete);
        return {document.editingFileName(), tooManyPoints()};
    default:
        // A read error (or a map failure, which the editor reads past): no message.
        document.setDiskStamp(DiskStamp::of(document.editingFileName()));
        document.apply(EditorEvent::FileOpenIncomplete);
        return {QuestionFileText::malformed(), std::nullopt};
    }
}

MessageRequest mapCheckFailed(ReadOutcome failure) {
    return MessageRequest::error(failure == ReadOutcome::MapMissing
                                     ? QuestionFileText::mapMissing()
                                     : QuestionFileText::mapNotBitmap());
}

std::optional<MessageRequest> overwriteQuestion(const EditorDocument& document,
                                                const QString& path) {
    if (!document.isNamed() || QFileInfo(path) != QFileInfo(document.editingFileName()))
        return std::nullopt;
    const DiskStamp now = DiskStamp::of(path);
    // A file that is gone has nothing left to lose.
    if (!now.exists || now == document.diskStamp())
        return std::nullopt;
    return MessageRequest{Text::changedOnDisk(), Text::saveTitle(), MessageButtons::YesNoDefaultNo,
                          MessageIcon::Question};
}

Report finishSave(EditorDocument& document, const QString& path, const WriteResult& result,
                  const PointList& rows) {
    std::optional<MessageRequest> message;
    if (result.ok()) {
        document.setEditingFileName(path);
        document.setDiskStamp(DiskStamp::of(path));
        document.apply(EditorEvent::Saved);
    } else {
        document.apply(EditorEvent::SaveFailed);
        if (result.status == WriteResult::Status::UnstorableText)
            message = unstorableOnSave(result, document.mapReference(), rows);
        else
            message = saveFailed(path, result.errorString);
    }
    return {document.editingFileName(), message};
}

MapFile loadMap(const QString& path) {
    // Readers accept no other map, so a map of any other name would only fail later.
    if (!MapImage::hasBitmapExtension(path))
        return {QImage(), MessageRequest::error(QuestionFileText::mapNotBitmap())};
    std::optional<QImage> loaded = MapImage::load(path);
    if (!loaded)
        return {QImage(), mapNotLoadable(path)};
    return {std::move(*loaded), std::nullopt};
}

std::optional<MessageRequest> relativeMapRefusal(const EditorDocument& document) {
    if (!document.isNamed())
        return MessageRequest::error(Text::saveFirst(), Text::mapTitle());
    return std::nullopt;
}

QString relativeMapPrompt(const EditorDocument& document) {
    return QStringLiteral("現在値=") + document.mapReference() +
           QStringLiteral("\r現在のﾃﾞｨﾚｸﾄﾘ=") + Files::parentFolder(document.editingFileName());
}

RelativeMap relativeMap(const EditorDocument& document, const QString& typed) {
    const QString folder = Files::parentFolder(document.editingFileName());
    RelativeMap map;
    map.path = MapReference::resolveInFolder(typed, folder);
    // Stored exactly as typed after "./", whatever separators it uses.
    map.reference = MapReference::kRelativePrefix.toString() + typed;
    if (!Files::fileExists(map.path))
        map.refusal = MessageRequest::error(Text::fileNotFound());
    return map;
}

} // namespace EditorFiles
