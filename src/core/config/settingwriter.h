// Storing one setting of a configuration file while keeping every other setting and comment.
#ifndef SETTINGWRITER_H
#define SETTINGWRITER_H

#include <QString>

// Sets the element `key` under CONFIG of the file `file_name` to `value` (adding it when absent; a
// missing file is made). The file is replaced whole or not at all; one that cannot be read as a
// settings file is never replaced. False with `error` set on failure.
bool replace_setting(const QString& file_name, const QString& key, const QString& value, QString* error);

#endif // SETTINGWRITER_H
