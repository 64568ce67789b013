// The point entry dialog. Values are taken as typed; nothing is validated.
#include "managecoordinatesdialog.h"

#include "ui_managecoordinatesdialog.h"

#include <QIcon>

ManageCoordinatesDialog::ManageCoordinatesDialog(QWidget* parent)
    : QDialog(parent), managecoordinatesflag(0), result_flag(false), ui(new Ui::ManageCoordinatesDialog)
{
    ui->setupUi(this);
}

ManageCoordinatesDialog::~ManageCoordinatesDialog()
{
    delete ui;
}

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
    setWindowTitle(alist[0]);
    setWindowIcon(QIcon(dlgicon_path));
    ui->label->setText(alist[1]);
    ui->label_2->setText(alist[2]);
    ui->label_3->setText(alist[3]);
    ui->label_4->setText(alist[4]);
    ui->label_5->setText(alist[5]);
    ui->pushButton->setText(alist[6]);
    ui->pushButton_2->setText(alist[7]);
    prompt_msg = alist.mid(10);
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
