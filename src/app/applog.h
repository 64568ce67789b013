// The logging category of the App layer ("ktlink.app"): its diagnostics go through qCDebug(lcApp) and the like,
// so they can be filtered by layer (QT_LOGGING_RULES="ktlink.app.debug=false").
#ifndef APPLOG_H
#define APPLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

#endif // APPLOG_H
