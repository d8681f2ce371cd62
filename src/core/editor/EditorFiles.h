#pragma once

#include "core/data/QuestionFile.h"
#include "core/editor/EditorDocument.h"
#include "core/platform/Services.h"

#include <QImage>
#include <QString>

#include <optional>

// The decisions of the editor's file commands, without windows: what an Open or a Save that
// has run means for the document and what the window says about it, which map file may be
// shown, and where a map named relative to the question file lies.
namespace EditorFiles {

// What the window shows after a command: the `EditingFile` panel's text and the message box,
// if any.
struct Report {
    QString editingFileText;
    std::optional<MessageRequest> message;
};

// An Open that began reading (the document was named after the file and emptied at the start)
// ended with `outcome`: the document takes it in (a complete read clears the unsaved-changes
// flag; a read that stopped early leaves it) and the report says how it went.
Report finishOpen(EditorDocument& document, ReadOutcome outcome);

// The message for a Map record that failed its check while the editor reads on.
MessageRequest mapCheckFailed(ReadOutcome failure);

// Before a Save to `path`: when it is the document's own file and another program has written
// it since this document read or saved it, the question whether to overwrite it anyway.
std::optional<MessageRequest> overwriteQuestion(const EditorDocument& document,
                                                const QString& path);

// A Save to `path` ended with `result`: on success the document is named after the file and
// its flag cleared; otherwise it stays as it was, and the report names what was wrong.
Report finishSave(EditorDocument& document, const QString& path, const WriteResult& result,
                  const PointList& rows);

// A map file that the user chose: its picture, or why it cannot be shown.
struct MapFile {
    QImage picture;
    std::optional<MessageRequest> refusal;
};
MapFile loadMap(const QString& path);

// The relative map command: why it cannot run for this document (an unnamed one), or nothing.
std::optional<MessageRequest> relativeMapRefusal(const EditorDocument& document);
// The prompt of its input box: the reference now and the question file's folder.
QString relativeMapPrompt(const EditorDocument& document);
// Where the typed text leads inside the question file's folder, the reference the document
// then keeps ("./" and the text as typed), and the refusal when no file lies there.
struct RelativeMap {
    QString path;
    QString reference;
    std::optional<MessageRequest> refusal;
};
RelativeMap relativeMap(const EditorDocument& document, const QString& typed);

} // namespace EditorFiles
