// The logging category of the Core layer.
#include "corelog.h"

Q_LOGGING_CATEGORY(lcCore, "ktlink.core")
