// The start-up sequence (the constructor), the end of the window and the exit command.
#include "window/mainwindow.h"
#include "config/prompts.h"

#include "comm/commlog.h"
#include "config/dictionaryanalysis.h"
#include "config/qttranslations.h"
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

#include <QBoxLayout>
#include <QDir>
#include <QFileSystemModel>
#include <QIcon>
#include <QLocale>
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
    // 1. The form; this also connects the on_<object>_<signal> slots by name.
    ui->setupUi(this);
    // 2. Drops from the instrument tree land on the window.
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
    Commontimer = new QTimer();
    CommontimerFlag = false;
    connect(Commontimer, &QTimer::timeout, this, &MainWindow::CommontimerTimerout);
    // 6. Layouts, point table, the instrument tree's object name, the file-system model.
    layout_left = new QVBoxLayout();
    layout_right = new QVBoxLayout();
    layout_FILE = new QHBoxLayout();
    layout_LR = new QHBoxLayout();
    tableWidget = new PointTable();
    ui->treeWidget->setObjectName("treewidget2_pc");
    model = new PcFileModel(this);
    model->setRootPath("");
    progDlg = nullptr;
    redraw_pacing = new RedrawPacing(this);
    // 7. Language.
    xml_analysis xml;
    language = xml.get_config(config_file_to_read(exe_path), "language");
    show_reader_messages(xml);
    // Qt's own texts (standard buttons, file dialogs, the PC tree's captions) in that language, and
    // dates and sizes (the PC tree's) written as that language writes them.
    install_qt_translations(language);
    QLocale::setDefault(program_locale(language));
    // 8. Central widget and the serial port.
    widget = new QWidget();
    serial = new QSerialPort();
    connect(serial, &QSerialPort::errorOccurred, this, &MainWindow::serial_port_failed);
    writedatanum = 3;
    // 9. The communication dictionary.
    dictionA = new DictionaryAnalysis(exe_path + (language.contains("English", Qt::CaseInsensitive)
                                                      ? "/config/dictionary_english.xml"
                                                      : "/config/dictionary.xml"));
    // 10. Default line settings.
    // The first port of the system's list; one enumeration of the ports (slow: it asks udev)
    // gives both the names and their descriptions.
    portlist_desc = dictionA->getcomnameanddesc_list();
    portname = portlist_desc.isEmpty() ? QString("COM1") : portlist_desc.first();
    baudrate = dictionA->getcombaudrate(portname, portlist_desc, dictionA->getuartpara("baudrate", 1));
    const auto default_of = [this](const char* key) {
        const QStringList choices = dictionA->getuartpara(key, 1);
        return choices.size() > 1 ? choices[1] : QString();
    };
    databit = default_of("databit");
    parity = default_of("parity");
    stopbit = default_of("stopbit");
    porttype = dictionA->getcomdesc(portname, portlist_desc);
    // 11. UI texts; without them start-up ends here.
    parametre_list = xml.get_parameter(language, exe_path);
    xml.check_runtime_files(exe_path, language, &parametre_list);
    show_reader_messages(xml);
    if (parametre_list.isEmpty()) {
        exe_success_flag = false;
        return;
    }
    // 12. Prompts and record kind labels.
    load_prompts_and_labels();
    // 13 to 21. Appearance and the panels.
    layout_panels();
    // 22. Title and icon.
    const QStringList title = get_parametretitle("WindowTitle");
    if (title.isEmpty()) {
        setWindowTitle("WindowTitle Error");
    } else {
        exe_name = title.first();
        setWindowTitle(exe_name);
        setWindowIcon(QIcon(icon_path + "/logo.png"));
    }
    // 23, 24. Instrument type and coordinate format; 25, 26.
    if (!choose_instrument()) {
        exe_success_flag = false;
        return;
    }
    // The plan view beside the table (KT20/KT40 family), the find bar and the suspect-row marks; the
    // captions above the KT90's trees.
    setup_plan_view();
    // Where the file dialogs start, the recent files and the points' coordinate system, as last chosen.
    load_file_settings();
    build_recent_files_menu();
    if (InstrumentType != "KT90")
        show_coordinate_system();
    setup_table_tools();
    setup_tree_captions();
    // Points an earlier run received and never saved, and the communication log as last chosen.
    offer_journal();
    set_comm_log(xml.get_config(config_file_to_read(exe_path), "commlog").trimmed() == "1");
    exe_success_flag = true;
}

MainWindow::~MainWindow()
{
    // The undo stack is emptied as it goes: that must neither settle the rows (the journal stays for the
    // next start) nor reach the menus, which are gone by then.
    if (undo_stack)
        undo_stack->disconnect(this);
    delete ui;
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
