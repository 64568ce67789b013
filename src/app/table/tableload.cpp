// The table filled anew from the rows of a file: the one table change that Open and Import make.
#include "table/tablerows.h"
#include "table/tableundo.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QTableWidget>

void MainWindow::load_table_rows(const RowShape& shape, const QStringList& lines, const QString& path)
{
    fill_from_file([shape, lines](QTableWidget* table) { fill_table(table, shape, lines); }, path);
}

void MainWindow::load_table_texts(const TableRows& rows, const QString& path)
{
    fill_from_file(
        [rows](QTableWidget* table) {
            table->setRowCount(0);
            insert_table_rows(table, 0, rows);
        },
        path);
}

void MainWindow::fill_from_file(const std::function<void(QTableWidget*)>& fill, const QString& path)
{
    ui->lineEdit->setText(path);
    const TableRows before = table_texts();
    tableWidget->setUpdatesEnabled(false);
    fill(tableWidget);
    tableWidget->setUpdatesEnabled(true);
    show_row_count();
    push_table_step(table_replaced_step(*this, before, fill));
    // The rows are those of a file on disk: nothing is left to save.
    table_saved();
}
