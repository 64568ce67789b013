// Windows for the table tests.
#include "support/app/tablewindow.h"

#include "support/app/windowdriver.h"

#include <QTableWidget>
#include <algorithm>

TableWindow::TableWindow(const QString& type, const std::function<void(WorkDir&)>& prepare)
{
    dir.set_language("English");
    if (prepare)
        prepare(dir);
    w = start_window(type);
}

void TableWindow::add_row(const QStringList& cells) const
{
    QTableWidget* table = w->tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

QList<QStringList> TableWindow::rows() const
{
    const QTableWidget* table = w->tableWidget;
    QList<QStringList> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            cells << (item ? item->text() : QString("<none>"));
        }
        rows << cells;
    }
    return rows;
}

void TableWindow::drop_texts(const QString& key) const
{
    QList<QStringList>& texts = w->parametre_list;
    texts.erase(
        std::remove_if(texts.begin(), texts.end(), [&key](const QStringList& row) { return row.value(0) == key; }),
        texts.end());
}
