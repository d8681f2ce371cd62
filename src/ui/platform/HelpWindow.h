#pragma once

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QWidget;

// The help viewer: shows the program's help file (HTML) in a reading window with links between
// its sections, Back and Forward, and a find bar (Ctrl+F; Enter or F3 finds the next match,
// Shift+Enter or Shift+F3 the previous one, Esc closes the bar).
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the file; returns false, with the reason in `reason`, when it cannot be read.
    bool openFile(const QString& path, QString* reason = nullptr);

    QTextBrowser* browser() const { return m_browser; }
    QWidget* findBar() const { return m_findBar; }
    QLineEdit* findEdit() const { return m_findEdit; }

    // Shows the find bar with the focus in its entry.
    void showFindBar();
    // Selects the next (or previous) match of the entry's text, wrapping around the document;
    // false when the text occurs nowhere.
    bool findNext(bool backward = false);

private:
    QTextBrowser* m_browser;
    QWidget* m_findBar;
    QLineEdit* m_findEdit;
    QLabel* m_findStatus;
};
