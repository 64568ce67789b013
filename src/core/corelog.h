// The logging category of the Core layer ("ktlink.core"): its diagnostics go through qCDebug(lcCore) and the like,
// so they can be filtered by layer (QT_LOGGING_RULES="ktlink.core.debug=false").
#ifndef CORELOG_H
#define CORELOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCore)

#endif // CORELOG_H
