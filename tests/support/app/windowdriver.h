// Starting the main window in a test: the start-up dialog is answered as a user would, and modal
// dialogs of our own are answered when they appear.
#ifndef WINDOWDRIVER_H
#define WINDOWDRIVER_H

#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class MainWindow;
class QDialog;

// Calls `answer` once with the first modal dialog that is shown from now on (polled on a timer, so
// the dialog's own event loop delivers it). `answer` typically fills fields and clicks a button.
// The returned timer can be deleted to withdraw an answer that was not needed.
QPointer<QTimer> answer_next_dialog(std::function<void(QDialog*)> answer);

// Answers the next one-line name prompt (inputmsg_dangeDialog) with `name` and OK, or cancels it when
// `name` is null.
QPointer<QTimer> answer_name_prompt(const QString& name);

// Answers a KT90 upload's setting dialog with OK and then its job name prompt with `job`.
QPointer<QTimer> answer_upload_dialogs(const QString& job);

// Builds the main window in the current working directory, choosing `type` ("KT20_KT40", "KT85R",
// "KT40" or "KT90") in the selection dialog and accepting it; an empty type cancels the dialog.
std::unique_ptr<MainWindow> start_window(const QString& type);

#endif // WINDOWDRIVER_H
