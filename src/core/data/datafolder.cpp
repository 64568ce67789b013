// The user's data folder, from the platform's standard locations.
#include "data/datafolder.h"

#include <QStandardPaths>

QString app_data_folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString comm_log_folder()
{
    return app_data_folder() + "/logs";
}
