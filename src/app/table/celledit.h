// The point table's delegate with editing in place: the suspect-row marks, and an edited cell handed to
// the window as a change of its row (one undo step, journaled) instead of being written to the model.
#ifndef CELLEDIT_H
#define CELLEDIT_H

#include "table/suspectmarks.h"

#include <functional>

class CellEditing : public SuspectMarks
{
    Q_OBJECT

public:
    // `commit(row, column, text)` takes an edited text; cells of columns before `first_editable` are
    // not edited (the observation layout's record kind decides how its row is written).
    using Commit = std::function<void(int row, int column, const QString& text)>;
    CellEditing(QTableWidget* table, const SuspectColumns& columns, QLabel* status, const QStringList& texts,
                int first_editable, Commit commit);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    int first_editable_;
    Commit commit_;
};

#endif // CELLEDIT_H
