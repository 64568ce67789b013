// The About box: the version, the runtime folders in use, and where the journal and the logs are kept.
#include "data/datafolder.h"
#include "modal/modal.h"
#include "window/mainwindow.h"

#include <QDir>

void MainWindow::program_about()
{
    const QStringList texts = get_parametretitle("AboutDlg");
    show_information(this, texts.value(0),
                     texts.value(1).arg(exe_name, version_number, QDir::toNativeSeparators(exe_path),
                                        QDir::toNativeSeparators(icon_path),
                                        QDir::toNativeSeparators(app_data_folder()),
                                        QDir::toNativeSeparators(comm_log_folder())));
}
