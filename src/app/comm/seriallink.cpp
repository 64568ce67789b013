// The serial link: connect and disconnect, opening on demand, the transfer-state reset, wiring the
// port's data signal to the protocol of the instrument type, and a port lost while open.
#include "applog.h"
#include "comm/kt90_message_types.h"
#include "comm/portopenfailure.h"
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "modal/modal.h"
#include "window/mainwindow.h"

#include <QProgressDialog>
#include <QTimer>

void MainWindow::program_commconnect()
{
    if (serial->isOpen())
        return;
    if (CommunicationMode == LinkMode::Cable && !COMParameter_judge(portname, portlist_desc)) {
        if (ask_question(this, getpopup_prompt(Prompt::PortType),
                         getpopup_prompt(Prompt::IsBluetoothPort).arg(portname)) == QMessageBox::No)
            return;
    } else if (CommunicationMode == LinkMode::Bluetooth && COMParameter_judge(portname, portlist_desc)) {
        if (ask_question(this, getpopup_prompt(Prompt::PortType),
                         getpopup_prompt(Prompt::NotBluetoothPort).arg(portname)) == QMessageBox::No)
            return;
    }
    COMParameter_ini(TransferState::Reset);
    if (!open_serial_port())
        return;
    if (CommunicationMode == LinkMode::Cable || CommunicationMode == LinkMode::Bluetooth)
        toolbarbuttonshow(ToolbarGroup::ByConnection, true);
    settingreaddataslots(InstrumentType, true);
    show_statemsg("", Status::Settings);
    show_statemsg(getpopup_prompt(Prompt::Connected), Status::Message);
}

void MainWindow::program_commdisconnect()
{
    if (!serial->isOpen())
        return;
    close_port();
    show_statemsg(getpopup_prompt(Prompt::NotConnected), Status::Message);
}

void MainWindow::close_port()
{
    if (serial->isOpen()) {
        serial->clear(QSerialPort::AllDirections);
        serial->close();
    }
    serial->clearError();
    if (Commontimer->isActive())
        Commontimer->stop();
    CommontimerFlag = false;
    if (CommunicationMode == LinkMode::Cable || CommunicationMode == LinkMode::Bluetooth)
        toolbarbuttonshow(ToolbarGroup::ByConnection, false);
    COMParameter_ini(TransferState::Reset);
    settingreaddataslots(InstrumentType, false);
}

void MainWindow::comm_open()
{
    if (serial->isOpen())
        return;
    if (!open_serial_port())
        return;
    settingreaddataslots(InstrumentType, true);
    show_statemsg("", Status::Settings);
    show_statemsg(getpopup_prompt(Prompt::Connected), Status::Message);
}

bool MainWindow::open_serial_port()
{
    serial->setPortName(portname);
    serial->setBaudRate(dictionA->getbaudrate(baudrate.toInt()), QSerialPort::AllDirections);
    serial->setDataBits(static_cast<QSerialPort::DataBits>(dictionA->getDataBit(databit.toInt())));
    serial->setStopBits(static_cast<QSerialPort::StopBits>(dictionA->getStopBits(stopbit)));
    serial->setParity(static_cast<QSerialPort::Parity>(dictionA->getParity(parity)));
    serial->setFlowControl(QSerialPort::NoFlowControl);
    serial->setReadBufferSize(1024);
    if (serial->open(QIODevice::ReadWrite))
        return true;
    const QSerialPort::SerialPortError error = serial->error();
    const QString reason = serial->errorString();
    serial->clearError();
    show_statemsg(getpopup_prompt(Prompt::NotConnected), Status::Message);
    show_warning(this, getpopup_prompt(Prompt::ProgramName),
                 port_open_failure_text(error, portname, reason, getpopup_prompt(Prompt::PortOpenFailed),
                                        get_parametretitle("SerialPermissionMsg")));
    return false;
}

bool MainWindow::port_lost(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:       // the device went away (EIO on Unix, a removed USB adapter)
    case QSerialPort::DeviceNotFoundError: // its node is gone
    case QSerialPort::PermissionError:
    case QSerialPort::NotOpenError:
        return true;
    default:
        break;
    }
    // Qt's Unix port reports a read that found nothing as a read error, with whatever errno an
    // unrelated call left behind ("File exists", "Inappropriate ioctl for device"). It happens when
    // the read notification comes for bytes that are no longer there, once, and the bytes that follow
    // are read as usual. A hung-up line reads nothing for ever: its errors follow each other with no
    // byte read between them.
    constexpr int kErrorsOfALostLine = 3;
    return ++read_errors_in_a_row >= kErrorsOfALostLine;
}

void MainWindow::serial_port_failed(QSerialPort::SerialPortError error)
{
    // Errors while opening are reported by open_serial_port; a time-out is no failure of the port.
    if (!serial->isOpen() || error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    const QString reason = serial->errorString();
    if (!port_lost(error)) {
        qCWarning(lcApp) << "port" << portname << "reported" << error << reason << "- not taken as a lost port";
        serial->clearError();
        return;
    }
    // A send is told with the records the instrument acknowledged: the rest did not reach it.
    const bool sending = InformationTransmissionjFlag && CommunicationDirection == kt2040::PcSends;
    const QString told = sending ? get_parametretitle("SendMsg").value(3).arg(
                                       portname, reason, QString::number(send_acknowledged), QString::number(SetPoints))
                                 : getpopup_prompt(Prompt::ConnectionLost).arg(portname, reason);
    // Close at once, without a clear (a failed port answers it with another error): Qt repeats a
    // resource error for as long as the port stays open.
    serial->close();
    close_port();
    // A KT90 conversation cannot go on without the port.
    KT90SendType = kt90::Message::None;
    KT90_StartSave = false;
    PCtoYCsendnum = 0;
    if (progDlg && progDlg->isVisible())
        wait_stop();
    show_statemsg(getpopup_prompt(Prompt::NotConnected), Status::Message);
    show_warning(this, getpopup_prompt(Prompt::ProgramName), told);
}

void MainWindow::COMParameter_ini(int type)
{
    if (type != 0)
        return;
    InformationTransmissionjFlag = false;
    ++receive_serial; // the next transfer's records are a step of their own
    CommunicationDirection = kt2040::PcReceives;
    commbuf.clear();
    KT20_KT40_curnum = 0;
    KT20_KT40_count = 0;
    // The progress of the transfer that ended goes with it.
    SetPoints = 0;
    ActualPoints = 0;
    send_texts.clear();
    send_acknowledged = 0;
    read_errors_in_a_row = 0;
}

bool MainWindow::COMParameter_judge(QString portname, QStringList pnadlist)
{
    return !dictionA->getcomdesc(portname, pnadlist).contains("Bluetooth", Qt::CaseInsensitive);
}

void MainWindow::settingreaddataslots(QString type, bool flag)
{
    const auto slot = (type == "KT90") ? &MainWindow::ReadDataKT90 : &MainWindow::ReadDataKT40;
    if (flag)
        connect(serial, &QSerialPort::readyRead, this, slot);
    else
        disconnect(serial, &QSerialPort::readyRead, this, slot);
}

void MainWindow::read_port_chunks(void (MainWindow::*received)(const QByteArray&))
{
    // Qt announces no bytes while a read slot runs, and a paced send or a wait dialog processes events
    // inside it: bytes that came meanwhile are read as soon as the handler returns, not when the next
    // bytes arrive.
    while (serial->isOpen()) {
        const QByteArray chunk = serial->readAll();
        if (chunk.isEmpty())
            return;
        read_errors_in_a_row = 0;
        show_tongxunmsg(chunk, Traffic::Read);
        (this->*received)(chunk);
    }
}

void MainWindow::ReadDataKT40()
{
    read_port_chunks(&MainWindow::received_kt40);
}

void MainWindow::received_kt40(const QByteArray& chunk)
{
    commbuf.append(chunk);
    InformationAnalysis(commbuf);
}

void MainWindow::write_to_port(const QByteArray& bytes, bool log)
{
    if (!serial->isOpen())
        return;
    serial->write(bytes);
    // Out at once rather than on the next turn of the event loop: the instrument waits for it.
    serial->flush();
    if (log)
        show_tongxunmsg(bytes, Traffic::Written);
    else if (comm_log)
        log_traffic(false, bytes);
}
