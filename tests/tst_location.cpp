// Where the settings are read and saved: beside the program wherever that file can be written,
// else the user's own copy. Every folder and variable is a temporary one; no real home is used.

#include "mainwindow/fmMain.h"
#include "script.h"
#include "settings/ini_file.h"
#include "settings/location.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

enum Env { Xdg, HomeOnly, RelativeXdg, NoEnv, Blocked, SystemInstall };
enum Where { Beside, User, Nowhere };

void WriteAll(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestLocation : public QObject {
    Q_OBJECT
private slots:
    // Root writes anywhere: the permissions count as they do for a user once the checks run as
    // the user "nobody" (real and effective, the saved user stays root to come back).
    void initTestCase() { dropped_ = geteuid() == 0 && setresuid(65534, 65534, 0) == 0; }
    void cleanupTestCase()
    {
        if (dropped_) QVERIFY(setresuid(0, 0, 0) == 0);
    }
    void choice_data();
    void choice();
    void windowKeepsChoicesPerUser();

private:
    bool dropped_ = false;
};

void TestLocation::choice_data()
{
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<QByteArray>("beside"); // empty: no file beside the program
    QTest::addColumn<QByteArray>("user");   // empty: no per-user copy
    QTest::addColumn<int>("env");
    QTest::addColumn<int>("read");
    QTest::addColumn<int>("write");
    QTest::addColumn<QByteArray>("record"); // what the reader finds first
    const QByteArray a = "015000120011110608025\r\n", b = "000000000010100712999\r\n";
    const QByteArray none;
    QTest::newRow("writable folder")
        << true << a << none << +Xdg << +Beside << +Beside << a.chopped(2);
    QTest::newRow("writable folder ignores a user copy")
        << true << none << b << +Xdg << +Beside << +Beside << QByteArray("-");
    QTest::newRow("read-only folder, user copy")
        << false << none << b << +HomeOnly << +User << +User << b.chopped(2);
    QTest::newRow("read-only folder, first save")
        << false << none << none << +Xdg << +Beside << +User << QByteArray("-");
    // The user's own read-only file in a read-only folder is made writable and written in place.
    QTest::newRow("read-only folder, own file")
        << false << a << b << +Xdg << +Beside << +Beside << a.chopped(2);
    QTest::newRow("relative XDG_CONFIG_HOME ignored")
        << false << none << none << +RelativeXdg << +Beside << +User << QByteArray("-");
    QTest::newRow("no HOME, no XDG_CONFIG_HOME")
        << false << none << none << +NoEnv << +Beside << +Nowhere << QByteArray("-");
    QTest::newRow("folder cannot be created")
        << false << none << none << +Blocked << +Beside << +Nowhere << QByteArray("-");
    // A package's folder holds no settings, even where the user may write it.
    QTest::newRow("system install")
        << true << a << b << +SystemInstall << +User << +User << b.chopped(2);
    QTest::newRow("damaged user copy") << false << none << QByteArray(" 0150001\xff,9\n") << +Xdg
                                       << +User << +User << QByteArray("0150001\xff");
}

void TestLocation::choice()
{
    QFETCH(bool, folderWritable);
    QFETCH(QByteArray, beside);
    QFETCH(QByteArray, user);
    QFETCH(int, env);
    QFETCH(int, read);
    QFETCH(int, write);
    QFETCH(QByteArray, record);
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program));
    const QString iniFile = IniPath(program);
    if (!beside.isEmpty()) WriteAll(iniFile, beside);
    const QString home = root.filePath(QStringLiteral("home")), xdg = root.filePath("xdg");
    const QString blocked = root.filePath(QStringLiteral("blocked"));
    const UserEnvironment envs[] = {{home, xdg}, {home, {}},      {home, "xdg"},
                                    {},          {home, blocked}, {home, xdg, true}};
    WriteAll(blocked, "a file where a folder should be");
    const UserEnvironment e = envs[env];
    const QString userFile = UserIniPath(e);
    const QString expected[] = {xdg, home + "/.config", home + "/.config", {}, blocked, xdg};
    QCOMPARE(userFile,
             expected[env].isEmpty() ? QString() : expected[env] + "/Zintrova/Zintrova.ini");
    if (!user.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(userFile).path()));
        WriteAll(userFile, user);
    }
    if (!folderWritable) {
        if (!beside.isEmpty()) QVERIFY(QFile::setPermissions(iniFile, QFile::Permissions(0x4444)));
        QVERIFY(QFile::setPermissions(program, QFile::Permissions(0x5555)));
    }
    const QString paths[] = {iniFile, userFile, QString()};

    QCOMPARE(ReadPath(iniFile, e), paths[read]);
    QCOMPARE(QByteArray::fromStdString(ReadRecordFile(ReadPath(iniFile, e))), record);
    QCOMPARE(WritePath(iniFile, e), paths[write]);
    // The next start reads what this one saved.
    if (write != Nowhere) {
        QVERIFY(WriteRecordFile(paths[write], "000000000000000303001"));
        QCOMPARE(ReadRecordFile(ReadPath(iniFile, e)), "000000000000000303001");
    }
    // A program whose own file is written never creates the user's folder.
    if (write != User && user.isEmpty())
        QVERIFY(userFile.isEmpty() || !QFileInfo::exists(QFileInfo(userFile).path()));
    QVERIFY(QFile::setPermissions(program, QFile::Permissions(0x7777)));
}

// The whole window in a folder it cannot write: the choices survive a restart in the user's copy.
void TestLocation::windowKeepsChoicesPerUser()
{
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program));
    QVERIFY(QFile::setPermissions(program, QFile::Permissions(0x5555)));
    qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toLocal8Bit());
    SetSettingsFolder(program);
    {
        fmMain w;
        fmMainProbe{w}.txNum()->setText(QStringLiteral("321"));
        w.close();
    }
    QVERIFY(QFile::exists(root.filePath(QStringLiteral("config/Zintrova/Zintrova.ini"))));
    QVERIFY(!QFile::exists(IniPath(program)));
    fmMain again;
    QCOMPARE(fmMainProbe{again}.txNum()->text(), QStringLiteral("321"));
    QVERIFY(QFile::setPermissions(program, QFile::Permissions(0x7777)));
}

QTEST_MAIN(TestLocation)
#include "tst_location.moc"
