// Text files: the block reader gives the lines of the whole file decoded at once, with no character
// lost where its blocks cut, whatever the bytes (line ends, NULs, broken GBK, byte order marks, lines
// across blocks); each encoding is told and decoded, undecodable bytes counted, a line too long
// refused; the writer writes exactly the bytes of GBK or GB18030, ASCII batches and others mixed,
// and counts what GBK cannot hold.
#include "data/fileoperation.h"
#include "data/textfile.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextStream>

namespace
{

// The lines of the whole file decoded at once, in the encoding its rules give for all of it, split
// at LF, CR LF and CR, no empty line after the last line end.
QStringList expected_lines(const QByteArray& bytes)
{
    TextEncoding encoding = TextEncoding::Ascii;
    const int mark = byte_order_mark(bytes.constData(), bytes.size(), &encoding);
    const QByteArray body = bytes.mid(mark);
    if (mark == 0 && !looks_like_utf16(body.constData(), qMin(body.size(), TextFileReader::kBlockSize), &encoding))
        encoding = utf8_or_gbk(body.constData(), body.size(), true);
    QString text;
    decode_text(encoding, nullptr, body.constData(), body.size(), &text);
    QStringList lines = text.split(QRegularExpression("\r\n|\r|\n"));
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

QByteArray gb18030(const QString& text)
{
    return QTextCodec::codecForName("GB18030")->fromUnicode(text);
}

QByteArray utf16(const QString& text, bool big_endian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += big_endian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

const QString kExample = QString::fromUtf8("测点1,树,100.5,200.25,3.5\nP2,墙角,1,2,3\n");
const QStringList kExampleLines{QString::fromUtf8("测点1,树,100.5,200.25,3.5"), QString::fromUtf8("P2,墙角,1,2,3")};
constexpr int kBlock = TextFileReader::kBlockSize;

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
        QByteArray utf8_lines;
        for (int i = 0; i < 20000; ++i)
            utf8_lines += QString("点%1,树,1,2,3%2").arg(i).arg(i % 3 ? "\r\n" : "\r").toUtf8();
        QTest::newRow("UTF-8 lines, CR LF and CR") << utf8_lines;
        QTest::newRow("UTF-16 lines across blocks")
            << QByteArray("\xFF\xFE") + utf16(QTextCodec::codecForName("GBK")->toUnicode(chinese_lines), false);
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

    void tells_and_decodes_encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("undecodable");
        const QByteArray utf8_mark("\xEF\xBB\xBF");
        QTest::newRow("UTF-8 without a mark") << kExample.toUtf8() << "UTF-8" << kExampleLines << 0;
        QTest::newRow("UTF-8 with a mark") << utf8_mark + kExample.toUtf8() << "UTF-8" << kExampleLines << 0;
        QTest::newRow("GBK") << gbk(kExample) << "GBK" << kExampleLines << 0;
        const QString rare = QString::fromUtf8("\xF0\xA0\x80\x80,\xE3\x90\x80,1,2,3\nP2,\xE2\x82\xAC,1,2,3"); // 𠀀 㐀 €
        QTest::newRow("GB18030 beyond GBK") << gb18030(rare) << "GB18030" << rare.split('\n') << 0;
        QTest::newRow("GBK euro sign as 0x80") << QByteArray("E,\x80") << "GBK" << QStringList{"E,€"} << 0;
        QTest::newRow("UTF-16LE with a mark")
            << QByteArray("\xFF\xFE") + utf16(kExample, false) << "UTF-16LE" << kExampleLines << 0;
        QTest::newRow("UTF-16BE with a mark")
            << QByteArray("\xFE\xFF") + utf16(kExample, true) << "UTF-16BE" << kExampleLines << 0;
        QTest::newRow("UTF-16LE without a mark") << utf16(kExample, false) << "UTF-16LE" << kExampleLines << 0;
        QTest::newRow("UTF-16BE without a mark") << utf16(kExample, true) << "UTF-16BE" << kExampleLines << 0;
        QTest::newRow("UTF-16, CR only, odd last byte") << utf16("A\rB\r", false) + "C"
                                                        << "UTF-16LE" << QStringList{"A", "B", "\uFFFD"} << 1;
        // A LF byte and a zero at an odd offset are no line end, though the file ends there.
        QTest::newRow("UTF-16, a LF byte at an odd offset")
            << utf16("aaaaaaaa", false) + QByteArray("A\n\0b\0", 5) << "UTF-16LE"
            << QStringList{QString("aaaaaaaa") + QChar(0x0A41) + QChar(0x6200) + "\uFFFD"} << 1;
        QTest::newRow("UTF-16, a lone surrogate") << QByteArray("\xFF\xFE") + utf16(QString("a") + QChar(0xD800), false)
                                                  << "UTF-16LE" << QStringList{"a\uFFFD"} << 2;
        // The deciding block ends where the file ends, in the middle of a sequence: not UTF-8.
        QTest::newRow("UTF-8 cut by the end, read to the end")
            << QByteArray(kBlock - 3, 'a') + "\xD7\xA3\r" + QByteArray(kBlock - 4, 'b') + "\xD9"
            << "GBK"
            << QStringList{QString(kBlock - 3, 'a') + QTextCodec::codecForName("GBK")->toUnicode("\xD7\xA3"),
                           QString(kBlock - 4, 'b') + "\uFFFD"}
            << 1;
        QTest::newRow("U+FEFF starting a line")
            << QByteArray("a\n\xEF\xBB\xBF") << "UTF-8" << QStringList{"a", QString(QChar(0xFEFF))} << 0;
        QTest::newRow("ASCII only") << QByteArray("P1,K,1,2,3\n") << "ASCII" << QStringList{"P1,K,1,2,3"} << 0;
        QTest::newRow("neither UTF-8 nor GBK")
            << QByteArray("P1,\xFF,1\n\x81") << "GBK" << QStringList{"P1,\uFFFD,1", "\uFFFD"} << 2;
        QTest::newRow("CR only") << QByteArray("A\rB\rC") << "ASCII" << QStringList{"A", "B", "C"} << 0;
        QTest::newRow("mixed line ends") << QByteArray("A\r\nB\nC\rD\n\rE\r\r\n") << "ASCII"
                                         << QStringList{"A", "B", "C", "D", "", "E", ""} << 0;
        const QByteArray ascii(kBlock + 5000, 'a');
        QTest::newRow("CR LF cut by a block") << QByteArray(kBlock - 1, 'a') + "\r\nb"
                                              << "ASCII" << QStringList{QString(kBlock - 1, 'a'), "b"} << 0;
        // The first byte above 0x7F decides, however far into the file.
        QTest::newRow("ASCII for more than a block, then UTF-8")
            << ascii + "\n" + kExample.toUtf8() << "UTF-8" << QStringList{QString(ascii)} + kExampleLines << 0;
        QTest::newRow("ASCII for more than a block, then GBK")
            << ascii + "\r" + gbk(kExample) << "GBK" << QStringList{QString(ascii)} + kExampleLines << 0;
        QTest::newRow("UTF-8, then a bad byte beyond the deciding block")
            << kExample.toUtf8() + ascii + "\n\xFF"
            << "UTF-8" << kExampleLines + QStringList{QString(ascii), "\uFFFD"} << 1;
        // A sequence cut by the end of a block, of the deciding block, or of the file.
        for (int cut = 1; cut <= 2; ++cut) {
            QTest::newRow(qPrintable(QString("UTF-8 cut by a block after %1 bytes").arg(cut)))
                << QByteArray(kBlock - cut, 'a') + "\xE6\xB5\x8B\n"
                << "UTF-8" << QStringList{QString(kBlock - cut, 'a') + QString::fromUtf8("测")} << 0;
            QTest::newRow(qPrintable(QString("UTF-8 cut by the deciding block after %1 bytes").arg(cut)))
                << "\xE6\xB5\x8B\n" + QByteArray(kBlock - 4 - cut, 'a') + "\xE6\xB5\x8B"
                << "UTF-8"
                << QStringList{QString::fromUtf8("测"), QString(kBlock - 4 - cut, 'a') + QString::fromUtf8("测")} << 0;
        }
        // Not whole UTF-8, so GBK: a pair, a lead byte before the line end, a lead byte at the end.
        QTest::newRow("UTF-8 cut by the end of the file")
            << QByteArray("\xE6\xB5\x8B\n\xE6") << "GBK"
            << QStringList{QTextCodec::codecForName("GBK")->toUnicode("\xE6\xB5") + "\uFFFD", "\uFFFD"} << 2;
    }

    void tells_and_decodes_encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QStringList, lines);
        QFETCH(int, undecodable);
        WorkDir dir(false);
        dir.write("lines.txt", bytes);
        TextFileReader reader;
        QVERIFY(reader.open(dir.file("lines.txt")));
        QStringList read;
        QString line;
        while (reader.read_line(&line))
            read << line;
        QCOMPARE(read, lines);
        QCOMPARE(reader.encoding_name(), encoding);
        QCOMPARE(reader.undecodable_bytes(), qint64(undecodable));
        QVERIFY(!reader.failed());
    }

    void refuses_a_line_too_long_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines"); // read before the refusal
        QTest::addColumn<int>("refused");       // the line refused, 0 for none
        QTest::addColumn<int>("block");         // the reader's block size and longest line
        QTest::addColumn<int>("longest_line");
        const qint64 longest = TextFileReader::kLongestLine;
        const int block = kBlock;
        const QByteArray at_limit(int(longest), 'x');
        const QByteArray past_limit(int(longest) + 1, 'x');
        QTest::newRow("the longest line")
            << at_limit + "\r\nb" << QStringList{QString(at_limit), "b"} << 0 << block << int(longest);
        QTest::newRow("one byte more, after a short line") << "a\n" + past_limit + "\nb\n"
                                                           << QStringList{"a"} << 2 << block << int(longest);
        QTest::newRow("ended by CR") << "a\rb\r" + past_limit + "\r" << QStringList{"a", "b"} << 3 << block
                                     << int(longest);
        QTest::newRow("the last line, no line end")
            << "a\n\n" + past_limit << QStringList{"a", ""} << 3 << block << int(longest);
        QTest::newRow("no line end at all")
            << QByteArray(int(longest) * 3, ',') << QStringList{} << 1 << block << int(longest);
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") + utf16(QString(int(longest) / 2 + 1, 'x'), false)
                                << QStringList{} << 1 << block << int(longest);
        QTest::newRow("UTF-8 within the limit")
            << QString(int(longest) / 3, QChar(0x70B9)).toUtf8()
            << QStringList{QString(int(longest) / 3, QChar(0x70B9))} << 0 << block << int(longest);
        // Small blocks: a line of the longest length whose CR unit is cut by the end of a block.
        const QByteArray first = utf16("\u00ED5\r", false);
        QTest::newRow("UTF-16 line end unit cut by a block")
            << first + utf16("abcdefg\rz", false) << QStringList{"\u00ED5", "abcdefg", "z"} << 0 << 7 << 14;
        QTest::newRow("UTF-16, one unit more")
            << first + utf16("abcdefgh\r", false) << QStringList{"\u00ED5"} << 2 << 7 << 14;
    }

    void refuses_a_line_too_long()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(int, refused);
        QFETCH(int, block);
        QFETCH(int, longest_line);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        TextFileReader reader(block, longest_line);
        reader.open(&buffer);
        QStringList read;
        QString line;
        while (reader.read_line(&line))
            read << line;
        QCOMPARE(read, lines);
        QCOMPARE(reader.failure(), refused ? TextFileReader::Failure::LongLine : TextFileReader::Failure::None);
        if (refused)
            QCOMPARE(reader.error(), QString("line %1 is longer than %2 bytes").arg(refused).arg(longest_line));
        if (!refused || longest_line != TextFileReader::kLongestLine)
            return;
        // A file read in part gives nothing, and says why.
        WorkDir dir(false);
        dir.write("long.txt", bytes);
        FileOperation files;
        QVERIFY(files.readfile(dir.file("long.txt")).isEmpty());
        QVERIFY(!files.last_read_ok);
        QCOMPARE(files.last_error, reader.error());
        QVERIFY(files.readfile_byextension(dir.file("long.txt"), "txt").isEmpty());
        QCOMPARE(files.last_read.failure, TextFileReader::Failure::LongLine);
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

    void finds_what_gbk_cannot_hold_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("found"); // line:field:character
        QTest::newRow("all GBK") << QStringList{"点1,树,1,2,3", "P2,·—,1,2,3"} << QStringList{};
        QTest::newRow("U+FFFD of an undecodable byte") << QStringList{"P1,\uFFFD,1,2,3"} << QStringList{};
        QTest::newRow("emoji, rare CJK, a character beyond U+FFFF")
            << QStringList{"P1,\U0001F600,1,2,3", "点2,K,1,2,3", "P3,\u3400x,1,\U00020000,3"}
            << QStringList{"0:1:\U0001F600", "2:1:\u3400", "2:3:\U00020000"};
        QTest::newRow("a lone surrogate, a field after empty ones")
            << QStringList{QString(",,,x") + QChar(0xDC00)} << QStringList{QString("0:3:") + QChar(0xDC00)};
    }

    // The check before a write lists each character, and the writer in GBK counts the same ones
    // (written as "?"); in GB18030 they are written and read back, and GBK text is GBK's bytes.
    void finds_what_gbk_cannot_hold()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, found);
        QStringList listed;
        for (const UnencodableCharacter& c : characters_gbk_cannot_hold(lines))
            listed << QString("%1:%2:%3").arg(c.line).arg(c.field).arg(c.character);
        QCOMPARE(listed, found);

        WorkDir dir(false);
        TextFileWriter gbk_writer(dir.file("gbk.txt"), false);
        TextFileWriter gb18030_writer(dir.file("gb18030.txt"), false, OutputEncoding::Gb18030);
        QVERIFY(gbk_writer.open());
        QVERIFY(gb18030_writer.open());
        for (const QString& line : lines) {
            gbk_writer.write_line(line);
            gb18030_writer.write_line(line);
        }
        QVERIFY(gbk_writer.flush());
        QCOMPARE(gbk_writer.unencodable_characters(), qint64(found.size()));
        if (!found.isEmpty())
            QCOMPARE(QString("%1:%2:%3")
                         .arg(gbk_writer.first_unencodable().line)
                         .arg(gbk_writer.first_unencodable().field)
                         .arg(gbk_writer.first_unencodable().character),
                     found.first());
        QCOMPARE(gb18030_writer.unencodable_characters(), qint64(0));
        QVERIFY(gbk_writer.finish());
        QVERIFY(gb18030_writer.finish());
        QCOMPARE(dir.read("gb18030.txt"), gb18030(lines.join('\n') + '\n'));
        const QString all = lines.join(QString());
        if (found.isEmpty() && !all.contains(QChar(QChar::ReplacementCharacter)))
            QCOMPARE(dir.read("gb18030.txt"), dir.read("gbk.txt"));
        if (!all.contains(QChar(0xDC00)))
            QCOMPARE(reader_lines(dir.file("gb18030.txt")), lines);
    }
};

KT_CORE_TEST_MAIN(TestTextFile)
#include "tst_textfile.moc"
