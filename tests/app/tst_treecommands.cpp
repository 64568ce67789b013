// The KT90's trees as a user meets them: captions above both trees, the PC tree opened at the user's
// folder with its kinds and dates in the program's language, Refresh listing ports that came later,
// and Disconnect closing the port a double click opened.
#include "support/app/kt90script.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileSystemModel>
#include <QLocale>
#include <QStandardPaths>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

namespace
{

QAction* toolbar_action(MainWindow& w, const QString& key)
{
    for (QAction* action : w.ui->mainToolBar->actions()) {
        if (action->objectName() == key)
            return action;
    }
    return nullptr;
}

QStringList port_names(MainWindow& w)
{
    QStringList names;
    for (int i = 0; i < w.ui->treeWidget->topLevelItemCount(); ++i)
        names << w.ui->treeWidget->topLevelItem(i)->text(0);
    return names;
}

} // namespace

class TestTreeCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void pc_tree_in_the_program_language_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("english_folder_kind");
        QTest::newRow("Chinese") << "Chinese" << "zh_CN" << false;
        QTest::newRow("English") << "English" << "en_US" << true;
    }

    void pc_tree_in_the_program_language()
    {
        QFETCH(QString, language);
        QFETCH(QString, locale);
        QFETCH(bool, english_folder_kind);
        std::unique_ptr<WorkDir> dir;
        auto w = start_kt90_window(dir, [&](WorkDir& d) { d.set_language(language); });
        QDir().mkpath(dir->file("data/sub"));
        dir->write("data/up.txt", "1,2,3\n");
        QFileSystemModel* model = w->model;
        w->ui->treeView->setRootIndex(model->index(dir->file("data")));
        QTRY_COMPARE(model->rowCount(model->index(dir->file("data"))), 2);
        const QModelIndex sub = model->index(dir->file("data/sub"));
        const QString kind = model->index(sub.row(), 2, sub.parent()).data().toString();
        QCOMPARE(kind == "Folder", english_folder_kind);
        QVERIFY(!kind.isEmpty());
        const QModelIndex file = model->index(dir->file("data/up.txt"));
        QCOMPARE(model->index(file.row(), 3, file.parent()).data().toString(),
                 QLocale(locale).toString(model->lastModified(file), QLocale::ShortFormat));
        QCOMPARE(model->index(file.row(), 1, file.parent()).data().toString(),
                 QLocale(locale).formattedDataSize(6));
        QLocale::setDefault(QLocale::c());
    }

    void captions_and_the_start_folder()
    {
        std::unique_ptr<WorkDir> dir;
        auto w = start_kt90_window(dir);
        QCOMPARE(w->ui->label_5->text(), QString("Instrument: double-click a port to read its jobs"));
        // The PC tree opens at the user's documents folder, or home without one, below the drives.
        const QString start = w->ui->label_6->text();
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY2(start == QDir::cleanPath(documents) || start == QDir::cleanPath(QDir::homePath()), qPrintable(start));
        QVERIFY(QFileInfo(start).isDir());
        QCOMPARE(w->ui->treeView->rootIndex(), w->model->index(""));
        QTRY_VERIFY(w->ui->treeView->isExpanded(w->model->index(start)));
        QVERIFY(!w->ui->treeView->currentIndex().isValid()); // nothing chosen for a copy yet
    }

    void refresh_lists_ports_that_came_later()
    {
        std::unique_ptr<WorkDir> dir;
        auto w = start_kt90_window(dir);
        const QString late = dir->file("late-port");
        QVERIFY(!port_names(*w).contains(late));
        const QByteArray before = qgetenv("KTLINK_EXTRA_PORTS");
        qputenv("KTLINK_EXTRA_PORTS", late.toLocal8Bit());
        w->run_command(Command::RefreshPorts);
        qputenv("KTLINK_EXTRA_PORTS", before);
        QCOMPARE(port_names(*w).value(0), late);
        QCOMPARE(w->ui->label_4->text(), QString("%1 serial ports listed.").arg(w->portlist_desc.size() / 2));
        w->run_command(Command::RefreshPorts);
        QVERIFY(!port_names(*w).contains(late));
    }

    void disconnect_closes_the_port_a_double_click_opened()
    {
        std::unique_ptr<WorkDir> dir;
        auto w = start_kt90_window(dir);
        PtyInstrument pty;
        auto* port = new QTreeWidgetItem(w->ui->treeWidget, {pty.port_name(), "pty"});
        QAction* disconnect = toolbar_action(*w, "Disconnect");
        QVERIFY(disconnect && !disconnect->isEnabled());
        w->doublecheckself(port, 0);
        QVERIFY(w->serial->isOpen());
        QVERIFY(disconnect->isEnabled());
        w->wait_stop();
        disconnect->trigger();
        QVERIFY(!w->serial->isOpen());
        QVERIFY(!disconnect->isEnabled());
        QCOMPARE(w->ui->label_4->text(), QString("Not connected."));
    }
};

KT_TEST_MAIN(TestTreeCommands)
#include "tst_treecommands.moc"
