// The recompute dialog: the ticked fields read, the rows recomputed for the preview as they change.
#include "dialogs/recomputedialog.h"
#include "ui_recomputedialog.h"

#include "data/tablecolumns.h"
#include "dialogs/dialogtexts.h"
#include "survey/surveytext.h"

#include <QHeaderView>

#include <cmath>

using namespace survey;

namespace
{

enum PreviewColumn { kRow, kName, kOldN, kOldE, kOldZ, kNewN, kNewE, kNewZ, kColumns };

// The setup the measured point of row `row` belongs to: the last one opened before it.
const Setup* setup_of(const QVector<Setup>& setups, int row)
{
    const Setup* found = nullptr;
    for (const Setup& s : setups) {
        if (s.station_row < row)
            found = &s;
    }
    return found;
}

} // namespace

RecomputeDialog::RecomputeDialog(const SurveyWords& words, QWidget* parent)
    : QDialog(parent), ui(new Ui::RecomputeDialog), words_(words)
{
    ui->setupUi(this);
}

RecomputeDialog::~RecomputeDialog()
{
    delete ui;
}

QCheckBox* RecomputeDialog::field_box(int field) const
{
    return findChild<QCheckBox*>(QString("fieldBox%1").arg(field));
}

QLineEdit* RecomputeDialog::field_edit(int field) const
{
    return findChild<QLineEdit*>(QString("fieldEdit%1").arg(field));
}

void RecomputeDialog::recomputedlg_ini()
{
    set_dialog_texts(*this, dlgicon_path, {words_.text(SurveyText::RecomputeTitle)}, {}, {});
    ui->previewLabel->setText(words_.text(SurveyText::PreviewCaption));
    ui->okButton->setText(words_.text(SurveyText::OkButton));
    ui->cancelButton->setText(words_.text(SurveyText::CancelButton));
    QStringList captions{words_.text(SurveyText::RowColumn), words_.text(SurveyText::NameColumn)};
    for (int c = 0; c < 6; ++c)
        captions << words_.text(SurveyText::OldNorthColumn + c);
    ui->previewTable->setColumnCount(kColumns);
    ui->previewTable->setHorizontalHeaderLabels(captions);
    ui->previewTable->verticalHeader()->hide();
    for (int f = 0; f < kFields; ++f) {
        QCheckBox* box = field_box(f);
        QLineEdit* edit = field_edit(f);
        box->setText(words_.text(SurveyText::ReflectorHeight + f));
        connect(box, &QCheckBox::toggled, edit, &QLineEdit::setEnabled);
        connect(box, &QCheckBox::toggled, this, [this] { preview(); });
        connect(edit, &QLineEdit::textChanged, this, [this] { preview(); });
    }
    connect(ui->okButton, &QPushButton::clicked, this, [this] {
        result_flag = true;
        accept();
    });
    connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    fill_fields();
    preview();
}

void RecomputeDialog::fill_fields()
{
    const RecomputeResult all = recompute_rows(rows, chosen, labels, options, {});
    ui->chosenLabel->setText(words_.counted(SurveyText::ChosenPoints, all.points.size()));
    if (all.points.isEmpty())
        return;
    const int first = all.points.first().row;
    const QStringList& cells = rows[first];
    field_edit(kReflector)->setText(cells.value(ObsColumn::ReflectorHeight));
    field_edit(kInstrument)->setText(cells.value(ObsColumn::InstrumentHeight));
    const CheckResult check = check_rows(rows, labels, options);
    if (const Setup* setup = setup_of(check.setups, first)) {
        const QStringList& station = rows[setup->station_row];
        field_edit(kNorth)->setText(station.value(ObsColumn::North));
        field_edit(kEast)->setText(station.value(ObsColumn::East));
        field_edit(kHeight)->setText(station.value(ObsColumn::Height));
        field_edit(kOrientation)->setText(angle_with_marks(radians_to_seconds(setup->orientation)));
    }
}

bool RecomputeDialog::read_changes(RecomputeChanges* changes)
{
    std::optional<double>* const numbers[] = {&changes->heights.reflector, &changes->heights.instrument,
                                              &changes->station_n, &changes->station_e, &changes->station_z};
    for (int f = 0; f < kFields; ++f) {
        if (!field_box(f)->isChecked())
            continue;
        const QString text = field_edit(f)->text().trimmed();
        const QString caption = field_box(f)->text();
        if (f == kOrientation) {
            const AngleReading angle = read_angle(text);
            if (!angle.ok()) {
                ui->messageLabel->setText(fill_values(words_.text(SurveyText::NotAnAngle), {caption}));
                return false;
            }
            changes->orientation = angle.seconds;
            continue;
        }
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            ui->messageLabel->setText(fill_values(words_.text(SurveyText::NotANumber), {caption}));
            return false;
        }
        *numbers[f] = value;
    }
    ui->messageLabel->clear();
    return true;
}

void RecomputeDialog::preview()
{
    RecomputeChanges changes;
    const bool readable = read_changes(&changes);
    ui->okButton->setEnabled(readable);
    if (!readable)
        return;
    result = recompute_rows(rows, chosen, labels, options, changes);
    QTableWidget* table = ui->previewTable;
    table->setRowCount(0);
    table->setRowCount(result.points.size());
    int changed = 0;
    for (int i = 0; i < result.points.size(); ++i) {
        const RecomputedPoint& p = result.points[i];
        const Reason& problem = p.problem.none() ? p.height_problem : p.problem;
        changed += p.changed() ? 1 : 0;
        const QString texts[kColumns] = {
            QString::number(p.row + 1), p.name, p.old_n, p.old_e, p.old_z, p.new_n, p.new_e, p.new_z};
        for (int c = 0; c < kColumns; ++c)
            table->setItem(i, c, new QTableWidgetItem(texts[c]));
        if (!problem.none()) {
            const int at = p.problem.none() ? kNewZ : kNewN;
            table->item(i, at)->setText(fill_values(words_.text(SurveyText::CannotCompute), {words_.reason(problem)}));
        }
        for (int c = kNewN; c <= kNewZ; ++c) {
            if (table->item(i, c)->text() != texts[c - 3]) {
                QFont bold = table->item(i, c)->font();
                bold.setBold(true);
                table->item(i, c)->setFont(bold);
            }
        }
    }
    table->resizeColumnsToContents();
    ui->countLabel->setText(
        fill_values(words_.text(SurveyText::PreviewCount),
                    {QString::number(changed), QString::number(result.points.size() - changed - result.not_computed),
                     QString::number(result.not_computed)}));
}
