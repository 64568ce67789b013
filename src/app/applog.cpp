// The logging category of the App layer.
#include "applog.h"

Q_LOGGING_CATEGORY(lcApp, "ktlink.app")
