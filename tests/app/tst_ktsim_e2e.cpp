// ktlink's window against the real ktsim program over a pseudo-terminal: KT40 and KT20_KT40
// receives and sends, measured data, and a KT90 listing, download and upload, each checked against
// the data ktsim was given.
#include "data/fileoperation.h"
#include "dialogs/comfiledownsettingdialog.h"
#include "dialogs/inputmsg_dangedialog.h"
#include "support/app/windowdriver.h"
#include "support/core/simprocess.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_comfiledownsettingdialog.h"
#include "ui_inputmsg_dangedialog.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QDateTime>
#include <QDir>
#include <QFileSystemModel>
#include <QTableWidget>
#include <QTreeWidget>

namespace
{

const QString kSamples = QString(KT_SOURCE_DIR) + "/samples";
constexpr int kLong = 60000; // generous: the machine may be loaded

QStringList sample_points()
{
    FileOperation file;
    return file.readfile_byextension(kSamples + "/points.gdat", "gdat");
}

// Texts of `columns` of every table row, joined by ",".
QStringList table_lines(const MainWindow& w, const QList<int>& columns)
{
    QStringList lines;
    for (int r = 0; r < w.tableWidget->rowCount(); ++r) {
        QStringList texts;
        for (int c : columns)
            texts << (w.tableWidget->item(r, c) ? w.tableWidget->item(r, c)->text() : QString());
        lines << texts.join(',');
    }
    return lines;
}

// The point line with its N, E and Z written with `decimals` decimals.
QString with_decimals(const QString& point_line, int decimals)
{
    QStringList f = point_line.split(',');
    for (int i = 2; i < 5; ++i)
        f[i] = QString::number(f[i].toDouble(), 'f', decimals);
    return f.join(',');
}

void fill_table(MainWindow& w, const QStringList& point_lines, const QList<int>& columns)
{
    for (const QString& line : point_lines) {
        const int r = w.tableWidget->rowCount();
        w.tableWidget->insertRow(r);
        const QStringList f = line.split(',');
        for (int i = 0; i < 5; ++i)
            w.tableWidget->setItem(r, columns[i], new QTableWidgetItem(f[i]));
    }
}

const QList<int> kCoordinateColumns{0, 1, 2, 3, 4};
const QList<int> kObservationColumns{2, 6, 3, 4, 5};

QTreeWidgetItem* find_node(QTreeWidget* tree, const QString& text)
{
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.first();
}

// Milliseconds between the log lines of the PC's echo and of the first record that follows it.
qint64 echo_to_first_record(const QString& log)
{
    QDateTime echo;
    for (const QString& line : log.split('\n')) {
        const QDateTime at = QDateTime::fromString(line.section(' ', 0, 0), Qt::ISODateWithMs);
        if (line.contains("<- 01 4a 0d"))
            echo = at;
        else if (line.contains("<- 02 ") && echo.isValid())
            return echo.msecsTo(at);
    }
    return -1;
}

} // namespace

class TestKtsimE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir_;

    std::unique_ptr<MainWindow> window(const QString& type, const QString& port)
    {
        dir_ = std::make_unique<WorkDir>();
        dir_->set_language("English");
        auto w = start_window(type);
        w->portname = port;
        return w;
    }

    // A copy of the sample job folders, which the uploads change.
    QString copy_jobs()
    {
        const QString jobs = dir_->file("jobs");
        QDir().mkpath(jobs);
        const QDir samples(kSamples + "/kt90-jobs");
        for (const QString& sub : samples.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QDir().mkpath(jobs + "/" + sub);
            for (const QString& f : QDir(samples.filePath(sub)).entryList(QDir::Files))
                QFile::copy(samples.filePath(sub + "/" + f), jobs + "/" + sub + "/" + f);
        }
        return jobs;
    }

private slots:
    void init() { modal_script::clear(); }
    void cleanup()
    {
        qunsetenv("KTLINK_EXTRA_PORTS");
        dir_.reset();
    }

    void kt2040_receive_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("KT40") << "KT40" << 3 << kCoordinateColumns;
        QTest::newRow("KT20_KT40") << "KT20_KT40" << 4 << kObservationColumns;
        QTest::newRow("KT85R") << "KT85R" << 4 << kObservationColumns;
    }

    void kt2040_receive()
    {
        QFETCH(QString, type);
        QFETCH(int, decimals);
        QFETCH(QList<int>, columns);
        SimProcess sim({"--type", type, "--points", kSamples + "/points.gdat"});
        QVERIFY2(!sim.port().isEmpty(), qPrintable(sim.err()));
        auto w = window(type, sim.port());
        w->run_command(Command::ConnectCable);
        w->run_command(Command::ReceiveCoordinates);
        QVERIFY2(sim.wait_for_message("sent 36 "), qPrintable(sim.err()));
        QStringList expected;
        for (const QString& line : sample_points())
            expected << with_decimals(line, decimals);
        QTRY_COMPARE_WITH_TIMEOUT(table_lines(*w, columns), expected, kLong);
        QCOMPARE(sim.stop(), 0);
    }

    void measured_receive()
    {
        SimProcess sim({"--type", "KT20_KT40", "--measured", kSamples + "/ROAD1.obs"});
        QVERIFY2(!sim.port().isEmpty(), qPrintable(sim.err()));
        auto w = window("KT20_KT40", sim.port());
        w->run_command(Command::ConnectCable);
        w->run_command(Command::ReceiveMeasuredData);
        QVERIFY2(sim.wait_for_message("sent 15 records"), qPrintable(sim.err()));
        QTRY_COMPARE_WITH_TIMEOUT(w->tableWidget->rowCount(), 14, kLong);
        // kind, job, name, N, code, instrument height, backsight angle, HA, VA, SD, VD, HD, reflector
        const QList<int> shown{0, 1, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14};
        const QStringList rows = table_lines(*w, shown);
        QCOMPARE(rows[0], QString("Station,ROAD1,S1,3520100.0000,STN,1.5500,,,,,,,"));
        QCOMPARE(rows[1], QString("Backsight,ROAD1,S2,,BS,,000°00'00\",,,,,,"));
        // Every measured point as the file gives it, with four decimals and angle marks.
        FileOperation file;
        const QStringList lines = file.readfile(kSamples + "/ROAD1.obs").mid(2);
        QCOMPARE(lines.size(), 12);
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList f = lines[i].split(',');
            const auto dp = [&](int field) { return QString::number(f[field].toDouble(), 'f', 4); };
            const auto angle = [&](int field) {
                return f[field].left(3) + "°" + f[field].mid(3, 2) + "'" + f[field].mid(5) + "\"";
            };
            QCOMPARE(rows[i + 2], QStringList({"Measured point", "ROAD1", f[1], dp(7), f[9], dp(10), "", angle(2),
                                               angle(3), dp(12), dp(5), dp(4), dp(13)})
                                      .join(','));
        }
        QCOMPARE(sim.stop(), 0);
    }

    void kt2040_send_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QList<int>>("columns");
        QTest::newRow("KT40") << "KT40" << 3 << kCoordinateColumns;
        QTest::newRow("KT20_KT40, paced") << "KT20_KT40" << 4 << kObservationColumns;
    }

    void kt2040_send()
    {
        QFETCH(QString, type);
        QFETCH(int, decimals);
        QFETCH(QList<int>, columns);
        QTemporaryDir out;
        const QString got = out.filePath("got.gdat");
        const QString log = out.filePath("traffic.log");
        SimProcess sim({"--type", type, "--out", got, "--log", log});
        QVERIFY2(!sim.port().isEmpty(), qPrintable(sim.err()));
        auto w = window(type, sim.port());
        const QStringList points = sample_points().mid(0, 5);
        fill_table(*w, points, columns);
        w->run_command(Command::ConnectCable);
        w->run_command(Command::SendCoordinates);
        QVERIFY2(sim.wait_for_message("wrote 5 points", kLong), qPrintable(sim.err()));
        QTRY_VERIFY_WITH_TIMEOUT(!w->InformationTransmissionjFlag, kLong);
        QStringList expected;
        for (const QString& line : points)
            expected << with_decimals(line, decimals);
        FileOperation file;
        QCOMPARE(file.readfile_byextension(got, "gdat"), expected);
        if (type == "KT20_KT40") {
            QFile traffic(log);
            QVERIFY(traffic.open(QIODevice::ReadOnly));
            // The PC waits 500 ms after its echo before the first record (a lower bound only).
            QVERIFY(echo_to_first_record(QString::fromLatin1(traffic.readAll())) >= 450);
        }
        QCOMPARE(sim.stop(), 0);
    }

    void kt90_listing_download_upload()
    {
        dir_ = std::make_unique<WorkDir>();
        const QString jobs = copy_jobs();
        SimProcess sim({"--type", "KT90", "--jobs", jobs});
        QVERIFY2(!sim.port().isEmpty(), qPrintable(sim.err()));
        // The pty is listed as a port, as the demo lists it.
        qputenv("KTLINK_EXTRA_PORTS", sim.port().toLocal8Bit());
        dir_->set_language("English");
        auto w = start_window("KT90");
        w->show();
        QTreeWidget* tree = w->ui->treeWidget;
        QTreeWidgetItem* port = find_node(tree, sim.port());
        QVERIFY(port);

        // Listing: the job tree of the sample folders, free slots up to 16.
        tree->setCurrentItem(port, 0);
        w->doublecheckself(port, 0);
        QTRY_COMPARE_WITH_TIMEOUT(w->KT90SendType, 0, kLong);
        QVERIFY(find_node(tree, "JobList 1:ROAD"));
        QVERIFY(find_node(tree, "JobList 2:BRIDGE"));
        QVERIFY(find_node(tree, "JobList 16:<empty>"));
        QCOMPARE(find_node(tree, "JobList 1:ROAD")->child(0)->text(0), QString("FixPoints:8"));
        QCOMPARE(find_node(tree, "JobList 1:ROAD")->child(1)->text(0), QString("MeasurementPoints:5"));

        // Download of job 1's fixed points in the record format, into a PC folder.
        const QString folder = dir_->file("pc");
        QDir().mkpath(folder);
        QTreeWidgetItem* leaf = find_node(tree, "JobList 1:ROAD")->child(0);
        w->KT90PopMenuYCtoPC_Copy(leaf, 0, QModelIndex(), 0);
        answer_next_dialog([](QDialog* dialog) {
            auto* settings = qobject_cast<ComFileDownSettingDialog*>(dialog);
            settings->ui->comboBox_2->setCurrentText("dat");
            modal_script::queue_answer(QMessageBox::Yes);
            settings->ui->pushButton->click();
        });
        w->KT90PopMenuYCtoPC_Copy(leaf, 0, w->model->index(folder), 1);
        const QString downloaded = folder + "/ROAD.dat";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(downloaded) && w->KT90SendType == 0, kLong);
        FileOperation file;
        const QStringList fixed = file.readfile(jobs + "/01_ROAD/fixed.txt");
        QCOMPARE(file.readfile(downloaded), fixed);

        // Upload of the downloaded ASCII records (the program sends Latin-1 only) into the free job 3,
        // named NEWJOB: stored in a new job folder.
        QStringList ascii;
        for (const QString& record : fixed) {
            if (QString::fromLatin1(record.toLatin1()) == record)
                ascii << record;
        }
        QCOMPARE(ascii.size(), 4);
        const QString upload = folder + "/up.dat";
        QVERIFY(file.writefile(upload, ascii, false));
        w->KT90PopMenuPCtoYC_Copy(nullptr, 0, w->model->index(upload), 0);
        QVERIFY(w->tree2totree1_flag);
        answer_upload_dialogs("NEWJOB");
        w->KT90PopMenuPCtoYC_Copy(find_node(tree, "JobList 3:<empty>"), 0, QModelIndex(), 1);
        QVERIFY2(sim.wait_for_message("job 3 (NEWJOB) received 4 records", kLong), qPrintable(sim.err()));
        QTRY_VERIFY_WITH_TIMEOUT(w->KT90SendType == 0 && w->PCtoYCsendnum == 0, kLong);
        QCOMPARE(file.readfile(jobs + "/03_NEWJOB/fixed.txt"), ascii);
        QVERIFY(find_node(tree, "JobList 3:NEWJOB"));
        QCOMPARE(sim.stop(), 0);
    }
};

KT_TEST_MAIN(TestKtsimE2e)
#include "tst_ktsim_e2e.moc"
