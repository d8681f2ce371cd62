#pragma once

#include "core/quiz/RandomSource.h"

#include <QList>

// Hands out the scripted numbers in order, then repeats the last one (0 when none). Counts
// draws and reseeds so tests can see what the code under test asked for.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<double> values)
        : m_values(values) {}

    void push(double value) { m_values.append(value); }

    double next() override {
        ++draws;
        if (m_values.isEmpty())
            return 0.0;
        if (m_values.size() == 1)
            return m_values.constFirst();
        return m_values.takeFirst();
    }
    void reseed() override { ++reseeds; }

    int draws = 0;
    int reseeds = 0;

private:
    QList<double> m_values;
};
