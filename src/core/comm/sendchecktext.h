// The question a send check asks, in the words of the UI-text list "SendCheckDlg": what would arrive
// otherwise than shown, kind by kind, the first few rows of each and the count of the rest.
#ifndef SENDCHECKTEXT_H
#define SENDCHECKTEXT_H

#include "comm/sendcheck.h"

#include <QString>
#include <QStringList>

namespace sendcheck
{

// Entries of "SendCheckDlg" the window reads itself.
enum Text : int {
    Title = 0,
    SendAsShown = 3,
    Cancel = 4,
    SendFirst = 5, // %1 rows
};

// The question's text for `report`; `upload` words it for a KT90 job rather than table rows.
QString question_text(const Report& report, const QStringList& texts, bool upload, int items_per_kind = 5);

} // namespace sendcheck

#endif // SENDCHECKTEXT_H
