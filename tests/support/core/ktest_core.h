// The main function of the core suites: a headless core application (no GUI, no widgets) with the
// system's codec for local 8-bit text (file names), as in the program; and reading a file's bytes.
#ifndef KTEST_CORE_H
#define KTEST_CORE_H

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QTextCodec>

// The bytes of a file, or `if_missing` when it cannot be read.
inline QByteArray read_file(const QString& path, const QByteArray& if_missing = QByteArray())
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : if_missing;
}

#define KT_CORE_TEST_MAIN(TestClass)                                                                                   \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QCoreApplication app(argc, argv);                                                                              \
        TestClass tc;                                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

#endif // KTEST_CORE_H
