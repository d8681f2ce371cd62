#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QPointer>

#include <functional>
#include <utility>

class QWidget;

// A command that keeps the window thread busy for a while: reading or writing a question file,
// putting the questions into order. From construction to end() (or destruction) the window
// shows the wait cursor and its commands are held: the window is told to hold them, and to
// give them back at the end, and shows that from its own state. letEventsRun() lets pending
// events run now and then, so the window repaints and its timers fire, while the user's input
// waits until the command is done.
class LongOperation {
public:
    // How often pending events run at most: often enough to look alive, rarely enough that
    // they cost little next to the work itself.
    static constexpr qint64 kEventIntervalMs = 50;

    // Told true at once, when the commands are to be held, and false once, when they are
    // given back.
    using HoldCommands = std::function<void(bool held)>;

    LongOperation(QWidget& window, HoldCommands holdCommands);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    // True when letEventsRun() would run them now (a caller may first finish a batch).
    bool eventsDue() const;
    // Runs pending events, except user input, unless they ran less than kEventIntervalMs ago;
    // the first call always runs them.
    void letEventsRun();

    // Gives the held commands back before the end, so that they are usable again while the
    // window still reports how the command went.
    void releaseCommands();

    // Restores the cursor and releases the commands; later calls do nothing.
    void end();

    // Runs `ask` (a message box, say) with the ordinary pointer over the window; the wait
    // cursor comes back afterwards.
    template <class Ask> auto withNormalCursor(Ask&& ask) {
        if (!m_ended)
            restoreCursor();
        struct Again {
            LongOperation& operation;
            ~Again() { operation.showWaitCursor(); }
        } again{*this};
        return std::forward<Ask>(ask)();
    }

private:
    void showWaitCursor();
    void restoreCursor();

    QPointer<QWidget> m_window;
    HoldCommands m_holdCommands;
    bool m_held = true;
    bool m_hadCursor = false;
    QCursor m_cursorBefore;
    bool m_ended = false;
    QElapsedTimer m_sinceEvents;
};
