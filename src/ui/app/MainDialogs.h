#pragma once

#include <QObject>
#include <QString>

class AppSession;
class QWidget;
class Services;

// The main window's commands that open a window of their own and wait for it: the editor, the
// start-up option, the judging options, the help and the version box. What they change is kept
// in the application session; each opening starts afresh from it.
class MainDialogs : public QObject {
    Q_OBJECT
public:
    // `helpFile`: empty, or the help file found beside the program. The dialogs belong to
    // `window`.
    MainDialogs(Services& services, AppSession& session, const QString& helpFile, QWidget& window);

    static QString versionText();

public slots:
    void openEditor();
    void openOptions();
    void openJudging();
    void showHelp();
    void showVersion();

private:
    Services& m_services;
    AppSession& m_session;
    QString m_helpFile;
    QWidget& m_window;
};
