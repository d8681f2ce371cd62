#pragma once

#include <QPointer>
#include <QWidget>

class QMainWindow;

// A locate quiz asks, and exploring the map shows a point's details, in a column right of the
// map, inside the main window: a window of its own would lie over the map the learner
// searches, a column never can, whatever the screen or the zoom. The window widens by the
// column where the screen has room, so the map keeps its size, and gives that width back when
// the column goes.
class QuestionColumn {
public:
    explicit QuestionColumn(QMainWindow& window)
        : m_window(window) {}

    // Sets the widget (the answer window, the explore panel) into the main window's client
    // area and widens the window.
    void take(QWidget& column);
    // The width the column took goes back, unless the user has made the window fill the screen.
    // False when no column stood beside the map.
    bool giveBack();
    // The widget while it stands beside the map, else nothing.
    QWidget* widget() const { return m_taken ? m_column.data() : nullptr; }

private:
    QMainWindow& m_window;
    QPointer<QWidget> m_column;
    bool m_taken = false;
    int m_widenedBy = 0; // pixels the column added to the window's width
};
