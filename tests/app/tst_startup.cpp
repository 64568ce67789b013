// Start-up as a user sees it: the panels, columns, title, menus, toolbar and status line of each
// instrument type, in both languages, and the ways start-up is abandoned.
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "support/app/windowdriver.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"
#include "window/entry.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>

namespace
{

QStringList menu_titles(MainWindow& w)
{
    QStringList titles;
    for (QAction* a : w.menuBar()->actions())
        titles << a->text();
    return titles;
}

QStringList toolbar_keys(MainWindow& w, bool enabled)
{
    QStringList keys;
    for (QAction* a : w.ui->mainToolBar->actions()) {
        if (!a->isSeparator() && a->isVisible() && a->isEnabled() == enabled)
            keys << a->objectName();
    }
    return keys;
}

QStringList header_captions(QTableWidget* table)
{
    QStringList captions;
    for (int c = 0; c < table->columnCount(); ++c)
        captions << table->horizontalHeaderItem(c)->text();
    return captions;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void types_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("table_shown");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("baudrate");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QStringList>("enabled_buttons");
        QTest::addColumn<QStringList>("disabled_buttons");

        const QStringList dependent = {"Disconnect", "ReceiveData", "MeasuredData", "SendData"};
        const QStringList dependent_kt40 = {"Disconnect", "ReceiveData", "SendData"};
        const QStringList free = {"Connect",          "BTCOMConnect", "ImportPoints", "PlanView",
                                  "CoordinateSystem", "PortSetting",  "Exit"};
        const QStringList free_observation = {
            "Connect",      "BTCOMConnect", "CheckMeasuredData", "RecomputeMeasuredData",
            "ImportPoints", "PlanView",     "CoordinateSystem",  "PortSetting",
            "Exit"};
        QTest::newRow("KT20_KT40 Chinese")
            << "Chinese"
            << "KT20_KT40" << true << 15 << "1200" << QStringList{"文件", "编辑", "视图", "测量计算", "通讯", "帮助"}
            << free_observation << dependent;
        QTest::newRow("KT85R Chinese") << "Chinese"
                                       << "KT85R" << true << 15 << "1200"
                                       << QStringList{"文件", "编辑", "视图", "测量计算", "通讯", "帮助"}
                                       << free_observation << dependent;
        QTest::newRow("KT40 Chinese") << "Chinese"
                                      << "KT40" << true << 5 << "9600"
                                      << QStringList{"文件", "编辑", "视图", "通讯", "帮助"} << free << dependent_kt40;
        QTest::newRow("KT90 Chinese") << "Chinese"
                                      << "KT90" << false << 0 << "19200" << QStringList{"文件", "通讯", "帮助"}
                                      << QStringList{"RefreshPorts", "PortSetting", "Exit"}
                                      << QStringList{"Disconnect"};
        QTest::newRow("KT20_KT40 English")
            << "English"
            << "KT20_KT40" << true << 15 << "1200"
            << QStringList{"File", "Edit", "View", "Survey", "Communication", "Help"} << free_observation << dependent;
        QTest::newRow("KT40 English") << "English"
                                      << "KT40" << true << 5 << "9600"
                                      << QStringList{"File", "Edit", "View", "Communication", "Help"} << free
                                      << dependent_kt40;
        QTest::newRow("KT90 English") << "English"
                                      << "KT90" << false << 0 << "19200" << QStringList{"File", "Communication", "Help"}
                                      << QStringList{"RefreshPorts", "PortSetting", "Exit"}
                                      << QStringList{"Disconnect"};
    }

    void types()
    {
        QFETCH(QString, language);
        QFETCH(QString, type);
        QFETCH(bool, table_shown);
        QFETCH(int, columns);
        QFETCH(QString, baudrate);
        QFETCH(QStringList, menus);
        QFETCH(QStringList, enabled_buttons);
        QFETCH(QStringList, disabled_buttons);

        WorkDir dir;
        dir.set_language(language);
        auto w = start_window(type);
        QVERIFY(w->exe_success_flag);
        QCOMPARE(w->language, language);
        QCOMPARE(w->InstrumentType, type);
        QCOMPARE(w->CoordinateFormat, QString("NEZ"));
        QCOMPARE(w->exe_path, dir.path());
        QCOMPARE(w->icon_path, dir.path() + "/icon");
        QCOMPARE(w->windowTitle(), w->get_parametretitle("WindowTitle").value(0));
        QVERIFY(!w->windowTitle().isEmpty());
        QVERIFY(!w->windowIcon().isNull());

        Ui::MainWindow* ui = w->ui.get();
        QCOMPARE(!w->tableWidget->isHidden(), table_shown);
        QCOMPARE(!ui->treeWidget->isHidden(), !table_shown);
        QCOMPARE(!ui->treeView->isHidden(), !table_shown);
        QCOMPARE(!ui->label_5->isHidden(), !table_shown);
        QCOMPARE(!ui->lineEdit->isHidden(), table_shown);
        QCOMPARE(!ui->lineEdit_2->isHidden(), table_shown);
        QVERIFY(!ui->label_3->isHidden());
        QVERIFY(!ui->label_4->isHidden());
        for (QWidget* hidden : {static_cast<QWidget*>(ui->pushButton), static_cast<QWidget*>(ui->textEdit),
                                static_cast<QWidget*>(ui->textEdit_2)})
            QVERIFY(hidden->isHidden());
        QCOMPARE(ui->treeWidget->objectName(), QString("treewidget2_pc"));

        if (table_shown) {
            const QStringList header = w->get_parametretitle(columns == 15 ? "PointTableWidgetHeadTitleKT20KT40"
                                                                           : "PointTableWidgetHeadTitle");
            QCOMPARE(w->tableWidget->columnCount(), columns);
            QStringList captions;
            for (int i = 0; i < columns; ++i) {
                captions << header[2 * i + 1];
                QCOMPARE(w->tableWidget->columnWidth(i), header[2 * i].toInt());
            }
            QCOMPARE(header_captions(w->tableWidget), captions);
            QCOMPARE(ui->label->text(), w->get_parametretitle("UIKT95Message").value(0));
        } else {
            QCOMPARE(w->tree1id, QString("treeView"));
            QCOMPARE(w->tree2id, QString("treewidget2_pc"));
            QCOMPARE(ui->treeView->model(), static_cast<QAbstractItemModel*>(w->model));
        }

        QCOMPARE(menu_titles(*w), menus);
        QCOMPARE(toolbar_keys(*w, true), enabled_buttons);
        QCOMPARE(toolbar_keys(*w, false), disabled_buttons);
        // Menu items of the connection-dependent keys stay enabled; Undo and Redo wait for a change.
        for (QAction* top : w->menuBar()->actions())
            for (QAction* item : top->menu()->actions()) {
                const Command command = command_for_key(item->data().toString(), CommandSource::Menu);
                QCOMPARE(item->isEnabled(), command != Command::Undo && command != Command::Redo);
            }

        // The status line shows the baud rate the first connect opens at: the type's.
        const QString summary = QString("%1 %2 8 n 1,%3").arg(w->portname, baudrate, type);
        QCOMPARE(ui->label_3->text(), type == "KT90" ? summary : summary + ",NEZ");
        QCOMPARE(ui->label_4->text(), w->getpopup_prompt(Prompt::NotConnected));
        QCOMPARE(w->baudrate, baudrate);
        QCOMPARE(w->CoordinateType.value("STN"), w->get_parametretitle("CoordinateType").value(1));
        QVERIFY(modal_script::shown().isEmpty());
    }

    void rows_kept_or_emptied_by_panels()
    {
        WorkDir dir;
        auto w = start_window("KT20_KT40");
        w->tableWidget->setRowCount(3);
        w->UI_ini("KT20_KT40");
        QCOMPARE(w->tableWidget->rowCount(), 3);
        w->UI_ini("KT40");
        QCOMPARE(w->tableWidget->rowCount(), 0);
        QCOMPARE(w->tableWidget->columnCount(), 5);
    }

    void header_widths_that_are_no_widths()
    {
        WorkDir dir;
        dir.set_language("English");
        dir.replace("config/parameter.xml", "<item Type=\"140\" Data=\"Point name\"/>",
                    "<item Type=\"0\" Data=\"Point name\"/>");
        dir.replace("config/parameter.xml", "<item Type=\"120\" Data=\"Code\"/>",
                    "<item Type=\"wide\" Data=\"Code\"/>");
        dir.replace("config/parameter.xml", "<item Type=\"160\" Data=\"N\"/>", "<item Data=\"N\"/>");
        auto w = start_window("KT40");
        const int standard = w->tableWidget->horizontalHeader()->defaultSectionSize();
        QCOMPARE(header_captions(w->tableWidget), (QStringList{"Point name", "Code", "N", "E", "Z"}));
        QCOMPARE(w->tableWidget->columnWidth(0), standard);
        QCOMPARE(w->tableWidget->columnWidth(1), standard);
        QCOMPARE(w->tableWidget->columnWidth(2), standard);
        QCOMPARE(w->tableWidget->columnWidth(3), 160);
    }

    void missing_title_and_repeated_kinds()
    {
        WorkDir dir;
        dir.set_language("English");
        dir.replace("config/parameter.xml", "<item Data=\"ktlink Total Station Data Link\"/>", "");
        dir.replace("config/parameter.xml", "<item Type=\"MP\" Data=\"Measured point\"/>",
                    "<item Type=\"MP\" Data=\"Measured point\"/><item Type=\"STN\" Data=\"Setup\"/>");
        auto w = start_window("KT40");
        QVERIFY(w->exe_success_flag);
        QCOMPARE(w->windowTitle(), QString("WindowTitle Error"));
        QVERIFY(w->windowIcon().isNull());
        QCOMPARE(w->CoordinateType.value("STN"), QString("Setup"));
        QCOMPARE(w->CoordinateType.size(), 3);
    }

    void english_language_chooses_the_english_dictionary_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("nick");
        QTest::newRow("Chinese") << "Chinese"
                                 << "波特率";
        QTest::newRow("word inside a longer name, other case") << "MyENGLISHtexts"
                                                               << "baud rate";
    }

    void english_language_chooses_the_english_dictionary()
    {
        QFETCH(QString, language);
        QFETCH(QString, nick);
        WorkDir dir;
        dir.set_language(language);
        dir.replace("config/parameter.xml", "<English>", "<" + language + "_>");
        dir.replace("config/parameter.xml", "</English>", "</" + language + "_>");
        dir.set_language(language == "Chinese" ? language : language + "_");
        auto w = start_window("KT40");
        QVERIFY(w->exe_success_flag);
        QCOMPARE(w->dictionA->getuartpara("baudrate", 1).value(0), nick);
    }

    void missing_language_takes_the_first_section()
    {
        WorkDir dir;
        dir.write("config/config.xml", "<CONFIG><other>1</other></CONFIG>");
        auto w = start_window("KT40");
        QVERIFY(w->exe_success_flag);
        QCOMPARE(w->language, QString());
        QCOMPARE(w->getpopup_prompt(Prompt::NotConnected), QString("串口未连接。"));
    }

    void qt_texts_in_the_chosen_language_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("pc_tree_captions");
        // Chinese before English: the English start removes the Chinese texts again.
        QTest::newRow("Chinese") << "Chinese" << QStringList{"是(&Y)", "否(&N)", "取消"}
                                 << QStringList{"名称", "体积", "类型", "修改日期"};
        QTest::newRow("English") << "English" << QStringList{"&Yes", "&No", "Cancel"}
                                 << QStringList{"Name", "Size", "Type", "Date Modified"};
    }

    void qt_texts_in_the_chosen_language()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, pc_tree_captions);
        WorkDir dir;
        dir.set_language(language);
        auto w = start_window("KT90");
        QVERIFY(w->exe_success_flag);
        QMessageBox question(QMessageBox::Question, "title", "text",
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, w.get());
        QStringList texts;
        for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            texts << question.button(b)->text();
        QCOMPARE(texts, buttons);
        QStringList captions;
        for (int c = 0; c < 4; ++c)
            captions << w->ui->treeView->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(captions, pc_tree_captions);
    }

    void exit_command()
    {
        WorkDir dir;
        auto w = start_window("KT40");
        w->program_exit();
        QCOMPARE(modal_script::ended_status(), -1); // unanswered question: No
        const modal_script::Shown asked = modal_script::shown().value(0);
        QCOMPARE(asked.kind, QString("question"));
        QCOMPARE(asked.title, w->getpopup_prompt(Prompt::ProgramName));
        QCOMPARE(asked.text, w->getpopup_prompt(Prompt::ReallyDo).arg(w->getpopup_prompt(Prompt::QuitTheProgram)));
        modal_script::queue_answer(QMessageBox::Yes);
        w->program_exit();
        QCOMPARE(modal_script::ended_status(), 0);
        modal_script::clear();
        modal_script::queue_answer(QMessageBox::Escape);
        w->program_exit();
        QCOMPARE(modal_script::ended_status(), 0);
    }

    void entry_point_status_data()
    {
        QTest::addColumn<bool>("with_runtime");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("status");
        QTest::newRow("no UI texts") << false << "KT40" << 1;
        QTest::newRow("selection cancelled") << true << "" << 0;
        QTest::newRow("accepted, window closed") << true << "KT40" << 0;
    }

    void entry_point_status()
    {
        QFETCH(bool, with_runtime);
        QFETCH(QString, type);
        QFETCH(int, status);
        WorkDir dir(with_runtime);
        QTextCodec* const system_codec = QTextCodec::codecForLocale();
        bool answered = false;
        QPointer<QTimer> poll = answer_next_dialog([&](QDialog* dialog) {
            answered = true;
            if (type.isEmpty()) {
                dialog->findChild<QPushButton*>("pushButton_2")->click();
                return;
            }
            dialog->findChild<QPushButton*>("pushButton")->click();
            // Close the main window once the event loop runs.
            QTimer::singleShot(0, [] {
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (qobject_cast<MainWindow*>(top))
                        top->close();
            });
        });
        QCOMPARE(run_ktlink(*qApp), status);
        QCOMPARE(answered, with_runtime);
        delete poll.data();
        // File names stay in the system's codec: never converted through GBK.
        QCOMPARE(QTextCodec::codecForLocale(), system_codec);
    }
};

KT_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
