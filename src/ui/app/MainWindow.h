#pragma once

#include "core/app/AppSession.h"
#include "core/app/MainWindowState.h"
#include "core/data/QuestionFile.h"
#include "core/data/QuestionTable.h"
#include "core/platform/Files.h"
#include "core/platform/Services.h"
#include "core/quiz/QuizSession.h"
#include "core/quiz/RandomSource.h"
#include "ui/worksheet/WorksheetCommands.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class AnswerWindow;
class ExploreMode;
class LongOperation;
class MainDialogs;
struct MainMenus;
class MapView;
class QuestionColumn;
class StatusPanels;
class StudyCommands;

// The main window "ZAV地図覚え": the map, the status bar and the menus. It owns the question
// table, the open dialog's state and the application session (recent files and settings) for
// the whole run, opens question files for play, and runs a quiz through its answer window,
// whose signals it turns into its own marker and panels. What decides its commands lives in
// one MainWindowState, which updateActions() shows in the menus.
//
// Controls carry their established names as objectNames ("Picture1", "Menu2_Open",
// "Panel_Main"); tests and automation find them by those.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `ownFolder` is where the help, history and settings files live; it ends with one "/".
    // Tests hand in a folder of their own.
    explicit MainWindow(Services& services, const QString& ownFolder = Files::programFolder(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: reads the history and settings files, then loads the file that
    // the command-line argument text, the settings or the recent-files dialog name. Runs once,
    // before the window is first shown; closing the window writes both files back only after
    // it has run.
    void start(const QString& commandLine);

    // Reads a question file for play (the Open command after its dialog, and the start-up
    // load). `rememberInDialog` also makes the path the open dialog's remembered file name.
    // While a long command runs, another read returns CannotOpen at once and changes nothing.
    ReadOutcome loadQuestionFile(const QString& path, bool rememberInDialog);
    // What decides the commands: the file, the quiz, the mode and answer method, a long
    // command under way (a read, putting the questions into order, writing a worksheet out).
    const MainWindowState& state() const { return m_state; }

    QuestionTable& questionTable() { return m_table; }
    const QuestionTable& questionTable() const { return m_table; }
    AppSession& session() { return m_session; }
    const AppSession& session() const { return m_session; }
    const FileDialogState& openDialog() const { return m_openDialog; }
    // Empty, or the help file found beside the program.
    QString helpFile() const { return m_helpFile; }
    // The answer window of the quiz under way, if any.
    AnswerWindow* answerWindow() const;
    // The review, the study record, the mastery map and the study options.
    StudyCommands& studyCommands() const { return *m_study; }
    // The generator of the question order and the practice rows; tests hand in their own.
    void setRandomSource(RandomSource& random) { m_random = &random; }

public slots:
    void openFile();
    // Puts the table into a fresh random order and opens the answer window.
    void startQuiz();
    // Asks, then ends the quiz under way with the score so far.
    void stopQuiz();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    // Every menu item's enabled and checked state from the state.
    void updateActions();
    void layOut();
    void setStatus(const QString& text);
    void showPointer(QPointF mapPos);
    // Puts `rows` into a fresh random order and opens the answer window over them.
    void runQuiz(PointList& rows, QuizMode mode);
    // Shuffles the rows; today's review then takes its order from the record (nothing, after
    // telling the user, when none is due).
    bool putQuestionsInOrder(PointList& rows, QuizMode mode, std::unique_ptr<QuestionOrder>& order);
    void placeMarker(QPointF topLeft);
    void endQuiz();
    // A long command of this window: busy, with the commands held, until it ends.
    void beginLongOperation();
    void endLongOperation();
    void growToShowMap();
    void closeIfAsked();

    Services& m_services;
    AppSession m_session;
    QString m_helpFile;
    QuestionTable m_table;
    FileDialogState m_openDialog;
    MainWindowState m_state;
    bool m_closeAsked = false;

    SystemRandomSource m_systemRandom;
    RandomSource* m_random = &m_systemRandom;
    QPointer<AnswerWindow> m_quiz;
    std::unique_ptr<QuestionColumn> m_questionColumn;

    MapView* m_mapView = nullptr;
    std::array<QWidget*, 2> m_lines{};
    StatusPanels* m_panels = nullptr;
    std::unique_ptr<MainMenus> m_menus;
    std::unique_ptr<MainDialogs> m_dialogs;
    std::unique_ptr<WorksheetCommands> m_worksheet;
    std::unique_ptr<StudyCommands> m_study;
    std::unique_ptr<ExploreMode> m_explore;
    // Last, so that an operation still under way gives the commands back to intact menus.
    std::unique_ptr<LongOperation> m_operation;
};
