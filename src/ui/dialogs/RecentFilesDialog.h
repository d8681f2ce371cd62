#pragma once

#include "core/data/SettingsFile.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;

// The recent-files dialog "最近使ったﾌｧｲﾙ": offers the recently opened question files at
// start-up. After exec(), chosenPath() is the entry the user opened (empty when none) and
// startupOption() the option the check box "次回からこのﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示しない" made of the
// one handed in: Manual once either button was pressed with the box checked. A double-click
// opens its entry without looking at the box; Esc and the frame's close button cancel.
class RecentFilesDialog : public QDialog {
    Q_OBJECT
public:
    RecentFilesDialog(const QStringList& entries, StartupOption startupOption,
                      QWidget* parent = nullptr);

    QString chosenPath() const { return m_chosenPath; }
    StartupOption startupOption() const { return m_startupOption; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buttonPressed(bool open);
    void openSelected();

    QListWidget* m_list = nullptr;
    QCheckBox* m_dontShowAgain = nullptr;
    QString m_chosenPath;
    StartupOption m_startupOption;
};
