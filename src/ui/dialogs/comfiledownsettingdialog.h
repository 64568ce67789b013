// The transfer settings dialog of a job copy: source and target, the file name (download) or the job
// (upload), and the data format.
#ifndef COMFILEDOWNSETTINGDIALOG_H
#define COMFILEDOWNSETTINGDIALOG_H

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui
{
class ComFileDownSettingDialog;
}

class ComFileDownSettingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ComFileDownSettingDialog(QWidget* parent = nullptr);
    ~ComFileDownSettingDialog() override;

    QString exe_path;
    QString icon_path;
    QString dlgicon_path;
    QStringList FileName_list; // the jobs to choose from (upload)
    QStringList DataType_list; // the data formats to choose from
    QString FileFrom;
    QString FileTo;
    QString filename; // file name (download) or chosen job text (upload); in and out
    QString DataType; // chosen data format; out
    QStringList prompt_msg;
    bool result_flag;
    int Comfiletype; // 0 download layout, 1 upload layout
    // Told when a typed file name cannot be used (title, and text with %1 for the name).
    QString bad_name_title;
    QString bad_name_text;
    std::unique_ptr<Ui::ComFileDownSettingDialog> ui;

    // Texts from a list of at least 15 entries: 0 title, 1..5 captions, 6 and 7 the buttons, 10 on
    // messages. False, and nothing set, with fewer.
    bool iniparameterselectdlg_ini(QStringList alist);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
};

#endif // COMFILEDOWNSETTINGDIALOG_H
