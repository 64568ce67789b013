// The monkey's one action table: what a user, the instrument and the cable can do, each with its weight
// and when it can be done.
#include "support/app/monkey.h"

#include "plan/planview.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

namespace
{

// Every menu item and toolbar button that carries a command key.
QList<QAction*> command_actions(MainWindow& w)
{
    QList<QAction*> found;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu())
                walk(action->menu()->actions());
            else if (!action->isSeparator() && action->isEnabled() && action->data().isValid())
                found << action;
        }
    };
    walk(w.menuBar()->actions());
    walk(w.ui->mainToolBar->actions());
    return found;
}

QString act_command(Monkey& m)
{
    const QList<QAction*> actions = command_actions(*m.w);
    if (actions.isEmpty())
        return "no command enabled";
    QAction* action = actions[m.pick(actions.size())];
    const QString text = "command " + action->data().toString();
    action->trigger();
    return text;
}

QString act_answer(Monkey& m)
{
    QDialog* dialog = m.modal_dialog();
    return dialog ? m.answer_dialog(dialog) : QString("no dialog left");
}

QString act_wait(Monkey& m)
{
    const int ms = 50 + m.pick(800);
    m.quiet_until = m.elapsed() + ms;
    return QString("%1 ms").arg(ms);
}

QString act_offer(Monkey& m)
{
    m.sim->type_line("");
    return QString();
}

QString act_noise(Monkey& m)
{
    const int count = 1 + m.pick(m.chance(10) ? 5000 : 200);
    m.sim->type_line("noise " + QByteArray::number(count));
    return QString("%1 bytes").arg(count);
}

QString act_kill_sim(Monkey& m)
{
    m.sim->kill();
    m.sim_dead.start();
    return QString();
}

QString act_restart_sim(Monkey& m)
{
    m.restart_sim();
    // The user picks the port again (the KT90 lists it on refresh).
    m.w->portname = m.sim->port();
    return m.sim->port();
}

QString act_plan_key(Monkey& m)
{
    const int keys[] = {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                        Qt::Key_Down, Qt::Key_F,     Qt::Key_Home, Qt::Key_C,     Qt::Key_Equal};
    const int key = keys[m.pick(10)];
    QTest::keyClick(m.w->plan_view, Qt::Key(key));
    return QKeySequence(key).toString();
}

QString act_select_rows(Monkey& m)
{
    QTableWidget* table = m.w->tableWidget;
    const int row = m.pick(table->rowCount());
    switch (m.pick(3)) {
    case 0:
        table->clearSelection();
        table->setCurrentCell(row, m.pick(table->columnCount()));
        return QString("row %1").arg(row);
    case 1: {
        const int last = qMin(table->rowCount() - 1, row + m.pick(5));
        table->setRangeSelected(QTableWidgetSelectionRange(row, 0, last, table->columnCount() - 1), true);
        return QString("rows %1 to %2 added").arg(row).arg(last);
    }
    default:
        table->clearSelection();
        return "none";
    }
}

QString act_edit_row(Monkey& m)
{
    const int row = m.pick(m.w->tableWidget->rowCount());
    m.w->tableWidget->clearSelection();
    m.w->tableWidget->setCurrentCell(row, 0);
    m.w->run_command(Command::EditPoint);
    return QString("row %1").arg(row);
}

QList<QTreeWidgetItem*> tree_items(Monkey& m, int level)
{
    QList<QTreeWidgetItem*> items;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
        if (depth == level)
            items << item;
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < m.w->ui->treeWidget->topLevelItemCount(); ++i)
        walk(m.w->ui->treeWidget->topLevelItem(i), 0);
    return items;
}

QString act_kt90_listing(Monkey& m)
{
    const QList<QTreeWidgetItem*> ports = tree_items(m, 0);
    if (ports.isEmpty())
        return "no port listed";
    QTreeWidgetItem* port = ports[m.pick(ports.size())];
    m.w->ui->treeWidget->setCurrentItem(port, 0);
    m.w->doublecheckself(port, 0);
    return port->text(0);
}

QString act_kt90_download(Monkey& m)
{
    const QList<QTreeWidgetItem*> leaves = tree_items(m, 2);
    if (leaves.isEmpty())
        return "no job listed";
    QTreeWidgetItem* leaf = leaves[m.pick(leaves.size())];
    const QString text = leaf->parent()->text(0) + " / " + leaf->text(0);
    m.w->KT90PopMenuYCtoPC_Copy(leaf, 0, QModelIndex(), 0);
    m.w->KT90PopMenuYCtoPC_Copy(leaf, 0, m.w->model->index(m.pc), 1);
    return text;
}

QString act_kt90_upload(Monkey& m)
{
    const QStringList sources = QDir(m.pc).entryList(QDir::Files);
    const QList<QTreeWidgetItem*> jobs = tree_items(m, 1);
    if (sources.isEmpty() || jobs.isEmpty())
        return "nothing to upload or no job listed";
    const QString source = m.pc + "/" + sources[m.pick(sources.size())];
    QTreeWidgetItem* job = jobs[m.pick(jobs.size())];
    m.w->KT90PopMenuPCtoYC_Copy(nullptr, 0, m.w->model->index(source), 0);
    m.w->KT90PopMenuPCtoYC_Copy(job, 0, QModelIndex(), 1);
    return QFileInfo(source).fileName() + " to " + job->text(0);
}

bool dialog_up(Monkey& m)
{
    return m.modal_dialog() != nullptr;
}
bool sim_running(Monkey& m)
{
    return m.sim->running();
}
bool sim_offers(Monkey& m)
{
    return !m.kt90() && m.sim->running();
}
bool sim_ended(Monkey& m)
{
    return !m.sim->running();
}
bool plan_shown(Monkey& m)
{
    return m.w->plan_view && m.w->plan_view->isVisible();
}
bool has_rows(Monkey& m)
{
    return !m.kt90() && m.w->tableWidget->rowCount() > 0;
}
bool is_kt90(Monkey& m)
{
    return m.kt90();
}

} // namespace

const QList<Monkey::Action>& Monkey::actions()
{
    static const QList<Action> table{
        {"answer the dialog", 40, dialog_up, act_answer},
        {"menu or toolbar", 30, nullptr, act_command},
        {"wait", 8, nullptr, act_wait},
        {"ktsim offers its data", 8, sim_offers, act_offer},
        {"noise from the instrument", 4, sim_running, act_noise},
        {"ktsim killed", 1, sim_running, act_kill_sim},
        {"ktsim started again", 8, sim_ended, act_restart_sim},
        {"plan key", 5, plan_shown, act_plan_key},
        {"select rows", 8, has_rows, act_select_rows},
        {"edit a row", 4, has_rows, act_edit_row},
        {"KT90 listing", 8, is_kt90, act_kt90_listing},
        {"KT90 download", 8, is_kt90, act_kt90_download},
        {"KT90 upload", 6, is_kt90, act_kt90_upload},
    };
    return table;
}
