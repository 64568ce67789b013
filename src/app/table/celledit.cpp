// Editing a point-table cell in place.
#include "table/celledit.h"

#include <QMetaProperty>
#include <QWidget>

CellEditing::CellEditing(QTableWidget* table, const SuspectColumns& columns, QLabel* status, const QStringList& texts,
                         int first_editable, Commit commit)
    : SuspectMarks(table, columns, status, texts), first_editable_(first_editable), commit_(std::move(commit))
{
}

QWidget* CellEditing::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() < first_editable_)
        return nullptr;
    return SuspectMarks::createEditor(parent, option, index);
}

void CellEditing::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    // The text as typed, as the point entry dialog takes it; an unchanged text is no change.
    const QByteArray property = editor->metaObject()->userProperty().name();
    const QString text = editor->property(property.isEmpty() ? "text" : property.constData()).toString();
    if (text != model->data(index, Qt::EditRole).toString())
        commit_(index.row(), index.column(), text);
}
