// A main window of one instrument type in a temporary working folder, with a pty instrument whose
// slave is the window's port. Frames as an instrument writes them are built here field by field.
#ifndef LINKEDWINDOW_H
#define LINKEDWINDOW_H

#include "mainwindow.h"
#include "ptyinstrument.h"
#include "workdir.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

struct LinkedWindow {
    // Starts the window (English texts) and, when `connect`, connects it by cable.
    explicit LinkedWindow(const QString& type, bool connect = true);
    WorkDir dir;
    PtyInstrument pty;
    std::unique_ptr<MainWindow> w;

    // The texts of a table row, "" for cells without an item.
    QStringList row(int r) const;
    QString state() const; // the status line's state text
    QString progress() const;
};

namespace instrument
{

// `text` left-aligned in `width` characters, filled with spaces.
QByteArray left(const QByteArray& text, int width);
// `text` right-aligned in `width` characters.
QByteArray right(const QByteArray& text, int width, char fill = ' ');

QByteArray kt40_header(const QByteArray& name, int count);
QByteArray kt40_record(int number, const QByteArray& name, const QByteArray& code, const QByteArray& n,
                       const QByteArray& e, const QByteArray& z);
// KT20_KT40 records: the start code, number and total as four digits, the fields, CR.
QByteArray coordinate_record(int number, int total, const QByteArray& name, const QByteArray& code, const QByteArray& n,
                             const QByteArray& e, const QByteArray& z);
QByteArray file_header(int number, int total, const QByteArray& job);
QByteArray station_record(int number, int total, const QByteArray& name, const QByteArray& code,
                          const QByteArray& height, const QByteArray& n, const QByteArray& e, const QByteArray& z);
QByteArray backsight_record(int number, int total, const QByteArray& name, const QByteArray& code,
                            const QByteArray& angle);
// `values`: horizontal and vertical angle, slope, vertical and horizontal distance, instrument and
// reflector height, N, E, Z.
QByteArray measured_record(int number, int total, const QByteArray& name, const QByteArray& code,
                           const QList<QByteArray>& values);

} // namespace instrument

#endif // LINKEDWINDOW_H
