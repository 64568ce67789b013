// Windows for the table tests.
#include "support/app/tablewindow.h"

#include "data/fileoperation.h"
#include "data/tablecolumns.h"
#include "support/app/windowdriver.h"
#include "survey/surveyangle.h"

#include <QTableWidget>
#include <algorithm>

TableWindow::TableWindow(const QString& type, const std::function<void(WorkDir&)>& prepare)
{
    dir.set_language("English");
    if (prepare)
        prepare(dir);
    w = start_window(type);
}

void TableWindow::add_row(const QStringList& cells) const
{
    QTableWidget* table = w->tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < cells.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(cells[column]));
}

QList<QStringList> TableWindow::rows() const
{
    const QTableWidget* table = w->tableWidget;
    QList<QStringList> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            cells << (item ? item->text() : QString("<none>"));
        }
        rows << cells;
    }
    return rows;
}

void TableWindow::drop_texts(const QString& key) const
{
    QList<QStringList>& texts = w->parametre_list;
    texts.erase(
        std::remove_if(texts.begin(), texts.end(), [&key](const QStringList& row) { return row.value(0) == key; }),
        texts.end());
}

void TableWindow::fill_sample_job(const QString& job) const
{
    const struct {
        int field;
        int column;
    } fields[] = {{1, ObsColumn::Name},
                  {9, ObsColumn::Code},
                  {7, ObsColumn::North},
                  {6, ObsColumn::East},
                  {8, ObsColumn::Height},
                  {10, ObsColumn::InstrumentHeight},
                  {2, ObsColumn::HorizontalAngle},
                  {3, ObsColumn::VerticalAngle},
                  {12, ObsColumn::SlopeDistance},
                  {5, ObsColumn::VerticalDistance},
                  {4, ObsColumn::HorizontalDistance},
                  {13, ObsColumn::ReflectorHeight},
                  {11, ObsColumn::BacksightAngle}};
    for (const QString& line : FileOperation().readfile(QString(KT_SOURCE_DIR) + "/samples/" + job + ".obs")) {
        const QStringList f = line.split(',');
        QStringList cells;
        for (int c = 0; c < ObsColumn::Count; ++c)
            cells << QString();
        cells[ObsColumn::Kind] = w->get_map_data(f[0], w->CoordinateType);
        cells[ObsColumn::Job] = job;
        for (const auto& m : fields) {
            const bool angle = m.column >= ObsColumn::BacksightAngle && m.column <= ObsColumn::VerticalAngle;
            const QString text = f.value(m.field);
            cells[m.column] =
                angle && !text.isEmpty() ? survey::angle_with_marks(survey::read_angle(text).seconds) : text;
        }
        add_row(cells);
    }
}
