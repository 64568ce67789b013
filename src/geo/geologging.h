// The logging category of the geo library.
#ifndef GEO_GEOLOGGING_H
#define GEO_GEOLOGGING_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcGeo)

#endif // GEO_GEOLOGGING_H
