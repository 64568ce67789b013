// Counts in UI texts: a text list gives each counted sentence twice, the form for one ("%1 row is")
// and the form for every other count ("%1 rows are"), so English reads right and Chinese gives the
// same text twice.
#ifndef COUNTEDTEXT_H
#define COUNTEDTEXT_H

#include <QStringList>

// texts[index] when `count` is 1, else texts[index + 1], with "%1" filled by the count. When the
// list lacks the second form, the first serves for every count.
QString counted_text(const QStringList& texts, int index, qint64 count);

#endif // COUNTEDTEXT_H
