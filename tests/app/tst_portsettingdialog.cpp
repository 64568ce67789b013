// The port settings dialog: filling, the baud rate proposed for a port, OK with its guards, and the
// command that runs it from the main window.
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "dialogs/portsettingdialog.h"
#include "support/app/linkedwindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "ui_portsettingdialog.h"

#include <QComboBox>

namespace
{

QStringList numbered_texts(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QString("text %1").arg(i);
    return texts;
}

// Three ports, COM7 a Bluetooth one; COM3 is not in the description list.
void fill(PortSettingDialog& d, int texts = 15)
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
    d.stopbit = "1.5"; // not offered
    d.portsettingdlg_ini(numbered_texts(texts));
}

QString current(PortSettingDialog& d)
{
    QComboBox* const boxes[] = {d.ui->comboBox, d.ui->comboBox_2, d.ui->comboBox_3, d.ui->comboBox_4, d.ui->comboBox_5};
    QStringList texts;
    for (QComboBox* box : boxes)
        texts << box->currentText() + (box->isEnabled() ? "" : "-");
    return texts.join(' ');
}

} // namespace

class TestPortSettingDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void filling_and_proposed_baud_rates()
    {
        PortSettingDialog d;
        fill(d);
        QCOMPARE(d.windowTitle() + d.ui->label_5->text() + d.ui->pushButton_2->text(), QString("text 0text 5text 7"));
        QCOMPARE(d.prompt_msg, numbered_texts(15).mid(10));
        QCOMPARE(d.ui->comboBox_2->count(), 3);
        QCOMPARE(current(d), QString("COM3 1200 8- e- 1-"));
        d.ui->comboBox->setCurrentText("COM7");
        QCOMPARE(d.ui->comboBox_2->currentText(), QString("57600"));
        d.ui->comboBox->setCurrentText("COM3");
        QCOMPARE(d.ui->comboBox_2->currentText(), QString("9600"));

        PortSettingDialog too_short;
        QVERIFY(!too_short.portsettingdlg_ini(numbered_texts(7)));
        QCOMPARE(too_short.ui->comboBox->count(), 0);
    }

    void ok_data()
    {
        QTest::addColumn<int>("texts");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("transfer");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("shown"); // box title and text, "" for none
        QTest::addColumn<bool>("accepted");
        QTest::newRow("closed link") << 15 << false << false << false << "" << true;
        QTest::newRow("too few message texts") << 13 << false << false << false << "" << false;
        QTest::newRow("open link, No") << 15 << true << false << false << "text 10|text 12" << false;
        QTest::newRow("open link, Yes") << 15 << true << false << true << "text 10|text 12" << true;
        QTest::newRow("transfer running") << 15 << true << true << true << "text 11|text 13" << false;
    }

    void ok()
    {
        QFETCH(int, texts);
        QFETCH(bool, connected);
        QFETCH(bool, transfer);
        QFETCH(bool, yes);
        QFETCH(QString, shown);
        QFETCH(bool, accepted);
        PortSettingDialog d;
        d.PortConnectFlag = connected;
        d.InformationTransmissionjFlag = transfer;
        fill(d, texts);
        d.ui->comboBox->setCurrentText("COM7");
        if (yes)
            modal_script::queue_answer(QMessageBox::Yes);
        d.ui->pushButton->click();
        const auto boxes = modal_script::shown();
        QCOMPARE(boxes.isEmpty() ? QString() : boxes[0].title + "|" + boxes[0].text, shown);
        QCOMPARE(d.result_flag, accepted);
        QCOMPARE(QStringList({d.portname, d.baudrate, d.databit, d.parity, d.stopbit}).join(' '),
                 QString(accepted ? "COM7 57600 8 e 1" : "COM3 1200 8 e 1.5"));
        d.ui->pushButton_2->click();
        QVERIFY(!d.result_flag);
    }

    void command_data()
    {
        QTest::addColumn<bool>("transfer");
        QTest::newRow("open link") << false;
        QTest::newRow("transfer running") << true;
    }

    // The dialog offers the ports the system lists now; the pty is not among them.
    void command()
    {
        QFETCH(bool, transfer);
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        if (transfer)
            w.program_receivedata();
        w.portlist_desc.clear();
        for (const QString& name : w.dictionA->getcomname_list())
            w.portlist_desc << name << "described " + name;
        const QString old_port = w.portname;
        QString chosen;
        modal_script::queue_answer(QMessageBox::Yes);
        answer_next_dialog([&chosen](QDialog* dialog) {
            auto* d = qobject_cast<PortSettingDialog*>(dialog);
            d->ui->comboBox_2->setCurrentText("1200");
            chosen = d->ui->comboBox->currentText();
            d->ui->pushButton->click();
            if (d->isVisible()) // OK was refused
                d->ui->pushButton_2->click();
        });
        w.program_portsetiing();
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].kind, QString(transfer ? "information" : "question"));
        QCOMPARE(w.serial->isOpen(), transfer);
        QCOMPARE(w.portname, transfer ? old_port : chosen);
        if (!transfer) {
            QCOMPARE(w.porttype, chosen.isEmpty() ? QString() : "described " + chosen);
            QVERIFY(w.ui->label_3->text().startsWith(chosen + " 1200 "));
            QCOMPARE(link.state(), w.getpopup_prompt(Prompt::NotConnected));
        }
    }
};

KT_TEST_MAIN(TestPortSettingDialog)
#include "tst_portsettingdialog.moc"
