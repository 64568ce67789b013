// The start-up choice of instrument type and coordinate format.
#ifndef INIPARAMETERSELECTDIALOG_H
#define INIPARAMETERSELECTDIALOG_H

#include <QDialog>
#include <QStringList>
#include <array>

#include <memory>

class QRadioButton;

namespace Ui
{
class IniParameterSelectDialog;
}

class IniParameterSelectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit IniParameterSelectDialog(QWidget* parent = nullptr);
    ~IniParameterSelectDialog() override;

    QString exe_path;
    QString icon_path;
    QString dlgicon_path;
    QStringList InstrumentType_list;
    QStringList CoordinateFormat_list;
    QString InstrumentTyperesult;
    QString CoordinateFormatresult;
    bool result_flag;
    std::unique_ptr<Ui::IniParameterSelectDialog> ui;

    // Captions from the list: title, type group, format group, accept, cancel. False with fewer than 5.
    bool iniparameterselectdlg_ini(QStringList alist);
    // Chooses an instrument type ("KT20_KT40", "KT85R", "KT40", "KT90"; another: the first) and OK,
    // by clicking the buttons as a user does: scripted start-ups answer the dialog with it.
    void choose_type(const QString& type);

private:
    // The type buttons in the order of the types.
    std::array<QRadioButton*, 4> type_buttons() const;

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_radioButton_clicked();
    void on_radioButton_2_clicked();
    void on_radioButton_5_clicked();
    void on_radioButton_6_clicked();
    void on_radioButton_3_clicked();
    void on_radioButton_4_clicked();
};

#endif // INIPARAMETERSELECTDIALOG_H
