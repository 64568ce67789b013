// The point table's view order: its row header's sections moved, its rows left where they are.
#include "table/vieworder.h"
#include "data/numbertext.h"
#include "table/tablerows.h"

#include <QCollator>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

bool cell_text_less(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return !a.isEmpty() && b.isEmpty();
    bool a_number = false;
    bool b_number = false;
    const double x = text_to_double(a, &a_number);
    const double y = text_to_double(b, &b_number);
    if (a_number && b_number)
        return x < y;
    if (a_number != b_number)
        return a_number; // numbers before texts
    static const QCollator collator = [] {
        QCollator c;
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b) < 0;
}

ViewOrder::ViewOrder(QTableWidget* table) : QObject(table), table_(table)
{
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &ViewOrder::header_clicked);
    // A table emptied (Clear, Open) starts again in its own order.
    connect(table_->model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        if (table_->rowCount() == 0 && column_ >= 0)
            show_row_order();
    });
}

void ViewOrder::header_clicked(int column)
{
    if (column != column_)
        sort_by(column, Qt::AscendingOrder);
    else if (order_ == Qt::AscendingOrder)
        sort_by(column, Qt::DescendingOrder);
    else
        show_row_order();
}

void ViewOrder::sort_by(int column, Qt::SortOrder order)
{
    QList<int> rows;
    QStringList texts;
    for (int row = 0; row < table_->rowCount(); ++row) {
        rows << row;
        texts << cell_text(table_, row, column);
    }
    // Equal texts keep their rows' order, in both directions.
    std::stable_sort(rows.begin(), rows.end(), [&texts, order](int a, int b) {
        return order == Qt::AscendingOrder ? cell_text_less(texts[a], texts[b]) : cell_text_less(texts[b], texts[a]);
    });
    column_ = column;
    order_ = order;
    show_rows(rows);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSortIndicator(column, order);
}

void ViewOrder::show_row_order()
{
    QList<int> rows;
    for (int row = 0; row < table_->rowCount(); ++row)
        rows << row;
    column_ = -1;
    show_rows(rows);
    table_->horizontalHeader()->setSortIndicatorShown(false);
}

void ViewOrder::show_rows(const QList<int>& rows)
{
    // Swapping two sections costs the same wherever they are, where moving one shifts every section
    // between: a table of 100,000 rows is ordered in a few milliseconds, not minutes. The view is told
    // once at the end instead of once per swap.
    QHeaderView* header = table_->verticalHeader();
    const bool was_blocked = header->blockSignals(true);
    for (int position = 0; position < rows.size(); ++position) {
        const int from = header->visualIndex(rows[position]);
        if (from != position)
            header->swapSections(from, position);
    }
    header->blockSignals(was_blocked);
    header->viewport()->update();
    table_->viewport()->update();
    if (table_->currentRow() >= 0)
        table_->scrollTo(table_->model()->index(table_->currentRow(), 0));
}

QList<int> ViewOrder::rows_as_shown() const
{
    QList<int> rows;
    for (int position = 0; position < table_->rowCount(); ++position)
        rows << row_at(position);
    return rows;
}

int ViewOrder::row_at(int position) const
{
    return table_->verticalHeader()->logicalIndex(position);
}

int ViewOrder::position_of(int row) const
{
    return row < 0 ? row : table_->verticalHeader()->visualIndex(row);
}
