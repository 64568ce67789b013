// KT20_KT40 record decoding, and the field routines shared with sending and the table.
#include "fieldtext.h"
#include "mainwindow.h"

void MainWindow::InformationAnalysis_unpackKT20_KT40(QByteArray cksj, int type)
{
    Q_UNUSED(cksj);
    Q_UNUSED(type);
}

QString MainWindow::singledata_unpack(QByteArray qba, int pos, int length, int alllength, QString addstr, int addwenzhi)
{
    return field_text(qba, pos, length, alllength, addstr, addwenzhi);
}

QString MainWindow::get_data_youxiaowei(QString sour, int length)
{
    return fixed_decimals(sour, length);
}

QString MainWindow::dddffmm_bianhuan(QString sour, int flag)
{
    return angle_text(sour, flag);
}
