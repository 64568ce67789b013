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
};

const CommandShortcut kShortcuts[] = {
    {Command::FileOpen, QKeySequence::Open, 0},
    {Command::FileSaveAs, QKeySequence::Save, 0}, // the program's one way to save
    {Command::NewPoint, QKeySequence::New, 0},
    {Command::DeletePoint, QKeySequence::UnknownKey, Qt::Key_Delete},
    {Command::Find, QKeySequence::Find, 0},
    {Command::RefreshPorts, QKeySequence::UnknownKey, Qt::Key_F5},
};

QKeySequence key_of(const CommandShortcut& shortcut)
{
    return shortcut.standard == QKeySequence::UnknownKey ? QKeySequence(shortcut.key) : QKeySequence(shortcut.standard);
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
            action->setShortcut(key_of(shortcut));
            action->setShortcutContext(Qt::WindowShortcut);
            given << command;
        }
    }
}
