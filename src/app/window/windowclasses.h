// The classes window/mainwindow.h names by pointer or reference only, declared without their headers so
// that the files including the window's header do not compile them all.
#ifndef WINDOWCLASSES_H
#define WINDOWCLASSES_H

// Qt's
class QAction;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QFileSystemModel;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPagedPaintDevice;
class QPointF;
class QProgressDialog;
class QSplitter;
class QTableWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoCommand;
class QUndoStack;
class QVBoxLayout;
class QWidget;

// The program's
class CommLog;
class CrsTransform;
class DictionaryAnalysis;
class FindBar;
class PlanView;
class RecoveryJournal;
class RedrawPacing;
class SuspectMarks;
class TableFit;
class ViewOrder;
class xml_analysis;
struct JobReport;
struct ReportInput;
struct RowShape;
enum class Command;
namespace sendcheck
{
struct Report;
}
namespace Ui
{
class MainWindow; // the form, generated from window/mainwindow.ui
}

#endif // WINDOWCLASSES_H
