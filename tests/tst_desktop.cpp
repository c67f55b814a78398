// The program among other desktop programs and in a hostile environment: a dark scheme that
// arrives late, the help and the link, a random source that fails, SIGTERM, the settings file
// against odd files, modes, links and places, the stay after Exit, and native Wayland's unknown
// window position.

#include "about/fmAbout.h"
#include "app/session.h"
#include "desktop/clipboard_keeper.h"
#include "settings/ini_file.h"
#include "settings/location.h"
#include "settings/record.h"
#include "window_fixture.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

const bool RootAtStart = geteuid() == 0;

// Root may write anything: the permission checks count only when run as the user "nobody" (real
// and effective, as access() checks the real one). The saved user stays root, for cleanup().
bool BecomeNobody()
{
    return !RootAtStart || setresuid(65534, 65534, 0) == 0;
}

// The type and mode of what is at the path and, for a regular file, its content.
QByteArray State(const QString &path)
{
    struct stat st {};
    const QByteArray mode =
        QByteArray::number(stat(QFile::encodeName(path), &st) ? 0 : st.st_mode, 8);
    return S_ISREG(st.st_mode) ? mode + ' ' + ReadAll(path) : mode;
}

const QByteArray Old =
    EncodeRecord({1500, 1200, {1, 1, 1}, 1, {6, 8}, 25}).c_str() + QByteArray("\r\n");
const std::string New = EncodeRecord({0, 0, {1, 1, 1}, 1, {6, 8}, 1});
const QByteArray Longer(300, 'x');

// What is at the settings file's name before a save.
enum Target { RegularFile, LinkToFile, LinkToPipe, Folder, Nothing };
// Where the settings are found: the environment, and the file read or written.
enum Environment { Xdg, HomeOnly, SystemInstall };
enum Where { Beside, User, Nowhere };

// A keeper whose ownership of the clipboard the test decides, counting what happened to it.
enum Happening { OwnCopy = 100, MouseSelection, TakenOver, Guard }; // or a signal's number
struct TestKeeper : ClipboardKeeper {
    bool owned = true;
    int happened = 0; // -1 once the test's guard had to end the stay
    bool OwnsClipboard() const override { return owned; }
    void Happen(int what)
    {
        happened = what == Guard ? -1 : happened + 1;
        owned = what <= OwnCopy;
        if (what < OwnCopy) raise(what);
        // After a signal, a change of its own clipboard, which ends nothing by itself.
        emit QGuiApplication::clipboard()->changed(what == MouseSelection ? QClipboard::Selection
                                                                          : QClipboard::Clipboard);
    }
};

void Unhandled(int) {}

} // namespace

Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(Environment)
Q_DECLARE_METATYPE(Where)

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    // Whatever a failed check left behind: the user, the settings writer, the signals.
    void cleanup()
    {
        if (RootAtStart) QCOMPARE(setresuid(0, 0, 0), 0);
        ContentWriter() = writer;
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            std::signal(signal, SIG_DFL);
    }

    // Both windows in a darker colour scheme that arrives after the count has set its mode, to the
    // application and then to every widget one by one, replacing the colours the program set, as
    // Debian's qt6ct does. The count box keeps each mode's background, with a text that reads: on
    // light red the scheme's white (2.43:1) gives way to black. The About window's black (1.30:1)
    // gives way to the scheme's white, its blue link (1.36:1) and the scheme's own link colour
    // (4.14:1) to a light blue (7.03:1).
    void textsReadInADarkScheme()
    {
        const QPalette light = QApplication::palette();
        QPalette scheme(QColor(34, 32, 32));
        scheme.setColor(QPalette::Link, QColor(9, 134, 211));
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        for (auto [count, back, text] : {std::tuple{"0", QColor(255, 128, 128), QColor(Qt::black)},
                                         {"1", scheme.base().color(), scheme.text().color()}}) {
            QApplication::setPalette(light);
            fmMain w;
            fmAbout about;
            w.txNum->setText(count);
            QApplication::setPalette(scheme);
            for (QWidget *widget : QApplication::allWidgets())
                widget->setPalette(scheme);
            QTest::qWait(20); // the change's events, then what the windows do after them
            QCOMPARE(w.txNum->BackColor(), back);
            QCOMPARE(w.txNum->ForeColor(), text);
            const auto colour = [&](const char *n) {
                return about.findChild<QLabel *>(n)->palette().windowText().color();
            };
            QCOMPARE(colour("lblTitle"), scheme.windowText().color());
            QCOMPARE(colour("lblLink"), QColor(128, 170, 255));
            // And back: the colours follow the next change too.
            QApplication::setPalette(light);
            for (QWidget *widget : QApplication::allWidgets())
                widget->setPalette(light);
            QTest::qWait(20);
            QCOMPARE(w.txNum->ForeColor(), light.text().color());
        }
    }

    // Help opens the help page beside the program, or in ../share/zintrova of an installation
    // under a prefix; with neither, the help file, which is not there either: nothing shows.
    void helpPageOfAnInstallation()
    {
        QTemporaryDir prefix;
        const auto file = [&](const char *path) { return prefix.filePath(path); };
        QVERIFY(QDir().mkpath(file("bin")));
        const Opener opener;
        fmAbout::OpenHelp(file("bin"));
        WriteAll(file("share/zintrova/Zintrova.html"), "<html>");
        fmAbout::OpenHelp(file("bin"));
        WriteAll(file("bin/Zintrova.html"), "<html>");
        fmAbout::OpenHelp(file("bin"));
        QCOMPARE(opener.urls, (QList{QUrl::fromLocalFile(file("bin/Zintrova.chm")),
                                     QUrl::fromLocalFile(file("share/zintrova/Zintrova.html")),
                                     QUrl::fromLocalFile(file("bin/Zintrova.html"))}));
    }

    // The link opens the site only for a click that ends on it, not for a press dragged off it.
    void linkOpensOnAClickOnIt()
    {
        const Opener opener;
        fmAbout about;
        about.show();
        QWidget *link = about.findChild<QWidget *>("lblLink");
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(opener.urls.size(), 0);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(opener.urls.size(), 1);
    }

    // A password of 8 characters takes 17 draws, so a block of 1024 words gives 60 and its rest
    // is dropped. With one good fill a batch of 99 shows 60 different passwords, then none, and
    // copies nothing; the next good fill ends the warning.
    void noPasswordFromAFailedFill()
    {
        MainWindow t;
        t.w.sldLen[0]->setValue(8);
        t.w.txNum->setText("99");
        t.shown.clear();
        // The system's own fill, but the one after the good one fails; the next works again.
        SystemRandom failing([good = 1](std::uint32_t *begin, std::uint32_t *end) mutable {
            return good-- != 0 && SystemRandom::FillRaw(begin, end);
        });
        t.probe.Random() = &failing;
        t.click(t.w.cmCopy);
        QCOMPARE(t.shown.removeDuplicates(), 0);
        QCOMPARE(t.shown.size(), 60);
        QCOMPARE(t.password(), "");
        QCOMPARE(t.clipboard(), UsersOwnText);
        QCOMPARE(t.probe.Busy(), 0);
        QVERIFY(t.w.lbPass->toolTip().contains("cannot get secure random numbers"));
        t.probe.GeneratePass();
        QCOMPARE(t.w.lbPass->toolTip(), "");
    }

    // SIGTERM, as at the end of the session, closes the window, which saves. (A signal ignored
    // since the start stays ignored: see stayEnds.)
    void terminationSignalSaves()
    {
        QFile::remove(IniPath(SettingsFolder()));
        MainWindow t;
        const SessionEnd sessionEnd(&t.w);
        std::raise(SIGTERM);
        QTest::qWait(100);
        QCOMPARE(t.w.isVisible(), false);
        QCOMPARE(sessionEnd.Signalled(), true);
        QCOMPARE(QFile::exists(IniPath(SettingsFolder())), true);
    }

    // A save replaces a regular file, or the one a link leads to (the link stays), with the new
    // record alone. A file its owner may read but not write is frozen, directly or behind a link,
    // whatever the group may do; one its owner could not read is made readable; a new one has
    // what the umask 022 leaves. Anything else, and a write that fails, leaves all as it was. In
    // a folder that takes no new file, the file is written in place.
    void settingsWrite_data()
    {
        QTest::addColumn<Target>("target"); // a file or a link to one holds a longer old content
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<int>("modeAfter"); // 0: nothing written
        QTest::newRow("unreadable, in place") << RegularFile << 0000 << true << false << 0600;
        QTest::newRow("frozen, the group may write") << RegularFile << 0464 << false << false << 0;
        QTest::newRow("failing") << RegularFile << 0644 << false << true << 0;
        QTest::newRow("failing, in place") << RegularFile << 0644 << true << true << 0;
        QTest::newRow("link") << LinkToFile << 0000 << false << false << 0600;
        QTest::newRow("link to a frozen file") << LinkToFile << 0444 << false << false << 0;
        QTest::newRow("link to a pipe") << LinkToPipe << 0 << false << false << 0;
        QTest::newRow("folder") << Folder << 0 << false << false << 0;
        QTest::newRow("nothing") << Nothing << 0 << false << false << 0644;
    }
    void settingsWrite()
    {
        QFETCH(Target, target);
        QFETCH(int, mode);
        QFETCH(bool, inPlace);
        QFETCH(bool, failing);
        QFETCH(int, modeAfter);
        QVERIFY(BecomeNobody());
        QTemporaryDir dir;
        const QString path = dir.filePath("Zintrova.ini"), elsewhere = dir.filePath("elsewhere");
        const bool link = target == LinkToFile || target == LinkToPipe;
        const QString file = link ? elsewhere : path;
        if (target == RegularFile || target == LinkToFile) WriteAll(file, Longer, mode_t(mode));
        if (target == LinkToPipe) QCOMPARE(mkfifo(QFile::encodeName(file), 0600), 0);
        if (target == Folder) QVERIFY(QDir().mkdir(file));
        if (link) QVERIFY(QFile::link(elsewhere, path));
        umask(022);
        const QByteArray before = State(path);
        if (failing) ContentWriter() = [](QFileDevice &, const QByteArray &) { return false; };
        const QByteArray folder = QFile::encodeName(dir.path());
        const auto writable = qScopeGuard([&] { chmod(folder, 0700); });
        if (inPlace) QCOMPARE(chmod(folder, 0500), 0);
        const bool written = WriteRecordFile(path, New);
        QCOMPARE(written, modeAfter != 0);
        QCOMPARE(QFileInfo(path).isSymLink(), link);
        const QByteArray saved =
            QByteArray::number(S_IFREG | modeAfter, 8) + ' ' + New.c_str() + "\r\n";
        QCOMPARE(State(path), written ? saved : before);
    }

    // Where the settings are read and written: the file beside the program wherever the user may
    // write it or froze it; else a per-user copy, read where it exists
    // and written where the environment names an absolute folder that can be made. A package's
    // folder holds no settings, even where the user may write it or froze a file there.
    void settingsLocation_data()
    {
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<int>("mode"); // of the file beside the program; none where 0
        QTest::addColumn<bool>("userCopy");
        QTest::addColumn<Environment>("environment");
        QTest::addColumn<Where>("read");
        QTest::addColumn<Where>("write");
        QTest::newRow("frozen file, user copy")
            << false << 0400 << true << Xdg << Beside << Nowhere;
        QTest::newRow("user copy") << false << 0 << true << HomeOnly << User << User;
        QTest::newRow("first save") << false << 0 << false << Xdg << Beside << User;
        QTest::newRow("own file, read-only folder")
            << false << 0600 << true << Xdg << Beside << Beside;
        QTest::newRow("system install, frozen file")
            << true << 0444 << true << SystemInstall << User << User;
    }
    void settingsLocation()
    {
        QFETCH(bool, folderWritable);
        QFETCH(int, mode);
        QFETCH(bool, userCopy);
        QFETCH(Environment, environment);
        QFETCH(Where, read);
        QFETCH(Where, write);
        QVERIFY(BecomeNobody());
        QTemporaryDir program, root;
        const QString iniFile = IniPath(program.path()), home = root.filePath("home");
        const QString xdg = root.filePath("xdg");
        const UserEnvironment envs[] = {{home, xdg}, {home, {}}, {home, xdg, true}};
        const UserEnvironment &env = envs[environment];
        const QString userFile =
            IniPath((environment == HomeOnly ? home + "/.config" : xdg) + "/Zintrova");
        if (mode) WriteAll(iniFile, Old, mode_t(mode));
        if (userCopy) WriteAll(userFile, Longer);
        const auto writable =
            qScopeGuard([&] { QFile::setPermissions(program.path(), QFile::Permissions(0x7777)); });
        if (!folderWritable)
            QVERIFY(QFile::setPermissions(program.path(), QFile::Permissions(0x5555)));
        const QString paths[] = {iniFile, userFile, QString()};
        QCOMPARE(ReadPath(iniFile, env), paths[read]);
        QCOMPARE(WritePath(iniFile, env), paths[write]);
        // The next start reads what this one saved.
        if (write != Nowhere) {
            QVERIFY(WriteRecordFile(paths[write], New));
            QCOMPARE(ReadRecordFile(ReadPath(iniFile, env)), New);
        }
        // A program whose own file is written never makes the user's folder.
        if (write == Beside && !userCopy) QVERIFY(!QFileInfo::exists(QFileInfo(userFile).path()));
    }

    // A pipe and a file trade places under the file's name all the time: 200 reads in a child
    // process, each right after the pipe made way for the file (the next swap comes soon), all
    // end; none waits for a writer to the pipe, however slow the machine.
    void settingsReadNeverWaits()
    {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("Zintrova.ini")),
                         pipe = QFile::encodeName(dir.filePath("pipe"));
        WriteAll(QFile::decodeName(path), Old);
        QCOMPARE(mkfifo(pipe, 0600), 0);
        const pid_t reader = fork();
        if (reader == 0) {
            std::thread([&] {
                while (renameat2(AT_FDCWD, path, AT_FDCWD, pipe, RENAME_EXCHANGE) == 0) {
                }
                _exit(2);
            }).detach();
            for (int i = 0; i < 200; ++i) {
                for (QByteArray seen; seen != "pf";) {
                    struct stat st {};
                    const bool fifo = lstat(path, &st) == 0 && S_ISFIFO(st.st_mode);
                    seen = seen.right(1) + (fifo ? 'p' : 'f');
                }
                ReadRecordFile(QFile::decodeName(path));
            }
            _exit(0);
        }
        int status = 0;
        pid_t ended = 0;
        for (QDeadlineTimer deadline(30000); ended == 0 && !deadline.hasExpired(); usleep(10000))
            ended = waitpid(reader, &status, WNOHANG);
        if (ended != reader) kill(reader, SIGKILL), waitpid(reader, &status, 0);
        QVERIFY2(ended == reader, "a read waits");
        QCOMPARE(status, 0); // ended by itself, and every swap worked
    }

    // The stay ends when another program takes the clipboard over or a signal the user did not
    // ignore comes, not when the mouse selection changes. Things happen 20 ms apart; then the
    // test's guard takes the clipboard away from a keeper still running.
    void stayEnds_data()
    {
        QTest::addColumn<QList<int>>("happenings");
        QTest::addColumn<int>("ignored");   // a signal ignored since the start
        QTest::addColumn<int>("endsAfter"); // how many happenings; -1: the guard ended it
        QTest::newRow("mouse selection, then taken over")
            << QList<int>{OwnCopy, MouseSelection, TakenOver, OwnCopy} << 0 << 3;
        QTest::newRow("SIGTERM") << QList<int>{OwnCopy, SIGTERM} << 0 << 2;
        QTest::newRow("SIGHUP ignored") << QList<int>{SIGHUP} << SIGHUP << -1;
    }
    void stayEnds()
    {
        QFETCH(QList<int>, happenings);
        QFETCH(int, ignored);
        // A signal the keeper does not take ends nothing.
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            std::signal(signal, signal == ignored ? SIG_IGN : Unhandled);
        TestKeeper keeper;
        for (int i = 0; i < happenings.size(); ++i)
            QTimer::singleShot(20 * i, &keeper,
                               [&keeper, what = happenings[i]] { keeper.Happen(what); });
        QTimer::singleShot(300, &keeper, [&keeper] { keeper.Happen(Guard); });
        QCOMPARE(keeper.Run(), 0);
        QTEST(keeper.happened, "endsAfter");
    }

    // The clipboard lost without a word from Qt, as when Qt disregards another program's claim:
    // the keeper finds out by itself within 2 s, before the guard's word comes.
    void stayEndsWithoutWordFromQt()
    {
        TestKeeper quiet;
        QTimer::singleShot(20, &quiet, [&quiet] { quiet.owned = false; });
        QTimer::singleShot(2500, &quiet, [&quiet] { quiet.Happen(Guard); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(quiet.Run(), 0);
        QCOMPARE(quiet.happened, 0);
        QCOMPARE_LT(clock.elapsed(), 2000);
    }

    // Native Wayland tells no program where its window stands: the place read at start-up is
    // saved again, not the 0, 0 that the window reads there.
    void waylandKeepsTheSavedPlace()
    {
        const QByteArray saved =
            EncodeRecord({5325, 5910, {1, 1, 1}, 1, {6, 8}, 1}).c_str() + QByteArray("\r\n");
        WriteAll(IniPath(SettingsFolder()), saved);
        MainWindow t;
        t.probe.Platform() = "wayland-egl";
        t.w.move(0, 0);
        t.w.close();
        QCOMPARE(ReadAll(IniPath(SettingsFolder())), saved);
    }

private:
    const ContentWrite writer = ContentWriter();
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
