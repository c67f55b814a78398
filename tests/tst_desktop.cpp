// The program among other desktop programs and in a hostile environment: texts read in a dark
// scheme; screen readers can tell the controls apart; Qt's options and a chosen platform start the
// window (what ends the program at once is checked on the program itself, in CMakeLists.txt); the
// help opens; the About sentence fits any font. A random source whose fill fails gives no password;
// a settings write keeps to regular files, never leaves less than it found and leaves the file
// readable; the settings go to the user's own copy where the program's folder cannot be written;
// signals the user ignored stay ignored; core dumps are off; the stay after Exit is decided by
// platform and ends as it should; native Wayland keeps the saved window position. Nothing here
// waits on a process that stays.

#include "about/fmAbout.h"
#include "app/hardening.h"
#include "app/session.h"
#include "controls/contrast.h"
#include "controls/twips.h"
#include "desktop/clipboard_keeper.h"
#include "settings/ini_file.h"
#include "settings/location.h"
#include "settings/record.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;
using namespace Qt::StringLiterals;

namespace {

// Root may write anything: permissions count once the checks run as the user "nobody" (real and
// effective, as access() checks the real one); the saved user stays root to come back.
struct AsNobody {
    const bool root = geteuid() == 0;
    AsNobody() { QVERIFY(!root || setresuid(65534, 65534, 0) == 0); }
    ~AsNobody() { QVERIFY(!root || setresuid(0, 0, 0) == 0); }
};

// The type and mode of what is at the path and, for a regular file, its content.
QByteArray State(const QString &path)
{
    struct stat st {};
    const QByteArray mode =
        QByteArray::number(stat(QFile::encodeName(path), &st) ? 0 : st.st_mode, 8);
    return S_ISREG(st.st_mode) ? mode + ' ' + ReadAll(path) : mode;
}

const QByteArray Old = "015000120011110608025\r\n", Long(300, 'x');
const std::string New = "000000000011110608001";

// What is at the path (a file, a link to one, a link to a pipe, a pipe, a link to nothing, a
// folder, a link to a device, nothing), the mode and content of the file, whether the write itself
// fails, and the mode the file then has (0: nothing is written; a new file has what the umask 022
// leaves). A file its owner may read but not write is frozen, directly or behind a link, whatever
// the group may do; one the owner could not read at all is made readable.
const std::tuple<const char *, int, QByteArray, bool, int> Writes[] = {
    {"file", 0000, Old, false, 0600}, {"file", 0200, Old, false, 0600},
    {"file", 0464, Old, false, 0},    {"file", 0644, Long, false, 0644},
    {"file", 0644, Long, true, 0},    {"link", 0000, Old, false, 0600},
    {"link", 0444, Old, false, 0},    {"link to pipe", 0, {}, false, 0},
    {"pipe", 0, {}, false, 0},        {"broken link", 0, {}, false, 0},
    {"folder", 0, {}, false, 0},      {"link to device", 0, {}, false, 0},
    {"nothing", 0, {}, false, 0644}};
constexpr int WriteRows = int(std::size(Writes));

enum Env { Xdg, HomeOnly, RelativeXdg, NoEnv, Blocked, SystemInstall };
enum Where { Beside, User, Nowhere };

constexpr const char *A = "015000120011110608025", *B = "000000000010100712999";

// Whether the program's folder is writable, the mode of the file beside the program, that file
// and the per-user copy (none where empty), the environment, and which file is read and which is
// written.
using Place = std::tuple<const char *, bool, int, const char *, const char *, Env, Where, Where>;
const Place Places[] = {
    {"writable folder", true, 0600, A, "", Xdg, Beside, Beside},
    // A file its owner made read-only is read, and nothing is saved, not even to a user copy.
    {"writable folder, frozen file", true, 0444, A, "", Xdg, Beside, Nowhere},
    {"read-only folder, frozen file", false, 0400, A, B, Xdg, Beside, Nowhere},
    {"read-only folder, user copy", false, 0, "", B, HomeOnly, User, User},
    {"read-only folder, first save", false, 0, "", "", Xdg, Beside, User},
    // The user's own file in a read-only folder is written in place, also where a user copy
    // exists.
    {"read-only folder, own file", false, 0600, A, B, Xdg, Beside, Beside},
    {"relative XDG_CONFIG_HOME", false, 0, "", "", RelativeXdg, Beside, User},
    {"no HOME, no XDG_CONFIG_HOME", false, 0, "", "", NoEnv, Beside, Nowhere},
    {"folder cannot be created", false, 0, "", "", Blocked, Beside, Nowhere},
    // A package's folder holds no settings, even where the user may write it or froze a file.
    {"system install", true, 0600, A, B, SystemInstall, User, User},
    {"system install, frozen file", true, 0444, A, B, SystemInstall, User, User},
    {"damaged user copy", false, 0, "", " 0150001\xff,9\n", Xdg, User, User}};

void Unhandled(int) {}

// Waits for the moment a pipe at `path` has made way for a file (the next swap comes soon), or
// until the deadline.
void JustAfterPipeGaveWay(const char *path, const QDeadlineTimer &deadline)
{
    QByteArray seen; // the last two looks: 'p' a pipe, 'f' a file
    while (seen != "pf" && !deadline.hasExpired()) {
        struct stat st {};
        seen = seen.right(1) + (lstat(path, &st) == 0 && S_ISFIFO(st.st_mode) ? 'p' : 'f');
    }
}

// Light text on a dark window, and a link colour that reads on it at only 4.1:1 (the "darker"
// scheme of Debian's qt6ct).
QPalette Darker()
{
    QPalette p(QColor(34, 32, 32));
    p.setColor(QPalette::Link, QColor(9, 134, 211));
    return p;
}

// The light scheme alone, or the darker one arriving after the windows were made: to the
// application, or to the application and then to every widget one by one, replacing the colours
// the program set, as qt6ct does.
constexpr int Light = 0, ToApplication = 1, ToEachWidget = 2;

// A keeper whose ownership of the clipboard the test decides, counting the events it saw.
struct ScriptedKeeper : ClipboardKeeper {
    bool owned = true;
    int seen = 0;
    bool OwnsClipboard() const override { return owned; }
    void Event(char e)
    {
        seen = e == '-' ? -1 : seen + 1;
        const int n = QByteArray("TIH").indexOf(e);
        owned = n >= 0 || e == 'k';
        if (n >= 0) raise(n == 0 ? SIGTERM : n == 1 ? SIGINT : SIGHUP);
        // After a signal, a change of its own clipboard, which ends nothing by itself.
        emit QGuiApplication::clipboard()->changed(e == 's' ? QClipboard::Selection
                                                            : QClipboard::Clipboard);
    }
};

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    // The main window and the About window in a colour scheme and a font, the scheme arriving
    // after the count has set its mode. The count box keeps the background of each mode and its
    // text reads at 4.5:1 or better, as do the About window's texts; the light scheme shows the
    // designed colours. "Visit ... for other freewares." keeps a blank between its parts in any
    // font. Screen readers tell the focusable controls apart by their names; the spinner is a
    // spin box with a value, the web link a link a screen reader can press.
    void inEachSchemeAndFont_data()
    {
        QTest::addColumn<int>("arrives");
        QTest::addColumn<QString>("family");
        QTest::newRow("light") << Light << u"Liberation Sans"_s;
        QTest::newRow("darker") << ToApplication << u"DejaVu Serif"_s;
        QTest::newRow("darker, to each widget") << ToEachWidget << u"Nimbus Sans Narrow"_s;
    }

    void inEachSchemeAndFont()
    {
        QCOMPARE(qRound(ContrastRatio(0xFF8080, 0x000000) * 100), 865);
        QFETCH(int, arrives);
        QFETCH(QString, family);
        const QPalette light = QApplication::palette(), scheme = arrives ? Darker() : light;
        const auto restore = qScopeGuard([&] {
            QApplication::setPalette(light);
            QFont::removeSubstitutions(u"MS Sans Serif"_s);
        });
        QFont::insertSubstitution(u"MS Sans Serif"_s, family);
        const std::pair<const char *, QColor> modes[] = {{"0", QColor(255, 128, 128)},
                                                         {"1", scheme.base().color()},
                                                         {"5", QColor(255, 255, 192)}};
        for (const auto &[count, back] : modes) {
            QApplication::setPalette(light);
            fmMain w;
            fmAbout about;
            w.txNum->setText(QLatin1String(count));
            QApplication::setPalette(scheme);
            if (arrives == ToEachWidget)
                for (QWidget *widget : QApplication::allWidgets())
                    widget->setPalette(scheme);
            // The events of the change, then what the windows do after them.
            QTest::qWait(20);
            QCOMPARE(w.txNum->BackColor(), back);
            const QColor text = w.txNum->ForeColor();
            QVERIFY2(ContrastRatio(text.rgb(), back.rgb()) >= 4.5 &&
                         (arrives || text == scheme.text().color()),
                     count);
            const auto label = [&](const char *n) { return about.findChild<QLabel *>(n); };
            for (const auto &[name, designed] :
                 {std::pair{"lblTitle", QColor(0, 0, 0)}, {"lblLink", QColor(0, 0, 192)}}) {
                const QColor c = label(name)->palette().windowText().color();
                QVERIFY2(ContrastRatio(c.rgb(), scheme.window().color().rgb()) >= 4.5 &&
                             (arrives || c == designed),
                         name);
            }
            const int blank = label("Label3")->fontMetrics().horizontalAdvance(u' ');
            QVERIFY(label("Label3")->geometry().right() + blank < label("lblLink")->x());
            QVERIFY(label("lblLink")->geometry().right() + blank < label("Label5")->x());
            QStringList names;
            for (QWidget *window : std::initializer_list<QWidget *>{&w, &about})
                for (QWidget *control : window->findChildren<QWidget *>())
                    if (control->focusPolicy() != Qt::NoFocus)
                        names << QAccessible::queryAccessibleInterface(control)->text(
                            QAccessible::Name);
            QVERIFY(names.size() == 14 && !names.contains(QString()) && !names.removeDuplicates());
        }
    }

    // Help opens the help file when the desktop has a viewer for it, else the HTML page beside the
    // program or in the shared folder (files under a prefix, the program in bin/).
    void helpOpens()
    {
        const QString chm = u"bin/Zintrova.chm"_s, page = u"bin/Zintrova.html"_s,
                      shared = u"share/zintrova/Zintrova.html"_s;
        const std::tuple<QStringList, bool, QString> cases[] = {{{page, shared}, true, page},
                                                                {{shared}, false, shared},
                                                                {{chm, page}, true, chm},
                                                                {{chm, page}, false, page}};
        const QByteArray path = qgetenv("PATH");
        for (const auto &[files, viewer, opened] : cases) {
            QTemporaryDir prefix;
            // The files, and a stand-in for xdg-mime that names a viewer, or none.
            for (const QString &f : files + QStringList{u"bin/xdg-mime"_s})
                WriteAll(prefix.filePath(f), viewer ? "#!/bin/sh\necho v\n" : "#!/bin/sh\n", 0500);
            qputenv("PATH", prefix.filePath(u"bin"_s).toLocal8Bit() + ':' + path);
            Opener opener;
            fmAbout::OpenHelp(prefix.filePath(u"bin"_s));
            qputenv("PATH", path);
            QCOMPARE(opener.urls, QList{QUrl::fromLocalFile(prefix.filePath(opened))});
        }
        // The build puts the page beside the program.
        QVERIFY(
            !fmAbout::HelpPagePath(QCoreApplication::applicationDirPath() + u"/.."_s).isEmpty());
    }

    // A password of 8 characters takes 17 draws: a 1024-word block gives 60, and its rest is
    // dropped. So with 0, 1 or 2 good fills the composer gives 0, 60 or 120 different
    // passwords, then none: the window shows none and copies nothing, singly and in a batch.
    void noPasswordFromAFailedFill()
    {
        for (const auto &[good, count] : {std::pair{0, "1"}, {1, "99"}, {2, "150"}}) {
            MainWindow s;
            s.w.sldLen[0]->setValue(8);
            s.w.txNum->setText(count);
            s.shown.clear();
            // The system's own fill, but the one after `good` fills fails and leaves the block as
            // it was.
            SystemRandom failing([good = good](std::uint32_t *begin, std::uint32_t *end) mutable {
                return good-- != 0 && SystemRandom::FillRaw(begin, end);
            });
            s.probe.Random() = &failing;
            s.probe.GeneratePass();
            s.click(s.w.cmCopy);
            QCOMPARE(s.shown.removeDuplicates(), 0); // never a repeated password
            QCOMPARE(s.shown.size(), 60 * good);
            QCOMPARE(s.password(), QString());
            QCOMPARE(QGuiApplication::clipboard()->text(), UsersOwnText);
            QVERIFY(s.w.lbPass->toolTip().contains("cannot get secure random numbers"));
            QCOMPARE(s.probe.Busy(), std::int16_t(0));
            s.probe.GeneratePass(); // a source that works again brings the password back
            QCOMPARE(s.w.lbPass->toolTip(), QString());
        }
    }

    // Under nohup SIGHUP is ignored, in a background job SIGINT: the program keeps running. The
    // others close the window, which saves.
    void ignoredSignalsStayIgnored()
    {
        const std::pair<int, bool> rows[] = {
            {SIGHUP, true}, {SIGINT, true}, {SIGHUP, false}, {SIGINT, false}, {SIGTERM, false}};
        for (const auto &[signal, ignored] : rows) {
            std::signal(signal, ignored ? SIG_IGN : SIG_DFL);
            QFile::remove(IniPath(SettingsFolder()));
            MainWindow s;
            const QStringList open = QDir("/proc/self/fd").entryList(QDir::System);
            const SessionEnd sessionEnd(&s.w);
            // What it opens is not left open in what the program starts (a browser, a viewer).
            for (const QString &fd : QDir("/proc/self/fd").entryList(QDir::System))
                QVERIFY(open.contains(fd) || fcntl(fd.toInt(), F_GETFD) & FD_CLOEXEC);
            std::raise(signal);
            QTest::qWait(100);
            QVERIFY(s.w.isVisible() == ignored && sessionEnd.Signalled() != ignored);
            QCOMPARE(QFile::exists(IniPath(SettingsFolder())), !ignored);
        }
    }

    // The system's own fill in a child process whose getrandom a seccomp filter refuses with the
    // given error: where the call is missing or refused (ENOSYS, EPERM) the kernel's device fills
    // the words, any other failure is reported and nothing is filled.
    void systemFillFailsClosed()
    {
        for (const auto &[error, filled] : {std::pair{ENOSYS, true}, {EPERM, true}, {EIO, false}}) {
            const pid_t child = fork();
            if (child == 0) {
                sock_filter filter[] = {
                    BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_getrandom, 0, 1),
                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | std::uint32_t(error)),
                    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
                const sock_fprog program{std::size(filter), filter};
                std::uint32_t words[64] = {};
                const bool ok = prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
                                prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0 &&
                                SystemRandom::FillRaw(words, words + 64);
                // 2: a fill reported where none was made.
                _exit(!ok ? 1 : std::count(words, words + 64, 0u) < 4 ? 0 : 2);
            }
            int status = -1;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), filled ? 0 : 1);
        }
    }

    // Off unless a developer asks for them with exactly "1".
    void coreDumps()
    {
        for (const auto &[allow, on] : {std::pair{"1", true}, {"yes", false}}) {
            rlimit core{};
            getrlimit(RLIMIT_CORE, &core);
            const rlim_t max = core.rlim_cur = core.rlim_max; // so that turning it off shows
            setrlimit(RLIMIT_CORE, &core);
            prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
            qputenv("ZINTROVA_ALLOW_CORE_DUMPS", allow);
            DisableCoreDumps();
            getrlimit(RLIMIT_CORE, &core);
            QCOMPARE(core.rlim_cur, on ? max : rlim_t(0));
            QCOMPARE(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), on ? 1 : 0);
        }
    }

    // Under Wayland the program starts on X11 where XWayland is there and the user chose nothing.
    void startOnX11()
    {
        // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY, "-platform" given; the
        // answer.
        for (const auto &[env, x11] :
             {std::pair{DisplayEnvironment{"", "wayland-0", "", ":0"}, true},
              {{"", "", "wayland", ":1"}, true},
              {{"", "wayland-0", "wayland", ""}, false},
              {{"wayland", "wayland-0", "wayland", ":0"}, false},
              {{"", "wayland-0", "wayland", ":0", true}, false},
              {{"", "", "x11", ":0"}, false}})
            QCOMPARE(StartOnX11(env), x11);
    }

    void settingsWrite_data()
    {
        QTest::addColumn<int>("row"); // the second half writes in place
        for (int i = 0; i < 2 * WriteRows; ++i)
            QTest::addRow("%d: %s", i, std::get<0>(Writes[i % WriteRows])) << i;
    }
    void settingsWrite()
    {
        QFETCH(int, row);
        const bool inPlace = row >= WriteRows;
        const auto &[what, mode, old, fail, after] = Writes[row % WriteRows];
        const AsNobody user;
        QTemporaryDir dir;
        const QString path = dir.filePath("Zintrova.ini"),
                      target = QByteArray(what).contains("device") ? "/dev/null"
                                                                   : dir.filePath("elsewhere");
        const bool link = QByteArray(what).contains("link");
        const QByteArray file = QFile::encodeName(link ? target : path);
        if (!old.isEmpty()) WriteAll(QFile::decodeName(file), old, mode_t(mode));
        if (QByteArray(what).contains("pipe")) QCOMPARE(mkfifo(file, 0600), 0);
        if (QByteArray(what) == "folder") QCOMPARE(mkdir(file, 0700), 0);
        if (link) QCOMPARE(symlink(QFile::encodeName(target), QFile::encodeName(path)), 0);
        umask(022);
        const int want = inPlace && old.isEmpty() ? 0 : after; // in place only over a file
        const QByteArray before = State(path);
        const ContentWrite normal = ContentWriter();
        if (fail) ContentWriter() = [](QFileDevice &, const QByteArray &) { return false; };
        // A folder that takes no new file leaves only the write in place.
        QVERIFY(!inPlace || chmod(QFile::encodeName(dir.path()), 0500) == 0);
        const bool written = WriteRecordFile(path, New);
        chmod(QFile::encodeName(dir.path()), 0700);
        ContentWriter() = normal;
        QCOMPARE(written, want != 0);
        QCOMPARE(QFileInfo(path).isSymLink(), link); // a link stays a link
        // Written: the new record alone; else as it was (the pipe, the folder, the old content).
        const QByteArray saved = QByteArray::number(S_IFREG | want, 8) + ' ' + New.c_str() + "\r\n";
        QCOMPARE(State(path), written ? saved : before);
    }

    void settingsLocation_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Places)); ++i)
            QTest::newRow(std::get<0>(Places[i])) << i;
    }
    void settingsLocation()
    {
        QFETCH(int, row);
        const auto &[name, writable, mode, beside, user, env, read, write] = Places[row];
        const AsNobody nobody;
        QTemporaryDir program, root;
        const QString iniFile = IniPath(program.path()), home = root.filePath("home");
        const QString xdg = root.filePath("xdg"), blocked = "/dev/null"; // not a folder
        const UserEnvironment envs[] = {{home, xdg}, {home, {}},      {home, "xdg"},
                                        {},          {home, blocked}, {home, xdg, true}};
        const QString users[] = {xdg, home + "/.config", home + "/.config", {}, blocked, xdg};
        const QString userFile = IniPath(users[env] + "/Zintrova");
        if (*beside) WriteAll(iniFile, beside, mode_t(mode));
        if (*user) WriteAll(userFile, user);
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

    // A pipe and a file trade places under the file's name all the time: up to 200 reads in a
    // child process, each right after a swap, all end; none waits for a writer to the pipe.
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
            const QDeadlineTimer deadline(2000); // a loaded machine makes fewer reads
            for (int i = 0; i < 200 && !deadline.hasExpired(); ++i) {
                JustAfterPipeGaveWay(path, deadline);
                ReadRecordFile(QFile::decodeName(path));
            }
            _exit(0);
        }
        int status = 0;
        pid_t ended = 0;
        for (QDeadlineTimer deadline(3500); ended == 0 && !deadline.hasExpired(); usleep(10000))
            ended = waitpid(reader, &status, WNOHANG);
        if (ended != reader) {
            kill(reader, SIGKILL);
            waitpid(reader, &status, 0);
        }
        QVERIFY2(ended == reader, "the reads do not end");
        QCOMPARE(status, 0); // ended by itself, and every swap worked
    }

    // The program stays after Exit only where it serves the paste itself, and the stay ends when
    // the clipboard is taken over or a signal the user did not ignore comes.
    void stayAfterExit()
    {
        const std::tuple<const char *, bool, bool> platforms[] = {
            {"xcb", true, true},       {"xcb", false, false},    {"wayland-egl", true, true},
            {"wayland", false, false}, {"windows", true, false}, {"xcbx", true, false}};
        for (const auto &[platform, owns, stays] : platforms)
            QVERIFY2(LingersAfterExit(QString::fromLatin1(platform), owns) == stays, platform);
        QVERIFY(!LingersAfterExit(QGuiApplication::platformName(), true)); // the tests' own

        // Events 20 ms apart while the keeper runs: k its own copy, s the mouse selection and l
        // the clipboard taken by another program, T I H the signals SIGTERM, SIGINT and SIGHUP,
        // one of them perhaps ignored since the program started. Owned at the start, the events,
        // the signal ignored, and how many events had come when the stay ended, or -1 where a
        // guard had to end it.
        const std::tuple<bool, QByteArray, int, int> rows[] = {
            {true, "kslk", 0, 3},    {false, "k", 0, 0}, {true, "kT", 0, 2},
            {true, "I", 0, 1},       {true, "H", 0, 1},  {true, "H", SIGHUP, -1},
            {true, "T", SIGTERM, -1}};
        for (auto [owned, events, ignored, endsAfter] : rows) {
            // A signal the keeper does not take ends nothing.
            for (const int kind : {SIGTERM, SIGINT, SIGHUP})
                std::signal(kind, kind == ignored ? SIG_IGN : Unhandled);
            ScriptedKeeper keeper;
            keeper.owned = owned;
            events += '-'; // the guard takes the clipboard away from a keeper still running
            for (int i = 0; i < events.size(); ++i)
                QTimer::singleShot(i < events.size() - 1 ? 20 * i : 300, &keeper,
                                   [&keeper, e = events[i]] { keeper.Event(e); });
            QVERIFY2(keeper.Run() == 0 && keeper.seen == endsAfter, events);
        }

        // The clipboard lost without a word from Qt, as when Qt disregards another program's
        // claim: the keeper finds out by itself within 2 s, before the guard's word comes.
        ScriptedKeeper quiet;
        QTimer::singleShot(20, &quiet, [&quiet] { quiet.owned = false; });
        QTimer::singleShot(2500, &quiet, [&quiet] { quiet.Event('-'); });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(quiet.Run() == 0 && quiet.seen == 0 && clock.elapsed() < 2000);
    }

    // Native Wayland tells no program where its window stands: the place read at start-up is
    // saved again, not the 0, 0 that the window reads there.
    void waylandKeepsTheSavedPlace()
    {
        QVERIFY(ReportsWindowPosition(u"xcb") && ReportsWindowPosition(u"offscreen"));
        QVERIFY(!ReportsWindowPosition(u"wayland") && !ReportsWindowPosition(u"wayland-egl"));
        const QByteArray saved = "053250591011110608001\r\n";
        WriteAll(IniPath(SettingsFolder()), saved);
        MainWindow t;
        t.probe.Platform() = "wayland";
        t.w.move(0, 0);
        t.w.close();
        QCOMPARE(ReadAll(IniPath(SettingsFolder())), saved);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
