#include "ui/editor/PointListWindow.h"

#include "core/data/Point.h"
#include "core/editor/PointListModel.h"
#include "core/editor/PointTableModel.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

PointListWindow::PointListWindow(PointTableModel* model, QWidget* parent)
    : QDialog(parent)
    , m_list(new PointListModel(this))
    , m_view(new QTableView(this)) {
    setObjectName(QStringLiteral("PointList"));
    setWindowTitle(QStringLiteral("一覧"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    m_list->setSourceModel(model);

    m_view->setObjectName(QStringLiteral("PointListTable"));
    m_view->setModel(m_list);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder); // table order until a header is clicked
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    // Fixed widths: fitting the columns to their contents would read every row.
    const int widths[kPointColumns] = {60, 60, 140, 120, 120, 240};
    for (int column = 0; column < kPointColumns; ++column)
        m_view->setColumnWidth(column, widths[column]);
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(800, 400);

    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        emit rowActivated(m_list->mapToSource(index).row());
    });
}

void PointListWindow::showRow(int row) {
    const QModelIndex source = m_list->sourceModel()->index(row, 0);
    const QModelIndex shown = m_list->mapFromSource(source);
    if (!shown.isValid()) {
        m_view->clearSelection();
        return;
    }
    m_view->selectRow(shown.row());
    m_view->scrollTo(shown);
}
