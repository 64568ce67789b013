// KT20/KT40 sending: the send command, the frames of the table's rows in both frame sets, the
// instrument's requests and end answers, and the paced waits of the KT20_KT40 send.
#include "comm/kt2040_frames.h"
#include "config/prompts.h"
#include "modal/modal.h"
#include "table/tablerows.h"
#include "window/mainwindow.h"

#include <QEventLoop>
#include <QTableWidget>
#include <QTimer>

using kt2040::Frame;
using kt2040::FrameSet;

void MainWindow::program_senddata()
{
    if (InformationTransmissionjFlag) {
        show_information(nullptr, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::TransferRunning));
        return;
    }
    if (!port_ready_for_transfer())
        return;
    begin_transfer(kt2040::PcSends, tableWidget->rowCount());
    ZuobiaoLeixing = kt2040::Coordinates;
    InformationAnalysis_pack(-1);
}

void MainWindow::InformationAnalysis_pack(int row)
{
    const FrameSet set = kt2040::frame_set_of(InstrumentType);
    if (set == FrameSet::Kt40) {
        if (row < 0) {
            write_to_port(kt2040::kt40_header(SetPoints));
            show_statemsg(progress_text(Prompt::Sending, ActualPoints, SetPoints), Status::Message);
        } else if (row < SetPoints) {
            const QByteArray frame = kt2040::kt40_record(row, row_texts(row));
            ActualPoints += 1;
            write_to_port(frame);
            show_statemsg(progress_text(Prompt::Sending, ActualPoints, SetPoints), Status::Message);
        } else {
            write_to_port(kt2040::kt40_end());
            show_statemsg(QString("%1   %2").arg(getpopup_prompt(Prompt::Connected), getpopup_prompt(Prompt::AllSent)),
                          Status::Message);
        }
        return;
    }
    if (set != FrameSet::Kt20Kt40)
        return;
    if (row < 0) {
        // The texts are fixed now; rows changed during the send go as they were.
        KT20_KT40_curnum = 0;
        KT20_KT40_count = tableWidget->rowCount();
        for (int j = 0; j < KT20_KT40_count; ++j)
            KT20_KT40_Dataslist << kt2040::kt20kt40_record_text(j, KT20_KT40_count, row_texts(j));
        return;
    }
    if (tableWidget->rowCount() < KT20_KT40_curnum || KT20_KT40_curnum < 1 ||
        KT20_KT40_curnum > KT20_KT40_Dataslist.size())
        return;
    const QByteArray frame = kt2040::kt20kt40_record(KT20_KT40_Dataslist[KT20_KT40_curnum - 1]);
    if (KT20_KT40_curnum > 1 && !pause_within_send(record_pause_ms))
        return;
    KT20_KT40_curnum += 1;
    write_to_port(frame);
    show_statemsg(progress_text(Prompt::Sending, KT20_KT40_curnum - 1, KT20_KT40_count), Status::Message);
}

void MainWindow::InformationAnalysis_send(QByteArray qba)
{
    const Frame frame = take_frame(qba);
    switch (frame) {
    case Frame::Kt40Ack:
        InformationAnalysis_pack(ActualPoints);
        commbuf.clear();
        break;
    case Frame::Kt40EndAck:
        SetPoints = 0;
        ActualPoints = 0;
        COMParameter_ini(TransferState::Reset);
        break;
    case Frame::RecordRequest:
        answer_record_request(qba);
        break;
    case Frame::End:
    case Frame::EndWithError:
        disarm_ack_timer();
        COMParameter_ini(TransferState::Reset);
        show_statemsg(getpopup_prompt(frame == Frame::End ? Prompt::AllSent : Prompt::InstrumentError),
                      Status::Message);
        break;
    default:
        break;
    }
}

void MainWindow::answer_record_request(const QByteArray& request)
{
    commbuf.clear();
    if (KT20_KT40_curnum < 1) {
        write_to_port(request);
        arm_ack_timer(request);
        if (!pause_within_send(first_record_pause_ms))
            return;
        KT20_KT40_curnum = 1;
    } else {
        // A further request shows the echo arrived: nothing is left to repeat.
        disarm_ack_timer();
    }
    if (KT20_KT40_count >= KT20_KT40_curnum)
        InformationAnalysis_pack(KT20_KT40_curnum);
}

bool MainWindow::pause_within_send(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    // A disconnect or a lost port during the pause ended the send.
    return InformationTransmissionjFlag && CommunicationDirection == kt2040::PcSends;
}

QStringList MainWindow::row_texts(int row)
{
    QStringList texts;
    for (int c = 0; c < tableWidget->columnCount(); ++c)
        texts << cell_text(tableWidget, row, c);
    return texts;
}
