// The instrument type and coordinate format dialog: four type buttons, two format buttons.
#include "dialogs/iniparameterselectdialog.h"
#include "dialogs/dialogtexts.h"

#include "ui_iniparameterselectdialog.h"

#include <QIcon>
#include <QRadioButton>

IniParameterSelectDialog::IniParameterSelectDialog(QWidget* parent)
    : QDialog(parent), result_flag(false), ui(new Ui::IniParameterSelectDialog)
{
    ui->setupUi(this);
    ui->radioButton->setChecked(true);
    ui->radioButton_5->setChecked(true);
    InstrumentTyperesult = "KT20_KT40";
    CoordinateFormatresult = "NEZ";
}

IniParameterSelectDialog::~IniParameterSelectDialog() = default;

bool IniParameterSelectDialog::iniparameterselectdlg_ini(QStringList alist)
{
    if (alist.size() < 5)
        return false;
    setWindowTitle(alist[0]);
    setWindowIcon(QIcon(dlgicon_path));
    ui->groupBox->setTitle(alist[1]);
    ui->groupBox_2->setTitle(alist[2]);
    ui->pushButton->setText(alist[3]);
    ui->pushButton_2->setText(alist[4]);
    const auto buttons = type_buttons();
    for (int k = 0; k < int(buttons.size()); ++k) {
        if (InstrumentType_list.size() > k)
            buttons[k]->setText(InstrumentType_list[k]);
    }
    if (!CoordinateFormat_list.isEmpty())
        ui->radioButton_5->setText(CoordinateFormat_list[0]);
    if (CoordinateFormat_list.size() > 1) {
        ui->radioButton_6->setText(CoordinateFormat_list[1]);
        ui->radioButton_6->hide();
    }
    // A caption longer than the form's room widens the choices, their groups and the dialog.
    QList<QWidget*> captions{ui->groupBox, ui->groupBox_2};
    for (QRadioButton* choice : findChildren<QRadioButton*>())
        captions << choice;
    widen_to_captions(*this, captions, {ui->pushButton_2});
    return true;
}

std::array<QRadioButton*, 4> IniParameterSelectDialog::type_buttons() const
{
    return {ui->radioButton, ui->radioButton_2, ui->radioButton_3, ui->radioButton_4};
}

void IniParameterSelectDialog::choose_type(const QString& type)
{
    const int index = QStringList{"KT20_KT40", "KT85R", "KT40", "KT90"}.indexOf(type);
    type_buttons()[index < 0 ? 0 : index]->click();
    ui->pushButton->click();
}

void IniParameterSelectDialog::on_pushButton_clicked()
{
    result_flag = true;
    close();
}

void IniParameterSelectDialog::on_pushButton_2_clicked()
{
    result_flag = false;
    close();
}

void IniParameterSelectDialog::on_radioButton_clicked()
{
    InstrumentTyperesult = "KT20_KT40";
}

void IniParameterSelectDialog::on_radioButton_2_clicked()
{
    InstrumentTyperesult = "KT85R";
}

void IniParameterSelectDialog::on_radioButton_5_clicked()
{
    CoordinateFormatresult = "NEZ";
}

void IniParameterSelectDialog::on_radioButton_6_clicked()
{
    CoordinateFormatresult = "ENZ";
}

void IniParameterSelectDialog::on_radioButton_3_clicked()
{
    InstrumentTyperesult = "KT40";
}

void IniParameterSelectDialog::on_radioButton_4_clicked()
{
    InstrumentTyperesult = "KT90";
}
