// What reading or writing a point file met that the user is told: a refusal, or a count of what was
// changed or left out, each as a kind (data/findingkind.h) and its values. The window words them from
// its UI texts (the list "FileFindingMsg", at the place each kind names), ktconvert in English; the
// choice of what is worth telling is made here once.
#ifndef FILEFINDINGS_H
#define FILEFINDINGS_H

#include "data/fileoperation.h"
#include "data/findingkind.h"

#include <QList>
#include <QStringList>

struct FileFindingText {
    FileFinding kind;
    QStringList values;
};

// Why a read failed: a line too long, what a layer reader refused, else CannotOpen with `error` (the
// system's words).
FileFindingText read_refusal(const FileOperation::ReadReport& read, const LayerReport& layer, const QString& error);
// What a read met: the encoding when neither ASCII nor GBK, undecodable bytes, commas replaced, lines
// skipped, and what a layer reader met.
QList<FileFindingText> read_findings(const FileOperation::ReadReport& read, const LayerReport& layer);
// Why a layer write failed (`report.failed()`), and what a layer write met.
FileFindingText layer_refusal(const LayerReport& report);
QList<FileFindingText> write_findings(const LayerReport& report);

// The command-line tools' words for a finding.
QString finding_in_english(const FileFindingText& finding);
// A finding worded from `texts`, the UI-text list "FileFindingMsg".
QString finding_in_texts(const QStringList& texts, const FileFindingText& finding);
// `pattern` with %1, %2, ... filled by the finding's values in one pass (a value holding "%1" stays).
QString fill_finding(const QString& pattern, const FileFindingText& finding);

#endif // FILEFINDINGS_H
