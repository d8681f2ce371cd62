#pragma once

#include "core/data/QuizTerms.h"

#include <QObject>

#include <array>

// The main window's commands, one menu item each (the zoom items count as one).
enum class MainCommand {
    Open,
    OpenSample,
    Start,
    Stop,
    Review,
    Print,
    ExportPdf,
    End,
    ModeMenu,
    PracticeMode,
    NormalMode,
    WeakFirstMode,
    ReviewMode,
    Editor,
    Options,
    StudyOptions,
    MethodMenu,
    TypingMethod,
    LocateMethod,
    ChoiceMethod,
    Judging,
    Zoom,
    Mastery,
    Explore,
    Progress,
    Help,
    Version,
};
constexpr int kMainCommandCount = static_cast<int>(MainCommand::Version) + 1;

// How a command's item looks: usable or greyed out, and for a checkable item, checked.
struct CommandLook {
    bool enabled = true;
    bool checked = false;
};
using MainCommandLooks = std::array<CommandLook, kMainCommandCount>;

// What decides the main window's commands, without widgets. The main window's menus show it
// (MainWindow::updateActions) and its commands read it; nothing keeps a copy of it.
class MainWindowState : public QObject {
    Q_OBJECT
public:
    struct Values {
        bool fileOpen = false;  // a question file has been read in full
        bool hasPoints = false; // and it has points
        bool quizRunning = false;
        QuizMode mode = QuizMode::Normal;
        AnswerMethod answerMethod = AnswerMethod::Typing;
        bool busy = false; // a long command is under way: a read, the shuffle, an export
        // The long command holds every command; it gives them back to report how it went.
        bool commandsHeld = false;
        bool reviewReady = false;  // a quiz has ended since the file was opened
        bool masteryShown = false; // 習熟度を表示 is on
        bool exploring = false;    // 地図を見る is on

        friend bool operator==(const Values&, const Values&) = default;
    };

    // The one rule of the commands: how each looks in a state.
    static MainCommandLooks looks(const Values& values);

    const Values& values() const { return m_values; }
    CommandLook look(MainCommand command) const {
        return looks(m_values)[static_cast<int>(command)];
    }

    void setFile(bool open, bool hasPoints) {
        Values next = m_values;
        next.fileOpen = open;
        next.hasPoints = hasPoints;
        change(next);
    }
    void setQuizRunning(bool running) { change(&Values::quizRunning, running); }
    void setMode(QuizMode mode) { change(&Values::mode, mode); }
    void setAnswerMethod(AnswerMethod method) { change(&Values::answerMethod, method); }
    void setBusy(bool busy) { change(&Values::busy, busy); }
    void setCommandsHeld(bool held) { change(&Values::commandsHeld, held); }
    void setReviewReady(bool ready) { change(&Values::reviewReady, ready); }
    void setMasteryShown(bool shown) { change(&Values::masteryShown, shown); }
    void setExploring(bool exploring) { change(&Values::exploring, exploring); }

signals:
    // Some value changed.
    void changed();

private:
    template <class T> void change(T Values::*field, T value) {
        Values next = m_values;
        next.*field = value;
        change(next);
    }
    void change(const Values& next) {
        if (next == m_values)
            return;
        m_values = next;
        emit changed();
    }

    Values m_values;
};
