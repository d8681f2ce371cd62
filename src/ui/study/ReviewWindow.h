#pragma once

#include "core/data/Point.h"
#include "core/quiz/JudgedQuestion.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;
class ReviewModel;

// The review "結果": every judged question of the last quiz in a sortable table, the score in a
// status line, and a button for another round over the misses. Modeless; it asks the main
// window, through signals, to show a point on the map or to start that round.
class ReviewWindow : public QWidget {
    Q_OBJECT

public:
    explicit ReviewWindow(QWidget* parent = nullptr);

    // Shows the questions of a quiz that has ended, in asked order.
    void setQuestions(const QList<JudgedQuestion>& questions);

    // Beside the score: the quiz's time and the personal best.
    void setRunText(const QString& text);

    const ReviewModel& model() const { return *m_model; }
    QTableView* table() const { return m_table; }
    QLabel* status() const { return m_status; }
    QLabel* runLabel() const { return m_run; }
    QPushButton* againButton() const { return m_again; }

    static QString title() { return QStringLiteral("結果"); }
    static QString againCaption() { return QStringLiteral("間違えた問題をもう一度"); }

signals:
    // A row was double-clicked (or Enter pressed on it).
    void pointRequested(const Point& point);
    // The button: a normal quiz over these points, each missed at least once.
    void anotherRoundRequested(const PointList& points);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestPoint(int row);

    ReviewModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_run = nullptr;
    QPushButton* m_again = nullptr;
};
