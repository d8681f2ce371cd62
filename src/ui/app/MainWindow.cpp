#include "ui/app/MainWindow.h"

#include "core/app/HelpFile.h"
#include "core/app/MainLayout.h"
#include "core/app/MainWindowTexts.h"
#include "core/data/TableSink.h"
#include "core/quiz/QuizPlacement.h"
#include "core/quiz/Shuffle.h"
#include "ui/app/MainDialogs.h"
#include "ui/app/MainMenus.h"
#include "ui/app/QuestionColumn.h"
#include "ui/app/SampleCommand.h"
#include "ui/app/StatusPanels.h"
#include "ui/app/WindowGrowth.h"
#include "ui/dialogs/RecentFilesDialog.h"
#include "ui/explore/ExploreMode.h"
#include "ui/platform/LongOperation.h"
#include "ui/platform/MapView.h"
#include "ui/quiz/AnswerWindow.h"
#include "ui/quiz/MapAnswerLink.h"
#include "ui/study/StudyCommands.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

MainWindow::MainWindow(Services& services, const QString& ownFolder, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_session(ownFolder)
    // Looked up once, before the window is first shown.
    , m_helpFile(HelpFile::find(ownFolder))
    , m_questionColumn(std::make_unique<QuestionColumn>(*this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZAV地図覚え"));
    m_openDialog.filter = QuestionFileText::filter();
    createControls();
    createMenus();
    // Design client area below the menu bar; the status bar lies inside it.
    resize(Twips::toPixels(MainLayout::kClientWidth),
           Twips::toPixels(MainLayout::kClientHeight) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    using namespace MainLayout;
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Form1_Client"));
    client->setMouseTracking(true);
    client->installEventFilter(this);
    setCentralWidget(client);

    // Two thin lines under the menu bar: a shadow and a light edge.
    const std::array<QPalette::ColorRole, 2> lineRoles = {QPalette::Mid, QPalette::Base};
    const std::array<int, 2> lineY = {kLine0Y, kLine1Y};
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        auto* line = new QWidget(client);
        line->setObjectName(QStringLiteral("Line1_%1").arg(i));
        line->setAutoFillBackground(true);
        line->setBackgroundRole(lineRoles[i]);
        // A line takes no pointer events; moves over it reach the window, as on the background.
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->setGeometry(Twips::toPixels(kLineX1), Twips::toPixels(lineY[i]),
                          Twips::toPixels(kLineX2 - kLineX1), 1);
        m_lines[i] = line;
    }

    m_mapView = new MapView(client);
    m_mapView->setGeometry(Twips::rect(kMapLeft, kMapTop, kMapWidth, kMapHeight));
    connect(m_mapView, &MapView::pointerMoved, this, &MainWindow::showPointer);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    // The frame resizes the window; a grip would hide the end of Panel_Position.
    statusBar->setSizeGripEnabled(false);
    m_panels = new StatusPanels(statusBar);
    statusBar->addWidget(m_panels, 1);
    setStatusBar(statusBar);
    setStatus(MainWindowTexts::openPleaseStatus());
}

void MainWindow::createMenus() {
    m_menus = std::make_unique<MainMenus>(menuBar(), m_mapView);
    connect(m_menus->open, &QAction::triggered, this, &MainWindow::openFile);
    auto* samples = new SampleCommand(m_services, m_session.ownFolder(), *this); // owned by this
    connect(m_menus->openSample, &QAction::triggered, samples, &SampleCommand::open);
    connect(samples, &SampleCommand::chosen, this, [this](const QString& path) {
        loadQuestionFile(path, true); // as 開く opens its file
    });
    connect(m_menus->start, &QAction::triggered, this, &MainWindow::startQuiz);
    connect(m_menus->stop, &QAction::triggered, this, &MainWindow::stopQuiz);
    connect(m_menus->end, &QAction::triggered, this, &QWidget::close);
    m_dialogs = std::make_unique<MainDialogs>(m_services, m_session, m_helpFile, *this);
    connect(m_menus->editor, &QAction::triggered, m_dialogs.get(), &MainDialogs::openEditor);
    connect(m_menus->options, &QAction::triggered, m_dialogs.get(), &MainDialogs::openOptions);
    connect(m_menus->judging, &QAction::triggered, m_dialogs.get(), &MainDialogs::openJudging);
    connect(m_menus->help, &QAction::triggered, m_dialogs.get(), &MainDialogs::showHelp);
    connect(m_menus->version, &QAction::triggered, m_dialogs.get(), &MainDialogs::showVersion);
    for (auto [item, mode] : {std::pair{m_menus->practiceMode, QuizMode::Practice},
                              {m_menus->normalMode, QuizMode::Normal},
                              {m_menus->weakFirstMode, QuizMode::WeakFirst},
                              {m_menus->reviewMode, QuizMode::Review}}) {
        connect(item, &QAction::triggered, this, [this, mode] {
            m_state.setMode(mode);
            if (mode == QuizMode::Review && m_state.values().fileOpen)
                setStatus(m_study->readyStatus()); // how many are due
            // Choosing the mode already in force took its check mark away: it comes back.
            updateActions();
        });
    }
    for (auto [item, method] : {std::pair{m_menus->typingMethod, AnswerMethod::Typing},
                                {m_menus->locateMethod, AnswerMethod::Locate},
                                {m_menus->choiceMethod, AnswerMethod::Choice}}) {
        connect(item, &QAction::triggered, this, [this, method] {
            m_state.setAnswerMethod(method);
            m_session.setAnswerMethod(method);
        });
    }
    connect(m_menus->mastery, &QAction::triggered, &m_state, &MainWindowState::setMasteryShown);

    m_worksheet = std::make_unique<WorksheetCommands>(m_services, *this, m_table, m_state);
    connect(m_menus->print, &QAction::triggered, m_worksheet.get(), &WorksheetCommands::print);
    connect(m_menus->exportPdf, &QAction::triggered, m_worksheet.get(),
            &WorksheetCommands::exportPdf);
    connect(m_worksheet.get(), &WorksheetCommands::statusChanged, this, &MainWindow::setStatus);
    connect(m_worksheet.get(), &WorksheetCommands::finished, this, &MainWindow::closeIfAsked);
    m_study = std::make_unique<StudyCommands>(m_services, m_session, m_table, *m_mapView, m_state);
    connect(m_menus->review, &QAction::triggered, m_study.get(), &StudyCommands::showReview);
    connect(m_menus->studyOptions, &QAction::triggered, m_study.get(), &StudyCommands::openOptions);
    connect(m_menus->progress, &QAction::triggered, m_study.get(), &StudyCommands::showProgress);
    connect(m_study.get(), &StudyCommands::anotherRoundRequested, this,
            [this](PointList points) { runQuiz(points, QuizMode::Normal); });

    m_explore = std::make_unique<ExploreMode>(m_state, *m_mapView, m_table);
    connect(m_menus->explore, &QAction::triggered, this, [this] {
        m_explore->toggle();
        updateActions(); // the item's check mark follows the state, not the click
    });
    connect(m_explore.get(), &ExploreMode::columnChanged, this, [this](QWidget* panel) {
        panel ? m_questionColumn->take(*panel) : void(m_questionColumn->giveBack());
        layOut();
    });

    connect(&m_state, &MainWindowState::changed, this, &MainWindow::updateActions);
    updateActions();
}

void MainWindow::updateActions() {
    const MainCommandLooks looks = MainWindowState::looks(m_state.values());
    for (int command = 0; command < kMainCommandCount; ++command) {
        const CommandLook& look = looks[command];
        for (QAction* action : m_menus->actionsOf(static_cast<MainCommand>(command))) {
            action->setEnabled(look.enabled);
            if (action->isCheckable())
                action->setChecked(look.checked);
        }
    }
}

void MainWindow::setStatus(const QString& text) {
    m_panels->setText(StatusPanels::Main, text);
}

// ---- Layout and pointer ----

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layOut();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The frame is known only once the window is shown.
    layOut();
}

void MainWindow::layOut() {
    const QRect frame = frameGeometry();
    QWidget* column = m_questionColumn->widget();
    const MainLayout::Assignments a =
        MainLayout::resize(Twips::fromPixels(frame.width()), Twips::fromPixels(frame.height()),
                           m_panels->widthTwips(StatusPanels::Position),
                           column ? Twips::fromPixels(column->width()) : 0);
    if (a.mapWidth)
        m_mapView->resize(Twips::toPixels(*a.mapWidth), m_mapView->height());
    if (a.mapHeight)
        m_mapView->resize(m_mapView->width(), Twips::toPixels(*a.mapHeight));
    const std::array<int, 2> lineEnds = {a.line0X2, a.line1X2};
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        // A line runs between its two ends, whichever lies further left.
        const int left = std::min(MainLayout::kLineX1, lineEnds[i]);
        const int right = std::max(MainLayout::kLineX1, lineEnds[i]);
        m_lines[i]->setGeometry(Twips::toPixels(left), m_lines[i]->y(),
                                Twips::toPixels(right - left), 1);
    }
    if (column) // as tall as the map where it may be (the answer window's size is fixed)
        column->setGeometry(Twips::toPixels(a.columnLeft), Twips::toPixels(MainLayout::kMapTop),
                            column->width(), m_mapView->height());
    m_panels->setWidthTwips(StatusPanels::Time, a.panelTimeWidth);
    if (a.panelMainWidth)
        m_panels->setWidthTwips(StatusPanels::Main, *a.panelMainWidth);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        // Moves that a control left unhandled also arrive here; only the background counts.
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!centralWidget()->childAt(move->position().toPoint()))
            m_panels->setText(StatusPanels::Position, QString());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showPointer(QPointF mapPos) {
    m_panels->setText(StatusPanels::Position, MapView::positionText(mapPos));
}

// ---- Menu commands ----

void MainWindow::openFile() {
    const QString path = m_services.openFileName(m_openDialog);
    if (!path.isEmpty())
        loadQuestionFile(path, true);
}

// ---- The quiz ----

void MainWindow::startQuiz() {
    runQuiz(m_table.rows(), m_state.values().mode);
}

void MainWindow::runQuiz(PointList& rows, QuizMode mode) {
    if (m_state.values().busy || m_state.values().quizRunning)
        return;
    beginLongOperation();
    setStatus(QStringLiteral("並び替えています..."));
    // 選択式 reads the learner's confusions from the record: part of the wait.
    std::unique_ptr<Distractors> choices;
    std::unique_ptr<QuestionOrder> order;
    const bool choosing = m_state.values().answerMethod == AnswerMethod::Choice && !rows.isEmpty();
    if (choosing)
        choices = m_study->distractors(m_session.judgingOptions());
    const bool ready = (!choosing || choices) && putQuestionsInOrder(rows, mode, order);
    setStatus(QString());
    endLongOperation();
    if (m_closeAsked) {
        // The window was asked to close while the rows moved: it closes now, without a quiz.
        closeIfAsked();
        return;
    }
    if (!ready)
        return;
    auto* quiz = new AnswerWindow(rows, mode, *m_random, m_services, this, m_study->recordFor(mode),
                                  m_session.judgingOptions());
    m_quiz = quiz;
    if (choices)
        quiz->setChoices(std::move(choices));
    quiz->setOrder(std::move(order));
    if (m_state.values().answerMethod == AnswerMethod::Locate) {
        new MapAnswerLink(*m_mapView, *quiz); // owned by the quiz
        m_questionColumn->take(*quiz);
        layOut();
    }
    connect(quiz, &AnswerWindow::statusChanged, this, &MainWindow::setStatus);
    connect(quiz, &AnswerWindow::clockChanged, this,
            [this](const QString& text) { m_panels->setText(StatusPanels::Time, text); });
    connect(quiz, &AnswerWindow::markerPlaced, this, &MainWindow::placeMarker);
    connect(quiz, &AnswerWindow::markerHidden, this,
            [this] { m_mapView->setMarkerVisible(false); });
    connect(quiz, &AnswerWindow::completed, this, &MainWindow::endQuiz);
    connect(quiz, &AnswerWindow::stopped, this, &MainWindow::endQuiz);
    m_study->quizStarted(*quiz);
    quiz->show();
    m_state.setQuizRunning(true);
    quiz->start();
}

bool MainWindow::putQuestionsInOrder(PointList& rows, QuizMode mode,
                                     std::unique_ptr<QuestionOrder>& order) {
    m_random->reseed();
    if (rows.isEmpty()) {
        m_services.message(MainWindowTexts::emptyTableMessage());
        return false;
    }
    // In place and linear; the window repaints and the marker blinks between batches of rows,
    // while the user's input waits until the answer window is open.
    shuffleRows(rows, *m_random, [this] { m_operation->letEventsRun(); });
    if (mode == QuizMode::Review && !(order = m_study->reviewOrder(rows)))
        return false;
    m_services.message(MainWindowTexts::goodLuckMessage());
    return true;
}

AnswerWindow* MainWindow::answerWindow() const {
    return m_quiz;
}

void MainWindow::placeMarker(QPointF topLeft) {
    m_mapView->placeMarker(topLeft);
    // The asked point comes into view first; the answer window then keeps clear of it.
    m_mapView->followMarker();
    if (m_quiz) {
        const QRect marker = m_mapView->markerOnScreen();
        m_quiz->keepClearOf(marker.left(), marker.width());
    }
    m_mapView->setMarkerVisible(true);
}

void MainWindow::stopQuiz() {
    if (!m_quiz || !m_quiz->isRunning())
        return;
    hide();
    m_quiz->hide();
    const MessageAnswer answer =
        m_services.message(QStringLiteral("中止しますか？"), QStringLiteral("確認"),
                           MessageButtons::YesNo, MessageIcon::Question);
    if (m_quiz) {
        if (answer == MessageAnswer::Yes)
            m_quiz->stop();
        else
            m_quiz->show();
    }
    show();
}

void MainWindow::endQuiz() {
    m_mapView->setMarkerVisible(false);
    if (m_questionColumn->giveBack())
        layOut();
    m_state.setQuizRunning(false);
    if (m_quiz) {
        m_study->quizEnded(m_quiz->session());
        m_state.setReviewReady(true);
        m_quiz->deleteLater();
    }
}

void MainWindow::beginLongOperation() {
    m_state.setBusy(true);
    m_operation = std::make_unique<LongOperation>(
        *this, [this](bool held) { m_state.setCommandsHeld(held); });
}

void MainWindow::endLongOperation() {
    m_operation.reset();
    m_state.setBusy(false);
}

// ---- Start-up and exit ----

void MainWindow::start(const QString& commandLine) {
    if (m_session.hasStarted())
        return;
    const StartupDecision decision = m_session.start(commandLine, [this](StartupOption option) {
        RecentFilesDialog dialog(m_session.recentFiles().entries(), option, this);
        dialog.exec();
        return RecentFileChoice{dialog.chosenPath(), dialog.startupOption()};
    });
    m_state.setAnswerMethod(m_session.answerMethod());
    for (const MessageRequest& message : decision.messages)
        m_services.message(message);
    if (!decision.startupPath.isEmpty() &&
        loadQuestionFile(decision.startupPath, false) == ReadOutcome::CannotOpen) {
        // At start-up a file that cannot be opened (a command line naming no file) is
        // reported like any other failed read.
        setStatus(MainWindowTexts::errorStatus());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A long command still runs below us on the stack; the window closes once it has ended.
    if (m_state.values().busy) {
        m_closeAsked = true;
        event->ignore();
        return;
    }
    m_session.save();
    // The program ends now: other windows (a quiz's answer window) go without their own
    // closing steps, so a running quiz ends without a result.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            child->hide();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::closeIfAsked() {
    if (!m_closeAsked)
        return;
    m_closeAsked = false;
    QTimer::singleShot(0, this, &QWidget::close);
}

// ---- Reading a question file ----

ReadOutcome MainWindow::loadQuestionFile(const QString& path, bool rememberInDialog) {
    if (m_state.values().busy)
        return ReadOutcome::CannotOpen;
    TableSink sink(m_table);
    sink.onStarted = [this] {
        m_explore->fileOpening();
        // A new file's points never join an earlier file's: they belong to another map.
        m_table.clear();
        m_worksheet->fileOpening();
        m_study->fileOpening();
        m_state.setFile(false, false);
        m_state.setReviewReady(false);
        beginLongOperation();
        setStatus(QuestionFileText::opening());
    };
    sink.onMapLoaded = [this](const QImage& map, const QString&) {
        m_mapView->setMap(map);
        m_worksheet->mapLoaded(map);
    };
    sink.onRecordRead = [this] {
        m_operation->letEventsRun();
    };
    const ReadOutcome outcome = QuestionFile::read(path, sink);
    if (m_operation)
        m_operation->releaseCommands();

    if (outcome == ReadOutcome::Success) {
        endLongOperation();
        if (rememberInDialog)
            m_openDialog.fileName = path;
        m_session.recentFiles().add(path);
        m_worksheet->fileOpened(path);
        m_study->fileOpened(path);
        m_explore->fileOpened();
        m_state.setFile(true, !m_table.isEmpty());
        growToShowMap();
        setStatus(m_study->readyStatus());
    } else if (outcome != ReadOutcome::CannotOpen) {
        // The message comes up while the wait cursor still shows over this window.
        if (const std::optional<MessageRequest> message = MainWindowTexts::failureMessage(outcome))
            m_services.message(*message);
        endLongOperation();
        setStatus(MainWindowTexts::errorStatus());
    }
    closeIfAsked();
    return outcome;
}

void MainWindow::growToShowMap() {
    // A map larger than the view would show only its top-left corner: the window grows until
    // the whole map shows, as far as the screen allows.
    if (m_mapView->hasMap())
        WindowGrowth::grow(*this, m_mapView->mapSize() - m_mapView->contentsRect().size());
}
