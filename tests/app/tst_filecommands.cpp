// What the file commands tell and where they start: Open with the files of other programs (encodings,
// line ends, upper-case suffixes, lines skipped, refusals), the GB18030 question before Save As, the
// chosen filter's suffix, the columns a format does not keep, Export replacing a workbook, Chinese
// folder and file names, the last folder and the recent files in config.xml.
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

using Rows = QList<QStringList>;

namespace
{

QByteArray encoded(const char* codec, const QString& text)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return QTextCodec::codecForName(codec)->fromUnicode(text.constData(), text.size(), &state);
}

const QString kExample = QString::fromUtf8("测点1,树,100.5,200.25,3.5\nP2,墙角,1,2,3\n");
const Rows kExampleRows{{QString::fromUtf8("测点1"), QString::fromUtf8("树"), "100.5", "200.25", "3.5"},
                        {"P2", QString::fromUtf8("墙角"), "1", "2", "3"}};

QString status(const MainWindow* w)
{
    return w->ui->label_4->text();
}

QAction* recent_menu(MainWindow* w)
{
    for (QAction* action : w->menuBar()->findChildren<QAction*>()) {
        if (action->data().toString() == "RecentFiles")
            return action;
    }
    return nullptr;
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    // %1 in `status` and `messages` is the file's path.
    void open_tells_what_the_file_held_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("UTF-8, Chinese names")
            << "KT40"
            << "u8.txt" << kExample.toUtf8() << kExampleRows << "Opened %1: 2 rows; read as UTF-8" << QStringList{};
        QTest::newRow("UTF-8 with a mark, upper-case suffix") << "KT40"
                                                              << "U8.CSV"
                                                              << "\xEF\xBB\xBF" + kExample.toUtf8() << kExampleRows
                                                              << "Opened %1: 2 rows; read as UTF-8" << QStringList{};
        QTest::newRow("UTF-16 without a mark") << "KT40"
                                               << "u16.ndad" << encoded("UTF-16LE", kExample) << kExampleRows
                                               << "Opened %1: 2 rows; read as UTF-16LE" << QStringList{};
        QTest::newRow("GBK, as the instruments write")
            << "KT40"
            << "gbk.txt" << encoded("GBK", kExample) << kExampleRows << "Opened %1: 2 rows" << QStringList{};
        QTest::newRow("POINTS.TXT with CR line ends")
            << "KT40"
            << "POINTS.TXT" << QByteArray("A,K,1,2,3\rB,K,4,5,6\r")
            << Rows{{"A", "K", "1", "2", "3"}, {"B", "K", "4", "5", "6"}} << "Opened %1: 2 rows" << QStringList{};
        QTest::newRow("bytes neither UTF-8 nor GBK")
            << "KT40"
            << "bad.txt" << QByteArray("P\xFF,K,1,2,3\n")
            << Rows{{QString::fromUtf8("P\xEF\xBF\xBD"), "K", "1", "2", "3"}} << "Opened %1: 1 row"
            << QStringList{
                   QString::fromUtf8("information: Reading %1:\n1 bytes are not valid GBK and show as \xEF\xBF\xBD")};
        QTest::newRow("a drawing's comma in a name")
            << "KT40"
            << "d.dxf"
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n2\n20\n1\n30\n3\n0\nTEXT\n8\n"
                          "PointNumber\n1\nA,B\n0\nENDSEC\n0\nEOF\n")
            << Rows{{"A;B", "", "1", "2", "3"}} << "Opened %1: 1 row"
            << QStringList{"information: Reading %1:\n1 commas in names or codes were replaced by \";\""};
        QTest::newRow("lines too short for the format")
            << "KT40"
            << "p.gdat" << QByteArray("1,P1,1,2,3,K\n2,P2,1\n\n") << Rows{{"P1", "K", "1", "2", "3"}}
            << "Opened %1: 1 row" << QStringList{"information: Reading %1:\n1 lines skipped: fewer than 6 fields"};
        QTest::newRow("point lines in the observation layout")
            << "KT20_KT40"
            << "p.ndad" << QByteArray("P1,K,1,2,3\nP2,K,4,5,6\n") << Rows{} << "Opened %1: 0 rows"
            << QStringList{"information: Reading %1:\n2 lines skipped: fewer than 10 fields"};
    }

    void open_tells_what_the_file_held()
    {
        QFETCH(QString, type);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(Rows, rows);
        QFETCH(QString, status);
        QFETCH(QStringList, messages);
        TableWindow t(type);
        t.dir.write(file, content);
        const QString path = t.dir.file(file);
        modal_script::queue_file(path);
        t.w->program_fileopen();
        if (type == "KT40")
            QCOMPARE(t.rows(), rows);
        else
            QCOMPARE(t.rows().size(), rows.size());
        QCOMPARE(::status(t.w.get()), QString(status).replace("%1", path));
        QCOMPARE(shown_messages(), QStringList(messages).replaceInStrings("%1", path));
    }

    void a_line_too_long_leaves_the_table()
    {
        TableWindow t("KT40");
        t.add_row({"P1", "K", "1", "2", "3"});
        t.dir.write("long.txt", "A,K,1,2,3\n" + QByteArray((1 << 20) + 1, 'x') + "\n");
        modal_script::queue_file(t.dir.file("long.txt"));
        t.w->program_fileopen();
        QCOMPARE(t.rows(), (Rows{{"P1", "K", "1", "2", "3"}}));
        QCOMPARE(shown_messages(), QStringList{"warning: Could not read the file " + t.dir.file("long.txt") +
                                               ": line 2 is longer than 1048576 bytes; nothing was read"});
    }

    // Characters GBK cannot hold: the question names the first with its row and column; Cancel
    // writes nothing, Yes writes GB18030.
    void gb18030_question_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("column"); // where the emoji is
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("asked"); // the question's start; empty: none asked
        const QString in_code = QString::fromUtf8("1 characters of the table cannot be written in GBK, the first "
                                                  "\"\xF0\x9F\x98\x80\" in row 2, column \"Code\".");
        QTest::newRow("cancelled") << "p.gdat" << 1 << false << in_code;
        QTest::newRow("GB18030") << "p.gdat" << 1 << true << in_code;
        QTest::newRow("a drawing writes no code: nothing to ask") << "p.dxf" << 1 << false << QString();
        QTest::newRow("a drawing's name")
            << "p.dxf" << 0 << true
            << QString::fromUtf8("1 characters of the table cannot be written in GBK, the first "
                                 "\"\xF0\x9F\x98\x80\" in row 2, column \"Point name\".");
    }

    void gb18030_question()
    {
        QFETCH(QString, file);
        QFETCH(int, column);
        QFETCH(bool, yes);
        QFETCH(QString, asked);
        TableWindow t("KT40");
        t.add_row({"P1", "K", "1", "2", "3"});
        QStringList second{"P2", "C", "4", "5", "6"};
        second[column] = QString::fromUtf8("\xF0\x9F\x98\x80"); // an emoji
        t.add_row(second);
        const QString path = t.dir.file(file);
        modal_script::queue_file(path);
        if (yes)
            modal_script::queue_answer(QMessageBox::Yes);
        const bool written = t.w->save_table_as();
        const QList<modal_script::Shown> shown = modal_script::shown();
        if (asked.isEmpty()) {
            QVERIFY(written);
            QCOMPARE(shown_messages(),
                     QStringList{"information: Writing " + path + ":\nColumns this format does not keep: Code"});
            QCOMPARE(status(t.w.get()), "Saved 2 rows to " + path);
            return;
        }
        QCOMPARE(written, yes);
        QCOMPARE(shown.value(1).kind, QString("question"));
        QCOMPARE(shown.value(1).title, QString("Characters GBK cannot hold"));
        QVERIFY(shown.value(1).text.startsWith(asked));
        QCOMPARE(QFile::exists(path), yes);
        if (!yes)
            return;
        QCOMPARE(status(t.w.get()), "Saved 2 rows to " + path + " (GB18030)");
        if (file.endsWith(".gdat"))
            QCOMPARE(t.dir.read(file),
                     encoded("GB18030", QString::fromUtf8("1,P1,1,2,3,K\n2,P2,4,5,6,\xF0\x9F\x98\x80\n")));
        // Read back: GB18030 is GBK wherever GBK holds the text, and the drawing keeps code page 936.
        FileOperation files;
        QCOMPARE(files.readfile_byextension(path, QFileInfo(path).suffix()).value(1).section(',', 0, 0), second[0]);
        QCOMPARE(files.last_read.encoding_name, QString("GB18030"));
        if (file.endsWith(".dxf"))
            QVERIFY(t.dir.read(file).contains("$DWGCODEPAGE\n  3\nANSI_936\n"));
    }

    // A name without a suffix takes the chosen filter's; the status line names the file and the count.
    void save_as_adds_the_filters_suffix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "demo40"
                                   << "No.,Name,N,E,Z,Code (*.gdat)"
                                   << "demo40.gdat";
        QTest::newRow("a suffix of its own") << "demo40.PTS"
                                             << "No.,Name,N,E,Z,Code (*.gdat)"
                                             << "demo40.PTS";
        QTest::newRow("a name ending in a dot") << "demo40."
                                                << "DXF drawing (*.dxf)"
                                                << "demo40.dxf";
    }

    void save_as_adds_the_filters_suffix()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        TableWindow t("KT40");
        t.add_row({"P1", "K", "1", "2", "3"});
        modal_script::queue_file(t.dir.file(typed), filter);
        QVERIFY(t.w->save_table_as());
        QVERIFY(QFile::exists(t.dir.file(written)));
        QCOMPARE(status(t.w.get()), "Saved 1 row to " + t.dir.file(written));
        FileOperation files;
        QCOMPARE(files.readfile_byextension(t.dir.file(written), QFileInfo(written).suffix()).size(), 1);
        // The filter chosen is the one the next Save As starts with.
        modal_script::clear();
        t.w->save_table_as();
        QVERIFY(modal_script::shown().value(0).filter.endsWith("\n" + filter));
    }

    void observation_columns_a_format_does_not_keep_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("left_out");
        QTest::newRow("ten fields") << "o.txt"
                                    << "Job, HI, SD";
        QTest::newRow("point lines") << "o.gdat"
                                     << "Kind, Job, HI, Hz angle, SD, HD";
        QTest::newRow("a drawing keeps no code")
            << "o.dxf"
            << "Kind, Job, Code, HI, Hz angle, SD, HD";
        QTest::newRow("a GIS layer keeps every column") << "o.gpkg" << QString();
    }

    void observation_columns_a_format_does_not_keep()
    {
        QFETCH(QString, file);
        QFETCH(QString, left_out);
        TableWindow t("KT20_KT40");
        t.add_row(QString::fromUtf8("STN|job|S1|100|200|5|K|1.5||123°45'30\"||12.6||12.5|").split('|'));
        modal_script::queue_file(t.dir.file(file));
        QVERIFY(t.w->save_table_as());
        const QStringList expected = left_out.isEmpty()
                                         ? QStringList{}
                                         : QStringList{"information: Writing " + t.dir.file(file) +
                                                       ":\nColumns this format does not keep: " + left_out};
        // A layer written without a system says so in the status line.
        QCOMPARE(shown_messages(), expected);
        QVERIFY(status(t.w.get()).startsWith("Saved 1 row to " + t.dir.file(file)));
    }

    void export_asks_before_replacing_a_workbook()
    {
        TableWindow t("KT40");
        t.add_row({"P1", "K", "1", "2", "3"});
        t.dir.write("book.xlsx", "old");
        const auto export_as = [&](const QString& name, QMessageBox::StandardButton answer) {
            modal_script::clear();
            modal_script::queue_answer(answer);
            answer_name_prompt(name);
            t.w->program_export();
        };
        export_as("book", QMessageBox::No);
        QCOMPARE(t.dir.read("book.xlsx"), QByteArray("old"));
        QCOMPARE(modal_script::shown().value(0).kind, QString("question"));
        QCOMPARE(modal_script::shown().value(0).text, t.dir.file("book.xlsx") + " already exists. Replace it?");
        export_as("book", QMessageBox::Yes);
        QVERIFY(t.dir.read("book.xlsx").startsWith("PK"));
        QCOMPARE(status(t.w.get()), "Exported 1 row to " + t.dir.file("book.xlsx"));
    }

    // Chinese folder and file names reach the file system as the system's (UTF-8) names, never GBK.
    void chinese_folder_and_file_names()
    {
        TableWindow t("KT40");
        const QString folder = QString::fromUtf8("测量 数据");
        QDir(t.dir.path()).mkpath(folder);
        t.add_row({QString::fromUtf8("点1"), "K", "1", "2", "3"});
        const QString saved = t.dir.file(folder + QString::fromUtf8("/测试.ndad"));
        modal_script::queue_file(saved);
        QVERIFY(t.w->save_table_as());
        answer_name_prompt(QString::fromUtf8("工作簿"));
        t.w->program_export();
        QStringList names = QDir(t.dir.file(folder)).entryList(QDir::Files);
        names.sort();
        QCOMPARE(names, (QStringList{QString::fromUtf8("工作簿.xlsx"), QString::fromUtf8("测试.ndad")}));
        QCOMPARE(QFile::encodeName(saved), saved.toUtf8());
        t.w->program_clear();
        modal_script::queue_file(saved);
        t.w->program_fileopen();
        QCOMPARE(t.rows(), (Rows{{QString::fromUtf8("点1"), "K", "1", "2", "3"}}));
        QCOMPARE(t.w->ui->lineEdit->text(), saved);
    }

    // The dialogs start in the last folder used; the recent files, newest first, are in the File menu
    // and config.xml; a file that is gone is said and dropped.
    void last_folder_and_recent_files()
    {
        TableWindow t("KT40");
        MainWindow* w = t.w.get();
        w->program_fileopen();
        QCOMPARE(modal_script::shown().value(0).dir, t.dir.path()); // the program folder at first
        QVERIFY(modal_script::shown().value(0).filter.startsWith(
            "All supported files (*.ndad *.edad *.ndat *.gdat *.svf *.pts *.txt *.csv *.dxf *.xml *.gpkg *.shp "
            "*.geojson *.kml *.xlsx *.ods);;Name,Code,N,E,Z (*.ndad);;"));
        for (int i = 1; i <= 9; ++i)
            t.dir.write(QString("f%1/p%1.txt").arg(i), "P,K,1,2,3\n");
        for (int i = 1; i <= 9; ++i) {
            modal_script::queue_file(t.dir.file(QString("f%1/p%1.txt").arg(i)));
            w->program_fileopen();
        }
        QStringList expected;
        for (int i = 9; i >= 2; --i)
            expected << t.dir.file(QString("f%1/p%1.txt").arg(i));
        QCOMPARE(w->recent_files, expected);
        const QString config = QString::fromUtf8(t.dir.read("config/config.xml"));
        QVERIFY(config.contains("<lastfolder>" + t.dir.file("f9") + "</lastfolder>"));
        QVERIFY(config.contains("<recentfiles>" + expected.join('\n') + "</recentfiles>"));

        modal_script::clear();
        w->program_filesaveas();
        QCOMPARE(modal_script::shown().value(0).dir, t.dir.file("f9"));

        // The menu opens a recent file; one that is gone is said and dropped.
        QMenu* menu = recent_menu(w)->menu();
        QCOMPARE(menu->actions().size(), 8);
        QVERIFY(menu->actions()[0]->text().endsWith(QDir::toNativeSeparators(expected[0])));
        QFile::remove(expected[1]);
        modal_script::clear();
        menu->actions()[1]->trigger();
        QCOMPARE(shown_messages(), QStringList{"warning: The file " + expected[1] + " no longer exists."});
        QCOMPARE(w->recent_files.size(), 7);
        w->program_clear();
        recent_menu(w)->menu()->actions()[2]->trigger();
        QCOMPARE(w->ui->lineEdit->text(), expected[3]);
        QCOMPARE(w->recent_files.first(), expected[3]);

        // The next start reads them back.
        auto again = start_window("KT40");
        QCOMPARE(again->recent_files, w->recent_files);
        QCOMPARE(again->file_dialog_folder(), t.dir.file("f6"));
    }
};

KT_TEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
