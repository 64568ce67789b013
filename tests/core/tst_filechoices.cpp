// The file dialogs' filters (the suffixes they name, "All supported files", the suffix a bare name
// takes) and the recent files list.
#include "data/filefilters.h"
#include "data/recentfiles.h"
#include "support/core/ktest_core.h"

class TestFileChoices : public QObject
{
    Q_OBJECT

private slots:
    void filter_suffixes_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("suffixes");
        QTest::newRow("one") << "No.,Name,N,E,Z,Code (*.gdat)" << QStringList{"gdat"};
        QTest::newRow("several, letter case kept") << "Points (*.gdat *.GDAT)" << QStringList{"gdat", "GDAT"};
        QTest::newRow("brackets in the caption") << "KML（Google 地球）(*.kml)" << QStringList{"kml"};
        QTest::newRow("every file") << "All (*)" << QStringList{};
        QTest::newRow("every name with a dot") << "All (*.*)" << QStringList{};
        QTest::newRow("no pattern") << "Points" << QStringList{};
    }

    void filter_suffixes()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, suffixes);
        QCOMPARE(::filter_suffixes(filter), suffixes);
    }

    void all_supported()
    {
        QCOMPARE(all_supported_filter("All supported files (%1)",
                                      {"A (*.ndad)", "B (*.txt *.TXT)", "C (*.ndad)", "D (*.kml)"}),
                 QString("All supported files (*.ndad *.txt *.kml)"));
    }

    void bare_names_take_the_filters_suffix_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("result");
        QTest::newRow("no suffix") << "/d/demo40"
                                   << "G (*.gdat)"
                                   << "/d/demo40.gdat";
        QTest::newRow("a suffix of its own") << "/d/demo40.txt"
                                             << "G (*.gdat)"
                                             << "/d/demo40.txt";
        QTest::newRow("an upper-case one") << "/d/demo40.TXT"
                                           << "G (*.gdat)"
                                           << "/d/demo40.TXT";
        QTest::newRow("ending in a dot") << "/d/demo40."
                                         << "G (*.gdat)"
                                         << "/d/demo40.gdat";
        QTest::newRow("a dot in a folder") << "/d.x/demo40"
                                           << "G (*.gdat)"
                                           << "/d.x/demo40.gdat";
        QTest::newRow("first of several") << "/d/p"
                                          << "G (*.gpkg *.shp)"
                                          << "/d/p.gpkg";
        QTest::newRow("a filter of no suffix") << "/d/p"
                                               << "All (*)"
                                               << "/d/p";
        QTest::newRow("cancelled") << ""
                                   << "G (*.gdat)"
                                   << "";
    }

    void bare_names_take_the_filters_suffix()
    {
        QFETCH(QString, path);
        QFETCH(QString, filter);
        QFETCH(QString, result);
        QCOMPARE(with_filter_suffix(path, filter), result);
    }

    void recent_files()
    {
        QStringList files;
        for (int i = 1; i <= 10; ++i)
            files = add_recent_file(files, QString("/d/%1.txt").arg(i));
        QCOMPARE(files.size(), kRecentFiles);
        QCOMPARE(files.first(), QString("/d/10.txt"));
        QCOMPARE(files.last(), QString("/d/3.txt"));
        // The same file again moves to the top, named as written or not.
        files = add_recent_file(files, "/d/x/../5.txt");
        QCOMPARE(files.mid(0, 3), (QStringList{"/d/5.txt", "/d/10.txt", "/d/9.txt"}));
        QCOMPARE(files.size(), kRecentFiles);
        QCOMPARE(files.count("/d/5.txt"), 1);
        // Stored one a line; blank lines and extra entries are left out when read.
        QCOMPARE(recent_files_from_setting(recent_files_setting(files)), files);
        QCOMPARE(recent_files_from_setting("\n/a\r\n\n/b\n"), (QStringList{"/a", "/b"}));
        QCOMPARE(recent_files_from_setting(QString("/x\n").repeated(12)).size(), kRecentFiles);
    }
};

KT_CORE_TEST_MAIN(TestFileChoices)
#include "tst_filechoices.moc"
