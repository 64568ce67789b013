// A point-table cell that keeps its text in a plain member. A QTableWidgetItem keeps its text as
// a QVariant in a vector of role values, which costs two extra allocations per cell: with the
// hundreds of thousands of cells a file or a transfer fills, that is most of the table's time.
// A cell made from a file's line keeps a share of the line and where its field lies in it, so a
// whole file fills the table without a string per cell. Once the text is changed (an edit, a setText) the item behaves
// as any QTableWidgetItem.
#ifndef POINTITEM_H
#define POINTITEM_H

#include "data/pointrows.h"

#include <QTableWidgetItem>

class PointItem : public QTableWidgetItem
{
public:
    explicit PointItem(const QString& text) { text_.text = text; }
    explicit PointItem(const CellText& text) : text_(text) {}

    QVariant data(int role) const override;
    void setData(int role, const QVariant& value) override;
    QTableWidgetItem* clone() const override { return new PointItem(*this); }

private:
    CellText text_;
    bool holds_text_ = true;
};

#endif // POINTITEM_H
