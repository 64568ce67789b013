// Sample KT20/KT40 frames as the instruments send them, for the codec and the link suites.
#ifndef KT2040_SAMPLES_H
#define KT2040_SAMPLES_H

#include <QByteArray>

namespace sample
{

const QByteArray kt40_header = QByteArray::fromHex("aa80") + "JOB 1 " + QByteArray::fromHex("0002aa82");
// Spaces, NULs and the unit letter in the coordinates; the letter m stays in a code.
const QByteArray kt40_record = QByteArray("\x90  000001 PT 1\0  ", 17) + "  1234.567m   " +
                               QByteArray(" -12.345 m\0\0\0\0", 14) + "      100.000m CODE m \xB0";
const QByteArray coordinate = '\x02' + QByteArray("00030010PT1    CODE          1234.5      -12.345          abc\r");
const QByteArray file_header = '\x06' + QByteArray("00010005 JOB1 \r");
const QByteArray station =
    '\x06' + QByteArray("00020005 STN1             1.500     1000.000     2000.000      100.000\r");
const QByteArray backsight = '\x06' + QByteArray("00030005 BK1    C2     0900000\r");
// Angles are marked on the untrimmed field: the vertical angle's leading space shifts its marks.
const QByteArray measured = '\x06' + QByteArray("00040005 MP1    C3     1234512 900000  123.456   -1.234  123.450"
                                                "   1.500   1.800     1000.000     2000.000      100.000\r");

} // namespace sample

#endif // KT2040_SAMPLES_H
