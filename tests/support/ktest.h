// The main function of every suite: a headless application, GBK as the local 8-bit codec as in the
// program, and the modal seam in scripted mode so no message box can block a test.
#ifndef KTEST_H
#define KTEST_H

#include "modal.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTest>
#include <QTextCodec>

// The bytes of a file, or `if_missing` when it cannot be read.
inline QByteArray read_file(const QString& path, const QByteArray& if_missing = QByteArray())
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : if_missing;
}

#define KT_TEST_MAIN(TestClass)                                                                                        \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("GBK"));                                                \
        modal_script::enable(true);                                                                                    \
        TestClass tc;                                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

#endif // KTEST_H
