// Driving the KT20/KT40 receive and send paths with fuzz input.
#include "kt2040_link.h"

#include "harness.h"
#include "modal/modal.h"
#include "window/mainwindow.h"
#include "windowharness.h"

#include <QTableWidget>
#include <QTimer>

namespace
{

// The table holds up to this many rows of fixed texts, which the input's first byte chooses.
constexpr int kMostRows = 5;

// Rows the last input left as they were are kept: making every cell anew, each change journaled, cost
// more than most inputs' frames.
void fill_table(MainWindow& w, int rows)
{
    static QStringList texts;
    const int columns = w.tableWidget->columnCount();
    if (texts.size() != kMostRows * columns) {
        texts.clear();
        for (int r = 0; r < kMostRows; ++r) {
            for (int c = 0; c < columns; ++c)
                texts << QString("%1.%2").arg(r).arg(c);
        }
    }
    w.tableWidget->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString& text = texts[r * columns + c];
            const QTableWidgetItem* item = w.tableWidget->item(r, c);
            if (!item || item->text() != text)
                w.tableWidget->setItem(r, c, new QTableWidgetItem(text));
        }
    }
}

} // namespace

int fuzz_kt2040_link(const char* type, int direction, const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    MainWindow& w = fuzz_window(type);
    w.Commontimer->stop();
    w.CommontimerFlag = false;
    w.COMParameter_ini(TransferState::Reset);
    w.CommunicationMode = (data[0] & 0x02) ? 1 : 0;
    w.ZuobiaoLeixing = (data[0] & 0x01) ? 1 : 0;
    if (direction == 0) {
        w.tableWidget->setRowCount(0);
        w.begin_transfer(kt2040::PcReceives, 0);
    } else {
        fill_table(w, (data[0] >> 2) % (kMostRows + 1));
        w.begin_transfer(kt2040::PcSends, w.tableWidget->rowCount());
        w.ZuobiaoLeixing = kt2040::Coordinates;
        w.InformationAnalysis_pack(-1);
    }
    for (const QByteArray& chunk : fuzz_chunks(data + 1, size - 1))
        w.received_kt40(chunk);
    // The next input starts from an empty table: the journal of this one's rows goes, as after a save,
    // or it would grow with every input of the run.
    w.rows_settled();
    modal_script::clear();
    return 0;
}
