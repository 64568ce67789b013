// Point-table cells with their text in a member until it is first changed.
#include "table/pointitem.h"

namespace
{

bool is_text_role(int role)
{
    return role == Qt::DisplayRole || role == Qt::EditRole;
}

} // namespace

QVariant PointItem::data(int role) const
{
    if (holds_text_ && is_text_role(role))
        return text_.toString();
    return QTableWidgetItem::data(role);
}

void PointItem::setData(int role, const QVariant& value)
{
    // From the first change on, the base class holds the text and tells the view of it.
    if (holds_text_ && is_text_role(role)) {
        holds_text_ = false;
        text_ = CellText();
    }
    QTableWidgetItem::setData(role, value);
}
