#pragma once

#include <QDialog>

#include <array>

class QCheckBox;

// The dialog "判定の設定": how leniently typed answers are judged. It opens with the three
// choices handed in; after exec() they are the ones chosen with "&OK", or those handed in after
// "ｷｬﾝｾﾙ(&C)", Esc or the frame's close button.
class JudgingDialog : public QDialog {
    Q_OBJECT
public:
    JudgingDialog(bool ignoreWidth, bool ignoreKana, bool ignoreSpaces, QWidget* parent = nullptr);

    bool ignoreWidth() const { return m_values[0]; }
    bool ignoreKana() const { return m_values[1]; }
    bool ignoreSpaces() const { return m_values[2]; }

    void accept() override;

private:
    // In the order of the boxes: width, kana, spaces.
    std::array<QCheckBox*, 3> m_boxes{};
    std::array<bool, 3> m_values{};
};
