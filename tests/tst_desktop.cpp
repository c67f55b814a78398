// The program among other desktop programs and in a hostile environment: texts that read in a
// dark scheme and in any font, names for screen readers, the help, a random source that fails,
// the settings file against odd files, modes, links, pipes and places, signals, the stay after
// Exit, and native Wayland's unknown window position.

#include "about/fmAbout.h"
#include "app/session.h"
#include "controls/contrast.h"
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
        if (n >= 0) raise(std::array{SIGTERM, SIGINT, SIGHUP}[n]);
        // After a signal, a change of its own clipboard, which ends nothing by itself.
        emit QGuiApplication::clipboard()->changed(e == 's' ? QClipboard::Selection
                                                            : QClipboard::Clipboard);
    }
};

void Unhandled(int) {}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    // Both windows in a font and a colour scheme that arrives after the count has set its mode:
    // as the application's palette, or also to every widget one by one, replacing the colours the
    // program set, as Debian's qt6ct does. The count box keeps each mode's background and its text
    // reads at 4.5:1, as do the About window's title and link (the darker scheme's own link colour
    // reads at only 4.1:1); the light scheme keeps the designed colours. "Visit ... for other
    // freewares." keeps a blank between its parts.
    void inEachSchemeAndFont_data()
    {
        QTest::addColumn<int>("arrives"); // 0: the light scheme stays, 1: to the application,
                                          // 2: also to each widget
        QTest::addColumn<QString>("family");
        QTest::newRow("light") << 0 << "Liberation Sans";
        QTest::newRow("darker") << 1 << "DejaVu Serif";
        QTest::newRow("darker, to each widget") << 2 << "Nimbus Sans Narrow";
    }
    void inEachSchemeAndFont()
    {
        QFETCH(int, arrives);
        QFETCH(QString, family);
        QPalette light = QApplication::palette(), scheme(QColor(34, 32, 32));
        scheme.setColor(QPalette::Link, QColor(9, 134, 211));
        scheme = arrives ? scheme : light;
        const auto restore = qScopeGuard([&] {
            QApplication::setPalette(light);
            QFont::removeSubstitutions("MS Sans Serif");
        });
        QFont::insertSubstitution("MS Sans Serif", family);
        for (auto [count, back] : {std::pair{"0", QColor(255, 128, 128)},
                                   {"1", scheme.base().color()},
                                   {"5", QColor(255, 255, 192)}}) {
            QApplication::setPalette(light);
            fmMain w;
            fmAbout about;
            w.txNum->setText(count);
            QApplication::setPalette(scheme);
            for (QWidget *widget : QApplication::allWidgets())
                if (arrives == 2) widget->setPalette(scheme);
            QTest::qWait(20); // the change's events, then what the windows do after them
            const QColor text = w.txNum->ForeColor();
            QCOMPARE(w.txNum->BackColor(), back);
            QVERIFY2(ContrastRatio(text.rgb(), back.rgb()) >= 4.5 &&
                         (arrives || text == light.text().color()),
                     count);
            const auto label = [&](const char *n) { return about.findChild<QLabel *>(n); };
            for (auto [name, designed] :
                 {std::pair{"lblTitle", QColor(Qt::black)}, {"lblLink", QColor(0, 0, 192)}}) {
                const QColor c = label(name)->palette().windowText().color();
                QVERIFY2(ContrastRatio(c.rgb(), scheme.window().color().rgb()) >= 4.5 &&
                             (arrives || c == designed),
                         name);
            }
            const int blank = label("Label3")->fontMetrics().horizontalAdvance(' ');
            QVERIFY(label("Label3")->geometry().right() + blank < label("lblLink")->x());
            QVERIFY(label("lblLink")->geometry().right() + blank < label("Label5")->x());
        }
    }

    // A password of 8 characters takes 17 draws: a 1024-word block gives 60, and its rest is
    // dropped. So with 0, 1 or 2 good fills the composer gives 0, 60 or 120 different
    // passwords, then none: the window shows none and copies nothing, singly and in a batch.
    void noPasswordFromAFailedFill()
    {
        for (const auto &[good, count] : {std::pair{0, "1"}, {1, "99"}, {2, "150"}}) {
            MainWindow t;
            t.w.sldLen[0]->setValue(8);
            t.w.txNum->setText(count);
            t.shown.clear();
            // The system's own fill, but the one after `good` fills fails and leaves the block as
            // it was; the next works again.
            SystemRandom failing([good = good](std::uint32_t *begin, std::uint32_t *end) mutable {
                return good-- != 0 && SystemRandom::FillRaw(begin, end);
            });
            t.probe.Random() = &failing;
            t.probe.GeneratePass();
            t.click(t.w.cmCopy);
            QCOMPARE(t.shown.removeDuplicates(), 0);
            QVERIFY(t.shown.size() == 60 * good && t.password().isEmpty());
            QVERIFY(t.clipboard() == UsersOwnText && t.probe.Busy() == 0);
            QVERIFY(t.w.lbPass->toolTip().contains("cannot get secure random numbers"));
            t.probe.GeneratePass();
            QCOMPARE(t.w.lbPass->toolTip(), "");
        }
    }

    // Under nohup SIGHUP is ignored, in a background job SIGINT: the program keeps running. The
    // others close the window, which saves.
    void ignoredSignalsStayIgnored()
    {
        for (auto [signal, ignored] : {std::pair{SIGHUP, true},
                                       {SIGINT, true},
                                       {SIGHUP, false},
                                       {SIGINT, false},
                                       {SIGTERM, false}}) {
            std::signal(signal, ignored ? SIG_IGN : SIG_DFL);
            QFile::remove(IniPath(SettingsFolder()));
            MainWindow t;
            const SessionEnd sessionEnd(&t.w);
            std::raise(signal);
            QTest::qWait(100);
            QVERIFY(t.w.isVisible() == ignored && sessionEnd.Signalled() != ignored);
            QCOMPARE(QFile::exists(IniPath(SettingsFolder())), !ignored);
        }
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
    // child process, each right after the pipe made way for the file (the next swap comes soon),
    // all end; none waits for a writer to the pipe.
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
                for (QByteArray seen; seen != "pf" && !deadline.hasExpired();) {
                    struct stat st {};
                    seen =
                        seen.right(1) + (lstat(path, &st) == 0 && S_ISFIFO(st.st_mode) ? 'p' : 'f');
                }
                ReadRecordFile(QFile::decodeName(path));
            }
            _exit(0);
        }
        int status = 0;
        pid_t ended = 0;
        for (QDeadlineTimer deadline(3500); ended == 0 && !deadline.hasExpired(); usleep(10000))
            ended = waitpid(reader, &status, WNOHANG);
        if (ended != reader) kill(reader, SIGKILL), waitpid(reader, &status, 0);
        QVERIFY2(ended == reader, "the reads do not end");
        QCOMPARE(status, 0); // ended by itself, and every swap worked
    }

    // The program stays after Exit only where it serves the paste itself, and the stay ends when
    // the clipboard is taken over or a signal the user did not ignore comes.
    void stayAfterExit()
    {
        for (auto [platform, stays] :
             {std::pair{"xcb", true}, {"wayland-egl", true}, {"offscreen", false}})
            QVERIFY2(LingersAfterExit(QString(platform), true) == stays &&
                         !LingersAfterExit(QString(platform), false),
                     platform);
        // Events 20 ms apart while the keeper runs: k its own copy, s the mouse selection and l
        // the clipboard taken by another program, T I H the signals SIGTERM, SIGINT and SIGHUP,
        // one of them perhaps ignored since the program started. Owned at the start, the events,
        // the signal ignored, and how many events had come when the stay ended, or -1 where a
        // guard had to end it.
        const std::tuple<bool, QByteArray, int, int> rows[] = {{true, "kslk", 0, 3},
                                                               {false, "k", 0, 0},
                                                               {true, "kT", 0, 2},
                                                               {true, "I", 0, 1},
                                                               {true, "H", SIGHUP, -1}};
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
        const QByteArray saved = "053250591011110608001\r\n";
        WriteAll(IniPath(SettingsFolder()), saved);
        MainWindow t;
        t.probe.Platform() = "wayland-egl";
        t.w.move(0, 0);
        t.w.close();
        QCOMPARE(ReadAll(IniPath(SettingsFolder())), saved);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
