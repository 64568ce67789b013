// Temporary runtime folders for window and file tests.
#include "support/core/workdir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace
{

void copy_tree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

} // namespace

WorkDir::WorkDir(bool with_runtime) : previous_(QDir::currentPath())
{
    if (with_runtime) {
        copy_tree(QString(KT_SOURCE_DIR) + "/dist/config", dir_.path() + "/config");
        copy_tree(QString(KT_SOURCE_DIR) + "/dist/icon", dir_.path() + "/icon");
    }
    QDir::setCurrent(dir_.path());
    // The program's data folder (recovery journal, communication logs) lives in the folder too, so no
    // test sees what another left behind.
    previous_data_home_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
}

WorkDir::~WorkDir()
{
    QDir::setCurrent(previous_);
    if (previous_data_home_.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", previous_data_home_);
}

QString WorkDir::path() const
{
    return dir_.path();
}

QString WorkDir::file(const QString& relative) const
{
    return dir_.path() + "/" + relative;
}

void WorkDir::write(const QString& relative, const QByteArray& content) const
{
    QDir().mkpath(QFileInfo(file(relative)).path());
    QFile f(file(relative));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        QTest::qFail(qPrintable("cannot write " + relative), __FILE__, __LINE__);
    f.write(content);
}

QByteArray WorkDir::read(const QString& relative) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void WorkDir::replace(const QString& relative, const QString& from, const QString& to) const
{
    QString text = QString::fromUtf8(read(relative));
    if (!text.contains(from))
        QTest::qFail(qPrintable(QString("%1 holds no %2").arg(relative, from)), __FILE__, __LINE__);
    text.replace(from, to);
    write(relative, text.toUtf8());
}

void WorkDir::set_language(const QString& language) const
{
    write("config/config.xml",
          QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n  <language>%1</language>\n</CONFIG>\n")
              .arg(language)
              .toUtf8());
}
