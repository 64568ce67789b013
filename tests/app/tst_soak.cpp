// Long receives over a pty: 10,000 KT40 records and 10,000 KT20_KT40 coordinate records in transfers of
// 1,000, each frame delivered in chunks of random size, with bursts of noise between the transfers. The
// instrument repeats a frame that is not answered, as instruments do. Every record must land in the
// table exactly once, in order, with its fields.
#include "support/app/linkedwindow.h"
#include "support/ui/ktest.h"

#include <QRandomGenerator>
#include <QTableWidget>

namespace
{

constexpr int kTransfers = 10;
constexpr int kRecordsPerTransfer = 1000;
constexpr int kRecords = kTransfers * kRecordsPerTransfer;

class Instrument
{
public:
    explicit Instrument(PtyInstrument& pty) : pty_(pty), random_(20261208) {}

    // Sends `frame` in chunks of 1 to 200 bytes, each handled by the program before the next.
    void send_chunked(const QByteArray& frame)
    {
        for (int at = 0; at < frame.size();) {
            const int size = int(random_.bounded(1, 201));
            pty_.send(frame.mid(at, size));
            PtyInstrument::spin(0);
            at += size;
        }
    }

    // Sends `frame` until the program answers `answer`; false after many tries.
    bool exchange(const QByteArray& frame, const QByteArray& answer)
    {
        for (int attempt = 0; attempt < 60; ++attempt) {
            send_chunked(frame);
            const QByteArray got = pty_.receive(answer.size(), attempt == 0 ? 2000 : 100);
            if (got == answer)
                return true;
            if (!got.isEmpty()) {
                qWarning() << "unexpected answer" << got.toHex(' ') << "to" << frame.left(12).toHex(' ');
                return false;
            }
        }
        return false;
    }

    // Up to 48 random bytes, then a pause in which whatever the program made of them is discarded.
    void noise_burst()
    {
        QByteArray noise(int(random_.bounded(1, 49)), '\0');
        for (char& byte : noise)
            byte = char(random_.bounded(256));
        send_chunked(noise);
        pty_.drain(20);
    }

private:
    PtyInstrument& pty_;
    QRandomGenerator random_;
};

QString point_name(int i)
{
    return QString("P%1").arg(i, 5, 10, QChar('0'));
}

QByteArray kt40_record(int i)
{
    const QByteArray number = QByteArray::number(i + 1).rightJustified(6, '0');
    const QByteArray north = (QByteArray::number(1000.0 + i * 0.125, 'f', 3) + "m").rightJustified(14, ' ');
    const QByteArray east = QByteArray::number(-20.0 - i, 'f', 3).rightJustified(14, ' ');
    const QByteArray z = QByteArray::number(i % 97, 'f', 3).leftJustified(14, ' ');
    const QByteArray code = ("C" + QByteArray::number(i % 100)).leftJustified(7, ' ');
    return "\x90  " + number + " " + point_name(i).toLatin1().leftJustified(7, ' ') + north + east + z + " " + code +
           "\xB0";
}

QByteArray coordinate_record(int i, int in_transfer)
{
    const QByteArray counts = QByteArray::number(in_transfer + 1).rightJustified(4, '0') +
                              QByteArray::number(kRecordsPerTransfer).rightJustified(4, '0');
    const QByteArray north = QByteArray::number(1000.0 + i * 0.5, 'f', 1).rightJustified(13, ' ');
    const QByteArray east = QByteArray::number(-20.0 - i, 'f', 3).rightJustified(13, '0');
    const QByteArray z = QByteArray::number(i % 97).rightJustified(13, ' ');
    const QByteArray code = ("C" + QByteArray::number(i % 100)).leftJustified(7, ' ');
    return '\x02' + counts + point_name(i).toLatin1().leftJustified(7, ' ') + code + north + east + z + '\r';
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void kt40_records()
    {
        LinkedWindow link("KT40");
        link.w->program_receivedata();
        Instrument instrument(link.pty);
        const QByteArray ack("\xAA\x81", 2);
        for (int t = 0; t < kTransfers; ++t) {
            instrument.noise_burst();
            const QByteArray count("\x03\xE8", 2);
            QVERIFY(instrument.exchange("\xAA\x80JOB" + QByteArray::number(t) + " " + count + "\xAA\x82", ack));
            for (int r = 0; r < kRecordsPerTransfer; ++r)
                QVERIFY2(instrument.exchange(kt40_record(t * kRecordsPerTransfer + r), ack),
                         qPrintable(QString("record %1").arg(t * kRecordsPerTransfer + r)));
            QVERIFY(instrument.exchange("\xAA\x82", "\xAA\x82"));
            QVERIFY(!link.w->InformationTransmissionjFlag);
        }
        QCOMPARE(link.w->tableWidget->rowCount(), kRecords);
        for (int i = 0; i < kRecords; ++i) {
            const QString expected =
                QStringList{point_name(i), "C" + QString::number(i % 100), QString::number(1000.0 + i * 0.125, 'f', 3),
                            QString::number(-20.0 - i, 'f', 3), QString::number(i % 97, 'f', 3)}
                    .join('|');
            QCOMPARE(link.row(i), expected);
        }
    }

    void kt2040_coordinate_records()
    {
        LinkedWindow link("KT20_KT40");
        link.w->ZuobiaoLeixing = kt2040::Coordinates;
        link.w->program_receivedata();
        Instrument instrument(link.pty);
        const QByteArray start("\x01J\r");
        for (int t = 0; t < kTransfers; ++t) {
            instrument.noise_burst();
            QVERIFY(instrument.exchange(start, start));
            for (int r = 0; r < kRecordsPerTransfer; ++r) {
                const QByteArray record = coordinate_record(t * kRecordsPerTransfer + r, r);
                QVERIFY2(instrument.exchange(record, record.left(9) + '\r'),
                         qPrintable(QString("record %1").arg(t * kRecordsPerTransfer + r)));
            }
            link.pty.send("\x01Q\r");
            PtyInstrument::spin(20);
            QVERIFY(!link.w->InformationTransmissionjFlag);
        }
        QCOMPARE(link.w->tableWidget->rowCount(), kRecords);
        for (int i = 0; i < kRecords; ++i) {
            QStringList expected;
            for (int c = 0; c < 15; ++c)
                expected << QString();
            expected[2] = point_name(i);
            expected[3] = QString::number(1000.0 + i * 0.5, 'f', 4);
            expected[4] = QString::number(-20.0 - i, 'f', 4);
            expected[5] = QString::number(i % 97, 'f', 4);
            expected[6] = "C" + QString::number(i % 100);
            QCOMPARE(link.row(i), expected.join('|'));
        }
    }
};

KT_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
