// The monkey's engine: setting up the window and ktsim in temporary folders, drawing actions, answering
// what is asked, the hang watchdog and the report of a failure.
#include "support/app/monkey.h"

#include "modal/modal.h"
#include "support/app/windowdriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMutex>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace
{

// The event loop must answer within this time; the sanitizers make everything a few times slower.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kHangMs = 3000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kHangMs = 3000;
#else
constexpr int kHangMs = 1000;
#endif
#else
constexpr int kHangMs = 1000;
#endif
constexpr int kHistory = 50;
constexpr int kDeepest = 4; // nested event loops the monkey starts commands in

qint64 now_ms()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// What a crash or a hang prints: kept ready as text, for the watchdog thread and the signal handler.
QMutex report_lock;
std::string last_report;
std::atomic<qint64> heartbeat{0};
std::atomic<bool> watching{false};

void print_report(const char* why)
{
    std::fprintf(stderr, "MONKEY %s\n", why);
    if (report_lock.tryLock(100)) {
        std::fputs(last_report.c_str(), stderr);
        report_lock.unlock();
    }
    std::fflush(stderr);
}

extern "C" void on_fatal_signal(int signal)
{
    print_report(signal == SIGSEGV ? "crashed (SIGSEGV)" : "aborted");
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void watchdog()
{
    while (watching) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const qint64 beat = heartbeat;
        if (watching && beat > 0 && now_ms() - beat > kHangMs) {
            print_report(qPrintable(QString("hang: the event loop did not answer for %1 ms").arg(now_ms() - beat)));
            std::abort();
        }
    }
}

const char* const kSaveSuffixes[] = {"csv", "txt",     "ndad", "gdat", "dat", "dxf",
                                     "xml", "geojson", "xlsx", "pts",  "CSV"};

} // namespace

namespace
{
QRandomGenerator generator(const MonkeyRun& run)
{
    const std::array<quint32, 3> words{quint32(run.seed), quint32(run.seed >> 32), quint32(run.stream)};
    return QRandomGenerator(words.data(), words.data() + words.size());
}
} // namespace

Monkey::Monkey(const MonkeyRun& run) : run_(run), random_(generator(run))
{
    dir = std::make_unique<WorkDir>();
    dir->set_language("English");
    // The user's folders are temporary too: nothing the program writes may land outside.
    const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
    for (const QString& sub : {QString(), QString("/.config"), QString("/.local/share"), QString("/.cache")})
        outside[home + sub] = QDir(home + sub).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        qputenv(folder, dir->file(QString("home/") + folder).toLocal8Bit());
        QDir().mkpath(dir->file(QString("home/") + folder));
    }
    for (const QString& folder : {QString(KT_RUN_DIR), QString(KT_RUN_DIR) + "/config",
                                  QCoreApplication::applicationDirPath(), QString(KT_SOURCE_DIR) + "/samples"})
        outside[folder] = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    files = dir->file("files");
    pc = dir->file("pc");
    const QString samples = QString(KT_SOURCE_DIR) + "/samples";
    QDir().mkpath(files);
    QDir().mkpath(pc);
    QDir().mkpath(dir->file("sim"));
    QFile::copy(samples + "/points.gdat", files + "/points.gdat");
    QFile::copy(samples + "/ROAD1.obs", files + "/ROAD1.obs");
    QFile::copy(samples + "/points.gdat", pc + "/up.gdat");
    sim_args = QStringList{"--type", run.type};
    for (const QString& arg : run.data) {
        if (arg == "@jobs") {
            // A copy of the sample jobs: uploads change it.
            const QDir from(samples + "/kt90-jobs");
            QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString source = it.next();
                const QString target = dir->file("sim/jobs/" + from.relativeFilePath(source));
                QDir().mkpath(QFileInfo(target).path());
                QFile::copy(source, target);
            }
            sim_args << dir->file("sim/jobs");
        } else {
            sim_args << QString(arg).replace("@", samples + "/");
        }
    }
    if (!kt90())
        sim_args << "--out" << dir->file("sim/out.csv");
    sim = std::make_unique<SimProcess>(sim_args);
    qputenv("KTLINK_EXTRA_PORTS", sim->port().toLocal8Bit());
    w = start_window(run.type);
    w->portname = sim->port();
    w->show();
    // A bare name typed into a name box (Export's workbook name) lands in the folder last used, at first
    // the program folder, or in the current folder: both are the monkey's files folder, as for a user who
    // worked there before (the window has found its runtime folder already; WorkDir restores the current one).
    w->last_folder = files;
    QDir::setCurrent(files);
    known_files = tree_files();

    modal_script::clear();
    modal_script::set_answerer([this](const modal_script::Shown& asked, QString* file) {
        if (file) {
            // A report is a PDF, not a table file: it is not read back as the table.
            const bool report = asked.filter.contains("*.pdf");
            *file = chance(10) ? QString() : report ? files + QString("/r%1.pdf").arg(steps_) : file_name(asked.kind);
            history_ << QString("    %1 dialog answered \"%2\"").arg(asked.kind, *file);
            return 0;
        }
        const int index = pick(asked.buttons.size() + 1) - 1; // -1: closed
        history_ << QString("    %1 \"%2\" answered %3")
                        .arg(asked.kind, asked.text.left(60).simplified(),
                             index < 0 ? QString("by closing") : asked.buttons[index]);
        return index;
    });
}

Monkey::~Monkey()
{
    modal_script::set_answerer({});
    // The dialogs a failure left open are closed before the window goes.
    while (QDialog* dialog = modal_dialog())
        dialog->reject();
    w.reset();
    sim.reset();
    qunsetenv("KTLINK_EXTRA_PORTS");
}

QDialog* Monkey::modal_dialog() const
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

void Monkey::restart_sim()
{
    // Starting a process may block for a while on a loaded machine: the monkey's own wait is no hang.
    heartbeat = 0;
    sim = std::make_unique<SimProcess>(sim_args);
    heartbeat = now_ms();
    qputenv("KTLINK_EXTRA_PORTS", sim->port().toLocal8Bit());
    sim_dead.invalidate();
}

QString Monkey::random_text()
{
    switch (pick(9)) {
    case 0:
        return QString();
    case 1:
        return QString("P%1").arg(pick(100000));
    case 2:
        return QString::fromUtf8("控制点%1").arg(pick(100));
    case 3:
        return QString::number(pick(2000000) / 1000.0 - 1000, 'f', 3);
    case 4:
        return QString("a,b;c\td \"q\"");
    case 5:
        return QString(pick(300) + 1, QChar('W'));
    case 6:
        return QString("  %1 ").arg(pick(10));
    case 7:
        return QString::fromUtf8("\xF0\x9F\x98\x80 x"); // beyond GBK
    default:
        return files + "/t" + QString::number(pick(1000)) + ".csv";
    }
}

QString Monkey::file_name(const QString& kind)
{
    if (kind == "open") {
        QStringList candidates = QDir(files).entryList(QDir::Files);
        for (QString& name : candidates)
            name = files + "/" + name;
        candidates << files + "/missing.csv";
        return candidates[pick(candidates.size())];
    }
    const int count = int(sizeof kSaveSuffixes / sizeof kSaveSuffixes[0]);
    const QString path = QString("%1/s%2_%3.%4").arg(files).arg(steps_).arg(pick(1000)).arg(kSaveSuffixes[pick(count)]);
    if (kind == "save")
        pending_saves[path] = table_lines_now();
    return path;
}

QString Monkey::answer_dialog(QDialog* dialog)
{
    QStringList done;
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
        if (edit->isVisible() && edit->isEnabled() && !edit->isReadOnly() && chance(50)) {
            edit->setText(random_text());
            done << "typed \"" + edit->text().left(40) + "\"";
        }
    }
    for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
        if (box->isVisible() && box->isEnabled() && box->count() > 0 && chance(30)) {
            box->setCurrentIndex(pick(box->count()));
            done << "chose \"" + box->currentText() + "\"";
        }
    }
    for (QSpinBox* spin : dialog->findChildren<QSpinBox*>()) {
        if (spin->isVisible() && spin->isEnabled() && chance(30))
            spin->setValue(spin->minimum() + pick(spin->maximum() - spin->minimum() + 1));
    }
    for (QCheckBox* check : dialog->findChildren<QCheckBox*>()) {
        if (check->isVisible() && check->isEnabled() && chance(20))
            check->click();
    }
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isVisible() && button->isEnabled())
            buttons << button;
    }
    const QString name = dialog->metaObject()->className();
    if (buttons.isEmpty() || chance(15)) {
        dialog->reject();
        return name + ": " + (done + QStringList{"closed"}).join(", ");
    }
    QAbstractButton* button = buttons[pick(buttons.size())];
    done << "clicked \"" + button->text() + "\"";
    const QString text = name + ": " + done.join(", ");
    button->click();
    return text;
}

void Monkey::step()
{
    if (failed_ || over_)
        return;
    if (clock_.elapsed() >= qint64(run_.seconds) * 1000 && depth_ == 0) {
        over_ = true;
        return;
    }
    // The next step comes from the event loop, also while this one waits in a dialog or a pause.
    const int delays[] = {0, 5, 10, 20, 50, 150};
    QTimer::singleShot(delays[pick(6)], qApp, [this] { step(); });
    if (clock_.elapsed() < quiet_until)
        return;
    if (depth_ >= kDeepest && !modal_dialog())
        return; // deep enough: only answers, until the loops unwind

    QList<const Action*> open;
    int total = 0;
    for (const Action& action : actions()) {
        if (action.possible && !action.possible(*this))
            continue;
        if (depth_ >= kDeepest && QByteArray(action.name) != "answer the dialog")
            continue;
        open << &action;
        total += action.weight;
    }
    int draw = pick(total);
    const Action* chosen = open.first();
    for (const Action* action : open) {
        if (draw < action->weight) {
            chosen = action;
            break;
        }
        draw -= action->weight;
    }
    ++steps_;
    ++depth_;
    history_ << QString("%1%2. %3").arg(QString(2 * (depth_ - 1), ' ')).arg(steps_).arg(chosen->name);
    {
        QMutexLocker lock(&report_lock);
        last_report = history_text().toStdString();
    }
    const QString what = chosen->act(*this);
    if (!what.isEmpty())
        history_ << QString("%1   %2").arg(QString(2 * (depth_ - 1), ' '), what);
    --depth_;
    while (history_.size() > 3 * kHistory)
        history_.removeFirst();
    const QString broken = check();
    if (!broken.isEmpty())
        fail(broken);
}

void Monkey::fail(const QString& what)
{
    if (failed_)
        return;
    failed_ = true;
    failure_ = what;
}

QString Monkey::history_text() const
{
    QStringList lines{QString("KT_MONKEY_SEED=%1, type %2 (stream %3), step %4; the last actions:")
                          .arg(run_.seed)
                          .arg(run_.type)
                          .arg(run_.stream)
                          .arg(steps_)};
    int numbered = 0;
    int first = history_.size();
    while (first > 0 && numbered < kHistory) {
        --first;
        if (!history_[first].startsWith("    ") && !history_[first].trimmed().isEmpty() &&
            history_[first].trimmed().at(0).isDigit())
            ++numbered;
    }
    lines += history_.mid(first);
    return lines.join('\n') + '\n';
}

bool Monkey::run(QString* report, int* steps)
{
    heartbeat = now_ms();
    watching = true;
    std::thread dog(watchdog);
    std::signal(SIGSEGV, on_fatal_signal);
    std::signal(SIGABRT, on_fatal_signal);
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [] { heartbeat = now_ms(); });
    beat.start(20);

    clock_.start();
    QTimer::singleShot(0, qApp, [this] { step(); });
    QEventLoop loop;
    QTimer end;
    QObject::connect(&end, &QTimer::timeout, &loop, [&] {
        if (failed_ || over_)
            loop.quit();
    });
    end.start(50);
    loop.exec();

    // The end: no dialog left, ktsim ended; the window must notice and the files must be right.
    while (QDialog* dialog = modal_dialog())
        dialog->reject();
    if (!failed_) {
        const QString broken = check_outside();
        if (!broken.isEmpty())
            fail(broken);
    }
    watching = false;
    dog.join();
    std::signal(SIGSEGV, SIG_DFL);
    std::signal(SIGABRT, SIG_DFL);
    *steps = steps_;
    if (qEnvironmentVariableIsSet("KT_MONKEY_VERBOSE"))
        std::fputs(qPrintable(history_text()), stderr);
    if (!failed_)
        return true;
    *report = "MONKEY FAILED: " + failure_ + "\n" + history_text();
    return false;
}
