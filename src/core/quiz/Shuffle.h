#pragma once

#include "core/data/Point.h"
#include "core/quiz/RandomSource.h"

#include <functional>

// Puts the rows into a uniformly random order, in place and in linear time (Fisher-Yates):
// every order is equally likely and a row's six texts always move together. `yield` runs
// every `yieldEvery` rows so a long table keeps the window painting; it must not touch rows.
void shuffleRows(PointList& rows, RandomSource& random, const std::function<void()>& yield = {},
                 int yieldEvery = 4096);
