// Windows on a pty, and instrument frames built from their fields.
#include "linkedwindow.h"

#include "ui_mainwindow.h"
#include "windowdriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

LinkedWindow::LinkedWindow(const QString& type, bool connect)
{
    dir.set_language("English");
    w = start_window(type);
    w->portname = pty.port_name();
    w->portlist_desc = QStringList{pty.port_name(), "pseudo-terminal"};
    if (connect) {
        w->CommunicationMode = 0;
        w->program_commconnect();
    }
}

QStringList LinkedWindow::row(int r) const
{
    QStringList texts;
    for (int c = 0; c < w->tableWidget->columnCount(); ++c) {
        const QTableWidgetItem* item = w->tableWidget->item(r, c);
        texts << (item ? item->text() : QString());
    }
    return texts;
}

QString LinkedWindow::state() const
{
    return w->ui->label_4->text();
}

QString LinkedWindow::progress() const
{
    return w->ui->lineEdit_2->text();
}

namespace instrument
{

QByteArray left(const QByteArray& text, int width)
{
    return text.leftJustified(width, ' ', true);
}

QByteArray right(const QByteArray& text, int width, char fill)
{
    return text.rightJustified(width, fill, true);
}

QByteArray kt40_header(const QByteArray& name, int count)
{
    return QByteArray("\xAA\x80") + name + char(count / 256) + char(count % 256) + QByteArray("\xAA\x82");
}

QByteArray kt40_record(int number, const QByteArray& name, const QByteArray& code, const QByteArray& n,
                       const QByteArray& e, const QByteArray& z)
{
    return "\x90  " + right(QByteArray::number(number), 6, '0') + ' ' + left(name, 7) + right(n, 14) + right(e, 14) +
           right(z, 14) + ' ' + left(code, 7) + '\xB0';
}

namespace
{

QByteArray text_record(char start, int number, int total, const QByteArray& fields)
{
    return start + right(QByteArray::number(number), 4, '0') + right(QByteArray::number(total), 4, '0') + fields + '\r';
}

} // namespace

QByteArray coordinate_record(int number, int total, const QByteArray& name, const QByteArray& code, const QByteArray& n,
                             const QByteArray& e, const QByteArray& z)
{
    return text_record('\x02', number, total,
                       left(name, 7) + left(code, 7) + right(n, 13) + right(e, 13) + right(z, 13));
}

QByteArray file_header(int number, int total, const QByteArray& job)
{
    return text_record('\x06', number, total, ' ' + left(job, 5));
}

QByteArray station_record(int number, int total, const QByteArray& name, const QByteArray& code,
                          const QByteArray& height, const QByteArray& n, const QByteArray& e, const QByteArray& z)
{
    return text_record('\x06', number, total,
                       ' ' + left(name, 7) + left(code, 7) + right(height, 8) + right(n, 13) + right(e, 13) +
                           right(z, 13));
}

QByteArray backsight_record(int number, int total, const QByteArray& name, const QByteArray& code,
                            const QByteArray& angle)
{
    return text_record('\x06', number, total, ' ' + left(name, 7) + left(code, 7) + right(angle, 7));
}

QByteArray measured_record(int number, int total, const QByteArray& name, const QByteArray& code,
                           const QList<QByteArray>& values)
{
    static const int widths[] = {7, 7, 9, 9, 9, 8, 8, 13, 13, 13};
    QByteArray fields = ' ' + left(name, 7) + left(code, 7);
    for (int i = 0; i < 10; ++i)
        fields += right(values.value(i), widths[i]);
    return text_record('\x06', number, total, fields);
}

} // namespace instrument
