// Job copies between instrument and PC: the two-step gestures record a source, then perform the copy
// through the transfer settings dialog and start the download or upload conversation.
#include "applog.h"
#include "comm/kt90_conversation.h"
#include "comm/kt90_instrument.h"
#include "comm/sendcheck.h"
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "data/safefilename.h"
#include "dialogs/comfiledownsettingdialog.h"
#include "dialogs/inputmsg_dangedialog.h"
#include "modal/modal.h"
#include "trees/jobnodes.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QTreeWidget>

namespace
{

// Entries of the UI-text list "KT90CopyMsg".
namespace CopyMsg
{
enum : int {
    NoLines = 0,    // %1 the file
    NotRecords = 1, // %1 the file, %2 the record length, %3 of %4 lines, line %5 has %6 characters
    NotPoints = 2,  // %1 the item copied
};
}

// Field 0 of every format list line, the format names offered in the dialog.
QStringList format_names(const QStringList& format_lines, bool lower)
{
    QStringList names;
    for (const QString& line : format_lines) {
        const QString name = line.split(',').first();
        names.append(lower ? name.toLower() : name);
    }
    return names;
}

// The format number of the last format line that names `format`, or "".
QString format_number(const QStringList& format_lines, const QString& format)
{
    QString number;
    for (const QString& line : format_lines) {
        if (!line.contains(format, Qt::CaseInsensitive))
            continue;
        const QStringList fields = line.split(',');
        if (fields.size() >= 2)
            number = fields[1];
    }
    return number;
}

// The file a download writes: the name as the user confirmed it and the format as suffix, the suffix
// cleaned like any name from the instrument (left off when nothing usable remains).
QString download_path(const QString& folder, const QString& name, const QString& format)
{
    const QString suffix = make_safe_file_name(format.toLower(), QString());
    if (suffix.isEmpty())
        return QString("%1/%2").arg(folder, name);
    return QString("%1/%2.%3").arg(folder, name, suffix);
}

// Runs a copy dialog with the window's paths and the texts of `key`; true when the user confirmed.
template <typename Dialog>
bool run_dialog(Dialog& dialog, MainWindow& w, const QString& key, bool (Dialog::*ini)(QStringList))
{
    dialog.exe_path = w.exe_path;
    dialog.icon_path = w.icon_path;
    dialog.dlgicon_path = w.icon_path;
    (dialog.*ini)(w.get_parametretitle(key));
    dialog.exec();
    return dialog.result_flag;
}

// Flag 0 of an upload: the file at `index` recorded as its source, when its first line is a record.
void record_upload_source(MainWindow& w, const QModelIndex& index)
{
    w.PopMenuCopyFromPCtoYCFileName.clear();
    w.PopMenuCopyFromPCtoYCFileMsg.clear();
    w.PopMenuCopyFromPCtoYCFileData.clear();
    w.PCtoYCsendnum = 0;
    w.tree1totree2_flag = false;
    w.tree2totree1_flag = false;
    w.PopMenuCopyFromPCtoYCFileMsg = w.model->filePath(index);
    const QFileInfo info(w.PopMenuCopyFromPCtoYCFileMsg);
    if (info.isDir()) {
        w.KT90PCtoYCDataChushihua();
        return;
    }
    w.PopMenuCopyFromPCtoYCFileName = info.baseName();
    if (w.PopMenuCopyFromPCtoYCFileName.isEmpty()) {
        w.KT90PCtoYCDataChushihua();
        return;
    }
    FileOperation file;
    w.PopMenuCopyFromPCtoYCFileData = file.readfile(w.PopMenuCopyFromPCtoYCFileMsg);
    if (!file.last_read_ok) {
        show_warning(&w, w.getpopup_prompt(Prompt::ProgramName),
                     w.getpopup_prompt(Prompt::FileNotRead).arg(w.PopMenuCopyFromPCtoYCFileMsg, file.last_error));
        w.KT90PCtoYCDataChushihua();
        return;
    }
    // A file whose first line is no record is no upload source; later lines are checked before the
    // upload starts.
    const sendcheck::Report report = sendcheck::check_records(w.PopMenuCopyFromPCtoYCFileData.mid(0, 1));
    if (w.PopMenuCopyFromPCtoYCFileData.isEmpty() || report.count(sendcheck::Kind::RecordLength) > 0) {
        w.refuse_upload_source(w.PopMenuCopyFromPCtoYCFileMsg,
                               sendcheck::check_records(w.PopMenuCopyFromPCtoYCFileData));
        w.KT90PCtoYCDataChushihua();
        return;
    }
    w.tree2totree1_flag = true;
    w.tree1totree2_flag = false;
    if (QTreeWidgetItem* current = w.ui->treeWidget->currentItem())
        w.ui->label_5->setText(current->text(w.ui->treeWidget->currentColumn()));
}

// The job node an upload goes to, from the item it was dropped on: a points leaf stands for its job;
// the job node's parent is the job-list node. False when the item is neither.
bool upload_target(QTreeWidgetItem* item, int column, QString* name, QTreeWidgetItem** job_list)
{
    if (!item || column < 0)
        return false;
    *name = item->text(column);
    if (is_points_node(*name)) {
        if (!item->parent())
            return false;
        *name = item->parent()->text(column);
        *job_list = item->parent()->parent();
    } else if (is_job_node(*name)) {
        *job_list = item->parent();
    } else {
        return false;
    }
    return is_points_node(*name) || is_job_node(*name);
}

// The target job node's parents, recorded for the rebuild after the upload; false when one of them
// has no text.
bool record_target_parents(MainWindow& w)
{
    const QList<QTreeWidgetItem*> found =
        w.ui->treeWidget->findItems(w.KT90Zuoyequancheng, Qt::MatchContains | Qt::MatchRecursive, 0);
    if (found.isEmpty() || !found.first()->parent())
        return true;
    QTreeWidgetItem* parent = found.first()->parent();
    w.KT90Zuoyequancheng_parent = parent->text(0);
    if (w.KT90Zuoyequancheng_parent.isEmpty())
        return false;
    if (QTreeWidgetItem* grandparent = parent->parent()) {
        w.KT90Zuoyequancheng_parent2 = grandparent->text(0);
        if (w.KT90Zuoyequancheng_parent2.isEmpty())
            return false;
    }
    return true;
}

// The name the upload gives its job: an existing job's own, or for a free job the name the user
// types; false on Cancel.
bool take_upload_job_name(MainWindow& w, const JobOfNode& job, bool job_exists)
{
    if (job_exists) {
        w.KT90CopyTofilename = job.name;
        return true;
    }
    inputmsg_dangeDialog prompt(&w);
    prompt.filename = QString::number(w.PCtoYCzuoyenum);
    if (!run_dialog(prompt, w, "InputMsgDangeDlg", &inputmsg_dangeDialog::inputmsg_dangedlg_ini))
        return false;
    w.KT90CopyTofilename = prompt.filename;
    return true;
}

} // namespace

void MainWindow::KT90PopMenuYCtoPC_Copy(QTreeWidgetItem* item, int column, QModelIndex index, int flag)
{
    if (flag == 0) {
        PopMenuCopyFromYCtoPC.clear();
        tree1totree2_flag = false;
        tree2totree1_flag = false;
        if (!item || column < 0)
            return;
        QStringList path{item->text(column)};
        QTreeWidgetItem* ancestor = item->parent();
        for (int i = 0; ancestor && i < 10; ++i, ancestor = ancestor->parent())
            path.prepend(ancestor->text(column));
        PopMenuCopyFromYCtoPC = path;
        tree1totree2_flag = true;
        tree2totree1_flag = false;
        ui->label_5->setText(item->text(column));
        return;
    }
    if (flag != 1 || PopMenuCopyFromYCtoPC.isEmpty())
        return;

    ComFileDownSettingDialog dialog(this);
    dialog.FileFrom = PopMenuCopyFromYCtoPC.first();
    dialog.FileTo = gettreeviewpath(index);
    // Without a folder the file would land in the root of the drive.
    if (dialog.FileTo.isEmpty())
        return;
    dialog.Comfiletype = 0;
    // The points and the job are those of the item recorded at Copy, wherever the selection is now.
    const QString copied = PopMenuCopyFromYCtoPC.last();
    const QString point_type = point_type_of_node(copied);
    const JobOfNode job = PopMenuCopyFromYCtoPC.size() >= 2
                              ? job_of_node(PopMenuCopyFromYCtoPC.value(PopMenuCopyFromYCtoPC.size() - 2))
                              : JobOfNode();
    if (point_type.isEmpty() || !job.valid) {
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     get_parametretitle("KT90CopyMsg").value(CopyMsg::NotPoints).arg(copied));
        return;
    }
    KT90CopyTofilename = job.name;
    const QString job_number = job.number;
    // The job name comes from the instrument: offered only as a name that cannot leave the folder.
    dialog.filename = make_safe_file_name(KT90CopyTofilename, job_number);
    dialog.DataType_list = format_names(KT90_FCLBuf, true);
    dialog.bad_name_title = getpopup_prompt(Prompt::ProgramName);
    dialog.bad_name_text = getpopup_prompt(Prompt::BadFileName);
    if (!run_dialog(dialog, *this, "FileDownDlg", &ComFileDownSettingDialog::iniparameterselectdlg_ini))
        return;

    PopMenuCopyFromYCtoPC.clear();
    if (progDlg)
        return;
    const QString format = format_number(KT90_FCLBuf, dialog.DataType);
    if (format.isEmpty() || job_number.isEmpty() || point_type.isEmpty()) {
        // The lists read from the instrument do not name what was chosen: nothing can be asked for.
        qCWarning(lcApp) << "download not started: format" << format << "job" << job_number << "points" << point_type;
        show_warning(this, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::DownloadNotStarted));
        return;
    }
    KT90SendType = kt90::Message::Open;
    KT90SendModel = kt90::Conversation::Download;
    KT90_StartSave = false;
    KT90_DataFileNum = job_number;
    KT90_PointType = point_type;
    KT90_DataTypeNum = format;
    KT90_SaveFilename = download_path(dialog.FileTo, dialog.filename, dialog.DataType);
    // The conversation runs on the port of the chosen instrument: the one open is closed first.
    close_port();
    portname = dialog.FileFrom;
    comm_open();
    // The port could not be opened and the user has been told: no wait for replies that cannot come.
    if (!serial->isOpen()) {
        KT90SendType = kt90::Message::None;
        return;
    }
    progflag = 2;
    wait_start(WaitKind::JobCopy);
    send_kt90_message(dictionA->getKT90packmsg(kt90::Message::Open, QString(), false));
}

void MainWindow::KT90PopMenuPCtoYC_Copy(QTreeWidgetItem* item, int column, QModelIndex index, int flag)
{
    if (flag == 0) {
        record_upload_source(*this, index);
        return;
    }
    if (flag != 1 || PopMenuCopyFromPCtoYCFileName.isEmpty())
        return;

    QString name;
    QTreeWidgetItem* job_list = nullptr;
    if (!upload_target(item, column, &name, &job_list)) {
        KT90PCtoYCDataChushihua();
        return;
    }
    ComFileDownSettingDialog dialog(this);
    dialog.FileFrom = gettreeviewpath(index);
    dialog.FileTo = QString();
    dialog.Comfiletype = 1;
    for (int i = 0; job_list && i < job_list->childCount(); ++i)
        dialog.FileName_list.append(job_list->child(i)->text(0));
    dialog.filename = name;
    dialog.DataType_list = format_names(KT90_FCLBuf, false);
    if (!run_dialog(dialog, *this, "FileDownDlg", &ComFileDownSettingDialog::iniparameterselectdlg_ini))
        return;

    KT90Zuoyequancheng = dialog.filename;
    const JobOfNode job = job_of_node(KT90Zuoyequancheng);
    if (!job.valid)
        return;
    PCtoYCzuoyenum = job.number.isEmpty() ? 1 : job.number.toInt();
    if (!record_target_parents(*this))
        return;
    const bool job_exists = job.name.compare("<empty>", Qt::CaseInsensitive) != 0;
    if (!take_upload_job_name(*this, job, job_exists))
        return;
    // What the instrument would get otherwise than the file shows is asked about before the first byte;
    // Cancel leaves the conversation where it is: idle, the source still recorded.
    if (!confirm_upload(!job_exists, KT90CopyTofilename, PCtoYCzuoyenum))
        return;
    KT90SendType = kt90::Message::Open;
    PCtoYC_YCfile_iscunzai = job_exists;
    PCtoYCsendnum = 1;
    send_kt90_message(dictionA->getKT90packmsgPCtoYC(kt90::Message::Open, QString(), QString(), false));
}

void MainWindow::refuse_upload_source(const QString& path, const sendcheck::Report& report)
{
    const QStringList texts = get_parametretitle("KT90CopyMsg");
    QString why = texts.value(CopyMsg::NoLines).arg(path);
    for (const sendcheck::Finding& f : report.findings) {
        if (f.kind != sendcheck::Kind::RecordLength)
            continue;
        why = texts.value(CopyMsg::NotRecords)
                  .arg(path, QString::number(kt90::kRecordLength),
                       QString::number(report.count(sendcheck::Kind::RecordLength)), QString::number(report.rows),
                       QString::number(f.row + 1), QString::number(f.shown.size()));
        break;
    }
    show_warning(this, getpopup_prompt(Prompt::ProgramName), why);
}

void MainWindow::KT90PCtoYCDataChushihua()
{
    PCtoYCzuoyenum = 0;
    KT90Zuoyequancheng.clear();
    KT90CopyTofilename.clear();
    PopMenuCopyFromPCtoYCFileName.clear();
    PopMenuCopyFromPCtoYCFileMsg.clear();
    PopMenuCopyFromPCtoYCFileData.clear();
}
