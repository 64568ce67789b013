// A KT90 window on a pty for the tree gestures' tests: the port's node in the instrument tree, a
// listing played to its end, a download source recorded, folders of the PC tree and their rows, and
// the transfer settings dialog answered.
#ifndef KT90TREES_H
#define KT90TREES_H

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class MainWindow;
class PtyInstrument;
class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class WorkDir;

// The texts of the nodes under `item`, indented two spaces a level.
QStringList dump(const QTreeWidgetItem* item, int depth = 0);
QTreeWidgetItem* find_node(QTreeWidget* tree, const QString& text);
// A tree menu's action of command `id`.
QAction* action(const QString& id);

// What the transfer settings dialog showed, and the answer given to it.
struct SettingsSeen {
    QString from, to, name;
    QStringList jobs;
};

// Answers the transfer settings dialog: the format and (when given) the file name, Yes to the
// question, OK. `then` runs before OK, e.g. to arm the answer of a second dialog.
QPointer<QTimer> answer_settings(SettingsSeen* seen, const QString& format, const QString& name = QString(),
                                 std::function<void()> then = {});

// The suites derive from it beside QObject, their init() calling start() and cleanup() stop().
struct Kt90Trees {
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> w_;
    std::unique_ptr<PtyInstrument> pty_;
    QTreeWidgetItem* port_ = nullptr;

    // A KT90 window in a fresh working directory, the pty's port its current instrument-tree node.
    void start();
    void stop();

    // A listing of the pty's instrument, played to its end.
    void list_jobs(const QStringList& jobs, const QStringList& formats);
    // Job and format lines as a listing leaves them, the job's nodes under `at`, and its fixed-points
    // leaf recorded as the download source.
    QTreeWidgetItem* recorded_leaf(QTreeWidgetItem* at, const QString& job_line, const QString& format_line);
    // A folder in the temporary working directory, shown expanded under the PC tree's root.
    QString pc_folder(const QString& name);
    // The point of the PC tree's row for `path`, in the main window's coordinates.
    QPoint row_point(const QString& path);
};

#endif // KT90TREES_H
