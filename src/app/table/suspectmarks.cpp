// The suspect-row marks: following the table, colours and tooltips, the count in the status line.
#include "table/suspectmarks.h"

#include "config/countedtext.h"
#include "table/tablerows.h"

#include <QHelpEvent>
#include <QLabel>
#include <QTableWidget>
#include <QTimerEvent>
#include <QToolTip>

namespace
{

constexpr int kRefreshMs = 150;

} // namespace

const QColor SuspectMarks::kBadCoordinateColour(255, 196, 170);
const QColor SuspectMarks::kRepeatedNameColour(255, 232, 150);
const QColor SuspectMarks::kCheckFindingColour(250, 200, 230);

SuspectMarks::SuspectMarks(QTableWidget* table, const SuspectColumns& columns, QLabel* status, const QStringList& texts)
    : QStyledItemDelegate(table), table_(table), status_(status), texts_(texts), rows_(columns)
{
    follow_row_changes(table_->model(), this, [this](int first) { changed_from(first); });
    if (status_)
        status_->hide();
}

void SuspectMarks::changed_from(int row)
{
    rows_.changed_from(row);
    // The cells are repainted on the timer: a table being destroyed signals its rows away without
    // a viewport.
    repaint_pending_ = repaint_pending_ || !check_cells_.isEmpty();
    check_cells_.clear();
    check_status_.clear();
    if (!pending_.isActive())
        pending_.start(kRefreshMs, this);
}

const SuspectRows& SuspectMarks::rows() const
{
    if (rows_.stale()) {
        rows_.refresh(table_->rowCount(), [this](int row, int column) { return cell_text(table_, row, column); });
    }
    return rows_;
}

void SuspectMarks::set_check_marks(const CheckCells& cells, const QString& status)
{
    check_cells_ = cells;
    check_status_ = status;
    table_->viewport()->update();
    show_status();
}

void SuspectMarks::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != pending_.timerId())
        return QStyledItemDelegate::timerEvent(event);
    pending_.stop();
    if (repaint_pending_)
        table_->viewport()->update();
    repaint_pending_ = false;
    show_status();
}

void SuspectMarks::show_status()
{
    if (!status_)
        return;
    const QString text = status_text();
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

QString SuspectMarks::status_text() const
{
    const SuspectRows& suspect = rows();
    QStringList parts;
    if (suspect.rows_with_bad_coordinates() > 0)
        parts << counted_text(texts_, BadCoordinateRows, suspect.rows_with_bad_coordinates());
    if (suspect.rows_with_repeated_names() > 0)
        parts << counted_text(texts_, RepeatedNameRows, suspect.rows_with_repeated_names());
    if (!check_status_.isEmpty())
        parts << check_status_;
    return parts.join(texts_.value(Separator));
}

QColor SuspectMarks::cell_colour(int row, int column) const
{
    const SuspectRows& suspect = rows();
    if (suspect.bad_coordinate(row, column))
        return kBadCoordinateColour;
    if (check_cells_.contains({row, column}))
        return kCheckFindingColour;
    if (suspect.is_name_column(column) && suspect.name_count(row) > 1)
        return kRepeatedNameColour;
    return QColor();
}

QString SuspectMarks::cell_tooltip(int row, int column) const
{
    const SuspectRows& suspect = rows();
    if (suspect.bad_coordinate(row, column))
        return texts_.value(NotANumber);
    const auto check = check_cells_.constFind({row, column});
    if (check != check_cells_.constEnd())
        return check.value();
    if (suspect.is_name_column(column) && suspect.name_count(row) > 1)
        return texts_.value(NameRepeated).arg(cell_text(table_, row, column)).arg(suspect.name_count(row));
    return QString();
}

void SuspectMarks::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->direction == Qt::RightToLeft) {
        // Names, codes and numbers read left to right also in a right-to-left table ("12-A" is not
        // "A-12"); the cell keeps them where that table's reading starts, at its right.
        option->direction = Qt::LeftToRight;
        option->displayAlignment = (option->displayAlignment & Qt::AlignVertical_Mask) | Qt::AlignRight;
    }
    const QColor colour = cell_colour(index.row(), index.column());
    if (colour.isValid())
        option->backgroundBrush = colour;
}

bool SuspectMarks::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        const QString tip = cell_tooltip(index.row(), index.column());
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
