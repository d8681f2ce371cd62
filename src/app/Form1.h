#pragma once

#include "data/QuestionFile.h"
#include "data/QuestionTable.h"
#include "data/RecentFiles.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "quiz/RandomSource.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <array>

class Form2;
class Form4;
class MapView;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class PanelStrip;

// The main window: map view, status bar and menus. It owns the question table, the recent-files
// list and the open dialog's state for the whole run.
//
// Controls keep their established names as member names and objectNames. A control array
// member is named "Name_index" (Line1 (0) is "Line1_0"); status-bar panels are labels named by
// their keys ("Panel_Main"). Menu items are QActions named like the item; a menu's own QMenu and
// its menuAction() both carry the menu's name.
class Form1 : public QMainWindow, private QuestionSink {
    Q_OBJECT
public:
    // `ownFolder` is where the help file (and the program's own files) live; it ends with one
    // "/". Tests hand in a folder of their own.
    explicit Form1(Services& services, const QString& ownFolder = Files::programFolder(),
                   QWidget* parent = nullptr);
    ~Form1() override;

    // Controls.
    MapView* Picture1 = nullptr;
    QTimer* Timer1 = nullptr;
    std::array<QWidget*, 2> Line1{};
    QStatusBar* StatusBar1 = nullptr;

    QMenu* Menu1_File = nullptr;
    QAction* Menu2_Open = nullptr;
    QAction* Menu2_Start = nullptr;
    QAction* Menu2_Stop = nullptr;
    QAction* Menu2_End = nullptr;
    QMenu* Menu1_Edit = nullptr;
    QMenu* Menu2_Mode = nullptr;
    QAction* Menu3_PMode = nullptr;
    QAction* Menu3_NMode = nullptr;
    QAction* Menu2_FileEdit = nullptr;
    QAction* Menu2_Option = nullptr;
    QMenu* Menu1_Help = nullptr;
    QAction* Menu2_Help = nullptr;
    QAction* Menu2_Version = nullptr;

    // Status-bar panels by key: "Panel_Main", "Panel_Time", "Panel_Position".
    QLabel* panel(const QString& key) const;
    QLabel* panelMain() const { return m_panels[0]; }
    QLabel* panelTime() const { return m_panels[1]; }
    QLabel* panelPosition() const { return m_panels[2]; }
    // A panel's width in twips, and setting it (negative widths are refused).
    int panelWidth(const QString& key) const;
    void setPanelWidth(const QString& key, int twips);

    QuestionTable& questionTable() { return m_table; }
    const QuestionTable& questionTable() const { return m_table; }
    RecentFiles& recentFiles() { return m_recentFiles; }
    FileDialogState& CommonDialog1() { return m_commonDialog1; }
    Services& services() { return m_services; }

    // The help-file setting: empty, or the help file found beside the program.
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString& path) { m_helpFile = path; }

    // The own folder with exactly one trailing "/".
    QString MyPath() const { return m_myPath; }

    // Reads a question file for play (the Open command from its second step, and the start-up
    // load). `rememberInDialog` also makes the path the open dialog's remembered file name;
    // the start-up load leaves that name alone. Returns how the read ended; while a read runs,
    // another call returns CannotOpen at once and changes nothing.
    ReadOutcome loadQuestionFile(const QString& path, bool rememberInDialog);
    // True while a question file is being read: every menu command is held back meanwhile.
    bool isReading() const { return m_reading; }

    // The quiz: puts the table into a fresh random order (the start sequence runs it).
    void SSS();
    // The open answer window, if any.
    Form2* answerWindow() const;
    // The generator of the question order and the practice rows; tests hand in their own.
    RandomSource& randomSource() { return *m_random; }
    void setRandomSource(RandomSource& random) { m_random = &random; }

    // The start-up sequence: reads the history and settings files in the own folder, then
    // loads the file that the command-line argument text, the settings or the recent-files
    // dialog name. Runs once, before the window is first shown. The exit steps (closing the
    // window) write both files back only after it has run.
    void Form_Load(const QString& commandLine);

    // The recent-files dialog: created by Form_Load, then kept loaded and hidden.
    Form4* recentFilesDialog() const { return m_form4; }

    // The recent-files dialog hands the chosen path over here.
    QString Tag;

    // Handlers.
    void Form_Resize();
    void Form_MouseMove();
    void Picture1_MouseMove(const QPointF& mapPos);
    void Timer1_Timer();
    void Menu2_Open_Click();
    void Menu2_Start_Click();
    void Menu2_Stop_Click();
    void Menu2_End_Click();
    void Menu3_PMode_Click();
    void Menu3_NMode_Click();
    void Menu2_FileEdit_Click();
    void Menu2_Option_Click();
    void Menu2_Help_Click();
    void Menu2_Version_Click();

    // Texts the window shows.
    static QString versionText();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption);
    void holdCommands();
    void releaseCommands();
    void reportFailure(ReadOutcome outcome);
    void growToShowMap();
    void Form_Unload();

    // QuestionSink: where a read puts what it finds.
    void readingStarted() override;
    void expectPoints(int count) override;
    int pointCount() const override;
    void appendPoint(Point&& point) override;
    void mapLoaded(const QImage& map, const QString& reference) override;
    AfterMapFailure mapFailed(ReadOutcome failure, const QString& reference) override;
    void recordRead() override;

    Services& m_services;
    QString m_myPath;
    QString m_helpFile;
    QuestionTable m_table;
    RecentFiles m_recentFiles;
    FileDialogState m_commonDialog1;

    PanelStrip* m_panelStrip = nullptr;
    std::array<QLabel*, 3> m_panels{};
    std::array<int, 2> m_lineX2{};

    bool m_reading = false;
    bool m_commandsHeld = false;
    bool m_closeAfterRead = false;
    QList<QPair<QAction*, bool>> m_heldCommands;
    QElapsedTimer m_sinceEvents;

    Form4* m_form4 = nullptr;
    bool m_loaded = false;
    bool m_unloaded = false;

    SystemRandomSource m_systemRandom;
    RandomSource* m_random = &m_systemRandom;
    QPointer<Form2> m_form2;
    bool m_starting = false;
};
