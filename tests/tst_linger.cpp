// The windowless stay after Exit that keeps a copied password pasteable: where the program stays
// at all, and how the stay ends. Nothing here waits on a process that stays: on the offscreen
// platform the program never does, and the keeper runs in-process with a guard.

#include "desktop/clipboard_keeper.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QtTest>
#include <csignal>

using namespace zintrova;

namespace {

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

extern "C" void TestSentinelHandler(int) {}

} // namespace

class TestLinger : public QObject {
    Q_OBJECT
private slots:
    void staysOnlyWhereTheCopyingProgramServesThePaste()
    {
        const std::tuple<const char *, bool, bool> rows[] = {
            {"xcb", true, true},         {"xcb", false, false},     {"wayland", true, true},
            {"wayland-egl", true, true}, {"wayland", false, false}, {"offscreen", true, false},
            {"minimal", true, false},    {"windows", true, false},  {"cocoa", true, false},
            {"eglfs", true, false},      {"xcbx", true, false},     {"", true, false}};
        for (const auto &[platform, owns, stays] : rows)
            QVERIFY2(LingersAfterExit(QString::fromLatin1(platform), owns) == stays, platform);
        // These tests run where the program ends at unload, as it always did.
        QVERIFY(!LingersAfterExit(QGuiApplication::platformName(), true));
    }

    // Events 20 ms apart while the keeper runs: k its own copy, s the mouse selection and l the
    // clipboard taken by another program, T I H the signals SIGTERM, SIGINT and SIGHUP, one of
    // them perhaps ignored since the program started. How many had come when the stay ended, or
    // -1 where a guard had to end it.
    void ends()
    {
        // Owned at the start, the events, the signal ignored and how many events came.
        const std::tuple<bool, QByteArray, int, int> rows[] = {
            {true, "kslk", 0, 3},    {false, "k", 0, 0}, {true, "kT", 0, 2},
            {true, "I", 0, 1},       {true, "H", 0, 1},  {true, "H", SIGHUP, -1},
            {true, "T", SIGTERM, -1}};
        for (auto [owned, events, ignored, endsAfter] : rows) {
            // A signal the keeper does not take ends nothing.
            for (const int kind : {SIGTERM, SIGINT, SIGHUP})
                std::signal(kind, kind == ignored ? SIG_IGN : TestSentinelHandler);
            ScriptedKeeper keeper;
            keeper.owned = owned;
            events += '-'; // the guard takes the clipboard away from a keeper still running
            for (int i = 0; i < events.size(); ++i)
                QTimer::singleShot(i < events.size() - 1 ? 20 * i : 300, &keeper,
                                   [&keeper, e = events[i]] { keeper.Event(e); });
            QVERIFY2(keeper.Run() == 0 && keeper.seen == endsAfter, events);
        }
    }
};

QTEST_MAIN(TestLinger)
#include "tst_linger.moc"
