#pragma once

#include "core/record/StudyRecord.h"
#include "core/study/Fsrs.h"

#include <QHash>
#include <QList>

// Each point's memory state by identity.
using MemoryStateTable = QHash<PointIdentity, MemoryState>;

// The record's answers to memory states: each answer graded, then the model run over a point's
// answers in time order. Pure functions over copied answers (StudyRecord::answerHistory), so
// they may run on any thread.
namespace MemoryStates {

// The grade of each answer, in time order: a wrong answer is Again; a right one is Good, or
// Hard when it took longer than the median time of the point's earlier answers, right or wrong
// (with none before, Good). A time that is not a finite number of seconds, or is below zero (a
// clock set back during the question), counts as no time: never slow, and left out of the
// median.
QList<Rating> ratings(const QList<TimedAnswer>& answers);

// A point's state after its answers.
MemoryState of(const Fsrs& model, const QList<TimedAnswer>& answers);

// Every point's state.
MemoryStateTable of(const Fsrs& model, const AnswerHistory& history);

} // namespace MemoryStates
