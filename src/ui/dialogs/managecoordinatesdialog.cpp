// The point entry dialog. Values are taken as typed; nothing is validated.
#include "dialogs/managecoordinatesdialog.h"
#include "dialogs/dialogtexts.h"

#include "ui_managecoordinatesdialog.h"

ManageCoordinatesDialog::ManageCoordinatesDialog(QWidget* parent)
    : QDialog(parent), managecoordinatesflag(0), result_flag(false), ui(new Ui::ManageCoordinatesDialog)
{
    ui->setupUi(this);
}

ManageCoordinatesDialog::~ManageCoordinatesDialog() = default;

bool ManageCoordinatesDialog::managecoordinatesdlg_ini(QStringList alist)
{
    // The point being edited is shown even without texts, so OK cannot blank the row.
    if (managecoordinatesflag == 1) {
        ui->lineEdit->setText(pointname);
        ui->lineEdit_2->setText(code);
        ui->lineEdit_3->setText(coordinate_n);
        ui->lineEdit_4->setText(coordinate_e);
        ui->lineEdit_5->setText(coordinate_z);
    }
    if (alist.size() < 8)
        return false;
    set_dialog_texts(*this, dlgicon_path, alist, {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5},
                     {ui->pushButton, ui->pushButton_2});
    prompt_msg = alist.mid(10);
    // A caption longer than the form's room moves the fields right and widens the dialog.
    widen_to_captions(*this, {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5},
                      {ui->lineEdit, ui->lineEdit_2, ui->lineEdit_3, ui->lineEdit_4, ui->lineEdit_5, ui->pushButton_2});
    return true;
}

void ManageCoordinatesDialog::on_pushButton_clicked()
{
    pointname = ui->lineEdit->text();
    code = ui->lineEdit_2->text();
    coordinate_n = ui->lineEdit_3->text();
    coordinate_e = ui->lineEdit_4->text();
    coordinate_z = ui->lineEdit_5->text();
    result_flag = true;
    close();
}

void ManageCoordinatesDialog::on_pushButton_2_clicked()
{
    result_flag = false;
    close();
}
