#include "core/quiz/AnswerIndex.h"

#include <algorithm>

AnswerIndex::AnswerIndex(const PointList& rows, const JudgingOptions& options)
    : m_options(options) {
    m_rowsByAnswer.reserve(rows.size() * 2);
    for (int row = 0; row < rows.size(); ++row) {
        const Point& point = rows.at(row);
        const QString first = Judging::comparedForm(point[ColumnAnswer1], options);
        const QString second = Judging::comparedForm(point[ColumnAnswer2], options);
        if (!first.isEmpty())
            m_rowsByAnswer.insert(first, row);
        if (!second.isEmpty() && second != first)
            m_rowsByAnswer.insert(second, row);
    }
}

QList<int> AnswerIndex::rowsAnsweredBy(const QString& typed, int askedRow) const {
    const QString form = Judging::comparedForm(typed, m_options);
    if (form.isEmpty())
        return {};
    QList<int> rows = m_rowsByAnswer.values(form);
    rows.removeAll(askedRow);
    std::sort(rows.begin(), rows.end());
    return rows;
}
