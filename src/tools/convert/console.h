// What ktconvert's commands share: the options of the command line, and telling the user on the
// console in its encoding.
#ifndef KTCONVERT_CONSOLE_H
#define KTCONVERT_CONSOLE_H

#include "data/convertfile.h"
#include "data/filefindings.h"
#include "survey/recompute.h"
#include "survey/surveycheck.h"

#include <QString>
#include <cstdio>

struct Options {
    enum Mode { Convert, Check, Reduce };
    Mode mode = Convert;
    bool curvature = false;
    survey::Tolerance tolerance;
    survey::HeightChanges heights;
    bool gb18030 = false;
    bool linework = false;
    bool decimal_comma = false; // INPUT is delimited text with decimal commas
    bool spreadsheet = false;   // OUTPUT is the CSV for spreadsheets
    QString duplicates;         // first, last, average or rename; empty: points as they are
    bool tolerance_given = false;
    QString crs;
    QString columns;
    QString input;
    QString output;
};

// A line to standard output or error in the console's encoding.
void say(std::FILE* stream, const QString& text);
// Findings about `file`: "ktconvert: FILE read as UTF-8", "ktconvert: FILE: 2 bytes ...".
void tell_findings(const QString& file, const QList<FileFindingText>& findings);
// Why OUTPUT was not written, with what a failed write left there.
QString write_failure(const QString& output, bool existed, const LayerReport& layer, const QString& message);
// The failures of reading INPUT that leave nothing to write; false when the read gave points.
bool tell_read_failure(const QString& input, const QString& output, const PointFileConversion& result);

// The commands beside the plain conversion (convert/surveycommands.cpp, convert/lineworkcommand.cpp):
// each returns the exit status; convert_survey -1 when INPUT holds no survey data.
int check_survey(const Options& options);
int reduce_survey(const Options& options);
int convert_survey(const Options& options);
int convert_with_linework(const Options& options, bool existed);
// convert/duplicatescommand.cpp: the choice's place in first, last, average, rename (-1: none of them);
// resolves the points of `lines` that share a name, naming the groups left beyond the tolerance, and
// returns how many were left.
int duplicate_choice(const QString& text);
int resolve_duplicate_lines(const Options& options, QStringList* lines);

#endif // KTCONVERT_CONSOLE_H
