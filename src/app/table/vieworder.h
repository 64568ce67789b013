// The order the point table shows its rows in, apart from their order. A click on a column header sorts
// the view by that column (ascending, then descending, then the rows' own order again); the rows keep
// their places in the table, so files, sends, the journal and the undo steps keep the row order. The
// view order is the order of the row header's sections.
#ifndef VIEWORDER_H
#define VIEWORDER_H

#include <QList>
#include <QObject>

class QTableWidget;

class ViewOrder : public QObject
{
    Q_OBJECT

public:
    explicit ViewOrder(QTableWidget* table);

    // The next order of a click on column `column`'s header.
    void header_clicked(int column);
    // Shows the rows sorted by `column` (ascending or descending), or in their own order.
    void sort_by(int column, Qt::SortOrder order);
    void show_row_order();
    // The column the view is sorted by; -1 in the rows' own order.
    int sorted_column() const { return column_; }
    Qt::SortOrder sort_order() const { return order_; }

    // The rows, top to bottom as shown.
    QList<int> rows_as_shown() const;
    // The row shown at `position` (from the top) and the position of row `row`.
    int row_at(int position) const;
    int position_of(int row) const;

private:
    void show_rows(const QList<int>& rows);

    QTableWidget* table_;
    int column_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

// Orders cell texts as a surveyor reads them: numbers by value, other texts with their digits as
// numbers ("P2" before "P10"), an empty text last.
bool cell_text_less(const QString& a, const QString& b);

#endif // VIEWORDER_H
