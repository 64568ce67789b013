// The instrument tree (ports, and under a port the jobs found on its instrument) and the PC tree
// (folders and files): building, removing, the gestures that start a listing or a copy.
#include "comm/kt90_conversation.h"
#include "config/dictionaryanalysis.h"
#include "trees/jobnodes.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIcon>
#include <QMenu>
#include <QProgressDialog>
#include <QTreeWidget>

namespace
{

QTreeWidgetItem* add_node(QTreeWidgetItem* parent, const QString& text, const QString& icon)
{
    auto* node = new QTreeWidgetItem(parent);
    node->setText(0, text);
    node->setIcon(0, QIcon(icon));
    return node;
}

// The job nodes of the job list, each with its two points leaves, under `parent`.
void add_job_nodes(QTreeWidgetItem* parent, const QList<JobNodeTexts>& jobs, const QString& icon_path)
{
    for (const JobNodeTexts& job : jobs) {
        QTreeWidgetItem* node = add_node(parent, job.job, icon_path + "/comfold.png");
        add_node(node, job.fix_points, icon_path + "/comfile.png");
        add_node(node, job.measurement_points, icon_path + "/comfile.png");
    }
}

// Which copy a context-menu action id arms and performs.
enum class IndexArgument { Invalid, ContextIndex, ViewCurrent };

struct CopyAction {
    const char* id;
    bool to_pc; // instrument to PC (download), else PC to instrument (upload)
    IndexArgument index;
    int flag; // 0 records the source, 1 performs the copy
};

const CopyAction kCopyActions[] = {
    {"KT90copyfromYCtoPC", true, IndexArgument::Invalid, 0},
    {"KT90copytoYCtoPC", true, IndexArgument::ContextIndex, 1},
    {"KT90copyfromPCtoYC", false, IndexArgument::ViewCurrent, 0},
    {"KT90copytoPCtoYC", false, IndexArgument::ContextIndex, 1},
};

} // namespace

void MainWindow::update_tree(QStringList treeitemlist)
{
    if (judge_tree(dictionA->getcomname_list()))
        return;
    clear_tree();
    for (int i = 0; 2 * i + 1 < treeitemlist.size(); ++i) {
        auto* port = new QTreeWidgetItem(ui->treeWidget);
        port->setText(0, treeitemlist[2 * i]);
        port->setText(1, treeitemlist[2 * i + 1]);
        port->setIcon(0, QIcon(icon_path + "/com.png"));
    }
}

bool MainWindow::judge_tree(QStringList treeitemlist)
{
    QTreeWidget* tree = ui->treeWidget;
    if (tree->topLevelItemCount() != treeitemlist.size())
        return false;
    for (int i = 0; i < treeitemlist.size(); ++i) {
        if (tree->topLevelItem(i)->text(0) != treeitemlist[i])
            return false;
    }
    return true;
}

void MainWindow::clear_tree()
{
    const int count = ui->treeWidget->topLevelItemCount();
    for (int i = 0; i < count; ++i)
        deltreewidgetitem(ui->treeWidget, ui->treeWidget->topLevelItem(0));
}

void MainWindow::deltreewidgetitem(QTreeWidget* tw, QTreeWidgetItem* node)
{
    if (!node)
        return;
    const auto remove_children = [&] {
        const int count = node->childCount();
        for (int i = 0; i < count; ++i)
            deltreewidgetsubitem(tw, node->child(0), true);
    };
    if (node->parent()) {
        remove_children();
        delete node;
        return;
    }
    const int index = tw ? tw->indexOfTopLevelItem(node) : -1;
    remove_children();
    delete (index >= 0 ? tw->takeTopLevelItem(index) : node);
}

void MainWindow::deltreewidgetsubitem(QTreeWidget* tw, QTreeWidgetItem* node, bool flag)
{
    if (!node)
        return;
    const int count = node->childCount();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* child = node->child(0);
        if (child->childCount() == 0)
            delete child;
        else
            deltreewidgetsubitem(tw, child, true);
    }
    if (flag)
        delete node;
}

void MainWindow::add_subtree(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QStringList captions = get_parametretitle("JOBCONFLIST");
    if (captions.size() <= 9)
        return;
    QTreeWidgetItem* job_list = add_node(item, captions[0], icon_path + "/comfold.png");
    add_job_nodes(job_list, job_node_texts(KT90_JCLBuf, captions), icon_path);
}

void MainWindow::add_subtree1(QTreeWidgetItem* item)
{
    if (!item)
        return;
    add_job_nodes(item, job_node_texts(KT90_JCLBuf, get_parametretitle("JOBCONFLIST")), icon_path);
}

QString MainWindow::gettreeviewpath(const QModelIndex& index)
{
    const QString path = model->filePath(index);
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir())
        return path;
    return info.path();
}

void MainWindow::treewidget_click(QTreeWidgetItem* item, int column)
{
    if (item)
        ui->label_5->setText(item->text(column));
}

void MainWindow::doublecheckself(QTreeWidgetItem* item, int column)
{
    if (!item || item->parent() || progDlg)
        return;
    // The conversation runs on the port of the chosen instrument: the one open is closed first.
    close_port();
    portname = item->text(column);
    comm_open();
    show_statemsg("", Status::Closed);
    // The port could not be opened and the user has been told: no listing, no wait for replies.
    if (!serial->isOpen())
        return;
    // The port is open: Disconnect closes it.
    toolbarbuttonshow(ToolbarGroup::ByConnection, true);
    progflag = 1;
    wait_start(WaitKind::Listing);
    tree1totree2_flag = false;
    tree2totree1_flag = false;
    KT90SendType = kt90::Message::Open;
    KT90SendModel = kt90::Conversation::Listing;
    send_kt90_message(dictionA->getKT90packmsg(kt90::Message::Open, QString(), false));
}

void MainWindow::run_copy_menu(const QString& key)
{
    const QStringList entries = get_parametretitle(key);
    // The menu and its actions end with this call.
    QMenu menu(this);
    for (int i = 0; 2 * i + 1 < entries.size(); ++i) {
        auto* action = new QAction(entries[2 * i + 1], &menu);
        action->setData(entries[2 * i]);
        menu.addAction(action);
    }
    connect(&menu, &QMenu::triggered, this, &MainWindow::tree_popmenu_action);
    menu.exec(QCursor::pos());
}

void MainWindow::treewidget_popMenu(const QPoint& pos)
{
    Q_UNUSED(pos);
    run_copy_menu("KT90PopMenuCopyYCtoPC");
}

void MainWindow::on_treeView_customContextMenuRequested(const QPoint& pos)
{
    currentindex = ui->treeView->indexAt(pos);
    ui->label_6->setText(gettreeviewpath(currentindex));
    run_copy_menu("KT90PopMenuCopyPCtoYC");
}

void MainWindow::tree_popmenu_action(QAction* action)
{
    if (!action)
        return;
    const QString id = action->data().toString();
    for (const CopyAction& copy : kCopyActions) {
        if (id.compare(copy.id, Qt::CaseInsensitive) != 0)
            continue;
        const QModelIndex index = copy.index == IndexArgument::ContextIndex  ? currentindex
                                  : copy.index == IndexArgument::ViewCurrent ? ui->treeView->currentIndex()
                                                                             : QModelIndex();
        QTreeWidget* tree = ui->treeWidget;
        tree1totree2_flag = copy.to_pc;
        tree2totree1_flag = !copy.to_pc;
        if (copy.to_pc)
            KT90PopMenuYCtoPC_Copy(tree->currentItem(), tree->currentColumn(), index, copy.flag);
        else
            KT90PopMenuPCtoYC_Copy(tree->currentItem(), tree->currentColumn(), index, copy.flag);
        return;
    }
}

void MainWindow::on_treeView_clicked(const QModelIndex& index)
{
    ui->label_6->setText(gettreeviewpath(index));
}

void MainWindow::on_treeWidget_pressed(const QModelIndex& index)
{
    Q_UNUSED(index);
}

void MainWindow::on_treeView_pressed(const QModelIndex& index)
{
    ui->label_6->setText(gettreeviewpath(index));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e)
{
    drag_enter_from(e->source(), e);
}

void MainWindow::dropEvent(QDropEvent* e)
{
    drop_from(e->source(), e);
}

void MainWindow::drag_enter_from(QObject* source, QDragEnterEvent* e)
{
    // Only a points leaf dragged out of a tree of this window starts a download.
    auto* tree = qobject_cast<QTreeWidget*>(source);
    QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    if (!item || !is_points_node(item->text(tree->currentColumn()))) {
        e->ignore();
        return;
    }
    KT90PopMenuYCtoPC_Copy(item, tree->currentColumn(), QModelIndex(), 0);
    e->acceptProposedAction();
}

void MainWindow::drop_from(QObject* source, QDropEvent* e)
{
    if (source && source->objectName() == tree2id && tree1totree2_flag && !tree2totree1_flag) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        const QPoint point = ui->treeView->viewport()->mapFrom(this, e->position().toPoint());
#else
        const QPoint point = ui->treeView->viewport()->mapFrom(this, e->pos());
#endif
        currentindex = ui->treeView->indexAt(point);
        if (!currentindex.isValid() || !ui->treeView->visualRect(currentindex).contains(point))
            return;
        e->acceptProposedAction();
        KT90PopMenuYCtoPC_Copy(ui->treeWidget->currentItem(), ui->treeWidget->currentColumn(), currentindex, 1);
    }
    tree1totree2_flag = false;
    tree2totree1_flag = false;
}
