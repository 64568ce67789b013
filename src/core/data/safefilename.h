// File names that come from the instrument or the user, made safe before they become part of a path.
#ifndef SAFEFILENAME_H
#define SAFEFILENAME_H

#include <QString>

// True when `name` can stand as one file name on Windows and Linux: not empty, no path separator,
// no "..", none of the characters Windows forbids, no control character, no trailing dot or space,
// and not a reserved device name.
bool is_safe_file_name(const QString& name);
// `name` with everything that makes it unsafe removed; `fallback` when nothing usable is left.
QString make_safe_file_name(const QString& name, const QString& fallback);

#endif // SAFEFILENAME_H
