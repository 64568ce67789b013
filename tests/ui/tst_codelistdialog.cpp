// The code list dialog on its own: its texts in both languages, adding, changing and deleting codes,
// a row that cannot be in the list refused on OK, a refused file told with its line and leaving the
// rows, a good file imported, the rows exported and read back.
#include "config/xml_analysis.h"
#include "dialogs/codelistdialog.h"
#include "support/ui/ktest.h"
#include "ui_codelistdialog.h"

#include <QComboBox>
#include <QTemporaryDir>

namespace
{

QStringList texts_of(const QString& language)
{
    for (const QStringList& row : xml_analysis().get_parameter(language, KT_SOURCE_DIR "/dist")) {
        if (row.value(0) == QLatin1String("CodeListDialog"))
            return row.mid(1);
    }
    return {};
}

CodeList shipped_list()
{
    CodeList list;
    CodeListError error;
    read_code_list_file(KT_SOURCE_DIR "/dist/config/codes.xml", &list, &error);
    return list;
}

} // namespace

class TestCodeListDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void texts_in_both_languages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("Chinese") << "Chinese" << QString::fromUtf8("编码表");
        QTest::newRow("English") << "English"
                                 << "Code list";
    }

    void texts_in_both_languages()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        const QStringList texts = texts_of(language);
        QCOMPARE(texts.size(), int(CodeListDialog::kTextCount));
        CodeListDialog dialog;
        QVERIFY(!dialog.codelistdlg_ini(texts.mid(1)));
        dialog.codes = shipped_list();
        QVERIFY(dialog.codelistdlg_ini(texts));
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(dialog.ui->tableWidget->rowCount(), dialog.codes.size());
        QCOMPARE(dialog.ui->tableWidget->horizontalHeaderItem(0)->text(), texts[CodeListDialog::kCodeColumn]);
        const auto* kind = qobject_cast<QComboBox*>(dialog.ui->tableWidget->cellWidget(0, 1));
        QCOMPARE(kind->currentText(), texts[CodeListDialog::kLineKind]); // WALL
        // A picture of the dialog at its size on a 1024x768 screen, when asked for.
        const QString pictures = qEnvironmentVariable("KT_SCREENSHOTS");
        if (!pictures.isEmpty()) {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QVERIFY(dialog.grab().save(pictures + "/codelistdialog-" + language + ".png"));
        }
    }

    void add_change_delete_and_ok()
    {
        CodeListDialog dialog;
        dialog.codes = shipped_list();
        QVERIFY(dialog.codelistdlg_ini(texts_of("English")));
        QTableWidget* table = dialog.ui->tableWidget;
        dialog.ui->pushButton->click(); // add
        const int added = table->rowCount() - 1;
        table->item(added, 0)->setText("GATE");
        qobject_cast<QComboBox*>(table->cellWidget(added, 1))->setCurrentIndex(0); // point
        table->item(0, 2)->setText("WALLS");                                       // change WALL's layer
        table->selectRow(1);                                                       // FENCE
        dialog.ui->pushButton_2->click();
        dialog.ui->lineEdit_3->setText("#");
        dialog.ui->pushButton_5->click(); // OK
        QVERIFY(dialog.result_flag);
        QCOMPARE(dialog.codes.size(), shipped_list().size());
        QVERIFY(dialog.codes.find("FENCE") < 0);
        QCOMPARE(dialog.codes.entries()[dialog.codes.find("GATE")].kind, CodeKind::Point);
        QCOMPARE(dialog.codes.entries()[dialog.codes.find("GATE")].layer, QString("GATE"));
        QCOMPARE(dialog.codes.entries()[0].layer, QString("WALLS"));
        QCOMPARE(dialog.codes.close(), QChar('#'));

        // A code held twice, letter case aside, keeps the dialog open with the row named.
        CodeListDialog refused;
        refused.codes = shipped_list();
        QVERIFY(refused.codelistdlg_ini(texts_of("English")));
        refused.ui->pushButton->click();
        refused.ui->tableWidget->item(refused.ui->tableWidget->rowCount() - 1, 0)->setText("fence");
        refused.ui->pushButton_5->click();
        QVERIFY(!refused.result_flag);
        QCOMPARE(shown_messages(), QStringList{QStringLiteral("warning: Row %1: the code fence is listed twice.")
                                                   .arg(refused.ui->tableWidget->rowCount())});
    }

    void import_and_export()
    {
        QTemporaryDir folder;
        const QString bad = folder.filePath("bad.xml"), good = folder.filePath("good.xml");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<CODELIST>\n<code code=\"A\" kind=\"line\"/>\n<code code=\"a\" kind=\"area\"/>\n</CODELIST>\n");
        file.close();
        CodeList small;
        QVERIFY(small.append({"POST", CodeKind::Point, "POSTS", 5, "Post", QString::fromUtf8("桩")}));
        QString why;
        QVERIFY(write_code_list_file(good, small, &why));

        CodeListDialog dialog;
        dialog.codes = shipped_list();
        QVERIFY(dialog.codelistdlg_ini(texts_of("English")));
        modal_script::queue_file(bad);
        dialog.ui->pushButton_3->click();
        QCOMPARE(shown_messages(), QStringList{"warning: bad.xml was not read: line 3, column 28: the code a is "
                                               "listed twice. The code list is unchanged."});
        QCOMPARE(dialog.ui->tableWidget->rowCount(), shipped_list().size());
        modal_script::queue_file(good);
        dialog.ui->pushButton_3->click();
        QCOMPARE(dialog.ui->tableWidget->rowCount(), 1);
        QCOMPARE(dialog.ui->label_4->text(), QString("Codes read from good.xml: 1."));

        const QString exported = folder.filePath("exported.xml");
        modal_script::queue_file(exported);
        dialog.ui->pushButton_4->click();
        QCOMPARE(read_file(exported), code_list_xml(small));
        dialog.ui->pushButton_6->click();
        QVERIFY(!dialog.result_flag);
    }
};

KT_TEST_MAIN(TestCodeListDialog)
#include "tst_codelistdialog.moc"
