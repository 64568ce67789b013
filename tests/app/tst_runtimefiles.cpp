// Finding the runtime folder among its candidates, the configuration file read and written (the
// user's copy, the shipped file, a read-only install), and the language the window takes from it.
#include "config/runtimefiles.h"
#include "support/app/windowdriver.h"
#include "support/core/mount.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "window/mainwindow.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <unistd.h>

namespace
{

void write_file(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray config_with(const QString& language)
{
    return QString("<CONFIG><language>%1</language></CONFIG>\n").arg(language).toUtf8();
}

QString user_copy()
{
    return user_config_folder() + "/config.xml";
}

} // namespace

class TestRuntimeFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The user's configuration folder of the test mode, never the real user's.
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() { QDir(user_config_folder()).removeRecursively(); }
    void cleanupTestCase() { QDir(user_config_folder()).removeRecursively(); }

    void the_first_candidate_with_the_texts_is_used_data()
    {
        QTest::addColumn<QStringList>("holding"); // what each candidate holds: "texts", "config", "texts dir", ""
        QTest::addColumn<int>("expected");
        QTest::newRow("beside the executable first") << QStringList{"texts", "texts", "texts"} << 0;
        QTest::newRow("then the installed data folder") << QStringList{"", "texts", "texts"} << 1;
        QTest::newRow("then the working directory") << QStringList{"", "", "texts"} << 2;
        QTest::newRow("config/ without the texts is passed over") << QStringList{"config", "texts", ""} << 1;
        QTest::newRow("a folder named parameter.xml is no file") << QStringList{"texts dir", "", "texts"} << 2;
        QTest::newRow("none: the last, where the failure is told") << QStringList{"config", "", ""} << 2;
    }

    void the_first_candidate_with_the_texts_is_used()
    {
        QFETCH(QStringList, holding);
        QFETCH(int, expected);
        QTemporaryDir top;
        QStringList candidates;
        for (int i = 0; i < holding.size(); ++i) {
            const QString folder = top.filePath(QString("candidate%1").arg(i));
            QDir().mkpath(folder);
            if (holding[i] == "texts")
                write_file(folder + "/config/parameter.xml", "<PARAMETER/>");
            else if (holding[i] == "config")
                write_file(folder + "/config/config.xml", config_with("English"));
            else if (holding[i] == "texts dir")
                QDir().mkpath(folder + "/config/parameter.xml");
            candidates << folder;
        }
        QCOMPARE(find_runtime_folder(candidates), candidates[expected]);
    }

    void a_writable_install_keeps_the_choices_in_its_own_file()
    {
        QTemporaryDir runtime;
        const QString shipped = runtime.filePath("config/config.xml");
        write_file(shipped, config_with("Chinese"));
        QCOMPARE(config_file_to_read(runtime.path()), shipped);
        QCOMPARE(config_file_to_write(runtime.path()), shipped);
        QVERIFY(!QFileInfo::exists(user_copy()));
    }

    void the_users_copy_is_read_and_written_first()
    {
        QTemporaryDir runtime;
        write_file(runtime.filePath("config/config.xml"), config_with("Chinese"));
        write_file(user_copy(), config_with("English"));
        QCOMPARE(config_file_to_read(runtime.path()), user_copy());
        QCOMPARE(config_file_to_write(runtime.path()), user_copy());
    }

    void a_read_only_install_writes_to_a_copy_in_the_users_folder()
    {
        QTemporaryDir top;
        const QString runtime = top.filePath("share/ktlink");
        std::unique_ptr<Mount> mount;
        if (geteuid() == 0) {
            // root writes through permission bits: a read-only file system it is
            mount = std::make_unique<Mount>(runtime, "size=64k");
            if (!mount->ok())
                QSKIP("mounting a small file system failed");
        }
        const QByteArray shipped = config_with("Chinese");
        write_file(runtime + "/config/config.xml", shipped);
        if (mount)
            QVERIFY(mount->remount("ro"));
        else
            QVERIFY(QFile::setPermissions(runtime + "/config", QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!is_writable_folder(runtime + "/config"));

        QCOMPARE(config_file_to_read(runtime), runtime + "/config/config.xml");
        QCOMPARE(config_file_to_write(runtime), user_copy());
        QCOMPARE(read_file(user_copy(), "<missing>"), shipped); // the other settings kept
        QVERIFY(QFileInfo(user_copy()).isWritable());
        QCOMPARE(config_file_to_read(runtime), user_copy());

        // The user's files go elsewhere too.
        const QString config = runtime + "/config";
        QVERIFY(writable_folder(config) != config);
        QVERIFY(is_writable_folder(writable_folder(config)));
        QCOMPARE(writable_folder(top.path()), top.path());
        if (!mount)
            QFile::setPermissions(runtime + "/config", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void the_window_takes_the_language_from_the_users_copy()
    {
        WorkDir dir; // ships Chinese
        write_file(user_copy(), config_with("English"));
        auto w = start_window("KT40");
        QCOMPARE(w->language, QString("English"));
        QCOMPARE(w->exe_path, dir.path());
        QCOMPARE(w->windowTitle(), w->get_parametretitle("WindowTitle").value(0));
        QVERIFY(w->windowTitle().startsWith("ktlink Total Station"));
    }
};

KT_TEST_MAIN(TestRuntimeFiles)
#include "tst_runtimefiles.moc"
