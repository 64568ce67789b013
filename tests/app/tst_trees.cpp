// The instrument tree and the PC tree without an instrument: removal, the port level, job node texts,
// the context menus and their actions, PC paths, and which drags and drops start a copy.
#include "support/app/kt90script.h"
#include "support/app/windowdriver.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "trees/jobnodes.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFileSystemModel>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>

class TestTrees : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> w_;
    QTreeWidget* tree_ = nullptr;
    QTreeWidgetItem* leaf_ = nullptr;
    bool dialog_shown_ = false;
    QPointer<QTimer> refuse_;

    // Any copy dialog that opens is noted and refused.
    void refuse_dialogs()
    {
        dialog_shown_ = false;
        refuse_ = answer_next_dialog([this](QDialog* dialog) {
            dialog_shown_ = true;
            dialog->reject();
        });
    }

    QString pick_from_menu(const QString& id, std::function<void()> open)
    {
        QStringList captions;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll.stop();
            for (QAction* action : menu->actions()) {
                captions << action->text();
                if (action->data().toString() == id)
                    menu->setActiveAction(action);
            }
            QTest::keyClick(menu, id.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
        poll.start(5);
        open();
        return captions.join('|');
    }

private slots:
    void init()
    {
        w_ = start_kt90_window(dir_);
        tree_ = w_->ui->treeWidget;
        w_->clear_tree();
        w_->KT90_JCLBuf = QStringList{"ROAD,3,12,40", ",4,0,0"};
        auto* port = new QTreeWidgetItem(tree_, {"P1", "first"});
        w_->add_subtree(port);
        leaf_ = port->child(0)->child(0)->child(0);
        tree_->setCurrentItem(leaf_, 0);
        QDir().mkpath(dir_->file("data/sub"));
        dir_->write("data/up.txt", QByteArray(97, 'A') + "\n");
        w_->ui->treeView->setRootIndex(w_->model->index(dir_->file("data/sub")));
    }

    void cleanup()
    {
        delete refuse_.data();
        w_.reset();
        dir_.reset();
    }

    void removal()
    {
        auto* second = new QTreeWidgetItem(tree_, {"P2"});
        w_->add_subtree(second);
        QTreeWidgetItem* port = tree_->topLevelItem(0);
        w_->deltreewidgetsubitem(tree_, port, false);
        QCOMPARE(tree_->topLevelItem(0), port);
        QCOMPARE(port->childCount(), 0);
        w_->deltreewidgetitem(tree_, second->child(0)->child(1)); // the free job with its leaves
        QCOMPARE(second->child(0)->childCount(), 1);
        w_->deltreewidgetitem(tree_, port);
        QCOMPARE(tree_->topLevelItemCount(), 1);
        QCOMPARE(tree_->topLevelItem(0)->text(0), QString("P2"));
        w_->deltreewidgetitem(tree_, nullptr);
        w_->deltreewidgetsubitem(tree_, nullptr, true);
        w_->clear_tree();
        QCOMPARE(tree_->topLevelItemCount(), 0);
    }

    void port_level()
    {
        w_->update_tree({"COM7", "Bluetooth link", "COM8", "USB serial", "COM9"});
        QCOMPARE(tree_->topLevelItemCount(), 2);
        QCOMPARE(tree_->topLevelItem(1)->text(0), QString("COM8"));
        QCOMPARE(tree_->topLevelItem(1)->text(1), QString("USB serial"));
        QVERIFY(w_->judge_tree({"COM7", "COM8"}));
        QVERIFY(!w_->judge_tree({"COM8", "COM7"}));
        QVERIFY(!w_->judge_tree({"COM7"}));
        QVERIFY(!w_->judge_tree({"com7", "COM8"}));
    }

    void job_of_node_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("job"); // valid, number, name

        QTest::newRow("named") << "JobList 3:ROAD" << QStringList{"1", "3", "ROAD"};
        QTest::newRow("free") << "JobList 12:<empty>" << QStringList{"1", "12", "<empty>"};
        QTest::newRow("no second word") << "JobList:ROAD" << QStringList{"1", "", "ROAD"};
        QTest::newRow("two blanks") << "JobList  5:R:x" << QStringList{"1", "5", "R"};
        QTest::newRow("no colon") << "JobList 3" << QStringList{"0", "", ""};
    }

    void job_of_node()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, job);
        const JobOfNode found = ::job_of_node(text);
        QCOMPARE(QStringList({found.valid ? "1" : "0", found.number, found.name}), job);
    }

    void job_nodes_need_ten_captions()
    {
        const QStringList captions{"L", "JobList", "FixPoints", "MeasurementPoints", "", "", "", "", "", "empty"};
        QCOMPARE(job_node_texts({"A,1,2,3"}, captions).size(), 1);
        QVERIFY(job_node_texts({"A,1,2,3"}, captions.mid(0, 9)).isEmpty());
    }

    void menu_actions_data()
    {
        QTest::addColumn<QStringList>("action"); // id, PC tree current index ("file", "folder" or "")
        QTest::addColumn<int>("flags");          // tree1totree2 * 2 + tree2totree1 afterwards
        QTest::addColumn<bool>("source");        // an instrument source is recorded

        QTest::newRow("copy from instrument") << QStringList{"KT90copyfromYCtoPC", ""} << 2 << true;
        QTest::newRow("ids ignore letter case") << QStringList{"kt90COPYFROMyctopc", ""} << 2 << true;
        QTest::newRow("copy a 97-character file") << QStringList{"KT90copyfromPCtoYC", "file"} << 1 << false;
        QTest::newRow("a folder is no upload source") << QStringList{"KT90copyfromPCtoYC", "folder"} << 0 << false;
        QTest::newRow("paste without a source") << QStringList{"KT90copytoYCtoPC", ""} << 2 << false;
        QTest::newRow("upload without a source") << QStringList{"KT90copytoPCtoYC", ""} << 1 << false;
        QTest::newRow("PC to PC does nothing") << QStringList{"KT90copytoPCtoPC", ""} << 3 << false;
        QTest::newRow("unknown id") << QStringList{"other", ""} << 3 << false;
    }

    void menu_actions()
    {
        QFETCH(QStringList, action);
        QFETCH(int, flags);
        QFETCH(bool, source);
        if (!action[1].isEmpty())
            w_->ui->treeView->setCurrentIndex(
                w_->model->index(dir_->file(action[1] == "file" ? "data/up.txt" : "data/sub")));
        w_->tree1totree2_flag = w_->tree2totree1_flag = true;
        refuse_dialogs();
        QAction menu_action;
        menu_action.setData(action[0]);
        w_->tree_popmenu_action(&menu_action);
        QCOMPARE(int(w_->tree1totree2_flag) * 2 + int(w_->tree2totree1_flag), flags);
        QCOMPARE(!w_->PopMenuCopyFromYCtoPC.isEmpty(), source);
        QTest::qWait(20);
        QVERIFY(!dialog_shown_);
    }

    void context_menus()
    {
        // The PC tree's empty area: no index, no path; the chosen entry reaches the copy.
        const QString captions =
            pick_from_menu("KT90copytoYCtoPC", [this] { w_->on_treeView_customContextMenuRequested(QPoint(5, 5)); });
        QCOMPARE(captions, QString("Copy this file (upload to the instrument)|Paste into this folder (download)"));
        QVERIFY(!w_->currentindex.isValid());
        QCOMPARE(w_->ui->label_6->text(), QString());
        QVERIFY(w_->tree1totree2_flag && !w_->tree2totree1_flag);
        // The instrument tree's menu; closed without a choice it changes nothing.
        w_->tree1totree2_flag = false;
        QCOMPARE(pick_from_menu(QString(), [this] { w_->treewidget_popMenu(QPoint()); }),
                 QString("Copy (download from the instrument)|Paste into this job (upload)"));
        QVERIFY(!w_->tree1totree2_flag);
    }

    void pc_paths()
    {
        QCOMPARE(w_->gettreeviewpath(w_->model->index(dir_->file("data/up.txt"))), dir_->file("data"));
        QCOMPARE(w_->gettreeviewpath(w_->model->index(dir_->file("data/sub"))), dir_->file("data/sub"));
        QCOMPARE(w_->gettreeviewpath(QModelIndex()), QString());
        w_->on_treeView_clicked(w_->model->index(dir_->file("data/up.txt")));
        QCOMPARE(w_->ui->label_6->text(), dir_->file("data"));
    }

    void drag_start_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("fixed points") << "FixPoints:12" << true;
        QTest::newRow("measured points, any case") << "measurementpoints:4" << true;
        QTest::newRow("a job node") << "JobList 3:ROAD" << false;
        QTest::newRow("a port") << "COM3" << false;
    }

    void drag_start()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        leaf_->setText(0, text);
        QMimeData mime;
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        w_->drag_enter_from(tree_, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QCOMPARE(w_->tree1totree2_flag, accepted);
        // From outside the window (no source) nothing is accepted.
        QDragEnterEvent external(QPoint(1, 1), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w_.get(), &external);
        QVERIFY(!external.isAccepted());
    }

    void drops_that_start_no_copy()
    {
        QMimeData mime;
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        w_->drag_enter_from(tree_, &enter);
        refuse_dialogs();
        const QWidget* viewport = w_->ui->treeView->viewport();
        const QPoint empty_area = viewport->mapTo(w_.get(), QPoint(5, viewport->height() - 5));
        const QPoint on_instrument_tree = tree_->viewport()->mapTo(w_.get(), QPoint(5, 5));
        for (const QPoint& at : {empty_area, on_instrument_tree}) {
            QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            w_->drop_from(tree_, &drop);
            QVERIFY(w_->tree1totree2_flag); // left early: still armed
        }
        // A paste with no folder chosen (the tree's empty area) would write into the drive's root.
        w_->KT90PopMenuYCtoPC_Copy(leaf_, 0, QModelIndex(), 1);
        QVERIFY(!w_->PopMenuCopyFromYCtoPC.isEmpty());
        QDropEvent foreign(empty_area, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        w_->drop_from(w_->ui->treeView, &foreign);
        QVERIFY(!w_->tree1totree2_flag && !w_->tree2totree1_flag);
        QTest::qWait(20);
        QVERIFY(!dialog_shown_);
    }
};

KT_TEST_MAIN(TestTrees)
#include "tst_trees.moc"
