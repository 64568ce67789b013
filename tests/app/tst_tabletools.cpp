// Working in the point table through the window: Import with its preview (text and workbook, the
// unsaved-rows question first, the choice kept for the next import), Find, suspect rows marked and
// counted (also while a KT40 receive brings them), the plan's selection after Delete, the status line
// at start and after Open and Clear, widths that fit the screen, shortcuts and the log's check box.
#include "comm/kt2040_frames.h"
#include "config/prompts.h"
#include "dialogs/importdialog.h"
#include "plan/planview.h"
#include "support/app/linkedwindow.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/core/geotest.h"
#include "support/ui/ktest.h"
#include "table/findbar.h"
#include "table/suspectmarks.h"
#include "ui_importdialog.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>

using Rows = QList<QStringList>;

namespace
{

// Answers the next import dialog: `check` sees it first, then OK (or Cancel when `accept` is false).
void answer_import(std::function<void(ImportDialog*)> check, bool accept = true)
{
    answer_next_dialog([=](QDialog* dialog) {
        auto* import = qobject_cast<ImportDialog*>(dialog);
        if (!import) {
            dialog->reject();
            return;
        }
        if (check)
            check(import);
        (accept ? import->ui->pushButtonOk : import->ui->pushButtonCancel)->click();
    });
}

QAction* menu_action(MainWindow& w, const QString& key)
{
    for (QAction* action : w.menuBar()->findChildren<QAction*>()) {
        if (action->data().toString() == key && !action->menu())
            return action;
    }
    return nullptr;
}

QStringList cells_of(int count, const QString& text = QString())
{
    QStringList cells;
    for (int i = 0; i < count; ++i)
        cells << text;
    return cells;
}

QString name_of_row(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = row >= 0 ? table->item(row, column) : nullptr;
    return item ? item->text() : QString();
}

} // namespace

class TestTableTools : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void import_asks_first_and_fills_the_table()
    {
        TableWindow t("KT40");
        MainWindow& w = *t.w;
        t.add_row({"old", "", "1", "2", "3"});
        w.rows_appended(0); // a row not saved yet: asked about first, as Open does
        t.dir.write("survey.csv", "Exported by FieldOffice 3.2\nName;Code;Northing;Easting;Elevation\n"
                                  "K1;CTRL;3520100.000;512300.000;42.150\nP3;MH;abc;512284.970;41.076\n\n"
                                  "K1;TREE;3520043.655;512364.701;\n");
        modal_script::queue_answer(QMessageBox::Discard);
        modal_script::queue_file(t.dir.file("survey.csv"));
        QString seen;
        answer_import([&](ImportDialog* d) { seen = d->ui->comboDelimiter->currentText(); });
        w.program_import();
        QCOMPARE(seen, QString("Semicolon"));
        QCOMPARE(t.rows(), (Rows{{"K1", "CTRL", "3520100.000", "512300.000", "42.150"},
                                 {"P3", "MH", "abc", "512284.970", "41.076"},
                                 {"K1", "TREE", "3520043.655", "512364.701", ""}}));
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].kind, QString("question"));
        QCOMPARE(shown[1].kind, QString("open"));
        QCOMPARE(shown[1].title, QString("Import points"));
        QCOMPARE(w.ui->lineEdit->text(), t.dir.file("survey.csv"));
        QCOMPARE(w.ui->lineEdit_2->text(), QString("3"));
        QCOMPARE(w.ui->label_4->text(), QString("Imported 3 rows from survey.csv; 3 lines skipped."));
        QVERIFY(!w.unsaved_rows.pending(w.tableWidget->rowCount())); // the rows are those of a file
        // The rows are marked at once: one coordinate not a number, one name held twice.
        QCOMPARE(w.suspect_marks->status_text(),
                 QString("1 row with a coordinate that is not a number; 2 rows with a repeated name"));

        // The choice is kept: a file without header words takes its columns.
        QVERIFY(QString::fromUtf8(t.dir.read("config/config.xml"))
                    .contains("<importchoice>delimiter=semicolon;skip=1;header=1;columns=0,1,2,3,4</importchoice>"));
        t.dir.write("plain.txt", "Q1;K;10;20;30\n");
        modal_script::queue_file(t.dir.file("plain.txt"));
        answer_import({});
        w.program_import();
        QCOMPARE(t.rows(), (Rows{{"Q1", "K", "10", "20", "30"}}));
        QCOMPARE(w.ui->label_4->text(), QString("Imported 1 row from plain.txt."));
    }

    void import_cancelled_or_unreadable_keeps_the_table()
    {
        TableWindow t("KT40");
        MainWindow& w = *t.w;
        t.add_row({"P1", "K", "1", "2", "3"});
        t.dir.write("a.csv", "N,E\n1,2\n");
        modal_script::queue_file(t.dir.file("a.csv"));
        answer_import({}, false);
        w.program_import();
        modal_script::queue_file(t.dir.file("gone.csv"));
        w.program_import();
        modal_script::queue_file(t.dir.file("gone.xlsx"));
        w.program_import();
        QCOMPARE(t.rows(), (Rows{{"P1", "K", "1", "2", "3"}}));
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.size(), 5);
        QCOMPARE(shown[2].kind, QString("warning"));
        QVERIFY(shown[2].text.startsWith("Could not read the file " + t.dir.file("gone.csv") + ": "));
        QCOMPARE(shown[4].kind, QString("warning"));
        QVERIFY(shown[4].text.startsWith("Could not read the file " + t.dir.file("gone.xlsx") + ": "));
    }

    // A workbook comes in through the import dialog whether Import or Open (any suffix case) reads it.
    void import_a_workbook_into_the_observation_layout_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("hidden"); // a hidden sheet first, the height shown as a date
        QTest::newRow("Import") << false << "stakeout.xlsx" << false;
        QTest::newRow("Open, upper-case suffix") << true << "STAKEOUT.XLSX" << false;
        QTest::newRow("Import, after a hidden sheet") << false << "hidden.xlsx" << true;
    }

    void import_a_workbook_into_the_observation_layout()
    {
        QFETCH(bool, open);
        QFETCH(QString, file);
        QFETCH(bool, hidden);
        TableWindow t("KT20_KT40");
        MainWindow& w = *t.w;
        const QString path = t.dir.file(file);
        QVERIFY(!run_python("import openpyxl, sys\n"
                            "book = openpyxl.Workbook(); sheet = book.active\n"
                            "if sys.argv[2] == '1':\n"
                            "    sheet.title, sheet.sheet_state = 'old', 'hidden'\n"
                            "    sheet = book.create_sheet('points'); book.active = 1\n"
                            "sheet.append(['\\u70b9\\u540d', '\\u7f16\\u7801', 'N', 'E', 'Z'])\n"
                            "sheet.append(['S1', 'PEG', 3380000.5, 500000.25, 12.125])\n"
                            "if sys.argv[2] == '1':\n"
                            "    sheet['E2'].number_format = 'yyyy/mm/dd'\n"
                            "book.save(sys.argv[1])\n",
                            {path, hidden ? "1" : "0"})
                     .isNull());
        modal_script::queue_file(path);
        answer_import([](ImportDialog* d) { QVERIFY(d->ui->comboEncoding->isHidden()); });
        if (open) {
            w.program_fileopen();
            QVERIFY(modal_script::shown().value(0).filter.section(";;", 0, 0).contains("*.xlsx *.ods"));
        } else {
            w.program_import();
        }
        // Point lines land in the observation layout's point, N, E, Z and code columns.
        QCOMPARE(t.rows(),
                 (Rows{{"", "", "S1", "3380000.5", "500000.25", "12.125", "PEG", "", "", "", "", "", "", "", ""}}));
        QCOMPARE(w.plan_view->plan_points().points.size(), 1);
        // What the sheet hid and showed otherwise is told.
        const QStringList told{"information: Reading " + path +
                               ":\n1 hidden sheets skipped (\"old\"): the first visible sheet was read\n"
                               "1 coordinates or heights shown as dates in the workbook were read as their numbers"};
        QCOMPARE(shown_messages(), hidden ? told : QStringList());
    }

    void find_by_name_or_code_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("steps"); // text, then "+" next or "-" previous
        QTest::addColumn<QList<int>>("rows");   // the row selected after each step, -1 not found
        QTest::newRow("coordinates: names and codes, round the end")
            << "KT40" << QStringList{"p1+", "p1+", "p1+", "wall-", "zz+"} << QList<int>{0, 2, 0, 3, -1};
        QTest::newRow("observations: the point and code columns")
            << "KT20_KT40" << QStringList{"lamp+", "P1-", "p1-"} << QList<int>{1, 0, 2};
    }

    void find_by_name_or_code()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, rows);
        TableWindow t(type);
        MainWindow& w = *t.w;
        const bool observation = type == "KT20_KT40";
        const Rows points = {{"P1", "CURB"}, {"K7", "LAMP"}, {"P12", "TREE"}, {"Q", "wall"}};
        for (const QStringList& p : points) {
            QStringList cells = observation ? cells_of(15) : QStringList{p[0], p[1], "1", "2", "3"};
            if (observation) {
                cells[2] = p[0];
                cells[6] = p[1];
                cells[3] = cells[4] = "5";
            }
            t.add_row(cells);
        }
        w.run_command(Command::Find);
        QVERIFY(!w.find_bar->isHidden());
        for (int i = 0; i < steps.size(); ++i) {
            const QString text = steps[i].chopped(1);
            const bool forward = steps[i].endsWith('+');
            const int before = w.tableWidget->currentRow();
            w.find_bar->edit()->setText(text);
            QTest::keyClick(w.find_bar->edit(), Qt::Key_Return, forward ? Qt::NoModifier : Qt::ShiftModifier);
            if (rows[i] < 0) {
                QCOMPARE(w.tableWidget->currentRow(), before);
                QCOMPARE(w.ui->label_4->text(), QString("Not found: no point's name or code holds \"%1\".").arg(text));
                continue;
            }
            QCOMPARE(w.tableWidget->currentRow(), rows[i]);
            QCOMPARE(w.plan_view->selected_row(), rows[i]);
            QCOMPARE(w.ui->label_4->text(), QString("Found \"%1\" in row %2.").arg(text).arg(rows[i] + 1));
        }
        QTest::keyClick(w.find_bar->edit(), Qt::Key_Escape);
        QVERIFY(w.find_bar->isHidden());
    }

    void suspect_marks_while_a_receive_brings_rows()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        const Rows records = {{"A", "", "100", "200", "1"},
                              {"B", "", "1O0", "200", "1"}, // letter O for a zero
                              {"A", "", "101", "201", "1"},
                              {"C", "", "102", "202", ""}};
        QByteArray header = QByteArray::fromHex("aa80") + "CHECK ";
        header.append(char(0)).append(char(records.size())).append(QByteArray::fromHex("aa82"));
        w.program_receivedata();
        link.pty.send(header);
        QCOMPARE(link.pty.receive(2), kt2040::kt40_ack());
        const QStringList counts = {"", "1 row with a coordinate that is not a number",
                                    "1 row with a coordinate that is not a number; 2 rows with a repeated name",
                                    "1 row with a coordinate that is not a number; 2 rows with a repeated name"};
        for (int i = 0; i < records.size(); ++i) {
            link.pty.send(kt2040::kt40_record(i, records[i]));
            QCOMPARE(link.pty.receive(2), kt2040::kt40_ack());
            QTRY_COMPARE(w.suspect_label->text(), counts[i]);
            QCOMPARE(w.suspect_label->isHidden(), counts[i].isEmpty());
        }
        link.pty.send(kt2040::kt40_end());
        QCOMPARE(link.pty.receive(2), kt2040::kt40_end());
        QCOMPARE(w.tableWidget->rowCount(), 4);
        SuspectMarks& marks = *w.suspect_marks;
        QCOMPARE(marks.cell_colour(1, 2), SuspectMarks::kBadCoordinateColour);
        QCOMPARE(marks.cell_tooltip(1, 2), QString("This coordinate is not a number."));
        QCOMPARE(marks.cell_colour(0, 0), SuspectMarks::kRepeatedNameColour);
        QCOMPARE(marks.cell_tooltip(2, 0), QString("The name A is held by 2 rows."));
        QVERIFY(!marks.cell_colour(3, 4).isValid()); // an empty height is no fault
        QVERIFY(!marks.cell_colour(1, 3).isValid());
        // Fixing the cell and deleting the second A take the marks away.
        w.tableWidget->item(1, 2)->setText("100");
        w.tableWidget->selectRow(2);
        w.program_delete();
        QTRY_VERIFY(w.suspect_label->isHidden());
        QCOMPARE(marks.status_text(), QString());
    }

    void plan_rings_the_row_the_table_selects_after_delete_data()
    {
        QTest::addColumn<int>("deleted");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 2;
        QTest::newRow("last") << 4;
    }

    void plan_rings_the_row_the_table_selects_after_delete()
    {
        QFETCH(int, deleted);
        TableWindow t("KT40");
        MainWindow& w = *t.w;
        for (int i = 0; i < 5; ++i)
            t.add_row({QString("P%1").arg(i), "", QString::number(i * 10), QString::number(i * 20), "0"});
        w.tableWidget->selectRow(deleted);
        QCOMPARE(w.plan_view->selected_row(), deleted);
        w.program_delete();
        const QModelIndexList selected = w.tableWidget->selectionModel()->selectedRows();
        const int table_row = selected.isEmpty() ? -1 : selected.first().row();
        // The plan rings the point of the row the table shows selected, or none when none is.
        QCOMPARE(w.plan_view->selected_row(), table_row);
        if (table_row >= 0) {
            const PlanPoints& points = w.plan_view->plan_points();
            const auto ringed = std::find_if(points.points.begin(), points.points.end(),
                                             [&](const PlanPoint& p) { return p.row == table_row; });
            QVERIFY(ringed != points.points.end());
            QCOMPARE(ringed->name, name_of_row(w.tableWidget, table_row, 0));
        }
    }

    void status_line_at_start_and_after_table_changes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("baudrate");
        QTest::newRow("KT20_KT40") << "KT20_KT40"
                                   << "1200";
        QTest::newRow("KT85R") << "KT85R"
                               << "1200";
        QTest::newRow("KT40") << "KT40"
                              << "9600";
        QTest::newRow("KT90") << "KT90"
                              << "19200";
    }

    void status_line_at_start_and_after_table_changes()
    {
        QFETCH(QString, type);
        QFETCH(QString, baudrate);
        TableWindow t(type);
        MainWindow& w = *t.w;
        // The first connect opens at the type's rate: the status line says so from the start.
        QCOMPARE(w.ui->label_3->text().section(' ', 1, 1), baudrate);
        if (type == "KT90")
            return;
        // A message about received points goes when the table is replaced or cleared.
        w.show_statemsg(w.getpopup_prompt(Prompt::AllReceived), Status::Message);
        t.dir.write("p.gdat", "1,P1,1,2,3,K\n");
        modal_script::queue_file(t.dir.file("p.gdat"));
        w.program_fileopen();
        QCOMPARE(w.ui->label_4->text(),
                 QString("Opened %1: %2").arg(t.dir.file("p.gdat"), type == "KT40" ? "1 row" : "0 rows"));
        w.show_statemsg(w.getpopup_prompt(Prompt::AllReceived), Status::Message);
        w.program_clear();
        QCOMPARE(w.ui->label_4->text(), w.getpopup_prompt(Prompt::NotConnected));
    }

    void every_column_shows_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("screen");
        QTest::newRow("coordinates, English, 1024x768") << "KT40"
                                                        << "English" << QSize(1024, 768);
        QTest::newRow("coordinates, Chinese, 1024x768") << "KT40"
                                                        << "Chinese" << QSize(1024, 768);
        QTest::newRow("observations, English, 1366x768") << "KT20_KT40"
                                                         << "English" << QSize(1366, 768);
        QTest::newRow("observations, Chinese, 1366x768") << "KT85R"
                                                         << "Chinese" << QSize(1366, 768);
    }

    void every_column_shows()
    {
        QFETCH(QString, type);
        QFETCH(QString, language);
        QFETCH(QSize, screen);
        // The desktop's font (the headless platform's own is a third larger).
        const QFont platform_font = QApplication::font();
        QApplication::setFont(QFont("Sans Serif", 9));
        const auto restore = qScopeGuard([&] { QApplication::setFont(platform_font); });
        TableWindow t(type, [&](WorkDir& dir) { dir.set_language(language); });
        MainWindow& w = *t.w;
        for (int i = 0; i < 200; ++i) // a vertical scroll bar and five-digit row numbers' room
            t.add_row(cells_of(w.tableWidget->columnCount(), "8"));
        w.showNormal();
        w.resize(screen);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(w.width(), screen.width());
        QTableWidget* table = w.tableWidget;
        QTRY_COMPARE(table->horizontalScrollBar()->maximum(), 0);
        const QHeaderView* header = table->horizontalHeader();
        const int last = table->columnCount() - 1;
        QVERIFY(header->sectionViewportPosition(last) + header->sectionSize(last) <= table->viewport()->width());
        QVERIFY(w.plan_view->width() >= 200);
        // A record kind label shows whole on one line.
        QVERIFY(!table->wordWrap());
        const QString measured = w.get_map_data("MP", w.CoordinateType);
        if (type != "KT40")
            QVERIFY2(table->columnWidth(0) >= table->fontMetrics().horizontalAdvance(measured) + 6,
                     qPrintable(QString::number(table->fontMetrics().horizontalAdvance(measured))));
    }

    void plan_counts_read_right()
    {
        TableWindow t("KT20_KT40");
        MainWindow& w = *t.w;
        const auto add = [&](const QString& kind, const QString& name, const QString& n, const QString& e) {
            QStringList row = cells_of(15);
            row[0] = kind;
            row[2] = name;
            row[3] = n;
            row[4] = e;
            t.add_row(row);
        };
        add(w.get_map_data("STN", w.CoordinateType), "S1", "100", "200");
        add(w.get_map_data("BK", w.CoordinateType), "S2", "", ""); // no coordinates by design
        add("BK", "S3", "", "");                                   // a file's record code
        add(w.get_map_data("MP", w.CoordinateType), "M1", "x", "5");
        QCOMPARE(w.plan_view->status_text(), QString("1 point  1 row without numeric coordinates is not drawn"));
        add(w.get_map_data("MP", w.CoordinateType), "M2", "7", "8");
        add("", "M3", "", "9");
        QCOMPARE(w.plan_view->status_text(), QString("2 points  2 rows without numeric coordinates are not drawn"));
        w.tableWidget->removeRow(1); // the uncounted backsight before the changed rows
        QCOMPARE(w.plan_view->status_text(), QString("2 points  2 rows without numeric coordinates are not drawn"));
    }

    void shortcuts_and_the_log_check_box()
    {
        TableWindow t("KT40");
        MainWindow& w = *t.w;
        const QList<QPair<QString, QKeySequence>> keys = {
            {"FileOpen", QKeySequence(QKeySequence::Open)},      {"FileSaveas", QKeySequence(QKeySequence::Save)},
            {"NewCoordinates", QKeySequence(QKeySequence::New)}, {"DeleteCoordinates", QKeySequence(Qt::Key_Delete)},
            {"FindPoint", QKeySequence(QKeySequence::Find)},     {"ImportPoints", QKeySequence()}};
        for (const auto& key : keys) {
            QAction* action = menu_action(w, key.first);
            QVERIFY2(action, qPrintable(key.first));
            QCOMPARE(action->shortcut(), key.second);
        }
        // The log's item shows a box whose picture changes when it is checked.
        QAction* log = menu_action(w, "CommLog");
        QVERIFY(log->isCheckable() && !log->icon().isNull());
        const QImage off = log->icon().pixmap(16, QIcon::Normal, QIcon::Off).toImage();
        const QImage on = log->icon().pixmap(16, QIcon::Normal, QIcon::On).toImage();
        QVERIFY(!off.isNull() && !on.isNull() && off != on);

        TableWindow kt90("KT90");
        QCOMPARE(menu_action(*kt90.w, "RefreshPorts")->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY(menu_action(*kt90.w, "Disconnect"));
    }
};

KT_TEST_MAIN(TestTableTools)
#include "tst_tabletools.moc"
