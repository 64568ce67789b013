// Menu bar and toolbar built from definitions, and the commands their actions reach.
#include "config/prompts.h"
#include "support/app/windowdriver.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QToolBar>

namespace
{

// One menu record: text, icon, status tip, attr, key.
QStringList rec(const QString& text, const QString& attr = QString(), const QString& key = QString(),
                const QString& icon = QString(), const QString& tip = QString())
{
    return {text, icon, tip, attr, key};
}

QStringList flat(const QList<QStringList>& records)
{
    QStringList list;
    for (const QStringList& r : records)
        list << r;
    return list;
}

// "Title[item,Sub[item]]" for every visible menu and action.
QString describe(QMenu* menu)
{
    QStringList parts;
    for (QAction* a : menu->actions()) {
        if (!a->isVisible())
            continue;
        parts << (a->menu() ? describe(a->menu()) : a->text());
    }
    return menu->title() + "[" + parts.join(",") + "]";
}

QString describe(QMenuBar* bar)
{
    QStringList menus;
    for (QAction* a : bar->actions())
        menus << describe(a->menu());
    return menus.join(" ");
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

    WorkDir* dir_ = nullptr;
    std::unique_ptr<MainWindow> w_;

private slots:
    void initTestCase()
    {
        dir_ = new WorkDir;
        dir_->set_language("English");
        w_ = start_window("KT40");
        QVERIFY(w_->exe_success_flag);
    }

    void cleanupTestCase()
    {
        w_.reset();
        delete dir_;
    }

    void init() { modal_script::clear(); }

    void menu_structure_data()
    {
        QTest::addColumn<QStringList>("definition");
        QTest::addColumn<QString>("menus");

        QTest::newRow("one menu") << flat({rec("File", "itembegin"), rec("Open", "", "FileOpen"),
                                           rec("Exit", "itemend", "Exit")})
                                  << "File[Open,Exit]";
        QTest::newRow("records before the first menu appear nowhere")
            << flat({rec("Lost"), rec("File", "itembegin"), rec("Exit", "itemend")}) << "File[Exit]";
        QTest::newRow("a menu without title hides its records until the next menu")
            << flat({rec("", "itembegin"), rec("Hidden"), rec("Gone", "itemend"), rec("Also gone"),
                     rec("Help", "itembegin"), rec("About", "itemend", "About")})
            << "Help[About]";
        QTest::newRow("submenu") << flat({rec("Comm", "itembegin"), rec("Connect"), rec("Ports", "itembegin"),
                                          rec("COM1"), rec("COM2", "itemend"), rec("Disconnect", "itemend"),
                                          rec("Help", "itembegin"), rec("About", "itemend")})
                                 << "Comm[Connect,Ports[COM1,COM2],Disconnect] Help[About]";
        QTest::newRow("a submenu without title puts its items in the enclosing menu")
            << flat({rec("Edit", "itembegin"), rec("New"), rec("", "itembegin"), rec("Inner"), rec("Close", "itemend")})
            << "Edit[New,Inner,Close]";
        QTest::newRow("records after a menu's end join that menu")
            << flat({rec("File", "itembegin"), rec("Exit", "itemend"), rec("Stray"), rec("Help", "itembegin"),
                     rec("About", "itemend")})
            << "File[Exit,Stray] Help[About]";
        QTest::newRow("an item without text is invisible")
            << flat({rec("File", "itembegin"), rec(""), rec("Exit", "itemend")}) << "File[Exit]";
        QTest::newRow("a cut last record is ignored")
            << (flat({rec("File", "itembegin"), rec("Exit", "itemend")}) << "Cut"
                                                                         << ""
                                                                         << "")
            << "File[Exit]";
        QTest::newRow("a menu that never closes keeps each item once")
            << flat({rec("File", "itembegin"), rec("Open"), rec("Save")}) << "File[Open,Save]";
        QTest::newRow("a submenu that never closes keeps each item once")
            << flat({rec("File", "itembegin"), rec("Open"), rec("Recent", "itembegin"), rec("a.txt")})
            << "File[Open,Recent[a.txt]]";
        QTest::newRow("nothing") << QStringList() << "";
    }

    void menu_structure()
    {
        QFETCH(QStringList, definition);
        QFETCH(QString, menus);
        w_->mainmenu_ini(definition);
        QCOMPARE(describe(w_->menuBar()), menus);
    }

    void menu_item_values()
    {
        w_->mainmenu_ini(flat({rec("File", "itembegin"), rec("Exit", "", "Exit", "/exit.png", "Quit"),
                               rec("Bad icon", "itemend", "Help", "exit.png")}));
        QList<QAction*> items = w_->menuBar()->actions().value(0)->menu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->data().toString(), QString("Exit"));
        QCOMPARE(items[0]->statusTip(), QString("Quit"));
        QVERIFY(!items[0]->icon().isNull());
        // The icon value is joined to the icon folder without a separator: ".../iconexit.png".
        QVERIFY(items[1]->icon().isNull());
    }

    void toolbar_records()
    {
        QToolBar* bar = w_->ui->mainToolBar;
        bar->clear();
        const QStringList definition = {
            "Connect", "connect.png", "Open", "", "Connect",     "Sep text", "x.png",    "", "", "",
            "",        "send.png",    "tip",  "", "ReceiveData", "Missing",  "none.png", "", "", "SendData",
            "Cut",     "x.png"};
        w_->toolbar_ini(definition);
        const QList<QAction*> actions = bar->actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions[0]->objectName(), QString("Connect"));
        QCOMPARE(actions[0]->data().toString(), QString("Connect"));
        QVERIFY(actions[0]->isVisible());
        QVERIFY(!actions[0]->icon().isNull());
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[1]->data().toString(), QString());
        QCOMPARE(actions[2]->objectName(), QString("ReceiveData"));
        QVERIFY(!actions[2]->isVisible());
        QVERIFY(actions[3]->icon().isNull());
        QCOMPARE(bar->iconSize(), QSize(20, 26));
        QCOMPARE(bar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);

        // The invisible button is not connected: triggering it runs nothing.
        w_->ZuobiaoLeixing = 5;
        actions[2]->trigger();
        QCOMPARE(w_->ZuobiaoLeixing, 5);

        w_->toolbarbuttonshow(ToolbarGroup::ByConnection, false);
        QVERIFY(!actions[3]->isEnabled());
        QVERIFY(actions[0]->isEnabled());
        w_->toolbarbuttonshow(1, true);
        QVERIFY(!actions[3]->isEnabled());
        w_->toolbarbuttonshow(ToolbarGroup::ByConnection, true);
        QVERIFY(actions[3]->isEnabled());
    }

    void dispatch_from_menu_and_toolbar()
    {
        w_->portname = dir_->file("no-such-port");
        w_->portlist_desc.clear();

        // A menu key in lower case connects by cable; the port does not exist, which is reported.
        QAction connect_item("connect");
        connect_item.setData("connect");
        w_->CommunicationMode = 7;
        w_->menubar_triggered(&connect_item);
        QCOMPARE(w_->CommunicationMode, 0);
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].text, w_->getpopup_prompt(Prompt::PortOpenFailed)
                                                    .arg(w_->portname, modal_script::shown()[0].text.section(": ", 1)));

        // Bluetooth on a port not described as Bluetooth asks first; No leaves everything closed.
        modal_script::clear();
        QAction bluetooth("bt");
        bluetooth.setData("BTCOMConnect");
        w_->menubar_triggered(&bluetooth);
        QCOMPARE(w_->CommunicationMode, 1);
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].text, w_->getpopup_prompt(Prompt::NotBluetoothPort).arg(w_->portname));
        QVERIFY(!w_->serial->isOpen());

        // Keys that do nothing.
        modal_script::clear();
        for (const char* key : {"Help", "space", "manage", "nothing-at-all"}) {
            QAction idle(key);
            idle.setData(key);
            w_->menubar_triggered(&idle);
        }
        QVERIFY(modal_script::shown().isEmpty());

        // The toolbar does not know the file commands.
        QAction open_button("open", w_.get());
        open_button.setData("FileOpen");
        connect(&open_button, &QAction::triggered, w_.get(), &MainWindow::toolbar_triggered);
        open_button.trigger();
        QVERIFY(modal_script::shown().isEmpty());
        // A toolbar button reaches the exit command.
        QAction exit_button("exit", w_.get());
        exit_button.setData("Exit");
        connect(&exit_button, &QAction::triggered, w_.get(), &MainWindow::toolbar_triggered);
        exit_button.trigger();
        QCOMPARE(modal_script::shown().value(0).kind, QString("question"));
        // Called without an action as sender, the toolbar slot does nothing.
        modal_script::clear();
        w_->toolbar_triggered();
        QVERIFY(modal_script::shown().isEmpty());
    }
};

KT_TEST_MAIN(TestMenus)
#include "tst_menus.moc"
