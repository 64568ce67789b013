// The main window as the benchmarks use it: started in the staged runtime folder with an instrument
// type chosen in the selection dialog, every message box answered by the scripted modal seam, and
// shown as the entry point shows it.
#ifndef BENCHWINDOW_H
#define BENCHWINDOW_H

#include "window/mainwindow.h"

#include <QString>
#include <memory>

// Makes the staged runtime folder (build/run, with config/ and icon/) the working directory.
void enter_runtime_folder();

// Builds the window choosing `type` ("KT20_KT40", "KT85R", "KT40" or "KT90") and shows it; null when
// start-up did not complete.
std::unique_ptr<MainWindow> start_bench_window(const QString& type);

#endif // BENCHWINDOW_H
