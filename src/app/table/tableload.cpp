// The table filled anew from the rows of a file: the one table change that Open and Import make.
#include "table/tablerows.h"
#include "table/tableundo.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QTableWidget>

void MainWindow::load_table_rows(const RowShape& shape, const QStringList& lines, const QString& path)
{
    ui->lineEdit->setText(path);
    const TableRows before = table_texts();
    fill_table(tableWidget, shape, lines);
    show_row_count();
    push_table_step(
        table_replaced_step(*this, before, [shape, lines](QTableWidget* table) { fill_table(table, shape, lines); }));
    // The rows are those of a file on disk: nothing is left to save.
    table_saved();
}
