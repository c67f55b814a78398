// The program on a real X server: what a copy leaves on the clipboard after Exit, for how long,
// and where the window's place is saved under a window manager.

#include "x_display.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <memory>
#include <xcb/xcb.h>

namespace {

// Left 1500, top 1200 twips (100, 80 px); digits only; lengths 10 to 12; a count of 1.
const QByteArray Settings = "015000120000101012001";
const QRegularExpression Password("^[0-9]{10,12}$");

using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;

// Takes the clipboard over as clipboard managers often do, with the very time of the copy.
Connection ClaimClipboardAt(const QString &display, xcb_timestamp_t time)
{
    Connection x(xcb_connect(qPrintable(display), nullptr), xcb_disconnect);
    xcb_connection_t *c = x.get();
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, 0, window, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0, 1,
                      1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, 0, 0, nullptr);
    auto *clipboard = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, "CLIPBOARD"), nullptr);
    xcb_set_selection_owner(c, window, clipboard->atom, time);
    free(clipboard);
    xcb_flush(c);
    return x;
}

} // namespace

class tst_Display : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (QString tool : {"Xvfb", "openbox", "wmctrl", "xprop", "xdotool", "xclip"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     qPrintable(tool + " is missing: scripts/install-deps.sh test installs it"));
    }

    void copiedPasswordStaysPasteableUntilAnotherProgramCopies()
    {
        XDisplay x;
        QVERIFY(x.startProgram(Settings));
        x.pressKeys("ctrl+c");
        const QByteArray copied = x.paste();
        x.pressKeys("Escape Escape");
        QTRY_COMPARE_WITH_TIMEOUT(x.windowShows(), false, 5000);
        QCOMPARE(Password.match(copied).hasMatch(), true);
        QCOMPARE(x.paste(), copied);
        QCOMPARE(x.paste("TARGETS").split('\n').contains("x-kde-passwordManagerHint"), true);
        x.run("xclip", {"-selection", "clipboard"}, "x\n");
        QCOMPARE(x.programEndsWithin(2000), true);
    }

    // Qt takes that claim for an old one and goes on thinking the clipboard is its own.
    void clipboardTakenWithTheCopysTimeEndsTheStay()
    {
        XDisplay x;
        QVERIFY(x.startProgram(Settings));
        x.pressKeys("ctrl+c Escape Escape");
        QTRY_COMPARE_WITH_TIMEOUT(x.windowShows(), false, 5000);
        const auto manager = ClaimClipboardAt(x.name, x.paste("TIMESTAMP").trimmed().toUInt());
        QCOMPARE(x.programEndsWithin(2000), true);
    }

    void batchOf999PastesWhole()
    {
        XDisplay x;
        QVERIFY(x.startProgram(Settings));
        x.pressKeys("9 9 9 alt+c");
        QTRY_COMPARE_WITH_TIMEOUT(x.paste().count("\r\n"), 999, 5000);
        QList<QByteArray> lines = x.paste().split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QList<QByteArray> notPasswords;
        for (const QByteArray &line : lines)
            if (!line.endsWith('\r') || !Password.match(line.chopped(1)).hasMatch())
                notPasswords += line;
        QCOMPARE(notPasswords, QList<QByteArray>());
    }

    // The frame's place is saved at Exit: openbox frames the window with a 1 px border and a 20 px
    // title bar, and full screen takes both away. A place off the screen of 1280 x 1024 opens on
    // it, where openbox's frame of 570 x 236 px fits with its corner at 710, 788 px at most.
    void placeSavedAtExit_data()
    {
        QTest::addColumn<QByteArray>("savedPlace");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addColumn<QByteArray>("placeAfterwards");
        const QByteArray onTheScreen = Settings.left(10);
        QTest::newRow("on the screen") << onTheScreen << Qt::WindowNoState << onTheScreen;
        QTest::newRow("full screen") << onTheScreen << Qt::WindowFullScreen << onTheScreen;
        QTest::newRow("far off, on a monitor since unplugged")
            << QByteArray("9999999999") << Qt::WindowNoState << QByteArray("1065011820");
        QTest::newRow("off to the right only")
            << QByteArray("1500001200") << Qt::WindowNoState << QByteArray("1065001200");
    }
    void placeSavedAtExit()
    {
        QFETCH(QByteArray, savedPlace);
        QFETCH(Qt::WindowState, state);
        QFETCH(QByteArray, placeAfterwards);
        XDisplay x;
        QVERIFY(x.startProgram(savedPlace + Settings.mid(10)));
        if (state == Qt::WindowFullScreen) {
            x.run("wmctrl", {"-i", "-r", x.window, "-b", "add,fullscreen"});
            QTRY_COMPARE_WITH_TIMEOUT(
                x.run("xprop", {"-id", x.window, "_NET_WM_STATE"}).contains("FULLSCREEN"), true,
                3000);
        }
        x.pressKeys("Escape Escape");
        QCOMPARE(x.programEndsWithin(5000), true);
        QCOMPARE(x.settings(), placeAfterwards + Settings.mid(10) + "\r\n");
    }

    void choicesSavedWhenTheXServerGoes()
    {
        XDisplay x;
        QVERIFY(x.startProgram(Settings));
        x.pressKeys("5 alt+c"); // a digit typed anywhere becomes the count
        QTRY_COMPARE_WITH_TIMEOUT(x.paste().count("\r\n"), 5, 5000); // the keys have arrived
        x.endServer();
        QCOMPARE(x.programEndsWithin(5000), true);
        QCOMPARE(x.program.exitCode(), 1);
        QCOMPARE(x.settings(), Settings.left(18) + "005\r\n");
    }

    // At the end of the session the desktop sends SIGTERM: the window saves (here the place moved
    // onto the screen) and the program ends at once, also while it stays after Exit.
    void sessionEndSavesAndEnds_data()
    {
        QTest::addColumn<bool>("afterExit");
        QTest::newRow("the window open") << false;
        QTest::newRow("the stay after Exit") << true;
    }
    void sessionEndSavesAndEnds()
    {
        QFETCH(bool, afterExit);
        XDisplay x;
        QVERIFY(x.startProgram("9999999999" + Settings.mid(10)));
        x.pressKeys("ctrl+c");
        QTRY_COMPARE_WITH_TIMEOUT(Password.match(x.paste()).hasMatch(), true, 5000);
        if (afterExit) {
            x.pressKeys("Escape Escape");
            QTRY_COMPARE_WITH_TIMEOUT(x.windowShows(), false, 5000);
        }
        x.program.terminate();
        QCOMPARE(x.programEndsWithin(2000), true);
        QCOMPARE(x.program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(x.settings(), "1065011820" + Settings.mid(10) + "\r\n");
    }
};

QTEST_GUILESS_MAIN(tst_Display)
#include "tst_display.moc"
