// The port settings command: the dialog filled from the main window's settings and the dictionary;
// accepted settings close the link and apply at the next connect.
#include "config/dictionaryanalysis.h"
#include "dialogs/portsettingdialog.h"
#include "window/mainwindow.h"

void MainWindow::program_portsetiing()
{
    PortSettingDialog dialog(this);
    dialog.exe_path = exe_path;
    dialog.icon_path = icon_path;
    dialog.dlgicon_path = icon_path + "/logo.png";
    dialog.portname = portname;
    dialog.baudrate = baudrate;
    dialog.databit = databit;
    dialog.parity = parity;
    dialog.stopbit = stopbit;
    dialog.portname_list = dictionA->getcomname_list();
    dialog.portnameanddesc_list = portlist_desc;
    dialog.baudrate_list = dictionA->getuartpara("baudrate", 1);
    dialog.databit_list = dictionA->getuartpara("databit", 1);
    dialog.parity_list = dictionA->getuartpara("parity", 1);
    dialog.stopbit_list = dictionA->getuartpara("stopbit", 1);
    // A transfer can only run on an open link; a flag left from a command given while closed does
    // not lock the settings.
    dialog.PortConnectFlag = serial->isOpen();
    dialog.InformationTransmissionjFlag = InformationTransmissionjFlag && serial->isOpen();
    dialog.portsettingdlg_ini(get_parametretitle("PortSettingDlg"));
    dialog.exec();
    if (!dialog.result_flag)
        return;
    program_commdisconnect();
    portname = dialog.portname;
    baudrate = dialog.baudrate;
    databit = dialog.databit;
    parity = dialog.parity;
    stopbit = dialog.stopbit;
    porttype = dictionA->getcomdesc(portname, portlist_desc);
    show_statemsg("", Status::Settings);
}
