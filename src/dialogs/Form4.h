#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QListWidget;
class QPushButton;
class RecentFiles;

// The recent-files dialog. Start-up shows it modally to offer the recently opened question
// files; afterwards it stays loaded and hidden for the rest of the run. The choice goes to the
// owner's `Tag` text: the chosen path, or the `Tag` left as it was when nothing was chosen.
// Closing it only hides it; it is never destroyed before its owner.
class Form4 : public QDialog {
    Q_OBJECT
public:
    // `recentFiles` is the owner's recent-files list, shown in List1 each time the dialog
    // opens; `ownerTag` is the owner's Tag text that receives the chosen path.
    Form4(RecentFiles& recentFiles, QString& ownerTag, QWidget* parent = nullptr);

    // Controls. Command1 (0) "開く(&O)" is the default button, Command1 (1) "ｷｬﾝｾﾙ(&C)" the
    // cancel button; their objectNames are "Command1_0" and "Command1_1".
    QListWidget* List1 = nullptr;
    std::array<QPushButton*, 2> Command1{};
    QCheckBox* Check1 = nullptr;

    // Handlers.
    void Command1_Click(int index);
    void List1_DblClick();

    // Esc and the window frame's close button act as "ｷｬﾝｾﾙ(&C)".
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OpenFile();
    void hideDialog(int result);

    RecentFiles& m_recentFiles;
    QString& m_ownerTag;
};
