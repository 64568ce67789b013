// The question before a send or an upload: what the check of the frames found, "Send as shown" or
// "Cancel" (for too many rows, "Send the first N rows" or "Cancel"). With nothing found, no question.
#include "comm/sendcheck.h"
#include "comm/sendchecktext.h"
#include "modal/modal.h"
#include "window/mainwindow.h"

#include <algorithm>

namespace
{

// Asks about `report`; true when the user chose to send. `go` is the text of the sending button.
bool ask_about(MainWindow& w, const sendcheck::Report& report, bool upload, const QString& go)
{
    const QStringList words = w.get_parametretitle("SendCheckDlg");
    constexpr int kCancel = 1;
    const int answer = ask_choice(&w, words.value(sendcheck::Title), sendcheck::question_text(report, words, upload),
                                  {go, words.value(sendcheck::Cancel)}, kCancel, kCancel);
    return answer == 0;
}

} // namespace

int MainWindow::confirm_send(const QList<QStringList>& texts)
{
    const sendcheck::Report report = sendcheck::check_rows(kt2040::frame_set_of(InstrumentType), texts);
    const int count = std::min(report.rows, report.limit);
    if (report.clean())
        return count;
    const QStringList words = get_parametretitle("SendCheckDlg");
    const QString go =
        report.too_many() ? words.value(sendcheck::SendFirst).arg(count) : words.value(sendcheck::SendAsShown);
    return ask_about(*this, report, false, go) ? count : -1;
}

bool MainWindow::confirm_upload(bool new_job, const QString& job_name, int job_number)
{
    const sendcheck::Report report = sendcheck::check_upload(PopMenuCopyFromPCtoYCFileData, new_job, job_name,
                                                             job_number, get_parametretitle("JOBCONFLIST"));
    if (report.clean())
        return true;
    return ask_about(*this, report, true, get_parametretitle("SendCheckDlg").value(sendcheck::SendAsShown));
}
