#include "app/StudyCommands.h"

#include "app/AppSession.h"
#include "app/MainMenus.h"
#include "dialogs/StudyOptionsDialog.h"
#include "platform/MapView.h"
#include "quiz/AnswerWindow.h"
#include "quiz/QuizPlacement.h"
#include "quiz/ReviewWindow.h"

#include <QAction>
#include <QDebug>
#include <QTimer>

StudyCommands::StudyCommands(Services& services, QWidget& window, AppSession& session,
                             const QuestionTable& table, MapView& mapView, const MainMenus& menus)
    : m_services(services)
    , m_window(window)
    , m_session(session)
    , m_table(table)
    , m_mapView(mapView)
    , m_menus(menus) {
    connect(m_menus.review, &QAction::triggered, this, &StudyCommands::showReview);
    connect(m_menus.studyOptions, &QAction::triggered, this, &StudyCommands::openOptions);
    connect(m_menus.mastery, &QAction::toggled, this, &StudyCommands::showMastery);
    // The ring lies above the mastery dots.
    m_mapView.addOverlay(&m_ring);
    updateActions();
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
    m_reviewReady = false;
    record().setQuestionFile(QString(), {});
    showMastery(m_menus.mastery->isChecked());
    updateActions();
}

void StudyCommands::fileOpened(const QString& path) {
    record().setQuestionFile(path, m_table.rows());
    showMastery(m_menus.mastery->isChecked());
}

PointStatsTable StudyCommands::recordFor(QuizMode mode) {
    if (mode != QuizMode::WeakFirst)
        return {};
    return record().pointStats();
}

void StudyCommands::quizStarted(const AnswerWindow& quiz) {
    m_quizRunning = true;
    if (m_review)
        m_review->hide();
    m_quizRows = quiz.session().rows();
    m_answers = std::make_unique<AnswerIndex>(m_quizRows, quiz.session().judgingOptions());
    connect(&quiz, &AnswerWindow::judged, this, &StudyCommands::questionJudged);
    connect(&quiz, &AnswerWindow::markerPlaced, this, &StudyCommands::questionAsked);
    connect(&quiz, &AnswerWindow::markerHidden, this, &StudyCommands::questionAsked);
    showMastery(false);
    updateActions();
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

void StudyCommands::quizEnded(const QList<JudgedQuestion>& judged) {
    m_quizRunning = false;
    questionAsked();
    m_answers.reset();
    m_quizRows.clear();
    if (!m_review) {
        m_review = new ReviewWindow(&m_window);
        connect(m_review, &ReviewWindow::pointRequested, this, &StudyCommands::showPoint);
        connect(m_review, &ReviewWindow::anotherRoundRequested, this,
                &StudyCommands::anotherRoundRequested);
    }
    m_review->setQuestions(judged);
    m_reviewReady = true;
    showMastery(m_menus.mastery->isChecked());
    updateActions();
    // A quiz stopped before anything was judged has nothing to review. It opens once the
    // ending has run its course: after a stop the main window comes back only afterwards, and
    // would cover it.
    if (m_session.studyOptions().reviewOpens && !judged.isEmpty())
        QTimer::singleShot(0, this, &StudyCommands::showReview);
}

void StudyCommands::showReview() {
    if (!m_review || !m_reviewReady || m_quizRunning)
        return;
    m_review->show();
    m_review->raise();
    m_review->activateWindow();
}

void StudyCommands::showPoint(const Point& point) {
    if (m_quizRunning)
        return;
    const std::optional<QPointF> topLeft = QuizPlacement::markerTopLeft(point);
    if (!topLeft)
        return; // no place on the map
    m_mapView.placeMarker(*topLeft);
    m_mapView.followMarker();
    m_mapView.setMarkerVisible(true);
}

void StudyCommands::showMastery(bool shown) {
    // Never during a quiz: the dots would tell the answers' places apart.
    if (shown && !m_quizRunning) {
        m_mastery.setPoints(m_table.rows(), record().pointStats());
        m_mapView.removeOverlay(&m_ring);
        m_mapView.addOverlay(&m_mastery);
        m_mapView.addOverlay(&m_ring);
    } else {
        m_mapView.removeOverlay(&m_mastery);
        m_mastery.setPoints({}, {});
    }
    m_mapView.updateOverlays();
}

void StudyCommands::updateActions() {
    m_menus.review->setEnabled(m_reviewReady && !m_quizRunning);
    m_menus.mastery->setEnabled(!m_quizRunning);
}

MessageRequest StudyCommands::clearQuestion() {
    return {QStringLiteral("学習記録をすべて消去しますか？"), QStringLiteral("確認"),
            MessageButtons::YesNoDefaultNo, MessageIcon::Question};
}

MessageRequest StudyCommands::clearFailed() {
    return MessageRequest::error(QStringLiteral("学習記録を消去できませんでした。"));
}

void StudyCommands::openOptions() {
    // A new dialog each time, so it starts from the options as they are; this window waits.
    StudyOptionsDialog dialog(m_session.studyOptions(), &m_window);
    connect(&dialog, &StudyOptionsDialog::clearRequested, this, &StudyCommands::clearRecord);
    if (dialog.exec() == QDialog::Accepted)
        m_session.setStudyOptions(dialog.options());
}

void StudyCommands::clearRecord() {
    if (m_services.message(clearQuestion()) != MessageAnswer::Yes)
        return;
    QString error;
    if (!record().clear(&error)) {
        qWarning().noquote() << "Cannot empty the study record" << record().filePath() << ":"
                             << error;
        m_services.message(clearFailed());
        return;
    }
    showMastery(m_menus.mastery->isChecked());
}
