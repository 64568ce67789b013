// The measured-data commands in the window, in both languages, on the sample job ROAD2 in the table:
// the check finds the point measured again from the second station and marks it, a recompute of the
// 1.800/2.000 run with 2.000 m (one undo step, journaled) removes the finding, Undo gives back the
// table cell for cell, and a changed tolerance is kept in config.xml; saved as LandXML and opened
// again, the job is the same table.
#include "config/xml_analysis.h"
#include "data/fileoperation.h"
#include "data/recoveryjournal.h"
#include "data/tablecolumns.h"
#include "dialogs/recomputedialog.h"
#include "dialogs/surveycheckdialog.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "survey/surveyangle.h"
#include "table/suspectmarks.h"
#include "ui_recomputedialog.h"
#include "ui_surveycheckdialog.h"
#include "window/commandkeys.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QUndoStack>

namespace
{

using Rows = QList<QStringList>;

QStringList column_of(const QTableWidget* table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->item(row, column)->text();
    return texts;
}

// With KT_SHOT_DIR set (a run under Xvfb), the screen as it is now.
bool shooting()
{
    return !qEnvironmentVariableIsEmpty("KT_SHOT_DIR");
}

void shoot(const QString& name)
{
    const QString folder = qEnvironmentVariable("KT_SHOT_DIR");
    if (folder.isEmpty())
        return;
    QTest::qWait(500); // mapped and painted
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + "/" + name + ".png");
}

// Runs the check; `answer` sees its dialog before it is closed.
void run_check(MainWindow& w, const std::function<void(SurveyCheckDialog&)>& answer)
{
    bool seen = false;
    answer_next_dialog([&](QDialog* d) {
        auto* dialog = qobject_cast<SurveyCheckDialog*>(d);
        QVERIFY(dialog);
        seen = true;
        answer(*dialog);
        dialog->ui->closeButton->click();
    });
    w.run_command(Command::CheckMeasuredData);
    QVERIFY(seen);
}

} // namespace

class TestSurveyCommands : public QObject
{
    Q_OBJECT

private slots:
    void check_recompute_undo_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Chinese") << "Chinese";
    }

    void check_recompute_undo()
    {
        QFETCH(QString, language);
        TableWindow t("KT20_KT40", [&](WorkDir& dir) { dir.set_language(language); });
        MainWindow& w = *t.w;
        t.fill_sample_job("ROAD2");
        if (shooting())
            w.showMaximized();
        const Rows original = t.rows();
        QCOMPARE(original.size(), 30);
        const QString lang = language.left(2).toLower();

        // The check: two stations oriented on each other, one finding: P12 of row 21 against row 14.
        run_check(w, [&](SurveyCheckDialog& d) {
            QCOMPARE(d.ui->orientationList->count(), 2);
            QVERIFY(d.ui->orientationList->item(0)->text().contains("086°21'32\""));
            QCOMPARE(d.ui->horizontalSpin->value(), 0.005);
            QVERIFY(!d.ui->curvatureBox->isChecked());
            QTableWidget* findings = d.ui->findingTable;
            QCOMPARE(findings->rowCount(), 1);
            QCOMPARE(findings->item(0, 0)->text(), QString("21"));
            QCOMPARE(findings->item(0, 1)->text(), QString("P12"));
            QCOMPARE(findings->item(0, 2)->text(), QString("K2"));
            QVERIFY(findings->item(0, 3)->text().contains("K1"));
            QVERIFY(findings->item(0, 3)->text().contains("+0.200"));
            QCOMPARE(findings->item(0, 4)->text(), QString("+0.200"));
            QVERIFY(!d.ui->fitLabel->text().isEmpty());
            shoot("check-" + lang);
        });
        QVERIFY(w.suspect_marks->check_marks().contains({20, ObsColumn::Name}));
        QVERIFY(!w.suspect_marks->cell_tooltip(20, ObsColumn::Name).isEmpty());
        QCOMPARE(w.suspect_marks->cell_colour(20, ObsColumn::Name), SuspectMarks::kCheckFindingColour);
        QVERIFY(w.suspect_marks->status_text().contains("1"));
        w.tableWidget->scrollToItem(w.tableWidget->item(20, 0));
        shoot("table-" + lang);

        // The run P09 to P16 (rows 11 to 18) recomputed with a 2.000 m pole.
        const QList<int> run{10, 11, 12, 13, 14, 15, 16, 17};
        w.tableWidget->clearSelection();
        for (int row : run)
            w.tableWidget->selectionModel()->select(w.tableWidget->model()->index(row, 0),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const int steps = w.undo_stack->count();
        bool previewed = false;
        answer_next_dialog([&](QDialog* d) {
            auto* dialog = qobject_cast<RecomputeDialog*>(d);
            QVERIFY(dialog);
            QCOMPARE(dialog->field_edit(RecomputeDialog::kReflector)->text(), QString("1.800"));
            QCOMPARE(dialog->ui->previewTable->rowCount(), 8);
            dialog->field_box(RecomputeDialog::kReflector)->setChecked(true);
            dialog->field_edit(RecomputeDialog::kReflector)->setText("2.0x");
            QVERIFY(!dialog->ui->okButton->isEnabled());
            dialog->field_edit(RecomputeDialog::kReflector)->setText("2.000");
            QVERIFY(dialog->ui->okButton->isEnabled());
            QVERIFY(dialog->ui->countLabel->text().startsWith("8"));
            // Row 14 (P12): Z 41.683 becomes 41.483, N and E stay.
            QCOMPARE(dialog->ui->previewTable->item(3, 0)->text(), QString("14"));
            QCOMPARE(dialog->ui->previewTable->item(3, 4)->text(), QString("41.683"));
            QCOMPARE(dialog->ui->previewTable->item(3, 7)->text(), QString("41.483"));
            QCOMPARE(dialog->ui->previewTable->item(3, 5)->text(), QString("3520098.983"));
            shoot("recompute-" + lang);
            previewed = true;
            dialog->ui->okButton->click();
        });
        w.run_command(Command::RecomputeMeasuredData);
        QVERIFY(previewed);

        // One step; only the Z and reflector height cells of the run changed; journaled; no finding left.
        QCOMPARE(w.undo_stack->count(), steps + 1);
        const Rows after = t.rows();
        for (int row = 0; row < original.size(); ++row) {
            QStringList expected = original[row];
            if (run.contains(row)) {
                expected[ObsColumn::Height] =
                    QString::number(original[row][ObsColumn::Height].toDouble() - 0.2, 'f', 3);
                expected[ObsColumn::ReflectorHeight] = "2.000";
            }
            QCOMPARE(after[row], expected);
        }
        QCOMPARE(w.journal->read().rows, after);
        QVERIFY(w.suspect_marks->check_marks().isEmpty());

        w.run_command(Command::Undo);
        QCOMPARE(t.rows(), original);

        // A tolerance changed in the dialog is kept in config.xml and used the next time.
        run_check(w, [&](SurveyCheckDialog& d) {
            d.ui->verticalSpin->setValue(0.25);
            QCOMPARE(d.ui->findingTable->rowCount(), 0);
        });
        QVERIFY(w.suspect_marks->check_marks().isEmpty());
        QCOMPARE(xml_analysis().get_config(w.settings_file(), "checkverticaltolerance"), QString("0.250"));
        // The window closes with marks shown.
        run_check(w, [&](SurveyCheckDialog& d) {
            QCOMPARE(d.ui->verticalSpin->value(), 0.25);
            d.ui->verticalSpin->setValue(0.005);
        });
        QVERIFY(!w.suspect_marks->check_marks().isEmpty());
    }

    // Saved as LandXML and opened again, the measured job fills every column as it stood, in either
    // language's labels, and a second save writes the same survey data.
    void save_open_survey_xml_data() { check_recompute_undo_data(); }
    void save_open_survey_xml()
    {
        QFETCH(QString, language);
        TableWindow t("KT20_KT40", [&](WorkDir& dir) { dir.set_language(language); });
        MainWindow& w = *t.w;
        t.fill_sample_job("ROAD2");
        // A backsight record arrives with its circle reading alone.
        for (int row = 0; row < w.tableWidget->rowCount(); ++row) {
            if (w.tableWidget->item(row, ObsColumn::Kind)->text() == w.get_map_data("BK", w.CoordinateType))
                w.tableWidget->item(row, ObsColumn::HorizontalAngle)->setText(QString());
        }
        const Rows original = t.rows();
        modal_script::clear();
        QVERIFY(w.save_point_file(t.dir.file("ROAD2.xml")));
        QCOMPARE(shown_messages(), QStringList()); // no column left out, no value changed
        w.tableWidget->setRowCount(0);
        QVERIFY(w.open_point_file(t.dir.file("ROAD2.xml")));
        QCOMPARE(t.rows(), original);
        const QString status = w.findChild<QLabel*>("label_4")->text();
        QVERIFY2(status.contains(language == "English" ? "2 stations" : "2 个测站"), qPrintable(status));
        QCOMPARE(column_of(w.tableWidget, ObsColumn::Kind).count(w.get_map_data("STN", w.CoordinateType)), 2);
        QVERIFY(w.save_point_file(t.dir.file("again.xml")));
        const auto survey_of = [&](const QString& name) {
            QFile file(t.dir.file(name));
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            return bytes.mid(bytes.indexOf("<Survey"));
        };
        QCOMPARE(survey_of("again.xml"), survey_of("ROAD2.xml"));
    }
};

KT_TEST_MAIN(TestSurveyCommands)
#include "tst_surveycommands.moc"
