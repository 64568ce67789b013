// A one-line text prompt: a caption, a line edit, OK and Cancel.
#ifndef INPUTMSG_DANGEDIALOG_H
#define INPUTMSG_DANGEDIALOG_H

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui
{
class inputmsg_dangeDialog;
}

class inputmsg_dangeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit inputmsg_dangeDialog(QWidget* parent = nullptr);
    ~inputmsg_dangeDialog() override;

    QString exe_path;
    QString icon_path;
    QString dlgicon_path;
    QString filename; // the text: given in, taken out after OK
    QStringList prompt_msg;
    bool result_flag;
    int type;
    std::unique_ptr<Ui::inputmsg_dangeDialog> ui;

    // Texts from a list of at least 15 entries: 0 title, 1 caption, 8 and 9 the buttons, 10 on messages.
    bool inputmsg_dangedlg_ini(QStringList alist);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
};

#endif // INPUTMSG_DANGEDIALOG_H
