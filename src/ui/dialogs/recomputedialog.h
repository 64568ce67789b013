// The recompute of measured points: the values that replace the recorded ones (reflector height,
// instrument height, the station's N E Z, the orientation; each one ticked to be used), and a preview
// of every chosen point's old and new N E Z with the count, followed as the values are typed. OK gives
// the recompute the preview shows.
#ifndef RECOMPUTEDIALOG_H
#define RECOMPUTEDIALOG_H

#include "dialogs/surveywords.h"
#include "survey/recompute.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

namespace Ui
{
class RecomputeDialog;
}

class QCheckBox;
class QLineEdit;

class RecomputeDialog : public QDialog
{
    Q_OBJECT

public:
    // `words` outlives the dialog.
    RecomputeDialog(const SurveyWords& words, QWidget* parent = nullptr);
    ~RecomputeDialog() override;

    QVector<QStringList> rows;        // in: the table's rows
    QVector<int> chosen;              // in: the rows chosen (empty: every measured point)
    survey::KindLabels labels;        // in
    survey::ReductionOptions options; // in: the check's curvature option
    QString dlgicon_path;             // in: the window icon
    survey::RecomputeResult result;   // out, after OK: the recompute the preview showed
    bool result_flag = false;         // true after OK
    Ui::RecomputeDialog* ui;

    // The fields, in the order of the check boxes and line edits of the form.
    enum Field { kReflector, kInstrument, kNorth, kEast, kHeight, kOrientation, kFields };
    QCheckBox* field_box(int field) const;
    QLineEdit* field_edit(int field) const;

    // Texts, the fields filled with the first chosen point's values (unticked), the first preview.
    void recomputedlg_ini();

private:
    void fill_fields();
    // The changes the ticked fields give; false with the message shown when one cannot be read.
    bool read_changes(survey::RecomputeChanges* changes);
    void preview();

    const SurveyWords& words_;
};

#endif // RECOMPUTEDIALOG_H
