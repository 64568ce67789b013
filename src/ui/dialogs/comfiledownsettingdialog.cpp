// The transfer settings dialog: download asks to confirm format and file name, upload picks a job.
#include "dialogs/comfiledownsettingdialog.h"
#include "dialogs/dialogtexts.h"

#include "data/safefilename.h"
#include "modal/modal.h"
#include "ui_comfiledownsettingdialog.h"

ComFileDownSettingDialog::ComFileDownSettingDialog(QWidget* parent)
    : QDialog(parent), result_flag(false), Comfiletype(0), ui(new Ui::ComFileDownSettingDialog)
{
    ui->setupUi(this);
}

ComFileDownSettingDialog::~ComFileDownSettingDialog() = default;

bool ComFileDownSettingDialog::iniparameterselectdlg_ini(QStringList alist)
{
    if (alist.size() < 15)
        return false;
    set_dialog_texts(*this, dlgicon_path, alist, {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5},
                     {ui->pushButton, ui->pushButton_2});
    ui->lineEdit->setText(FileFrom);
    ui->lineEdit_2->setText(FileTo);
    ui->lineEdit_3->setText(filename);
    ui->lineEdit->setEnabled(false);
    ui->lineEdit_2->setEnabled(false);
    ui->comboBox->addItems(FileName_list);
    ui->comboBox_2->addItems(DataType_list);
    if (Comfiletype == 0) {
        ui->label_4->hide();
        ui->comboBox->hide();
    } else if (Comfiletype == 1) {
        ui->label_3->hide();
        ui->lineEdit_3->hide();
        const int job = ui->comboBox->findText(filename);
        if (job >= 0)
            ui->comboBox->setCurrentIndex(job);
    }
    prompt_msg = alist.mid(10);
    // A caption longer than the form's room moves the fields right and widens the dialog.
    widen_to_captions(*this, {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5},
                      {ui->lineEdit, ui->lineEdit_2, ui->lineEdit_3, ui->comboBox, ui->comboBox_2});
    return true;
}

void ComFileDownSettingDialog::on_pushButton_clicked()
{
    if (Comfiletype == 0) {
        const QString name = ui->lineEdit_3->text();
        // The name becomes part of a path: it must stand as one file name.
        if (!is_safe_file_name(name)) {
            show_warning(this, bad_name_title, bad_name_text.arg(name));
            return;
        }
        DataType = ui->comboBox_2->currentText();
        filename = name;
        if (ask_question(this, prompt_msg.value(0), prompt_msg.value(2).arg(DataType, filename)) == QMessageBox::No)
            return;
    } else if (Comfiletype == 1) {
        filename = ui->comboBox->currentText();
        DataType = ui->comboBox_2->currentText();
    }
    result_flag = true;
    close();
}

void ComFileDownSettingDialog::on_pushButton_2_clicked()
{
    result_flag = false;
    close();
}
