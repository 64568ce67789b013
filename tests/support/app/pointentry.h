// Typing a point into the table as a user does: the point entry dialog answered, New or Edit run.
#ifndef POINTENTRY_H
#define POINTENTRY_H

#include <QStringList>

class MainWindow;

class QDialog;

// Fills the point entry dialog `dialog` (any other dialog is rejected): keeps what it shows in
// `shown` (when not null), types `typed` (when not empty) and accepts, or cancels when `accept` is false.
void fill_point_dialog(QDialog* dialog, QStringList* shown, const QStringList& typed, bool accept);
// Answers the next point entry dialog: keeps what it shows in `shown` (when not null), types `typed`
// (when not empty) and accepts, or cancels when `accept` is false.
void answer_point_dialog(QStringList* shown, const QStringList& typed, bool accept);
// New with the five texts typed into the dialog (name, code, N, E, Z).
void type_new_point(MainWindow& w, const QStringList& point);
// Edit of row `row` with the five texts typed over what the dialog shows.
void type_edited_point(MainWindow& w, int row, const QStringList& point);

#endif // POINTENTRY_H
