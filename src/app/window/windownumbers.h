// Named values of the window's int members and arguments whose numbers the program's conventions fix,
// and the entries of the window's UI-text lists.
#ifndef WINDOWNUMBERS_H
#define WINDOWNUMBERS_H

namespace LinkMode
{
enum : int { Cable = 0, Bluetooth = 1 }; // CommunicationMode
}
namespace Status
{
// show_statemsg: refresh the settings and the connection state, show a message, refresh as closed
enum : int { Settings = 0, Message = 1, Closed = 2 };
} // namespace Status
namespace Traffic
{
enum : int { Written = 0, Read = 1 }; // show_tongxunmsg
}
namespace TransferState
{
enum : int { Reset = 0 }; // COMParameter_ini: the transfer flag, direction, buffer and counters cleared
}
namespace WaitKind
{
enum : int { Listing = 1, JobCopy = 2 }; // wait_start: the instrument's lists, a job copy
}
namespace ToolbarGroup
{
enum : int { ByConnection = 0 }; // toolbarbuttonshow: the buttons enabled while the port is open
}
namespace TableText
{
// Entries of the UI-text list "TableMessages": the counted rows of the file commands, Import's status
// texts and its file dialog. Rows and LinesSkipped are counted texts (the form for one, then the form
// for others).
enum : int {
    Rows = 0,
    LinesSkipped = 2,
    Imported = 4,
    ImportedSkipping = 5,
    ImportCaption = 6,
    ImportFilters = 7, // four filters
    EditedPointGone = 11
};
} // namespace TableText
namespace TableEditText
{
// Entries of the UI-text list "TableEdit": undo refused during a transfer, the table's context menu, the
// rows copied.
enum : int { NotDuringTransfer = 0, NewPoint, EditPoint, DeleteRows, CopyRows, SendSelected, Copied, KeepOrder };
} // namespace TableEditText

#endif // WINDOWNUMBERS_H
