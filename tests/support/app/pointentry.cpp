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

namespace
{

void answer_with(const QStringList& point)
{
    answer_next_dialog([point](QDialog* dialog) {
        auto* entry = qobject_cast<ManageCoordinatesDialog*>(dialog);
        if (!entry) {
            dialog->reject();
            return;
        }
        QLineEdit* edits[] = {entry->ui->lineEdit, entry->ui->lineEdit_2, entry->ui->lineEdit_3, entry->ui->lineEdit_4,
                              entry->ui->lineEdit_5};
        for (int i = 0; i < 5; ++i)
            edits[i]->setText(point.value(i));
        entry->ui->pushButton->click();
    });
}

} // namespace

void type_new_point(MainWindow& w, const QStringList& point)
{
    answer_with(point);
    w.program_new();
}

void type_edited_point(MainWindow& w, int row, const QStringList& point)
{
    w.tableWidget->setCurrentCell(row, 0);
    answer_with(point);
    w.program_edit();
}
