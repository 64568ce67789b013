// The shared set-up of the fuzz targets: the application, the working folder, the chunks.
#include "harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

void copy_tree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

} // namespace

QString fuzz_environment()
{
    static QString folder;
    if (!folder.isEmpty())
        return folder;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // On a memory file system where there is one: every input is written to a file and read back.
    static QTemporaryDir* dir = new QTemporaryDir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/ktfuzz-XXXXXX")
                                                                            : QDir::tempPath() + "/ktfuzz-XXXXXX");
    // The program's data folder (the windows' recovery journals and their locks) is this run's own, not
    // the user's, which all fuzz programs would share: a journal another run left there is offered and
    // read at the start of the next.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir->path() + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir->path() + "/settings"));
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
    folder = dir->path();
    copy_tree(QString(KT_SOURCE_DIR) + "/dist/config", folder + "/config");
    copy_tree(QString(KT_SOURCE_DIR) + "/dist/icon", folder + "/icon");
    QDir::setCurrent(folder);
    return folder;
}

QList<QByteArray> fuzz_chunks(const uint8_t* data, size_t size)
{
    QList<QByteArray> chunks;
    size_t pos = 0;
    while (pos < size) {
        const size_t length = 1 + data[pos] % 64;
        ++pos;
        const size_t take = std::min(length, size - pos);
        if (take == 0)
            break;
        chunks.append(QByteArray(reinterpret_cast<const char*>(data + pos), int(take)));
        pos += take;
    }
    return chunks;
}

void fuzz_write_file(const QString& relative, const QByteArray& bytes)
{
    QFile file(fuzz_environment() + "/" + relative);
    QDir().mkpath(QFileInfo(file).path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
