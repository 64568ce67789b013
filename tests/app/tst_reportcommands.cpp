// The job report from the window: "ExportReport" on the measured job ROAD2 (received into the
// observation layout) writes a PDF holding every point name, the coordinate system and the
// measured-data check's finding; the options are kept in config.xml; the File menu carries the three
// commands with Ctrl+P on Print; a table of 100,000 rows is asked about before anything starts.
#include "modal/modal.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/core/geotest.h"
#include "support/ui/ktest.h"
#include "window/commandkeys.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableWidget>

class TestReportCommands : public QObject
{
    Q_OBJECT

private slots:
    void export_report_of_a_measured_job()
    {
        TableWindow t("KT20_KT40");
        t.fill_sample_job("ROAD2");
        t.w->coordinate_system = "EPSG:4547";
        const QString path = t.dir.file("ROAD2.pdf");
        modal_script::clear();
        modal_script::queue_file(path);
        answer_next_dialog([](QDialog* dialog) {
            dialog->findChild<QComboBox*>()->setCurrentText("1:1000");
            dialog->findChild<QPlainTextEdit*>()->setPlainText("Kerb survey, second visit");
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        t.w->run_command(Command::ExportReport);
        QCOMPARE(shown_messages(), QStringList());

        QString text = QString::fromUtf8(run_judge("pdftotext", {path, "-"})).simplified();
        QVERIFY2(!text.isEmpty(), qPrintable(path));
        for (int row = 0; row < t.w->tableWidget->rowCount(); ++row) {
            const QString name = t.w->tableWidget->item(row, 2)->text();
            QVERIFY2(text.contains(" " + name + " "), qPrintable(name));
        }
        for (const char* phrase : {"EPSG:4547", "Scale 1:1000", "Kerb survey, second visit", "Stations 2",
                                   "Row 21 P12 (station K2): measured from station K1 (row 14) it lies"})
            QVERIFY2(text.contains(phrase), phrase);
        QFile settings(t.w->settings_file());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray kept = settings.readAll();
        QVERIFY(kept.contains("<reportscale>1000</reportscale>"));
        QVERIFY(kept.contains("<reportnote>Kerb survey, second visit</reportnote>"));
    }

    // The preview shows the report's pages in the window's language; with KT_SHOTS set, the preview
    // and the PDF are kept there as preview-LANGUAGE.png and report-LANGUAGE.pdf to look at.
    void preview_in_both_languages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("English") << "English"
                                 << "Job report";
        QTest::newRow("Chinese") << "Chinese" << QString::fromUtf8("作业报告");
    }

    void preview_in_both_languages()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        TableWindow t("KT20_KT40", [&language](WorkDir& dir) { dir.set_language(language); });
        t.fill_sample_job("ROAD2");
        const QString shots = qEnvironmentVariable("KT_SHOTS");
        int pages = 0;
        answer_next_dialog([&](QDialog* options) {
            options->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            answer_next_dialog([&](QDialog* preview) {
                auto* widget = preview->findChild<QPrintPreviewWidget*>();
                pages = widget ? widget->pageCount() : -1;
                if (!shots.isEmpty())
                    preview->grab().save(shots + "/preview-" + language + ".png");
                preview->reject();
            });
        });
        t.w->run_command(Command::PrintPreview);
        QCOMPARE(pages, 4); // title, plan, one page of table, checks
        QCOMPARE(t.w->findChild<QPrintPreviewDialog*>(), nullptr);

        const QString path = shots.isEmpty() ? t.dir.file("report.pdf") : shots + "/report-" + language + ".pdf";
        modal_script::queue_file(path);
        answer_next_dialog([](QDialog* options) { options->accept(); });
        t.w->run_command(Command::ExportReport);
        QVERIFY(QString::fromUtf8(run_judge("pdftotext", {path, "-"})).contains(title));
    }

    void menu_items_and_the_print_key()
    {
        TableWindow t("KT40");
        QStringList keys;
        for (QAction* action : t.w->menuBar()->actions().first()->menu()->actions()) {
            const Command command = command_for_key(action->data().toString(), CommandSource::Menu);
            if (command == Command::Print || command == Command::PrintPreview || command == Command::ExportReport)
                keys << action->data().toString() + " " + action->shortcut().toString();
        }
        QCOMPARE(keys, QStringList({"Print Ctrl+P", "PrintPreview ", "ExportReport "}));
    }

    void very_large_table_asked_first()
    {
        TableWindow t("KT40");
        t.w->tableWidget->setRowCount(100000);
        modal_script::clear();
        t.w->run_command(Command::ExportReport); // the question is answered No: nothing more is shown
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().kind, QString("question"));
        QVERIFY2(shown.first().text.contains("100000 rows"), qPrintable(shown.first().text));
    }
};

KT_TEST_MAIN(TestReportCommands)
#include "tst_reportcommands.moc"
