// The UI-text lookups by key and by prompt number, the prompts and record kind labels taken from the
// table at start-up, and the messages of the configuration readers.
#include "window/mainwindow.h"

#include "config/xml_analysis.h"
#include "data/localtext.h"
#include "modal/modal.h"

void MainWindow::show_reader_messages(xml_analysis& reader)
{
    // Worded in the window's language when its texts have been read, else as the reader gave them.
    const QStringList words = get_parametretitle("DamagedFileTexts");
    for (const XmlMessage& message : reader.take_messages()) {
        const QString pattern = message.text_entry > 0 ? words.value(message.text_entry) : QString();
        if (pattern.isEmpty())
            show_information(nullptr, message.title, message.text);
        else
            show_information(nullptr, words.value(0), xml_analysis::fill(pattern, message.values));
    }
}

void MainWindow::load_prompts_and_labels()
{
    all_popup_prompt = get_parametretitle("PopupPrompt");
    CoordinateType.clear();
    const QStringList kinds = get_parametretitle("CoordinateType");
    for (int i = 0; 2 * i + 1 < kinds.size(); ++i)
        CoordinateType.insert(kinds[2 * i], kinds[2 * i + 1]);
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
        return from_local_text("Popup prompt error!");
    if (num < 0 || num >= all_popup_prompt.size())
        return all_popup_prompt[0].arg(all_popup_prompt[1]).arg(num);
    return all_popup_prompt[num];
}
