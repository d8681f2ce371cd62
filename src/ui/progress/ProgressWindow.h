#pragma once

#include "core/study/ProgressData.h"

#include <QWidget>

class QChart;
class QChartView;
class QLabel;

// The window 学習の記録: the points known each day, the answers and right answers each day, and
// the reviews due in the next days; a notice instead when the record is too short to chart.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void setData(const ProgressData& data);

private:
    QChartView* addChart(const char* name);

    QLabel* m_notice;
    QList<QChartView*> m_views;
};
