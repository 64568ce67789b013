// Sends and uploads against the real ktsim program over a pseudo-terminal: the check's question and what
// ktsim then stores (Send as shown) or that nothing leaves (Cancel), tables too long for one transfer
// (10,000 KT20_KT40 and 70,000 KT40 rows), Send selected rows, a KT90 upload and a paste after the
// selection moved; on a pty played by the test, the port lost or only troubled during a send.
#include "comm/sendcheck.h"
#include "comm/sendchecktext.h"
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "dialogs/comfiledownsettingdialog.h"
#include "dialogs/inputmsg_dangedialog.h"
#include "support/app/linkedwindow.h"
#include "support/app/windowdriver.h"
#include "support/core/simprocess.h"
#include "support/ui/ktest.h"
#include "ui_comfiledownsettingdialog.h"
#include "ui_inputmsg_dangedialog.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"

#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace
{

const QString kSamples = QString(KT_SOURCE_DIR) + "/samples";
constexpr int kLong = 300000; // 70,000 frames on a loaded machine

// Runs the event loop until `done` holds or `timeout_ms` passed. QTest::qWaitFor sleeps 10 ms between
// its turns, which would pace a conversation of thousands of frames; this waits in the event loop.
bool run_until(const std::function<bool()>& done, int timeout_ms = kLong)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(20);
    QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

QList<int> point_columns(const QString& type)
{
    return type == "KT40" ? QList<int>{0, 1, 2, 3, 4} : QList<int>{2, 6, 3, 4, 5};
}

// A window of `type` on `port` whose table holds the point lines "name|code|N|E|Z"; no pacing.
std::unique_ptr<MainWindow> window_with(const QString& type, const QString& port, const QStringList& points)
{
    auto w = start_window(type);
    w->portname = port;
    w->first_record_pause_ms = 0;
    w->record_pause_ms = 0;
    const QList<int> columns = point_columns(type);
    w->tableWidget->setRowCount(points.size());
    for (int r = 0; r < points.size(); ++r) {
        const QStringList f = points[r].split('|');
        for (int i = 0; i < 5; ++i)
            w->tableWidget->setItem(r, columns[i], new QTableWidgetItem(f.value(i)));
    }
    return w;
}

QStringList numbered_points(int count)
{
    QStringList points;
    for (int i = 1; i <= count; ++i)
        points << QString("P%1|C|%2.125|512000.250|40.500").arg(i).arg(3520000 + i);
    return points;
}

// ktsim's --out file as point lines; "" fields stay.
QStringList stored(const QString& file)
{
    return FileOperation().readfile(file);
}

bool same_number(const QString& a, const QString& b)
{
    return sendcheck::is_number(a.trimmed()) && sendcheck::is_number(b.trimmed()) && a.toDouble() == b.toDouble();
}

} // namespace

class TestSendE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir_;

private slots:
    void init()
    {
        modal_script::clear();
        dir_ = std::make_unique<WorkDir>();
        dir_->set_language("English");
    }
    void cleanup() { dir_.reset(); }

    void check_then_send_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<int>("answer"); // -1: no question expected; 0 Send as shown; 1 Cancel
        const QStringList hostile{"POINT101|CODE12345|99999999999999999|abc|",
                                  "POINT102|C|1234.5678|N/A|12345678901234", QString::fromUtf8("控制点1|界桩|1|2|3"),
                                  "PT 4|C|1|2|3"};
        QTest::newRow("KT40, as shown") << "KT40" << hostile << 0;
        QTest::newRow("KT40, cancelled") << "KT40" << hostile << 1;
        QTest::newRow("KT20_KT40, as shown") << "KT20_KT40" << hostile << 0;
        QTest::newRow("KT20_KT40, cancelled") << "KT20_KT40" << hostile << 1;
        QTest::newRow("KT40, nothing to ask") << "KT40" << numbered_points(3) << -1;
    }

    void check_then_send()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, points);
        QFETCH(int, answer);
        const QString out = dir_->file("got.csv");
        const QString log = dir_->file("traffic.log");
        SimProcess sim({"--type", type, "--out", out, "--log", log});
        auto w = window_with(type, sim.port(), points);
        QList<QStringList> rows;
        for (int r = 0; r < points.size(); ++r)
            rows << w->row_texts(r);
        const sendcheck::Report report = sendcheck::check_rows(kt2040::frame_set_of(type), rows);
        w->run_command(Command::ConnectCable);
        if (answer >= 0)
            modal_script::queue_choice(answer);
        w->run_command(Command::SendCoordinates);
        QCOMPARE(modal_script::choices().size(), answer < 0 ? 0 : 1);
        if (answer >= 0) {
            // The question is the report's, in the window's words, with its two buttons.
            const QStringList words = w->get_parametretitle("SendCheckDlg");
            QCOMPARE(modal_script::choices()[0].text, sendcheck::question_text(report, words, false));
            QCOMPARE(modal_script::choices()[0].buttons, (QStringList{words[3], words[4]}));
        }
        if (answer == 1) {
            // Nothing leaves: no frame of a send (the KT20_KT40 start requests are still echoed).
            PtyInstrument::spin(2000);
            QVERIFY(!w->InformationTransmissionjFlag);
            QCOMPARE(w->CommunicationDirection, int(kt2040::PcReceives));
            QVERIFY(w->send_texts.isEmpty());
            const QString traffic = QString::fromLatin1(read_file(log));
            QVERIFY2(!traffic.contains("<- aa 80") && !traffic.contains("<- 02 "), qPrintable(traffic));
            QVERIFY(!QFile::exists(out));
            return;
        }
        QVERIFY2(sim.wait_for_message(QString("wrote %1 points").arg(points.size()), 60000), qPrintable(sim.err()));
        // ktsim stored what the question said: each finding's text where there was one, the table's elsewhere.
        const QStringList got = stored(out);
        QCOMPARE(got.size(), points.size());
        const QStringList fields{"name", "code", "N", "E", "Z"};
        for (int r = 0; r < points.size(); ++r) {
            const QStringList shown = points[r].split('|');
            const QStringList arrived = got[r].split(',');
            for (int f = 0; f < 5; ++f) {
                QString expected = shown[f];
                for (const sendcheck::Finding& finding : report.findings) {
                    if (finding.row == r && int(finding.where) == f && finding.kind != sendcheck::Kind::EqualOnceCut)
                        expected = finding.sent;
                }
                const QString what = QString("row %1 %2: %3 / %4").arg(r).arg(fields[f], expected, arrived[f]);
                QVERIFY2(arrived[f] == expected || same_number(arrived[f], expected), qPrintable(what));
            }
        }
        QTRY_VERIFY(!w->InformationTransmissionjFlag);
        QCOMPARE(w->statusBar()->currentMessage(),
                 w->get_parametretitle("SendMsg").value(1).arg(points.size()).arg(points.size()));
    }

    void more_rows_than_one_transfer_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("limit");
        QTest::newRow("KT20_KT40, 10,000 rows") << "KT20_KT40" << 10000 << 9999;
        QTest::newRow("KT40, 70,000 rows") << "KT40" << 70000 << 65535;
    }

    // The first rows go, the rest stay selected and go with "Send selected rows": every row reaches
    // ktsim once. The KT20_KT40 pacing (0.3 s a record) is set to none through the window's members.
    void more_rows_than_one_transfer()
    {
        QFETCH(QString, type);
        QFETCH(int, rows);
        QFETCH(int, limit);
        const QString out = dir_->file("got.csv");
        SimProcess sim({"--type", type, "--out", out});
        const QStringList points = numbered_points(rows);
        auto w = window_with(type, sim.port(), points);
        w->run_command(Command::ConnectCable);
        modal_script::queue_choice(0);
        w->run_command(Command::SendCoordinates);
        QCOMPARE(modal_script::choices().size(), 1);
        QCOMPARE(modal_script::choices()[0].buttons.value(0),
                 w->get_parametretitle("SendCheckDlg").value(5).arg(limit));
        QCOMPARE(w->selected_rows().size(), rows - limit);
        QCOMPARE(w->selected_rows().first(), limit);
        QVERIFY2(run_until([&] { return sim.err().contains(QString("wrote %1 points").arg(limit)); }),
                 qPrintable(sim.err()));
        QVERIFY(run_until([&] { return !w->InformationTransmissionjFlag; }));
        QStringList got = stored(out);
        w->run_command(Command::SendSelectedRows);
        QCOMPARE(modal_script::choices().size(), 1); // the rest fits: nothing to ask
        QVERIFY2(run_until([&] { return sim.err().contains(QString("wrote %1 points").arg(rows - limit)); }),
                 qPrintable(sim.err()));
        got += stored(out);
        QCOMPARE(got.size(), rows);
        for (int r = 0; r < rows; r += rows / 20)
            QVERIFY2(same_number(got[r].section(',', 2, 2), points[r].section('|', 2, 2)) &&
                         got[r].section(',', 0, 0) == points[r].section('|', 0, 0),
                     qPrintable(got[r]));
        QVERIFY(modal_script::shown().isEmpty()); // no connection lost, no short send
    }

    void send_selected_rows()
    {
        const QString out = dir_->file("got.csv");
        SimProcess sim({"--type", "KT40", "--out", out});
        const QStringList points = numbered_points(6);
        auto w = window_with("KT40", sim.port(), points);
        w->run_command(Command::ConnectCable);
        w->run_command(Command::SendSelectedRows);
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].text, w->get_parametretitle("SendMsg").value(0));
        for (int row : {4, 1, 3})
            w->tableWidget->selectionModel()->select(w->tableWidget->model()->index(row, 0),
                                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w->run_command(Command::SendSelectedRows);
        QVERIFY2(sim.wait_for_message("wrote 3 points", 60000), qPrintable(sim.err()));
        QCOMPARE(stored(out), (QStringList{points[1], points[3], points[4]}).replaceInStrings("|", ","));
    }

    void port_during_a_send_data()
    {
        QTest::addColumn<QList<int>>("errors"); // QSerialPort errors, -1 for a byte read between them
        QTest::addColumn<bool>("lost");
        QTest::newRow("one read error") << QList<int>{QSerialPort::ReadError} << false;
        QTest::newRow("read errors with bytes between")
            << QList<int>{QSerialPort::ReadError, QSerialPort::UnknownError, -1, QSerialPort::ReadError} << false;
        QTest::newRow("read errors in a row")
            << QList<int>{QSerialPort::ReadError, QSerialPort::ReadError, QSerialPort::ReadError} << true;
        QTest::newRow("a resource lost") << QList<int>{QSerialPort::ResourceError} << true;
        QTest::newRow("the line hung up") << QList<int>{-2} << true;
    }

    // A KT40 send of three rows; after the first record is acknowledged the port reports errors (-2: the
    // instrument's end is closed). A lost port ends the send and says how far it got; anything else
    // lets it go on.
    void port_during_a_send()
    {
        QFETCH(QList<int>, errors);
        QFETCH(bool, lost);
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        for (const QString& point : numbered_points(3)) {
            const int r = w.tableWidget->rowCount();
            w.tableWidget->insertRow(r);
            for (int c = 0; c < 5; ++c)
                w.tableWidget->setItem(r, c, new QTableWidgetItem(point.split('|')[c]));
        }
        w.program_senddata();
        QCOMPARE(link.pty.receive(6).size(), 6);
        link.pty.send(QByteArray::fromHex("aa81"));
        QCOMPARE(link.pty.receive(68).size(), 68);
        link.pty.send(QByteArray::fromHex("aa81"));
        QCOMPARE(link.pty.receive(68).size(), 68);
        for (int error : errors) {
            if (error == -2)
                link.pty.hang_up();
            else if (error == -1)
                w.read_errors_in_a_row = 0; // as a chunk read resets it
            else
                w.serial_port_failed(QSerialPort::SerialPortError(error));
        }
        QTRY_COMPARE(w.serial->isOpen(), !lost);
        if (lost) {
            QVERIFY(!w.InformationTransmissionjFlag);
            QCOMPARE(modal_script::shown().size(), 1);
            const QString text = modal_script::shown()[0].text;
            QVERIFY2(text.startsWith(w.getpopup_prompt(Prompt::ConnectionLost).section("%1", 0, 0)), qPrintable(text));
            QVERIFY2(text.contains("The instrument acknowledged 1 of 3 records"), qPrintable(text));
            return;
        }
        link.pty.send(QByteArray::fromHex("aa81"));
        QCOMPARE(link.pty.receive(68).size(), 68);
        link.pty.send(QByteArray::fromHex("aa81"));
        QCOMPARE(link.pty.receive(2), QByteArray::fromHex("aa82"));
        link.pty.send(QByteArray::fromHex("aa82"));
        QTRY_VERIFY(!w.InformationTransmissionjFlag);
        QVERIFY(modal_script::shown().isEmpty());
    }

    void kt90_upload_checked_and_paste_from_the_copied_item()
    {
        const QString jobs = dir_->file("jobs");
        const QDir samples(kSamples + "/kt90-jobs");
        for (const QString& sub : samples.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QDir().mkpath(jobs + "/" + sub);
            for (const QString& f : QDir(samples.filePath(sub)).entryList(QDir::Files))
                QFile::copy(samples.filePath(sub + "/" + f), jobs + "/" + sub + "/" + f);
        }
        SimProcess sim({"--type", "KT90", "--jobs", jobs});
        qputenv("KTLINK_EXTRA_PORTS", sim.port().toLocal8Bit());
        auto w = start_window("KT90");
        qunsetenv("KTLINK_EXTRA_PORTS");
        QTreeWidget* tree = w->ui->treeWidget;
        const auto node = [tree](const QString& text) {
            const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, 0);
            return found.isEmpty() ? nullptr : found.first();
        };
        QTreeWidgetItem* port = node(sim.port());
        QVERIFY(port);
        tree->setCurrentItem(port, 0);
        w->doublecheckself(port, 0);
        QTRY_COMPARE_WITH_TIMEOUT(w->KT90SendType, 0, 60000);
        FileOperation file;
        const QString folder = dir_->file("pc");
        QDir().mkpath(folder);

        // Paste after the selection moved to another job: the copied job's fixed points are downloaded.
        w->KT90PopMenuYCtoPC_Copy(node("JobList 1:ROAD")->child(0), 0, QModelIndex(), 0);
        tree->setCurrentItem(node("JobList 2:BRIDGE")->child(1), 0);
        answer_next_dialog([](QDialog* dialog) {
            qobject_cast<ComFileDownSettingDialog*>(dialog)->ui->comboBox_2->setCurrentText("dat");
            modal_script::queue_answer(QMessageBox::Yes);
            qobject_cast<ComFileDownSettingDialog*>(dialog)->ui->pushButton->click();
        });
        w->KT90PopMenuYCtoPC_Copy(tree->currentItem(), 0, w->model->index(folder), 1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder + "/ROAD.dat") && w->KT90SendType == 0, 60000);
        QCOMPARE(file.readfile(folder + "/ROAD.dat"), file.readfile(jobs + "/01_ROAD/fixed.txt"));
        // A copied item that is no points leaf says so at the paste.
        w->KT90PopMenuYCtoPC_Copy(node("JobList 2:BRIDGE"), 0, QModelIndex(), 0);
        w->KT90PopMenuYCtoPC_Copy(nullptr, 0, w->model->index(folder), 1);
        QCOMPARE(modal_script::shown().last().text,
                 w->get_parametretitle("KT90CopyMsg").value(2).arg("JobList 2:BRIDGE"));

        // An upload source whose first line is no record is refused with the reason.
        const QStringList records = file.readfile(jobs + "/01_ROAD/fixed.txt");
        QVERIFY(file.writefile(folder + "/short.txt", {records[0].left(95)}, false));
        w->KT90PopMenuPCtoYC_Copy(nullptr, 0, w->model->index(folder + "/short.txt"), 0);
        QVERIFY(!w->tree2totree1_flag);
        QVERIFY(modal_script::shown().last().text.contains("line 1 has 95"));

        // The job's own records, a Chinese name among them, into a free job: asked before the first
        // byte; Cancel leaves the instrument untouched, Send as shown stores what the question said.
        QVERIFY(file.writefile(folder + "/up.txt", records, false));
        for (int answer : {1, 0}) {
            w->KT90PopMenuPCtoYC_Copy(nullptr, 0, w->model->index(folder + "/up.txt"), 0);
            QVERIFY(w->tree2totree1_flag);
            answer_upload_dialogs("NEWJOB");
            modal_script::queue_choice(answer);
            w->tree2totree1_flag = true; // as the context menu's action arms it
            w->KT90PopMenuPCtoYC_Copy(node("JobList 3:<empty>"), 0, QModelIndex(), 1);
        }
        QCOMPARE(modal_script::choices().size(), 2);
        const sendcheck::Report report =
            sendcheck::check_upload(records, true, "NEWJOB", 3, w->get_parametretitle("JOBCONFLIST"));
        QVERIFY(report.count(sendcheck::Kind::NotLatin1) > 0);
        QCOMPARE(modal_script::choices()[0].text,
                 sendcheck::question_text(report, w->get_parametretitle("SendCheckDlg"), true));
        QVERIFY2(sim.wait_for_message(QString("job 3 (NEWJOB) received %1 records").arg(records.size()), 60000),
                 qPrintable(sim.err()));
        QCOMPARE(sim.err().count("job 3 named NEWJOB"), 1); // the cancelled upload sent nothing
        QTRY_VERIFY_WITH_TIMEOUT(w->KT90SendType == 0 && w->PCtoYCsendnum == 0, 60000);
        QStringList expected = records;
        for (const sendcheck::Finding& f : report.findings)
            expected[f.row] = QString(f.sent).remove(QChar(0));
        QCOMPARE(file.readfile(jobs + "/03_NEWJOB/fixed.txt"), expected);
    }
};

KT_TEST_MAIN(TestSendE2e)
#include "tst_send_e2e.moc"
