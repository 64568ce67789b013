// Keyboard shortcuts of the menu commands: the menus come from the UI-text file, the keys from here,
// so they are the same in every language.
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace
{

struct CommandShortcut {
    Command command;
    QKeySequence::StandardKey standard; // QKeySequence::UnknownKey: `key` instead
    int key;
    int other_key = 0; // a second key, when not 0
};

const CommandShortcut kShortcuts[] = {
    {Command::FileOpen, QKeySequence::Open, 0},
    {Command::FileSaveAs, QKeySequence::Save, 0}, // the program's one way to save
    {Command::NewPoint, QKeySequence::New, 0},
    {Command::DeletePoint, QKeySequence::UnknownKey, Qt::Key_Delete},
    {Command::Find, QKeySequence::Find, 0},
    {Command::Print, QKeySequence::Print, 0},
    {Command::RefreshPorts, QKeySequence::UnknownKey, Qt::Key_F5},
    {Command::Undo, QKeySequence::UnknownKey, int(Qt::CTRL) | Qt::Key_Z},
    {Command::Redo, QKeySequence::UnknownKey, int(Qt::CTRL) | Qt::Key_Y, int(Qt::CTRL) | int(Qt::SHIFT) | Qt::Key_Z},
};

QList<QKeySequence> keys_of(const CommandShortcut& shortcut)
{
    if (shortcut.standard != QKeySequence::UnknownKey)
        return {QKeySequence(shortcut.standard)};
    QList<QKeySequence> keys{QKeySequence(shortcut.key)};
    if (shortcut.other_key)
        keys << QKeySequence(shortcut.other_key);
    return keys;
}

} // namespace

void MainWindow::assign_shortcuts()
{
    // The first menu item of each command gets its key: a key on two actions would reach neither.
    QList<Command> given;
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->menu() || action->isSeparator())
            continue;
        const Command command = command_for_key(action->data().toString(), CommandSource::Menu);
        for (const CommandShortcut& shortcut : kShortcuts) {
            if (shortcut.command != command || given.contains(command))
                continue;
            action->setShortcuts(keys_of(shortcut));
            action->setShortcutContext(Qt::WindowShortcut);
            given << command;
        }
    }
}
