// The report's options: a scale list and a note, OK and Cancel.
#include "report/reportoptionsdialog.h"

#include "report/jobreport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPlainTextEdit>

const int ReportOptionsDialog::kScales[] = {0, 200, 500, 1000, 2000, 5000};

ReportOptionsDialog::ReportOptionsDialog(const QStringList& texts, int scale, const QString& note, QWidget* parent)
    : QDialog(parent), scale_box_(new QComboBox(this)), note_edit_(new QPlainTextEdit(this))
{
    setObjectName("reportOptionsDialog");
    setWindowTitle(texts.value(kOptionsTitle));
    for (int value : kScales) {
        scale_box_->addItem(value == 0 ? texts.value(kFitChoice) : QStringLiteral("1:%1").arg(value), value);
        if (value == scale)
            scale_box_->setCurrentIndex(scale_box_->count() - 1);
    }
    note_edit_->setPlainText(note);
    note_edit_->setTabChangesFocus(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(texts.value(kScaleLabel), scale_box_);
    form->addRow(texts.value(kNoteInput), note_edit_);
    form->addRow(buttons);
    resize(420, 220);
}

int ReportOptionsDialog::scale() const
{
    return scale_box_->currentData().toInt();
}

QString ReportOptionsDialog::note() const
{
    return note_edit_->toPlainText();
}
