// The targets that drive the main window's receive and send paths: the window of a type, built once.
#ifndef WINDOWHARNESS_H
#define WINDOWHARNESS_H

#include <QString>

class MainWindow;

// The main window of instrument type `type`, built once per process (the selection dialog answered
// as a user would) in the working folder, with a GUI application (offscreen) and the modal seam
// answering every dialog. Objects the previous input left to deleteLater are deleted first.
MainWindow& fuzz_window(const QString& type);

#endif // WINDOWHARNESS_H
