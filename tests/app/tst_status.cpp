// The status line by kind and instrument type, and the UI-text lookups it draws on.
#include "config/prompts.h"
#include "support/app/windowdriver.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

class TestStatus : public QObject
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
    }

    void cleanupTestCase()
    {
        w_.reset();
        delete dir_;
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("databit");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("state_prompt"); // -1: the message itself, -2: unchanged

        QTest::newRow("KT40 refresh") << "KT40"
                                      << "8" << 0 << "ignored"
                                      << "COM3 9600 8 n 1,KT40,NEZ" << 16;
        QTest::newRow("KT20 refresh") << "KT20"
                                      << "8" << 0 << ""
                                      << "COM3 9600 8 n 1,KT20,NEZ" << 16;
        QTest::newRow("KT20_KT40 has the seven-field text") << "KT20_KT40"
                                                            << "8" << 0 << ""
                                                            << "COM3 9600 8 n 1,KT20_KT40,NEZ" << 16;
        QTest::newRow("KT85R has the seven-field text") << "KT85R"
                                                        << "8" << 2 << ""
                                                        << "COM3 9600 8 n 1,KT85R,NEZ" << 16;
        QTest::newRow("KT90 leaves the format out") << "KT90"
                                                    << "8" << 0 << ""
                                                    << "COM3 9600 8 n 1,KT90" << 16;
        QTest::newRow("empty setting leaves its place empty") << "KT40"
                                                              << "" << 0 << ""
                                                              << "COM3 9600  n 1,KT40,NEZ" << 16;
        QTest::newRow("message") << "KT40"
                                 << "8" << 1 << "Receiving 3/10"
                                 << "unchanged" << -1;
        QTest::newRow("empty message clears the state") << "KT40"
                                                        << "8" << 1 << ""
                                                        << "unchanged" << -1;
        QTest::newRow("kind 3 changes nothing") << "KT40"
                                                << "8" << 3 << "x"
                                                << "unchanged" << -2;
        QTest::newRow("kind -1 changes nothing") << "KT40"
                                                 << "8" << -1 << "x"
                                                 << "unchanged" << -2;
    }

    void kinds()
    {
        QFETCH(QString, type);
        QFETCH(QString, databit);
        QFETCH(int, kind);
        QFETCH(QString, message);
        QFETCH(QString, settings);
        QFETCH(int, state_prompt);
        w_->InstrumentType = type;
        w_->CoordinateFormat = "NEZ";
        w_->portname = "COM3";
        w_->baudrate = "9600";
        w_->databit = databit;
        w_->parity = "n";
        w_->stopbit = "1";
        w_->ui->label_3->setText("unchanged");
        w_->ui->label_4->setText("before");
        w_->show_statemsg(message, kind);
        QCOMPARE(w_->ui->label_3->text(), settings);
        if (state_prompt == -1)
            QCOMPARE(w_->ui->label_4->text(), message);
        else if (state_prompt == -2)
            QCOMPARE(w_->ui->label_4->text(), QString("before"));
        else
            QCOMPARE(w_->ui->label_4->text(), w_->getpopup_prompt(state_prompt));
    }

    void open_port_shows_connected()
    {
        PtyInstrument pty;
        w_->InstrumentType = "KT40";
        w_->portname = pty.port_name();
        w_->baudrate = "9600";
        w_->databit = "8";
        w_->program_commconnect();
        QVERIFY(w_->serial->isOpen());
        w_->show_statemsg("", Status::Settings);
        QCOMPARE(w_->ui->label_4->text(), w_->getpopup_prompt(Prompt::Connected));
        w_->show_statemsg("", Status::Closed); // the closed state whatever the port does
        QCOMPARE(w_->ui->label_4->text(), w_->getpopup_prompt(Prompt::NotConnected));
        w_->program_commdisconnect();
    }

    void prompt_lookup_data()
    {
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");

        const QStringList five = {"%1 (%2)", "no such message", "two", "three", "four"};
        QTest::newRow("existing") << (five + QStringList{"five"}) << 5 << "five";
        QTest::newRow("first") << five << 0 << "%1 (%2)";
        QTest::newRow("past the end") << five << 5 << "no such message (5)";
        QTest::newRow("negative") << five << -1 << "no such message (-1)";
        QTest::newRow("four prompts are not enough") << QStringList(five.mid(0, 4)) << 2 << "Popup prompt error!";
        QTest::newRow("none") << QStringList() << 0 << "Popup prompt error!";
    }

    void prompt_lookup()
    {
        QFETCH(QStringList, prompts);
        QFETCH(int, number);
        QFETCH(QString, text);
        const QStringList saved = w_->all_popup_prompt;
        w_->all_popup_prompt = prompts;
        QCOMPARE(w_->getpopup_prompt(number), text);
        w_->all_popup_prompt = saved;
    }

    void key_lookup()
    {
        const QList<QStringList> saved = w_->parametre_list;
        w_->parametre_list = {{"A", "1", "2"}, {"B"}, {"A", "3"}, {"a", "lower"}};
        QCOMPARE(w_->get_parametretitle("A"), (QStringList{"1", "2", "3"}));
        QCOMPARE(w_->get_parametretitle("B"), QStringList());
        QCOMPARE(w_->get_parametretitle("C"), QStringList());
        w_->parametre_list = saved;
    }
};

KT_TEST_MAIN(TestStatus)
#include "tst_status.moc"
