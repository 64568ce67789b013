// KT20_KT40 record decoding into table rows, and the field routines shared with sending and the table.
#include "comm/kt2040_frames.h"
#include "config/prompts.h"
#include "data/fieldtext.h"
#include "data/tablecolumns.h"
#include "table/pointitem.h"
#include "table/tableundo.h"
#include "window/mainwindow.h"
#include "window/redrawpacing.h"

#include <QTableWidget>

#include <algorithm>

void MainWindow::InformationAnalysis_unpackKT20_KT40(QByteArray cksj, int type)
{
    switch (type) {
    case kt2040::Kt20Kt40Kind::StartRequest: // echoed as it came
        write_to_port(cksj.left(3));
        arm_ack_timer(cksj.left(3));
        return;
    case kt2040::Kt20Kt40Kind::End:
    case kt2040::Kt20Kt40Kind::EndWithError:
        disarm_ack_timer();
        COMParameter_ini(TransferState::Reset);
        show_statemsg(
            QString("%1   %2").arg(
                getpopup_prompt(Prompt::Connected),
                getpopup_prompt(type == kt2040::Kt20Kt40Kind::End ? Prompt::AllReceived : Prompt::InstrumentError)),
            Status::Message);
        return;
    case kt2040::Kt20Kt40Kind::FileHeader: // its job name goes with the records that follow
        disarm_ack_timer();
        KT20_KT40_filename = kt2040::job_name(cksj);
        show_statemsg(progress_text(Prompt::Receiving, KT20_KT40_curnum, KT20_KT40_count), Status::Message);
        write_to_port(kt2040::record_ack(cksj));
        return;
    default:
        break;
    }
    const kt2040::Frame frame = kt2040::kt20kt40_frame(type);
    if (frame == kt2040::Frame::None || frame == kt2040::Frame::StartRequest)
        return;
    disarm_ack_timer();
    const kt2040::Record record = kt2040::decode_record(cksj, frame);
    append_table_row(record);
    KT20_KT40_count = record.total;
    KT20_KT40_curnum = record.number;
    show_statemsg(progress_text(Prompt::Receiving, KT20_KT40_curnum, KT20_KT40_count), Status::Message);
    write_to_port(kt2040::record_ack(cksj));
    show_progress(KT20_KT40_curnum, KT20_KT40_count);
}

void MainWindow::append_table_row(const kt2040::Record& record)
{
    QStringList cells = record.cells;
    if (!record.label_key.isEmpty())
        cells[ObsColumn::Kind] = get_map_data(record.label_key, CoordinateType);
    if (record.job_column)
        cells[ObsColumn::Job] = KT20_KT40_filename;
    const int row = tableWidget->rowCount();
    tableWidget->insertRow(row);
    // Cells beyond the table's columns have nowhere to go (and an item set there would not be owned).
    const int columns =
        record.fills_table ? tableWidget->columnCount() : std::min(int(cells.size()), tableWidget->columnCount());
    for (int c = 0; c < columns; ++c)
        tableWidget->setItem(row, c, new PointItem(cells.value(c)));
    // One undo step for the records of a transfer.
    push_table_step(rows_appended_step(*this, row, 1, receive_serial));
    rows_appended(row);
    redraw_pacing->record_shown();
}

QString MainWindow::singledata_unpack(QByteArray qba, int pos, int length, int alllength, QString addstr, int addwenzhi)
{
    return field_text(qba, pos, length, alllength, addstr, addwenzhi);
}

QString MainWindow::get_data_youxiaowei(QString sour, int length)
{
    return fixed_decimals(sour, length);
}

QString MainWindow::dddffmm_bianhuan(QString sour, int flag)
{
    return angle_text(sour, flag);
}
