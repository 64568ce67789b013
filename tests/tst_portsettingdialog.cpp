// The port settings dialog: filling, the baud rate proposed for a port, OK with its guards, Cancel,
// and the command that runs it from the main window.
#include "dictionaryanalysis.h"
#include "ktest.h"
#include "linkedwindow.h"
#include "portsettingdialog.h"
#include "ui_mainwindow.h"
#include "ui_portsettingdialog.h"
#include "windowdriver.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace
{

QStringList items(QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList dialog_texts(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QString("text %1").arg(i);
    return texts;
}

// A dialog as the main window fills it, on three ports of which one is a Bluetooth port.
void prepare(PortSettingDialog& d)
{
    d.portname_list = QStringList{"COM1", "COM3", "COM7"};
    d.portnameanddesc_list = QStringList{"COM1", "USB serial", "COM7", "Standard Serial over Bluetooth link"};
    d.baudrate_list = QStringList{"Baud", "9600", "1200", "9600", "57600"};
    d.databit_list = QStringList{"Data", "8", "7", "8"};
    d.parity_list = QStringList{"Parity", "n", "n", "o", "e"};
    d.stopbit_list = QStringList{"Stop", "1", "1", "2"};
    d.portname = "COM3";
    d.baudrate = "1200";
    d.databit = "";
    d.parity = "e";
    d.stopbit = "1.5";
}

} // namespace

class TestPortSettingDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void filling()
    {
        PortSettingDialog d;
        prepare(d);
        QVERIFY(d.portsettingdlg_ini(dialog_texts(15)));
        QCOMPARE(d.windowTitle(), QString("text 0"));
        QCOMPARE(d.ui->label_5->text(), QString("text 5"));
        QCOMPARE(d.ui->pushButton->text(), QString("text 6"));
        QCOMPARE(d.ui->pushButton_2->text(), QString("text 7"));
        QCOMPARE(d.prompt_msg, dialog_texts(15).mid(10));
        QCOMPARE(items(d.ui->comboBox), d.portname_list);
        QCOMPARE(items(d.ui->comboBox_2), (QStringList{"1200", "9600", "57600"}));
        QCOMPARE(items(d.ui->comboBox_4), (QStringList{"n", "o", "e"}));
        // The current items: the settings, the default for an empty one, the first item for one that
        // is not offered; the baud rate is not moved by the port chosen while filling.
        const QStringList current = {d.ui->comboBox->currentText(), d.ui->comboBox_2->currentText(),
                                     d.ui->comboBox_3->currentText(), d.ui->comboBox_4->currentText(),
                                     d.ui->comboBox_5->currentText()};
        QCOMPARE(current, (QStringList{"COM3", "1200", "8", "e", "1"}));
        QCOMPARE(d.databit, QString("8"));
        QVERIFY(d.ui->comboBox_2->isEnabled());
        QVERIFY(!d.ui->comboBox_3->isEnabled() && !d.ui->comboBox_4->isEnabled() && !d.ui->comboBox_5->isEnabled());
        QCOMPARE(d.size(), QSize(340, 281));
    }

    void too_few_texts_set_nothing()
    {
        PortSettingDialog d;
        prepare(d);
        QVERIFY(!d.portsettingdlg_ini(dialog_texts(7)));
        QCOMPARE(d.ui->comboBox->count(), 0);
        QVERIFY(d.windowTitle() != "text 0");
    }

    void port_choice_proposes_a_baud_rate_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("baud");
        QTest::newRow("Bluetooth port") << "COM7"
                                        << "57600";
        QTest::newRow("plain port") << "COM1"
                                    << "9600";
        QTest::newRow("port without a description") << "COM3"
                                                    << "9600";
    }

    void port_choice_proposes_a_baud_rate()
    {
        QFETCH(QString, port);
        QFETCH(QString, baud);
        PortSettingDialog d;
        prepare(d);
        d.portname = "COM1";
        d.baudrate = "1200";
        d.portsettingdlg_ini(dialog_texts(15));
        d.ui->comboBox->setCurrentText(port == "COM1" ? "COM3" : "COM1");
        d.ui->comboBox_2->setCurrentText("1200");
        d.ui->comboBox->setCurrentText(port);
        QCOMPARE(d.ui->comboBox_2->currentText(), baud);
    }

    void ok_data()
    {
        QTest::addColumn<int>("texts");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("transfer");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown"); // kind of box, "" for none
        QTest::addColumn<bool>("accepted");
        QTest::newRow("closed link") << 15 << false << false << 0 << "" << true;
        QTest::newRow("too few message texts") << 13 << false << false << 0 << "" << false;
        QTest::newRow("open link, No") << 15 << true << false << 0 << "question" << false;
        QTest::newRow("open link, Yes") << 15 << true << false << int(QMessageBox::Yes) << "question" << true;
        QTest::newRow("transfer running") << 15 << true << true << int(QMessageBox::Yes) << "information" << false;
    }

    void ok()
    {
        QFETCH(int, texts);
        QFETCH(bool, connected);
        QFETCH(bool, transfer);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        QFETCH(bool, accepted);
        PortSettingDialog d;
        prepare(d);
        d.PortConnectFlag = connected;
        d.InformationTransmissionjFlag = transfer;
        d.portsettingdlg_ini(dialog_texts(texts));
        d.ui->comboBox->setCurrentText("COM7");
        if (answer)
            modal_script::queue_answer(QMessageBox::StandardButton(answer));
        d.ui->pushButton->click();

        const auto boxes = modal_script::shown();
        QCOMPARE(boxes.size(), shown.isEmpty() ? 0 : 1);
        if (shown == "question")
            QCOMPARE(boxes[0].title + "|" + boxes[0].text, QString("text 10|text 12"));
        if (shown == "information")
            QCOMPARE(boxes[0].title + "|" + boxes[0].text, QString("text 11|text 13"));
        QCOMPARE(d.result_flag, accepted);
        const QStringList settings = {d.portname, d.baudrate, d.databit, d.parity, d.stopbit};
        const QStringList expected =
            accepted ? QStringList{"COM7", "57600", "8", "e", "1"} : QStringList{"COM3", "1200", "8", "e", "1.5"};
        QCOMPARE(settings, expected);
    }

    void cancel()
    {
        PortSettingDialog d;
        prepare(d);
        d.portsettingdlg_ini(dialog_texts(15));
        d.result_flag = true;
        d.ui->pushButton_2->click();
        QVERIFY(!d.result_flag);
    }

    // From the main window: an open link is closed after asking, the settings apply, the status line shows them.
    void command_from_the_main_window()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        // The dialog offers the ports the system lists now; the pty is not among them.
        w.portlist_desc.clear();
        for (const QString& name : w.dictionA->getcomname_list())
            w.portlist_desc << name << "described " + name;
        QString chosen;
        modal_script::queue_answer(QMessageBox::Yes);
        answer_next_dialog([&chosen](QDialog* dialog) {
            auto* d = qobject_cast<PortSettingDialog*>(dialog);
            d->ui->comboBox_2->setCurrentText("1200");
            chosen = d->ui->comboBox->currentText();
            d->ui->pushButton->click();
        });
        w.program_portsetiing();
        QCOMPARE(modal_script::shown().size(), 1);
        QVERIFY(!w.serial->isOpen());
        QCOMPARE(w.portname, chosen);
        QCOMPARE(w.baudrate, QString("1200"));
        QCOMPARE(w.porttype, chosen.isEmpty() ? QString() : "described " + chosen);
        QVERIFY(w.ui->label_3->text().startsWith(w.portname + " 1200 "));
        QCOMPARE(link.state(), w.getpopup_prompt(16));
    }

    void command_during_a_transfer_changes_nothing()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.program_receivedata();
        const QString baud = w.baudrate;
        answer_next_dialog([](QDialog* dialog) {
            auto* d = qobject_cast<PortSettingDialog*>(dialog);
            d->ui->comboBox_2->setCurrentText("1200");
            d->ui->pushButton->click();
            d->ui->pushButton_2->click();
        });
        w.program_portsetiing();
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].kind, QString("information"));
        QVERIFY(w.serial->isOpen());
        QVERIFY(w.InformationTransmissionjFlag);
        QCOMPARE(w.baudrate, baud);
    }
};

KT_TEST_MAIN(TestPortSettingDialog)
#include "tst_portsettingdialog.moc"
