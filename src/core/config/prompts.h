// The numbers of the popup prompts: the entries of the PopupPrompt list of parameter.xml, in order,
// which getpopup_prompt(n) returns. The list is the same length in every language.
#ifndef PROMPTS_H
#define PROMPTS_H

namespace Prompt
{
enum : int {
    Pair = 0,                 // "%1: %2"
    NoSuchPrompt = 1,         // shown for a number the list does not hold
    Information = 2,          // message box captions
    Warning = 3,
    Error = 4,
    ProgramName = 5,          // the caption of the program's own message boxes
    ReallyDo = 6,             // "Do you really want to %1?"
    QuitTheProgram = 7,       // its %1 for Exit
    Done = 8,
    NotCompleted = 9,
    FileSaved = 10,
    FileOpened = 11,
    SelectPointFirst = 12,
    OpenCoordinateFile = 13,  // file dialog captions
    SaveCoordinateFileAs = 14,
    Connected = 15,           // the connection state, also the head of the progress text
    NotConnected = 16,
    Sending = 17,             // progress text heads
    Receiving = 18,
    AllSent = 19,
    AllReceived = 20,
    TransferRunning = 21,
    PortType = 22,            // the caption of the port-type questions
    NotBluetoothPort = 23,    // %1 the port
    IsBluetoothPort = 24,
    InstrumentError = 25,
    PortOpenFailed = 26,      // %1 the port, %2 the reason
    ConnectionLost = 27,      // %1 the port, %2 the reason
    FileNotWritten = 28,      // %1 the file, %2 the reason
    FileNotRead = 29,
    BadFileName = 30,         // %1 the name
    Saved = 31,               // %1 the file
    JobSaved = 32,            // %1 the file
    TransferringJob = 33,
    UnknownSuffix = 34,       // %1 the suffix
    DownloadNotStarted = 35,
};
} // namespace Prompt

#endif // PROMPTS_H
