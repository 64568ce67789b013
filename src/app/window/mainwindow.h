// The main window: owns the form, the point table, both trees, the serial port and every piece of
// transfer state. One header, many implementation files; each section names the file that holds it.
#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QMessageBox>
#include <QModelIndex>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include "comm/kt2040_frames.h"
#include "config/languages.h"
#include "data/filefindings.h"
#include "data/textfile.h"
#include "dialogs/surveywords.h"
#include "survey/codelist.h"
#include "survey/recompute.h"
#include "table/unsavedrows.h"
#include "window/windowclasses.h"
#include "window/windownumbers.h"

#include <functional>
#include <memory>

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- State, in declaration order (start values: window/mainwindow.cpp) ----
    std::unique_ptr<Ui::MainWindow> ui;
    QSerialPort* serial;
    int writedatanum;
    QList<QStringList> parametre_list;
    QVBoxLayout* layout_left;
    QVBoxLayout* layout_right;
    QHBoxLayout* layout_LR;
    QHBoxLayout* layout_FILE;
    QVBoxLayout* layout_main;
    QWidget* widget;
    QTableWidget* tableWidget;
    QFileSystemModel* model;
    QModelIndex currentindex;
    bool exe_success_flag;
    QString language, exe_name, exe_path, icon_path, version_number;
    QStringList all_popup_prompt;
    QString InstrumentType, CoordinateFormat;
    QString portname, baudrate, databit, parity, stopbit, porttype; // the line settings, as text
    std::unique_ptr<DictionaryAnalysis> dictionA;
    QStringList portlist_desc;
    QByteArray commbuf;
    int commbuf_startpos;
    int CommunicationMode;
    bool InformationTransmissionjFlag;
    int SetPoints, ActualPoints;
    int CommunicationDirection;
    int ZuobiaoLeixing;
    QList<QStringList> mainmenu_list;
    QStringList toolbar_list;
    int KT90SendType, KT90SendModel;
    QStringList KT90_JCLBuf, KT90_FCLBuf, KT90_HCLBuf, KT90_VCLBuf, KT90_DataBuf;
    QString KT90_DataTypeNum, KT90_DataFileNum, KT90_PointType;
    bool KT90_StartSave;
    QString KT90_SaveFilename;
    int KT90_DataNum, KT90_DataCount;
    int KT20_KT40_curnum, KT20_KT40_count;
    QString KT20_KT40_filename;
    QStringList KT20_KT40_Dataslist;
    QStringList PopMenuCopyFromYCtoPC;
    QStringList PopMenuCopyFromPCtoYCFileData;
    QString PopMenuCopyFromPCtoYCFileName;
    QString PopMenuCopyFromPCtoYCFileMsg;
    int PCtoYCsendnum;
    bool PCtoYC_YCfile_iscunzai;
    QString KT90CopyTofilename;
    QString KT90Zuoyequancheng, KT90Zuoyequancheng_parent, KT90Zuoyequancheng_parent2;
    int PCtoYCzuoyenum;
    QProgressDialog* progDlg;
    QTimer* timer;
    int currentValue, progflag;
    QString labelhead;
    QTimer* Commontimer;
    bool CommontimerFlag;
    bool tree2totree1_flag, tree1totree2_flag;
    QString tree1id, tree2id;
    QMap<QString, QString> CoordinateType;

    // ---- Start-up sequence and exit: window/mainwindow.cpp (its steps: window/startup.cpp) ----
    void program_exit();

    // ---- Panels by instrument type: window/panels.cpp ----
    void UI_ini(QString flag);

    // ---- UI-text lookups: window/uitexts.cpp ----
    QStringList get_parametretitle(QString title);
    QString getpopup_prompt(int num);

    // ---- Menus, toolbar and command dispatch: window/menus.cpp ----
    // The menu item whose command key is `key`, or null.
    QAction* menu_item(const QString& key);
    void mainmenu_ini(QStringList menu_list);
    int menu_anisys(QMenu* pMenuA, QStringList menu_list, int slistpos, int listpos);
    void toolbar_ini(QStringList toolbar_list);
    void toolbarbuttonshow(int type, bool flag);
    void run_command(Command command);

    // ---- Status line and traffic hook: window/status.cpp ----
    void show_statemsg(QString msg, int type);
    void show_tongxunmsg(QByteArray msg, int type);

    // ---- Serial link: comm/seriallink.cpp ----
    void program_commconnect();
    void program_commdisconnect();
    void comm_open();
    void COMParameter_ini(int type);
    bool COMParameter_judge(QString portname, QStringList pnadlist);
    void settingreaddataslots(QString type, bool flag);
    // Closes the port (when open) and puts back what depends on it: the acknowledgement time-out, the
    // connection buttons, the transfer state and the read slot. Disconnect, a lost port, reopening on
    // another port and the instrument choice all end a connection so.
    void close_port();
    // Opens `serial` with the current line settings; on failure tells the user and returns false.
    bool open_serial_port();
    // A port that fails while open (cable pulled): closed at once, state reset, user told. An error that
    // does not mean the port is gone is logged and the transfer goes on.
    void serial_port_failed(QSerialPort::SerialPortError error);
    // Whether `error` means the port is gone: a resource lost, or read errors repeating without a byte
    // read between them (a line that was hung up reads nothing for ever).
    bool port_lost(QSerialPort::SerialPortError error);
    int read_errors_in_a_row = 0;
    // Reads every byte the port holds, chunk by chunk, and hands each chunk to `received`.
    void read_port_chunks(void (MainWindow::*received)(const QByteArray&));
    // One chunk from the port for the KT20/KT40 protocols: into the buffer, then judged whole.
    void received_kt40(const QByteArray& chunk);
    // Writes bytes to the open port in one write call and hands them to the traffic hook when `log`.
    void write_to_port(const QByteArray& bytes, bool log = true);

    // ---- KT20/KT40 receive framing: comm/kt2040_receive.cpp ----
    void InformationAnalysis(QByteArray qba);
    void InformationAnalysis_receive(QByteArray qba);
    void InformationAnalysis_unpack(QByteArray cksj, int type);
    void program_receivedata();
    // Marks a transfer in `direction` as running, `points` announced, every counter at 0.
    // False (and the closed state shown) when no port is open for a transfer command.
    bool port_ready_for_transfer();
    void begin_transfer(int direction, int points);
    // "%1/%2" in the progress field.
    void show_progress(int done, int total);
    // The frame set, direction and data kind the receive buffer is judged against.
    kt2040::Context frame_context() const;
    // The frame `qba` is; when it is none, noise is cut from it (and from `commbuf`) and it is judged again.
    kt2040::Frame take_frame(QByteArray& qba);
    // Arms the acknowledgement time-out for `answer`, the reply it repeats in Bluetooth mode.
    void arm_ack_timer(const QByteArray& answer);
    void disarm_ack_timer();
    // "%1%2%3/%4": the connected prompt, prompt `prompt`, then done/total.
    QString progress_text(int prompt, int done, int total);
    QByteArray last_start_answer; // the PC's answer the time-out repeats

    // ---- KT20/KT40 record decoding: comm/kt2040_decode.cpp ----
    void InformationAnalysis_unpackKT20_KT40(QByteArray cksj, int type);
    QString singledata_unpack(QByteArray qba, int pos, int length, int alllength, QString addstr, int addwenzhi);
    QString get_data_youxiaowei(QString sour, int length);
    QString dddffmm_bianhuan(QString sour, int flag);
    // Appends a decoded record as a table row, with the record kind label and the job name.
    void append_table_row(const kt2040::Record& record);

    // ---- KT20/KT40 sending: comm/kt2040_send.cpp ----
    void program_senddata();
    // "Send selected rows": the rows selected in the table, in table order.
    void program_sendselected();
    // Sends exactly the table rows `rows` (indices in table order) with the send conversation of the
    // instrument type. The rows are checked first: what the frames would change is asked about
    // (send as shown, or cancel), and rows beyond what one transfer can number stay selected.
    void send_rows(const QList<int>& rows);
    // The rows selected in the table, in table order.
    QList<int> selected_rows() const;
    // What the check of the rows' texts found, asked about; how many of them to send (-1: none):
    // comm/sendquestion.cpp
    int confirm_send(const QList<QStringList>& texts);
    // Selects the rows of `rows` from index `from` on, so that "Send selected rows" sends them next.
    void select_rows_from(const QList<int>& rows, int from);
    // The instrument ended a send: the count it acknowledged is shown, a short count is warned of.
    void send_ended();
    // The texts of the rows a send carries, fixed when it began, and how many of its records the
    // instrument has acknowledged.
    QList<QStringList> send_texts;
    int send_acknowledged = 0;
    void InformationAnalysis_pack(int row);
    void InformationAnalysis_send(QByteArray qba);
    // The instrument asks for the next KT20_KT40 record.
    void answer_record_request(const QByteArray& request);
    // Waits `ms` in a local event loop; true when the send is still running afterwards.
    bool pause_within_send(int ms);
    // The pacing of a KT20_KT40 send: before the first record and before every later one.
    int first_record_pause_ms = 500;
    int record_pause_ms = 300;
    // The texts of every column of a table row ("" where a cell has no item).
    QStringList row_texts(int row) const;

    // ---- Transfer progress dialog: comm/progress.cpp ----
    void wait_start(int flag);
    void wait_stop();

    // ---- KT90 message handling: comm/kt90_messages.cpp ----
    void InformationAnalysis_KT90(QByteArray qba);
    // One chunk from the port for the KT90: into the buffer (bounded), then judged whole.
    void received_kt90(const QByteArray& chunk);
    void InformationAnalysis_unpack_KT90(QString msg);
    // One reply of the listing or the download; one reply of the upload.
    void kt90_listing_reply(const QByteArray& reply);
    void kt90_upload_reply(const QByteArray& reply);
    // The upload's message of `type`; `record` is the index of the record a type-23 message carries.
    QByteArray kt90_upload_message(int type, int record);
    // After an upload: the target job-list node gets its job nodes from the job list read back.
    void kt90_rebuild_target_jobs();
    // End of a download: the file is written; a failed write is reported before the lines are dropped.
    void kt90_finish_download();
    // Stops the wait dialog when one is shown.
    void kt90_stop_wait();
    // Writes a KT90 message; builds shorter than `writedatanum` mean "nothing to send".
    void send_kt90_message(const QByteArray& message);

    // ---- Instrument tree and PC tree: trees/trees.cpp ----
    void update_tree(QStringList treeitemlist);
    bool judge_tree(QStringList treeitemlist);
    void clear_tree();
    void deltreewidgetitem(QTreeWidget* tw, QTreeWidgetItem* node);
    void deltreewidgetsubitem(QTreeWidget* tw, QTreeWidgetItem* node, bool flag);
    void add_subtree(QTreeWidgetItem* item);
    void add_subtree1(QTreeWidgetItem* item);
    QString gettreeviewpath(const QModelIndex& index);
    // The drag handlers with the drag's source given, so a drop can be judged without a running drag.
    void drag_enter_from(QObject* source, QDragEnterEvent* e);
    void drop_from(QObject* source, QDropEvent* e);
    // Runs the copy context menu whose entries are the (id, caption) pairs of a UI-text list.
    void run_copy_menu(const QString& key);

    // ---- Job copies between instrument and PC: trees/jobcopy.cpp ----
    void KT90PopMenuYCtoPC_Copy(QTreeWidgetItem* item, int column, QModelIndex index, int flag);
    void KT90PopMenuPCtoYC_Copy(QTreeWidgetItem* item, int column, QModelIndex index, int flag);
    void KT90PCtoYCDataChushihua();
    // What an upload of the recorded PC file would change (into a new job named `job_name`, or an
    // existing one) asked about; true to go on: comm/sendquestion.cpp
    bool confirm_upload(bool new_job, const QString& job_name, int job_number);
    // An upload source that cannot be used: why, told to the user.
    void refuse_upload_source(const QString& path, const sendcheck::Report& report);

    // ---- Port settings command: comm/portsettings.cpp ----
    void program_portsetiing();

    // ---- Point table commands: table/tablecommands.cpp ----
    void program_fileopen();
    void program_filesaveas();
    void program_new();
    void program_edit();
    void program_delete();
    void program_clear();
    // The row count in the progress field, as the table commands show it.
    void show_row_count();
    // "1 row", "5 rows": the table's row count as the file commands' status texts give it.
    QString counted_rows();
    QString get_map_data(QString sour, QMap<QString, QString> map);
    // Observation lines of the table (ten fields per row): table/tablerows.cpp
    QStringList get_data_form_KT20KT40UI();
    // The table filled anew from a file's lines, `path` shown as its file; nothing left to save. The
    // one table change of Open and Import: table/tableload.cpp
    void load_table_rows(const RowShape& shape, const QStringList& lines, const QString& path);
    // The same from rows of cells (the survey data of a LandXML file).
    void load_table_texts(const QList<QStringList>& rows, const QString& path);
    void fill_from_file(const std::function<void(QTableWidget*)>& fill, const QString& path);
    // In the observation layout: the survey data of a LandXML file into every column; false (nothing
    // done) when the file holds none. table/surveyopen.cpp
    bool open_survey_data(const QString& path);
    // The widths the point table's columns were given (their sum, before the last one stretches).
    int table_columns_width = 0;

    // ---- Import, with a preview of how the rows land: table/importcommand.cpp ----
    void program_import();
    // The import dialog on `path` (delimited text or a workbook's first sheet) and, when it is
    // accepted, its rows into the table; false when nothing was read.
    bool import_file(const QString& path);

    // ---- Duplicate names resolved, as one undo step: table/duplicatescommand.cpp ----
    void program_resolve_duplicates();

    // ---- Find by name or code, and suspect rows marked: table/find.cpp, table/suspectmarks.cpp ----
    // The find bar above the table and the suspect-row marks with their count in the status line
    // (KT20/KT40 family types).
    void setup_table_tools();
    // Shows the find bar (Ctrl+F).
    void program_find();
    // Selects the next (or previous) row whose name or code holds the find bar's text.
    void find_point(bool forward);
    FindBar* find_bar = nullptr;           // owned through the right column's layout
    SuspectMarks* suspect_marks = nullptr; // the table's item delegate, owned by the window
    QLabel* suspect_label = nullptr;       // in the status line; hidden while no row is suspect

    // ---- Undo, editing in place, view order and the table's context menu: table/undo.cpp,
    // table/tableundo.cpp (the steps), table/tablemenu.cpp ----
    QUndoStack* undo_stack = nullptr; // every change of the table is a step; none for KT90
    int receive_serial = 0;           // the records of one transfer join into one step
    ViewOrder* view_order = nullptr;  // the rows sorted by a column in the view only
    // Editing in place, the undo stack, the header sort and the context menu (KT20/KT40 family types).
    void setup_table_editing();
    void setup_undo();
    // The Undo and Redo menu items enabled when there is something to undo or redo.
    void show_undo_state();
    int undo_state_shown = -1; // what the menus show (bit 0 Undo, bit 1 Redo); -1: menus not set yet
    // Pushes the step of a change the table has already made (its first redo does nothing).
    void push_table_step(QUndoCommand* step);
    // False, with a word, while a transfer runs.
    bool undo_allowed();
    void program_undo();
    void program_redo();
    // The table holds what a file holds (opened, saved, exported): the undo stack's clean state, the
    // rows settled. Undone back to it, nothing is unsaved.
    void table_saved();
    // A cell edited in place gets `text`: one step, the row journaled.
    void edit_cell(int row, int column, const QString& text);
    // The context menu of the table (owned by the caller): New, Edit, Delete, Copy rows, Send selected.
    QMenu* table_menu();
    // The selected rows as tab-separated lines on the clipboard, in the order the view shows them.
    void copy_rows_as_text();
    // The rows put in the order the view shows them (one step): files and sends follow it from then on.
    void keep_view_order();

    // ---- Measured data checked and recomputed: table/surveycommands.cpp ----
    // The check dialog on the table's rows; its findings marked in the table and counted in the status
    // line, its tolerance and curvature option stored in config.xml.
    void program_checkmeasured();
    // The recompute dialog on the selected measured points (all when none is selected); OK recomputes
    // them as one undo step, and the check's marks follow.
    void program_recomputemeasured();
    // The rows of `result` whose cells change written as one undo step (named `step_text`), each row
    // journaled, but for rows that no longer hold what the recompute read (`computed_from`); how many
    // rows changed.
    int apply_recompute(const survey::RecomputeResult& result, const QVector<QStringList>& computed_from,
                        const QString& step_text);
    void mark_check_findings(const survey::CheckResult& result, const SurveyWords& words);
    SurveyWords survey_words() const;
    QVector<QStringList> survey_rows() const; // the table's texts
    survey::KindLabels survey_labels();
    // The check's settings from config.xml (defaults where none is stored), and stored when changed.
    void load_check_settings();
    void store_check_settings(const survey::Tolerance& tolerance, bool curvature);
    survey::Tolerance check_tolerance;
    bool check_curvature = false;

    // ---- Workbook export: table/export.cpp ----
    void program_export();

    // ---- File dialogs, recent files and what the file commands tell: table/filedialogs.cpp,
    // table/fileopen.cpp, table/filesave.cpp ----
    QString last_folder;      // the folder of the file last opened or written (config.xml "lastfolder")
    QStringList recent_files; // newest first (config.xml "recentfiles"), the File menu's Recent files
    // The folder the file dialogs start in: the last folder used, else the program folder (the
    // documents folder when that is read-only).
    QString file_dialog_folder() const;
    // The filters of Open ("All supported files" first) and Save As, for the table's layout.
    QStringList save_filters();
    QString open_filter();
    // A file opened or written: its folder is where the dialogs start, and it heads the recent files;
    // both stored in config.xml.
    void remember_file(const QString& path, bool recent = true);
    // Reads the last folder, the recent files and the coordinate system from config.xml.
    void load_file_settings();
    // The Recent files item of the File menu gets its submenu.
    void build_recent_files_menu();
    QString last_save_filter; // the filter Save As chose last, for this run
    // Opens `path` into the table; false (the table unchanged) when it could not be read.
    bool open_point_file(const QString& path);
    // Writes the table to `path` in the format of its suffix, or of the format named `format`
    // (PointFormat::kSpreadsheetCsv); false when nothing was written.
    bool save_point_file(const QString& path, const QString& format = QString());
    // Before a text format is written: true when GBK holds every character of `lines` or the user
    // chose GB18030 (*encoding set); false when the user cancelled.
    bool settle_output_encoding(const QStringList& lines, const QList<int>& line_columns, OutputEncoding* encoding);
    // Tells what a command did: `summary` and the findings that change nothing in the status line, what
    // was changed or left out (with `left_out`, texts of the window's own) in one message under
    // `heading`.
    void tell_file_outcome(const QString& summary, const QString& heading, const QList<FileFindingText>& findings,
                           const QStringList& left_out = QStringList());

    // ---- The points' coordinate system: window/coordinatesystem.cpp ----
    QString coordinate_system;             // "EPSG:4547"; empty: local coordinates (config.xml "crs")
    QStringList recent_coordinate_systems; // newest first (config.xml "recentcrs")
    void program_coordinatesystem();
    // Shows the system in the status bar and prepares the plan's longitude and latitude.
    void show_coordinate_system();
    // The plan's cursor at world (E, N): its longitude and latitude in the status bar.
    void show_cursor_position(const QPointF& world);
    std::unique_ptr<CrsTransform> to_geographic; // the chosen system to WGS 84, while one is chosen
    QLabel* coordinate_system_label = nullptr;   // permanent in the status bar
    QLabel* cursor_position_label = nullptr;

    // ---- Unsaved rows guard: table/unsavedguard.cpp ----
    UnsavedRows unsaved_rows;
    // True when the command may go on: no unsaved rows, or the user saved them (Save, and the file was
    // written) or gave them up (Discard). Cancel, or a failed save, returns false.
    bool settle_unsaved_rows();
    // The same before a receive: Discard removes the rows asked about from the table, so the received
    // points do not join them (records that arrived while the question was open stay).
    bool settle_before_receive();
    // The unsaved-rows question when rows are pending: its answer, or NoButton when nothing is asked.
    QMessageBox::StandardButton ask_about_unsaved_rows();
    // The table's rows are saved or given up: nothing pending, the recovery journal removed.
    void rows_settled();
    // Save as; true only when the file was written.
    bool save_table_as();

    // ---- Recovery journal: table/recovery.cpp ----
    std::unique_ptr<RecoveryJournal> journal; // this window's journal (its slot locked); none for KT90
    bool journal_failed = false;              // reported once; no more lines until the rows are settled
    bool journal_holds_table = false;         // the journal holds the table (it changed since settled)
    // Every change of the table's rows is told through one of these, after the table has changed: the
    // rows count as unsaved and the journal follows, so it always holds exactly the unsaved table.
    void rows_appended(int first);             // rows `first`.. at the end are new
    void row_replaced(int row);                // row `row` has new texts
    void rows_removed(const QList<int>& rows); // these rows (ascending, numbered as before) are gone
    void table_rewritten();                    // any other change: the whole table is journaled
    // Journals a change with `write`, or the whole table when the journal held nothing yet.
    void journal_change(const std::function<bool(RecoveryJournal&)>& write);
    // A journal write failed: told once on the status bar, nothing more written until the rows settle.
    void journal_failed_now();
    // Makes `own` this window's journal, its lines pushed to the disk within 100 ms by `journal_sync_timer`.
    void adopt_journal(std::unique_ptr<RecoveryJournal> own);
    QTimer* journal_sync_timer = nullptr;
    // The texts of every row.
    QList<QStringList> table_texts() const;
    // After the type choice: journals that no running window holds are offered back one by one (a
    // damaged one is set aside); the one restored becomes this window's journal, else a free slot.
    void offer_journal();
    // Offers one journal left behind; true when its rows were restored into the table.
    bool offer_left_journal(RecoveryJournal& left);

    // ---- Communication log: window/commlogcommand.cpp ----
    std::unique_ptr<CommLog> comm_log; // set while the log is on
    bool comm_log_failed = false;
    // The configuration file user choices are stored in.
    QString settings_file() const;
    // Turns the log on or off and shows it on the menu's check item.
    void set_comm_log(bool on);
    // Shows the menu items of `key` checked or not, with a check box where they have no picture.
    void set_menu_check(const QString& key, bool on);
    // The check item: turns the log over and stores the choice.
    void program_commlog();
    void log_traffic(bool received, const QByteArray& bytes);

    // ---- Languages: a missing or incomplete section, right to left, the Language menu:
    // window/languagecommands.cpp ----
    QString missing_language; // the language config.xml names when the UI texts hold no such section
    QList<LanguageSection> ui_sections; // the UI-text file's sections, read once at start
    int incomplete_keys = 0;  // the keys of the language's texts taken from English
    // The UI-text file the texts are read from.
    QString ui_text_file() const;
    // English in place of a language the UI-text file holds no section of (remembered to be told).
    void choose_language_section(xml_analysis& xml);
    // The layout direction of the texts' language; placeholders isolated in right-to-left texts.
    void apply_language_texts(int filled_in_english);
    // Tells a missing section (a message) and incomplete texts (the status line).
    void tell_language_state();
    // Fills the Language item's submenu with the sections by their own names, the current one checked.
    void build_language_menu();
    // Stores the language `tag` (named `name`) for the next start and says so.
    void program_language(const QString& tag, const QString& name);

    // ---- About: window/about.cpp ----
    void program_about();

    // ---- Redraws while records stream in: window/redrawpacing.cpp ----
    RedrawPacing* redraw_pacing = nullptr; // owned by the window

    // ---- Plan view beside the point table: plan/planwindow.cpp ----
    // Puts the table and the plan in a splitter (KT20/KT40 family types; nothing for KT90).
    void setup_plan_view();
    // The plan's command key: shows or hides the plan.
    void toggle_plan_view();
    PlanView* plan_view = nullptr;      // owned through the splitter
    QSplitter* plan_splitter = nullptr; // owned through the right column's layout
    TableFit* table_fit = nullptr;      // keeps the table as wide as its columns; owned by the window
    // The plan rings the row the table has selected (none: -1).
    void sync_plan_selection();

    // ---- The linework of the points' codes: window/lineworkcommands.cpp ----
    // Reads the code list and the View setting for the plan's linework (nothing without a plan).
    void setup_linework(xml_analysis& xml);
    // Reads the user's code list, else the shipped one; a refused list is told and none is used.
    void load_code_list();
    void set_plan_linework(bool on);
    void program_planlinework();
    void program_codelist();
    void program_lineworkreport();
    // The lines and areas joined, and every issue with its rows, in the window's language.
    QString linework_report_text();
    // What a GIS file holds beside its points: " With 3 lines and 1 area."
    QString linework_layers_text(int lines, int areas);
    // The Save As filter of the drawing with linework; empty where there is no plan.
    QString linework_drawing_filter();
    // Writes the drawing with linework; false when nothing was written (the user told).
    bool save_linework_drawing(const QString& path);
    CodeList code_list; // the list the plan joins codes with
    QStringList duplicate_resolutions; // what Resolve duplicates chose this session, for the report

    // ---- Job report: print, print preview, PDF: window/reportcommands.cpp ----
    void program_print();
    void program_printpreview();
    void program_exportreport();
    // The report's input: the table's rows as they stand and the job's particulars.
    ReportInput report_input();
    // Asks before a very large report, then the options (kept in config.xml); false when cancelled.
    bool prepare_report(JobReport* report);
    // Draws the report onto `device` with a progress dialog that can stop it.
    bool paint_report_with_progress(QPagedPaintDevice* device, const JobReport& report, QString* error, int* pages);
    // Writes `report` as a PDF file to `path` and tells the user; false when nothing was written.
    bool export_report(const JobReport& report, const QString& path);
    int report_scale = 0; // the plan at 1:report_scale, 0: fit (config.xml "reportscale")
    QString report_note;  // the title page's note (config.xml "reportnote")
    bool report_options_read = false;

    // ---- Keyboard shortcuts of the menu commands: window/shortcuts.cpp ----
    void assign_shortcuts();

    // ---- Instrument tree commands, the PC tree's start and captions: trees/treecommands.cpp ----
    // Lists the serial ports again (F5) and shows the new ones.
    void program_refreshports();
    // The captions above the two trees and the PC tree opened at the user's documents or home folder.
    void setup_tree_captions();

protected:
    // Drag from the instrument tree, drop on the PC tree: trees/trees.cpp
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    // The close button asks about unsaved rows first: table/unsavedguard.cpp
    void closeEvent(QCloseEvent* e) override;

public slots:
    void menubar_triggered(QAction* qaction);                       // window/menus.cpp
    void toolbar_triggered();                                       // window/menus.cpp
    void ReadDataKT40();                                            // comm/seriallink.cpp
    void ReadDataKT90();                                            // comm/kt90_messages.cpp
    void treewidget_click(QTreeWidgetItem* item, int column);       // trees/trees.cpp
    void doublecheckself(QTreeWidgetItem* item, int column);        // trees/trees.cpp
    void treewidget_popMenu(const QPoint& pos);                     // trees/trees.cpp
    void on_treeView_customContextMenuRequested(const QPoint& pos); // trees/trees.cpp
    void tree_popmenu_action(QAction* action);                      // trees/trees.cpp
    void on_treeView_clicked(const QModelIndex& index);             // trees/trees.cpp
    void CommontimerTimerout();                                     // comm/kt2040_receive.cpp
    void updateProgressDialog();                                    // comm/progress.cpp
    void on_treeWidget_pressed(const QModelIndex& index);           // trees/trees.cpp
    void on_treeView_pressed(const QModelIndex& index);             // trees/trees.cpp

private:
    // Start-up steps 7, 9, 10, 11, 22 and what follows the instrument choice: window/startup.cpp
    void read_language(xml_analysis& xml);
    void open_dictionary();
    void default_line_settings();
    bool load_ui_texts(xml_analysis& xml); // false: no UI texts, start-up ends
    void show_title();
    void setup_chosen_type(xml_analysis& xml);
    // Start-up steps 13 to 21, the point-table columns of a type, the PC tree: window/panels.cpp
    void layout_panels();
    void set_table_columns(const QString& header_key);
    void setup_pc_tree();
    // Start-up steps 23 to 25: window/instrumentchoice.cpp. False when the choice was not accepted.
    bool choose_instrument();
    void apply_instrument_choice(const QString& type, const QString& format);
    // Start-up step 12 and the configuration readers' messages: window/uitexts.cpp
    void load_prompts_and_labels();
    void show_reader_messages(xml_analysis& reader);
};

#endif // MAINWINDOW_H
