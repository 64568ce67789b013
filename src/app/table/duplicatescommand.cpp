// Resolve duplicates: the dialog on the table's rows, names compared as the instrument of the window
// stores them, and its result put into the table as one undo step (journaled as every table change).
// The tolerance chosen is kept in the configuration file for the next time.
#include "applog.h"
#include "comm/kt2040_frames.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "data/numbertext.h"
#include "data/pointrows.h"
#include "dialogs/duplicatesdialog.h"
#include "table/tableundo.h"
#include "window/mainwindow.h"

namespace
{

// The key of the tolerance in the configuration file.
const char kToleranceKey[] = "duplicatetolerance";

} // namespace

void MainWindow::program_resolve_duplicates()
{
    const QStringList texts = get_parametretitle("DuplicateTexts");
    // A transfer appends to the table and numbers its rows: they must not change under it.
    if (InformationTransmissionjFlag) {
        show_statemsg(texts.value(DuplicatesDialog::kDuringTransfer), Status::Message);
        return;
    }
    const kt2040::FrameSet set = kt2040::frame_set_of(InstrumentType);
    DuplicatesDialog dialog(this);
    dialog.dlgicon_path = icon_path + "/logo.png";
    dialog.rows = table_texts();
    dialog.layout = table_layout(InstrumentType) == TableLayout::Observation
                        ? duplicates::observation_layout(set, {get_map_data("STN", CoordinateType),
                                                               get_map_data("BK", CoordinateType), "STN", "BK"})
                        : duplicates::coordinate_layout(set);
    xml_analysis xml;
    bool ok = false;
    const double kept = text_to_double(xml.get_config(config_file_to_read(exe_path), kToleranceKey), &ok);
    if (ok && kept >= 0)
        dialog.options.tolerance = kept;
    const double tolerance = dialog.options.tolerance;
    if (!dialog.duplicatesdlg_ini(texts))
        return;
    if (dialog.group_count() == 0) {
        show_statemsg(texts.value(DuplicatesDialog::kNoDuplicates), Status::Message);
        return;
    }
    dialog.exec();
    if (!dialog.result_flag)
        return;
    const duplicates::Result& result = dialog.result;
    QString told = texts.value(DuplicatesDialog::kResolved)
                       .arg(texts.value(DuplicatesDialog::kOutcome)
                                .arg(result.removed)
                                .arg(result.averaged)
                                .arg(result.renamed.size()));
    QString error;
    if (dialog.options.tolerance != tolerance &&
        !replace_setting(settings_file(), kToleranceKey, QString::number(dialog.options.tolerance), &error)) {
        qCWarning(lcApp) << "the duplicates tolerance could not be kept in" << settings_file() << ":" << error;
        told += "  " + texts.value(DuplicatesDialog::kToleranceNotKept).arg(settings_file(), error);
    }
    if (result.removed == 0 && result.renamed.isEmpty()) {
        show_statemsg(told, Status::Message);
        return;
    }
    replace_table_rows(*this, dialog.rows, result.rows);
    duplicate_resolutions << dialog.resolutions;
    show_statemsg(told, Status::Message);
}
