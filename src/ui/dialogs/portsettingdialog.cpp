// The port settings dialog: filling the choices, the baud rate proposed for a port, OK and Cancel.
#include "dialogs/portsettingdialog.h"
#include "dialogs/dialogtexts.h"

#include "config/dictionaryanalysis.h"
#include "modal/modal.h"
#include "ui_portsettingdialog.h"

namespace
{

// Selects the item showing `text`; a text that is not among the items leaves the current one.
void select_text(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
}

} // namespace

PortSettingDialog::PortSettingDialog(QWidget* parent)
    : QDialog(parent), PortConnectFlag(false), InformationTransmissionjFlag(false), result_flag(false),
      ui(new Ui::PortSettingDialog)
{
    ui->setupUi(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 has no currentIndexChanged(QString) for the slot to be connected to by its name.
    connect(ui->comboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { on_comboBox_currentIndexChanged(ui->comboBox->itemText(index)); });
#endif
}

PortSettingDialog::~PortSettingDialog() = default;

bool PortSettingDialog::portsettingdlg_ini(QStringList alist)
{
    if (alist.size() < 8)
        return false;
    set_dialog_texts(*this, dlgicon_path, alist, {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5},
                     {ui->pushButton, ui->pushButton_2});
    prompt_msg = alist.mid(10);

    if (!portname_list.isEmpty()) {
        ui->comboBox->addItems(portname_list);
        if (portname.isEmpty())
            portname = portname_list.first();
        select_text(ui->comboBox, portname);
    }
    const struct {
        QComboBox* box;
        const QStringList& choices;
        QString& setting;
    } parameters[] = {
        {ui->comboBox_2, baudrate_list, baudrate},
        {ui->comboBox_3, databit_list, databit},
        {ui->comboBox_4, parity_list, parity},
        {ui->comboBox_5, stopbit_list, stopbit},
    };
    for (const auto& p : parameters) {
        if (p.choices.size() <= 2)
            continue;
        p.box->addItems(p.choices.mid(2));
        if (p.setting.isEmpty())
            p.setting = p.choices[1];
        select_text(p.box, p.setting);
    }
    ui->comboBox_3->setEnabled(false);
    ui->comboBox_4->setEnabled(false);
    ui->comboBox_5->setEnabled(false);
    // A caption longer than the form's room moves the choices right and widens the dialog.
    widen_to_captions(*this, {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5},
                      {ui->comboBox, ui->comboBox_2, ui->comboBox_3, ui->comboBox_4, ui->comboBox_5, ui->pushButton_2});
    return true;
}

QString PortSettingDialog::getcombaudrate(QString portname, QStringList pnadlist, QStringList brlist)
{
    return proposed_baudrate(portname, pnadlist, brlist);
}

void PortSettingDialog::on_comboBox_currentIndexChanged(const QString& text)
{
    select_text(ui->comboBox_2, getcombaudrate(text, portnameanddesc_list, baudrate_list));
}

void PortSettingDialog::on_pushButton_clicked()
{
    if (prompt_msg.size() <= 3)
        return;
    if (InformationTransmissionjFlag) {
        show_information(this, prompt_msg[1], prompt_msg[3]);
        return;
    }
    if (PortConnectFlag && ask_question(this, prompt_msg[0], prompt_msg[2]) == QMessageBox::No)
        return;
    portname = ui->comboBox->currentText();
    baudrate = ui->comboBox_2->currentText();
    databit = ui->comboBox_3->currentText();
    parity = ui->comboBox_4->currentText();
    stopbit = ui->comboBox_5->currentText();
    result_flag = true;
    close();
}

void PortSettingDialog::on_pushButton_2_clicked()
{
    result_flag = false;
    close();
}
