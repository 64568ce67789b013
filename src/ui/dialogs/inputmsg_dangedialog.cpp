// The one-line text prompt used for workbook and job names.
#include "dialogs/inputmsg_dangedialog.h"

#include "ui_inputmsg_dangedialog.h"

#include <QIcon>

inputmsg_dangeDialog::inputmsg_dangeDialog(QWidget* parent)
    : QDialog(parent), result_flag(false), type(0), ui(new Ui::inputmsg_dangeDialog)
{
    ui->setupUi(this);
}

inputmsg_dangeDialog::~inputmsg_dangeDialog() = default;

bool inputmsg_dangeDialog::inputmsg_dangedlg_ini(QStringList alist)
{
    if (alist.size() < 15)
        return false;
    setWindowTitle(alist[0]);
    setWindowIcon(QIcon(dlgicon_path));
    if (type == 0) {
        ui->label->setText(alist[1]);
        ui->lineEdit->setText(filename);
        ui->pushButton->setText(alist[8]);
        ui->pushButton_2->setText(alist[9]);
    }
    prompt_msg = alist.mid(10);
    return true;
}

void inputmsg_dangeDialog::on_pushButton_clicked()
{
    if (type == 0)
        filename = ui->lineEdit->text();
    result_flag = true;
    close();
}

void inputmsg_dangeDialog::on_pushButton_2_clicked()
{
    result_flag = false;
    close();
}
