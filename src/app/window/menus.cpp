// Menu bar and toolbar built from their definitions, the connection-dependent buttons, and the two
// dispatchers that turn a command key into a command.
#include "ui_mainwindow.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

namespace
{

constexpr int kRecordSize = 5;

// The icon of an image file; no icon at all when the file is missing.
QIcon icon_from_file(const QString& path)
{
    return QFileInfo::exists(path) ? QIcon(path) : QIcon();
}

// Record i of a definition is complete when its fifth value exists.
bool record_complete(const QStringList& list, int i)
{
    return i >= 0 && kRecordSize * i + 4 < list.size();
}

int last_complete_record(const QStringList& list)
{
    return list.size() / kRecordSize - 1;
}

// The item action of menu record i: text, icon (icon folder + value as written), status tip, key.
QAction* menu_item_action(const QStringList& list, int i, const QString& icon_path, QObject* owner)
{
    auto* action = new QAction(list[kRecordSize * i], owner);
    action->setIcon(icon_from_file(icon_path + list[kRecordSize * i + 1]));
    action->setStatusTip(list[kRecordSize * i + 2]);
    action->setData(list[kRecordSize * i + 4]);
    if (list[kRecordSize * i].isEmpty())
        action->setVisible(false);
    return action;
}

} // namespace

void MainWindow::mainmenu_ini(QStringList menu_list)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    // Records before the first menu, and menus without a title, go to menus that are never shown.
    auto* current = new QMenu(QString(), bar);
    for (int i = 0; record_complete(menu_list, i); ++i) {
        if (menu_list[kRecordSize * i + 3] == "itembegin") {
            current = new QMenu(menu_list[kRecordSize * i], bar);
            if (menu_list[kRecordSize * i].isEmpty()) {
                current->hide();
                continue;
            }
            i = menu_anisys(current, menu_list, i + 1, 3);
            bar->addMenu(current);
        } else {
            current->addAction(menu_item_action(menu_list, i, icon_path, current));
        }
    }
    connect(bar, &QMenuBar::triggered, this, &MainWindow::menubar_triggered, Qt::UniqueConnection);
    assign_shortcuts();
    // New menus show Undo and Redo as the stack has them, not as new actions come.
    undo_state_shown = -1;
    show_undo_state();
}

int MainWindow::menu_anisys(QMenu* pMenuA, QStringList menu_list, int slistpos, int listpos)
{
    if (slistpos < 0)
        return slistpos;
    for (int i = slistpos; record_complete(menu_list, i); ++i) {
        const QString attr = menu_list.value(listpos + kRecordSize * i);
        if (attr == "itembegin") {
            const QString title = menu_list[kRecordSize * i];
            if (title.isEmpty())
                continue; // no submenu: its items land in this menu
            auto* submenu = new QMenu(title, pMenuA);
            const int r = menu_anisys(submenu, menu_list, i + 1, listpos);
            if (r > i)
                i = r;
            pMenuA->addMenu(submenu);
        } else if (attr == "itemend") {
            pMenuA->addAction(menu_item_action(menu_list, i, icon_path, pMenuA));
            return i;
        } else {
            pMenuA->addAction(menu_item_action(menu_list, i, icon_path, pMenuA));
        }
    }
    // The records ran out before the menu closed: every record has been placed, so the callers stop
    // too instead of reading the same records again.
    return std::max(last_complete_record(menu_list), slistpos);
}

QAction* MainWindow::menu_item(const QString& key)
{
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->data().toString().compare(key, Qt::CaseInsensitive) == 0)
            return action;
    }
    return nullptr;
}

void MainWindow::toolbar_ini(QStringList toolbar_list)
{
    QToolBar* bar = ui->mainToolBar;
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (int j = 0; kRecordSize * j + 4 < toolbar_list.size(); ++j) {
        const QString text = toolbar_list[kRecordSize * j];
        const QString id = toolbar_list[kRecordSize * j + 4];
        if (id.isEmpty()) {
            QAction* separator = bar->addSeparator();
            separator->setParent(this);
            separator->setData(QString());
            continue;
        }
        auto* action =
            new QAction(icon_from_file(QString("%1/%2").arg(icon_path, toolbar_list[kRecordSize * j + 1])), text, this);
        action->setStatusTip(toolbar_list[kRecordSize * j + 2]);
        action->setObjectName(id);
        action->setData(id);
        bar->addAction(action);
        if (text.isEmpty())
            action->setVisible(false);
        else
            connect(action, &QAction::triggered, this, &MainWindow::toolbar_triggered);
    }
    bar->setIconSize(QSize(20, 26));
}

void MainWindow::toolbarbuttonshow(int type, bool flag)
{
    if (type != 0)
        return;
    const QStringList keys = get_parametretitle("ToolbarshowbyConnect");
    for (QAction* action : ui->mainToolBar->actions()) {
        if (keys.contains(action->objectName()))
            action->setEnabled(flag);
    }
}

void MainWindow::menubar_triggered(QAction* qaction)
{
    if (qaction)
        run_command(command_for_key(qaction->data().toString(), CommandSource::Menu));
}

void MainWindow::toolbar_triggered()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (action)
        run_command(command_for_key(action->data().toString(), CommandSource::Toolbar));
}

void MainWindow::run_command(Command command)
{
    switch (command) {
    case Command::None:
        break;
    case Command::FileOpen:
        program_fileopen();
        break;
    case Command::FileSaveAs:
        program_filesaveas();
        break;
    case Command::Export:
        program_export();
        break;
    case Command::NewPoint:
        program_new();
        break;
    case Command::EditPoint:
        program_edit();
        break;
    case Command::DeletePoint:
        program_delete();
        break;
    case Command::ClearPoints:
        program_clear();
        break;
    case Command::ConnectCable:
        CommunicationMode = LinkMode::Cable;
        program_commconnect();
        break;
    case Command::ConnectBluetooth:
        CommunicationMode = LinkMode::Bluetooth;
        program_commconnect();
        break;
    case Command::Disconnect:
        program_commdisconnect();
        break;
    case Command::ReceiveCoordinates:
        ZuobiaoLeixing = kt2040::Coordinates;
        program_receivedata();
        break;
    case Command::SendCoordinates:
        ZuobiaoLeixing = kt2040::Coordinates;
        program_senddata();
        break;
    case Command::SendSelectedRows:
        ZuobiaoLeixing = kt2040::Coordinates;
        program_sendselected();
        break;
    case Command::ReceiveMeasuredData:
        ZuobiaoLeixing = kt2040::MeasuredData;
        program_receivedata();
        break;
    case Command::PortSettings:
        program_portsetiing();
        break;
    case Command::Exit:
        program_exit();
        break;
    case Command::About:
        program_about();
        break;
    case Command::CommLog:
        program_commlog();
        break;
    case Command::TogglePlan:
        toggle_plan_view();
        break;
    case Command::CoordinateSystem:
        program_coordinatesystem();
        break;
    case Command::Import:
        program_import();
        break;
    case Command::Find:
        program_find();
        break;
    case Command::RefreshPorts:
        program_refreshports();
        break;
    case Command::Undo:
        program_undo();
        break;
    case Command::Redo:
        program_redo();
        break;
    case Command::CopyRows:
        copy_rows_as_text();
        break;
    case Command::KeepViewOrder:
        keep_view_order();
        break;
    case Command::PlanLinework:
        program_planlinework();
        break;
    case Command::CodeList:
        program_codelist();
        break;
    case Command::LineworkReport:
        program_lineworkreport();
        break;
    case Command::ResolveDuplicates:
        program_resolve_duplicates();
        break;
    case Command::CheckMeasuredData:
        program_checkmeasured();
        break;
    case Command::RecomputeMeasuredData:
        program_recomputemeasured();
        break;
    case Command::Print:
        program_print();
        break;
    case Command::PrintPreview:
        program_printpreview();
        break;
    case Command::ExportReport:
        program_exportreport();
        break;
    }
}
