// The instrument tree's Refresh, and the captions above the two trees with the PC tree opened at the
// user's own folder (the drives stay at its top, as the model shows them).
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include "config/countedtext.h"
#include "config/dictionaryanalysis.h"
#include "trees/pcfilemodel.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <memory>

namespace
{

// Entries of the UI-text list "TreeCaptions".
// PortsListed: the form for one port, then for others.
enum TreeCaption { InstrumentCaption = 0, PortsListed = 1, FolderKind = 3, DriveKind = 4 };

// The folder the PC tree opens at: the user's documents folder, or the home folder without one.
QString start_folder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

void MainWindow::setup_tree_captions()
{
    if (InstrumentType != "KT90")
        return;
    const QStringList captions = get_parametretitle("TreeCaptions");
    ui->label_5->setText(captions.value(InstrumentCaption));
    // The caption is not cut: the instrument's column is as wide as its caption needs.
    ui->label_5->setMaximumWidth(std::max(ui->label_5->maximumWidth(), ui->label_5->sizeHint().width()));
    // Nor are the PC tree's column captions (Qt's own, in the language's translation).
    QHeaderView* header = ui->treeView->header();
    for (int c = 0; c < header->count(); ++c)
        header->resizeSection(c, std::max(header->sectionSize(c), header->sectionSizeHint(c)));
    static_cast<PcFileModel*>(model)->set_kind_texts(captions.value(FolderKind), captions.value(DriveKind));
    // label_6 names the PC folder chosen; at first the one the tree opens at.
    const QString folder = QDir::cleanPath(start_folder());
    ui->label_6->setText(folder);
    const QModelIndex start = model->index(folder);
    if (!start.isValid())
        return;
    // The folders on the way are read as the tree asks for them: the view is moved to the folder again
    // once its parent has been read, so it shows at the top.
    QTreeView* view = ui->treeView;
    view->scrollTo(start, QAbstractItemView::PositionAtTop);
    view->expand(start);
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(model, &QFileSystemModel::directoryLoaded, this, [this, view, folder, once](const QString& path) {
        if (QDir::cleanPath(path) != QFileInfo(folder).path())
            return;
        disconnect(*once);
        // The model sorts a folder it has read a moment later, which moves the rows: the view goes to
        // the folder after that.
        QTimer::singleShot(100, view, [this, view, folder] {
            view->scrollTo(model->index(folder), QAbstractItemView::PositionAtTop);
        });
    });
}

void MainWindow::program_refreshports()
{
    // Not while a conversation waits for its replies: its port item must stay.
    if (InstrumentType != "KT90" || progDlg)
        return;
    portlist_desc = dictionA->getcomnameanddesc_list();
    update_tree(portlist_desc);
    show_statemsg(counted_text(get_parametretitle("TreeCaptions"), PortsListed, portlist_desc.size() / 2),
                  Status::Message);
}
