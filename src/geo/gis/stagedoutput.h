// Files written under their final names in a temporary folder beside the target and moved into place
// together at the end, replacing the old file and its companions (a shapefile's .shx, .dbf, .prj,
// ...; a GeoPackage's journal) all or none. Until then, and after a failure, the target is as it was.
// A target that is a link to a regular file replaces that file and keeps the link; one that is (or
// links to) a device or a pipe gets the finished file's bytes written straight through.
#ifndef GEO_STAGEDOUTPUT_H
#define GEO_STAGEDOUTPUT_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class StagedOutput
{
public:
    // `companions`: file names beside the target that belong to it ("points.dbf"); an old one with
    // no new counterpart is removed when the new files go into place.
    StagedOutput(const QString& target, const QStringList& companions);

    // False, with error() set, when the temporary folder cannot be made or the target is a folder.
    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    // Where to write the target: the temporary folder and the target's file name.
    QString path() const;

    // Moves every file of the temporary folder into the target's folder. False, with error() set and
    // the old files back in place, when any move fails.
    bool commit();

private:
    bool move_back(const QStringList& names, const QString& from, const QString& to);

    bool write_through();

    QString target_;
    bool through_ = false; // data/replacefile.h
    QString folder_;
    QString name_;
    QStringList companions_;
    std::unique_ptr<QTemporaryDir> staging_; // removed with whatever is left in it
    QString error_;
};

#endif // GEO_STAGEDOUTPUT_H
