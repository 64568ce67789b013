// The languages of the window: a configured language the UI-text file holds no section of, a section
// whose texts are incomplete, the layout direction of right-to-left languages, and the Language menu
// that stores the language of the next start.
#include "config/languages.h"
#include "config/prompts.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "modal/modal.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace
{

// Entries of the UI-text list "LanguageTexts".
enum LanguageText { kNextStart, kNotStored, kSectionMissing, kIncomplete };

const char kFallbackLanguage[] = "English";

} // namespace

QString MainWindow::ui_text_file() const
{
    return exe_path + QStringLiteral("/config/parameter.xml");
}

void MainWindow::choose_language_section(xml_analysis& xml)
{
    missing_language.clear();
    ui_sections = xml.ui_text_sections(language, exe_path);
    if (language.isEmpty())
        return; // the first section
    // Without an English section (or a readable file) the reader's own message ends start-up as before.
    if (find_section(ui_sections, language) || !find_section(ui_sections, kFallbackLanguage))
        return;
    missing_language = language;
    language = kFallbackLanguage;
}

void MainWindow::apply_language_texts(int filled_in_english)
{
    incomplete_keys = filled_in_english;
    const bool right_to_left = get_parametretitle("LayoutDirection").value(0).trimmed() == "RightToLeft";
    QApplication::setLayoutDirection(right_to_left ? Qt::RightToLeft : Qt::LeftToRight);
    if (!right_to_left)
        return;
    // Names and numbers filled into right-to-left texts stay left-to-right runs.
    for (QStringList& row : parametre_list) {
        for (int i = 1; i < row.size(); ++i)
            row[i] = isolate_placeholders(row[i]);
    }
}

void MainWindow::tell_language_state()
{
    const QStringList texts = get_parametretitle("LanguageTexts");
    if (!missing_language.isEmpty())
        show_information(this, getpopup_prompt(Prompt::ProgramName),
                         texts.value(kSectionMissing).arg(missing_language, ui_text_file()));
    if (incomplete_keys > 0)
        show_statemsg(
            texts.value(kIncomplete).arg(get_parametretitle("LanguageName").value(0, language)).arg(incomplete_keys),
            Status::Message);
}

void MainWindow::build_language_menu()
{
    QAction* item = menu_item("Language");
    if (!item)
        return;
    auto* menu = new QMenu(this);
    item->setMenu(menu);
    auto* group = new QActionGroup(menu);
    const QList<LanguageSection>& sections = ui_sections;
    for (int i = 0; i < sections.size(); ++i) {
        const LanguageSection& section = sections[i];
        // The action carries no command key: the menu bar's dispatcher passes it by.
        QAction* action = menu->addAction(section.name);
        action->setCheckable(true);
        action->setChecked(language.isEmpty() ? i == 0 : section.tag == language);
        group->addAction(action);
        const QString tag = section.tag;
        const QString name = section.name;
        connect(action, &QAction::triggered, this, [this, tag, name] { program_language(tag, name); });
    }
}

void MainWindow::program_language(const QString& tag, const QString& name)
{
    const QStringList texts = get_parametretitle("LanguageTexts");
    QString error;
    if (!replace_setting(settings_file(), "language", tag, &error)) {
        show_warning(this, getpopup_prompt(Prompt::ProgramName), texts.value(kNotStored).arg(settings_file(), error));
        return;
    }
    show_information(this, getpopup_prompt(Prompt::ProgramName), texts.value(kNextStart).arg(name));
}
