// Choosing the form of a counted sentence.
#include "config/countedtext.h"

QString counted_text(const QStringList& texts, int index, qint64 count)
{
    const QString form = count != 1 && index + 1 < texts.size() ? texts[index + 1] : texts.value(index);
    return form.contains(QLatin1String("%1")) ? form.arg(count) : form;
}
