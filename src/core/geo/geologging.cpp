// The logging category of the geo library.
#include "geo/geologging.h"

Q_LOGGING_CATEGORY(lcGeo, "ktlink.geo")
