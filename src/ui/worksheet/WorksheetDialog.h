#pragma once

#include "core/data/WorksheetOptions.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

// The worksheet's options before printing or exporting it: the parts, the numbering and the
// hints on the map. It opens with the options handed in; after exec(), options() holds the
// ones chosen with "&OK", or those handed in after "ｷｬﾝｾﾙ(&C)", Esc or the frame's close
// button. "&OK" is only available while some part is chosen.
class WorksheetDialog : public QDialog {
    Q_OBJECT
public:
    explicit WorksheetDialog(const WorksheetOptions& options, QWidget* parent = nullptr);

    WorksheetOptions options() const { return m_options; }

    void accept() override;

private:
    WorksheetOptions chosen() const;
    void updateButtons();

    WorksheetOptions m_options;
    QCheckBox* m_map = nullptr;
    QCheckBox* m_sheet = nullptr;
    QCheckBox* m_key = nullptr;
    QRadioButton* m_fileOrder = nullptr;
    QRadioButton* m_shuffled = nullptr;
    QCheckBox* m_hints = nullptr;
    QPushButton* m_ok = nullptr;
};
