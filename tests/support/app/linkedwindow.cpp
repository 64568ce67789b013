// Windows on a pty.
#include "support/app/linkedwindow.h"

#include "support/app/windowdriver.h"
#include "ui_mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

LinkedWindow::LinkedWindow(const QString& type, bool connect)
{
    dir.set_language("English");
    w = start_window(type);
    w->portname = pty.port_name();
    w->portlist_desc = QStringList{pty.port_name(), "pseudo-terminal"};
    if (connect)
        w->program_commconnect();
}

QString LinkedWindow::row(int r) const
{
    QStringList texts;
    for (int c = 0; c < w->tableWidget->columnCount(); ++c) {
        const QTableWidgetItem* item = w->tableWidget->item(r, c);
        texts << (item ? item->text() : "<none>");
    }
    return texts.join('|');
}

QString LinkedWindow::state() const
{
    return w->ui->label_4->text();
}

QString LinkedWindow::progress() const
{
    return w->ui->lineEdit_2->text();
}
