// The point entry dialog: point name, code, N, E and Z of one point, typed as text.
#ifndef MANAGECOORDINATESDIALOG_H
#define MANAGECOORDINATESDIALOG_H

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui
{
class ManageCoordinatesDialog;
}

class ManageCoordinatesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ManageCoordinatesDialog(QWidget* parent = nullptr);
    ~ManageCoordinatesDialog() override;

    QString exe_path;
    QString icon_path;
    QString dlgicon_path;
    // The point: given in for editing, taken out after OK.
    QString pointname;
    QString code;
    QString coordinate_n;
    QString coordinate_e;
    QString coordinate_z;
    int managecoordinatesflag; // 0 new point, 1 edit point
    QStringList prompt_msg;
    bool result_flag;
    std::unique_ptr<Ui::ManageCoordinatesDialog> ui;

    // Texts from a list of at least 8 entries: 0 title, 1 to 5 the labels, 6 and 7 the buttons, 10 on
    // messages. In edit mode the line edits show the point.
    bool managecoordinatesdlg_ini(QStringList alist);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
};

#endif // MANAGECOORDINATESDIALOG_H
