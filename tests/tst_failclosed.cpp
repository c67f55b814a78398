// Failing closed: a random source whose fill fails gives no password anywhere; a settings write
// that fails leaves the old file, and the writer keeps to regular files and leaves them readable;
// signals the user ignored stay ignored; core dumps are off.

#include "app/hardening.h"
#include "app/session.h"
#include "engine/composer.h"
#include "script.h"
#include "settings/ini_file.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <set>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

// A system fill that works `good` times and then fails, leaving the block scribbled over as a
// read that gave up half-way would.
SystemRandom::Fill FailingFill(int good)
{
    return [good, calls = 0](std::uint32_t *begin, std::uint32_t *end) mutable {
        const bool ok = calls++ < good;
        for (std::uint32_t *w = begin; w != end; ++w) { // a hash of the word's number
            std::uint32_t x =
                ((std::uint32_t(calls) << 16) ^ std::uint32_t(w - begin)) * 0x9E3779B1u;
            x = (x ^ (x >> 15)) * 0x85EBCA77u;
            *w = ok ? x ^ (x >> 13) : 0u;
        }
        return ok;
    };
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

int Mode(const QString &path, bool follow = true)
{
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    return (follow ? stat(name, &st) : lstat(name, &st)) ? 0 : int(st.st_mode);
}

const QByteArray Old = "015000120011110608025\r\n";
const std::string New = "000000000011110608001";

} // namespace

class TestFailClosed : public QObject {
    Q_OBJECT
private slots:
    void composerDrawsNothingFromAFailedFill();
    void windowShowsAndCopiesNothing();
    void settingsWrite_data();
    void settingsWrite();
    void ignoredSignalsStayIgnored();
    void coreDumps();
};

// Passwords of length 40 take 81 draws: a 1024-word block gives 12, and its rest is dropped. So
// with 0, 1 or 2 good fills there are 0, 12 or 24 passwords, then none.
void TestFailClosed::composerDrawsNothingFromAFailedFill()
{
    const SetArray use = {"", "abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                          "0123456789"};
    for (const int goodFills : {0, 1, 2}) {
        SystemRandom random(FailingFill(goodFills));
        std::set<std::string> seen;
        for (int i = 0; i < 12 * goodFills; ++i) {
            std::int16_t m = 0;
            seen.insert(ComposePassword(40, 40, use, use[1] + use[2] + use[3], random, m));
        }
        QCOMPARE(int(seen.size()), 12 * goodFills); // never a repeated password
        QCOMPARE(int(seen.begin()->size()), goodFills ? 40 : 0);
        for (int i = 0; i < 3; ++i) { // and it stays so: nothing drawn from what the fill left
            std::int16_t m = -7;
            QCOMPARE(ComposePassword(3, 40, use, use[1], random, m), std::string());
            QCOMPARE(m, std::int16_t(-7));
        }
    }
}

// A single copy, a batch whose first password fails, and one that fails after 12.
void TestFailClosed::windowShowsAndCopiesNothing()
{
    for (const auto &[count, goodFills] : {std::pair{"1", 0}, {"5", 0}, {"20", 1}}) {
        fmMain w;
        fmMainProbe p{w};
        QGuiApplication::clipboard()->setText("the user's own");
        p.sldLen(1)->setValue(40);
        p.sldLen(0)->setValue(40);
        p.txNum()->setText(count);
        SystemRandom failing(FailingFill(goodFills));
        p.Random() = &failing;
        p.GeneratePass();
        p.cmCopy_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), "the user's own");
        QCOMPARE(p.lbPass()->Caption(), QString());
        QVERIFY(p.lbPass()->toolTip().contains("cannot get secure random numbers"));
        QCOMPARE(p.Busy(), std::int16_t(0));
        QCOMPARE(p.cmCopy()->text(),
                 QByteArray(count) != "1" ? "Multi&copy" : "&Copy to Clipboard");
        p.Random() = &ProgramRandom(); // a source that works again brings the password back
        p.GeneratePass();
        QCOMPARE(p.lbPass()->Caption().size(), 40);
        QCOMPARE(p.lbPass()->toolTip(), QString());
    }
}

// What is at the path (a file of some mode and content, a link to one, a link to a pipe, a pipe,
// a link to nothing, a folder, nothing), through which writer, whether the write itself fails,
// and the mode the target then has (0: nothing was written).
void TestFailClosed::settingsWrite_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<bool>("fail");
    QTest::addColumn<int>("after");
    const mode_t mask = umask(0);
    umask(mask);
    for (const bool inPlace : {false, true}) {
        const auto row = [&](const QString &what, int mode, const QByteArray &old, bool fail,
                             int after) {
            QTest::addRow("%s %o, %d bytes%s%s", qPrintable(what), mode, int(old.size()),
                          fail ? ", failing" : "", inPlace ? ", in place" : "")
                << what << mode << old << inPlace << fail << after;
        };
        for (const int mode : {0000, 0200, 0400, 0444, 0640})
            row("file", mode, Old, false, mode | 0600);
        for (const QByteArray &old : {Old, QByteArray(300, 'x'), QByteArray("7\r\n")}) {
            row("file", 0644, old, true, 0);
            row("file", 0644, old, false, 0644);
        }
        row("link", 0000, Old, false, 0600);
        row("link", 0644, Old, true, 0);
        for (const char *what : {"link to pipe", "pipe", "broken link", "folder"})
            row(what, 0, {}, false, 0);
        row("nothing", 0, {}, false, inPlace ? 0 : int(0666 & ~mask));
    }
}

void TestFailClosed::settingsWrite()
{
    QFETCH(QString, what);
    QFETCH(int, mode);
    QFETCH(QByteArray, old);
    QFETCH(bool, inPlace);
    QFETCH(bool, fail);
    QFETCH(int, after);
    QTemporaryDir dir;
    const QString path = dir.filePath("Zintrova.ini"), target = dir.filePath("elsewhere");
    const QString file = what.startsWith("link") ? target : path;
    if (what == "file" || what == "link") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
        QCOMPARE(chmod(QFile::encodeName(file), mode_t(mode)), 0);
    }
    if (what.contains("pipe")) QCOMPARE(mkfifo(QFile::encodeName(file), 0600), 0);
    if (what == "folder") QVERIFY(QDir(dir.path()).mkdir("Zintrova.ini"));
    if (what.contains("link"))
        QCOMPARE(symlink(QFile::encodeName(target), QFile::encodeName(path)), 0);
    const int before = Mode(path);
    const ContentWrite normal = ContentWriter();
    if (fail) ContentWriter() = [](QFileDevice &, const QByteArray &) { return false; };
    const bool written = inPlace ? OverwriteRecordFile(path, New) : WriteRecordFile(path, New);
    ContentWriter() = normal;
    QCOMPARE(written, after != 0);
    if (what.contains("link")) QVERIFY(S_ISLNK(Mode(path, false))); // the link stays a link
    QVERIFY(QDir(dir.path()).entryList({"Zintrova.ini.*"}, QDir::Files | QDir::Hidden).isEmpty());
    if (!written) {
        QCOMPARE(Mode(path), before); // the pipe, the folder: as they were
        if (!old.isEmpty()) QCOMPARE(ReadAll(path), old);
        return;
    }
    QCOMPARE(Mode(path) & 07777, after);
    QCOMPARE(ReadAll(path), QByteArray::fromStdString(New) + "\r\n"); // the next start reads it
}

// Under nohup SIGHUP is ignored, in a background job SIGINT; the others end the program.
void TestFailClosed::ignoredSignalsStayIgnored()
{
    for (const auto &[signal, ignored] :
         {std::pair{SIGHUP, true}, {SIGINT, true}, {SIGHUP, false}, {SIGTERM, false}}) {
        std::signal(signal, ignored ? SIG_IGN : SIG_DFL);
        const QString ini = IniPath(SettingsFolder());
        QFile::remove(ini);
        {
            fmMain w;
            const SessionEnd sessionEnd(&w);
            w.show();
            struct sigaction now {};
            sigaction(signal, nullptr, &now);
            QCOMPARE(now.sa_handler == SIG_IGN, ignored);
            std::raise(signal);
            QTest::qWait(100);
            QCOMPARE(w.isVisible(), ignored);       // an ignored signal leaves the program running
            QCOMPARE(QFile::exists(ini), !ignored); // the others close the window, which saves
        }
        std::signal(signal, SIG_DFL);
    }
}

// Off unless a developer asks for them with exactly "1".
void TestFailClosed::coreDumps()
{
    for (const char *allow : {"1", "", "yes"}) {
        rlimit core{};
        getrlimit(RLIMIT_CORE, &core);
        core.rlim_cur = core.rlim_max; // as high as it goes, so that turning it off shows
        setrlimit(RLIMIT_CORE, &core);
        prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
        qputenv("ZINTROVA_ALLOW_CORE_DUMPS", allow);
        DisableCoreDumps();
        const bool on = QByteArray(allow) == "1";
        rlimit now{};
        getrlimit(RLIMIT_CORE, &now);
        QCOMPARE(now.rlim_cur, on ? core.rlim_max : rlim_t(0));
        QCOMPARE(now.rlim_max, core.rlim_max);
        QCOMPARE(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), on ? 1 : 0);
    }
}

QTEST_MAIN(TestFailClosed)
#include "tst_failclosed.moc"
