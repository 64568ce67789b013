// The steps of the start-up sequence that take more than a few lines: the language, the communication
// dictionary and the default line settings, the UI texts, the title, and what follows the instrument
// choice.
#include "window/mainwindow.h"

#include "config/dictionaryanalysis.h"
#include "config/languages.h"
#include "config/qttranslations.h"
#include "config/runtimefiles.h"
#include "config/xml_analysis.h"

#include <QIcon>
#include <QLocale>

void MainWindow::read_language(xml_analysis& xml)
{
    language = xml.get_config(config_file_to_read(exe_path), "language");
    show_reader_messages(xml);
    choose_language_section(xml);
    // Qt's own texts (standard buttons, file dialogs, the PC tree's captions) in that language, and
    // dates and sizes (the PC tree's) written as that language writes them.
    install_qt_translations(language);
    QLocale::setDefault(program_locale(language));
}

void MainWindow::open_dictionary()
{
    dictionA = std::make_unique<DictionaryAnalysis>(dictionary_file(exe_path + "/config", language));
}

void MainWindow::default_line_settings()
{
    // The first port of the system's list; one enumeration of the ports (slow: it asks udev) gives both
    // the names and their descriptions.
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
}

bool MainWindow::load_ui_texts(xml_analysis& xml)
{
    parametre_list = xml.get_parameter(language, exe_path);
    xml.check_runtime_files(exe_path, language, &parametre_list);
    show_reader_messages(xml);
    apply_language_texts(xml.filled_in_english());
    return !parametre_list.isEmpty();
}

void MainWindow::show_title()
{
    const QStringList title = get_parametretitle("WindowTitle");
    if (title.isEmpty()) {
        setWindowTitle("WindowTitle Error");
        return;
    }
    exe_name = title.first();
    setWindowTitle(exe_name);
    setWindowIcon(QIcon(icon_path + "/logo.png"));
}

void MainWindow::setup_chosen_type(xml_analysis& xml)
{
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
    setup_linework(xml);
    build_language_menu();
    tell_language_state();
}
