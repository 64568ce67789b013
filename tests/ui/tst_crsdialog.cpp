// The coordinate system dialog on its own: searching PROJ's database by code and by name words, each
// system's area of use, the recent choices on top, "none", and what OK and Cancel give.
#include "dialogs/crsdialog.h"
#include "support/ui/ktest.h"
#include "ui_crsdialog.h"

#include <QTableWidget>

namespace
{

const QStringList kTexts{"System",
                         "Search:",
                         "hint",
                         "Code",
                         "Name",
                         "None (local coordinates)",
                         "Area: %1 (%2 to %3, %4 to %5)",
                         "OK",
                         "Cancel",
                         "Recent",
                         "No database: %1",
                         "Nothing matches \"%1\"."};

QStringList column(const CrsDialog& dialog, int column, int rows)
{
    QStringList texts;
    for (int row = 0; row < qMin(rows, dialog.ui->tableWidget->rowCount()); ++row)
        texts << dialog.ui->tableWidget->item(row, column)->text();
    return texts;
}

} // namespace

class TestCrsDialog : public QObject
{
    Q_OBJECT

private slots:
    // The search box's clear button fades in with an animation that deletes itself once it has run;
    // the events after each case let it finish.
    void cleanup() { QTest::qWait(300); }

    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QStringList>("first_codes"); // after the "none" row
        QTest::addColumn<QString>("first_name");

        QTest::newRow("code") << "4547" << QStringList{} << QStringList{"EPSG:4547"}
                              << "CGCS2000 / 3-degree Gauss-Kruger CM 114E";
        QTest::newRow("code with authority")
            << "EPSG:32650" << QStringList{} << QStringList{"EPSG:32650"} << "WGS 84 / UTM zone 50N";
        QTest::newRow("name words") << "UTM 50N" << QStringList{} << QStringList{"EPSG:32650"}
                                    << "WGS 84 / UTM zone 50N";
        QTest::newRow("a recent choice that matches comes first")
            << "CGCS2000 114E" << QStringList{"EPSG:4547"} << QStringList{"EPSG:4547"}
            << "CGCS2000 / 3-degree Gauss-Kruger CM 114E";
        QTest::newRow("no search: the recent choices, newest first")
            << "" << QStringList{"EPSG:32650", "EPSG:4547"} << QStringList{"EPSG:32650", "EPSG:4547"}
            << "WGS 84 / UTM zone 50N";
    }

    void search()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, recent);
        QFETCH(QStringList, first_codes);
        QFETCH(QString, first_name);
        CrsDialog dialog;
        dialog.recent = recent;
        QVERIFY(dialog.crsdlg_ini(kTexts));
        dialog.ui->lineEdit->setText(query);
        QCOMPARE(dialog.ui->tableWidget->item(0, 1)->text(), QString("None (local coordinates)"));
        QCOMPARE(column(dialog, 0, first_codes.size() + 1).mid(1), first_codes);
        QCOMPARE(dialog.ui->tableWidget->item(1, 1)->text(), first_name);
        // Recent choices are marked.
        QCOMPARE(dialog.ui->tableWidget->item(1, 0)->font().bold(), recent.contains(first_codes[0]));
        dialog.ui->tableWidget->selectRow(1);
        QVERIFY(dialog.ui->label_2->text().startsWith("Area: "));
        dialog.ui->pushButton->click();
        QVERIFY(dialog.result_flag);
        QCOMPARE(dialog.chosen, first_codes[0]);
    }

    void area_of_use_of_4547()
    {
        CrsDialog dialog;
        QVERIFY(dialog.crsdlg_ini(kTexts));
        dialog.ui->lineEdit->setText("4547");
        dialog.ui->tableWidget->selectRow(1);
        // PROJ's database: China between 112.5°E and 115.5°E.
        QVERIFY2(dialog.ui->label_2->text().contains("(112.5 to 115.5, "), qPrintable(dialog.ui->label_2->text()));
    }

    void none_cancel_and_nothing_found()
    {
        CrsDialog dialog;
        dialog.current = "EPSG:4547";
        QVERIFY(dialog.crsdlg_ini(kTexts));
        // The current choice is listed and selected before any search.
        QCOMPARE(dialog.system_of_row(dialog.ui->tableWidget->currentRow()), QString("EPSG:4547"));
        dialog.ui->lineEdit->setText("no such system anywhere");
        QCOMPARE(dialog.ui->tableWidget->rowCount(), 1);
        QCOMPARE(dialog.ui->label_2->text(), QString("Nothing matches \"no such system anywhere\"."));
        dialog.ui->tableWidget->selectRow(0);
        dialog.ui->pushButton->click();
        QVERIFY(dialog.result_flag);
        QCOMPARE(dialog.chosen, QString()); // none: local coordinates

        CrsDialog cancelled;
        cancelled.current = "EPSG:4547";
        QVERIFY(cancelled.crsdlg_ini(kTexts));
        cancelled.ui->pushButton_2->click();
        QVERIFY(!cancelled.result_flag);
        QVERIFY(!CrsDialog().crsdlg_ini(kTexts.mid(1)));
    }
};

KT_TEST_MAIN(TestCrsDialog)
#include "tst_crsdialog.moc"
