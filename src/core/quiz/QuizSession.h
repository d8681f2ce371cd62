#pragma once

#include "core/data/Point.h"
#include "core/data/QuizTerms.h"
#include "core/quiz/JudgedQuestion.h"
#include "core/quiz/Judging.h"
#include "core/quiz/LocateRule.h"
#include "core/quiz/RandomSource.h"
#include "core/record/StudyRecord.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class Distractors;
class QuestionOrder;
class WeakFirstDraw;

// Questions answered right out of questions asked.
struct QuizScore {
    std::int64_t correct = 0;
    std::int64_t asked = 0;
};

// The rules of one quiz, without windows: which row comes next, judging, the counters, the
// clock and every text the quiz shows. The answer window copies these into its controls.
//
// Counters are 64-bit: a practice run never reaches their limit, so they never wrap.
class QuizSession {
public:
    // Asks the rows as they are now (a shared copy: the caller's table may change afterwards).
    // `random` draws the practice rows. `record` (weak points first only): how each point
    // fared before, by identity.
    QuizSession(const PointList& rows, QuizMode mode, RandomSource& random,
                const PointStatsTable& record = {});
    ~QuizSession();

    QuizMode mode() const { return m_mode; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const PointList& rows() const { return m_rows; }
    bool isPractice() const { return m_mode == QuizMode::Practice; }

    // Today's review: the order of the questions, set before the first advance(). Without it
    // the review asks nothing.
    void setOrder(std::unique_ptr<QuestionOrder> order);

    // Moves to the next question. False when there is none: normal mode after the last row,
    // today's review once nothing is due (the caller then ends the quiz), or an empty table.
    bool advance();

    // Row of the question on show (-1 before the first advance()).
    int currentRow() const { return m_currentRow; }
    const Point& currentPoint() const { return m_rows.at(m_currentRow); }
    bool hasQuestion() const { return m_currentRow >= 0 && m_currentRow < m_rows.size(); }

    // How typed answers are judged from now on; exact unless set.
    void setJudgingOptions(const JudgingOptions& options) { m_judgingOptions = options; }
    const JudgingOptions& judgingOptions() const { return m_judgingOptions; }

    // Judges the typed text against the current point once; counts a right answer. Judging
    // again returns the first verdict and counts nothing.
    bool judge(const QString& typed);
    bool isJudged() const { return m_judged; }

    // From now on questions are answered by pressing on a map of this size (typing until then).
    void setLocateOnMap(QSize mapSize);
    // From now on questions are answered by choosing among texts these distractors offer.
    void setChoices(std::unique_ptr<Distractors> distractors);
    AnswerMethod answerMethod() const;
    // Judges a press (map pixels) on the current question once, counting a right answer.
    // Nothing when the press is ignored: typing quiz, no question on show, the question
    // already judged, or a press off the map.
    std::optional<LocateVerdict> judgePress(const QPointF& press);
    // The asked point's place for a locate quiz; nothing when it has none.
    std::optional<QPointF> currentPlace() const;
    bool lastVerdict() const { return m_lastVerdict; }
    // The texts offered for the question on show, in the order shown (a choice quiz).
    const QStringList& choices() const { return m_choices; }
    // Judges a chosen text once, as a typed one is judged; a wrong choice counts as a
    // confusion of the two points for the questions after it.
    bool judgeChoice(const QString& chosen);

    // Every question judged so far, in asked order: the review's rows and the record's attempts.
    const QList<JudgedQuestion>& judgedQuestions() const { return m_judgedQuestions; }

    // Questions presented before the current one; -1 before the first.
    std::int64_t questionNo() const { return m_questionNo; }
    std::int64_t correctNo() const { return m_correctNo; }

    // Normal mode, after advance() said no: counts the last question as asked.
    void finish();

    // The questions counted so far: those before the current one, and the current one once it
    // has been judged; every question after finish().
    QuizScore score() const;

    // The quiz as it stands, for the personal bests: complete once finish() has run.
    QuizRun run() const;

    // Status while asking: "c/q", e.g. "0/0" at the first question.
    QString progressText() const;
    // Status text after a normal end: the score for all questions asked (today's review: and
    // how many are still due).
    QString endingStatus() const;
    // The result box text: "10問中 7問正解" CR LF "70%".
    QString resultMessage() const;
    // Status text when the user stops: the score of the questions asked so far, counting the
    // current one only once it has been judged; "0問" when nothing counts (today's review: and
    // how many are still due).
    QString stopStatus() const;

    // The clock: whole seconds since the start, split into minutes and seconds.
    void tick();
    std::int64_t elapsedSec() const { return m_elapsedSec; }
    std::int64_t elapsedMin() const { return m_elapsedMin; }
    QString clockText() const; // "1分5秒"
    // A time in whole seconds as the clock shows it: "1分5秒".
    static QString clockText(std::int64_t seconds);

    static QString mark(bool correct);          // "○" / "×"
    static QString verdictStatus(bool correct); // "正解 !" / "不正解"
    // How far a press was from the place asked: "距離 12.5 ﾋﾟｸｾﾙ" (to a tenth of a map pixel),
    // or offMapText() for a point without a place on the map.
    static QString distanceText(std::optional<double> distance);
    // floor(1000 c / q) / 10 in its shortest form: "70", "66.6", "12.5", "100", "0".
    static QString percentText(std::int64_t correct, std::int64_t questions);
    // "2/3 = 66.6%"; "0問" for no questions.
    static QString scoreText(std::int64_t correct, std::int64_t questions);
    // How many questions today's review has to ask: "復習 12件".
    static QString dueText(std::int64_t count);

private:
    // The row of the next question, or nothing when the quiz has no more.
    std::optional<int> nextRow();
    // The one path of both answer methods: counts the verdict on the current question, notes it
    // for weak points first and keeps it, completed with the question's own fields, for the
    // review and the record. Returns the verdict.
    bool countVerdict(JudgedQuestion question);
    // Judges a text typed or chosen.
    bool judgeText(const QString& text, AnswerMethod method);
    // The status at the end: the score, and in today's review what is still due.
    QString statusWithDue(QString score) const;

    PointList m_rows;
    QuizMode m_mode;
    RandomSource& m_random;
    JudgingOptions m_judgingOptions;
    std::optional<LocateRule> m_locate;
    std::unique_ptr<Distractors> m_distractors;
    QStringList m_choices;
    std::unique_ptr<WeakFirstDraw> m_weakFirst;
    std::unique_ptr<QuestionOrder> m_order;
    QList<JudgedQuestion> m_judgedQuestions;
    QElapsedTimer m_questionShown;
    std::int64_t m_questionNo = -1;
    std::int64_t m_correctNo = 0;
    int m_currentRow = -1;
    bool m_judged = false;
    bool m_lastVerdict = false;
    bool m_finished = false;
    std::int64_t m_elapsedSec = 0;
    std::int64_t m_elapsedMin = 0;
};
