// Setting a dialog's title, icon and captions from its UI-text list.
#include "dialogs/dialogtexts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QIcon>
#include <QLabel>

void set_dialog_texts(QDialog& dialog, const QString& icon_file, const QStringList& texts,
                      std::initializer_list<QLabel*> labels, std::initializer_list<QAbstractButton*> buttons)
{
    dialog.setWindowTitle(texts.value(0));
    dialog.setWindowIcon(QIcon(icon_file));
    int entry = 1;
    for (QLabel* label : labels)
        label->setText(texts.value(entry++));
    for (QAbstractButton* button : buttons)
        button->setText(texts.value(entry++));
}
