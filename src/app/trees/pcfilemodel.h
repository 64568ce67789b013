// The PC tree's file-system model, with its sizes, dates and folder kinds in the program's language
// (the default locale and the installed translations) rather than the system's: the base model formats
// dates with the system locale and names folders and drives in the thread that reads them, which may
// run before the program's translations are installed.
#ifndef PCFILEMODEL_H
#define PCFILEMODEL_H

#include <QFileSystemModel>

class PcFileModel : public QFileSystemModel
{
public:
    explicit PcFileModel(QObject* parent = nullptr) : QFileSystemModel(parent) {}

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The kinds of folders and drives in the program's texts (Qt's own translations lack them in some
    // versions); empty: the icon provider's.
    void set_kind_texts(const QString& folder, const QString& drive);

private:
    QString folder_kind_;
    QString drive_kind_;
};

#endif // PCFILEMODEL_H
