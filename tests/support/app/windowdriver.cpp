// Answering the selection dialog and other modal dialogs of our own.
#include "support/app/windowdriver.h"

#include "dialogs/iniparameterselectdialog.h"
#include "ui_iniparameterselectdialog.h"
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
