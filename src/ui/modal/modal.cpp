// The real dialogs behind the modal seam, and the scripted answers tests give in their place.
#include "modal/modal.h"

#include <QFileDialog>
#include <QPushButton>
#include <QPair>
#include <QQueue>
#include <cstdlib>

namespace
{

struct Script {
    bool on = false;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QPair<QString, QString>> files; // name, selected filter (null: the one shown first)
    QQueue<int> choice_answers;
    QList<modal_script::Shown> shown;
    QList<modal_script::Shown> choices;
    int ended_status = -1;
};

Script& script()
{
    static Script s;
    return s;
}

void record(const QString& kind, const QString& title, const QString& text)
{
    script().shown.append({kind, title, text, {}, QString(), QString()});
}

QString scripted_file(const QString& kind, const QString& caption, const QString& dir, const QString& filter,
                      QString* selected_filter = nullptr)
{
    record(kind, caption, QString());
    script().shown.last().dir = dir;
    script().shown.last().filter = filter;
    if (selected_filter)
        script().shown.last().filter += "\n" + *selected_filter;
    if (script().files.isEmpty())
        return QString();
    const QPair<QString, QString> file = script().files.dequeue();
    if (selected_filter && !file.second.isNull())
        *selected_filter = file.second;
    return file.first;
}

} // namespace

QMessageBox::StandardButton ask_question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton default_button)
{
    if (script().on) {
        record("question", title, text);
        return script().answers.isEmpty() ? QMessageBox::No : script().answers.dequeue();
    }
    return QMessageBox::question(parent, title, text, buttons, default_button);
}

int ask_choice(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
               int default_index, int escape_index)
{
    if (script().on) {
        script().choices.append({"choice", title, text, buttons});
        return script().choice_answers.isEmpty() ? 0 : script().choice_answers.dequeue();
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> pushed;
    for (const QString& caption : buttons)
        pushed.append(box.addButton(caption, QMessageBox::ActionRole));
    if (default_index >= 0 && default_index < pushed.size())
        box.setDefaultButton(pushed[default_index]);
    if (escape_index >= 0 && escape_index < pushed.size())
        box.setEscapeButton(pushed[escape_index]);
    box.exec();
    return int(pushed.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}

void show_information(QWidget* parent, const QString& title, const QString& text)
{
    if (script().on) {
        record("information", title, text);
        return;
    }
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void show_warning(QWidget* parent, const QString& title, const QString& text)
{
    if (script().on) {
        record("warning", title, text);
        return;
    }
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

QString get_open_file_name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (script().on)
        return scripted_file("open", caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString get_save_file_name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (script().on)
        return scripted_file("save", caption, dir, filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString get_save_file_name(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                           QString* selected_filter)
{
    if (script().on)
        return scripted_file("save", caption, dir, filter, selected_filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selected_filter);
}

void end_process(int status)
{
    if (script().on) {
        script().ended_status = status;
        return;
    }
    std::exit(status);
}

namespace modal_script
{

void enable(bool on)
{
    script().on = on;
}

bool enabled()
{
    return script().on;
}

void queue_answer(QMessageBox::StandardButton answer)
{
    script().answers.enqueue(answer);
}

void queue_file(const QString& path)
{
    script().files.enqueue({path, QString()});
}

void queue_file(const QString& path, const QString& selected_filter)
{
    script().files.enqueue({path, selected_filter});
}

void queue_choice(int index)
{
    script().choice_answers.enqueue(index);
}

QList<Shown> choices()
{
    return script().choices;
}

QList<Shown> shown()
{
    return script().shown;
}

void clear()
{
    script().answers.clear();
    script().files.clear();
    script().choice_answers.clear();
    script().shown.clear();
    script().choices.clear();
    script().ended_status = -1;
}

int ended_status()
{
    return script().ended_status;
}

} // namespace modal_script
