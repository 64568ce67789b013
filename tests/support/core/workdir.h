// A temporary working directory holding copies of the program's runtime files, made current while
// the object lives, so the program finds config/ and icon/ there as it would beside the executable;
// its sub-folder data/ is the user's data folder (XDG_DATA_HOME) meanwhile.
#ifndef WORKDIR_H
#define WORKDIR_H

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class WorkDir
{
public:
    // `with_runtime` false makes an empty folder (no config, no icons).
    explicit WorkDir(bool with_runtime = true);
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    QString path() const;
    QString file(const QString& relative) const;
    void write(const QString& relative, const QByteArray& content) const;
    QByteArray read(const QString& relative) const;
    // Replaces every occurrence of `from` in a file (fails the test when it is not there).
    void replace(const QString& relative, const QString& from, const QString& to) const;
    void set_language(const QString& language) const;

private:
    QTemporaryDir dir_;
    QString previous_;
    QByteArray previous_data_home_;
};

#endif // WORKDIR_H
