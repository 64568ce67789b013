// The monkey: the real window of one instrument type against the real ktsim program on a pty, driven by
// a seeded random sequence of actions (commands, answers to whatever is asked, plan keys, rows selected
// and edited, ktsim offering its data or sending noise, ktsim killed and started again), with the
// window's invariants checked after every action. A failure tells the seed and the last 50 actions.
#ifndef MONKEY_H
#define MONKEY_H

#include "support/core/simprocess.h"
#include "support/core/workdir.h"
#include "window/mainwindow.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMap>
#include <QRandomGenerator>
#include <QStringList>
#include <functional>
#include <memory>

class QDialog;

struct MonkeyRun {
    QString type;     // the window's instrument type
    QStringList data; // ktsim's data arguments, "@" standing for the samples folder
    quint64 seed = 0;
    int stream = 0; // the type's own sequence drawn from the seed
    int seconds = 0;
};

class Monkey
{
public:
    explicit Monkey(const MonkeyRun& run);
    ~Monkey();
    // Runs the actions until the time is up; false with `report` set (seed, what failed, the last 50
    // actions) when an invariant broke. `steps` tells how many actions ran.
    bool run(QString* report, int* steps);

    // ---- used by the action table (monkeyactions.cpp) and the checks (monkeychecks.cpp) ----
    struct Action {
        const char* name;
        int weight;
        // Whether the action can be drawn now; null: always.
        bool (*possible)(Monkey&);
        // Does it; returns the text of what it did, for the history.
        QString (*act)(Monkey&);
    };
    static const QList<Action>& actions();

    int pick(int bound) { return bound <= 0 ? 0 : int(random_.bounded(bound)); }
    bool chance(int percent) { return pick(100) < percent; }
    QString random_text();
    QString file_name(const QString& kind);
    QString answer_dialog(QDialog* dialog);
    QDialog* modal_dialog() const;
    void restart_sim();
    bool kt90() const { return run_.type == "KT90"; }
    qint64 elapsed() const { return clock_.elapsed(); }
    qint64 quiet_until = 0; // "wait": no action before this time

    // Invariants: a non-empty text says what broke.
    QString check();
    QString check_saved_files();
    QStringList table_lines_now() const; // the lines a raw text file of the table holds
    QString check_outside();
    QStringList tree_files() const;

    MonkeyRun run_;
    std::unique_ptr<WorkDir> dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<MainWindow> w;
    QString files; // where the monkey's file names point
    QString pc;    // the KT90 PC folder
    QStringList sim_args;
    QElapsedTimer sim_dead;                   // running while ktsim is killed and the port is still open
    QMap<QString, QStringList> pending_saves; // file -> the table's lines when its name was given
    QMap<QString, QStringList> saved;         // file -> the lines the table held when it was written
    QStringList known_files;                  // the temp tree as last seen
    QMap<QString, QStringList> outside;       // folders outside the temp tree -> their entries at the start

private:
    void step();
    void fail(const QString& what);
    QString history_text() const;

    QRandomGenerator random_;
    QStringList history_;
    int steps_ = 0;
    int depth_ = 0;
    bool failed_ = false;
    QString failure_;
    QElapsedTimer clock_;
    bool over_ = false;
};

#endif // MONKEY_H
