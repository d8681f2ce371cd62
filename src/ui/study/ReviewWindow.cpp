#include "ui/study/ReviewWindow.h"

#include "core/study/ReviewModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

ReviewWindow::ReviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ReviewWindow"));
    setWindowTitle(title());
    m_model = new ReviewModel(this);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("ReviewTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // Fixed row heights and column widths: a run of 32,767 questions opens without measuring
    // every row.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    const int em = m_table->fontMetrics().horizontalAdvance(QStringLiteral("あ"));
    const int widths[ReviewModel::ColumnCount] = {4, 8, 8, 8, 8, 3, 4};
    for (int column = 0; column < ReviewModel::ColumnCount; ++column)
        m_table->setColumnWidth(column, widths[column] * em + 8);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSortIndicator(ReviewModel::Number, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->installEventFilter(this);
    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { requestPoint(index.row()); });

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("ReviewStatus"));
    m_run = new QLabel(this);
    m_run->setObjectName(QStringLiteral("ReviewBest"));
    m_again = new QPushButton(againCaption(), this);
    m_again->setObjectName(QStringLiteral("ReviewAgain"));
    m_again->setEnabled(false);
    connect(m_again, &QPushButton::clicked, this,
            [this] { emit anotherRoundRequested(m_model->missedPoints()); });

    // The score with the time and the best beside it, the button on a line of its own below.
    auto* score = new QHBoxLayout;
    score->addWidget(m_status);
    score->addSpacing(em);
    score->addWidget(m_run, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_again);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(score);
    layout->addLayout(bottom);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(56 * em, 24 * em);
}

void ReviewWindow::setQuestions(const QList<JudgedQuestion>& questions) {
    m_model->setQuestions(questions);
    // Asked order first, whatever the last quiz's view was sorted by.
    m_table->horizontalHeader()->setSortIndicator(ReviewModel::Number, Qt::AscendingOrder);
    m_table->scrollToTop();
    m_status->setText(m_model->scoreText());
    m_again->setEnabled(m_model->hasMisses());
}

void ReviewWindow::setRunText(const QString& text) {
    m_run->setText(text);
}

bool ReviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_table->currentIndex().isValid()) {
            requestPoint(m_table->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ReviewWindow::requestPoint(int row) {
    if (row >= 0 && row < m_model->rowCount())
        emit pointRequested(m_model->question(row).point);
}
