// The status line: the line settings with type and format, and the connection state or last message.
#include "config/prompts.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

namespace
{

// The settings summary of the status line: "COM3 9600 8 n 1,KT40,NEZ"; KT90 leaves the format out.
QString settings_text(const MainWindow& w)
{
    const QString& type = w.InstrumentType;
    if (type == "KT40" || type == "KT20" || type == "KT20_KT40" || type == "KT85R") {
        return QString("%1 %2 %3 %4 %5,%6,%7")
            .arg(w.portname)
            .arg(w.baudrate)
            .arg(w.databit)
            .arg(w.parity)
            .arg(w.stopbit)
            .arg(type)
            .arg(w.CoordinateFormat);
    }
    if (type == "KT90")
        return QString("%1 %2 %3 %4 %5,%6")
            .arg(w.portname)
            .arg(w.baudrate)
            .arg(w.databit)
            .arg(w.parity)
            .arg(w.stopbit)
            .arg(type);
    return QString();
}

} // namespace

void MainWindow::show_statemsg(QString msg, int type)
{
    switch (type) {
    case 0:
        ui->label_3->setText(settings_text(*this));
        ui->label_4->setText(
            QString("%1").arg(getpopup_prompt(serial && serial->isOpen() ? Prompt::Connected : Prompt::NotConnected)));
        break;
    case 1:
        ui->label_4->setText(msg);
        break;
    case 2:
        ui->label_3->setText(settings_text(*this));
        ui->label_4->setText(QString("%1").arg(getpopup_prompt(Prompt::NotConnected)));
        break;
    default:
        break;
    }
}

void MainWindow::show_tongxunmsg(QByteArray msg, int type)
{
    // Raw traffic is not shown; every read and write passes here, and goes to the log when it is on.
    if (comm_log)
        log_traffic(type == 1, msg);
}
