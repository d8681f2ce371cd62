#include "ui/study/StudyCommands.h"

#include "core/app/AppSession.h"
#include "core/app/MainWindowState.h"
#include "core/app/MainWindowTexts.h"
#include "core/quiz/QuizPlacement.h"
#include "core/study/ReviewModel.h"
#include "ui/platform/MapView.h"
#include "ui/quiz/AnswerWindow.h"
#include "ui/study/ProgressCommand.h"
#include "ui/study/ReviewWindow.h"
#include "ui/study/StudyOptionsDialog.h"

#include <QDateTime>
#include <QDebug>
#include <QTimer>

StudyCommands::StudyCommands(Services& services, AppSession& session, const QuestionTable& table,
                             MapView& mapView, const MainWindowState& state)
    : m_services(services)
    , m_session(session)
    , m_table(table)
    , m_mapView(mapView)
    , m_state(state) {
    connect(&m_state, &MainWindowState::changed, this, &StudyCommands::followState);
    connect(&m_masteryReader, &MasteryReader::ready, this, [this](const MasterySnapshot& read) {
        m_mastery.setSnapshot(read);
        m_mapView.updateOverlays();
    });
    // The ring lies above the mastery dots.
    m_mapView.addOverlay(&m_ring);
    followState();
}

StudyCommands::~StudyCommands() {
    m_mapView.removeOverlay(&m_ring);
    m_mapView.removeOverlay(&m_mastery);
}

StudyRecord& StudyCommands::record() {
    if (!m_record)
        m_record = std::make_unique<StudyRecord>(m_session.settingsFolder());
    return *m_record;
}

ReviewWindow* StudyCommands::reviewWindow() const {
    return m_review;
}

void StudyCommands::fileOpening() {
    // The review and the dots belong to the file before.
    if (m_review)
        m_review->close();
    if (m_progress && m_progress->window())
        m_progress->window()->close();
    record().setQuestionFile(QString(), {});
    m_questionFile.clear();
    refreshMastery();
}

void StudyCommands::fileOpened(const QString& path) {
    record().setQuestionFile(path, m_table.rows());
    m_questionFile = path;
    refreshMastery();
}

PointStatsTable StudyCommands::recordFor(QuizMode mode) {
    if (mode != QuizMode::WeakFirst)
        return {};
    return record().pointStats();
}

std::unique_ptr<Distractors> StudyCommands::distractors(const JudgingOptions& judging) {
    auto offered = std::make_unique<Distractors>(m_table.rows(), judging, record().wrongAnswers());
    if (offered->isOffered())
        return offered;
    m_services.message(Distractors::notOfferedMessage());
    return nullptr;
}

ReviewQueue StudyCommands::reviewToday(const PointList& rows) {
    const StudyOptions options = m_session.studyOptions();
    return ReviewQueue::fromTraces(rows, record().memoryTraces(),
                                   QDateTime::currentMSecsSinceEpoch(),
                                   Fsrs(options.retentionPercent / 100.0), options.newPerDay);
}

std::unique_ptr<ReviewQueue> StudyCommands::reviewOrder(const PointList& rows) {
    auto queue = std::make_unique<ReviewQueue>(reviewToday(rows));
    if (!queue->isEmpty())
        return queue;
    m_services.message(nothingDueMessage());
    return nullptr;
}

MessageRequest StudyCommands::nothingDueMessage() {
    return {QStringLiteral("今日の復習はありません。"), QStringLiteral("今日の復習")};
}

QString StudyCommands::readyStatus() {
    if (m_state.values().mode != QuizMode::Review)
        return MainWindowTexts::startPleaseStatus();
    return QuizSession::dueText(reviewToday(m_table.rows()).remaining());
}

void StudyCommands::quizStarted(const AnswerWindow& quiz) {
    if (m_review)
        m_review->hide();
    m_quizRows = quiz.session().rows();
    m_answers = std::make_unique<AnswerIndex>(m_quizRows, quiz.session().judgingOptions());
    connect(&quiz, &AnswerWindow::judged, this, &StudyCommands::questionJudged);
    connect(&quiz, &AnswerWindow::markerPlaced, this, &StudyCommands::questionAsked);
    connect(&quiz, &AnswerWindow::markerHidden, this, &StudyCommands::questionAsked);
}

void StudyCommands::questionJudged(const JudgedQuestion& question) {
    if (m_session.studyOptions().recording)
        record().record(question.point, question.attempt());
    if (question.correct || !m_answers)
        return;
    const QList<int> meant = m_answers->rowsAnsweredBy(question.typed, question.row);
    if (meant.isEmpty())
        return;
    m_ring.show(m_quizRows.at(meant.first()));
    m_mapView.updateOverlays();
}

void StudyCommands::questionAsked() {
    if (!m_ring.isShown())
        return;
    m_ring.hide();
    m_mapView.updateOverlays();
}

std::optional<BestComparison> StudyCommands::compareWithBest(const QuizRun& run, bool wholeFile) {
    if (wholeFile && m_session.studyOptions().recording)
        return record().recordRun(run);
    // The best as it stands, which this quiz does not change.
    bool readable = false;
    const std::optional<PersonalBest> best = record().personalBest(run.mode, run.method, &readable);
    if (!readable)
        return std::nullopt;
    return BestComparison{best, best, false, false};
}

void StudyCommands::quizEnded(const QuizSession& quiz) {
    const QList<JudgedQuestion>& judged = quiz.judgedQuestions();
    questionAsked();
    m_answers.reset();
    m_quizRows.clear();
    if (!m_review) {
        m_review = new ReviewWindow(m_mapView.window());
        connect(m_review, &ReviewWindow::pointRequested, this, &StudyCommands::showPoint);
        connect(m_review, &ReviewWindow::anotherRoundRequested, this,
                &StudyCommands::anotherRoundRequested);
    }
    m_review->setQuestions(judged);
    // A round over some of the points (the misses) is another task than the file's quiz.
    const bool wholeFile = quiz.rowCount() == m_table.rowCount();
    const QuizRun run = quiz.run();
    m_review->setRunText(ReviewModel::runText(run, compareWithBest(run, wholeFile)));
    // A quiz stopped before anything was judged has nothing to review. It opens once the
    // ending has run its course: after a stop the main window comes back only afterwards, and
    // would cover it.
    if (m_session.studyOptions().reviewOpens && !judged.isEmpty())
        QTimer::singleShot(0, this, &StudyCommands::showReview);
}

void StudyCommands::showReview() {
    if (!m_review || !m_state.look(MainCommand::Review).enabled)
        return;
    m_review->show();
    m_review->raise();
    m_review->activateWindow();
}

void StudyCommands::showProgress() {
    if (!m_state.look(MainCommand::Progress).enabled)
        return;
    if (!m_progress)
        m_progress = std::make_unique<ProgressCommand>(m_services, m_mapView.window());
    m_progress->open({m_session.settingsFolder(), m_questionFile, m_table.rows(),
                      m_session.studyOptions().retentionPercent / 100.0,
                      QDateTime::currentDateTime()});
}

void StudyCommands::showPoint(const Point& point) {
    if (m_state.values().quizRunning)
        return;
    const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point);
    if (!topLeft)
        return; // no place on the map
    m_mapView.placeMarker(*topLeft);
    m_mapView.followMarker();
    m_mapView.setMarkerVisible(true);
}

void StudyCommands::followState() {
    // Never during a quiz: the dots would tell the answers' places apart.
    const bool shown = m_state.values().masteryShown && !m_state.values().quizRunning;
    if (shown != m_masteryOnMap)
        showMastery(shown);
}

void StudyCommands::refreshMastery() {
    if (m_masteryOnMap)
        m_masteryReader.read({m_session.settingsFolder(), m_questionFile,
                              m_questionFile.isEmpty() ? PointList() : m_table.rows(),
                              m_session.studyOptions().retentionPercent / 100.0,
                              QDateTime::currentDateTime()});
}

void StudyCommands::showMastery(bool shown) {
    m_masteryOnMap = shown;
    if (shown) {
        refreshMastery();
        m_mapView.removeOverlay(&m_ring);
        m_mapView.addOverlay(&m_mastery);
        m_mapView.addOverlay(&m_ring);
    } else {
        m_mapView.removeOverlay(&m_mastery);
        m_masteryReader.cancel();
        m_mastery.clear();
    }
    m_mapView.updateOverlays();
}

MessageRequest StudyCommands::clearQuestion() {
    return {QStringLiteral("学習記録をすべて消去しますか？"), QStringLiteral("確認"),
            MessageButtons::YesNoDefaultNo, MessageIcon::Question};
}

MessageRequest StudyCommands::clearFailed(const QString& reason) {
    return MessageRequest::error(QStringLiteral("学習記録を消去できませんでした。\r") + reason);
}

void StudyCommands::openOptions() {
    // A new dialog each time, so it starts from the options as they are; this window waits.
    StudyOptionsDialog dialog(m_session.studyOptions(), m_mapView.window());
    connect(&dialog, &StudyOptionsDialog::clearRequested, this, &StudyCommands::clearRecord);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int retention = m_session.studyOptions().retentionPercent;
    m_session.setStudyOptions(dialog.options());
    // The desired retention decides when the mastery map's points are due.
    if (dialog.options().retentionPercent != retention)
        refreshMastery();
}

void StudyCommands::clearRecord() {
    if (m_services.message(clearQuestion()) != MessageAnswer::Yes)
        return;
    QString error;
    if (!record().clear(&error)) {
        qWarning().noquote() << "Cannot empty the study record" << record().filePath() << ":"
                             << error;
        m_services.message(clearFailed(error));
        return;
    }
    refreshMastery();
}
