// The texts most dialogs take from their UI-text list: the title (entry 0), the window icon, the labels
// from entry 1 on and the buttons right after them.
#ifndef DIALOGTEXTS_H
#define DIALOGTEXTS_H

#include <QStringList>
#include <initializer_list>

class QAbstractButton;
class QDialog;
class QLabel;

// The caller has checked that `texts` holds an entry for every label and button.
void set_dialog_texts(QDialog& dialog, const QString& icon_file, const QStringList& texts,
                      std::initializer_list<QLabel*> labels, std::initializer_list<QAbstractButton*> buttons);

#endif // DIALOGTEXTS_H
