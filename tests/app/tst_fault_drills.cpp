// Fault drills: the cable pulled in the middle of a transfer, saves that cannot be written, runtime
// files that are empty, cut short, binary or huge, and damaged and foreign files (a journal damaged in
// its middle or its tail, drawings of other CAD programs, broken settings and UI texts, links to a full
// device and to a pipe). Each must be told, keep what the user has, and leave the program responsive.
#include "comm/kt90_conversation.h"
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "config/runtimefiles.h"
#include "data/datafolder.h"
#include "data/filefindings.h"
#include "data/recoveryjournal.h"
#include "modal/modal.h"
#include "support/app/kt90script.h"
#include "support/app/linkedwindow.h"
#include "support/app/windowdriver.h"
#include "support/core/mount.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolBar>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace
{

// After the cable is pulled: reported once, the port closed, the transfer state reset, and the event
// loop free (the port's error does not repeat in a busy loop, a timer still fires on time).
void expect_port_lost(MainWindow& w)
{
    QSignalSpy errors(w.serial, &QSerialPort::errorOccurred);
    QTRY_VERIFY(!w.serial->isOpen());
    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY(fired);
    PtyInstrument::spin(300);
    QVERIFY(errors.count() <= 2);
    QVERIFY(!w.InformationTransmissionjFlag);
    QVERIFY(w.commbuf.isEmpty());
    QCOMPARE(w.KT90SendType, 0);
    int lost = 0;
    for (const modal_script::Shown& shown : modal_script::shown())
        lost += shown.text.startsWith(w.getpopup_prompt(Prompt::ConnectionLost).section("%1", 0, 0)) ? 1 : 0;
    QCOMPARE(lost, 1);
    QCOMPARE(w.ui->label_4->text(), w.getpopup_prompt(Prompt::NotConnected));
}

// A journal of the coordinate layout whose change lines add `rows` rows, as the window writes it.
QByteArray journal_of(int rows)
{
    QByteArray bytes = "ktlink-journal\tcoordinate\t5\t2026-12-09T05:00:00\t2\n";
    for (int r = 0; r < rows; ++r)
        bytes += QString("+\tP%1\tK\t%1.5\t2.25\t3\n").arg(r).toUtf8();
    return bytes;
}

// 500 rows, one byte of the line of row 250 (the file's line 252) damaged.
QByteArray damaged_journal()
{
    QByteArray bytes = journal_of(500);
    bytes[bytes.indexOf("+\tP250\t") + 3] = '\xff';
    return bytes;
}

// 500 rows and 64 bytes of garbage, a line end among them, as a power cut can leave.
QByteArray torn_journal()
{
    return journal_of(500) + QByteArray(30, '\x9e') + "\n\x01" + QByteArray(32, '\xf7');
}

// A drawing as other CAD programs write it: POINTs on layers "0" and "TOPO", named by TEXTs on "NAMES"
// after all points (their heights as TEXTs there too) or by the attributes of an INSERT at each point.
QByteArray foreign_drawing(bool attributes)
{
    const QList<QStringList> points = {{"101", "10.5", "20.25", "12.5", "0"}, {"K2", "-1", "0", "99.125", "TOPO"}};
    QStringList pairs{"0", "SECTION", "2", "ENTITIES"};
    for (const QStringList& p : points)
        pairs << "0"
              << "POINT"
              << "8" << p[4] << "10" << p[1] << "20" << p[2] << "30" << p[3];
    for (const QStringList& p : points) {
        const QStringList at{"10", p[1], "20", p[2], "30", "0"};
        if (attributes)
            pairs << QStringList{"0", "INSERT", "8", "PTS", "66", "1", "2", "SURVEYPT"} << at
                  << QStringList{"0", "ATTRIB", "8", "0", "10", "0", "20", "0", "1", p[3], "2", "H"}
                  << QStringList{"0", "ATTRIB", "8", "0", "10", "0", "20", "0", "1", p[0], "2", "PT"}
                  << QStringList{"0", "SEQEND"};
        else
            pairs << QStringList{"0", "TEXT", "8", "HEIGHTS"} << at << QStringList{"1", p[3], "0", "TEXT", "8", "NAMES"}
                  << at << QStringList{"1", p[0]};
    }
    pairs << "0"
          << "ENDSEC"
          << "0"
          << "EOF";
    return pairs.join('\n').toUtf8() + '\n';
}

// Every key element of the UI texts' sections, every other one taken out.
QByteArray without_half_the_keys(const QByteArray& texts)
{
    QString text = QString::fromUtf8(texts);
    int at = 0;
    for (int key = 0; (at = text.indexOf(QRegularExpression("\n    <(\\w+)>"), at)) >= 0; ++key) {
        const QString name = QRegularExpression("<(\\w+)>").match(text, at).captured(1);
        const int end = text.indexOf("</" + name + ">", at) + name.size() + 3;
        if (key % 2 == 1)
            text.remove(at, end - at);
        else
            at = end;
    }
    return text.toUtf8();
}

// The texts the window showed in information boxes, one after the other.
QString informations()
{
    QStringList texts;
    for (const modal_script::Shown& shown : modal_script::shown())
        if (shown.kind == "information")
            texts << shown.text;
    return texts.join('\n');
}

// A case of the damaged and foreign files: what is made before the window starts, and what it does
// and must show and keep after.
struct Drill {
    const char* name;
    std::function<void(WorkDir&)> prepare;
    std::function<void(MainWindow&, WorkDir&)> check;
};

const QList<Drill>& drills()
{
    static const auto journal = [](const QByteArray& bytes) {
        return [bytes](WorkDir&) {
            QDir().mkpath(app_data_folder());
            QFile file(RecoveryJournal(app_data_folder(), "coordinate", 5).path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            modal_script::queue_answer(QMessageBox::Yes);
        };
    };
    // What a restore must give back and say: `rows` of `meant`, damaged from `line`, the journal kept whole.
    static const auto restored = [](const QByteArray& bytes, int rows, int meant, int line) {
        return [=](MainWindow& w, WorkDir&) {
            QCOMPARE(w.tableWidget->rowCount(), rows);
            QCOMPARE(w.table_texts().last(),
                     (QStringList{QString("P%1").arg(rows - 1), "K", QString("%1.5").arg(rows - 1), "2.25", "3"}));
            const QStringList kept = QDir(app_data_folder()).entryList({"journal-coordinate.damaged-*.txt"});
            QCOMPARE(kept.size(), 1);
            QCOMPARE(read_file(app_data_folder() + "/" + kept[0]), bytes);
            QCOMPARE(informations(), w.get_parametretitle("DamagedFileTexts")
                                         .value(1)
                                         .arg(rows)
                                         .arg(meant)
                                         .arg(line)
                                         .arg(app_data_folder() + "/" + kept[0]));
            QCOMPARE(w.journal->read().rows.size(), rows); // journaled anew, without the damage
        };
    };
    static const auto drawing = [](bool attributes, const QString& layer) {
        return [=](MainWindow& w, WorkDir& dir) {
            dir.write("theirs.dxf", foreign_drawing(attributes));
            QVERIFY(w.open_point_file(dir.file("theirs.dxf")));
            QCOMPARE(w.table_texts(),
                     (QList<QStringList>{{"101", "", "20.25", "10.5", "12.5"}, {"K2", "", "0", "-1", "99.125"}}));
            const QString told = w.get_parametretitle("FileFindingMsg").value(int(FileFinding::DxfNamesFromTexts));
            QVERIFY2(w.ui->label_4->text().contains(told.arg(2).arg(layer)), qPrintable(w.ui->label_4->text()));
        };
    };
    // The settings the window reads instead of a damaged file, which a setting change leaves as it is.
    static const auto settings = [](const QString& language, int entry, int line) {
        return [=](MainWindow& w, WorkDir& dir) {
            const QString damaged =
                QFileInfo::exists(user_config_file()) ? user_config_file() : dir.file("config/config.xml");
            const QByteArray before = read_file(damaged);
            QCOMPARE(w.language, language);
            const QString told = informations();
            QVERIFY2(
                told.startsWith(w.get_parametretitle("DamagedFileTexts").value(entry).section("%2", 0, 0).arg(damaged)),
                qPrintable(told));
            QVERIFY2(told.contains(QString::number(line)), qPrintable(told));
            QVERIFY2(entry == 3 || told.contains(dir.file("config/config.xml")), qPrintable(told)); // read instead
            // A setting changed now: refused for a damaged copy of the user's, kept in a new copy otherwise.
            w.program_commlog();
            QCOMPARE(w.ui->label_4->text().contains(damaged), entry == 2);
            QCOMPARE(read_file(damaged), before);
        };
    };
    // A save through a link to `node` (made by `make`) with the rows written straight into it.
    // A save as `suffix` through a link to a node of `kind` ('c' a full device, 'p' a pipe, 'f' a file).
    static const auto through = [](char kind, const QString& suffix) {
        return [=](MainWindow& w, WorkDir& dir) {
            const QString node = dir.file("node"), link = dir.file("out." + suffix);
            const bool made = kind == 'p'   ? mkfifo(qPrintable(node), 0600) == 0
                              : kind == 'f' ? (dir.write("node", "old\n"), true)
                                            // a full device of the test's own (root), else a link to the
                                            // system's, which only root could replace
                                            : mknod(qPrintable(node), S_IFCHR | 0666, makedev(1, 7)) == 0 ||
                                                  QFile::link("/dev/full", node);
            if (!made)
                QSKIP("cannot make the node here");
            QVERIFY(QFile::link(node, link));
            QProcess reader; // the other end of a pipe
            if (kind == 'p')
                reader.start("/bin/cat", {node});
            w.tableWidget->insertRow(0);
            for (int c = 0; c < 5; ++c)
                w.tableWidget->setItem(0, c, new QTableWidgetItem(QStringList{"P1", "K", "1", "2", "3"}[c]));
            modal_script::queue_file(link);
            w.program_filesaveas();
            struct stat st;
            QVERIFY(stat(qPrintable(node), &st) == 0);
            QCOMPARE(S_ISCHR(st.st_mode) ? 'c' : S_ISFIFO(st.st_mode) ? 'p' : 'f', kind); // the node stays
            QVERIFY(QFileInfo(link).isSymLink());
            const QString warned = modal_script::shown().last().text;
            if (kind == 'c')
                QVERIFY2(warned.startsWith(w.getpopup_prompt(Prompt::FileNotWritten).arg(link, "")) &&
                             warned.contains(QString::fromLocal8Bit(strerror(ENOSPC))),
                         qPrintable(warned));
            if (kind == 'p') {
                QVERIFY(reader.waitForFinished(5000));
                QCOMPARE(reader.readAllStandardOutput(), QByteArray("P1,K,1,2,3\n"));
            }
            if (kind == 'f')
                QVERIFY(read_file(node).size() > 100); // the file the link names, replaced
        };
    };
    static const QList<Drill> list = {
        {"journal, one byte damaged in line 252", journal(damaged_journal()),
         restored(damaged_journal(), 250, 500, 252)},
        {"journal, 64 bytes of garbage after its last line", journal(torn_journal()),
         restored(torn_journal(), 500, 500, 502)},
        {"drawing, names as TEXT on a layer of their own", [](WorkDir&) {}, drawing(false, "NAMES")},
        {"drawing, names as attributes of blocks", [](WorkDir&) {}, drawing(true, "0")},
        {"settings, the user's copy cut short",
         [](WorkDir& dir) {
             dir.set_language("English");
             QDir().mkpath(user_config_folder());
             QFile copy(user_config_file());
             QVERIFY(copy.open(QIODevice::WriteOnly));
             copy.write("<?xml version=\"1.0\"?>\n<CONFIG>\n  <language>Chinese</language>\n  <lastfol");
         },
         settings("English", 2, 4)},
        {"settings, the shipped file not well-formed",
         [](WorkDir& dir) {
             dir.write("config/config.xml", "<CONFIG>\n<language>English</language>\n<commlog>0</CONFIG>");
         },
         settings("", 3, 3)},
        {"UI texts without half their keys",
         [](WorkDir& dir) {
             dir.set_language("English");
             dir.write("config/parameter.xml", without_half_the_keys(dir.read("config/parameter.xml")));
         },
         [](MainWindow& w, WorkDir&) {
             QVERIFY(w.windowTitle().startsWith("ktlink"));
             QCOMPARE(w.tableWidget->columnCount(), 5);
             QVERIFY(w.journal);
             QVERIFY(!w.findChildren<QToolBar*>().isEmpty() && !w.findChildren<QToolBar*>()[0]->actions().isEmpty());
             QCOMPARE(w.getpopup_prompt(Prompt::NotConnected), QString("Not connected."));
             const QList<modal_script::Shown> shown = modal_script::shown();
             QCOMPARE(shown.size(), 1); // said once
             QVERIFY2(shown[0].text.contains("English") && shown[0].text.contains("keys"), qPrintable(shown[0].text));
         }},
        {"saving through a link to a full device", [](WorkDir&) {}, through('c', "txt")},
        {"saving a GeoPackage through a link to a full device", [](WorkDir&) {}, through('c', "gpkg")},
        {"saving LandXML through a link to a full device", [](WorkDir&) {}, through('c', "xml")},
        {"saving through a link to a pipe", [](WorkDir&) {}, through('p', "txt")},
        {"saving a GeoPackage through a link to a file", [](WorkDir&) {}, through('f', "gpkg")},
    };
    return list;
}

} // namespace

class TestFaultDrills : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void cable_pulled_during_a_kt40_receive()
    {
        LinkedWindow link("KT40");
        link.w->program_receivedata();
        link.pty.send(QByteArray::fromHex("aa80") + "JOB1 " + QByteArray::fromHex("0005aa82"));
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81", 2));
        for (int i = 0; i < 2; ++i) {
            link.pty.send(sample::kt40_record);
            QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81", 2));
        }
        link.pty.send(sample::kt40_record.left(30)); // the third record, cut off
        link.pty.hang_up();
        expect_port_lost(*link.w);
        QCOMPARE(link.w->tableWidget->rowCount(), 2);
    }

    void cable_pulled_during_a_kt2040_send()
    {
        LinkedWindow link("KT20_KT40");
        for (int r = 0; r < 3; ++r) {
            link.w->tableWidget->insertRow(r);
            for (int c = 0; c < 15; ++c)
                link.w->tableWidget->setItem(r, c, new QTableWidgetItem(QString::number(r + c)));
        }
        link.w->program_senddata();
        link.pty.send("\x01J\r");
        QCOMPARE(link.pty.receive(3), QByteArray("\x01J\r"));
        QCOMPARE(link.pty.receive(63).size(), 63); // the first record, after its pause
        link.pty.send("\x01J\r");                  // the second is being paced
        PtyInstrument::spin(50);
        link.pty.hang_up();
        expect_port_lost(*link.w);
        QCOMPARE(link.w->tableWidget->rowCount(), 3);
        QCOMPARE(link.w->KT20_KT40_curnum, 0);
    }

    void cable_pulled_during_a_kt90_download()
    {
        std::unique_ptr<WorkDir> dir;
        auto w = start_kt90_window(dir);
        PtyInstrument pty;
        w->portname = pty.port_name();
        w->comm_open();
        QVERIFY(w->serial->isOpen());
        w->KT90SendModel = kt90::Conversation::Download;
        w->KT90_PointType = "JOB/RCV/COORDS/";
        w->KT90_DataTypeNum = "2";
        w->KT90_DataFileNum = "3";
        w->KT90_SaveFilename = dir->file("job.txt");
        w->progflag = 2;
        w->wait_start(WaitKind::JobCopy);
        w->KT90SendType = kt90::Message::Open;
        w->serial->write(w->dictionA->getKT90packmsg(kt90::Message::Open, "", false));
        play(pty, {{crlf("a"), kReady},
                   {crlf("c"), kReady},
                   {crlf("FORM/SET/02"), crlf("OK")},
                   {crlf("JOB/RCV/COORDS/3"), crlf("P,1,4,0")},
                   {kReady, crlf("1,A,1,2,3")}});
        QCOMPARE(pty.receive(3), kReady);
        pty.hang_up();
        expect_port_lost(*w);
        QVERIFY(!w->progDlg);
        QVERIFY(!w->KT90_StartSave);
        QCOMPARE(w->KT90_DataBuf, QStringList{"1,A,1,2,3"}); // what came is still there
        QVERIFY(!QFileInfo::exists(dir->file("job.txt")));
    }

    void saves_that_cannot_be_written_data()
    {
        QTest::addColumn<QString>("place"); // where the file goes
        QTest::newRow("a file stands where the folder should be") << "blocked";
        QTest::newRow("read-only file system") << "read-only";
        QTest::newRow("full disk") << "full";
    }

    void saves_that_cannot_be_written()
    {
        QFETCH(QString, place);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window("KT40");
        for (int r = 0; r < 400; ++r) {
            w->tableWidget->insertRow(r);
            const QStringList cells = {QString("POINT%1").arg(r), "CODE", "1234567.890", "7654321.098", "123.456"};
            for (int c = 0; c < cells.size(); ++c)
                w->tableWidget->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
        const QByteArray old_points = "OLD,,1,2,3\n";
        QString path;
        std::unique_ptr<Mount> mount;
        if (place == "blocked") {
            dir.write("points", "a file, not a folder\n");
            path = dir.file("points/points.ndad");
        } else {
            const QString folder = dir.file("mnt");
            mount = std::make_unique<Mount>(folder, "size=16k");
            if (!mount->ok())
                QSKIP("mounting a small file system needs root");
            path = folder + "/points.ndad";
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(old_points);
            old.close();
            if (place == "read-only")
                QVERIFY(mount->remount("ro"));
        }
        modal_script::queue_file(path);
        w->program_filesaveas();
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.last().kind, QString("warning"));
        QVERIFY2(shown.last().text.startsWith(w->getpopup_prompt(Prompt::FileNotWritten).arg(path, "")),
                 qPrintable(shown.last().text));
        QVERIFY(shown.last().text.size() >
                w->getpopup_prompt(Prompt::FileNotWritten).arg(path, "").size()); // and the reason
        if (place != "blocked")
            QCOMPARE(read_file(path, "<missing>"), old_points);
        QCOMPARE(w->tableWidget->rowCount(), 400);
    }

    void damaged_and_foreign_files_data()
    {
        QTest::addColumn<int>("drill");
        for (int i = 0; i < drills().size(); ++i)
            QTest::newRow(drills()[i].name) << i;
    }

    void damaged_and_foreign_files()
    {
        QFETCH(int, drill);
        WorkDir dir;
        dir.set_language("English");
        // The user's configuration folder inside the working folder.
        const QByteArray config_home = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir.file("user").toUtf8());
        drills()[drill].prepare(dir);
        auto w = start_window("KT40");
        QVERIFY(w->exe_success_flag);
        drills()[drill].check(*w, dir);
        qputenv("XDG_CONFIG_HOME", config_home);
    }

    void runtime_files_that_are_broken_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("told");

        const QStringList contents = {"empty", "cut short", "binary", "10 MB"};
        for (const QString& content : contents) {
            const bool huge = content == "10 MB";
            QTest::addRow("UI texts, %s", qPrintable(content)) << "config/parameter.xml" << content << huge << !huge;
            QTest::addRow("configuration, %s", qPrintable(content)) << "config/config.xml" << content << true << !huge;
            QTest::addRow("dictionary, %s", qPrintable(content)) << "config/dictionary.xml" << content << true << false;
        }
    }

    void runtime_files_that_are_broken()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(bool, starts);
        QFETCH(bool, told);
        WorkDir dir;
        const QByteArray shipped = dir.read(file);
        QByteArray bytes;
        if (content == "cut short") {
            bytes = shipped.left(shipped.size() / 2);
        } else if (content == "binary") {
            for (int i = 0; i < 4096; ++i)
                bytes.append(char((i * 131 + 7) % 256));
        } else if (content == "10 MB") {
            // The shipped file with ten megabytes of comment in front of its document element.
            const int at = shipped.indexOf('>', shipped.indexOf("?>") + 2) + 1;
            bytes = shipped.left(at) + "<!--" + QByteArray(10 * 1024 * 1024, 'x') + "-->" + shipped.mid(at);
        }
        dir.write(file, bytes);
        auto w = start_window("KT40");
        QCOMPARE(w->exe_success_flag, starts);
        bool information = false;
        for (const modal_script::Shown& shown : modal_script::shown())
            information = information || shown.kind == "information";
        QCOMPARE(information, told);
        if (told && file.endsWith("config.xml"))
            QVERIFY2(informations().contains(dir.file(file)), qPrintable(informations())); // named
        if (starts && file.endsWith("dictionary.xml")) {
            QVERIFY(w->dictionA->getuartpara("baudrate", 1).isEmpty() == (content != "10 MB"));
            QCOMPARE(w->baudrate, QString("9600"));
        }
    }
};

KT_TEST_MAIN(TestFaultDrills)
#include "tst_fault_drills.moc"
