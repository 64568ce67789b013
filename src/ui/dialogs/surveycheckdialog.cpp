// The check dialog: the rows checked with the settings shown, again whenever they change.
#include "dialogs/surveycheckdialog.h"
#include "ui_surveycheckdialog.h"

#include "dialogs/dialogtexts.h"
#include "survey/surveytext.h"

#include <QHeaderView>

#include <cmath>

using namespace survey;

namespace
{

enum FindingColumn { kRow, kName, kStation, kWhat, kBy, kColumns };

// A cell sorted by a number it keeps beside its text.
class NumberItem : public QTableWidgetItem
{
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text) { setData(Qt::UserRole, value); }
    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

// The findings of the instrument's own figures that the curvature option changes.
int figure_findings(const CheckResult& result)
{
    int count = 0;
    for (const Finding& f : result.findings) {
        if (f.kind == FindingKind::PositionDiffers || f.kind == FindingKind::HeightDiffers ||
            f.kind == FindingKind::HorizontalDistanceDiffers || f.kind == FindingKind::VerticalDistanceDiffers)
            ++count;
    }
    return count;
}

ReductionOptions with_curvature(bool on)
{
    ReductionOptions options;
    options.curvature = on;
    return options;
}

} // namespace

SurveyCheckDialog::SurveyCheckDialog(const SurveyWords& words, QWidget* parent)
    : QDialog(parent), ui(new Ui::SurveyCheckDialog), words_(words)
{
    ui->setupUi(this);
}

SurveyCheckDialog::~SurveyCheckDialog()
{
    delete ui;
}

void SurveyCheckDialog::checkdlg_ini()
{
    set_dialog_texts(*this, dlgicon_path, {words_.text(SurveyText::CheckTitle)}, {}, {});
    ui->horizontalLabel->setText(words_.text(SurveyText::HorizontalTolerance));
    ui->verticalLabel->setText(words_.text(SurveyText::VerticalTolerance));
    ui->curvatureBox->setText(words_.text(SurveyText::Curvature));
    ui->orientationsLabel->setText(words_.text(SurveyText::OrientationsCaption));
    ui->findingsLabel->setText(words_.text(SurveyText::FindingsCaption));
    ui->closeButton->setText(words_.text(SurveyText::CloseButton));
    QStringList captions;
    for (int c = 0; c < kColumns; ++c)
        captions << words_.text(SurveyText::RowColumn + c);
    ui->findingTable->setColumnCount(kColumns);
    ui->findingTable->setHorizontalHeaderLabels(captions);
    ui->findingTable->horizontalHeader()->setStretchLastSection(false);
    ui->findingTable->horizontalHeader()->setSectionResizeMode(kWhat, QHeaderView::Stretch);
    ui->findingTable->verticalHeader()->hide();

    ui->horizontalSpin->setValue(tolerance.horizontal);
    ui->verticalSpin->setValue(tolerance.vertical);
    ui->curvatureBox->setChecked(curvature);
    const auto changed = [this] { run(); };
    connect(ui->horizontalSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, changed);
    connect(ui->verticalSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, changed);
    connect(ui->curvatureBox, &QCheckBox::toggled, this, changed);
    connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
    run();
}

void SurveyCheckDialog::run()
{
    tolerance.horizontal = ui->horizontalSpin->value();
    tolerance.vertical = ui->verticalSpin->value();
    curvature = ui->curvatureBox->isChecked();
    result = check_rows(rows, labels, with_curvature(curvature), tolerance);

    ui->orientationList->clear();
    for (const Setup& setup : result.setups)
        ui->orientationList->addItem(words_.orientation(setup));
    show_findings();
    show_fit();
    ui->summaryLabel->setText(
        fill_values(words_.text(SurveyText::Summary),
                    {QString::number(result.measured), QString::number(result.computed),
                     QString::number(result.not_computed), QString::number(result.rows_with_findings)}));
}

void SurveyCheckDialog::show_findings()
{
    QTableWidget* table = ui->findingTable;
    table->setSortingEnabled(false);
    table->setRowCount(0);
    table->setRowCount(result.findings.size());
    for (int i = 0; i < result.findings.size(); ++i) {
        const Finding& f = result.findings[i];
        const QString by = words_.by_how_much(f);
        table->setItem(i, kRow, new NumberItem(QString::number(f.row + 1), f.row));
        table->setItem(i, kName, new QTableWidgetItem(f.name));
        table->setItem(i, kStation, new QTableWidgetItem(f.station));
        auto* what = new QTableWidgetItem(words_.what_differs(f));
        what->setToolTip(what->text());
        table->setItem(i, kWhat, what);
        // Sorted by size; the points that cannot be computed last.
        table->setItem(i, kBy, new NumberItem(by, by.isEmpty() ? 1e12 : std::abs(by.toDouble())));
        table->item(i, kBy)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    table->setSortingEnabled(true);
    table->resizeColumnToContents(kRow);
    table->resizeColumnToContents(kName);
    table->resizeColumnToContents(kStation);
    table->resizeColumnToContents(kBy);
}

void SurveyCheckDialog::show_fit()
{
    const int off = figure_findings(curvature ? check_rows(rows, labels, with_curvature(false), tolerance) : result);
    const int on = figure_findings(curvature ? result : check_rows(rows, labels, with_curvature(true), tolerance));
    const int entry = off < on ? SurveyText::FitsOff : on < off ? SurveyText::FitsOn : SurveyText::FitsEither;
    ui->fitLabel->setText(fill_values(words_.text(entry), {QString::number(off), QString::number(on)}));
}
