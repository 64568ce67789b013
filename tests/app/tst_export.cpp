// The workbook export through the window, read back with openpyxl: sheet, titles, cells, format,
// the coordinate layout's columns, refused names and a failed export that keeps the old workbook.
#include "dialogs/inputmsg_dangedialog.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_inputmsg_dangedialog.h"
#include "window/mainwindow.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTableWidget>

namespace
{

QStringList blank_row()
{
    QStringList cells;
    for (int column = 0; column < 15; ++column)
        cells << QString();
    return cells;
}

// The workbook as openpyxl sees it: sheet names, then per row [value, bold, centred] per cell.
QJsonObject read_workbook(const QString& path)
{
    const QString script = R"(
import sys, json, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book["Data"]
rows = []
for row in sheet.iter_rows(min_row=1, max_row=sheet.max_row):
    rows.append([[c.value, bool(c.font.b), c.alignment.horizontal] if c.value is not None else None for c in row])
print(json.dumps({"sheets": book.sheetnames, "rows": rows}))
)";
    QProcess process;
    process.start(KT_PYTHON, {"-c", script, path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning().noquote() << process.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

QJsonArray bold_centred(const QString& text)
{
    return QJsonArray{text, true, "center"};
}

QJsonArray row_of(const QStringList& texts)
{
    QJsonArray row;
    for (const QString& text : texts)
        row.append(text.isNull() ? QJsonValue() : QJsonValue(bold_centred(text)));
    return row;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void observations()
    {
        TableWindow t("KT20_KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        QStringList station = blank_row();
        station[0] = "STN";
        station[2] = QString::fromUtf8("测站1");
        station[9] = QString::fromUtf8("123°45'30\"");
        station[3] = "100";
        station[4] = "200";
        station[5] = "5";
        t.add_row(station);
        QStringList comma = blank_row();
        comma[2] = "a,b"; // eleven fields: its sheet row stays empty
        t.add_row(comma);
        t.add_row({"MP", "", "P2"});

        answer_name_prompt("survey");
        w->program_export();
        const QString path = dir.file("survey.xlsx");
        const QJsonObject book = read_workbook(path);
        QCOMPARE(book["sheets"].toArray(), QJsonArray{"Data"});
        const QJsonArray rows = book["rows"].toArray();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].toArray(), row_of(w->get_parametretitle("PointExportKT20KT40")));
        QCOMPARE(rows[1].toArray(), row_of({"STN", QString::fromUtf8("测站1"), "1234530", QString(), QString(),
                                            QString(), "200", "100", "5", QString()}));
        for (const QJsonValue& cell : rows[2].toArray())
            QVERIFY(cell.isNull());
        QCOMPARE(rows[3].toArray(), row_of({"MP", "P2", QString(), QString(), QString(), QString(), QString(),
                                            QString(), QString(), QString()}));
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].text, QString("Saved %1.").arg(path));
    }

    void coordinates_under_the_table_captions()
    {
        TableWindow t("KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        t.add_row({"P1", "K", "100.5", "200", "5"});
        t.add_row({"P2"});
        answer_name_prompt("points");
        w->program_export();
        const QJsonArray rows = read_workbook(dir.file("points.xlsx"))["rows"].toArray();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].toArray(), row_of({"Point name", "Code", "N", "E", "Z"}));
        QCOMPARE(rows[1].toArray(), row_of({"P1", "K", "100.5", "200", "5"}));
        QCOMPARE(rows[2].toArray(), row_of({"P2", QString(), QString(), QString(), QString()}));
    }

    void refused_names_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"", "  ", "a/b", "a\\b", "c:x", "what?", "<x>", "a|b", "..", "CON", "name."})
            QTest::newRow(name) << name;
    }

    void refused_names()
    {
        QFETCH(QString, name);
        TableWindow t("KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        answer_name_prompt(name);
        w->program_export();
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].kind, QString("warning"));
        QVERIFY(modal_script::shown()[0].text.startsWith(QString("\"%1\" cannot be used as a file name").arg(name)));
        QCOMPARE(QDir(dir.path()).entryList({"*.xlsx"}, QDir::Files | QDir::Hidden), QStringList());
    }

    void cancelled_or_without_titles_does_nothing()
    {
        // The texts without the key (a UI-text file that lacks it gets the program's own at start).
        TableWindow t("KT20_KT40");
        t.drop_texts("PointExportKT20KT40");
        bool asked = false;
        QPointer<QTimer> poll = answer_next_dialog([&asked](QDialog* dialog) {
            asked = true;
            dialog->reject();
        });
        t.w->program_export();
        delete poll.data();
        QVERIFY(!asked); // no titles: not even the name is asked for

        TableWindow k("KT40");
        answer_name_prompt(QString());
        k.w->program_export();
        QVERIFY(modal_script::shown().isEmpty());
        QCOMPARE(QDir(k.dir.path()).entryList({"*.xlsx"}, QDir::Files), QStringList());
    }

    // A workbook that cannot be completed is reported and the earlier one stays as it was.
    void failed_export_keeps_the_old_workbook()
    {
        TableWindow t("KT40");
        const WorkDir& dir = t.dir;
        MainWindow* w = t.w.get();
        t.add_row({"P1", "K", "1", "2", "3"});
        answer_name_prompt("keep");
        w->program_export();
        const QByteArray before = dir.read("keep.xlsx");
        QVERIFY(!before.isEmpty());

        t.add_row({QString(40000, 'x')}); // longer than a workbook cell may hold
        modal_script::clear();
        modal_script::queue_answer(QMessageBox::Yes); // replace it
        answer_name_prompt("keep");
        w->program_export();
        QCOMPARE(modal_script::shown().size(), 2);
        QCOMPARE(modal_script::shown()[0].kind, QString("question"));
        QCOMPARE(modal_script::shown()[1].kind, QString("warning"));
        QVERIFY(modal_script::shown()[1].text.startsWith("Could not write the file " + dir.file("keep.xlsx") + ": "));
        QCOMPARE(dir.read("keep.xlsx"), before);
    }
};

KT_TEST_MAIN(TestExport)
#include "tst_export.moc"
