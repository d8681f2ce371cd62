#pragma once

#include "core/data/Point.h"
#include "core/quiz/Judging.h"

#include <QHash>
#include <QList>
#include <QString>

// "Which one did I mean": the points of a table by their answers, so that a wrong typed answer
// that names another point finds that point at once, also among 32,767.
class AnswerIndex {
public:
    // `options`: the quiz's judging options, as the judge applies them.
    explicit AnswerIndex(const PointList& rows, const JudgingOptions& options = {});

    // Rows other than `askedRow` whose answer 1 or answer 2 the typed text matches, compared
    // exactly as the judge compares; in table order. An empty text matches nothing.
    QList<int> rowsAnsweredBy(const QString& typed, int askedRow) const;

private:
    JudgingOptions m_options;
    QMultiHash<QString, int> m_rowsByAnswer;
};
