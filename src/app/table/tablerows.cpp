// The point table's rows as lines (for saving and export) and file lines as rows (for opening).
#include "table/tablerows.h"
#include "table/pointitem.h"

#include "data/linefields.h"
#include "window/mainwindow.h"

#include <QItemSelectionModel>
#include <QTableWidget>
#include <algorithm>

QString cell_text(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

QStringList table_lines(const QTableWidget* table, const RowShape& shape)
{
    QStringList lines;
    const int rows = table->rowCount();
    lines.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        lines.append(line_from_cells(shape, [table, row](int column) { return cell_text(table, row, column); }));
    }
    return lines;
}

void fill_table(QTableWidget* table, const RowShape& shape, const QStringList& lines)
{
    int rows = 0;
    for (const QString& line : lines) {
        if (LineFields(line, shape.fields).has(shape.fields))
            ++rows;
    }
    // One row count and no repaint per cell: large files open quickly.
    table->setUpdatesEnabled(false);
    table->setRowCount(0);
    table->setRowCount(rows);
    // The model tells its views of every single cell set, which costs more than the cell itself;
    // nothing in the program listens to single cells, so the views hear of all of them at once.
    QAbstractItemModel* model = table->model();
    const bool was_blocked = model->blockSignals(true);
    int row = 0;
    QVector<CellText> cells;
    for (const QString& line : lines) {
        if (!cells_from_line(shape, line, &cells))
            continue;
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new PointItem(cells[column]));
        ++row;
    }
    model->blockSignals(was_blocked);
    if (rows > 0 && table->columnCount() > 0)
        emit model->dataChanged(model->index(0, 0), model->index(rows - 1, table->columnCount() - 1));
    table->setUpdatesEnabled(true);
}

void follow_row_changes(QAbstractItemModel* model, QObject* context, const std::function<void(int)>& changed)
{
    QObject::connect(model, &QAbstractItemModel::rowsInserted, context,
                     [changed](const QModelIndex&, int first, int) { changed(first); });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, context,
                     [changed](const QModelIndex&, int first, int) { changed(first); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, context,
                     [changed](const QModelIndex& top_left, const QModelIndex&) { changed(top_left.row()); });
    const auto everything = [changed] { changed(0); };
    QObject::connect(model, &QAbstractItemModel::modelReset, context, everything);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, context, everything);
    QObject::connect(model, &QAbstractItemModel::rowsMoved, context, everything);
}

QStringList MainWindow::get_data_form_KT20KT40UI()
{
    return table_lines(tableWidget, observation_line_shape());
}

void select_only_row(QTableWidget* table, int row)
{
    table->selectionModel()->setCurrentIndex(table->model()->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QList<int> selected_rows(const QTableWidget* table)
{
    QList<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}
