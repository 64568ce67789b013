// The point table beside the plan in a splitter, as wide as its columns need: every column shows
// without scrolling while the plan keeps a useful width, and the plan takes the rest. When the window
// is too narrow for both, the plan keeps its least width and the table scrolls. Once the user moves
// the splitter's handle, the user's widths are kept.
#ifndef TABLEFIT_H
#define TABLEFIT_H

#include <QObject>

class QSplitter;
class QTableView;

class TableFit : public QObject
{
public:
    // `columns_width` is the sum of the columns' widths; `least_plan_width` what the plan keeps.
    TableFit(QSplitter* splitter, QTableView* table, int columns_width, int least_plan_width);

    // The width that shows every column: frame, row numbers (up to five digits), columns, scroll bar.
    int needed_width() const;
    // Splits the splitter's width as above (nothing once the user has moved the handle).
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSplitter* splitter_;
    QTableView* table_;
    int columns_width_;
    int least_plan_width_;
    bool user_moved_ = false;
};

#endif // TABLEFIT_H
