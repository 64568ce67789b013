// Pushing a file's written bytes from the system's cache to the disk, so they outlive a power cut and
// not only the end of the process. The one platform-specific file of the program's own code.
#ifndef FILESYNC_H
#define FILESYNC_H

#include <QString>

class QFileDevice;

// Flushes `file` (open for writing) and asks the system to write it to the disk; false with `error`
// set when either fails.
bool sync_to_disk(QFileDevice& file, QString* error);

#endif // FILESYNC_H
