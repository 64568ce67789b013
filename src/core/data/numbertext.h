// Numbers read from and written to text in bulk, as Qt's C-locale conversions read and write them but
// without their locale machinery (Qt 6 compares the locale's sign and separator strings for every
// character of every number).
#ifndef NUMBERTEXT_H
#define NUMBERTEXT_H

#include <QString>
#include <QStringView>

// The value of `text` exactly as text.trimmed().toDouble(ok) gives it: spaces around it ignored; a sign,
// decimal point and exponent in the C locale's forms, "inf" and "nan" in any letter case; false with 0
// for anything else and for an underflow to zero, false with an infinity for an overflow.
double text_to_double(QStringView text, bool* ok = nullptr);

// `value` with `decimals` places exactly as QString::number(value, 'f', decimals) writes it: every
// digit of the binary value, halves rounded away from zero, no sign on a zero.
QString double_to_fixed(double value, int decimals);

#endif // NUMBERTEXT_H
