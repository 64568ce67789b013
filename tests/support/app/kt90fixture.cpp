// The KT90 window on a pseudo-terminal that the transfer suites share.
#include "support/app/kt90fixture.h"

#include "dialogs/comfiledownsettingdialog.h"
#include "modal/modal.h"
#include "support/app/kt90script.h"
#include "support/app/windowdriver.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "ui_comfiledownsettingdialog.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>

QStringList dump(const QTreeWidgetItem* item, int depth)
{
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i) {
        out << QString(depth * 2, ' ') + item->child(i)->text(0);
        out += dump(item->child(i), depth + 1);
    }
    return out;
}

QTreeWidgetItem* find_node(QTreeWidget* tree, const QString& text)
{
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.first();
}

QPointer<QTimer> answer_settings(SettingsSeen* seen, const QString& format, const QString& name,
                                 std::function<void()> then)
{
    return answer_next_dialog([=](QDialog* dialog) {
        auto* settings = qobject_cast<ComFileDownSettingDialog*>(dialog);
        if (!settings) {
            dialog->reject();
            return;
        }
        seen->from = settings->ui->lineEdit->text();
        seen->to = settings->ui->lineEdit_2->text();
        seen->name = settings->ui->lineEdit_3->text();
        for (int i = 0; i < settings->ui->comboBox->count(); ++i)
            seen->jobs << settings->ui->comboBox->itemText(i);
        if (!format.isEmpty())
            settings->ui->comboBox_2->setCurrentText(format);
        if (!name.isNull())
            settings->ui->lineEdit_3->setText(name);
        if (then)
            then();
        if (settings->Comfiletype == 0)
            modal_script::queue_answer(QMessageBox::Yes);
        settings->ui->pushButton->click();
    });
}

QAction* action(const QString& id)
{
    auto* a = new QAction(qApp);
    a->setData(id);
    return a;
}

Kt90Fixture::Kt90Fixture() = default;
Kt90Fixture::~Kt90Fixture() = default;

void Kt90Fixture::start()
{
    w_ = start_kt90_window(dir_);
    pty_ = std::make_unique<PtyInstrument>();
    port_ = new QTreeWidgetItem(w_->ui->treeWidget, {pty_->port_name(), "pty"});
    w_->ui->treeWidget->setCurrentItem(port_);
    modal_script::clear();
}

void Kt90Fixture::stop()
{
    w_.reset();
    pty_.reset();
    dir_.reset();
}

void Kt90Fixture::list_jobs(const QStringList& jobs, const QStringList& formats)
{
    w_->doublecheckself(port_, 0);
    play(*pty_, listing_exchanges(jobs, formats));
    QTRY_COMPARE(w_->KT90SendType, 0);
}

QTreeWidgetItem* Kt90Fixture::recorded_leaf(QTreeWidgetItem* port, const QString& job_line, const QString& format_line)
{
    w_->KT90_JCLBuf = QStringList{job_line};
    w_->KT90_FCLBuf = QStringList{format_line};
    w_->add_subtree(port);
    QTreeWidgetItem* leaf = port->child(0)->child(0)->child(0);
    w_->KT90PopMenuYCtoPC_Copy(leaf, 0, QModelIndex(), 0);
    return leaf;
}

QString Kt90Fixture::pc_folder(const QString& name)
{
    const QString folder = dir_->file(name);
    QDir().mkpath(folder);
    w_->ui->treeView->setRootIndex(w_->model->index(dir_->path()));
    w_->ui->treeView->expand(w_->model->index(folder));
    return folder;
}

QPoint Kt90Fixture::row_point(const QString& path)
{
    QTreeView* view = w_->ui->treeView;
    QRect rect;
    const bool shown = QTest::qWaitFor([&] {
        rect = view->visualRect(w_->model->index(path));
        return rect.isValid() && rect.height() > 0;
    });
    if (!shown)
        QTest::qFail(qPrintable("no row for " + path), __FILE__, __LINE__);
    return view->viewport()->mapTo(w_.get(), rect.center());
}
