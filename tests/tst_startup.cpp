// What the process does for itself before any window: core dumps off, secure random numbers from
// the kernel or none at all.

#include "app/hardening.h"
#include "app/session.h"
#include "engine/random_source.h"
#include "settings/pending_record.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zintrova;

namespace {

// Runs `report` in a child process and hands back what it returned, or nothing where the child
// ended without a word. The child never returns into the test.
template <class Result, class Report> std::optional<Result> InChild(Report report)
{
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        const Result result = report();
        _exit(write(channel[1], &result, sizeof result) == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    Result result{};
    const bool said = read(channel[0], &result, sizeof result) == sizeof result;
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return said ? std::optional(result) : std::nullopt;
}

struct CoreFiles {
    rlim_t soft;
    int dumpable;
};

enum class Fill { Filled, NotFilled, NoMountNamespace, NoSeccomp };

// What stands at /dev/urandom: the kernel's device, /dev/zero bound over it, or nothing.
enum class Urandom { Kernel, Zero, Missing };

// From now on getrandom(2) fails with `error` in this process, as in a sandbox that refuses it.
bool RefuseGetrandom(int error)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_getrandom, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (error & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
    const sock_fprog program{std::size(filter), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

Q_DECLARE_METATYPE(Urandom)

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    // Started from a shell that allows core files, the program leaves none, and no other process
    // of the user may read its memory, unless ZINTROVA_ALLOW_CORE_DUMPS is 1.
    void coreDumpsOff_data()
    {
        QTest::addColumn<QByteArray>("allow"); // the switch, unset where null
        QTest::addColumn<bool>("off");
        QTest::newRow("no switch") << QByteArray() << true;
        QTest::newRow("switch 1") << QByteArray("1") << false;
    }
    void coreDumpsOff()
    {
        QFETCH(QByteArray, allow);
        QFETCH(bool, off);
        rlimit core{};
        QCOMPARE(getrlimit(RLIMIT_CORE, &core), 0);
        if (core.rlim_max == 0) QSKIP("core files are not allowed here in the first place");
        const auto after = InChild<CoreFiles>([&] {
            rlimit allowed{core.rlim_max, core.rlim_max}; // as after `ulimit -c unlimited`
            setrlimit(RLIMIT_CORE, &allowed);
            prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
            allow.isNull() ? unsetenv("ZINTROVA_ALLOW_CORE_DUMPS")
                           : setenv("ZINTROVA_ALLOW_CORE_DUMPS", allow.constData(), 1);
            DisableCoreDumps();
            rlimit now{};
            getrlimit(RLIMIT_CORE, &now);
            return CoreFiles{now.rlim_cur, prctl(PR_GET_DUMPABLE, 0, 0, 0, 0)};
        });
        QVERIFY(after);
        QCOMPARE(after->soft, off ? 0 : core.rlim_max);
        QCOMPARE(after->dumpable, off ? 0 : 1);
    }

    // Where a sandbox refuses getrandom, the kernel's random device fills the block, but only
    // the real one (character device 1:8 or 1:9), not another device put under its name, and
    // nothing fills it where there is no device. Any other failure of getrandom gives no numbers.
    void randomWithoutGetrandom_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<Urandom>("device");
        QTest::addColumn<bool>("filled");
        QTest::newRow("refused: the device") << EPERM << Urandom::Kernel << true;
        QTest::newRow("refused, /dev/zero in its place") << EPERM << Urandom::Zero << false;
        QTest::newRow("refused, no device") << EPERM << Urandom::Missing << false;
        QTest::newRow("failed: nothing") << EINVAL << Urandom::Kernel << false;
    }
    void randomWithoutGetrandom()
    {
        QFETCH(int, error);
        QFETCH(Urandom, device);
        const auto got = InChild<Fill>([&] {
            // Put there in a mount namespace of the child's own, which goes with it.
            if (device != Urandom::Kernel &&
                (unshare(CLONE_NEWNS) != 0 ||
                 mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                 (device == Urandom::Zero
                      ? mount("/dev/zero", "/dev/urandom", nullptr, MS_BIND, nullptr)
                      : mount("none", "/dev", "tmpfs", 0, nullptr)) != 0))
                return Fill::NoMountNamespace;
            if (!RefuseGetrandom(error)) return Fill::NoSeccomp;
            std::array<std::uint32_t, SystemRandom::BlockWords> block{};
            const bool filled = SystemRandom::FillRaw(block.begin(), block.end());
            return filled ? Fill::Filled : Fill::NotFilled;
        });
        QVERIFY(got);
        if (*got == Fill::NoMountNamespace) QSKIP("the child cannot have mounts of its own");
        if (*got == Fill::NoSeccomp) QSKIP("the child cannot refuse itself getrandom");
        QTEST(*got == Fill::Filled, "filled");
    }

    // In a Wayland session, where a program may not place its own window, the program starts on
    // X11 where XWayland is there, unless the user chose the platform.
    void startsOnX11InAWaylandSession_data()
    {
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("qtPlatform");
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<bool>("onX11");
        const QByteArrayList none;
        QTest::newRow("Wayland with XWayland") << "wayland-0"
                                               << ""
                                               << ":0"
                                               << "" << none << true;
        QTest::newRow("a Wayland session") << ""
                                           << "wayland"
                                           << ":0"
                                           << "" << none << true;
        QTest::newRow("no XWayland") << "wayland-0"
                                     << "wayland"
                                     << ""
                                     << "" << none << false;
        QTest::newRow("an X11 session") << ""
                                        << "x11"
                                        << ":0"
                                        << "" << none << false;
        QTest::newRow("QT_QPA_PLATFORM set") << "wayland-0"
                                             << ""
                                             << ":0"
                                             << "wayland" << none << false;
        QTest::newRow("-platform given") << "wayland-0"
                                         << ""
                                         << ":0"
                                         << "" << QByteArrayList{"-platform", "wayland"} << false;
        QTest::newRow("--platform given") << "wayland-0"
                                          << ""
                                          << ":0"
                                          << "" << QByteArrayList{"--platform", "wayland"} << false;
        QTest::newRow("another option") << "wayland-0"
                                        << ""
                                        << ":0"
                                        << "" << QByteArrayList{"-style", "fusion"} << true;
    }
    void startsOnX11InAWaylandSession()
    {
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, sessionType);
        QFETCH(QString, display);
        QFETCH(QString, qtPlatform);
        QFETCH(QByteArrayList, arguments);
        const auto set = [](const char *name, const QString &value) {
            value.isEmpty() ? qunsetenv(name) : qputenv(name, value.toUtf8());
        };
        set("WAYLAND_DISPLAY", waylandDisplay);
        set("XDG_SESSION_TYPE", sessionType);
        set("DISPLAY", display);
        set("QT_QPA_PLATFORM", qtPlatform);
        std::vector<char *> argv{const_cast<char *>("zintrova")};
        for (QByteArray &argument : arguments)
            argv.push_back(argument.data());
        QTEST(StartOnX11(CurrentDisplayEnvironment(int(argv.size()), argv.data())), "onX11");
    }

    // A program that ends by exit(), as Qt ends it when its display has gone, writes the record
    // that was pending, whole.
    void exitWritesThePendingRecord()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath("Zintrova.ini");
        const std::string record = "015000120000101012005";
        const pid_t child = fork();
        if (child == 0) {
            SaveSettingsOnDisplayLoss();
            settings::KeepPendingRecord(record, file);
            std::exit(0);
        }
        int status = -1;
        QCOMPARE(waitpid(child, &status, 0), child);
        QCOMPARE(WIFEXITED(status), true); // under LeakSanitizer with a status of its own
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray::fromStdString(record) + "\r\n");
    }
};

QTEST_APPLESS_MAIN(TestStartup)
#include "tst_startup.moc"
