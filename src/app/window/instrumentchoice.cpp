// The instrument type and coordinate format chosen at start-up, and what the choice fixes for the run:
// panels, status line, menus, toolbar and baud rate.
#include "window/mainwindow.h"

#include "dialogs/iniparameterselectdialog.h"
#include "ui_mainwindow.h"

#include <QTreeView>
#include <QTreeWidget>

bool MainWindow::choose_instrument()
{
    IniParameterSelectDialog dialog;
    dialog.InstrumentType_list = get_parametretitle("InstrumentType");
    dialog.CoordinateFormat_list = get_parametretitle("CoordinateFormat");
    dialog.iniparameterselectdlg_ini(get_parametretitle("SYSSelectDlg"));
    dialog.exec();
    if (!dialog.result_flag)
        return false;
    apply_instrument_choice(dialog.InstrumentTyperesult, dialog.CoordinateFormatresult);
    return true;
}

void MainWindow::apply_instrument_choice(const QString& type, const QString& format)
{
    InstrumentType = type;
    CoordinateFormat = format;
    UI_ini(InstrumentType);

    QString menu_key = "MainMenuKT20KT40Title";
    QString toolbar_key = "ToolbarKT20KT40VirtualTree";
    if (InstrumentType == "KT20_KT40" || InstrumentType == "KT85R") {
        baudrate = "1200";
    } else if (InstrumentType == "KT40") {
        menu_key = "MainMenuKT95RTitle";
        toolbar_key = "ToolbarKT95VirtualTree";
    } else if (InstrumentType == "KT90") {
        tree2totree1_flag = false;
        tree1totree2_flag = false;
        tree1id = ui->treeView->objectName();
        tree2id = ui->treeWidget->objectName();
        menu_key = "MainMenuKT90RTitle";
        toolbar_key = "ToolbarKT90VirtualTree";
        baudrate = "19200";
    }
    // The status line shows the line settings the first connect will use: the type's baud rate included.
    show_statemsg("", Status::Settings);
    mainmenu_list.clear();
    mainmenu_list.append(get_parametretitle(menu_key));
    mainmenu_ini(mainmenu_list.first());
    toolbar_list = get_parametretitle(toolbar_key);
    toolbar_ini(toolbar_list);
    // No port is open yet: the buttons that need one start disabled.
    close_port();
}
