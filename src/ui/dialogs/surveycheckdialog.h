// The check of measured data: each station's orientation, the findings in a sortable table (row,
// point, station, what differs, by how much; points that cannot be computed with the reason), the
// tolerance and the curvature option, and which setting of that option fits the instrument's own
// figures. A change of the tolerance or the option checks the rows again at once.
#ifndef SURVEYCHECKDIALOG_H
#define SURVEYCHECKDIALOG_H

#include "dialogs/surveywords.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

namespace Ui
{
class SurveyCheckDialog;
}

class SurveyCheckDialog : public QDialog
{
    Q_OBJECT

public:
    // `words` outlives the dialog.
    SurveyCheckDialog(const SurveyWords& words, QWidget* parent = nullptr);
    ~SurveyCheckDialog() override;

    QVector<QStringList> rows; // in: the table's rows
    survey::KindLabels labels; // in: the kind labels the table shows
    QString dlgicon_path;      // in: the window icon
    // In: the settings to start with; out: the settings last shown, and the check they gave.
    survey::Tolerance tolerance;
    bool curvature = false;
    survey::CheckResult result;
    Ui::SurveyCheckDialog* ui;

    // Texts, settings and the first check.
    void checkdlg_ini();

private:
    void run();
    void show_findings();
    void show_fit();

    const SurveyWords& words_;
};

#endif // SURVEYCHECKDIALOG_H
