// The windowless stay after Exit that keeps a copied password pasteable: where the program stays
// at all, and the three ways the stay ends. Nothing here waits on a process that stays: on the
// offscreen platform the program never does, and the keeper runs in-process with a guard.

#include "desktop/clipboard_keeper.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <functional>

using namespace zintrova;

namespace {

// A keeper whose ownership of the clipboard the test decides.
struct ScriptedKeeper : ClipboardKeeper {
    bool owned = true;
    bool OwnsClipboard() const override { return owned; }
};

void ClipboardChanged(QClipboard::Mode mode)
{
    emit QGuiApplication::clipboard()->changed(mode);
}

// Runs the keeper while the given steps run, 20 ms apart. One still running after `guardMs` is
// ended by taking its clipboard away; false says that the guard had to.
bool EndsByItself(ScriptedKeeper &keeper, const std::vector<std::function<void()>> &steps,
                  int guardMs = 2000)
{
    for (std::size_t i = 0; i < steps.size(); ++i)
        QTimer::singleShot(int(i) * 20, &keeper, steps[i]);
    bool guarded = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guarded = true;
        keeper.owned = false;
        ClipboardChanged(QClipboard::Clipboard);
    });
    guard.start(guardMs);
    return keeper.Run() == 0 && !guarded;
}

extern "C" void TestSentinelHandler(int) {}

} // namespace

class TestLinger : public QObject {
    Q_OBJECT
private slots:
    void staysOnlyWhereTheCopyingProgramServesThePaste()
    {
        const struct {
            const char *platform;
            bool owns, stays;
        } rows[] = {
            {"xcb", true, true},         {"xcb", false, false},     {"wayland", true, true},
            {"wayland-egl", true, true}, {"wayland", false, false}, {"offscreen", true, false},
            {"minimal", true, false},    {"windows", true, false},  {"cocoa", true, false},
            {"eglfs", true, false},      {"xcbx", true, false},     {"", true, false}};
        for (const auto &r : rows)
            QVERIFY2(LingersAfterExit(QString::fromLatin1(r.platform), r.owns) == r.stays,
                     qPrintable(QStringLiteral("%1 %2").arg(r.platform).arg(r.owns)));
        // These tests run where the program ends at unload, as it always did.
        QVERIFY(!LingersAfterExit(QGuiApplication::platformName(), true));
    }

    void endsWhenAnotherProgramTakesTheClipboard()
    {
        // Its own copy and a change of the mouse selection do not end the stay; the clipboard
        // in other hands does, at once, and nothing after it is served.
        const struct {
            bool owned;
            QClipboard::Mode mode;
        } events[] = {{true, QClipboard::Clipboard},
                      {false, QClipboard::Selection},
                      {false, QClipboard::Clipboard},
                      {true, QClipboard::Clipboard}};
        ScriptedKeeper keeper;
        int seen = 0;
        std::vector<std::function<void()>> steps;
        for (const auto e : events)
            steps.push_back([&, e] { ++seen, keeper.owned = e.owned, ClipboardChanged(e.mode); });
        QVERIFY(EndsByItself(keeper, steps));
        QCOMPARE(seen, 3);
        // Lost between the decision and the start: no stay at all.
        ScriptedKeeper late;
        late.owned = false;
        QVERIFY(EndsByItself(late, {}, 300));
    }

    void endsOnTerminationSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("ignored");
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGINT") << int(SIGINT) << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
        QTest::newRow("SIGHUP ignored at start") << int(SIGHUP) << true;
        QTest::newRow("SIGTERM ignored at start") << int(SIGTERM) << true;
    }
    void endsOnTerminationSignal()
    {
        QFETCH(int, signal);
        QFETCH(bool, ignored);
        const auto handler = ignored ? SIG_IGN : TestSentinelHandler;
        struct sigaction runner = {}, set = {}, now = {};
        set.sa_handler = handler;
        sigaction(signal, &set, &runner);
        {
            ScriptedKeeper keeper;
            sigaction(signal, nullptr, &now);
            // Ours only where it was not ignored; so the raise below never ends the test runner.
            QCOMPARE(now.sa_handler == handler, ignored);
            QCOMPARE(EndsByItself(keeper, {[=] { raise(signal); }}, 300), !ignored);
        }
        sigaction(signal, &runner, &now);
        QVERIFY(now.sa_handler == handler); // the keeper put the previous handling back
    }
};

QTEST_MAIN(TestLinger)
#include "tst_linger.moc"
