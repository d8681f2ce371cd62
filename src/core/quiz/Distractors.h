#pragma once

#include "core/data/JudgingOptions.h"
#include "core/data/Point.h"
#include "core/platform/Services.h"
#include "core/quiz/AnswerIndex.h"
#include "core/quiz/RandomSource.h"
#include "core/record/StudyRecord.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// The other three answers of a question answered by choosing among four: the ones a learner
// would confuse with the asked point's. In this order:
//
// 1. points the learner has already confused with it (a wrong answer that was another point's
//    answer, from the study record and from this quiz), the most often confused first;
// 2. the nearest points on the map and points with the same hint, taken in turn (nearest
//    first);
// 3. any points, at random.
//
// Each point is offered under its answer 1 (its answer 2 when answer 1 is empty). No two
// offered texts compare alike, and none is a text the judge would accept for the asked point,
// both compared exactly as the judge compares them. Everything that does not depend on the
// question (the positions' grid, the hint groups, the confusions by point) is built once.
class Distractors {
public:
    static constexpr int kChoices = 4;

    // `pool`: the points whose answers may be offered (the file's); `options`: the quiz's
    // judging options; `confusions`: wrong answers given before, by point.
    Distractors(const PointList& pool, const JudgingOptions& options,
                const WrongAnswers& confusions = {});

    // How many different answers the pool offers; choosing needs at least two.
    int answerCount() const { return static_cast<int>(m_keys.size()); }
    bool isOffered() const { return answerCount() >= 2; }
    // What the learner is told when the file does not offer choosing.
    static MessageRequest notOfferedMessage();

    // The text a point is offered under.
    static QString choiceText(const Point& point);

    // Rows of the pool to offer beside the asked point, in the order above: three when the pool
    // has them.
    QList<int> distractorRows(const Point& asked, RandomSource& random) const;
    // The texts to choose from: the asked point's and its distractors', in a random order.
    QStringList choicesFor(const Point& asked, RandomSource& random) const;

    // A wrong answer given for the asked point during the quiz: counted as a confusion.
    void noteWrongAnswer(const Point& asked, const QString& given);

private:
    class Picker;
    struct Confused {
        int row;
        qint64 count;
    };

    int keyOf(const QString& text) const;
    void addConfusions(QList<Confused>& list, const QString& given, qint64 count) const;
    static void sortConfusions(QList<Confused>& list);
    void buildGrid();
    QList<int> nearestRows(const QPointF& place, const Picker& picker, int wanted) const;
    QList<int> sameHintRows(const QString& hint, const Picker& picker, int wanted,
                            RandomSource& random) const;

    JudgingOptions m_options;
    AnswerIndex m_index;
    QStringList m_texts;                // per row: the text it is offered under
    QList<int> m_rowKey;                // per row: its text's key, -1 for an empty text
    QHash<QString, int> m_keys;         // compared form -> key
    QHash<QString, QList<int>> m_hints; // non-empty hint -> rows
    QHash<PointIdentity, QList<Confused>> m_confused; // most often first

    // Rows with a place on the map, by square cells.
    QList<QPointF> m_places;
    QList<bool> m_hasPlace;
    double m_left = 0;
    double m_top = 0;
    double m_cell = 1;
    int m_columns = 0;
    int m_gridRows = 0;
    QList<int> m_cellStart; // m_columns * m_gridRows + 1 offsets into m_cellMembers
    QList<int> m_cellMembers;
};
