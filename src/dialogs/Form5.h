#pragma once

#include <QDialog>

#include <array>

class QPushButton;
class QRadioButton;

// The options dialog: chooses what the next start does without a command line. It starts from
// Module1::StartupOption each time it is created; "&OK" stores the choice there, "ｷｬﾝｾﾙ(&C)",
// Esc and the frame's close button leave it alone. It lives only while it is shown.
class Form5 : public QDialog {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    // Controls. Each Option1 carries the start-up option it stands for in its "Tag" property
    // ("Auto", "Dialog", "Manual"). Command1 (0) "&OK" is the default button, Command1 (1)
    // "ｷｬﾝｾﾙ(&C)" the cancel button. Array members are named "Option1_0", "Command1_1" and so on.
    std::array<QRadioButton*, 3> Option1{};
    std::array<QPushButton*, 2> Command1{};

    // Handlers.
    void Form_Load();
    void Command1_Click(int index);

private:
    void updateTabStops();
};
