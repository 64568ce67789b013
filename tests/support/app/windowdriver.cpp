// Answering the selection dialog and other modal dialogs of our own.
#include "support/app/windowdriver.h"

#include "dialogs/comfiledownsettingdialog.h"
#include "dialogs/iniparameterselectdialog.h"
#include "dialogs/inputmsg_dangedialog.h"
#include "ui_comfiledownsettingdialog.h"
#include "ui_iniparameterselectdialog.h"
#include "ui_inputmsg_dangedialog.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

QPointer<QTimer> answer_next_dialog(std::function<void(QDialog*)> answer)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(dialog);
    });
    poll->start();
    return poll;
}

QPointer<QTimer> answer_name_prompt(const QString& name)
{
    return answer_next_dialog([name](QDialog* dialog) {
        auto* prompt = qobject_cast<inputmsg_dangeDialog*>(dialog);
        if (!prompt || name.isNull()) {
            dialog->reject();
            return;
        }
        prompt->ui->lineEdit->setText(name);
        prompt->ui->pushButton->click();
    });
}

QPointer<QTimer> answer_upload_dialogs(const QString& job)
{
    return answer_next_dialog([job](QDialog* dialog) {
        answer_name_prompt(job);
        qobject_cast<ComFileDownSettingDialog*>(dialog)->ui->pushButton->click();
    });
}

std::unique_ptr<MainWindow> start_window(const QString& type)
{
    QPointer<QTimer> poll = answer_next_dialog([type](QDialog* dialog) {
        auto* select = qobject_cast<IniParameterSelectDialog*>(dialog);
        if (!select) {
            dialog->reject();
            return;
        }
        if (type.isEmpty()) {
            select->ui->pushButton_2->click();
            return;
        }
        select->choose_type(type);
    });
    auto window = std::make_unique<MainWindow>();
    delete poll.data(); // start-up ended before the dialog was shown
    return window;
}
