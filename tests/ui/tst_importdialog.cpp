// The import dialog with the shipped English texts on real files: each delimiter, a title line and a
// header, skipped lines, a GBK and a UTF-8 file (and the encoding changed by hand), the rows as they will
// land, the hints that keep OK off, the user's changes, and a workbook made with openpyxl through the
// rows-in, points-out entry answered as a user would.
#include "config/xml_analysis.h"
#include "data/localtext.h"
#include "dialogs/importdialog.h"
#include "gis/workbookreader.h"
#include "support/core/geotest.h"
#include "support/ui/ktest.h"
#include "ui_importdialog.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

namespace
{

QStringList shipped_texts(const char* list = "ImportDlg")
{
    xml_analysis xml;
    for (const QStringList& row : xml.get_parameter("English", KT_SOURCE_DIR "/dist")) {
        if (row.value(0) == list)
            return row.mid(1);
    }
    return {};
}

// The rows the dialog shows as they will land, "|" between cells, "/" between rows.
QString landing(const ImportDialog& dialog)
{
    QStringList rows;
    const QTableWidget* table = dialog.ui->tableRows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
        rows << cells.join('|');
    }
    return rows.join('/');
}

QComboBox* combo(const ImportDialog& dialog, PointRole role)
{
    QComboBox* combos[] = {dialog.ui->comboName, dialog.ui->comboCode, dialog.ui->comboNorth, dialog.ui->comboEast,
                           dialog.ui->comboHeight};
    return combos[int(role)];
}

void choose_column(const ImportDialog& dialog, PointRole role, int column)
{
    QComboBox* box = combo(dialog, role);
    box->setCurrentIndex(box->findData(column));
}

} // namespace

class TestImportDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList texts_;
    QStringList decimal_texts_;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        write_bytes(path, bytes);
        return path;
    }

private slots:
    void initTestCase()
    {
        texts_ = shipped_texts();
        QCOMPARE(texts_.size(), int(ImportDialog::TextCount));
        decimal_texts_ = shipped_texts("DecimalMarkTexts");
        QCOMPARE(decimal_texts_.size(), int(ImportDialog::DecimalTextCount));
    }

    void text_files_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<int>("skip");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<bool>("ok");

        QTest::newRow("comma, header in English words")
            << QByteArray("Name,Code,Northing,Easting,Elevation\nP1,K,100.5,200.25,3\nP2,,101,201,\n") << "Comma"
            << "GBK" << 0 << true << "P1|K|100.5|200.25|3/P2||101|201|"
            << "2 rows will be read; 1 line is skipped" << true;
        QTest::newRow("semicolon under a title line, a blank line left out")
            << QByteArray("Exported by FieldOffice\nPt;N;E;Z\nA;1,5;2,5;3\n\nB;4;5;6\n") << "Semicolon"
            << "GBK" << 1 << true << "A||1.5|2.5|3/B||4|5|6"
            << "2 rows will be read; 3 lines are skipped; 2 decimal commas become points" << true;
        QTest::newRow("tab without header: the user chooses N and E")
            << QByteArray("P1\t100\t200\nP2\t110\t210\n") << "Tab"
            << "GBK" << 0 << false << "||||/||||"
            << "2 rows will be read; 0 lines are skipped" << false;
        QTest::newRow("spaces, a quoted name") << QByteArray("name  n  e  z\n\"Gate A\"  10.0  20.0  1.5\n") << "Spaces"
                                               << "GBK" << 0 << true << "Gate A||10.0|20.0|1.5"
                                               << "1 row will be read; 1 line is skipped" << true;
        QTest::newRow("GBK, Chinese header")
            << to_local_text(QString::fromUtf8("点名,编码,北,东,高程\n控制点1,树,3380000.1,500000.2,12\n")) << "Comma"
            << "GBK" << 0 << true << QString::fromUtf8("控制点1|树|3380000.1|500000.2|12")
            << "1 row will be read; 1 line is skipped" << true;
        QTest::newRow("UTF-8, Chinese header")
            << QString::fromUtf8("点号;东;北;高程\n界桩;500000.2;3380000.1;9\n").toUtf8() << "Semicolon"
            << "UTF-8" << 0 << true << QString::fromUtf8("界桩||3380000.1|500000.2|9")
            << "1 row will be read; 1 line is skipped" << true;
    }

    void text_files()
    {
        QFETCH(QByteArray, bytes);
        ImportDialog dialog;
        QVERIFY(dialog.set_text_file(write("points.txt", bytes)));
        QVERIFY(dialog.importdlg_ini(texts_, decimal_texts_));
        QTEST(dialog.ui->comboDelimiter->currentText(), "delimiter");
        QTEST(dialog.ui->comboEncoding->currentText(), "encoding");
        QTEST(dialog.ui->spinSkip->value(), "skip");
        QTEST(dialog.ui->checkHeader->isChecked(), "header");
        QTEST(landing(dialog), "rows");
        QTEST(dialog.ui->labelSummary->text(), "summary");
        QTEST(dialog.ui->pushButtonOk->isEnabled(), "ok");
        QCOMPARE(dialog.ui->labelHint->isHidden(), dialog.ui->pushButtonOk->isEnabled());
    }

    void decimal_marks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("hint"); // row, text and rows of the grouped numbers' hint, or nothing
        QTest::newRow("a spreadsheet's semicolons and decimal commas")
            << QByteArray("Pt;N;E;Z\nA1;3520100,123;512300,456;42,15\nA2;3520110;512310,5;\n") << "Comma (,)"
            << "A1||3520100.123|512300.456|42.15/A2||3520110|512310.5|"
            << "";
        QTest::newRow("semicolons and points") << QByteArray("Pt;N;E\nP;1.25;2.5\n") << "Point (.)"
                                               << "P||1.25|2.5|"
                                               << "";
        QTest::newRow("thousands points refused")
            << QByteArray("Pt\tN\tE\nA1\t512300,456\t1\nA2\t3.520.100,123\t512300,456\n") << "Comma (,)"
            << "A1||512300.456|1|/A2||3.520.100;123|512300.456|"
            << "3|3.520.100,123|1";
        QTest::newRow("a comma file's 1,234 is never 1.234")
            << QByteArray("Pt,N,E\nA,\"1,234\",5\nB,\"2,5\",6\n") << "Point (.)"
            << "A||1;234|5|/B||2;5|6|"
            << "2|1,234|2";
    }

    void decimal_marks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, hint);
        ImportDialog dialog;
        QVERIFY(dialog.set_text_file(write("sheet.csv", bytes)));
        QVERIFY(dialog.importdlg_ini(texts_, decimal_texts_));
        QTEST(dialog.ui->comboDecimal->currentText(), "mark");
        QTEST(landing(dialog), "rows");
        const QStringList named = hint.split('|');
        QCOMPARE(dialog.ui->labelHint->text(),
                 hint.isEmpty() ? QString()
                                : decimal_texts_.value(ImportDialog::GroupedNumbers).arg(named[0], named[1], named[2]));
        QCOMPARE(dialog.ui->pushButtonOk->isEnabled(), hint.isEmpty());
        // Read with a point, commas are not guessed at; fields split at commas hold no decimal comma.
        dialog.ui->comboDecimal->setCurrentIndex(int(DecimalMark::Point));
        QCOMPARE(dialog.ui->pushButtonOk->isEnabled(), !bytes.contains(','));
        dialog.ui->comboDelimiter->setCurrentIndex(int(Delimiter::Comma));
        QVERIFY(!dialog.ui->comboDecimal->isEnabled());
        QCOMPARE(dialog.ui->comboDecimal->currentIndex(), int(DecimalMark::Point));
    }

    void the_user_changes_the_choice()
    {
        ImportDialog dialog;
        QVERIFY(dialog.set_text_file(write("xy.csv", "Job 7\nID,X,Y,H\nA,3380000.5,500000.25,7\nB,1,2,3\n")));
        QVERIFY(dialog.importdlg_ini(texts_, decimal_texts_));
        QCOMPARE(dialog.ui->spinSkip->value(), 1);
        // X and Y are named, never taken: the user is told to choose, OK stays off.
        QCOMPARE(dialog.ui->labelHint->text(), texts_.value(ImportDialog::NoXY));
        QVERIFY(!dialog.ui->pushButtonOk->isEnabled());
        QCOMPARE(combo(dialog, PointRole::North)->itemText(2), QString("B (X)"));
        choose_column(dialog, PointRole::North, 1);
        choose_column(dialog, PointRole::East, 1);
        QCOMPARE(dialog.ui->labelHint->text(), texts_.value(ImportDialog::ColumnTwice).arg("B"));
        QVERIFY(!dialog.ui->pushButtonOk->isEnabled());
        choose_column(dialog, PointRole::East, 2);
        QVERIFY(dialog.ui->pushButtonOk->isEnabled());
        QCOMPARE(landing(dialog), QString("A||3380000.5|500000.25|7/B||1|2|3"));
        // Skipping one more line takes the header for data: it lands as a row.
        dialog.ui->spinSkip->setValue(2);
        QVERIFY(!dialog.ui->checkHeader->isChecked());
        QCOMPARE(landing(dialog), QString("A||3380000.5|500000.25|7/B||1|2|3"));
        dialog.ui->spinSkip->setValue(1);
        dialog.ui->checkHeader->setChecked(false);
        QCOMPARE(landing(dialog), QString("ID||X|Y|H/A||3380000.5|500000.25|7/B||1|2|3"));
        // Another delimiter splits the lines anew.
        dialog.ui->comboDelimiter->setCurrentIndex(int(Delimiter::Semicolon));
        QCOMPARE(dialog.ui->tableFile->columnCount(), 1);
        dialog.ui->comboDelimiter->setCurrentIndex(int(Delimiter::Comma));
        choose_column(dialog, PointRole::North, 1);
        choose_column(dialog, PointRole::East, 2);
        dialog.ui->pushButtonOk->click();
        QVERIFY(dialog.result_flag);
        QCOMPARE(dialog.points.lines, (QStringList{"A,,3380000.5,500000.25,7", "B,,1,2,3"}));
        QCOMPARE(dialog.skipped_lines, 2);
        QCOMPARE(import_choice_text(dialog.choice), QString("delimiter=comma;skip=1;header=1;columns=0,-1,1,2,3"));
    }

    void the_last_choice_fills_what_the_file_does_not_show()
    {
        ImportDialog dialog;
        QVERIFY(parse_import_choice("delimiter=tab;skip=4;header=0;columns=2,-1,0,1,-1", &dialog.choice));
        dialog.has_last_choice = true;
        QVERIFY(dialog.set_text_file(write("plain.txt", "100,200,P1\n110,210,P2\n")));
        QVERIFY(dialog.importdlg_ini(texts_, decimal_texts_));
        QCOMPARE(dialog.ui->comboDelimiter->currentIndex(), int(Delimiter::Comma)); // the file shows it
        QCOMPARE(dialog.ui->spinSkip->value(), 0);
        QCOMPARE(landing(dialog), QString("P1||100|200|/P2||110|210|"));
        QVERIFY(dialog.ui->pushButtonOk->isEnabled());
    }

    void the_encoding_changed_by_hand()
    {
        // UTF-8 bytes read as GBK are other characters, and the bytes GBK cannot read are counted.
        ImportDialog dialog;
        QVERIFY(dialog.set_text_file(write("u.csv", QString::fromUtf8("点名,N,E\n甲,1,2\n").toUtf8())));
        QVERIFY(dialog.importdlg_ini(texts_, decimal_texts_));
        QCOMPARE(dialog.ui->labelDetected->text(), QString("detected: UTF-8"));
        QCOMPARE(landing(dialog), QString::fromUtf8("甲||1|2|"));
        dialog.ui->comboEncoding->setCurrentIndex(dialog.ui->comboEncoding->findText("GBK"));
        QVERIFY(!landing(dialog).startsWith(QString::fromUtf8("甲")));
        QCOMPARE(dialog.ui->labelDetected->text(), QString("detected: UTF-8"));
        dialog.ui->comboEncoding->setCurrentIndex(dialog.ui->comboEncoding->findText("UTF-8"));
        QCOMPARE(landing(dialog), QString::fromUtf8("甲||1|2|"));
    }

    void unreadable_file_and_short_texts()
    {
        ImportDialog dialog;
        QVERIFY(!dialog.set_text_file(dir_.filePath("missing.csv")));
        QVERIFY(!dialog.error.isEmpty());
        QVERIFY(!dialog.importdlg_ini(texts_.mid(0, ImportDialog::TextCount - 1), decimal_texts_));
    }

    void workbook_through_the_rows_entry()
    {
        const QString path = dir_.filePath("points.xlsx");
        const QByteArray made = run_python("import openpyxl, sys\n"
                                           "book = openpyxl.Workbook(); sheet = book.active\n"
                                           "sheet.append(['Stakeout list'])\n"
                                           "sheet.append(['Point', 'Easting', 'Northing', 'Height', 'Code'])\n"
                                           "sheet.append(['S1', 500000.25, 3380000.5, 12.125, 'PEG'])\n"
                                           "sheet.append(['S2', 500010, 3380010, None, None])\n"
                                           "book.save(sys.argv[1])\n",
                                           {path});
        QVERIFY(!made.isNull());
        const WorkbookRows sheet = read_workbook(path);
        QVERIFY2(sheet.ok(), qPrintable(sheet.message));

        // The dialog is modal: it is answered once shown, as the user would (OK).
        bool shown_right = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ImportDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shown_right = dialog->ui->comboDelimiter->isHidden() && dialog->ui->spinSkip->value() == 1 &&
                          landing(*dialog) == "S1|PEG|3380000.5|500000.25|12.125/S2||3380010|500010|";
            dialog->ui->pushButtonOk->click();
        });
        ImportChoice choice;
        MappedPoints points;
        int skipped = 0;
        QVERIFY(ImportDialog::map_rows(nullptr, texts_, decimal_texts_, sheet.rows, path, &choice, false, &points,
                                       &skipped));
        QTRY_VERIFY(shown_right);
        QCOMPARE(points.lines, (QStringList{"S1,PEG,3380000.5,500000.25,12.125", "S2,,3380010,500010,"}));
        QCOMPARE(skipped, 2);
        QCOMPARE(import_choice_text(choice), QString("delimiter=comma;skip=1;header=1;columns=0,4,2,1,3"));

        // Cancelled: nothing out.
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<ImportDialog*>(QApplication::activeModalWidget()))
                dialog->ui->pushButtonCancel->click();
        });
        QVERIFY(!ImportDialog::map_rows(nullptr, texts_, decimal_texts_, sheet.rows, path, &choice, true, &points,
                                        &skipped));
    }
};

KT_TEST_MAIN(TestImportDialog)
#include "tst_importdialog.moc"
