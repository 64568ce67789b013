// Code lists and linework: the shipped list read, lists refused with their line, written and read back,
// found in the user's folder first; code sequences against the lines and areas they must give and the
// report of what could not be joined.
#include "config/runtimefiles.h"
#include "support/core/ktest_core.h"
#include "survey/codelist.h"
#include "survey/linework.h"

#include <QStandardPaths>
#include <QTemporaryDir>

namespace
{

CodeList shipped_list()
{
    CodeList list;
    CodeListError error;
    if (!read_code_list_file(KT_SOURCE_DIR "/dist/config/codes.xml", &list, &error))
        qWarning() << code_list_error_text(error);
    return list;
}

// Rows from a sequence of code fields separated by blanks ("_" an empty field, a trailing "!" a point
// whose N is no number), named P1, P2, ...; the lines as "CODE:1,2,3" (rows from 1, "*" after the code
// when closed) and the issues as "Kind CODE:rows", each joined by "; ".
void run_sequence(const CodeList& list, const QString& sequence, QString* lines, QString* issues)
{
    LineworkBuilder builder(list);
    const QStringList fields = sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int row = 0; row < fields.size(); ++row) {
        QString code = fields[row] == QLatin1String("_") ? QString() : fields[row];
        const bool placed = !code.endsWith(QLatin1Char('!'));
        if (!placed)
            code.chop(1);
        builder.add(row, QStringLiteral("P%1").arg(row + 1), code, placed ? QString::number(3000 + row) : "n/a",
                    QString::number(500 + row), QStringLiteral("10.5"));
    }
    QStringList texts;
    for (const LineworkLine& line : builder.lines()) {
        QStringList rows;
        for (const LineworkVertex& vertex : line.vertices)
            rows << QString::number(vertex.row + 1);
        texts << (line.string_number ? line.code + QString::number(line.string_number) : line.code) +
                     (line.closed ? "*:" : ":") + rows.join(',');
    }
    *lines = texts.join(QStringLiteral("; "));
    static const char* const kKinds[] = {"SinglePoint", "SmallArea",   "Unknown",     "NoLineCode",   "ControlOnly",
                                         "OutOfRange",  "DoubleStart", "ClosedTwice", "NoCoordinates"};
    texts.clear();
    for (const LineworkIssue& issue : builder.issues()) {
        QStringList rows;
        for (int row : issue.rows)
            rows << QString::number(row + 1);
        texts << QStringLiteral("%1 %2:%3").arg(kKinds[issue.kind], issue.code, rows.join(','));
    }
    *issues = texts.join(QStringLiteral("; "));
}

} // namespace

class TestLinework : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void shipped_list_holds_the_survey_codes()
    {
        const CodeList list = shipped_list();
        QCOMPARE(QString(list.start()) + list.end() + list.close(), QString("+-*"));
        const struct {
            CodeKind kind;
            QStringList codes;
        } wanted[] = {
            {CodeKind::Line, {"WALL", "FENCE", "CURB", "EDGE", "ROAD", "DITCH", "BANK", "KERB"}},
            {CodeKind::Area, {"HOUSE", "POND", "FIELD"}},
            {CodeKind::Point, {"LAMP", "TREE", "MH", "POLE", "BM", "STN", "HYD"}},
        };
        for (const auto& group : wanted) {
            for (const QString& code : group.codes) {
                const int entry = list.find(code.toLower());
                QVERIFY2(entry >= 0, qPrintable(code));
                QVERIFY(list.entries()[entry].kind == group.kind);
                QVERIFY(!list.entries()[entry].chinese.isEmpty() && !list.entries()[entry].english.isEmpty());
                QVERIFY(list.entries()[entry].chinese.at(0).unicode() > 0x3000);
            }
        }
        // Written and read back, the list is the same.
        CodeList again;
        CodeListError error;
        QVERIFY(read_code_list(code_list_xml(list), &again, &error));
        QCOMPARE(code_list_xml(again), code_list_xml(list));
        QCOMPARE(again.size(), list.size());
    }

    void refused_lists_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("line");
        const QByteArray head = "<?xml version=\"1.0\"?>\n<CODELIST>\n";
        QTest::newRow("not well-formed") << head + "<code code=\"A\" kind=\"line\">\n</CODELIST>\n"
                                         << int(CodeListError::NotWellFormed) << 4;
        QTest::newRow("empty file") << QByteArray() << int(CodeListError::NotWellFormed) << 1;
        QTest::newRow("another root") << QByteArray("<CONFIG/>") << int(CodeListError::NotCodeList) << 1;
        QTest::newRow("unknown kind") << head + "<code code=\"A\" kind=\"line\"/>\n<code code=\"B\" kind=\"curve\"/>"
                                      << int(CodeListError::UnknownKind) << 4;
        QTest::newRow("duplicate, letter case aside")
            << head + "<code code=\"Wall\" kind=\"line\"/>\n\n<code code=\"WALL\" kind=\"area\"/></CODELIST>"
            << int(CodeListError::DuplicateCode) << 5;
        QTest::newRow("colour 0") << head + "<code code=\"A\" kind=\"line\" colour=\"0\"/></CODELIST>"
                                  << int(CodeListError::BadColour) << 3;
        QTest::newRow("colour text") << head + "<code code=\"A\" kind=\"line\" colour=\"red\"/></CODELIST>"
                                     << int(CodeListError::BadColour) << 3;
        QTest::newRow("layer DXF forbids")
            << head + "<code code=\"A\" kind=\"line\" layer=\"A:B\"/></CODELIST>" << int(CodeListError::BadLayer) << 3;
        QTest::newRow("code with a control")
            << head + "<code code=\"A+B\" kind=\"line\"/></CODELIST>" << int(CodeListError::MissingCode) << 3;
        QTest::newRow("no code") << head + "<code kind=\"line\"/></CODELIST>" << int(CodeListError::MissingCode) << 3;
        QTest::newRow("two-character control")
            << QByteArray("<CODELIST start=\"++\"/>") << int(CodeListError::BadControl) << 1;
        QTest::newRow("letter as control")
            << QByteArray("\n<CODELIST close=\"X\"/>") << int(CodeListError::BadControl) << 2;
        QTest::newRow("same control twice")
            << QByteArray("<CODELIST start=\"-\"/>") << int(CodeListError::BadControl) << 1;
        QTest::newRow("another element") << head + "<item/></CODELIST>" << int(CodeListError::UnexpectedElement) << 3;
        QTest::newRow("garbage after the root")
            << QByteArray("<CODELIST/>\n<x") << int(CodeListError::NotWellFormed) << 2;
    }

    void refused_lists()
    {
        QFETCH(QByteArray, xml);
        QFETCH(int, kind);
        QFETCH(int, line);
        CodeList list = shipped_list();
        const QByteArray before = code_list_xml(list);
        CodeListError error;
        QVERIFY(!read_code_list(xml, &list, &error));
        QCOMPARE(int(error.kind), kind);
        QCOMPARE(int(error.line), line);
        QVERIFY(error.column > 0 || xml.isEmpty());
        QVERIFY(code_list_error_text(error).contains(QStringLiteral("line %1,").arg(line)));
        QCOMPARE(code_list_xml(list), before); // the list in use stays as it was
    }

    void controls_of_the_office_and_the_user_copy()
    {
        CodeList list;
        CodeListError error;
        QVERIFY(read_code_list("<CODELIST start=\"/\" end=\".\" close=\"#\"><code code=\"W\" kind=\"line\"/>"
                               "<code code=\"B2\" kind=\"point\"/></CODELIST>",
                               &list, &error));
        QString lines, issues;
        run_sequence(list, "W W W/ W W. W W# W W# B2 W+", &lines, &issues);
        QCOMPARE(lines, QString("W:1,2; W:3,4,5; W*:6,7; W*:8,9"));
        QCOMPARE(issues, QString("Unknown W+:11"));

        QTemporaryDir runtime;
        QDir().mkpath(runtime.path() + "/config");
        QDir(user_config_folder()).removeRecursively();
        QCOMPARE(code_list_file_to_read(runtime.path()), runtime.path() + "/config/codes.xml");
        const QString user = code_list_file_to_write();
        QString why;
        QVERIFY(write_code_list_file(user, list, &why));
        QCOMPARE(code_list_file_to_read(runtime.path()), user);
        CodeList read;
        QVERIFY(read_code_list_file(code_list_file_to_read(runtime.path()), &read, &error));
        QCOMPARE(code_list_xml(read), code_list_xml(list));
        QVERIFY(QFile::remove(user));
    }

    void sequences_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("issues");
        QTest::newRow("a code continues its line") << "WALL WALL LAMP WALL"
                                                   << "WALL:1,2,4"
                                                   << "";
        QTest::newRow("string numbers keep parallel lines apart") << "CURB1 CURB2 CURB1 CURB2 CURB CURB"
                                                                  << "CURB1:1,3; CURB2:2,4; CURB:5,6"
                                                                  << "";
        QTest::newRow("two-digit string, letter case, blanks") << "kerb12 KERB12 Kerb12-"
                                                               << "KERB12:1,2,3"
                                                               << "";
        QTest::newRow("start ends the line before") << "WALL WALL WALL+ WALL"
                                                    << "WALL:1,2; WALL:3,4"
                                                    << "";
        QTest::newRow("end at this point") << "FENCE FENCE- FENCE FENCE"
                                           << "FENCE:1,2; FENCE:3,4"
                                           << "";
        QTest::newRow("close a line") << "DITCH DITCH DITCH*"
                                      << "DITCH*:1,2,3"
                                      << "";
        QTest::newRow("areas are closed, * ends one") << "HOUSE HOUSE HOUSE HOUSE* HOUSE HOUSE HOUSE"
                                                      << "HOUSE*:1,2,3,4; HOUSE*:5,6,7"
                                                      << "";
        QTest::newRow("unknown codes are points, reported with their rows")
            << "XYZ WALL XYZ+ ABC _"
            << "WALL:2"
            << "SinglePoint WALL:2; Unknown XYZ:1,3; Unknown ABC:4";
        QTest::newRow("string number without a line code") << "BM1 12 WALL WALL"
                                                           << "WALL:3,4"
                                                           << "NoLineCode BM1:1; NoLineCode 12:2";
        QTest::newRow("a control character only") << "+ WALL - WALL *"
                                                  << "WALL:2,4"
                                                  << "ControlOnly +:1; ControlOnly -:3; ControlOnly *:5";
        QTest::newRow("string number out of range") << "CURB0 CURB123 CURB1 CURB1"
                                                    << "CURB1:3,4"
                                                    << "OutOfRange CURB0:1; OutOfRange CURB123:2";
        QTest::newRow("two starts in a row") << "WALL+ WALL+ WALL"
                                             << "WALL:1; WALL:2,3"
                                             << "DoubleStart WALL:1,2";
        QTest::newRow("an area closed twice") << "POND POND POND* POND* POND"
                                              << "POND*:1,2,3; POND*:5"
                                              << "SmallArea POND:5; ClosedTwice POND:3,4";
        QTest::newRow("areas of fewer than three points") << "FIELD FIELD- HOUSE*"
                                                          << "FIELD*:1,2; HOUSE*:3"
                                                          << "SmallArea FIELD:1,2; SmallArea HOUSE:3";
        QTest::newRow("a point without coordinates is left out of its line, its control kept")
            << "WALL WALL! WALL WALL+! WALL WALL"
            << "WALL:1,3; WALL:5,6"
            << "NoCoordinates WALL:2,4";
    }

    void sequences()
    {
        QFETCH(QString, sequence);
        QFETCH(QString, lines);
        QFETCH(QString, issues);
        static const CodeList list = shipped_list();
        QString got_lines, got_issues;
        run_sequence(list, sequence, &got_lines, &got_issues);
        QCOMPARE(got_lines, lines);
        QCOMPARE(got_issues, issues);
    }

    void issue_text_names_rows_from_one()
    {
        LineworkIssue issue;
        issue.kind = LineworkIssue::UnknownCode;
        issue.code = "XYZ";
        for (int row = 0; row < 25; ++row)
            issue.rows << row;
        QCOMPARE(linework_issue_text(issue),
                 QString("code not in the list XYZ: rows 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, "
                         "18, 19, 20 and 5 more"));
    }
};

KT_CORE_TEST_MAIN(TestLinework)
#include "tst_linework.moc"
