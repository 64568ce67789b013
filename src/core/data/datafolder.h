// The user's data folder of the program, where the recovery journal and the communication logs live.
#ifndef DATAFOLDER_H
#define DATAFOLDER_H

#include <QString>

// The writable application data folder (it is not created here).
QString app_data_folder();
// Its sub-folder for the communication logs.
QString comm_log_folder();

#endif // DATAFOLDER_H
