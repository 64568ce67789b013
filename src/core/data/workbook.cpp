// Writing a one-sheet workbook with libxlsxwriter: the library writes a temporary file, which is
// moved into place as a whole.
#include "data/workbook.h"

#include "data/replacefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <xlsxwriter.h>

Workbook::Workbook(const QString& sheet_name)
{
    QTemporaryFile temp(QDir::tempPath() + "/ktlink-XXXXXX.xlsx");
    temp.setAutoRemove(false);
    if (!temp.open()) {
        error_ = temp.errorString();
        return;
    }
    temp_path_ = temp.fileName();
    temp.close();
    // Rows are written top to bottom, so each can go to disk as soon as the next begins: memory stays
    // flat and no table of shared strings is built. The library's own temporary files go where ours go.
    temp_dir_ = QFile::encodeName(QDir::toNativeSeparators(QDir::tempPath()));
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temp_dir_.data();
    workbook_ = workbook_new_opt(QFile::encodeName(temp_path_).constData(), &options);
    if (!workbook_) {
        error_ = QStringLiteral("the workbook could not be created");
        return;
    }
    format_ = workbook_add_format(workbook_);
    format_set_bold(format_);
    format_set_align(format_, LXW_ALIGN_CENTER);
    sheet_ = workbook_add_worksheet(workbook_, sheet_name.toUtf8().constData());
    if (!sheet_)
        error_ = QStringLiteral("the sheet \"%1\" could not be added").arg(sheet_name);
}

Workbook::~Workbook()
{
    if (workbook_)
        workbook_close(workbook_);
    if (!temp_path_.isEmpty())
        QFile::remove(temp_path_);
}

void Workbook::write_text(int row, int column, const QString& text)
{
    if (!sheet_ || !error_.isEmpty())
        return;
    const lxw_error result =
        worksheet_write_string(sheet_, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(), format_);
    if (result != LXW_NO_ERROR)
        error_ = QString::fromUtf8(lxw_strerror(result));
}

bool Workbook::save(const QString& path)
{
    if (!workbook_)
        return false;
    const lxw_error closed = workbook_close(workbook_);
    workbook_ = nullptr;
    if (closed != LXW_NO_ERROR && error_.isEmpty())
        error_ = QString::fromUtf8(lxw_strerror(closed));
    if (!error_.isEmpty())
        return false;
    QFile written(temp_path_);
    if (!written.open(QIODevice::ReadOnly)) {
        error_ = written.errorString();
        return false;
    }
    const std::unique_ptr<QFileDevice> target = replacement_file(path);
    if (!target->open(QIODevice::WriteOnly)) {
        error_ = target->errorString();
        return false;
    }
    const QByteArray bytes = written.readAll();
    if (!write_all(*target, bytes.constData(), bytes.size(), &error_)) {
        cancel_replacement(*target);
        return false;
    }
    return commit_replacement(*target, &error_);
}
