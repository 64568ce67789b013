// The point entry dialog answered with typed texts.
#include "support/app/pointentry.h"

#include "dialogs/managecoordinatesdialog.h"
#include "support/app/windowdriver.h"
#include "ui_managecoordinatesdialog.h"
#include "window/mainwindow.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

void fill_point_dialog(QDialog* dialog, QStringList* shown, const QStringList& typed, bool accept)
{
    auto* entry = qobject_cast<ManageCoordinatesDialog*>(dialog);
    if (!entry) {
        dialog->reject();
        return;
    }
    QLineEdit* edits[] = {entry->ui->lineEdit, entry->ui->lineEdit_2, entry->ui->lineEdit_3, entry->ui->lineEdit_4,
                          entry->ui->lineEdit_5};
    if (shown)
        shown->clear();
    for (int i = 0; i < 5; ++i) {
        if (shown)
            *shown << edits[i]->text();
        if (!typed.isEmpty())
            edits[i]->setText(typed.value(i));
    }
    (accept ? entry->ui->pushButton : entry->ui->pushButton_2)->click();
}

void answer_point_dialog(QStringList* shown, const QStringList& typed, bool accept)
{
    answer_next_dialog([=](QDialog* dialog) { fill_point_dialog(dialog, shown, typed, accept); });
}

void type_new_point(MainWindow& w, const QStringList& point)
{
    answer_point_dialog(nullptr, point, true);
    w.program_new();
}

void type_edited_point(MainWindow& w, int row, const QStringList& point)
{
    w.tableWidget->setCurrentCell(row, 0);
    answer_point_dialog(nullptr, point, true);
    w.program_edit();
}
