// Text files: the block reader gives the lines of a text stream, with no character lost where the
// stream's reads would cut it, whatever the bytes (line ends, NULs, broken GBK, byte order marks,
// lines across blocks); the writer writes exactly the bytes of the codec, ASCII batches and others
// mixed.
#include "data/textfile.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

namespace
{

// The lines a text stream in text mode gives when its codec keeps partial characters between
// reads: every CR dropped, the codec the byte order mark names (else the local one), the whole
// file decoded at once, split at line feeds, no empty line after the last line feed.
QStringList expected_lines(QByteArray bytes)
{
    bytes.replace('\r', QByteArray());
    const QTextCodec* codec = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForLocale());
    QStringList lines = codec->toUnicode(bytes).split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList reader_lines(const QString& path)
{
    TextFileReader reader;
    if (!reader.open(path))
        return {"<not opened>"};
    QStringList lines;
    QString line;
    while (reader.read_line(&line))
        lines << line;
    return lines;
}

// `size` bytes drawn from `alphabet`: small alphabets make every pairing (a GBK lead byte before a
// line feed, CR LF, NULs) frequent, also where the reader's blocks end.
QByteArray random_bytes(quint32 seed, int size, const QByteArray& alphabet)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = alphabet[random.bounded(alphabet.size())];
    return bytes;
}

QByteArray gbk(const QString& text)
{
    return QTextCodec::codecForName("GBK")->fromUnicode(text);
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void reads_as_a_text_stream_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one line, no line feed") << QByteArray("P1,K,1,2,3");
        QTest::newRow("empty lines") << QByteArray("\n\na\n\n");
        QTest::newRow("CR LF and lone CRs") << QByteArray("a\r\nb\rc\r\r\n\rd\r");
        QTest::newRow("NULs") << QByteArray("a\0b\n\0\n", 6);
        QTest::newRow("GBK text") << gbk("点1,树,1,2,3\n点2,,4,5,6\n");
        QTest::newRow("GBK lead byte before a line feed") << QByteArray("a\x81\nb\xFE\n\xA1");
        QTest::newRow("GBK lead byte at the end") << QByteArray("abc\n\x81");
        QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBFP1,\xE7\x82\xB9,1,2,3\nP2\n");
        QTest::newRow("UTF-16 byte order mark") << QByteArray("\xFF\xFEP\0\n\0Q\0", 8);
        QTest::newRow("long ASCII lines across blocks") << random_bytes(1, 300000, QByteArray("abc,.0123\n"));
        // A text stream reads 16 KiB at a time and the GBK codec drops a character cut by a read.
        QTest::newRow("GBK character across 16 KiB") << QByteArray(16383, 'a') + gbk("点\n") + "b";
        QTest::newRow("one line longer than a block") << QByteArray(200000, 'x') + "\ny";
        const QByteArray mixed("ab,\n\r\x81\xA1\xFE\x40\x7F\x80\xFF\x30", 14);
        for (quint32 seed = 2; seed < 6; ++seed)
            QTest::newRow(qPrintable(QString("random bytes %1").arg(seed))) << random_bytes(seed, 200000, mixed);
        QByteArray chinese_lines;
        for (int i = 0; i < 20000; ++i)
            chinese_lines += (i % 3 ? QByteArray("P%1,K,1.5,2.5,3.5\n").replace("%1", QByteArray::number(i))
                                    : gbk(QString("点%1,树,1,2,3\n").arg(i)));
        QTest::newRow("ASCII and GBK blocks") << chinese_lines;
    }

    void reads_as_a_text_stream()
    {
        QFETCH(QByteArray, bytes);
        WorkDir dir(false);
        dir.write("lines.txt", bytes);
        QCOMPARE(reader_lines(dir.file("lines.txt")), expected_lines(bytes));
    }

    void a_stream_reader_reads_from_the_start()
    {
        WorkDir dir(false);
        dir.write("lines.txt", "a\nb\n");
        TextFileReader reader;
        QVERIFY(reader.open(dir.file("lines.txt")));
        QCOMPARE(reader.stream()->readLine(), QString("a"));
        QCOMPARE(reader.stream()->readLine(), QString("b"));
        TextFileReader missing;
        QVERIFY(!missing.open(dir.file("missing.txt")));
        QVERIFY(!missing.error().isEmpty());
    }

    void writes_the_codec_bytes_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("ASCII") << QStringList{"P1,K,1,2,3", "", "x"};
        QTest::newRow("GBK") << QStringList{"点1,树,1,2,3", "P2"};
        QStringList batches;
        for (int i = 0; i < 30000; ++i)
            batches << (i % 7000 == 6999 ? QString("点%1,树,1,2,3").arg(i) : QString("P%1,K,1.5,2.5,3.5").arg(i));
        QTest::newRow("ASCII and GBK batches") << batches;
        QTest::newRow("beyond GBK") << QStringList{QString::fromUtf8("\xF0\x9F\x98\x80"), "a\u00E9"};
    }

    void writes_the_codec_bytes()
    {
        QFETCH(QStringList, lines);
        WorkDir dir(false);
        TextFileWriter writer(dir.file("out.txt"), false);
        QVERIFY(writer.open());
        for (const QString& line : lines)
            writer.write_line(line);
        QVERIFY(writer.finish());
        QCOMPARE(dir.read("out.txt"), gbk(lines.join('\n') + '\n'));
    }
};

KT_CORE_TEST_MAIN(TestTextFile)
#include "tst_textfile.moc"
