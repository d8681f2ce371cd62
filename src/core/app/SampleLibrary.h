#pragma once

#include "core/data/QuestionFile.h"
#include "core/platform/Services.h"

#include <QList>
#include <QString>

// One of the bundled quizzes, as ｻﾝﾌﾟﾙを開く lists it.
struct SampleEntry {
    QString subject;      // the folder it is filed under (日本, 世界); empty for a quiz whose
                          // folder lies directly in the samples folder
    QString title;        // the question file's name without its extension
    QString path;         // the question file
    QString relativePath; // the question file below the samples folder, with "/"
    ReadOutcome outcome = ReadOutcome::Success;
    int points = 0;

    bool readable() const { return outcome == ReadOutcome::Success; }
    // Why the file cannot be opened, in the words of the main window's messages; empty when
    // it can.
    QString problem() const;
};

// The sample quizzes that come with the program: every question file below the samples
// folder, in folders of one quiz each, filed under a subject (samples/<subject>/<quiz>/) or
// not (samples/<quiz>/).
namespace SampleLibrary {

// "samples/" beside the program (the build tree links it there), else in the install's data
// folder. Ends with "/"; the folder need not exist.
QString folder(const QString& ownFolder);

// The question files below `samplesFolder`, sorted by subject, then by their path (the quiz's
// folder). Each file is read for its count of points; one that cannot be read stays in the
// list with its outcome, so that a broken sample shows as broken rather than missing. Empty
// when the folder holds none or does not exist.
QList<SampleEntry> list(const QString& samplesFolder);

// The box when there is nothing to list.
MessageRequest noSamplesMessage(const QString& samplesFolder);

} // namespace SampleLibrary
