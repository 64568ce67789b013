// Finding texts a window shows cut: wider than the room their widget gives them.
#ifndef CUTTEXTS_H
#define CUTTEXTS_H

#include <QStringList>

class QMenuBar;
class QWidget;

// Every visible label, button, check box, radio button, group box title and column title under `root`
// (and `root` itself) whose text needs more room than it has, one line each: the widget's class and
// name, the text, the room it needs and the room it has.
QStringList cut_texts(QWidget* root);

// The menu bar's menus that do not fit on it, and every menu (with its submenus) wider than `width`.
QStringList cut_menus(QMenuBar* bar, int width);

#endif // CUTTEXTS_H
