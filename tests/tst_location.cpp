// Where the settings are read and saved: beside the program wherever that file can be written,
// else the user's own copy. Every folder and variable is a temporary one; no real home is used.

#include "script.h"
#include "settings/ini_file.h"
#include "settings/location.h"
#include "settings/record.h"

#include <QTemporaryDir>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

enum Env { Xdg, HomeOnly, RelativeXdg, NoEnv, Blocked, SystemInstall };
enum Where { Beside, User, Nowhere };

constexpr const char *A = "015000120011110608025", *B = "000000000010100712999";

// Whether the program's folder is writable, the file beside the program and the per-user copy
// (none where empty), the environment, and which file is read and which is written.
const std::tuple<const char *, bool, const char *, const char *, Env, Where, Where> Rows[] = {
    {"writable folder", true, A, "", Xdg, Beside, Beside},
    {"read-only folder, user copy", false, "", B, HomeOnly, User, User},
    {"read-only folder, first save", false, "", "", Xdg, Beside, User},
    // The user's own read-only file in a read-only folder is made writable and written in place,
    // also where a user copy exists.
    {"read-only folder, own file", false, A, B, Xdg, Beside, Beside},
    {"relative XDG_CONFIG_HOME", false, "", "", RelativeXdg, Beside, User},
    {"no HOME, no XDG_CONFIG_HOME", false, "", "", NoEnv, Beside, Nowhere},
    {"folder cannot be created", false, "", "", Blocked, Beside, Nowhere},
    // A package's folder holds no settings, even where the user may write it.
    {"system install", true, A, B, SystemInstall, User, User},
    {"damaged user copy", false, "", " 0150001\xff,9\n", Xdg, User, User}};

void WriteAll(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestLocation : public QObject {
    Q_OBJECT
private slots:
    // Root writes anywhere: the permissions count as they do for a user once the checks run as
    // the user "nobody" (real and effective, the saved user stays root to come back).
    void initTestCase() { QVERIFY(geteuid() != 0 || setresuid(65534, 65534, 0) == 0); }
    void cleanupTestCase() { QVERIFY(getuid() != 65534 || setresuid(0, 0, 0) == 0); }

    void choice_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Rows)); ++i)
            QTest::newRow(std::get<0>(Rows[i])) << i;
    }
    void choice()
    {
        QFETCH(int, row);
        const auto &[name, writable, beside, user, env, read, write] = Rows[row];
        QTemporaryDir program, root;
        const QString iniFile = IniPath(program.path()), home = root.filePath("home");
        const QString xdg = root.filePath("xdg"), blocked = "/dev/null"; // not a folder
        const UserEnvironment envs[] = {{home, xdg}, {home, {}},      {home, "xdg"},
                                        {},          {home, blocked}, {home, xdg, true}};
        const QString users[] = {xdg, home + "/.config", home + "/.config", {}, blocked, xdg};
        const QString userFile = IniPath(users[env] + "/Zintrova");
        if (*beside) WriteAll(iniFile, beside);
        if (*user) WriteAll(userFile, user);
        QVERIFY(writable || !*beside || QFile::setPermissions(iniFile, QFile::ReadOwner));
        QVERIFY(writable || QFile::setPermissions(program.path(), QFile::Permissions(0x5555)));
        const QString paths[] = {iniFile, userFile, QString()};
        QCOMPARE(ReadPath(iniFile, envs[env]), paths[read]);
        QCOMPARE(WritePath(iniFile, envs[env]), paths[write]);
        // A user copy is read with the same tolerance as the file beside the program.
        QCOMPARE(ReadRecordFile(paths[read]), RecordText(read == User ? user : beside));
        // The next start reads what this one saved.
        if (write != Nowhere) {
            QVERIFY(WriteRecordFile(paths[write], "000000000000000303001"));
            QCOMPARE(ReadRecordFile(ReadPath(iniFile, envs[env])), "000000000000000303001");
        }
        // A program whose own file is written never creates the user's folder.
        if (write != User && !*user) QVERIFY(!QFileInfo::exists(QFileInfo(userFile).path()));
        QVERIFY(QFile::setPermissions(program.path(), QFile::Permissions(0x7777)));
    }

    // The whole window beside a folder no one can write: the choices survive a restart in the
    // user's copy.
    void windowKeepsChoicesPerUser()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        SetSettingsFolder("/proc");
        Script("p321 X V0");
        QVERIFY(QFile::exists(config.filePath("Zintrova/Zintrova.ini")));
        Script("\"321\"");
    }
};

QTEST_MAIN(TestLocation)
#include "tst_location.moc"
