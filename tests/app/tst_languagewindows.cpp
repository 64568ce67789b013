// The window in every language the UI-text file holds: the main window of both layouts, its menus and
// each dialog at 1024x768 with no text shown cut; the Language menu stores the next start's language;
// a missing or incomplete section falls back to English and says so; a right-to-left language runs
// the window right to left and leaves the plan north up, east to the right.
#include "config/languages.h"
#include "config/xml_analysis.h"
#include "dialogs/comfiledownsettingdialog.h"
#include "dialogs/iniparameterselectdialog.h"
#include "plan/planview.h"
#include "support/app/cuttexts.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTimer>

namespace
{

const QSize kScreen(1024, 768);
const QColor kPointColour(29, 53, 87);

// What the window told through message boxes, one line each.
QString shown_texts()
{
    QStringList texts;
    for (const modal_script::Shown& shown : modal_script::shown())
        texts << shown.kind + ": " + shown.text;
    return texts.join('\n');
}

QStringList prefixed(const QString& what, const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out << what + ": " + line;
    return out;
}

QStringList dialog_faults(QDialog* dialog)
{
    QStringList faults = cut_texts(dialog);
    if (dialog->width() > kScreen.width() || dialog->height() > kScreen.height()) {
        faults << QString("%1 px by %2 px, larger than the screen").arg(dialog->width()).arg(dialog->height());
        // Which of its rows asks for the width.
        for (int i = 0; dialog->layout() && i < dialog->layout()->count(); ++i)
            if (dialog->layout()->itemAt(i)->minimumSize().width() > kScreen.width() - 40)
                faults << QString("row %1 needs %2 px").arg(i).arg(dialog->layout()->itemAt(i)->minimumSize().width());
    }
    return faults;
}

// The cut texts of the dialog `open` shows (answered with Cancel); a command that shows none fails.
QStringList faults_of_command(const QString& what, const std::function<void()>& open)
{
    QStringList faults;
    bool shown = false;
    QPointer<QTimer> poll = answer_next_dialog([&](QDialog* dialog) {
        shown = true;
        faults = dialog_faults(dialog);
        dialog->reject();
    });
    open();
    delete poll.data();
    if (!shown)
        faults << "no dialog shown";
    return prefixed(what, faults);
}

// The cut texts of a dialog of our own shown on its own.
QStringList faults_of_shown(const QString& what, QDialog* dialog)
{
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog))
        return {what + ": not shown"};
    const QStringList faults = prefixed(what, dialog_faults(dialog));
    dialog->close();
    return faults;
}

QStringList observation_dialogs(TableWindow& t)
{
    MainWindow& w = *t.w;
    t.fill_sample_job("ROAD2");
    w.tableWidget->setCurrentCell(3, 0); // as a click on the row does
    t.dir.write("points.txt", "A;1;2;3\nB;4;5;6\n");
    QStringList faults;
    const struct {
        const char* what;
        Command command;
    } commands[] = {
        {"port settings", Command::PortSettings},  {"new point", Command::NewPoint},
        {"edit point", Command::EditPoint},        {"coordinate system", Command::CoordinateSystem},
        {"code list", Command::CodeList},          {"duplicates", Command::ResolveDuplicates},
        {"check", Command::CheckMeasuredData},     {"recompute", Command::RecomputeMeasuredData},
        {"report options", Command::ExportReport}, {"workbook name", Command::Export},
    };
    for (const auto& c : commands)
        faults << faults_of_command(c.what, [&] { w.run_command(c.command); });
    faults << faults_of_command("import", [&] { w.import_file(t.dir.file("points.txt")); });
    return faults;
}

QStringList kt90_dialogs(MainWindow& w)
{
    QStringList faults;
    for (int layout : {0, 1}) {
        ComFileDownSettingDialog dialog(&w);
        dialog.Comfiletype = layout;
        dialog.FileName_list = QStringList{"JOB1"};
        dialog.DataType_list = QStringList{"NEZ"};
        dialog.iniparameterselectdlg_ini(w.get_parametretitle("FileDownDlg"));
        faults << faults_of_shown(layout == 0 ? "download settings" : "upload settings", &dialog);
    }
    faults << faults_of_command("port settings", [&] { w.run_command(Command::PortSettings); });
    return faults;
}

QStringList selection_dialog(MainWindow& w)
{
    IniParameterSelectDialog dialog;
    dialog.InstrumentType_list = w.get_parametretitle("InstrumentType");
    dialog.CoordinateFormat_list = w.get_parametretitle("CoordinateFormat");
    dialog.iniparameterselectdlg_ini(w.get_parametretitle("SYSSelectDlg"));
    return faults_of_shown("instrument choice", &dialog);
}

// A copy of the English section as section `tag`, right to left when asked, without `dropped` keys.
void add_section(WorkDir& dir, const QString& tag, bool right_to_left, const QStringList& dropped = {})
{
    const QString texts = QString::fromUtf8(dir.read("config/parameter.xml"));
    const int from = texts.indexOf("  <English>"), to = texts.indexOf("  </English>") + 13;
    QString section = texts.mid(from, to - from).replace("English>", tag + ">");
    if (right_to_left)
        section.replace("<item Data=\"LeftToRight\"/>", "<item Data=\"RightToLeft\"/>");
    for (const QString& key : dropped) {
        const int start = section.indexOf("    <" + key + ">");
        const QString end = "</" + key + ">\n";
        section.remove(start, section.indexOf(end, start) + end.size() - start);
    }
    dir.write("config/parameter.xml", (texts.left(to) + section + texts.mid(to)).toUtf8());
}

QAction* language_item(MainWindow& w, const QString& name)
{
    QAction* language = w.menu_item("Language");
    if (!language || !language->menu())
        return nullptr;
    for (QAction* action : language->menu()->actions()) {
        if (action->text() == name)
            return action;
    }
    return nullptr;
}

} // namespace

class TestLanguageWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }
    void cleanup() { QApplication::setLayoutDirection(Qt::LeftToRight); }

    void nothing_cut_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("type");
        for (const LanguageSection& section : language_sections(KT_SOURCE_DIR "/dist/config/parameter.xml"))
            for (const char* type : {"KT20_KT40", "KT90"})
                QTest::newRow(qPrintable(section.tag + " " + type)) << section.tag << QString(type);
    }

    // The window at 1024x768, its menus and each dialog: every text fits its room.
    void nothing_cut()
    {
        QFETCH(QString, language);
        QFETCH(QString, type);
        TableWindow t(type, [&](WorkDir& dir) { dir.set_language(language); });
        MainWindow& w = *t.w;
        QVERIFY(w.exe_success_flag);
        QCOMPARE(w.language, language);
        QVERIFY2(modal_script::shown().isEmpty(), qPrintable(shown_texts())); // a complete section is told nothing
        w.resize(kScreen);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList faults = prefixed("window", cut_texts(&w)) + cut_menus(w.menuBar(), kScreen.width());
        faults << selection_dialog(w);
        faults << (type == "KT90" ? kt90_dialogs(w) : observation_dialogs(t));
        QVERIFY2(faults.isEmpty(), qPrintable(language + ":\n" + faults.join('\n')));
    }

    // Language lists the sections by their own names, the current one checked; choosing one stores it.
    void language_menu_stores_the_next_start()
    {
        TableWindow t("KT90");
        MainWindow& w = *t.w;
        QAction* english = language_item(w, "English");
        QAction* chinese = language_item(w, "中文");
        QVERIFY(english && chinese);
        QVERIFY(english->isChecked() && !chinese->isChecked());
        chinese->trigger();
        QCOMPARE(w.language, QString("English")); // this run keeps its language
        QCOMPARE(modal_script::shown().size(), 1);
        QVERIFY(modal_script::shown().first().text.contains("中文"));
        xml_analysis xml;
        QCOMPARE(xml.get_config(w.settings_file(), "language"), QString("Chinese"));
        auto next = start_window("KT90");
        QCOMPARE(next->language, QString("Chinese"));
        QVERIFY(language_item(*next, "中文")->isChecked());
    }

    void fallbacks_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QStringList>("dropped"); // keys the section "Partial" lacks
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("told");   // in a message
        QTest::addColumn<QString>("status"); // in the status line
        QTest::newRow("no such section") << "Klingon" << QStringList() << "English"
                                         << "\"Klingon\", which the UI-text file" << QString();
        QTest::newRow("incomplete section") << "Partial" << QStringList{"AboutDlg", "LineworkMsg"} << "Partial"
                                            << "lacks 2 keys"
                                            << "The English texts are incomplete: 2 of them are shown in English.";
    }

    void fallbacks()
    {
        QFETCH(QString, configured);
        QFETCH(QStringList, dropped);
        QFETCH(QString, language);
        QFETCH(QString, told);
        QFETCH(QString, status);
        TableWindow t("KT20_KT40", [&](WorkDir& dir) {
            add_section(dir, "Partial", false, dropped);
            dir.set_language(configured);
        });
        MainWindow& w = *t.w;
        QVERIFY(w.exe_success_flag);
        QCOMPARE(w.language, language);
        QVERIFY2(shown_texts().contains(told), qPrintable(shown_texts()));
        if (!status.isEmpty())
            QCOMPARE(w.ui->label_4->text(), status);
        for (const QString& key : dropped)
            QVERIFY(!w.get_parametretitle(key).value(0).isEmpty()); // never an empty caption
    }

    // Right to left: the window, its menus and table; placeholders filled as left-to-right runs; the plan
    // north up with east to the right.
    void right_to_left()
    {
        TableWindow t("KT40", [](WorkDir& dir) {
            add_section(dir, "Arabic", true);
            dir.set_language("Arabic");
        });
        MainWindow& w = *t.w;
        QVERIFY(w.exe_success_flag);
        QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
        QCOMPARE(w.layoutDirection(), Qt::RightToLeft);
        QCOMPARE(w.tableWidget->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(w.menuBar()->actions().first()->menu()->layoutDirection(), Qt::RightToLeft);
        QVERIFY(w.getpopup_prompt(0).contains(QString("\u2066%1\u2069")));

        w.resize(kScreen);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The table's first column stands at its right.
        QVERIFY(w.tableWidget->columnViewportPosition(0) > w.tableWidget->columnViewportPosition(1));
        // Name, code, N, E, Z: W and E on one northing, X north of them and nearer W.
        t.add_row({"W", "", "100", "100", "0"});
        t.add_row({"E", "", "100", "200", "0"});
        t.add_row({"X", "", "150", "120", "0"});
        PlanView& plan = *w.plan_view;
        plan.fit_to_points();
        const QImage image = plan.grab().toImage();
        const auto screen = [&](double east, double north) {
            return plan.view_transform().to_screen(QPointF(east, north)).toPoint();
        };
        const QPoint west = screen(100, 100), east = screen(200, 100), x = screen(120, 150);
        QVERIFY(east.x() > west.x());
        QVERIFY(x.y() < west.y());
        for (const QPoint& at : {west, east, x})
            QCOMPARE(image.pixelColor(at), kPointColour);
        // Nothing drawn where a mirrored plan would put X.
        QVERIFY(image.pixelColor(QPoint(image.width() - 1 - x.x(), x.y())) != kPointColour);
    }
};

KT_TEST_MAIN(TestLanguageWindows)
#include "tst_languagewindows.moc"
