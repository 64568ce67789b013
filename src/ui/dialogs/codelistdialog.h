// The code list editor: one row per code (code, kind, layer, colour, the two descriptions) and the
// three control characters; codes are added, changed in their cells and deleted; a list file is
// imported (replacing the rows; a refused file is told with its line and column and changes nothing)
// or the rows exported. OK gives the list only when every row can be in it; the caller stores it
// (code_list_file_to_write()).
#ifndef CODELISTDIALOG_H
#define CODELISTDIALOG_H

#include "survey/codelist.h"

#include <QDialog>
#include <QStringList>

namespace Ui
{
class CodeListDialog;
}

class CodeListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CodeListDialog(QWidget* parent = nullptr);
    ~CodeListDialog() override;

    // The entries of its UI-text list ("CodeListDialog"): the title, the labels and buttons in widget
    // order, then the column captions, the kinds, the file dialogs' texts and the messages.
    enum Text {
        kTitle,
        kStartCaption,
        kEndCaption,
        kCloseCaption,
        kAddText,
        kDeleteText,
        kImportText,
        kExportText,
        kOkText,
        kCancelText,
        kCodeColumn,
        kKindColumn,
        kLayerColumn,
        kColourColumn,
        kEnglishColumn,
        kChineseColumn,
        kPointKind,
        kLineKind,
        kAreaKind,
        kFileFilter,
        kImportCaption,
        kExportCaption,
        kRefusedFile, // %1 file, %2 line, %3 column, %4 why
        kRefusedRow,  // %1 row (from 1), %2 why
        kNotWritten,  // %1 file, %2 why
        kImported,    // %1 number of codes, %2 file
        kExported,    // %1 file
        kBadControls, // the three control characters
        kReasons,     // then one text per CodeListError kind from CannotOpen on, %1 its detail
        kTextCount = kReasons + CodeListError::BadLayer
    };

    QString exe_path; // in: the folder the file dialogs start in
    QString icon_path;
    QString dlgicon_path;     // in: the window icon
    CodeList codes;           // in: the list in use; out, after OK: the list edited
    bool result_flag = false; // true after OK
    QStringList prompt_msg;   // the texts from kCodeColumn on
    Ui::CodeListDialog* ui;

    // Texts from a list of kTextCount entries, then the rows of `codes`; false, changing nothing, when
    // the list is shorter.
    bool codelistdlg_ini(const QStringList& texts);
    // The list the rows and control characters make; false with *why (the message shown) when one
    // cannot be in it.
    bool list_of_rows(CodeList* list, QString* why) const;

private slots:
    void on_pushButton_clicked();   // add
    void on_pushButton_2_clicked(); // delete
    void on_pushButton_3_clicked(); // import
    void on_pushButton_4_clicked(); // export
    void on_pushButton_5_clicked(); // OK
    void on_pushButton_6_clicked(); // cancel

private:
    void show_list(const CodeList& list);
    void add_row(const CodeEntry& entry);
    QString text(int entry) const { return texts_.value(entry); }
    QString reason(const CodeListError& error) const;

    QStringList texts_;
};

#endif // CODELISTDIALOG_H
