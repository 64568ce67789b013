// The plan view in the main window: beside the point table in a splitter, selection shared both ways.
#include "window/mainwindow.h"

#include "plan/planview.h"
#include "table/tablefit.h"
#include "table/tablerows.h"

#include <QItemSelectionModel>
#include <QLayout>
#include <QSplitter>
#include <QTableWidget>

namespace
{

constexpr int kLeastPlanWidth = 200;

} // namespace

void MainWindow::setup_plan_view()
{
    const bool observation = InstrumentType == "KT20_KT40" || InstrumentType == "KT85R";
    if (!observation && InstrumentType != "KT40")
        return; // the KT90's trees have no plan
    // Stations and backsights are told by their labels, or by their codes in files that carry those.
    const PlanKindLabels labels{get_map_data("STN", CoordinateType), get_map_data("BK", CoordinateType)};
    plan_view =
        new PlanView(tableWidget, observation ? observation_plan_columns() : coordinate_plan_columns(), labels, widget);
    plan_view->setObjectName("planView");
    plan_view->set_texts(get_parametretitle("PlanView"));
    plan_view->set_count_texts(get_parametretitle("PlanCounts"));

    plan_splitter = new QSplitter(Qt::Horizontal, widget);
    plan_splitter->setChildrenCollapsible(false);
    delete layout_right->replaceWidget(tableWidget, plan_splitter);
    plan_splitter->addWidget(tableWidget);
    plan_splitter->addWidget(plan_view);
    // The table keeps the width its columns need as the window grows; the plan takes the rest.
    plan_splitter->setStretchFactor(0, 0);
    plan_splitter->setStretchFactor(1, 1);
    table_fit = new TableFit(plan_splitter, tableWidget, table_columns_width, kLeastPlanWidth);

    QItemSelectionModel* selection = tableWidget->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, plan_view, [this] { sync_plan_selection(); });
    // Removing rows moves the selection without a word to the plan while the rows are removed:
    // the plan reads it again once they are gone.
    connect(tableWidget->model(), &QAbstractItemModel::rowsRemoved, plan_view, [this] { sync_plan_selection(); });
    connect(plan_view, &PlanView::row_picked, this, [this](int row) {
        select_only_row(tableWidget, row);
        tableWidget->scrollTo(tableWidget->model()->index(row, 0));
    });
}

void MainWindow::sync_plan_selection()
{
    if (!plan_view)
        return;
    // The current row when it is selected (the one the user last went to), else the first selected.
    const int current = tableWidget->currentRow();
    const QModelIndexList selected = tableWidget->selectionModel()->selectedRows();
    if (current >= 0 && tableWidget->selectionModel()->isRowSelected(current, QModelIndex()))
        plan_view->set_selected_row(current);
    else
        plan_view->set_selected_row(selected.isEmpty() ? -1 : selected.first().row());
}

void MainWindow::toggle_plan_view()
{
    if (plan_view)
        plan_view->setVisible(!plan_view->isVisible());
}
