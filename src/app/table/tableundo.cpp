// The undo steps of the point table: rows appended, a row replaced, rows removed, the table replaced.
#include "table/tableundo.h"
#include "table/pointitem.h"
#include "window/mainwindow.h"

#include <QTableWidget>
#include <QUndoCommand>

namespace
{

// Merge id of the steps of a receive: one step per transfer.
constexpr int kReceiveId = 1;

// A step whose change the window has already made when it is pushed.
class TableStep : public QUndoCommand
{
public:
    explicit TableStep(MainWindow& w) : w_(w) {}

    void redo() final
    {
        if (made_) {
            made_ = false;
            return;
        }
        apply();
        shown();
    }
    void undo() final
    {
        revert();
        shown();
    }

protected:
    // Rows put back in place move the selection without a word to the plan: it reads it again.
    void shown()
    {
        w_.show_row_count();
        w_.sync_plan_selection();
    }
    virtual void apply() = 0;
    virtual void revert() = 0;
    QTableWidget* table() const { return w_.tableWidget; }
    MainWindow& w_;

private:
    bool made_ = true;
};

class RowsAppended : public TableStep
{
public:
    RowsAppended(MainWindow& w, int first, int count, int serial)
        : TableStep(w), first_(first), count_(count), serial_(serial)
    {
    }
    int id() const override { return serial_ < 0 ? -1 : kReceiveId; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const RowsAppended*>(other);
        if (next->serial_ != serial_ || next->first_ != first_ + count_)
            return false;
        count_ += next->count_;
        return true;
    }

protected:
    void apply() override
    {
        insert_table_rows(table(), first_, rows_);
        rows_.clear();
        w_.rows_appended(first_);
    }
    void revert() override
    {
        QList<int> removed;
        for (int row = first_; row < first_ + count_; ++row) {
            rows_ << w_.row_texts(row);
            removed << row;
        }
        for (int row = first_ + count_ - 1; row >= first_; --row)
            table()->removeRow(row);
        w_.rows_removed(removed);
    }

private:
    int first_;
    int count_;
    int serial_;
    TableRows rows_; // while undone
};

class RowReplaced : public TableStep
{
public:
    RowReplaced(MainWindow& w, int row, const QStringList& before, const QStringList& after)
        : TableStep(w), row_(row), before_(before), after_(after)
    {
    }

protected:
    void apply() override { put(after_); }
    void revert() override { put(before_); }

private:
    void put(const QStringList& texts)
    {
        set_row_texts(table(), row_, texts);
        w_.row_replaced(row_);
    }
    int row_;
    QStringList before_;
    QStringList after_;
};

class RowsRemoved : public TableStep
{
public:
    RowsRemoved(MainWindow& w, const QList<int>& rows, const TableRows& texts)
        : TableStep(w), rows_(rows), texts_(texts)
    {
    }

protected:
    void apply() override
    {
        for (int i = rows_.size() - 1; i >= 0; --i)
            table()->removeRow(rows_[i]);
        w_.rows_removed(rows_);
    }
    void revert() override
    {
        // Ascending, each row goes back to the place it had.
        for (int i = 0; i < rows_.size(); ++i)
            insert_table_rows(table(), rows_[i], {texts_.value(i)});
        w_.table_rewritten();
    }

private:
    QList<int> rows_;
    TableRows texts_;
};

class TableReplaced : public TableStep
{
public:
    TableReplaced(MainWindow& w, const TableRows& before, const std::function<void(QTableWidget*)>& fill_after)
        : TableStep(w), before_(before), fill_after_(fill_after)
    {
    }

protected:
    void apply() override
    {
        fill_after_(table());
        w_.table_rewritten();
    }
    void revert() override
    {
        table()->setRowCount(0);
        insert_table_rows(table(), 0, before_);
        w_.table_rewritten();
    }

private:
    TableRows before_;
    std::function<void(QTableWidget*)> fill_after_;
};

} // namespace

void set_row_texts(QTableWidget* table, int row, const QStringList& texts)
{
    for (int column = 0; column < texts.size() && column < table->columnCount(); ++column) {
        if (QTableWidgetItem* item = table->item(row, column))
            item->setText(texts[column]);
        else
            table->setItem(row, column, new PointItem(texts[column]));
    }
}

void insert_table_rows(QTableWidget* table, int at, const TableRows& rows)
{
    if (at < table->rowCount()) {
        for (int i = 0; i < rows.size(); ++i) {
            table->insertRow(at + i);
            set_row_texts(table, at + i, rows[i]);
        }
        return;
    }
    // Rows at the end (a Clear or an Open undone: the whole table) come in at once, and the views hear
    // of their cells in one change, as a file fills the table.
    table->setRowCount(at + rows.size());
    QAbstractItemModel* model = table->model();
    const bool was_blocked = model->blockSignals(true);
    for (int i = 0; i < rows.size(); ++i)
        set_row_texts(table, at + i, rows[i]);
    model->blockSignals(was_blocked);
    if (!rows.isEmpty() && table->columnCount() > 0)
        emit model->dataChanged(model->index(at, 0), model->index(at + rows.size() - 1, table->columnCount() - 1));
}

QUndoCommand* rows_appended_step(MainWindow& w, int first, int count, int merge_serial)
{
    return new RowsAppended(w, first, count, merge_serial);
}

QUndoCommand* row_replaced_step(MainWindow& w, int row, const QStringList& before, const QStringList& after)
{
    return new RowReplaced(w, row, before, after);
}

QUndoCommand* rows_removed_step(MainWindow& w, const QList<int>& rows, const TableRows& texts)
{
    return new RowsRemoved(w, rows, texts);
}

QUndoCommand* table_replaced_step(MainWindow& w, const TableRows& before,
                                  const std::function<void(QTableWidget*)>& fill_after)
{
    return new TableReplaced(w, before, fill_after);
}

void replace_table_rows(MainWindow& w, const TableRows& before, const TableRows& after)
{
    const auto fill = [after](QTableWidget* table) {
        table->setRowCount(0);
        insert_table_rows(table, 0, after);
    };
    fill(w.tableWidget);
    w.push_table_step(table_replaced_step(w, before, fill));
    w.table_rewritten();
}
