#include "ui/progress/ProgressWindow.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

QString dayText(QDate day) {
    return QStringLiteral("%1/%2").arg(day.month()).arg(day.day());
}

// A count axis from 0 with a tick on whole numbers only, at most six ticks.
QValueAxis* countAxis(const QList<int>& counts) {
    auto* axis = new QValueAxis;
    const int top =
        std::max(counts.isEmpty() ? 0 : *std::max_element(counts.cbegin(), counts.cend()), 1);
    const int step = (top + 4) / 5;
    const int ticks = (top + step - 1) / step;
    axis->setRange(0, ticks * step);
    axis->setTickCount(ticks + 1);
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

// A day under a bar: the month only where it changes, so fourteen of them fit.
QString shortDayText(QDate day) {
    return day.day() == 1 ? dayText(day) : QString::number(day.day());
}

QLineSeries* dailySeries(const QString& name, QDate first, const QList<int>& counts) {
    auto* series = new QLineSeries;
    series->setName(name);
    for (int i = 0; i < counts.size(); ++i)
        series->append(QDateTime(first.addDays(i), QTime(0, 0)).toMSecsSinceEpoch(), counts[i]);
    return series;
}

// A chart of counts by day since `first`, one line each, on one count axis.
void chartDays(QChart* chart, QDate first, const QList<std::pair<QString, QList<int>>>& lines) {
    auto* days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("M/d"));
    // A tick on each day while they are few, so no day is labelled twice.
    const int dayCount = lines.isEmpty() ? 1 : int(lines.first().second.size());
    days->setRange(QDateTime(first, QTime(0, 0)),
                   QDateTime(first.addDays(std::max(dayCount - 1, 1)), QTime(0, 0)));
    days->setTickCount(std::clamp(dayCount, 2, 7));
    QList<int> all;
    for (const auto& line : lines)
        all += line.second;
    QValueAxis* counts = countAxis(all);
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    for (const auto& [name, values] : lines) {
        QLineSeries* series = dailySeries(name, first, values);
        chart->addSeries(series);
        series->attachAxis(days);
        series->attachAxis(counts);
    }
}

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("学習の記録"));
    auto* layout = new QVBoxLayout(this);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("Label_Notice"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    layout->addWidget(m_notice);
    for (const char* name : {"Chart_Known", "Chart_Answers", "Chart_Due"})
        layout->addWidget(addChart(name));
    resize(640, 760);
}

QChartView* ProgressWindow::addChart(const char* name) {
    auto* view = new QChartView(this);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    m_views.append(view);
    return view;
}

void ProgressWindow::setData(const ProgressData& data) {
    const QString notice = data.notice();
    m_notice->setText(notice);
    m_notice->setVisible(!notice.isEmpty());
    for (QChartView* view : m_views)
        view->setVisible(notice.isEmpty());
    if (!notice.isEmpty())
        return;

    // New charts each time; a view deletes the chart it held.
    auto* known = new QChart;
    known->setTitle(QStringLiteral("覚えている地点の数"));
    chartDays(known, data.firstDay, {{QStringLiteral("覚えている地点"), data.known}});
    m_views[0]->setChart(known);

    auto* answers = new QChart;
    answers->setTitle(QStringLiteral("1日の解答数"));
    chartDays(answers, data.firstDay,
              {{QStringLiteral("解答"), data.answers}, {QStringLiteral("正解"), data.right}});
    m_views[1]->setChart(answers);

    auto* due = new QChart;
    due->setTitle(QStringLiteral("今後%1日間の復習予定").arg(ProgressData::kDueDays));
    auto* set = new QBarSet(QStringLiteral("復習する地点"));
    QStringList dayTexts;
    for (int i = 0; i < data.due.size(); ++i) {
        *set << data.due[i];
        dayTexts << (i == 0 ? QStringLiteral("今日") : shortDayText(data.today.addDays(i)));
    }
    auto* bars = new QBarSeries;
    bars->append(set);
    due->addSeries(bars);
    auto* dayAxis = new QBarCategoryAxis;
    dayAxis->append(dayTexts);
    QValueAxis* counts = countAxis(data.due);
    due->addAxis(dayAxis, Qt::AlignBottom);
    due->addAxis(counts, Qt::AlignLeft);
    bars->attachAxis(dayAxis);
    bars->attachAxis(counts);
    m_views[2]->setChart(due);
}
