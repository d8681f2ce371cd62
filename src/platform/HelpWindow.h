#pragma once

#include <QMainWindow>

class QTextBrowser;

// The help viewer: shows the program's help file (HTML) in a reading window.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the file; returns false when it cannot be read.
    bool openFile(const QString& path);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
