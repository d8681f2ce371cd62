#pragma once

#include "core/quiz/Distractors.h"
#include "core/quiz/QuestionOrder.h"
#include "core/quiz/QuizSession.h"

#include <QDialog>
#include <QLineF>
#include <QPointF>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RandomSource;
class Services;

// The answer window "解答欄": asks the points one by one, judges the typed answers and keeps
// the clock; the rules live in QuizSession. It tells its owner what to show through signals
// (status text, clock text, where the marker goes) and never touches another window. Only the
// end of the quiz closes it: the last question in normal mode, or stop(). Its owner may set it
// into one of its own windows as a child (setParent with Qt::Widget) before showing it; it
// then keeps the controls, names and texts it has as a window of its own.
class AnswerWindow : public QDialog {
    Q_OBJECT
public:
    // The points are asked as they are now; `random` draws the practice rows and the window's
    // jumps off the marker; `record` is what weak points first draws by; `judging` is how typed
    // answers are judged. Built hidden; the owner shows it and calls start().
    AnswerWindow(const PointList& points, QuizMode mode, RandomSource& random, Services& services,
                 QWidget* parent, const PointStatsTable& record = {},
                 const JudgingOptions& judging = {});
    ~AnswerWindow() override;

    // Set before start(): the learner answers by pressing on a map of this size, passed in
    // through pressOnMap(), instead of typing.
    void setLocateOnMap(QSize mapSize);
    // Set before start(): the learner answers by choosing among four buttons (keys 1 to 4)
    // whose texts these distractors offer, instead of typing. The window grows to stack them.
    void setChoices(std::unique_ptr<Distractors> distractors);
    // Set before start(): today's review asks in this order (QuizSession::setOrder).
    void setOrder(std::unique_ptr<QuestionOrder> order);

    // Starts the clock and asks the first question (once).
    void start();
    // Ends the quiz at the user's wish: the score so far, no result box.
    void stop();
    // True from start() until the quiz has ended.
    bool isRunning() const { return m_running; }

    const QuizSession& session() const { return m_session; }

    // Moves the window sideways, within its screen, so that it does not cover the marker's
    // span on the screen (`screenX`, `width` in screen pixels). The owner calls it once the
    // marker is in place. Nothing when the owner has set it into a window of its own (a locate
    // quiz's column beside the map).
    void keepClearOf(int screenX, int width);

public slots:
    // A press on the map (map pixels) in a locate quiz. Ignored unless a question waits for it
    // and the press lies on the map.
    void pressOnMap(QPointF mapPos);

signals:
    void statusChanged(const QString& text);
    void clockChanged(const QString& text);
    // The marker's top-left corner in map pixels for the question now asked.
    void markerPlaced(QPointF topLeft);
    // The question now asked has no place on the map.
    void markerHidden();
    // Locate quiz: from the judged press to the place asked, in map pixels; a null line when
    // there is none to show (while asking, or for a point without a place).
    void pressLineChanged(QLineF line);
    // The question on show has been judged (once per question).
    void judged(const JudgedQuestion& question);
    // The last question of a normal quiz is done; the result box has been shown.
    void completed(QuizScore score);
    // The user stopped the quiz.
    void stopped(QuizScore score);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void createControls();
    void okOrNext();
    void askNextQuestion();
    void checkAnswer();
    void showChoices();
    void choose(int index);
    bool isLocating() const { return m_session.answerMethod() == AnswerMethod::Locate; }
    // Shows the answers, the information text and the mark of a judged question.
    void showVerdict(bool right);
    void tick();
    void complete();
    void closeWindow();

    Services& m_services;
    RandomSource& m_random;
    QuizSession m_session;
    bool m_started = false;
    bool m_running = false;
    bool m_closeAllowed = false;

    std::array<QLabel*, 3> m_labels{}; // hint, answer 1, answer 2
    QLineEdit* m_answer = nullptr;
    QLabel* m_distance = nullptr; // locate quiz: in the entry's place
    std::array<QPushButton*, Distractors::kChoices> m_choices{}; // a choice quiz only
    QLabel* m_mark = nullptr;
    QPushButton* m_okNext = nullptr;
    QLabel* m_info = nullptr;
    QTimer* m_clock = nullptr;
};
