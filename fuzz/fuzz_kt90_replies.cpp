// KT90 replies in every conversation state: the listing, the download and the upload, fed in chunks.
#include "harness.h"
#include "modal/modal.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"
#include "windowharness.h"

#include <QProgressDialog>
#include <QTreeWidget>

namespace
{

const int kStates[] = {0, 1, 2, 3, 4, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22, 23, 30, 31, 32};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    MainWindow& w = fuzz_window("KT90");
    const QString folder = fuzz_environment();
    QTreeWidget* tree = w.ui->treeWidget;
    tree->clear();
    auto* port = new QTreeWidgetItem(tree, {"COM7", "fuzz port"});
    tree->setCurrentItem(port, 0);

    const uint8_t flags = data[1];
    w.commbuf.clear();
    w.KT90SendType = kStates[data[0] % (sizeof kStates / sizeof kStates[0])];
    w.KT90SendModel = flags & 0x01;
    w.tree1totree2_flag = flags & 0x02;
    w.tree2totree1_flag = flags & 0x04;
    w.KT90_StartSave = flags & 0x08;
    w.PCtoYC_YCfile_iscunzai = flags & 0x10;
    w.KT90_PointType = (flags & 0x20) ? "JOB/RCV/COORDS/" : "JOB/RCV/OBSERV/";
    w.KT90_DataCount = (flags & 0x40) ? 5 : 0;
    w.KT90_DataNum = 0;
    w.KT90_DataBuf.clear();
    w.KT90_DataTypeNum = "2";
    w.KT90_DataFileNum = "3";
    w.KT90_SaveFilename = folder + "/download.txt";
    w.PCtoYCsendnum = data[2] % 40;
    w.PCtoYCzuoyenum = 3;
    w.KT90CopyTofilename = "ROAD";
    w.KT90Zuoyequancheng_parent = (flags & 0x80) ? "COM7" : "";
    w.PopMenuCopyFromPCtoYCFileData =
        QStringList{QString(97, QChar(0x78)), QString(97, QChar(0x79)), QString(97, QChar(0x7A))};
    w.PopMenuCopyFromPCtoYCFileData << QString(96, 'y');

    for (const QByteArray& chunk : fuzz_chunks(data + 3, size - 3))
        w.received_kt90(chunk);
    if (w.progDlg)
        w.wait_stop();
    modal_script::clear();
    return 0;
}
