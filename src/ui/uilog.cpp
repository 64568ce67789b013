// The logging category of the UI layer.
#include "uilog.h"

Q_LOGGING_CATEGORY(lcUi, "ktlink.ui")
