// Finding points by name or code, and the table's tools set up beside it: the find bar above the table
// and the suspect-row marks with their count in the status line.
#include "data/pointrows.h"
#include "data/rowsearch.h"
#include "data/tablecolumns.h"
#include "table/celledit.h"
#include "table/findbar.h"
#include "table/tablerows.h"
#include "table/vieworder.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QLabel>
#include <QLayout>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>

namespace
{

struct NameCodeColumns {
    int name;
    int code;
};

NameCodeColumns name_code_columns(const QString& instrument_type)
{
    return table_layout(instrument_type) == TableLayout::Observation
               ? NameCodeColumns{ObsColumn::Name, ObsColumn::Code}
               : NameCodeColumns{PointColumn::Name, PointColumn::Code};
}

} // namespace

void MainWindow::setup_table_tools()
{
    if (tableWidget->isHidden())
        return; // the KT90's trees take the table's place
    find_bar = new FindBar(widget);
    find_bar->set_texts(get_parametretitle("FindPoint"));
    find_bar->hide();
    QWidget* table_place = plan_splitter ? static_cast<QWidget*>(plan_splitter) : tableWidget;
    layout_right->insertWidget(layout_right->indexOf(table_place), find_bar);
    connect(find_bar, &FindBar::find_requested, this, &MainWindow::find_point);

    suspect_label = new QLabel(statusBar());
    suspect_label->setObjectName("suspectLabel");
    suspect_label->setStyleSheet("color: #a0381c;");
    // In the window's status bar, where it stays while the state label reports a transfer.
    statusBar()->addPermanentWidget(suspect_label);
    const SuspectColumns columns = table_layout(InstrumentType) == TableLayout::Observation
                                       ? observation_suspect_columns({get_map_data("STN", CoordinateType),
                                                                      get_map_data("BK", CoordinateType), "STN", "BK"})
                                       : coordinate_suspect_columns();
    // Every cell is edited in place but the observation layout's record kind.
    const int first_editable = table_layout(InstrumentType) == TableLayout::Observation ? ObsColumn::Kind + 1 : 0;
    suspect_marks =
        new CellEditing(tableWidget, columns, suspect_label, get_parametretitle("SuspectRows"), first_editable,
                        [this](int row, int column, const QString& text) { edit_cell(row, column, text); });
    tableWidget->setItemDelegate(suspect_marks);
    setup_table_editing();
}

void MainWindow::program_find()
{
    if (find_bar)
        find_bar->open();
}

void MainWindow::find_point(bool forward)
{
    if (!find_bar)
        return;
    const QStringList texts = get_parametretitle("FindPoint");
    const QString wanted = find_bar->text().trimmed();
    if (wanted.isEmpty())
        return;
    const NameCodeColumns columns = name_code_columns(InstrumentType);
    // Down (or up) the rows as the view shows them.
    const auto row_at = [this](int position) { return view_order ? view_order->row_at(position) : position; };
    const int current = view_order ? view_order->position_of(tableWidget->currentRow()) : tableWidget->currentRow();
    const int found =
        find_row(tableWidget->rowCount(), current, forward, wanted, [this, columns, row_at](int position, int which) {
            return cell_text(tableWidget, row_at(position), which == 0 ? columns.name : columns.code);
        });
    const int row = found < 0 ? found : row_at(found);
    if (row < 0) {
        show_statemsg(texts.value(FindBar::NotFound).arg(wanted), Status::Message);
        return;
    }
    select_only_row(tableWidget, row);
    tableWidget->scrollTo(tableWidget->model()->index(row, 0));
    show_statemsg(texts.value(FindBar::Found).arg(wanted).arg(row + 1), Status::Message);
}
