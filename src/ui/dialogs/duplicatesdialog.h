// Resolving duplicate names: every group of rows sharing a name with its rows and how far apart they
// lie, a choice per group and one for all (average offered only within the tolerance), and a preview
// of what becomes of each row. OK gives the rows after the choices; the caller puts them in the table.
#ifndef DUPLICATESDIALOG_H
#define DUPLICATESDIALOG_H

#include "survey/duplicates.h"

#include <QDialog>
#include <QStringList>

namespace Ui
{
class DuplicatesDialog;
}
class QComboBox;

class DuplicatesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DuplicatesDialog(QWidget* parent = nullptr);
    ~DuplicatesDialog() override;

    // The entries of its UI-text list ("DuplicateTexts"): the title, the labels and buttons in widget
    // order, the columns, the choices, the preview's words and the window's messages.
    enum Text {
        kTitle,
        kAllLabel,
        kToleranceLabel,
        kSuffixLabel,
        kPreviewLabel,
        kOkText,
        kCancelText,
        kGroupColumns,                                         // name, rows, across, height, choice
        kChoiceTexts = kGroupColumns + 5,                      // one per duplicates::Choice, in its order
        kPreviewColumns = kChoiceTexts + duplicates::kChoices, // row, name, code, N, E, Z, result
        kKept = kPreviewColumns + 7,
        kRemoved,
        kAveraged,
        kRenamedFrom,  // %1 the name it had
        kGroupsFound,  // %1 groups, %2 rows
        kOutcome,      // %1 rows removed, %2 groups averaged, %3 rows renamed
        kShortened,    // %1 the name it had, %2 the new name
        kBeyond,       // the tooltip of an average not offered
        kNoDuplicates, // the window's messages from here on
        kResolved,     // %1 the outcome
        kDuringTransfer,
        kToleranceNotKept, // %1 file, %2 why
        kMenuText,         // the table's context menu
        kResolutionLine,   // %1 name, %2 rows, %3 across, %4 height (m), %5 the choice
        kTextCount
    };

    QString dlgicon_path;        // in: the window icon
    duplicates::Rows rows;       // in: the table's rows
    duplicates::Layout layout;   // in: where they keep names and coordinates
    duplicates::Options options; // in: tolerance and suffix; out, after OK: as chosen
    duplicates::Result result;   // out, after OK: the rows after the choices
    bool result_flag = false;    // true after OK
    QStringList resolutions;     // out, after OK: one line per group, what was chosen for it
    Ui::DuplicatesDialog* ui;

    // Texts from a list of kTextCount entries, then the groups of `rows`; false, changing nothing,
    // when the list is shorter.
    bool duplicatesdlg_ini(const QStringList& texts);
    int group_count() const { return groups_.size(); }
    // Gives every group `choice` (Average only those within the tolerance), as the choice for all does.
    void choose_for_all(duplicates::Choice choice);

private slots:
    void on_okButton_clicked();
    void on_cancelButton_clicked();

private:
    void show_groups();
    void offer_choices();
    void show_preview();
    QList<duplicates::Choice> choices() const;
    QComboBox* choice_box(int group) const;

    QStringList texts_;
    QList<duplicates::Group> groups_;
};

#endif // DUPLICATESDIALOG_H
