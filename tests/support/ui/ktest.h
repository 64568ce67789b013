// The main function of the widget suites: a headless application with the system's codec for local 8-bit
// text (file names) as in the program, and the modal seam in scripted mode so no message box can block
// a test.
#ifndef KTEST_H
#define KTEST_H

#include "modal/modal.h"
#include "support/core/ktest_core.h"

#include <QApplication>
#include <QStringList>

// The messages the modal seam recorded, as "kind: text"; file dialogs left out.
inline QStringList shown_messages()
{
    QStringList messages;
    for (const modal_script::Shown& shown : modal_script::shown()) {
        if (shown.kind != "open" && shown.kind != "save")
            messages << shown.kind + ": " + shown.text;
    }
    return messages;
}

#define KT_TEST_MAIN(TestClass)                                                                                        \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        modal_script::enable(true);                                                                                    \
        TestClass tc;                                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

#endif // KTEST_H
