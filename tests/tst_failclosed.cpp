// Failing closed: a random source whose fill fails gives no password anywhere; a settings write
// that fails leaves the old file, and the writer keeps to regular files and leaves them readable;
// signals the user ignored stay ignored; core dumps are off.

#include "app/hardening.h"
#include "app/session.h"
#include "script.h"
#include "settings/ini_file.h"

#include <QTemporaryDir>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

// The type and mode of what is at the path and, for a regular file, its content.
QByteArray State(const QString &path)
{
    struct stat st {};
    QFile f(path);
    const QByteArray mode =
        QByteArray::number(stat(QFile::encodeName(path), &st) ? 0 : st.st_mode, 8);
    return S_ISREG(st.st_mode) && f.open(QIODevice::ReadOnly) ? mode + ' ' + f.readAll() : mode;
}

const QByteArray Old = "015000120011110608025\r\n", Long(300, 'x');
const std::string New = "000000000011110608001";

// What is at the path (a file, a link to one, a link to a pipe, a pipe, a link to nothing, a
// folder, nothing), the mode and content of the file, whether the write itself fails, and the
// mode the file then has (0: nothing is written; a new file has what the umask 022 leaves).
const std::tuple<const char *, int, QByteArray, bool, int> Writes[] = {
    {"file", 0000, Old, false, 0600},  {"file", 0200, Old, false, 0600},
    {"file", 0444, Old, false, 0644},  {"file", 0644, Long, false, 0644},
    {"file", 0644, Long, true, 0},     {"link", 0000, Old, false, 0600},
    {"link to pipe", 0, {}, false, 0}, {"pipe", 0, {}, false, 0},
    {"broken link", 0, {}, false, 0},  {"folder", 0, {}, false, 0},
    {"nothing", 0, {}, false, 0644}};
constexpr int Rows = int(std::size(Writes));

} // namespace

class TestFailClosed : public QObject {
    Q_OBJECT
private slots:
    // A password of 8 characters takes 17 draws: a 1024-word block gives 60, and its rest is
    // dropped. So with 0, 1 or 2 good fills the composer gives 0, 60 or 120 different
    // passwords, then none: the window shows none and copies nothing, singly and in a batch.
    void noPasswordFromAFailedFill()
    {
        for (const auto &[good, count] : {std::pair{0, "1"}, {1, "99"}, {2, "150"}}) {
            Shown s;
            s.p.sldLen(0)->setValue(8);
            s.p.txNum()->setText(count);
            s.passwords.clear();
            // The system's own fill, but the one after `good` fills fails and leaves the block as
            // it was.
            SystemRandom failing([good = good](std::uint32_t *begin, std::uint32_t *end) mutable {
                return good-- != 0 && SystemRandom::FillRaw(begin, end);
            });
            s.p.Random() = &failing;
            s.p.GeneratePass();
            s.p.cmCopy_Click();
            QCOMPARE(s.passwords.removeDuplicates(), 0); // never a repeated password
            QCOMPARE(s.passwords.size(), 60 * good);
            QCOMPARE(s.p.lbPass()->Caption(), QString());
            QCOMPARE(QGuiApplication::clipboard()->text(), Sentinel);
            QVERIFY(s.p.lbPass()->toolTip().contains("cannot get secure random numbers"));
            QCOMPARE(s.p.Busy(), std::int16_t(0));
            s.p.GeneratePass(); // a source that works again brings the password back
            QCOMPARE(s.p.lbPass()->toolTip(), QString());
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
            Shown s;
            const SessionEnd sessionEnd(&s.w);
            std::raise(signal);
            QTest::qWait(100);
            QCOMPARE(s.w.isVisible(), ignored);
            QCOMPARE(QFile::exists(IniPath(SettingsFolder())), !ignored);
        }
    }

    // Off unless a developer asks for them with exactly "1".
    void coreDumps()
    {
        for (const char *allow : {"1", "", "yes"}) {
            rlimit core{};
            getrlimit(RLIMIT_CORE, &core);
            const rlim_t max = core.rlim_cur = core.rlim_max; // so that turning it off shows
            setrlimit(RLIMIT_CORE, &core);
            prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
            qputenv("ZINTROVA_ALLOW_CORE_DUMPS", allow);
            DisableCoreDumps();
            const bool on = QByteArray(allow) == "1";
            getrlimit(RLIMIT_CORE, &core);
            QCOMPARE(core.rlim_cur, on ? max : rlim_t(0));
            QCOMPARE(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), on ? 1 : 0);
        }
    }

    void settingsWrite_data()
    {
        // Root may read and write any file: the writes run as the user "nobody" (real and
        // effective, as access() checks the real one), for whom the modes count; the saved user
        // stays root to come back.
        QVERIFY(geteuid() != 0 || setresuid(65534, 65534, 0) == 0);
        QTest::addColumn<int>("row"); // the second half writes in place
        for (int i = 0; i < 2 * Rows; ++i) {
            const auto &[what, mode, old, fail, after] = Writes[i % Rows];
            QTest::addRow("%s %o%s%s", what, mode, fail ? ", failing" : "",
                          i < Rows ? "" : ", in place")
                << i;
        }
    }
    void settingsWrite()
    {
        QFETCH(int, row);
        const bool inPlace = row >= Rows;
        const auto &[what, mode, old, fail, after] = Writes[row % Rows];
        QTemporaryDir dir;
        const QString path = dir.filePath("Zintrova.ini"), target = dir.filePath("elsewhere");
        const bool link = QByteArray(what).contains("link");
        const QByteArray file = QFile::encodeName(link ? target : path);
        if (!old.isEmpty()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
            QCOMPARE(chmod(file, mode_t(mode)), 0);
        }
        if (QByteArray(what).contains("pipe")) QCOMPARE(mkfifo(file, 0600), 0);
        if (QByteArray(what) == "folder") QCOMPARE(mkdir(file, 0700), 0);
        if (link) QCOMPARE(symlink(QFile::encodeName(target), QFile::encodeName(path)), 0);
        umask(022);
        const int want = inPlace && old.isEmpty() ? 0 : after; // in place only over a file
        const QByteArray before = State(path);
        const ContentWrite normal = ContentWriter();
        if (fail) ContentWriter() = [](QFileDevice &, const QByteArray &) { return false; };
        const bool written = inPlace ? OverwriteRecordFile(path, New) : WriteRecordFile(path, New);
        ContentWriter() = normal;
        QCOMPARE(written, want != 0);
        QCOMPARE(QFileInfo(path).isSymLink(), link); // a link stays a link
        // Written: the new record alone; else as it was (the pipe, the folder, the old content).
        const QByteArray saved = QByteArray::number(S_IFREG | want, 8) + ' ' + New.c_str() + "\r\n";
        QCOMPARE(State(path), written ? saved : before);
    }
    void cleanupTestCase() { QVERIFY(getuid() != 65534 || setresuid(0, 0, 0) == 0); }
};

QTEST_MAIN(TestFailClosed)
#include "tst_failclosed.moc"
