// The instrument type and coordinate format dialog: captions, choices and the accept flag.
#include "dialogs/iniparameterselectdialog.h"
#include "support/ui/ktest.h"
#include "ui_iniparameterselectdialog.h"

class TestSelectDialog : public QObject
{
    Q_OBJECT

private slots:
    void form_and_defaults()
    {
        IniParameterSelectDialog d;
        QCOMPARE(d.size(), QSize(299, 322));
        QCOMPARE(d.ui->radioButton_3->geometry(), QRect(31, 80, 201, 16));
        QCOMPARE(d.ui->groupBox_2->geometry(), QRect(20, 190, 261, 81));
        QCOMPARE(d.ui->pushButton_2->geometry(), QRect(180, 280, 101, 31));
        QVERIFY(d.ui->radioButton->isChecked());
        QVERIFY(d.ui->radioButton_5->isChecked());
        QCOMPARE(d.InstrumentTyperesult, QString("KT20_KT40"));
        QCOMPARE(d.CoordinateFormatresult, QString("NEZ"));
        QVERIFY(!d.result_flag);
    }

    void captions_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QStringList>("formats");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("shown"); // title, groups, buttons, type buttons, format buttons
        QTest::addColumn<bool>("enz_visible");

        const QStringList texts = {"Choose", "Type", "Format", "OK", "Cancel"};
        QTest::newRow("complete") << texts << QStringList{"A", "B", "C", "D"} << QStringList{"N E Z", "E N Z"} << true
                                  << QStringList{"Choose", "Type", "Format", "OK",    "Cancel", "A",
                                                 "B",      "C",    "D",      "N E Z", "E N Z"}
                                  << false;
        QTest::newRow("short type list keeps the form's captions")
            << texts << QStringList{"A", "B"} << QStringList{"N E Z"} << true
            << QStringList{"Choose", "Type",        "Format",      "OK",    "Cancel",     "A",
                           "B",      "RadioButton", "RadioButton", "N E Z", "RadioButton"}
            << true;
        QTest::newRow("too few dialog texts change nothing")
            << QStringList(texts.mid(0, 4)) << QStringList{"A", "B", "C", "D"} << QStringList{"N E Z", "E N Z"} << false
            << QStringList{"Dialog",      "GroupBox",    "GroupBox",    "PushButton",  "PushButton", "RadioButton",
                           "RadioButton", "RadioButton", "RadioButton", "RadioButton", "RadioButton"}
            << true;
    }

    void captions()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, types);
        QFETCH(QStringList, formats);
        QFETCH(bool, accepted);
        QFETCH(QStringList, shown);
        QFETCH(bool, enz_visible);
        IniParameterSelectDialog d;
        d.InstrumentType_list = types;
        d.CoordinateFormat_list = formats;
        QCOMPARE(d.iniparameterselectdlg_ini(texts), accepted);
        Ui::IniParameterSelectDialog* ui = d.ui.get();
        const QStringList actual = {d.windowTitle(),           ui->groupBox->title(),     ui->groupBox_2->title(),
                                    ui->pushButton->text(),    ui->pushButton_2->text(),  ui->radioButton->text(),
                                    ui->radioButton_2->text(), ui->radioButton_3->text(), ui->radioButton_4->text(),
                                    ui->radioButton_5->text(), ui->radioButton_6->text()};
        QCOMPARE(actual, shown);
        QCOMPARE(!ui->radioButton_6->isHidden(), enz_visible);
    }

    void choices_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("accept at once") << QStringList{"ok"} << "KT20_KT40"
                                        << "NEZ" << true;
        QTest::newRow("KT85R") << QStringList{"2", "ok"} << "KT85R"
                               << "NEZ" << true;
        QTest::newRow("last click decides") << QStringList{"4", "3", "ok"} << "KT40"
                                            << "NEZ" << true;
        QTest::newRow("KT90 and ENZ") << QStringList{"4", "6", "ok"} << "KT90"
                                      << "ENZ" << true;
        QTest::newRow("back to the first") << QStringList{"2", "1", "6", "5", "ok"} << "KT20_KT40"
                                           << "NEZ" << true;
        QTest::newRow("cancel") << QStringList{"3", "cancel"} << "KT40"
                                << "NEZ" << false;
        QTest::newRow("closed by the frame") << QStringList{"3", "close"} << "KT40"
                                             << "NEZ" << false;
    }

    void choices()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, type);
        QFETCH(QString, format);
        QFETCH(bool, accepted);
        IniParameterSelectDialog d;
        d.show();
        Ui::IniParameterSelectDialog* ui = d.ui.get();
        QAbstractButton* const buttons[] = {ui->radioButton,   ui->radioButton_2, ui->radioButton_3,
                                            ui->radioButton_4, ui->radioButton_5, ui->radioButton_6};
        for (const QString& click : clicks) {
            if (click == "ok")
                ui->pushButton->click();
            else if (click == "cancel")
                ui->pushButton_2->click();
            else if (click == "close")
                d.close();
            else
                buttons[click.toInt() - 1]->click();
        }
        QVERIFY(!d.isVisible());
        QCOMPARE(d.InstrumentTyperesult, type);
        QCOMPARE(d.CoordinateFormatresult, format);
        QCOMPARE(d.result_flag, accepted);
    }
};

KT_TEST_MAIN(TestSelectDialog)
#include "tst_selectdialog.moc"
