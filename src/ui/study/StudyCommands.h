#pragma once

#include "core/data/QuestionTable.h"
#include "core/platform/Services.h"
#include "core/quiz/AnswerIndex.h"
#include "core/quiz/Distractors.h"
#include "core/quiz/JudgedQuestion.h"
#include "core/quiz/QuizSession.h"
#include "core/record/StudyRecord.h"
#include "core/study/MasteryOverlay.h"
#include "core/study/ReviewQueue.h"

#include <QObject>
#include <QPointer>

#include <memory>

class AnswerWindow;
class AppSession;
class MainWindowState;
class MapView;
class ProgressCommand;
class ReviewWindow;

// The main window's study commands: every judged question into the study record, the review
// "結果" when a quiz ends (and from its menu item), another round over the misses, the mastery
// map, the ring on the point that a wrong answer names, and the study options with the
// emptying of the record. The window tells it what happens to the question file and the quiz;
// it follows the window's state (the mastery toggle, a quiz under way) and asks the window to
// start another round through a signal. Its windows belong to the map view's window.
class StudyCommands : public QObject {
    Q_OBJECT
public:
    StudyCommands(Services& services, AppSession& session, const QuestionTable& table,
                  MapView& mapView, const MainWindowState& state);
    ~StudyCommands() override;

    // The question file follows the window's reads: nothing is shown of the file before while
    // one runs; once it has been read whole, the record follows the new file. A failed read
    // records nothing (its points are not the file's).
    void fileOpening();
    void fileOpened(const QString& path);

    // What weak points first draws by: the record of the file's points (nothing for the other
    // modes, which need no reading).
    PointStatsTable recordFor(QuizMode mode);
    // What a choice quiz offers: the file's points, the record's confusions first. Nothing,
    // after telling the user why, when the file's points have fewer than two answers.
    std::unique_ptr<Distractors> distractors(const JudgingOptions& judging);
    // Today's review over these rows: the memory states from the record's answers, the study
    // options' retention and new points a day. Nothing, after telling the user, when none is
    // due.
    std::unique_ptr<ReviewQueue> reviewOrder(const PointList& rows);
    static MessageRequest nothingDueMessage();
    // The status of a file ready to play: in today's review how many are due, else the request
    // to start.
    QString readyStatus();
    void quizStarted(const AnswerWindow& quiz);
    // The quiz has ended (completed or stopped): its questions go to the review, its score and
    // time to the personal bests.
    void quizEnded(const QuizSession& quiz);

    // Made on first use, in the settings file's folder.
    StudyRecord& record();
    // Null until a quiz has ended.
    ReviewWindow* reviewWindow() const;
    const MasteryOverlay& mastery() const { return m_mastery; }
    const MeantPointRing& ring() const { return m_ring; }

    // Does nothing while 結果(&R) is unavailable.
    void showReview();
    // 学習の記録 of the file read in full, counted off the UI thread; nothing while its item is
    // unavailable.
    void showProgress();
    void openOptions();

    static MessageRequest clearQuestion();
    static MessageRequest clearFailed(const QString& reason);

signals:
    // A normal quiz over these points: the review's misses.
    void anotherRoundRequested(const PointList& points);

private:
    void questionJudged(const JudgedQuestion& question);
    void questionAsked();
    // Keeps the score and time of a quiz over the whole file among the bests when recording;
    // nothing when the record cannot tell.
    std::optional<BestComparison> compareWithBest(const QuizRun& run, bool wholeFile);
    void showPoint(const Point& point);
    void clearRecord();
    ReviewQueue reviewToday(const PointList& rows);
    // The mastery dots are on the map while the toggle is on and no quiz runs.
    void followState();
    void showMastery(bool shown);
    // Reads the dots again when they are on the map (the file or the record changed), off the
    // UI thread; the dots before stay until the new ones are ready.
    void refreshMastery();

    Services& m_services;
    AppSession& m_session;
    const QuestionTable& m_table;
    MapView& m_mapView;
    const MainWindowState& m_state;
    std::unique_ptr<StudyRecord> m_record;

    // The running quiz's points by their answers (the rows as the quiz asks them).
    std::unique_ptr<AnswerIndex> m_answers;
    PointList m_quizRows;
    MasteryOverlay m_mastery;
    MasteryReader m_masteryReader;
    bool m_masteryOnMap = false;
    QString m_questionFile; // read whole
    MeantPointRing m_ring;
    QPointer<ReviewWindow> m_review;
    std::unique_ptr<ProgressCommand> m_progress; // made on first use
};
