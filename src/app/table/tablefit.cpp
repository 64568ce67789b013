// The table's width in the splitter beside the plan.
#include "table/tablefit.h"

#include <QEvent>
#include <QHeaderView>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <algorithm>

namespace
{

constexpr int kRowNumberDigits = 5;

} // namespace

TableFit::TableFit(QSplitter* splitter, QTableView* table, int columns_width, int least_plan_width)
    : QObject(splitter), splitter_(splitter), table_(table), columns_width_(columns_width),
      least_plan_width_(least_plan_width)
{
    splitter_->installEventFilter(this);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { user_moved_ = true; });
}

int TableFit::needed_width() const
{
    const QHeaderView* rows = table_->verticalHeader();
    const int digits = rows->fontMetrics().horizontalAdvance(QString(kRowNumberDigits, QLatin1Char('0')));
    // The row header's own margins come on top of its text, as its size hint says for what it shows.
    const int margins = 2 * table_->style()->pixelMetric(QStyle::PM_HeaderMargin) + 4;
    const int row_header = rows->isHidden() ? 0 : std::max(rows->sizeHint().width(), digits + margins);
    const int scroll_bar = table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table_);
    return 2 * table_->frameWidth() + row_header + columns_width_ + scroll_bar;
}

void TableFit::fit()
{
    if (user_moved_ || splitter_->count() < 2)
        return;
    const int available = splitter_->width() - splitter_->handleWidth();
    if (available <= 0)
        return;
    if (splitter_->widget(1)->isHidden()) // the plan is hidden: the table has it all
        return;
    const int table = std::max(std::min(needed_width(), available - least_plan_width_), available / 2);
    splitter_->setSizes({table, available - table});
}

bool TableFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == splitter_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        fit();
    return QObject::eventFilter(watched, event);
}
