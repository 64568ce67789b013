// The start-up sequence (the constructor, its steps in window/startup.cpp), the end of the window and the
// exit command.
#include "window/mainwindow.h"
#include "config/prompts.h"

#include "comm/commlog.h"
#include "config/dictionaryanalysis.h"
#include "config/runtimefiles.h"
#include "config/xml_analysis.h"
#include "crs/crstransform.h"
#include "data/recoveryjournal.h"
#include "formats/geoformats.h"
#include "modal/modal.h"
#include "table/pointtable.h"
#include "trees/pcfilemodel.h"
#include "ui_mainwindow.h"
#include "window/redrawpacing.h"

#include <QDir>
#include <QFileSystemModel>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), serial(nullptr), writedatanum(3), layout_left(nullptr),
      layout_right(nullptr), layout_LR(nullptr), layout_FILE(nullptr), layout_main(nullptr), widget(nullptr),
      tableWidget(nullptr), model(nullptr), exe_success_flag(false), dictionA(nullptr), commbuf_startpos(0),
      CommunicationMode(0), InformationTransmissionjFlag(false), SetPoints(0), ActualPoints(0),
      CommunicationDirection(0), ZuobiaoLeixing(0), KT90SendType(0), KT90SendModel(0), KT90_StartSave(false),
      KT90_DataNum(0), KT90_DataCount(0), KT20_KT40_curnum(0), KT20_KT40_count(0), PCtoYCsendnum(0),
      PCtoYC_YCfile_iscunzai(false), PCtoYCzuoyenum(0), progDlg(nullptr), timer(nullptr), currentValue(0), progflag(0),
      Commontimer(nullptr), CommontimerFlag(false), tree2totree1_flag(false), tree1totree2_flag(false)
{
    // 1, 2. The form (which connects the on_<object>_<signal> slots by name); drops from the instrument
    // tree land on the window.
    ui->setupUi(this);
    setAcceptDrops(true);
    // Files are read and written in the LandXML and GIS formats too.
    install_geo_formats();
    // 3. Paths: the first folder holding config/parameter.xml of beside the executable, the installed
    // data folder and the working directory.
    exe_path = runtime_folder();
    icon_path = exe_path + "/icon";
    version_number = "Ver 1.0.0";
    // 4. Protocol and tree members have their start values from the initialiser list.
    // 5. The acknowledgement time-out.
    Commontimer = new QTimer(this);
    CommontimerFlag = false;
    connect(Commontimer, &QTimer::timeout, this, &MainWindow::CommontimerTimerout);
    // 6. The point table, the instrument tree's object name, the file-system model. The layouts are
    // made where they are placed (layout_panels): a start-up that ends early leaves none unowned.
    tableWidget = new PointTable(this);
    ui->treeWidget->setObjectName("treewidget2_pc");
    model = new PcFileModel(this);
    model->setRootPath("");
    progDlg = nullptr;
    redraw_pacing = new RedrawPacing(this);
    // 7. Language.
    xml_analysis xml;
    read_language(xml);
    // 8. Central widget and the serial port.
    widget = new QWidget(this);
    serial = new QSerialPort(this);
    connect(serial, &QSerialPort::errorOccurred, this, &MainWindow::serial_port_failed);
    writedatanum = 3;
    // 9, 10. The communication dictionary and the default line settings.
    open_dictionary();
    default_line_settings();
    // 11. UI texts; without them start-up ends here.
    if (!load_ui_texts(xml))
        return;
    // 12. Prompts and record kind labels.
    load_prompts_and_labels();
    // 13 to 21. Appearance and the panels.
    layout_panels();
    // 22. Title and icon.
    show_title();
    // 23 to 25. Instrument type and coordinate format, and what they fix; without them start-up ends.
    if (!choose_instrument())
        return;
    // What the chosen type shows beyond its panels, the user's settings and what an earlier run left.
    setup_chosen_type(xml);
    // 26.
    exe_success_flag = true;
}

MainWindow::~MainWindow()
{
    // The undo stack is emptied as it goes: that must neither settle the rows (the journal stays for the
    // next start) nor reach the menus, which are gone by then.
    if (undo_stack)
        undo_stack->disconnect(this);
    if (serial) {
        if (serial->isOpen())
            serial->close();
        delete serial;
        serial = nullptr;
    }
}

void MainWindow::program_exit()
{
    // Unsaved rows: their question takes the place of the plain one.
    if (unsaved_rows.pending(tableWidget->rowCount())) {
        if (settle_unsaved_rows())
            end_process(0);
        return;
    }
    const QMessageBox::StandardButton answer =
        ask_question(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::ReallyDo).arg(getpopup_prompt(Prompt::QuitTheProgram)),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer == QMessageBox::No)
        return;
    end_process(0);
}
