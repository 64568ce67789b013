// Resolve duplicates in the window: the dialog on the table's groups, Average for all (one row per group
// within the tolerance, the other left), one undo step that is journaled, the report's checks naming what
// was chosen, and undo giving the table back.
#include "data/recoveryjournal.h"
#include "dialogs/duplicatesdialog.h"
#include "report/jobreport.h"
#include "support/app/pointentry.h"
#include "support/app/windowdriver.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_duplicatesdialog.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QComboBox>
#include <QMenu>
#include <QTableWidget>
#include <QUndoStack>

using Rows = QList<QStringList>;

class TestDuplicatesCommand : public QObject
{
    Q_OBJECT

private slots:
    void average_then_undo();
};

void TestDuplicatesCommand::average_then_undo()
{
    WorkDir dir;
    dir.set_language("English");
    auto w = start_window("KT40");
    const Rows rows{{"P1", "A", "100.000", "200.000", "10.00"},
                    {"Q", "B", "5", "5", "5"},
                    {"P1", "C", "100.006", "200.008", "10.02"},
                    {"Q", "D", "5.5", "5", "5"},
                    {"R", "E", "1", "1", "1"}};
    for (const QStringList& row : rows)
        type_new_point(*w, row);
    const int steps = w->undo_stack->count();

    std::unique_ptr<QMenu> menu(w->table_menu());
    QCOMPARE(menu->actions().last()->text(), QString("Resolve duplicate names..."));

    QString summary;
    QStringList preview_results;
    answer_next_dialog([&](QDialog* shown) {
        auto* dialog = qobject_cast<DuplicatesDialog*>(shown);
        QVERIFY(dialog);
        summary = dialog->ui->summaryLabel->text();
        dialog->choose_for_all(duplicates::Choice::Average);
        QTableWidget* preview = dialog->ui->previewTable;
        for (int row = 0; row < preview->rowCount(); ++row)
            preview_results << preview->item(row, preview->columnCount() - 1)->text();
        dialog->ui->okButton->click();
    });
    w->run_command(Command::ResolveDuplicates);
    QCOMPARE(summary, QString("Names held by more than one row: 2 (4 rows)."));
    // Q's rows lie 0.5 m apart: Average is not theirs, they stay.
    QCOMPARE(preview_results, (QStringList{"averaged", "removed", "kept", "kept"}));
    const Rows after{{"P1", "A", "100.003", "200.004", "10.01"},
                     {"Q", "B", "5", "5", "5"},
                     {"Q", "D", "5.5", "5", "5"},
                     {"R", "E", "1", "1", "1"}};
    QCOMPARE(w->table_texts(), after);
    QCOMPARE(w->undo_stack->count(), steps + 1);
    QCOMPARE(w->journal->read().rows, after);
    // The report's checks say what became of each group.
    const QVector<ReportSection> checks = report_checks(w->report_input(), w->get_parametretitle("ReportTexts"));
    QCOMPARE(checks.value(1).heading, QString("Repeated names resolved in this session"));
    QCOMPARE(checks.value(1).lines, (QStringList{"P1: 2 rows, 0.010 m apart, 0.020 m in height: Average",
                                                 "Q: 2 rows, 0.500 m apart, 0.000 m in height: Keep all"}));

    w->run_command(Command::Undo);
    QCOMPARE(w->table_texts(), rows);
    QCOMPARE(w->journal->read().rows, rows);
}

KT_TEST_MAIN(TestDuplicatesCommand)
#include "tst_duplicatescommand.moc"
