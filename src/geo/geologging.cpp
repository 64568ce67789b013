// The logging category of the geo library.
#include "geologging.h"

Q_LOGGING_CATEGORY(lcGeo, "ktlink.geo")
