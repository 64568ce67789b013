// The dispatch table: command key, where it is known, and what it runs.
#include "window/commandkeys.h"

namespace
{

struct KeyEntry {
    const char* key;
    bool on_toolbar;
    Command command;
};

// Matched in this order; the first entry whose key matches decides.
const KeyEntry kKeys[] = {
    {"manage", false, Command::None},
    {"ManagementPersonnel", false, Command::None},
    {"ImportFunction", false, Command::None},
    {"FileOpen", false, Command::FileOpen},
    {"SaveDataFile", false, Command::FileSaveAs},
    {"FileSaveas", false, Command::FileSaveAs},
    {"Export", false, Command::Export},
    {"NewCoordinates", false, Command::NewPoint},
    {"EditCoordinates", false, Command::EditPoint},
    {"DeleteCoordinates", false, Command::DeletePoint},
    {"ClearCoordinates", false, Command::ClearPoints},
    {"Connect", true, Command::ConnectCable},
    {"BTCOMConnect", true, Command::ConnectBluetooth},
    {"Disconnect", true, Command::Disconnect},
    {"ReceiveData", true, Command::ReceiveCoordinates},
    {"SendData", true, Command::SendCoordinates},
    {"SendSelected", true, Command::SendSelectedRows},
    {"MeasuredData", true, Command::ReceiveMeasuredData},
    {"PortSetting", true, Command::PortSettings},
    {"Exit", true, Command::Exit},
    {"space", false, Command::None},
    {"Help", true, Command::None},
    {"About", false, Command::About},
    {"CommLog", false, Command::CommLog},
    {"PlanView", true, Command::TogglePlan},
    {"CoordinateSystem", true, Command::CoordinateSystem},
    {"RecentFiles", false, Command::None}, // a submenu: its files open themselves
    {"ImportPoints", true, Command::Import},
    {"FindPoint", true, Command::Find},
    {"RefreshPorts", true, Command::RefreshPorts},
    {"Undo", false, Command::Undo},
    {"Redo", false, Command::Redo},
    {"CopyRows", false, Command::CopyRows},
    {"KeepViewOrder", false, Command::KeepViewOrder},
    {"PlanLinework", true, Command::PlanLinework},
    {"CodeList", true, Command::CodeList},
    {"LineworkReport", true, Command::LineworkReport},
    {"ResolveDuplicates", false, Command::ResolveDuplicates},
    {"CheckMeasuredData", true, Command::CheckMeasuredData},
    {"RecomputeMeasuredData", true, Command::RecomputeMeasuredData},
    {"Print", true, Command::Print},
    {"PrintPreview", true, Command::PrintPreview},
    {"ExportReport", true, Command::ExportReport},
    {"Language", false, Command::None}, // a submenu: its languages store themselves
};

} // namespace

Command command_for_key(const QString& key, CommandSource source)
{
    for (const KeyEntry& entry : kKeys) {
        if (source == CommandSource::Toolbar && !entry.on_toolbar)
            continue;
        if (key.compare(QLatin1String(entry.key), Qt::CaseInsensitive) == 0)
            return entry.command;
    }
    return Command::None;
}
