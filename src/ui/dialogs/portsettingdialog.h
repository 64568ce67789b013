// The port settings dialog: the port and its baud rate to choose, data bits, parity and stop bits shown.
#ifndef PORTSETTINGDIALOG_H
#define PORTSETTINGDIALOG_H

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui
{
class PortSettingDialog;
}

class PortSettingDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PortSettingDialog(QWidget* parent = nullptr);
    ~PortSettingDialog() override;

    QString exe_path;
    QString icon_path;
    QString dlgicon_path;
    QStringList portname_list;
    QStringList portnameanddesc_list;
    // Choices as nick, default, then the values.
    QStringList baudrate_list;
    QStringList databit_list;
    QStringList parity_list;
    QStringList stopbit_list;
    // The settings: given in before the dialog runs, taken out after OK.
    QString portname;
    QString baudrate;
    QString databit;
    QString parity;
    QString stopbit;
    QStringList prompt_msg;
    bool PortConnectFlag;              // the link is open: OK asks before it is closed
    bool InformationTransmissionjFlag; // a transfer runs: OK is refused
    bool result_flag;
    std::unique_ptr<Ui::PortSettingDialog> ui;

    // Texts from a list of at least 8 entries (0 title, 1-5 labels, 6 OK, 7 Cancel, 10 on messages)
    // and the choices; false, with nothing set, for a shorter list.
    bool portsettingdlg_ini(QStringList alist);
    QString getcombaudrate(QString portname, QStringList pnadlist, QStringList brlist);

private slots:
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    void on_comboBox_currentIndexChanged(const QString& text);
#else
private:
    void on_comboBox_currentIndexChanged(const QString& text); // connected in the constructor
private slots:
#endif
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
};

#endif // PORTSETTINGDIALOG_H
