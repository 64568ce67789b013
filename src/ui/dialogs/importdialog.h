// The import dialog: a point list another program wrote (delimited text) or a workbook's sheet, shown
// as it is read and as its rows will land in the point table. The user chooses the encoding and the
// delimiter of a text file, the lines to skip, whether a header row follows them, and the column of
// each of name, code, N, E and Z (X and Y are never taken for N or E: the user says which is north),
// and the decimal mark, told from the file: a decimal comma becomes the point of the table, and a
// number grouped by thousands keeps OK off, its row named.
// Inputs and results are members; map_rows is the entry for rows already split (a workbook's sheet).
#ifndef IMPORTDIALOG_H
#define IMPORTDIALOG_H

#include "data/importchoice.h"
#include "data/textencoding.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class QComboBox;

namespace Ui
{
class ImportDialog;
}

class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    // Entries of the dialog's UI-text list.
    enum Text {
        Title,
        EncodingLabel,
        DelimiterLabel,
        SkipLabel,
        HeaderCheck,
        NameLabel, // then code, N, E and Z
        OkButton = NameLabel + kPointRoleCount,
        CancelButton,
        CommaChoice, // then semicolon, tab and spaces, in the order of Delimiter
        NoColumn = CommaChoice + kDelimiterCount,
        ColumnEntry,                              // "%1 (%2)": a column's letter and its header or first value
        DetectedText,                             // "detected: %1"
        FileCaption,                              // above the file as it is read
        RowsCaption,                              // above the rows as they will land in the table
        NameHeading,                              // then code, N, E and Z: the columns of the rows
        RowsRead = NameHeading + kPointRoleCount, // counted texts: one, many
        LinesSkipped = RowsRead + 2,
        NotNumbers = LinesSkipped + 2,
        Undecodable = NotNumbers + 2, // %2: the encoding
        CharactersReplaced = Undecodable + 2,
        ChooseNorthEast = CharactersReplaced + 2,
        ColumnTwice, // %1: the column's letter
        NoXY,
        SheetText, // %1 the sheet's name, %2 the number of sheets
        Separator, // between the sentences of the summary
        TextCount
    };

    // Entries of the decimal mark's UI-text list.
    enum DecimalText {
        DecimalLabel,
        PointMark,                          // then comma, in the order of DecimalMark
        DecimalCommas = PointMark + 2,      // counted texts: one, many
        GroupedNumbers = DecimalCommas + 2, // %1 the row, %2 its text, %3 rows so
        SpreadsheetFilter,                  // the Save As choice of the CSV for spreadsheets
        DecimalTextCount
    };

    explicit ImportDialog(QWidget* parent = nullptr);
    ~ImportDialog() override;

    QString dlgicon_path;
    // In: the choice of the last import, when `has_last_choice`. Out after OK: the choice made.
    ImportChoice choice;
    bool has_last_choice = false;

    // A delimited text file, read in the encoding it was written in. False when it cannot be read:
    // `error` says why.
    bool set_text_file(const QString& path);
    QString error;
    // Rows already split (a workbook's sheet): no encoding or delimiter to choose. `source` is shown.
    void set_rows(const TextRows& rows, const QString& source);
    // Texts from the dialog's list (TextCount entries) and the decimal mark's (DecimalTextCount; false
    // and nothing set with fewer in either); then the choice the file starts with and its preview.
    bool importdlg_ini(const QStringList& texts, const QStringList& decimal_texts);

    bool result_flag = false;
    MappedPoints points;   // after OK: the point lines of every data row
    int skipped_lines = 0; // after OK: lines skipped, the header and blank rows
    std::unique_ptr<Ui::ImportDialog> ui;

    // Rows of texts in, point lines out: the dialog for rows already split, `texts` and
    // `decimal_texts` its UI-text lists, `choice` the last choice in (when `has_choice`) and the one
    // made out. True after OK.
    static bool map_rows(QWidget* parent, const QStringList& texts, const QStringList& decimal_texts,
                         const TextRows& rows, const QString& source, ImportChoice* choice, bool has_choice,
                         MappedPoints* points, int* skipped_lines);

private slots:
    void on_pushButtonOk_clicked();
    void on_pushButtonCancel_clicked();

private:
    QComboBox* column_combo(int role) const;
    QString text(int index) const { return texts_.value(index); }
    QString counted(int index, qint64 count) const;
    bool read_file(bool forced, TextEncoding encoding);
    // The controls set from `choice`, and the preview.
    void show_choice();
    // The choice from the controls.
    void take_controls();
    void encoding_changed();
    void delimiter_changed();
    // The skip or the header changed: header and columns guessed again where the file tells them.
    void rows_changed(bool header_chosen);
    void fill_column_combos();
    void show_preview();
    void show_file_rows();
    void show_mapped_rows(const MappedPoints& mapped);
    QString hint(const MappedPoints& mapped) const;

    QStringList texts_;
    QStringList decimal_texts_;
    QString source_;
    bool text_file_ = false;
    QStringList lines_;
    TextRows rows_;
    qint64 undecodable_ = 0;
    TextEncoding encoding_ = TextEncoding::Ascii;
    QString detected_; // the encoding the reader found
    bool updating_ = false;
};

#endif // IMPORTDIALOG_H
