// The logging category of the UI layer ("ktlink.ui"): its diagnostics go through qCDebug(lcUi) and the like,
// so they can be filtered by layer (QT_LOGGING_RULES="ktlink.ui.debug=false").
#ifndef UILOG_H
#define UILOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcUi)

#endif // UILOG_H
