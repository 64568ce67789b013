// The command keys that menu items and toolbar buttons carry, and the command each one runs.
#ifndef COMMANDKEYS_H
#define COMMANDKEYS_H

#include <QString>

enum class Command {
    None,
    FileOpen,
    FileSaveAs,
    Export,
    NewPoint,
    EditPoint,
    DeletePoint,
    ClearPoints,
    ConnectCable,
    ConnectBluetooth,
    Disconnect,
    ReceiveCoordinates,
    SendCoordinates,
    SendSelectedRows,
    ReceiveMeasuredData,
    PortSettings,
    Exit,
    About,
    CommLog,
    TogglePlan,
    CoordinateSystem,
    Import,
    Find,
    RefreshPorts,
    Undo,
    Redo,
    CopyRows,
    KeepViewOrder,
    PlanLinework,
    CodeList,
    LineworkReport,
    ResolveDuplicates,
    CheckMeasuredData,
    RecomputeMeasuredData,
    Print,
    PrintPreview,
    ExportReport,
};

enum class CommandSource { Menu, Toolbar };

// The command of `key` (compared without regard to letter case) for a menu item or a toolbar button;
// Command::None for keys that do nothing there or are not known.
Command command_for_key(const QString& key, CommandSource source);

#endif // COMMANDKEYS_H
