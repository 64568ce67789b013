// The points' coordinate system: a search of PROJ's database by code or name words, each system shown
// with its area of use, the recent choices on top, and "none (local coordinates)".
#ifndef CRSDIALOG_H
#define CRSDIALOG_H

#include "crs/crs.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

#include <memory>

namespace Ui
{
class CrsDialog;
}

class CrsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CrsDialog(QWidget* parent = nullptr);
    ~CrsDialog() override;

    // The entries of its UI-text list ("CoordinateSystemDlg").
    enum Text {
        kTitle,
        kSearchCaption,
        kSearchHint,
        kCodeCaption,
        kNameCaption,
        kNoneText,
        kAreaText, // %1 name, %2 west, %3 east, %4 south, %5 north
        kOkText,
        kCancelText,
        kRecentText,
        kNoDatabaseText, // %1 why
        kNoMatchText,    // %1 the search
        kTextCount
    };

    QString dlgicon_path;
    QString current;          // in: the system chosen now ("EPSG:4547"; empty: none)
    QStringList recent;       // in: recent choices, newest first
    QString chosen;           // out, after OK: the system chosen; empty: none (local coordinates)
    bool result_flag = false; // true after OK
    std::unique_ptr<Ui::CrsDialog> ui;

    // Texts from a list of kTextCount entries; false, changing nothing, when it is shorter.
    bool crsdlg_ini(const QStringList& texts);
    // Fills the list for `query` (what the search field holds).
    void search(const QString& query);
    // The system of the list's row `row` ("" for none).
    QString system_of_row(int row) const { return rows_.value(row).id(); }

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();

private:
    void add_row(const CrsInfo& info, bool recent_choice);
    void show_area();

    QStringList texts_;
    QVector<CrsInfo> rows_; // one per row of the list; row 0 is "none"
};

#endif // CRSDIALOG_H
