// The plan view in the main window: beside the point table in a splitter, selection shared both ways.
#include "window/mainwindow.h"

#include "plan/planview.h"

#include <QItemSelectionModel>
#include <QLayout>
#include <QSplitter>
#include <QTableWidget>

void MainWindow::setup_plan_view()
{
    const bool observation = InstrumentType == "KT20_KT40" || InstrumentType == "KT85R";
    if (!observation && InstrumentType != "KT40")
        return; // the KT90's trees have no plan
    const PlanKindLabels labels{get_map_data("STN", CoordinateType), get_map_data("BK", CoordinateType)};
    plan_view = new PlanView(tableWidget, observation ? observation_plan_columns() : coordinate_plan_columns(), labels);
    plan_view->setObjectName("planView");
    plan_view->set_texts(get_parametretitle("PlanView"));

    plan_splitter = new QSplitter(Qt::Horizontal);
    plan_splitter->setChildrenCollapsible(false);
    delete layout_right->replaceWidget(tableWidget, plan_splitter);
    plan_splitter->addWidget(tableWidget);
    plan_splitter->addWidget(plan_view);
    plan_splitter->setStretchFactor(0, 3);
    plan_splitter->setStretchFactor(1, 2);
    plan_splitter->setSizes({600, 400}); // scaled to the splitter's width, table and plan 3:2

    connect(tableWidget->selectionModel(), &QItemSelectionModel::selectionChanged, plan_view, [this] {
        const QModelIndexList selected = tableWidget->selectionModel()->selectedIndexes();
        plan_view->set_selected_row(selected.isEmpty() ? -1 : selected.first().row());
    });
    connect(plan_view, &PlanView::row_picked, this, [this](int row) {
        tableWidget->selectRow(row);
        tableWidget->scrollTo(tableWidget->model()->index(row, 0));
    });
}

void MainWindow::toggle_plan_view()
{
    if (plan_view)
        plan_view->setVisible(!plan_view->isVisible());
}
