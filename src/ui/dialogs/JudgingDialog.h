#pragma once

#include "core/data/JudgingOptions.h"

#include <QDialog>

#include <array>

class QCheckBox;

// The dialog "判定の設定": how leniently typed answers are judged. It opens with the options
// handed in; after exec(), options() are those chosen with "&OK", or the ones handed in after
// "ｷｬﾝｾﾙ(&C)", Esc or the frame's close button.
class JudgingDialog : public QDialog {
    Q_OBJECT
public:
    explicit JudgingDialog(const JudgingOptions& options, QWidget* parent = nullptr);

    JudgingOptions options() const { return m_options; }

    void accept() override;

private:
    JudgingOptions m_options;
    // In the order of the boxes: width, kana, spaces.
    std::array<QCheckBox*, 3> m_boxes{};
};
