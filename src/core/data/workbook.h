// An XLSX workbook of one sheet of text cells, all in one format (bold, centred). The only place
// that speaks to the workbook library.
#ifndef WORKBOOK_H
#define WORKBOOK_H

#include <QByteArray>
#include <QString>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class Workbook
{
public:
    // A new workbook in a temporary file, holding the one sheet `sheet_name`.
    explicit Workbook(const QString& sheet_name);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Writes `text` into the cell at 0-based `row` and `column`, bold and centred. Rows are written
    // top to bottom: a cell above the last row written is refused (and save() then fails).
    void write_text(int row, int column, const QString& text);
    // Puts the workbook at `path`, replacing a file there only once the whole workbook is written;
    // false (and error() set) when anything went wrong on the way.
    bool save(const QString& path);
    QString error() const { return error_; }

private:
    QString temp_path_;
    QByteArray temp_dir_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* format_ = nullptr;
    QString error_;
};

#endif // WORKBOOK_H
