// The configuration reader and the UI-text reader: group layouts, comments, repeated keys, sections,
// and the messages for files that cannot be read.
#include "config/languages.h"
#include "config/xml_analysis.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

class TestXmlAnalysis : public QObject
{
    Q_OBJECT

    static QByteArray parameter_file(const QByteArray& sections)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PARAMETER>" + sections + "</PARAMETER>\n";
    }

private slots:
    void rows_by_group_data()
    {
        QTest::addColumn<QByteArray>("key_xml");
        QTest::addColumn<QStringList>("row");

        QTest::newRow("plain key reads Data")
            << QByteArray("<WindowTitle><i Data=\"ktlink\" Type=\"x\"/></WindowTitle>")
            << QStringList{"WindowTitle", "ktlink"};
        QTest::newRow("pair key reads Type then Data")
            << QByteArray("<CoordinateType><i Type=\"STN\" Data=\"Station\"/><i Data=\"MP only\"/></CoordinateType>")
            << QStringList{"CoordinateType", "STN", "Station", "", "MP only"};
        QTest::newRow("communication title reads three")
            << QByteArray("<CommunicationTitle><i Type=\"a\" Data=\"b\" ConType=\"c\"/></CommunicationTitle>")
            << QStringList{"CommunicationTitle", "a", "b", "c"};
        QTest::newRow("toolbar reads Iconpath, menu reads IconPath")
            << QByteArray("<ToolbarKT95VirtualTree><i Data=\"Go\" Iconpath=\"go.png\" IconPath=\"no\" StatusTip=\"t\" "
                          "width=\"9\" id=\"Connect\"/></ToolbarKT95VirtualTree>"
                          "<MainMenuKT95RTitle><i Data=\"Open\" Iconpath=\"no\" IconPath=\"/o.png\" attr=\"\" "
                          "numdata=\"FileOpen\"/></MainMenuKT95RTitle>")
            << QStringList{"ToolbarKT95VirtualTree", "Go", "go.png", "t", "9", "Connect"};
        QTest::newRow("menu item without StatusTip still gives five values")
            << QByteArray("<MainMenuKT20KT40Title><i Data=\"Open\" IconPath=\"/o.png\" attr=\"x\" "
                          "numdata=\"FileOpen\"/></MainMenuKT20KT40Title>")
            << QStringList{"MainMenuKT20KT40Title", "Open", "/o.png", "", "x", "FileOpen"};
        QTest::newRow("event icons read three")
            << QByteArray("<EventIconPath><i Type=\"t\" IconPath=\"a\" IconPathReverse=\"b\"/></EventIconPath>")
            << QStringList{"EventIconPath", "t", "a", "b"};
        QTest::newRow("comment inside a key gives empty values of the group's width")
            << QByteArray("<CoordinateType><!-- none --><i Type=\"BK\" Data=\"Backsight\"/></CoordinateType>")
            << QStringList{"CoordinateType", "", "", "BK", "Backsight"};
        QTest::newRow("key without items holds only the key")
            << QByteArray("<PopupPrompt/>") << QStringList{"PopupPrompt"};
        QTest::newRow("key names are compared with exact case")
            << QByteArray("<coordinatetype><i Type=\"STN\" Data=\"Station\"/></coordinatetype>")
            << QStringList{"coordinatetype", "Station"};
    }

    void rows_by_group()
    {
        QFETCH(QByteArray, key_xml);
        QFETCH(QStringList, row);
        WorkDir dir(false);
        dir.write("config/parameter.xml", parameter_file("<English>" + key_xml + "</English>"));
        const QList<QStringList> table = xml_analysis().get_parameter("English");
        QVERIFY(!table.isEmpty());
        QCOMPARE(table.first(), row);
    }

    void sections_and_order()
    {
        WorkDir dir(false);
        dir.write("config/parameter.xml",
                  parameter_file("<Chinese><WindowTitle><i Data=\"zh\"/></WindowTitle></Chinese>"
                                 "<English><!-- texts --><WindowTitle><i Data=\"one\"/></WindowTitle>"
                                 "<Other><i Data=\"x\"/></Other><WindowTitle><i Data=\"two\"/></WindowTitle>"
                                 "</English>"));
        xml_analysis xml;
        const QList<QStringList> english = xml.get_parameter("English");
        const QList<QStringList> expected = {
            {"#comment"}, {"WindowTitle", "one"}, {"Other", "x"}, {"WindowTitle", "two"}};
        QCOMPARE(english, expected);
        // An empty language takes the first section, whatever its name.
        QCOMPARE(xml.get_parameter(""), (QList<QStringList>{{"WindowTitle", "zh"}}));
        QVERIFY(xml.take_messages().isEmpty());
    }

    // One pass names the sections for the Language menu and keeps the tables of the language asked for
    // and of English, the fallback.
    void sections_and_tables_in_one_pass()
    {
        WorkDir dir(false);
        dir.write("config/parameter.xml",
                  parameter_file(QString::fromUtf8(
                                     "<Chinese><LanguageName><i Data=\" 中文 \"/></LanguageName><A><i Data=\"zh\"/></A></Chinese>"
                                     "<Arabic><LayoutDirection><i Data=\"RightToLeft\"/></LayoutDirection>"
                                     "<LanguageName><i Data=\"العربية\"/><i Data=\"second\"/></LanguageName></Arabic>"
                                     "<Empty/><English><A><!-- old --><i Data=\"en\"/></A></English>"
                                     "<English><A><i Data=\"later copy\"/></A></English>")
                                     .toUtf8()));
        xml_analysis xml;
        QStringList named;
        for (const LanguageSection& section : xml.ui_text_sections("Klingon", dir.path()))
            named << section.tag + "=" + section.name + (section.right_to_left ? " rtl" : "");
        QCOMPARE(named, QStringList({QString::fromUtf8("Chinese=中文"), QString::fromUtf8("Arabic=العربية rtl"),
                                     "English=English", "English=English"}));
        // English from the same pass: the first section of that tag, a comment in a key an empty item.
        const QList<QStringList> english{{"A", "", "en"}};
        QCOMPARE(xml.get_parameter("English", dir.path()), english);
        QCOMPARE(xml_analysis().get_parameter("English", dir.path()), english);
        QCOMPARE(xml.get_parameter("", dir.path()), (QList<QStringList>{{"LanguageName", QString::fromUtf8(" 中文 ")}, {"A", "zh"}}));
        QVERIFY(xml.take_messages().isEmpty());
    }

    void unreadable_parameter_files_data()
    {
        QTest::addColumn<bool>("write_file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");

        QTest::newRow("missing file: debug message only") << false << QByteArray() << QString();
        QTest::newRow("malformed") << true << QByteArray("<PARAMETER>\n<English>\n</Englsh>")
                                   << QString("parse file failed at line row and column3,9");
        QTest::newRow("empty file") << true << QByteArray() << QString("parse file failed at line row and column");
        // Read as a stream, the file is still read to its end: damage past the section asked for refuses it.
        QTest::newRow("damaged after the section")
            << true << QByteArray("<PARAMETER>\n<English><A><i Data=\"x\"/></A></English>\n<Other><B></Other>")
            << QString("parse file failed at line row and column3,");
        QTest::newRow("section missing") << true << parameter_file("<Chinese><A><i Data=\"x\"/></A></Chinese>")
                                         << QString(
                                                "Can't find child node(language = English) of a PARAMETER's subnode!");
        QTest::newRow("section empty") << true << parameter_file("<English/>")
                                       << QString(
                                              "Can't find child node(language = English) of a PARAMETER's subnode!");
        QTest::newRow("no PARAMETER element")
            << true << QByteArray("<TEXTS><English><A/></English></TEXTS>")
            << QString("Can't find child node(language = English) of a PARAMETER's subnode!");
    }

    void unreadable_parameter_files()
    {
        QFETCH(bool, write_file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        WorkDir dir(false);
        if (write_file)
            dir.write("config/parameter.xml", content);
        xml_analysis xml;
        QVERIFY(xml.get_parameter("English").isEmpty());
        const QList<XmlMessage> shown = xml.take_messages();
        if (message.isEmpty()) {
            QVERIFY(shown.isEmpty());
            return;
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QString("title"));
        QVERIFY2(shown[0].text.startsWith(message), qPrintable(shown[0].text));
    }

    void config_values_data()
    {
        QTest::addColumn<bool>("write_file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");

        QTest::newRow("language read") << true
                                       << QByteArray("<CONFIG><other>1</other><language>English</language></CONFIG>")
                                       << "English" << QString();
        QTest::newRow("first match wins")
            << true << QByteArray("<CONFIG><language>Chinese</language><language>English</language></CONFIG>")
            << "Chinese" << QString();
        QTest::newRow("no language setting")
            << true << QByteArray("<CONFIG><lang>English</lang></CONFIG>") << "" << QString();
        QTest::newRow("missing file") << false << QByteArray() << "" << QString();
        QTest::newRow("malformed") << true << QByteArray("<CONFIG><language>English</CONFIG>") << ""
                                   << QString("parse file failed at line row and column1,");
        QTest::newRow("CONFIG empty") << true << QByteArray("<CONFIG/>") << ""
                                      << QString("Can't find A child node of User!");
        QTest::newRow("other document element")
            << true << QByteArray("<SETTINGS><language>English</language></SETTINGS>") << ""
            << QString("Can't find A child node of User!");
    }

    void config_values()
    {
        QFETCH(bool, write_file);
        QFETCH(QByteArray, content);
        QFETCH(QString, value);
        QFETCH(QString, message);
        WorkDir dir(false);
        if (write_file)
            dir.write("config/config.xml", content);
        xml_analysis xml;
        QCOMPARE(xml.get_config(dir.file("config/config.xml"), "language"), value);
        const QList<XmlMessage> shown = xml.take_messages();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(shown[0].text.startsWith(message), qPrintable(shown[0].text));
    }

    void config_without_name()
    {
        xml_analysis xml;
        QCOMPARE(xml.get_config("", "language"), QString());
        QVERIFY(xml.take_messages().isEmpty());
    }

    void shipped_files_hold_every_key()
    {
        WorkDir dir;
        xml_analysis xml;
        const QString language = xml.get_config(dir.file("config/config.xml"), "language");
        QCOMPARE(language, QString("Chinese"));
        for (const QString& section : {QString("Chinese"), QString("English")}) {
            QStringList keys;
            for (const QStringList& row : xml.get_parameter(section))
                keys << row.first();
            for (const char* key : {"WindowTitle",
                                    "PopupPrompt",
                                    "CoordinateType",
                                    "UIKT95Message",
                                    "PointTableWidgetHeadTitleKT20KT40",
                                    "PointTableWidgetHeadTitle",
                                    "InstrumentType",
                                    "CoordinateFormat",
                                    "SYSSelectDlg",
                                    "MainMenuKT20KT40Title",
                                    "MainMenuKT95RTitle",
                                    "MainMenuKT90RTitle",
                                    "ToolbarKT20KT40VirtualTree",
                                    "ToolbarKT95VirtualTree",
                                    "ToolbarKT90VirtualTree",
                                    "ToolbarshowbyConnect",
                                    "QProgressDlg",
                                    "CommDlg",
                                    "ChuanshuDlg",
                                    "JOBCONFLIST",
                                    "KT90PopMenuCopyYCtoPC",
                                    "KT90PopMenuCopyPCtoYC",
                                    "FileDownDlg",
                                    "InputMsgDangeDlg",
                                    "PortSettingDlg",
                                    "KT20KT40FileType",
                                    "FileType",
                                    "PointExportKT20KT40",
                                    "ManageCoordinatesDlg"})
                QVERIFY2(keys.count(key) == 1, qPrintable(section + ": " + key));
        }
    }
};

KT_CORE_TEST_MAIN(TestXmlAnalysis)
#include "tst_xml_analysis.moc"
