// The panels: their layout in the central widget, what each instrument type shows, the point-table
// columns and the PC tree.
#include "window/mainwindow.h"

#include "ui_mainwindow.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>

namespace
{

// The instrument tree's header, columns and drag settings (start-up step 16).
void setup_instrument_tree(QTreeWidget* tree)
{
    tree->setMaximumWidth(300);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
    tree->header()->hide();
    tree->setColumnCount(2);
    tree->setColumnHidden(1, true);
    tree->setHeaderLabel("item tree");
    tree->setDragEnabled(true);
    tree->setAcceptDrops(false);
    tree->setDragDropMode(QAbstractItemView::DragOnly);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setMouseTracking(true);
}

// The bottom bar's captions from `captions` ("UIKT95Message"), its widths, and its widgets in `bar`
// (start-up steps 19 and 20).
void setup_bottom_bar(Ui::MainWindow* ui, const QStringList& captions, QHBoxLayout* bar)
{
    if (captions.size() > 0)
        ui->label->setText(captions[0]);
    if (captions.size() > 1)
        ui->label_2->setText(captions[1]);
    ui->label_6->setFixedHeight(31);
    ui->label->setMaximumWidth(150);
    ui->lineEdit->setMaximumWidth(250);
    ui->label_2->setMaximumWidth(150);
    ui->lineEdit_2->setMaximumWidth(250);
    ui->label_3->setMaximumWidth(400);
    ui->label_4->setMaximumWidth(400);
    // A long message takes the room there is (its end cut off) rather than squeezing the file name and
    // the progress: its least width is set, not taken from its text.
    ui->label_4->setMinimumWidth(120);
    bar->addWidget(ui->label);
    bar->addWidget(ui->lineEdit);
    bar->addStretch();
    bar->addWidget(ui->label_3);
    bar->addWidget(ui->label_4);
    bar->addStretch();
    bar->addWidget(ui->label_2);
    bar->addWidget(ui->lineEdit_2);
}

} // namespace

void MainWindow::layout_panels()
{
    // 13. Appearance.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(176, 220, 251));
    setPalette(pal);
    statusBar()->show();
    setMinimumSize(800, 600);
    showMaximized();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // 14, 15. Columns, every panel hidden. The layouts are made here, where they are placed.
    layout_left = new QVBoxLayout();
    layout_right = new QVBoxLayout();
    layout_FILE = new QHBoxLayout();
    layout_LR = new QHBoxLayout();
    layout_LR->addLayout(layout_left);
    layout_LR->addLayout(layout_right);
    UI_ini("");
    // 16. Left column: caption and instrument tree.
    layout_left->addWidget(ui->label_5);
    layout_left->addWidget(ui->treeWidget);
    ui->label_5->setMaximumWidth(200);
    ui->label_5->setFixedHeight(31);
    QTreeWidget* tree = ui->treeWidget;
    setup_instrument_tree(tree);
    connect(tree, &QTreeWidget::itemClicked, this, &MainWindow::treewidget_click);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &MainWindow::doublecheckself);
    connect(tree, &QTreeWidget::customContextMenuRequested, this, &MainWindow::treewidget_popMenu);
    // 17. Point table.
    tableWidget->horizontalHeader()->setStretchLastSection(true);
    tableWidget->verticalHeader()->setVisible(true);
    tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableWidget->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several rows can be chosen, for "Send selected rows".
    tableWidget->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A text wider than its column ("Measured point") is cut short with an ellipsis, never wrapped.
    tableWidget->setWordWrap(false);
    // 18. Right column.
    layout_right->addWidget(ui->label_6);
    layout_right->addWidget(ui->treeView);
    layout_right->addWidget(tableWidget);
    layout_right->addWidget(ui->pushButton);
    layout_right->addWidget(ui->textEdit);
    layout_right->addWidget(ui->textEdit_2);
    // 19, 20. Bottom bar.
    setup_bottom_bar(ui.get(), get_parametretitle("UIKT95Message"), layout_FILE);
    layout_right->addLayout(layout_FILE);
    // 21. Central widget.
    layout_main = new QVBoxLayout();
    layout_main->addLayout(layout_LR);
    setCentralWidget(widget);
    widget->setLayout(layout_main);
}

void MainWindow::UI_ini(QString flag)
{
    QWidget* const always[] = {ui->label,    ui->label_2,    ui->label_3, ui->label_4,
                               ui->lineEdit, ui->lineEdit_2, ui->label_5, ui->label_6};
    for (QWidget* w : always)
        w->show();

    const auto hide_all = [](std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets)
            w->hide();
    };
    const auto show_point_table = [&] {
        tableWidget->show();
        hide_all(
            {ui->pushButton, ui->textEdit, ui->textEdit_2, ui->label_5, ui->label_6, ui->treeWidget, ui->treeView});
        ui->pushButton->setMaximumWidth(160);
    };
    if (flag == "KT20_KT40" || InstrumentType == "KT85R") {
        show_point_table();
        set_table_columns("PointTableWidgetHeadTitleKT20KT40");
    } else if (flag == "KT40") {
        show_point_table();
        set_table_columns("PointTableWidgetHeadTitle");
        tableWidget->setRowCount(0);
    } else if (flag == "KT90") {
        ui->treeWidget->show();
        ui->treeView->show();
        hide_all({tableWidget, ui->pushButton, ui->textEdit, ui->textEdit_2, ui->label, ui->label_2, ui->lineEdit,
                  ui->lineEdit_2});
        ui->pushButton->setMaximumWidth(160);
        update_tree(portlist_desc);
        setup_pc_tree();
    } else if (flag.isEmpty()) {
        hide_all({tableWidget, ui->treeWidget, ui->treeView, ui->label, ui->label_2, ui->label_3, ui->label_4,
                  ui->label_5, ui->label_6, ui->lineEdit, ui->lineEdit_2, ui->pushButton, ui->textEdit,
                  ui->textEdit_2});
    }
}

void MainWindow::set_table_columns(const QString& header_key)
{
    const QStringList header = get_parametretitle(header_key);
    QStringList captions;
    for (int i = 1; i < header.size(); i += 2)
        captions << header[i];
    tableWidget->setColumnCount(captions.size());
    tableWidget->setHorizontalHeaderLabels(captions);
    table_columns_width = 0;
    // A column is at least as wide as its caption, whatever the language makes of it.
    QHeaderView* head = tableWidget->horizontalHeader();
    const int margin = 2 * head->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, head);
    for (int i = 0; i < captions.size(); ++i) {
        bool ok = false;
        int width = header[2 * i].toInt(&ok);
        if (!ok || width <= 0)
            width = head->defaultSectionSize();
        width = std::max(width, head->fontMetrics().horizontalAdvance(captions[i]) + margin + 2);
        tableWidget->setColumnWidth(i, width);
        table_columns_width += width;
    }
}

void MainWindow::setup_pc_tree()
{
    QTreeView* view = ui->treeView;
    view->setModel(model);
    view->setRootIndex(model->index(""));
    if (model->columnCount() >= 1) {
        view->setColumnWidth(0, 400);
        view->setSortingEnabled(true);
        view->sortByColumn(0, Qt::AscendingOrder);
    }
    view->setMouseTracking(true);
    view->setDragEnabled(false);
    view->setAcceptDrops(false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
}
