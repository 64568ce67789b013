// The point table commands through the window: open in both layouts, save as in every case the
// mends cover, new, edit, delete and clear with the point entry dialog.
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "dialogs/managecoordinatesdialog.h"
#include "support/app/pointentry.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "ui_managecoordinatesdialog.h"
#include "window/mainwindow.h"

#include <QFile>
#include <QLineEdit>
#include <QTableWidget>

using Rows = QList<QStringList>;

namespace
{

// The 15 cells of an observation row, written as "STN||S1|..." (UTF-8).
QStringList observation_row(const char* cells)
{
    return QString::fromUtf8(cells).split('|');
}

QString gbk_file(const WorkDir& dir, const QString& name)
{
    return QTextCodec::codecForName("GBK")->toUnicode(dir.read(name));
}

} // namespace

class TestTableCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void open_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Rows>("rows");

        QTest::newRow("coordinates from ndad, empty code kept, short lines skipped")
            << "KT40"
            << "p.ndad" << QByteArray("P1,,100,200,5\nshort,1,2,3\n\nP2,K,1,2,3,extra\n")
            << Rows{{"P1", "", "100", "200", "5"}, {"P2", "K", "1", "2", "3"}};
        QTest::newRow("coordinates from gdat")
            << "KT40"
            << "p.gdat" << QByteArray("1,P1,100,200,5,K\n") << Rows{{"P1", "K", "100", "200", "5"}};
        QTest::newRow("coordinates from pts")
            << "KT40"
            << "p.pts" << QByteArray("P1,200,100,5,K\n") << Rows{{"P1", "K", "100", "200", "5"}};
        QTest::newRow("upper-case TXT is txt")
            << "KT40"
            << "p.TXT" << QByteArray("P1,K,1,2,3\n") << Rows{{"P1", "K", "1", "2", "3"}};
        QTest::newRow("coordinates from a drawing")
            << "KT40"
            << "p.dxf"
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n2\n20\n1\n30\n3\n0\nTEXT\n8\n"
                          "PointNumber\n1\nA\n0\nENDSEC\n0\nEOF\n")
            << Rows{{"A", "", "1", "2", "3"}};
        QTest::newRow("observations from txt: columns and angles")
            << "KT20_KT40"
            << "o.txt" << QByteArray("STN,S1,1234530,0901000,12.5,0.3,200,100,5,K\nfive,fields,only,1,2\n")
            << Rows{observation_row("STN||S1|100|200|5|K|||123°45'30\"|090°10'00\"||0.3|12.5|")};
        QTest::newRow("observations: short angles stay as they are")
            << "KT85R"
            << "o.csv" << QByteArray(",P,123456,,,,1,2,3,\n") << Rows{observation_row("||P|2|1|3||||123456|||||")};
        QTest::newRow("observations: a drawing gives no rows")
            << "KT20_KT40"
            << "p.dxf" << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n2\n0\nEOF\n") << Rows{};
    }

    void open()
    {
        QFETCH(QString, type);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(Rows, rows);
        TableWindow t(type);
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        t.add_row({"old", "row"});
        dir.write(file, content);
        modal_script::queue_file(dir.file(file));
        w->program_fileopen();
        QCOMPARE(t.rows(), rows);
        QCOMPARE(w->ui->lineEdit->text(), dir.file(file));
        QCOMPARE(w->ui->lineEdit_2->text(), QString::number(rows.size()));
        const QList<modal_script::Shown> shown = modal_script::shown();
        // The dialog, then at most what the file held (lines skipped: tst_filecommands).
        QVERIFY(shown.size() == 1 || shown.value(1).kind == "information");
        QCOMPARE(shown[0].kind, QString("open"));
        QCOMPARE(shown[0].title, w->getpopup_prompt(Prompt::OpenCoordinateFile));
    }

    void open_cancelled_or_unreadable_keeps_the_table()
    {
        TableWindow t("KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        t.add_row({"P1", "K", "1", "2", "3"});
        w->ui->lineEdit->setText("before");
        w->program_fileopen(); // cancelled
        modal_script::queue_file(dir.file("gone.gdat"));
        w->program_fileopen();
        QCOMPARE(t.rows(), (Rows{{"P1", "K", "1", "2", "3"}}));
        QCOMPARE(w->ui->lineEdit->text(), QString("before"));
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[2].kind, QString("warning"));
        QCOMPARE(shown[2].title, w->getpopup_prompt(Prompt::ProgramName));
        QVERIFY(shown[2].text.startsWith("Could not read the file " + dir.file("gone.gdat") + ": "));
    }

    void save_as_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");

        const QString lf = "\n";
        QTest::newRow("coordinates as gdat") << "KT40"
                                             << "c.gdat"
                                             << "1,P1,100,200,5,K" + lf + "2,点2,,,," + lf;
        QTest::newRow("coordinates as ndad") << "KT40"
                                             << "c.ndad"
                                             << "P1,K,100,200,5" + lf + "点2,,,," + lf;
        QTest::newRow("observations as txt keep the observation lines")
            << "KT20_KT40"
            << "o.txt"
            << "STN,S1,1234530,0901000,12.5,0.3,200,100,5,K" + lf + ",P1,,,,,,,," + lf;
        QTest::newRow("observations as pts are points") << "KT20_KT40"
                                                        << "o.pts"
                                                        << "S1,200,100,5,K" + lf + "P1,,,," + lf;
        QTest::newRow("observations as svf are points") << "KT85R"
                                                        << "o.svf"
                                                        << "1,S1,K,100,200,5" + lf + "2,P1,,,," + lf;
    }

    void save_as()
    {
        QFETCH(QString, type);
        QFETCH(QString, file);
        QFETCH(QString, content);
        TableWindow t(type);
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        if (type == "KT40") {
            t.add_row({"P1", "K", "100", "200", "5"});
            t.add_row({QString::fromUtf8("点2")}); // cells without items save as empty
        } else {
            t.add_row(observation_row("STN|job|S1|100|200|5|K|1.5||123°45'30\"|090°10'00\"|12.6|0.3|12.5|"));
            t.add_row({"", "", "P1"});
        }
        modal_script::queue_file(dir.file(file));
        w->program_filesaveas();
        QCOMPARE(gbk_file(dir, file), content);
        // The dialog, then at most the columns the format does not keep (tst_filecommands).
        QVERIFY(modal_script::shown().size() == 1 || modal_script::shown().value(1).kind == "information");
        QCOMPARE(modal_script::shown()[0].title, w->getpopup_prompt(Prompt::SaveCoordinateFileAs));
    }

    void saved_observations_open_again()
    {
        TableWindow t("KT20_KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        const QStringList row = observation_row("MP||P5|1|2|3|C|||001°02'03\"|359°59'59\"||4|5|");
        t.add_row(row);
        modal_script::queue_file(dir.file("o.ndad"));
        w->program_filesaveas();
        w->program_clear();
        modal_script::queue_file(dir.file("o.ndad"));
        w->program_fileopen();
        QCOMPARE(t.rows(), Rows{row});
    }

    void observations_as_a_drawing_are_points()
    {
        TableWindow t("KT20_KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        t.add_row(observation_row("STN||S1|100|200|5|K|||1234530||||12.5|"));
        modal_script::queue_file(dir.file("o.dxf"));
        w->program_filesaveas();
        FileOperation files;
        QCOMPARE(files.readfile_byextension(dir.file("o.dxf"), "dxf"), QStringList{"S1,,100.000,200.000,5.000"});
    }

    void save_as_writes_nothing_or_tells_why()
    {
        TableWindow t("KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        // An empty table: no file, no message.
        modal_script::queue_file(dir.file("empty.gdat"));
        w->program_filesaveas();
        QVERIFY(!QFile::exists(dir.file("empty.gdat")));
        QCOMPARE(modal_script::shown().size(), 1);

        t.add_row({"P1", "K", "1", "2", "3"});
        modal_script::clear();
        modal_script::queue_file(dir.file("points.xyz"));
        w->program_filesaveas();
        QVERIFY(!QFile::exists(dir.file("points.xyz")));
        QCOMPARE(
            modal_script::shown().value(1).text,
            QString("Could not write the file %1: no file type has the suffix \"xyz\"").arg(dir.file("points.xyz")));
        // An upper-case suffix names its format as a lower-case one does.
        modal_script::queue_file(dir.file("points.GDAT"));
        w->program_filesaveas();
        QCOMPARE(dir.read("points.GDAT"), QByteArray("1,P1,1,2,3,K\n"));

        modal_script::clear();
        modal_script::queue_file(dir.file("missing/points.gdat"));
        w->program_filesaveas();
        QCOMPARE(modal_script::shown().value(1).kind, QString("warning"));
        QVERIFY(modal_script::shown().value(1).text.startsWith("Could not write the file " +
                                                               dir.file("missing/points.gdat") + ": "));
    }

    void new_point()
    {
        TableWindow t("KT40");
        MainWindow* w = t.w.get();
        QStringList shown;
        answer_point_dialog(&shown, {"N1", "code", "1.5", "x", ""}, true);
        w->program_new();
        QCOMPARE(shown, (QStringList{"", "", "", "", ""}));
        answer_point_dialog(&shown, {}, true); // accepted empty
        w->program_new();
        answer_point_dialog(&shown, {"no", "", "", "", ""}, false);
        w->program_new();
        QCOMPARE(t.rows(), (Rows{{"N1", "code", "1.5", "x", ""}, {"", "", "", "", ""}}));
        QCOMPARE(w->ui->lineEdit_2->text(), QString("2"));
    }

    void new_point_in_the_observation_layout_fills_columns_0_to_4()
    {
        TableWindow t("KT20_KT40");
        MainWindow* w = t.w.get();
        QStringList shown;
        answer_point_dialog(&shown, {"a", "b", "c", "d", "e"}, true);
        w->program_new();
        QStringList expected{"a", "b", "c", "d", "e"};
        while (expected.size() < 15)
            expected << "<none>";
        QCOMPARE(t.rows(), Rows{expected});
    }

    void edit_point()
    {
        TableWindow t("KT40");
        MainWindow* w = t.w.get();
        t.add_row({"P1", "K", "1", "2", "3"});
        t.add_row({"P2"});
        w->tableWidget->setCurrentCell(-1, -1);
        w->program_edit();
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].kind, QString("information"));
        QCOMPARE(modal_script::shown()[0].title, w->getpopup_prompt(Prompt::ProgramName));
        QCOMPARE(modal_script::shown()[0].text, w->getpopup_prompt(Prompt::SelectPointFirst));

        QStringList shown;
        w->tableWidget->setCurrentCell(0, 2);
        answer_point_dialog(&shown, {"P1b", "", "10", "20", "30"}, true);
        w->program_edit();
        QCOMPARE(shown, (QStringList{"P1", "K", "1", "2", "3"}));
        w->tableWidget->setCurrentCell(1, 0);
        answer_point_dialog(&shown, {"x", "x", "x", "x", "x"}, false);
        w->program_edit();
        QCOMPARE(shown, (QStringList{"P2", "", "", "", ""}));
        QCOMPARE(t.rows(), (Rows{{"P1b", "", "10", "20", "30"}, {"P2", "<none>", "<none>", "<none>", "<none>"}}));
    }

    void edit_without_dialog_texts_keeps_the_point()
    {
        // The texts without the key (a UI-text file that lacks it gets the program's own at start).
        TableWindow t("KT40");
        t.drop_texts("ManageCoordinatesDlg");
        MainWindow* w = t.w.get();
        t.add_row({"P1", "K", "1", "2", "3"});
        w->tableWidget->setCurrentCell(0, 0);
        QStringList shown;
        answer_point_dialog(&shown, {}, true);
        w->program_edit();
        QCOMPARE(shown, (QStringList{"P1", "K", "1", "2", "3"}));
        QCOMPARE(t.rows(), (Rows{{"P1", "K", "1", "2", "3"}}));
    }

    void delete_and_clear()
    {
        TableWindow t("KT40");
        MainWindow* w = t.w.get();
        for (const char* name : {"A", "B", "C"})
            t.add_row({name});
        w->tableWidget->setCurrentCell(-1, -1);
        w->program_delete();
        QCOMPARE(w->tableWidget->rowCount(), 3);
        w->tableWidget->setCurrentCell(1, 0);
        w->program_delete();
        QCOMPARE(t.rows(),
                 (Rows{{"A", "<none>", "<none>", "<none>", "<none>"}, {"C", "<none>", "<none>", "<none>", "<none>"}}));
        QCOMPARE(w->ui->lineEdit_2->text(), QString("2"));
        QVERIFY(modal_script::shown().isEmpty());
        // A deletion leaves unsaved rows: clearing asks first (the guard's own suite tests the answers).
        modal_script::queue_answer(QMessageBox::Discard);
        w->program_clear();
        QCOMPARE(w->tableWidget->rowCount(), 0);
        QCOMPARE(w->ui->lineEdit_2->text(), QString("0"));
        QCOMPARE(modal_script::shown().size(), 1);
    }
};

KT_TEST_MAIN(TestTableCommands)
#include "tst_tablecommands.moc"
