// Start-up sequence, panels by instrument type, UI-text lookups and the exit command.
#include "mainwindow.h"

#include "dictionaryanalysis.h"
#include "iniparameterselectdialog.h"
#include "modal.h"
#include "pointtable.h"
#include "redrawpacing.h"
#include "ui_mainwindow.h"
#include "xml_analysis.h"

#include <QDebug>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPalette>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCodec>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

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
    // 3. Paths.
    exe_path = QDir::currentPath();
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
    model = new QFileSystemModel(this);
    model->setRootPath("");
    progDlg = nullptr;
    redraw_pacing = new RedrawPacing(this);
    // 7. Language.
    xml_analysis xml;
    language = xml.get_config(exe_path + "/config" + "/config.xml", "language");
    // 8. Central widget and the serial port.
    widget = new QWidget();
    serial = new QSerialPort();
    connect(serial, &QSerialPort::errorOccurred, this, &MainWindow::serial_port_failed);
    writedatanum = 3;
    // 9. The communication dictionary.
    dictionA = new DictionaryAnalysis(
        language.contains("English", Qt::CaseInsensitive) ? "config/dictionary_english.xml" : "config/dictionary.xml");
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
    parametre_list = xml.get_parameter(language);
    if (parametre_list.isEmpty()) {
        exe_success_flag = false;
        return;
    }
    // 12. Prompts and record kind labels.
    all_popup_prompt = get_parametretitle("PopupPrompt");
    CoordinateType.clear();
    const QStringList kinds = get_parametretitle("CoordinateType");
    for (int i = 0; 2 * i + 1 < kinds.size(); ++i)
        CoordinateType.insert(kinds[2 * i], kinds[2 * i + 1]);
    // 13. Appearance.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(176, 220, 251));
    setPalette(pal);
    statusBar()->show();
    setMinimumSize(800, 600);
    showMaximized();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // 14, 15. Columns, every panel hidden.
    layout_LR->addLayout(layout_left);
    layout_LR->addLayout(layout_right);
    UI_ini("");
    // 16. Left column: caption and instrument tree.
    layout_left->addWidget(ui->label_5);
    layout_left->addWidget(ui->treeWidget);
    ui->label_5->setMaximumWidth(200);
    ui->label_5->setFixedHeight(31);
    QTreeWidget* tree = ui->treeWidget;
    tree->setMaximumWidth(300);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
    tree->header()->hide();
    tree->setColumnCount(2);
    tree->setColumnHidden(1, true);
    tree->setHeaderLabel("item tree");
    tree->setDragEnabled(true);
    tree->setAcceptDrops(false);
    tree->setDragDropMode(QAbstractItemView::DragOnly);
    connect(tree, &QTreeWidget::itemClicked, this, &MainWindow::treewidget_click);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &MainWindow::doublecheckself);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QTreeWidget::customContextMenuRequested, this, &MainWindow::treewidget_popMenu);
    tree->setMouseTracking(true);
    // 17. Point table.
    tableWidget->horizontalHeader()->setStretchLastSection(true);
    tableWidget->verticalHeader()->setVisible(true);
    tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableWidget->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    // 18. Right column.
    layout_right->addWidget(ui->label_6);
    layout_right->addWidget(ui->treeView);
    layout_right->addWidget(tableWidget);
    layout_right->addWidget(ui->pushButton);
    layout_right->addWidget(ui->textEdit);
    layout_right->addWidget(ui->textEdit_2);
    // 19. Bottom bar captions and widths.
    const QStringList bar = get_parametretitle("UIKT95Message");
    if (bar.size() > 0)
        ui->label->setText(bar[0]);
    if (bar.size() > 1)
        ui->label_2->setText(bar[1]);
    ui->label_6->setFixedHeight(31);
    ui->label->setMaximumWidth(150);
    ui->lineEdit->setMaximumWidth(250);
    ui->label_2->setMaximumWidth(150);
    ui->lineEdit_2->setMaximumWidth(250);
    ui->label_3->setMaximumWidth(400);
    ui->label_4->setMaximumWidth(400);
    // 20. Bottom bar.
    layout_FILE->addWidget(ui->label);
    layout_FILE->addWidget(ui->lineEdit);
    layout_FILE->addStretch();
    layout_FILE->addWidget(ui->label_3);
    layout_FILE->addWidget(ui->label_4);
    layout_FILE->addStretch();
    layout_FILE->addWidget(ui->label_2);
    layout_FILE->addWidget(ui->lineEdit_2);
    layout_right->addLayout(layout_FILE);
    // 21. Central widget.
    layout_main = new QVBoxLayout();
    layout_main->addLayout(layout_LR);
    setCentralWidget(widget);
    widget->setLayout(layout_main);
    // 22. Title and icon.
    const QStringList title = get_parametretitle("WindowTitle");
    if (title.isEmpty()) {
        setWindowTitle("WindowTitle Error");
    } else {
        exe_name = title.first();
        setWindowTitle(exe_name);
        setWindowIcon(QIcon(icon_path + "/logo.png"));
    }
    // 23, 24. Instrument type and coordinate format.
    IniParameterSelectDialog dialog;
    dialog.InstrumentType_list = get_parametretitle("InstrumentType");
    dialog.CoordinateFormat_list = get_parametretitle("CoordinateFormat");
    dialog.iniparameterselectdlg_ini(get_parametretitle("SYSSelectDlg"));
    dialog.exec();
    if (!dialog.result_flag) {
        exe_success_flag = false;
        return;
    }
    // 25, 26.
    apply_instrument_choice(dialog.InstrumentTyperesult, dialog.CoordinateFormatresult);
    setup_plan_view();
    exe_success_flag = true;
}

MainWindow::~MainWindow()
{
    delete ui;
    if (serial) {
        if (serial->isOpen())
            serial->close();
        delete serial;
        serial = nullptr;
    }
}

void MainWindow::apply_instrument_choice(const QString& type, const QString& format)
{
    InstrumentType = type;
    CoordinateFormat = format;
    UI_ini(InstrumentType);
    show_statemsg("", 0);

    QString menu_key = "MainMenuKT20KT40Title";
    QString toolbar_key = "ToolbarKT20KT40VirtualTree";
    if (InstrumentType == "KT20_KT40" || InstrumentType == "KT85R") {
        baudrate = "1200";
    } else if (InstrumentType == "KT40") {
        menu_key = "MainMenuKT95RTitle";
        toolbar_key = "ToolbarKT95VirtualTree";
    } else if (InstrumentType == "KT90") {
        tree2totree1_flag = false;
        tree1totree2_flag = false;
        tree1id = ui->treeView->objectName();
        tree2id = ui->treeWidget->objectName();
        menu_key = "MainMenuKT90RTitle";
        toolbar_key = "ToolbarKT90VirtualTree";
        baudrate = "19200";
    }
    mainmenu_list.clear();
    mainmenu_list.append(get_parametretitle(menu_key));
    mainmenu_ini(mainmenu_list.first());
    toolbar_list = get_parametretitle(toolbar_key);
    toolbar_ini(toolbar_list);
    if (CommunicationMode == 0 || CommunicationMode == 1)
        toolbarbuttonshow(0, false);
}

void MainWindow::UI_ini(QString flag)
{
    QWidget* const always[] = {ui->label,    ui->label_2,    ui->label_3, ui->label_4,
                               ui->lineEdit, ui->lineEdit_2, ui->label_5, ui->label_6};
    for (QWidget* w : always)
        w->show();

    const auto hide_all = [](std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets)
            w->hide();
    };
    const auto show_point_table = [&] {
        tableWidget->show();
        hide_all(
            {ui->pushButton, ui->textEdit, ui->textEdit_2, ui->label_5, ui->label_6, ui->treeWidget, ui->treeView});
        ui->pushButton->setMaximumWidth(160);
    };
    if (flag == "KT20_KT40" || InstrumentType == "KT85R") {
        show_point_table();
        set_table_columns("PointTableWidgetHeadTitleKT20KT40");
    } else if (flag == "KT40") {
        show_point_table();
        set_table_columns("PointTableWidgetHeadTitle");
        tableWidget->setRowCount(0);
    } else if (flag == "KT90") {
        ui->treeWidget->show();
        ui->treeView->show();
        hide_all({tableWidget, ui->pushButton, ui->textEdit, ui->textEdit_2, ui->label, ui->label_2, ui->lineEdit,
                  ui->lineEdit_2});
        ui->pushButton->setMaximumWidth(160);
        update_tree(portlist_desc);
        setup_pc_tree();
    } else if (flag.isEmpty()) {
        hide_all({tableWidget, ui->treeWidget, ui->treeView, ui->label, ui->label_2, ui->label_3, ui->label_4,
                  ui->label_5, ui->label_6, ui->lineEdit, ui->lineEdit_2, ui->pushButton, ui->textEdit,
                  ui->textEdit_2});
    }
}

void MainWindow::set_table_columns(const QString& header_key)
{
    const QStringList header = get_parametretitle(header_key);
    QStringList captions;
    for (int i = 1; i < header.size(); i += 2)
        captions << header[i];
    tableWidget->setColumnCount(captions.size());
    tableWidget->setHorizontalHeaderLabels(captions);
    for (int i = 0; 2 * i + 1 < header.size(); ++i) {
        bool ok = false;
        const int width = header[2 * i].toInt(&ok);
        if (ok && width > 0)
            tableWidget->setColumnWidth(i, width);
    }
}

void MainWindow::setup_pc_tree()
{
    QTreeView* view = ui->treeView;
    view->setModel(model);
    view->setRootIndex(model->index(""));
    if (model->columnCount() >= 1) {
        view->setColumnWidth(0, 400);
        view->setSortingEnabled(true);
        view->sortByColumn(0, Qt::AscendingOrder);
    }
    view->setMouseTracking(true);
    view->setDragEnabled(false);
    view->setAcceptDrops(false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
}

QStringList MainWindow::get_parametretitle(QString title)
{
    QStringList values;
    for (const QStringList& row : parametre_list) {
        if (!row.isEmpty() && row[0] == title)
            values.append(row.mid(1));
    }
    return values;
}

QString MainWindow::getpopup_prompt(int num)
{
    if (all_popup_prompt.size() <= 4)
        return QString::fromLocal8Bit("Popup prompt error!");
    if (num < 0 || num >= all_popup_prompt.size())
        return all_popup_prompt[0].arg(all_popup_prompt[1]).arg(num);
    return all_popup_prompt[num];
}

void MainWindow::program_exit()
{
    const QMessageBox::StandardButton answer =
        ask_question(this, getpopup_prompt(5), getpopup_prompt(6).arg(getpopup_prompt(7)),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer == QMessageBox::No)
        return;
    end_process(0);
}
