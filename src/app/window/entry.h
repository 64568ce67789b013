// What the entry point does once the application object exists.
#ifndef ENTRY_H
#define ENTRY_H

class QApplication;

// Builds the main window (the whole start-up) and runs the event loop. The codec for local 8-bit text
// (file names, arguments) stays the system's; file contents and the wire name GBK themselves. When start-up is
// abandoned it closes the window at once and returns 1 if the UI texts could not be read, 0 if the user cancelled the
// instrument choice.
int run_ktlink(QApplication& app);

#endif // ENTRY_H
