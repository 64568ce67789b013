// The KT90 window on a pseudo-terminal that the transfer suites share: a fresh working folder, the
// window in it, the pty listed as a port in the instrument tree, and the steps the tests take there
// (a listing played to its end, a recorded download source, a PC folder, a row of the PC tree).
#ifndef KT90FIXTURE_H
#define KT90FIXTURE_H

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class MainWindow;
class PtyInstrument;
class QAction;
class QModelIndex;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class WorkDir;

// The texts of the nodes under `item`, two spaces of indent a level.
QStringList dump(const QTreeWidgetItem* item, int depth = 0);
QTreeWidgetItem* find_node(QTreeWidget* tree, const QString& text);

// What the transfer settings dialog showed, and the answer given to it.
struct SettingsSeen {
    QString from, to, name;
    QStringList jobs;
};

// Answers the transfer settings dialog: the format and (when given) the file name, Yes to the
// question, OK. `then` runs before OK, e.g. to arm the answer of a second dialog.
QPointer<QTimer> answer_settings(SettingsSeen* seen, const QString& format, const QString& name = QString(),
                                 std::function<void()> then = {});

// A context-menu action carrying the menu entry `id` (owned by the application).
QAction* action(const QString& id);

class Kt90Fixture
{
protected:
    Kt90Fixture();
    ~Kt90Fixture();
    // Before each test: the window, the pty and its port node; after it, all three gone.
    void start();
    void stop();

    // A listing of the pty's instrument, played to its end.
    void list_jobs(const QStringList& jobs, const QStringList& formats);
    // Job and format lines as a listing leaves them, the job's nodes under `port`, and its fixed-points
    // leaf recorded as the download source.
    QTreeWidgetItem* recorded_leaf(QTreeWidgetItem* port, const QString& job_line, const QString& format_line);
    // A folder in the temporary working directory, shown expanded under the PC tree's root.
    QString pc_folder(const QString& name);
    // The point of the PC tree's row for `path`, in the main window's coordinates.
    QPoint row_point(const QString& path);

    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> w_;
    std::unique_ptr<PtyInstrument> pty_;
    QTreeWidgetItem* port_ = nullptr;
};

#endif // KT90FIXTURE_H
