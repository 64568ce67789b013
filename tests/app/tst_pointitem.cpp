// Point-table cells: a table filled from lines shows each field where its column is, edits of such
// cells reach the view as edits of any cell do, and a copied cell keeps its text.
#include "support/ui/ktest.h"
#include "table/pointitem.h"
#include "table/tablerows.h"

#include <QSignalSpy>
#include <QTableWidget>

#include <memory>

Q_DECLARE_METATYPE(QTableWidgetItem*)

class TestPointItem : public QObject
{
    Q_OBJECT

private slots:
    void filled_rows_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("coordinates") << int(TableLayout::Coordinate) << "P1,C7,3456000.125,512000.250,100.000"
                                     << QStringList{"P1", "C7", "3456000.125", "512000.250", "100.000"};
        QTest::newRow("empty fields and a longer line")
            << int(TableLayout::Coordinate) << ",,1.000,,2.000,extra" << QStringList{"", "", "1.000", "", "2.000"};
        QTest::newRow("points in the observation layout")
            << int(TableLayout::Observation) << "P2,K,10.000,20.000,30.000"
            << QStringList{"", "", "P2", "10.000", "20.000", "30.000", "K", "", "", "", "", "", "", "", ""};
    }

    void filled_rows()
    {
        QFETCH(int, layout);
        QFETCH(QString, line);
        QFETCH(QStringList, row);
        QTableWidget table(0, row.size());
        fill_table(&table, point_line_shape(TableLayout(layout)), {"too,few", line});
        QCOMPARE(table.rowCount(), 1);
        for (int column = 0; column < row.size(); ++column) {
            QTableWidgetItem* item = table.item(0, column);
            QVERIFY2(item, qPrintable(QString("no item in column %1").arg(column)));
            QCOMPARE(item->text(), row[column]);
            QCOMPARE(item->data(Qt::EditRole).toString(), row[column]);
        }
    }

    void observation_angles_show_their_marks()
    {
        const QString line = "MP,P3,1234510,0890030,12.3450,0.1200,1.0,2.0,3.0,C";
        QTableWidget table(0, 15);
        fill_table(&table, observation_line_shape(), {line});
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(cell_text(&table, 0, 9), QString::fromUtf8("123\u00B045'10\""));
        QCOMPARE(cell_text(&table, 0, 10), QString::fromUtf8("089\u00B000'30\""));
        QCOMPARE(cell_text(&table, 0, 13), QString("12.3450"));
        QCOMPARE(table_lines(&table, observation_line_shape()), QStringList{line});
    }

    void edits_reach_the_view()
    {
        QTableWidget table(0, 5);
        fill_table(&table, point_line_shape(TableLayout::Coordinate), {"P1,C,1,2,3"});
        qRegisterMetaType<QTableWidgetItem*>("QTableWidgetItem*");
        QSignalSpy changed(&table, &QTableWidget::itemChanged);
        table.item(0, 0)->setText("P9");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(table.item(0, 0)->text(), QString("P9"));
        QCOMPARE(table.model()->index(0, 0).data().toString(), QString("P9"));
        table.item(0, 0)->setText("P9");
        QCOMPARE(changed.count(), 1); // the same text again is no change
        table.item(0, 1)->setData(Qt::ToolTipRole, "tip");
        QCOMPARE(table.item(0, 1)->text(), QString("C"));
        QCOMPARE(table.item(0, 1)->toolTip(), QString("tip"));
    }

    void copies_keep_the_text()
    {
        PointItem made_from_text("P5");
        std::unique_ptr<QTableWidgetItem> copy(made_from_text.clone());
        QCOMPARE(copy->text(), QString("P5"));
        copy->setText("P6");
        QCOMPARE(made_from_text.text(), QString("P5"));
        QCOMPARE(copy->text(), QString("P6"));
    }
};

KT_TEST_MAIN(TestPointItem)
#include "tst_pointitem.moc"
