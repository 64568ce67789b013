// KT90 message handling: reply lines out of the receive buffer, each reply one step of the listing,
// download or upload conversation, the download written to its file.
#include "comm/kt90_conversation.h"
#include "comm/kt90_instrument.h"
#include "comm/kt90_message_types.h"
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "modal/modal.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QProgressDialog>
#include <QTreeWidget>

namespace
{

QStringList* list_of(MainWindow& w, kt90::List which)
{
    switch (which) {
    case kt90::List::Jobs:
        return &w.KT90_JCLBuf;
    case kt90::List::Formats:
        return &w.KT90_FCLBuf;
    case kt90::List::Hal:
        return &w.KT90_HCLBuf;
    case kt90::List::Val:
        return &w.KT90_VCLBuf;
    case kt90::List::None:
        break;
    }
    return nullptr;
}

} // namespace

void MainWindow::ReadDataKT90()
{
    read_port_chunks(&MainWindow::received_kt90);
}

void MainWindow::received_kt90(const QByteArray& chunk)
{
    commbuf.append(chunk);
    if (kt90::buffer_overflows(commbuf))
        commbuf.clear();
    else
        InformationAnalysis_KT90(commbuf);
}

void MainWindow::InformationAnalysis_KT90(QByteArray qba)
{
    if (!kt90::reply_complete(qba, writedatanum))
        return;
    if (tree1totree2_flag && tree2totree1_flag)
        return;
    // The reply leaves the buffer before it is handled: a reply that arrives while a dialog of this
    // step runs is then a reply of its own.
    commbuf.clear();
    if (tree2totree1_flag)
        kt90_upload_reply(qba);
    else
        kt90_listing_reply(qba);
}

void MainWindow::kt90_listing_reply(const QByteArray& reply)
{
    const kt90::Step step = kt90::listing_step(KT90SendType, KT90SendModel, kt90::reply_kind(reply), KT90_PointType);
    switch (step.effect) {
    case kt90::Effect::None:
        break;
    case kt90::Effect::RefreshStatus:
        show_statemsg("", Status::Settings);
        break;
    case kt90::Effect::ClearAllLists:
        for (kt90::List list : {kt90::List::Jobs, kt90::List::Formats, kt90::List::Hal, kt90::List::Val})
            list_of(*this, list)->clear();
        break;
    case kt90::Effect::ClearList:
        list_of(*this, step.list)->clear();
        break;
    case kt90::Effect::FinishListing:
        KT90SendType = kt90::Message::None;
        kt90_stop_wait();
        if (QTreeWidgetItem* port = ui->treeWidget->currentItem()) {
            deltreewidgetsubitem(ui->treeWidget, port, false);
            add_subtree(port);
        }
        return;
    case kt90::Effect::FinishDownload:
        kt90_finish_download();
        return;
    case kt90::Effect::StartData:
        KT90_DataNum = 0;
        KT90_DataCount = 0;
        KT90_DataBuf.clear();
        break;
    case kt90::Effect::DataLine: {
        const QString line = kt90::line_text(reply);
        if (KT90_StartSave) {
            ++KT90_DataNum;
            KT90_DataBuf.append(line);
            if (KT90_DataCount > 0)
                currentValue = kt90::percent(KT90_DataNum, KT90_DataCount);
        } else {
            KT90_DataCount = kt90::header_count(line, KT90SendType);
            KT90_StartSave = true;
        }
        break;
    }
    case kt90::Effect::ListLine:
        InformationAnalysis_unpack_KT90(kt90::list_text(reply));
        return;
    }
    KT90SendType = step.next_state;
    if (step.send == kt90::Message::None)
        return;
    const QString value = step.param == kt90::Param::FormatNumber ? KT90_DataTypeNum
                          : step.param == kt90::Param::JobNumber  ? KT90_DataFileNum
                                                                  : QString();
    send_kt90_message(dictionA->getKT90packmsg(step.send, value, step.param != kt90::Param::None));
}

void MainWindow::InformationAnalysis_unpack_KT90(QString msg)
{
    const kt90::Step step = kt90::line_step(KT90SendType);
    if (step.send == kt90::Message::None)
        return;
    if (step.progress == kt90::Progress::Up)
        currentValue = qMin(currentValue + 1, 99);
    else if (step.progress == kt90::Progress::Full)
        currentValue = 99;
    if (QStringList* list = list_of(*this, step.list))
        list->append(msg);
    KT90SendType = step.next_state;
    send_kt90_message(dictionA->getKT90packmsg(step.send, QString(), false));
}

void MainWindow::kt90_upload_reply(const QByteArray& reply)
{
    const int records = PopMenuCopyFromPCtoYCFileData.size();
    const kt90::UploadStep step = kt90::upload_step(PCtoYCsendnum, PCtoYC_YCfile_iscunzai, records);
    if (!step.matched)
        return;
    PCtoYCsendnum = step.sendnum;
    if (step.sent >= 0) {
        KT90_DataNum = step.sent;
        currentValue = kt90::percent(KT90_DataNum, records + 18);
    }
    KT90SendType = step.state;

    switch (step.effect) {
    case kt90::UploadEffect::None:
    case kt90::UploadEffect::SendRecord:
        break;
    case kt90::UploadEffect::ShowWait:
        progflag = 2;
        wait_start(WaitKind::JobCopy);
        break;
    case kt90::UploadEffect::ClearJobs:
        KT90_JCLBuf.clear();
        break;
    case kt90::UploadEffect::KeepJobLine:
        KT90_JCLBuf.append(kt90::list_text(reply));
        break;
    case kt90::UploadEffect::RebuildJobs:
        kt90_rebuild_target_jobs();
        break;
    case kt90::UploadEffect::Finish:
        tree1totree2_flag = false;
        tree2totree1_flag = false;
        KT90PCtoYCDataChushihua();
        KT90SendType = kt90::Message::None;
        kt90_stop_wait();
        return;
    }
    send_kt90_message(kt90_upload_message(step.send, step.record));
    if (step.effect == kt90::UploadEffect::RebuildJobs)
        kt90_stop_wait();
}

QByteArray MainWindow::kt90_upload_message(int type, int record)
{
    const QString job_number = QString::number(PCtoYCzuoyenum);
    switch (type) {
    case kt90::Message::JobList:
        // The job list is read back with the listing's command; the upload builder knows no job list.
        return dictionA->getKT90packmsg(kt90::Message::JobList, QString(), false);
    case kt90::Message::SendCoordinates:
        return dictionA->getKT90packmsgPCtoYC(kt90::Message::SendCoordinates, job_number, QString(), true);
    case kt90::Message::CreateJob:
        return dictionA->getKT90packmsgPCtoYC(kt90::Message::CreateJob, job_number, KT90CopyTofilename, false);
    case kt90::Message::DataRecord:
        return dictionA->getKT90packmsgPCtoYC(kt90::Message::DataRecord, QString::number(kt90::kRecordLength),
                                              PopMenuCopyFromPCtoYCFileData.value(record), true);
    default:
        return dictionA->getKT90packmsgPCtoYC(type, QString(), QString(), false);
    }
}

void MainWindow::kt90_rebuild_target_jobs()
{
    // With no job-list node recorded every item would match; nothing is rebuilt then.
    if (KT90Zuoyequancheng_parent.isEmpty())
        return;
    const QList<QTreeWidgetItem*> found =
        ui->treeWidget->findItems(KT90Zuoyequancheng_parent, Qt::MatchContains | Qt::MatchRecursive, 0);
    if (found.isEmpty())
        return;
    deltreewidgetsubitem(ui->treeWidget, found.first(), false);
    add_subtree1(found.first());
}

void MainWindow::kt90_finish_download()
{
    KT90SendType = kt90::Message::None;
    kt90_stop_wait();
    KT90_StartSave = false;
    FileOperation file;
    if (!file.writefile(KT90_SaveFilename, KT90_DataBuf, false))
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::FileNotWritten).arg(KT90_SaveFilename, file.last_error));
    else if (!KT90_DataBuf.isEmpty())
        show_statemsg(getpopup_prompt(Prompt::JobSaved).arg(KT90_SaveFilename), Status::Message);
    KT90_DataBuf.clear();
    labelhead = "";
    KT90_DataNum = 0;
    KT90_DataCount = 0;
}

void MainWindow::kt90_stop_wait()
{
    if (progDlg && progDlg->isVisible())
        wait_stop();
}

void MainWindow::send_kt90_message(const QByteArray& message)
{
    if (message.size() >= writedatanum)
        write_to_port(message);
}
