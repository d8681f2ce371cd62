#include "quiz/AnswerIndex.h"

#include "quiz/QuizSession.h"

#include <algorithm>

AnswerIndex::AnswerIndex(const PointList& rows) {
    m_rowsByAnswer.reserve(rows.size() * 2);
    for (int row = 0; row < rows.size(); ++row) {
        const Point& point = rows.at(row);
        const QString first = QuizSession::judgedForm(point[ColumnAnswer1]);
        const QString second = QuizSession::judgedForm(point[ColumnAnswer2]);
        if (!first.isEmpty())
            m_rowsByAnswer.insert(first, row);
        if (!second.isEmpty() && second != first)
            m_rowsByAnswer.insert(second, row);
    }
}

QList<int> AnswerIndex::rowsAnsweredBy(const QString& typed, int askedRow) const {
    if (typed.isEmpty())
        return {};
    QList<int> rows = m_rowsByAnswer.values(QuizSession::judgedForm(typed));
    rows.removeAll(askedRow);
    std::sort(rows.begin(), rows.end());
    return rows;
}
