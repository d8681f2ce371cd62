#pragma once

#include "core/data/Point.h"
#include "core/quiz/JudgedQuestion.h"
#include "core/record/StudyRecord.h"

#include <QAbstractTableModel>
#include <QList>

// The rows of the review: every judged question of a quiz, in asked order until sorted.
// Columns: number, hint, typed text (for a press on the map, its distance from the point, as the
// quiz showed it), answer 1, answer 2, ○ or ×, seconds taken.
class ReviewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Number, Hint, Typed, Answer1, Answer2, Verdict, Seconds, ColumnCount };

    explicit ReviewModel(QObject* parent = nullptr);

    // Replaces every row; the list is shared, not copied.
    void setQuestions(const QList<JudgedQuestion>& questions);

    const QList<JudgedQuestion>& questions() const { return m_questions; }
    const JudgedQuestion& question(int row) const { return m_questions.at(row); }

    // How many were judged, and how many right.
    qsizetype judgedCount() const { return m_questions.size(); }
    qsizetype rightCount() const { return m_right; }
    bool hasMisses() const { return m_right < m_questions.size(); }
    // The status line: "7/10 = 70%", or "0問" when nothing was judged.
    QString scoreText() const;

    // Beside the score: the quiz's time and the personal best of its mode and answer method
    // ("ﾀｲﾑ 1分5秒　自己ﾍﾞｽﾄ(通常ﾓｰﾄﾞ・入力) 9/10 = 90% 0分58秒　自己ﾍﾞｽﾄ更新"); the time alone
    // when the record could not tell the best.
    static QString runText(const QuizRun& run, const std::optional<BestComparison>& comparison);

    // The points missed at least once, each once, in the order they were first missed: the
    // table of another round over the misses.
    PointList missedPoints() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Stable: rows that compare equal keep their asked order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QList<JudgedQuestion> m_questions;
    qsizetype m_right = 0;
};
