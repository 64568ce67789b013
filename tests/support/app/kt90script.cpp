// Scripted KT90 conversations for the tests.
#include "support/app/kt90script.h"

#include "data/localtext.h"
#include "support/app/windowdriver.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "window/mainwindow.h"

#include <QTest>

const QByteArray kReady("?\r\n");
const QByteArray kEnd("\x1a\r\n");

QByteArray crlf(const QByteArray& text)
{
    return text + "\r\n";
}

QList<Exchange> list_exchanges(const QByteArray& command, const QStringList& lines)
{
    QList<Exchange> out;
    QByteArray ask = crlf(command);
    for (const QString& line : lines) {
        out.append({ask, crlf(to_local_text(line))});
        ask = kReady;
    }
    out.append({ask, kEnd});
    return out;
}

QList<Exchange> listing_exchanges(const QStringList& jobs, const QStringList& formats)
{
    QList<Exchange> out{{crlf("a"), kReady},           {crlf("c"), kReady},           {crlf("CONF/182"), crlf("182,1")},
                        {crlf("CONF/136"), crlf("0")}, {crlf("CONF/137"), crlf("0")}, {crlf("GET//WI13"), crlf("W")}};
    out += list_exchanges("CODE/CONF/LIST", {"TREE", "WALL"});
    out += list_exchanges("JOB/CONF/LIST", jobs);
    out += list_exchanges("FORM/CONF/LIST", formats);
    out += list_exchanges("HAL/CONF/LIST", {"H1"});
    out += list_exchanges("VAL/CONF/LIST", {"V1"});
    return out;
}

void play(PtyInstrument& pty, const QList<Exchange>& exchanges)
{
    for (int i = 0; i < exchanges.size(); ++i) {
        const QByteArray sent = pty.receive(exchanges[i].expect.size());
        if (sent != exchanges[i].expect) {
            QTest::qFail(qPrintable(QString("exchange %1: expected %2, program sent %3")
                                        .arg(QString::number(i), QString::fromLatin1(exchanges[i].expect.toHex(' ')),
                                             QString::fromLatin1(sent.toHex(' ')))),
                         __FILE__, __LINE__);
            return;
        }
        if (!exchanges[i].reply.isEmpty())
            pty.send(exchanges[i].reply);
    }
}

std::unique_ptr<MainWindow> start_kt90_window(std::unique_ptr<WorkDir>& dir, const std::function<void(WorkDir&)>& edit)
{
    dir = std::make_unique<WorkDir>();
    dir->set_language("English");
    if (edit)
        edit(*dir);
    auto window = start_window("KT90");
    window->show();
    return window;
}
