// The PC tree's columns in the program's language.
#include "trees/pcfilemodel.h"

#include <QDateTime>
#include <QLocale>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QAbstractFileIconProvider>
#else
#include <QFileIconProvider>
#endif

namespace
{

enum Column { NameColumn, SizeColumn, KindColumn, DateColumn };

} // namespace

QVariant PcFileModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QFileSystemModel::data(index, role);
    switch (index.column()) {
    case SizeColumn:
        if (!isDir(index))
            return QLocale().formattedDataSize(size(index));
        break;
    case KindColumn:
        if (isDir(index)) {
            const bool drive = fileInfo(index).isRoot();
            const QString& own = drive ? drive_kind_ : folder_kind_;
            if (!own.isEmpty())
                return own;
            // Else by the icon provider now, in the translations installed by now.
            if (iconProvider())
                return iconProvider()->type(fileInfo(index));
        }
        break;
    case DateColumn:
        return QLocale().toString(lastModified(index), QLocale::ShortFormat);
    default:
        break;
    }
    return QFileSystemModel::data(index, role);
}

void PcFileModel::set_kind_texts(const QString& folder, const QString& drive)
{
    folder_kind_ = folder;
    drive_kind_ = drive;
}
