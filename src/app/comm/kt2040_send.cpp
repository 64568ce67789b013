// KT20/KT40 sending: the send commands, the frames of the rows in both frame sets, the instrument's
// requests and end answers, and the paced waits of the KT20_KT40 send.
#include "comm/kt2040_frames.h"
#include "config/prompts.h"
#include "modal/modal.h"
#include "table/tablerows.h"
#include "window/mainwindow.h"

#include <QEventLoop>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

using kt2040::Frame;
using kt2040::FrameSet;

namespace
{

// Entries of the UI-text list "SendMsg".
enum SendMsg : int {
    SelectRowsFirst = 0,
    Acknowledged = 1, // %1 of %2 records
    EndedShort = 2,   // %1 of %2 records, %3 not sent
    LostWhileSending = 3,
};

} // namespace

void MainWindow::program_senddata()
{
    QList<int> rows;
    for (int r = 0; r < tableWidget->rowCount(); ++r)
        rows << r;
    send_rows(rows);
}

void MainWindow::program_sendselected()
{
    const QList<int> rows = selected_rows();
    if (rows.isEmpty() && !InformationTransmissionjFlag) {
        show_information(this, getpopup_prompt(Prompt::ProgramName),
                         get_parametretitle("SendMsg").value(SendMsg::SelectRowsFirst));
        return;
    }
    send_rows(rows);
}

void MainWindow::send_rows(const QList<int>& rows)
{
    if (InformationTransmissionjFlag) {
        show_information(nullptr, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::TransferRunning));
        return;
    }
    if (!port_ready_for_transfer())
        return;
    QList<QStringList> texts;
    texts.reserve(rows.size());
    for (int row : rows)
        texts << row_texts(row);
    const int count = confirm_send(texts);
    if (count < 0)
        return;
    // The question ran an event loop: the port may have gone, or the instrument begun a transfer.
    if (InformationTransmissionjFlag || !port_ready_for_transfer())
        return;
    if (count < rows.size())
        select_rows_from(rows, count);
    begin_transfer(kt2040::PcSends, count);
    ZuobiaoLeixing = kt2040::Coordinates;
    send_texts = texts.mid(0, count);
    InformationAnalysis_pack(-1);
}

QList<int> MainWindow::selected_rows() const
{
    return ::selected_rows(tableWidget);
}

void MainWindow::select_rows_from(const QList<int>& rows, int from)
{
    QItemSelection selection;
    const int last_column = tableWidget->columnCount() - 1;
    for (int i = from; i < rows.size(); ++i) {
        const QModelIndex first = tableWidget->model()->index(rows[i], 0);
        selection.select(first, tableWidget->model()->index(rows[i], last_column));
    }
    tableWidget->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (from < rows.size())
        tableWidget->scrollTo(tableWidget->model()->index(rows[from], 0));
}

void MainWindow::InformationAnalysis_pack(int row)
{
    const FrameSet set = kt2040::frame_set_of(InstrumentType);
    if (set == FrameSet::Kt40) {
        if (row < 0) {
            write_to_port(kt2040::kt40_header(SetPoints));
            show_statemsg(progress_text(Prompt::Sending, ActualPoints, SetPoints), Status::Message);
        } else if (row < SetPoints && row < send_texts.size()) {
            const QByteArray frame = kt2040::kt40_record(row, send_texts[row]);
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
        KT20_KT40_count = send_texts.size();
        for (int j = 0; j < KT20_KT40_count; ++j)
            KT20_KT40_Dataslist << kt2040::kt20kt40_record_text(j, KT20_KT40_count, send_texts[j]);
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
        // After the header AA 81 asks for the first record; after a record it acknowledges that one.
        send_acknowledged = ActualPoints;
        InformationAnalysis_pack(ActualPoints);
        commbuf.clear();
        break;
    case Frame::Kt40EndAck:
        send_ended();
        SetPoints = 0;
        ActualPoints = 0;
        COMParameter_ini(TransferState::Reset);
        break;
    case Frame::RecordRequest:
        answer_record_request(qba);
        break;
    case Frame::End:
    case Frame::EndWithError:
        // The end answers the last record sent.
        send_acknowledged = std::max(KT20_KT40_curnum - 1, 0);
        disarm_ack_timer();
        send_ended();
        COMParameter_ini(TransferState::Reset);
        show_statemsg(getpopup_prompt(frame == Frame::End ? Prompt::AllSent : Prompt::InstrumentError),
                      Status::Message);
        break;
    default:
        break;
    }
}

void MainWindow::send_ended()
{
    const int total = SetPoints;
    const QStringList texts = get_parametretitle("SendMsg");
    statusBar()->showMessage(
        texts.value(SendMsg::Acknowledged).arg(QString::number(send_acknowledged), QString::number(total)));
    // A send the instrument ended early must not pass for a complete one, whatever the status line says.
    if (send_acknowledged < total)
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     texts.value(SendMsg::EndedShort)
                         .arg(QString::number(send_acknowledged), QString::number(total),
                              QString::number(total - send_acknowledged)));
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
        // A further request shows the echo arrived and the last record was taken.
        disarm_ack_timer();
        send_acknowledged = KT20_KT40_curnum - 1;
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

QStringList MainWindow::row_texts(int row) const
{
    QStringList texts;
    for (int c = 0; c < tableWidget->columnCount(); ++c)
        texts << cell_text(tableWidget, row, c);
    return texts;
}
