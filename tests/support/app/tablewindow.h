// A main window of one instrument type in a temporary working folder with English texts, for the
// point table commands and the export; filling the table and reading it back.
#ifndef TABLEWINDOW_H
#define TABLEWINDOW_H

#include "support/core/workdir.h"
#include "window/mainwindow.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

struct TableWindow {
    // `prepare` may change the runtime files before the window starts.
    explicit TableWindow(const QString& type, const std::function<void(WorkDir&)>& prepare = {});
    WorkDir dir;
    std::unique_ptr<MainWindow> w;

    // Appends a row with items for `cells` only.
    void add_row(const QStringList& cells) const;
    // Fills the observation layout with samples/<job>.obs as the window receives it: the kind label,
    // the job, the fields in the table's columns and the angles with marks.
    void fill_sample_job(const QString& job) const;
    // Takes the texts of `key` out of the window's UI texts, as if no file held them.
    void drop_texts(const QString& key) const;
    // Every row's cell texts; a cell without an item reads "<none>".
    QList<QStringList> rows() const;
};

#endif // TABLEWINDOW_H
