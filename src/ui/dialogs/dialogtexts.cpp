// Setting a dialog's title, icon and captions from its UI-text list.
#include "dialogs/dialogtexts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QIcon>
#include <QLabel>

#include <algorithm>

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

void widen_to_captions(QWidget& form, const QList<QWidget*>& captions, const QList<QWidget*>& moved)
{
    int lacking = 0;
    for (const QWidget* caption : captions) {
        const int needed = std::max(caption->sizeHint().width(), caption->minimumSizeHint().width());
        lacking = std::max(lacking, needed - caption->width());
    }
    if (lacking <= 0)
        return;
    for (QWidget* caption : captions)
        caption->resize(caption->width() + lacking, caption->height());
    for (QWidget* widget : moved)
        widget->move(widget->x() + lacking, widget->y());
    form.resize(form.width() + lacking, form.height());
}
