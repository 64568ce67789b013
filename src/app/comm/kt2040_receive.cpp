// KT20/KT40 receive framing: dispatch by direction, the receive command, the KT40 frame set's header,
// records and end, and the acknowledgement time-out.
#include "comm/kt2040_frames.h"
#include "config/prompts.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QLineEdit>
#include <QTimer>

using kt2040::Frame;

void MainWindow::InformationAnalysis(QByteArray qba)
{
    if (CommunicationMode != LinkMode::Cable && CommunicationMode != LinkMode::Bluetooth)
        return;
    if (CommunicationDirection == kt2040::PcReceives)
        InformationAnalysis_receive(qba);
    else if (CommunicationDirection == kt2040::PcSends)
        InformationAnalysis_send(qba);
}

kt2040::Context MainWindow::frame_context() const
{
    return {kt2040::frame_set_of(InstrumentType), kt2040::Direction(CommunicationDirection),
            kt2040::DataKind(ZuobiaoLeixing)};
}

Frame MainWindow::take_frame(QByteArray& qba)
{
    const kt2040::Context context = frame_context();
    Frame frame = kt2040::recognise(qba, context);
    if (frame == Frame::None && kt2040::cut_noise(qba, context)) {
        commbuf = qba;
        frame = kt2040::recognise(qba, context);
    }
    return frame;
}

void MainWindow::InformationAnalysis_receive(QByteArray qba)
{
    const Frame frame = take_frame(qba);
    // The instrument's transfer runs from its first frame on, whether or not Receive was pressed: a
    // command that would ask about the table's rows must wait for its end. A coordinate start request
    // is no such frame: the instrument asks so for a send of the PC as well, and offers it again and
    // again while it waits.
    const bool coordinate_offer = frame == Frame::StartRequest && ZuobiaoLeixing == kt2040::Coordinates;
    if (frame != Frame::None && !coordinate_offer)
        InformationTransmissionjFlag = true;
    switch (frame) {
    case Frame::None:
        return;
    case Frame::Kt40Header: {
        SetPoints = kt2040::header_count(qba);
        const QString name = kt2040::header_name(qba);
        InformationAnalysis_unpack(qba, kt2040::Kt40Step::Header);
        ui->lineEdit->setText(name);
        ActualPoints = 0;
        show_progress(ActualPoints, SetPoints);
        break;
    }
    case Frame::Kt40Record:
        InformationAnalysis_unpack(qba, kt2040::Kt40Step::Record);
        break;
    case Frame::Kt40End:
        InformationAnalysis_unpack(qba, kt2040::Kt40Step::End);
        break;
    default:
        InformationAnalysis_unpackKT20_KT40(qba, kt2040::kt20kt40_kind(frame));
        break;
    }
    commbuf.clear();
}

void MainWindow::InformationAnalysis_unpack(QByteArray cksj, int type)
{
    switch (type) {
    case kt2040::Kt40Step::Header:
        write_to_port(kt2040::kt40_ack());
        arm_ack_timer(kt2040::kt40_ack());
        break;
    case kt2040::Kt40Step::Record:
        disarm_ack_timer();
        append_table_row(kt2040::decode_record(cksj, Frame::Kt40Record));
        ActualPoints += 1;
        show_statemsg(progress_text(Prompt::Receiving, ActualPoints, SetPoints), Status::Message);
        write_to_port(kt2040::kt40_ack());
        show_progress(ActualPoints, SetPoints);
        break;
    case kt2040::Kt40Step::End:
        // A header without records left the time-out armed; the transfer is over.
        disarm_ack_timer();
        write_to_port(kt2040::kt40_end());
        COMParameter_ini(TransferState::Reset);
        show_statemsg(QString("%1   %2").arg(getpopup_prompt(Prompt::Connected), getpopup_prompt(Prompt::AllReceived)),
                      Status::Message);
        break;
    default:
        break;
    }
}

void MainWindow::program_receivedata()
{
    if (InformationTransmissionjFlag)
        return;
    if (!port_ready_for_transfer())
        return;
    if (!settle_before_receive())
        return;
    // The question ran an event loop: the instrument's transfer may have begun meanwhile, and runs on.
    if (InformationTransmissionjFlag || !serial->isOpen())
        return;
    begin_transfer(kt2040::PcReceives, 0);
    show_statemsg(QString("%1%2").arg(getpopup_prompt(Prompt::Connected), getpopup_prompt(Prompt::Receiving)),
                  Status::Message);
}

bool MainWindow::port_ready_for_transfer()
{
    // The menu offers the transfer commands while no port is open too; say so instead of showing a
    // transfer that cannot run.
    if (serial->isOpen())
        return true;
    show_statemsg(getpopup_prompt(Prompt::NotConnected), Status::Message);
    return false;
}

void MainWindow::begin_transfer(int direction, int points)
{
    InformationTransmissionjFlag = true;
    SetPoints = points;
    ActualPoints = 0;
    CommunicationDirection = direction;
    send_acknowledged = 0;
    if (InstrumentType == "KT20_KT40" || InstrumentType == "KT85R") {
        KT20_KT40_curnum = 0;
        KT20_KT40_count = 0;
        KT20_KT40_filename.clear();
        KT20_KT40_Dataslist.clear();
    }
}

void MainWindow::show_progress(int done, int total)
{
    ui->lineEdit_2->setText(QString("%1/%2").arg(done).arg(total));
}

void MainWindow::arm_ack_timer(const QByteArray& answer)
{
    last_start_answer = answer;
    if (!Commontimer->isActive())
        Commontimer->start(3000);
    CommontimerFlag = true;
}

void MainWindow::disarm_ack_timer()
{
    if (!CommontimerFlag)
        return;
    CommontimerFlag = false;
    if (Commontimer->isActive())
        Commontimer->stop();
}

void MainWindow::CommontimerTimerout()
{
    // Over Bluetooth an answer can be lost: repeat it once. A cable link waits for the instrument.
    if (CommunicationMode != LinkMode::Bluetooth)
        return;
    Commontimer->stop();
    if (serial->isOpen())
        write_to_port(last_start_answer.isEmpty() ? kt2040::kt40_ack() : last_start_answer, false);
}

QString MainWindow::progress_text(int prompt, int done, int total)
{
    return QString("%1%2%3/%4")
        .arg(getpopup_prompt(Prompt::Connected), getpopup_prompt(prompt), QString::number(done),
             QString::number(total));
}
