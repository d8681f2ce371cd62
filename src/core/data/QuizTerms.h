#pragma once

#include <QString>

// The words a quiz is described in, shared by the quiz, the study record, the review, the main
// window's menus and the worksheet.

// Normal asks every row once; practice and weak points first ask until stopped, practice
// drawing rows uniformly, weak points first by the study record; today's review asks the points
// the memory model says are being forgotten, and a few new ones, until none is due.
enum class QuizMode { Normal, Practice, WeakFirst, Review };

// How the learner answers: typing the name of the marked place, pressing on the map where
// the named place lies, or choosing the marked place's name among four. Combines with every
// mode; fixed for the length of a quiz.
enum class AnswerMethod { Typing, Locate, Choice };

// What stands for a point whose coordinates are no number or lie off the map: a locate quiz's
// distance, and the worksheet's answer sheet and key.
inline QString offMapText() {
    return QStringLiteral("（地図上にありません）");
}
