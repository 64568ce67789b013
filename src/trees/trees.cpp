// Instrument tree and PC tree (not built yet).
#include "mainwindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>

void MainWindow::update_tree(QStringList treeitemlist)
{
    Q_UNUSED(treeitemlist);
}

bool MainWindow::judge_tree(QStringList treeitemlist)
{
    Q_UNUSED(treeitemlist);
    return false;
}

void MainWindow::clear_tree() {}

void MainWindow::deltreewidgetitem(QTreeWidget* tw, QTreeWidgetItem* node)
{
    Q_UNUSED(tw);
    Q_UNUSED(node);
}

void MainWindow::deltreewidgetsubitem(QTreeWidget* tw, QTreeWidgetItem* node, bool flag)
{
    Q_UNUSED(tw);
    Q_UNUSED(node);
    Q_UNUSED(flag);
}

void MainWindow::add_subtree(QTreeWidgetItem* item)
{
    Q_UNUSED(item);
}

void MainWindow::add_subtree1(QTreeWidgetItem* item)
{
    Q_UNUSED(item);
}

QString MainWindow::gettreeviewpath(const QModelIndex& index)
{
    Q_UNUSED(index);
    return QString();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e)
{
    e->ignore();
}

void MainWindow::dropEvent(QDropEvent* e)
{
    e->ignore();
}

void MainWindow::treewidget_click(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
}

void MainWindow::doublecheckself(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
}

void MainWindow::treewidget_popMenu(const QPoint& pos)
{
    Q_UNUSED(pos);
}

void MainWindow::on_treeView_customContextMenuRequested(const QPoint& pos)
{
    Q_UNUSED(pos);
}

void MainWindow::tree_popmenu_action(QAction* action)
{
    Q_UNUSED(action);
}

void MainWindow::on_treeView_clicked(const QModelIndex& index)
{
    Q_UNUSED(index);
}

void MainWindow::on_treeWidget_pressed(const QModelIndex& index)
{
    Q_UNUSED(index);
}

void MainWindow::on_treeView_pressed(const QModelIndex& index)
{
    Q_UNUSED(index);
}
