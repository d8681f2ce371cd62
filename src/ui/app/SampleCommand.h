#pragma once

#include <QObject>
#include <QString>

class QWidget;
class Services;

// ﾌｧｲﾙ → ｻﾝﾌﾟﾙを開く: lists the quizzes that come with the program in a dialog of their own and
// hands the chosen one to the window, which opens it as 開く does. Without samples the user
// is told so, and no empty dialog opens.
class SampleCommand : public QObject {
    Q_OBJECT
public:
    // The samples are looked for from `ownFolder` (SampleLibrary::folder); the dialog belongs
    // to `window`, which also owns this command.
    SampleCommand(Services& services, const QString& ownFolder, QWidget& window);

public slots:
    void open();

signals:
    void chosen(const QString& questionFile);

private:
    Services& m_services;
    QString m_ownFolder;
    QWidget& m_window;
};
