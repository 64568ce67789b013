// The one seam for message boxes, questions, file dialogs and ending the process. The program calls
// the real Qt dialogs through it; a test switches it to scripted mode and pre-answers every call, so no
// test can hang on a modal and every path can be driven.
#ifndef MODAL_H
#define MODAL_H

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

QMessageBox::StandardButton ask_question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::StandardButton default_button = QMessageBox::NoButton);
// A question whose buttons carry the caller's texts: the index of the button chosen, or -1 when the box
// was closed without one. Enter chooses `default_index`, Escape and the close button `escape_index`.
int ask_choice(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
               int default_index, int escape_index);
void show_information(QWidget* parent, const QString& title, const QString& text);
void show_warning(QWidget* parent, const QString& title, const QString& text);
QString get_open_file_name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
QString get_save_file_name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
// As above, starting with the filter *selected_filter and giving back the filter the user chose.
QString get_save_file_name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                           QString* selected_filter);
// Ends the process at once with `status`, without returning to the event loop. In scripted mode it
// only records the status and returns.
void end_process(int status);

namespace modal_script
{

struct Shown {
    QString kind; // "question", "information", "warning", "open", "save", "choice"
    QString title;
    QString text;
    QStringList buttons; // a choice's buttons
    QString dir;         // file dialogs: the folder they start in
    QString filter;      // file dialogs: the filters, and for "save" the one selected at the start after "\n"
};

// Scripted mode: nothing is shown; answers come from the queues below. A question without a queued
// answer is answered No, a file dialog without a queued name is cancelled.
void enable(bool on = true);
bool enabled();
void queue_answer(QMessageBox::StandardButton answer);
void queue_file(const QString& path);
// The answer to the next choice: a button's index. A choice without a queued answer takes its first
// button. Choices are kept apart from the other boxes: `choices()`.
void queue_choice(int index);
// A file name and the filter the user chose with it (save dialogs).
void queue_file(const QString& path, const QString& selected_filter);
QList<Shown> shown();
QList<Shown> choices();
void clear();
// The status end_process was asked for in scripted mode, or -1.
int ended_status();

// Asked in scripted mode for every question, choice and file dialog that has no queued answer (a test
// that answers at random): `asked` is what is shown, its `buttons` the names of the buttons (a
// question's standard buttons by their enum names; none for file dialogs). Returns the index of the
// button chosen, or -1 for the box closed without one; for a file dialog the name goes into *file
// (empty: cancelled). An empty function puts back the defaults above.
using Answerer = std::function<int(const Shown& asked, QString* file)>;
void set_answerer(Answerer answerer);

} // namespace modal_script

#endif // MODAL_H
