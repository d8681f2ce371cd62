#pragma once

#include "core/data/SettingsFile.h"

#include <QDialog>

#include <array>

class QRadioButton;

// The options dialog "ｵﾌﾟｼｮﾝ": chooses what the next start does without a command line. It
// opens with the option handed in selected; after exec(), startupOption() is the option chosen
// with "&OK", or the one handed in after "ｷｬﾝｾﾙ(&C)", Esc or the frame's close button.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(StartupOption startupOption, QWidget* parent = nullptr);

    StartupOption startupOption() const { return m_startupOption; }

    void accept() override;

private:
    void updateTabStops();

    // In the order of the buttons: Auto, Dialog, Manual.
    static constexpr std::array<StartupOption, 3> kOptions{
        StartupOption::Auto, StartupOption::Dialog, StartupOption::Manual};
    std::array<QRadioButton*, 3> m_options{};
    StartupOption m_startupOption;
};
