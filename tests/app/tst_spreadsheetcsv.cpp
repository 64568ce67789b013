// The CSV for spreadsheets chosen in Save As, and read back through Import as a user whose
// spreadsheet writes decimal commas: the decimal mark told from the file, the numbers exact; and
// opened back with File > Open.
#include "dialogs/importdialog.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_importdialog.h"
#include "window/mainwindow.h"

class TestSpreadsheetCsv : public QObject
{
    Q_OBJECT

private slots:
    void saved_and_imported_back()
    {
        TableWindow t("KT40");
        const QList<QStringList> points{{"A1", "K", "3520100.123", "512300.456", "42.15"},
                                        {QString::fromUtf8("界桩;2"), "", "-0.5", "12", ""}};
        for (const QStringList& point : points)
            t.add_row(point);
        modal_script::queue_file(t.dir.file("sheet"), "CSV for spreadsheets (semicolons, decimal comma) (*.csv)");
        QVERIFY(t.w->save_table_as());
        // The byte order mark, then UTF-8.
        QCOMPARE(t.dir.read("sheet.csv"),
                 "\xEF\xBB\xBF" + QString::fromUtf8("Name;Code;N;E;Z\nA1;K;3520100,123;512300,456;"
                                                    "42,15\n\"界桩;2\";;-0,5;12;\n")
                                      .toUtf8());
        modal_script::queue_file(t.dir.file("sheet.csv"));
        QString mark;
        answer_next_dialog([&](QDialog* dialog) {
            auto* import = qobject_cast<ImportDialog*>(dialog);
            if (!import)
                return dialog->reject();
            mark = import->ui->comboDecimal->currentText();
            import->ui->pushButtonOk->click();
        });
        t.w->program_import();
        QCOMPARE(mark, QString("Comma (,)"));
        QCOMPARE(t.rows(), points);

        // Open takes the file by its header row, not as comma-delimited lines, in either layout.
        for (const char* type : {"KT40", "KT20_KT40"}) {
            TableWindow opened(type);
            QFile::copy(t.dir.file("sheet.csv"), opened.dir.file("sheet.csv"));
            QVERIFY(opened.w->open_point_file(opened.dir.file("sheet.csv")));
            const QList<QStringList> rows = opened.rows();
            QCOMPARE(rows.size(), points.size());
            for (int i = 0; i < points.size(); ++i) {
                for (const QString& field : points[i])
                    QVERIFY2(field.isEmpty() || rows[i].contains(field), qPrintable(type + (": " + field)));
            }
        }
    }
};

KT_TEST_MAIN(TestSpreadsheetCsv)
#include "tst_spreadsheetcsv.moc"
