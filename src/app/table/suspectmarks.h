// Suspect rows marked in the point table: a coordinate that is not a number and a name that another
// row holds too get a colour and a tooltip, and their count shows in the status line. The table's item
// delegate looks each painted cell up in the suspect rows, which follow the table's changes and are read
// again at most every 150 ms (a transfer's rows one by one), or when a cell is painted. The findings of
// the measured-data check are marked the same way until the table changes.
#ifndef SUSPECTMARKS_H
#define SUSPECTMARKS_H

#include "data/suspectrows.h"

#include <QBasicTimer>
#include <QHash>
#include <QPair>
#include <QStringList>
#include <QStyledItemDelegate>

class QLabel;
class QTableWidget;

class SuspectMarks : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Entries of the UI-text list "SuspectRows".
    enum Text {
        NotANumber,
        NameRepeated,
        BadCoordinateRows,
        RepeatedNameRows = BadCoordinateRows + 2,
        Separator = RepeatedNameRows + 2
    };

    // Marks the cells of `table`, whose layout `columns` describes; `status` shows the count.
    SuspectMarks(QTableWidget* table, const SuspectColumns& columns, QLabel* status, const QStringList& texts);

    // The suspect rows as the table holds them now.
    const SuspectRows& rows() const;
    // The colour of a cell, invalid for a cell that is not suspect, and its tooltip.
    QColor cell_colour(int row, int column) const;
    QString cell_tooltip(int row, int column) const;
    // The count for the status line; empty when no row is suspect.
    QString status_text() const;

    // The cells (row, column) the measured-data check found something in, with their tooltips, and
    // its count for the status line; dropped at the table's next change.
    using CheckCells = QHash<QPair<int, int>, QString>;
    void set_check_marks(const CheckCells& cells, const QString& status);
    const CheckCells& check_marks() const { return check_cells_; }

    static const QColor kBadCoordinateColour;
    static const QColor kRepeatedNameColour;
    static const QColor kCheckFindingColour;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void changed_from(int row);
    void show_status();

    QTableWidget* table_;
    QLabel* status_;
    QStringList texts_;
    mutable SuspectRows rows_;
    CheckCells check_cells_;
    QString check_status_;
    bool repaint_pending_ = false;
    QBasicTimer pending_;
};

#endif // SUSPECTMARKS_H
