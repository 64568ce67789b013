// The real dialogs behind the modal seam, and the scripted answers tests give in their place.
#include "modal/modal.h"

#include <QFileDialog>
#include <QPair>
#include <QPushButton>
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
    modal_script::Answerer answerer;
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
    if (script().files.isEmpty()) {
        QString answer;
        if (script().answerer)
            script().answerer(script().shown.last(), &answer);
        return answer;
    }
    const QPair<QString, QString> file = script().files.dequeue();
    if (selected_filter && !file.second.isNull())
        *selected_filter = file.second;
    return file.first;
}

struct NamedButton {
    QMessageBox::StandardButton button;
    const char* name;
};

// The standard buttons a question can offer, in QMessageBox's order, with their names.
const NamedButton kButtons[] = {
    {QMessageBox::Ok, "Ok"},         {QMessageBox::Save, "Save"},       {QMessageBox::Open, "Open"},
    {QMessageBox::Yes, "Yes"},       {QMessageBox::No, "No"},           {QMessageBox::Abort, "Abort"},
    {QMessageBox::Retry, "Retry"},   {QMessageBox::Ignore, "Ignore"},   {QMessageBox::Close, "Close"},
    {QMessageBox::Cancel, "Cancel"}, {QMessageBox::Discard, "Discard"}, {QMessageBox::Apply, "Apply"},
    {QMessageBox::Reset, "Reset"},
};

} // namespace

QMessageBox::StandardButton ask_question(QWidget* parent, const QString& title, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton default_button)
{
    if (script().on) {
        record("question", title, text);
        if (!script().answers.isEmpty())
            return script().answers.dequeue();
        if (!script().answerer)
            return QMessageBox::No;
        QList<QMessageBox::StandardButton> offered;
        for (const NamedButton& named : kButtons) {
            if (buttons.testFlag(named.button)) {
                offered << named.button;
                script().shown.last().buttons << QString::fromLatin1(named.name);
            }
        }
        const int index = script().answerer(script().shown.last(), nullptr);
        // Closed without a button: the box's escape button, as QMessageBox picks it (Cancel or No).
        if (index < 0 || index >= offered.size())
            return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
        return offered[index];
    }
    return QMessageBox::question(parent, title, text, buttons, default_button);
}

int ask_choice(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons,
               int default_index, int escape_index)
{
    if (script().on) {
        script().choices.append({"choice", title, text, buttons});
        if (!script().choice_answers.isEmpty())
            return script().choice_answers.dequeue();
        if (!script().answerer)
            return 0;
        const int index = script().answerer(script().choices.last(), nullptr);
        return index >= 0 && index < buttons.size() ? index : escape_index;
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

void set_answerer(Answerer answerer)
{
    script().answerer = std::move(answerer);
}

} // namespace modal_script
