#pragma once

#include "core/data/StudyOptions.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

// The study options "学習の設定": whether judged questions go into the study record, whether the
// review opens by itself when a quiz ends, today's review's desired retention and new points a
// day, and a button to empty the record. It opens with the
// options handed in; after exec(), options() are those chosen with "&OK", or the ones handed in
// after "ｷｬﾝｾﾙ(&C)", Esc or the frame's close button. Emptying the record is the owner's work:
// the button only asks for it.
class StudyOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit StudyOptionsDialog(const StudyOptions& options, QWidget* parent = nullptr);

    StudyOptions options() const { return m_options; }

    void accept() override;

signals:
    void clearRequested();

private:
    StudyOptions m_options;
    QCheckBox* m_recording = nullptr;
    QCheckBox* m_reviewOpens = nullptr;
    QSpinBox* m_retention = nullptr;
    QSpinBox* m_newPerDay = nullptr;
};
