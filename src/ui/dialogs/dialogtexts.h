// The texts most dialogs take from their UI-text list: the title (entry 0), the window icon, the labels
// from entry 1 on and the buttons right after them.
#ifndef DIALOGTEXTS_H
#define DIALOGTEXTS_H

#include <QList>
#include <QStringList>
#include <initializer_list>

class QAbstractButton;
class QDialog;
class QLabel;
class QWidget;

// The caller has checked that `texts` holds an entry for every label and button.
void set_dialog_texts(QDialog& dialog, const QString& icon_file, const QStringList& texts,
                      std::initializer_list<QLabel*> labels, std::initializer_list<QAbstractButton*> buttons);

// Widens a form laid out by hand where a caption needs more room than it has: the `captions` widen by
// what the most lacking one lacks, the widgets `moved` move right as much and `form` grows as much.
// Nothing changes when every caption fits.
void widen_to_captions(QWidget& form, const QList<QWidget*>& captions, const QList<QWidget*>& moved);

#endif // DIALOGTEXTS_H
