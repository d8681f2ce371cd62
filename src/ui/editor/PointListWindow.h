#pragma once

#include <QDialog>

class PointListModel;
class PointTableModel;
class QTableView;

// The full list "一覧": every row of the point table with all six columns, read-only and
// sortable by clicking a column's header, always as the table is now. Double-clicking a row (or
// Enter on it) reports the row, for the editor to select it. Modeless; the editor owns it.
class PointListWindow : public QDialog {
    Q_OBJECT
public:
    PointListWindow(PointTableModel* model, QWidget* parent);

    QTableView* view() const { return m_view; }
    // Selects the row `row` of the table in the list and scrolls to it; none for a row that
    // does not exist.
    void showRow(int row);

signals:
    void rowActivated(int row);

private:
    PointListModel* m_list;
    QTableView* m_view;
};
