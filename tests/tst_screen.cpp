// The window on the screens it finds, and its settings when the display goes away.

#include "app/session.h"
#include "desktop/placement.h"
#include "settings/ini_file.h"
#include "settings/record.h"
#include "window_fixture.h"

#include <QScreen>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

const QRect Laptop(0, 0, 1280, 800);
const QRect MonitorOnTheRight(1280, 0, 1920, 1080);
const QSize Window(570, 236);

QString SettingsFile()
{
    return IniPath(SettingsFolder());
}

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
private slots:
    void init() { QFile::remove(SettingsFile()); }

    void windowStaysWhollyOnAScreen_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QPoint>("opened");
        const QList<QRect> laptop{Laptop}, docked{Laptop, MonitorOnTheRight};
        QTest::newRow("on the screen: kept to the pixel")
            << QPoint(300, 200) << laptop << QPoint(300, 200);
        QTest::newRow("touching the bottom right corner")
            << QPoint(710, 564) << laptop << QPoint(710, 564);
        QTest::newRow("one pixel past the right edge")
            << QPoint(711, 200) << laptop << QPoint(710, 200);
        QTest::newRow("half off to the bottom right")
            << QPoint(1000, 600) << laptop << QPoint(710, 564);
        QTest::newRow("larger than the screen")
            << QPoint(50, 50) << QList<QRect>{{0, 0, 400, 200}} << QPoint(0, 0);
        QTest::newRow("only wider than the screen")
            << QPoint(50, 50) << QList<QRect>{{0, 0, 400, 800}} << QPoint(0, 50);
        QTest::newRow("on the second screen: kept")
            << QPoint(2000, 500) << docked << QPoint(2000, 500);
        QTest::newRow("across both screens, mostly on the second")
            << QPoint(1200, 100) << docked << QPoint(1280, 100);
        QTest::newRow("off both screens: onto the primary one")
            << QPoint(-5000, 3000) << docked << QPoint(0, 564);
        QTest::newRow("a primary screen right of the other: onto the primary")
            << QPoint(-5000, 3000) << QList<QRect>{MonitorOnTheRight, Laptop} << QPoint(1280, 844);
        QTest::newRow("below a panel: the panel's strip is not free")
            << QPoint(300, 0) << QList<QRect>{{0, 32, 1280, 768}} << QPoint(300, 32);
    }
    void windowStaysWhollyOnAScreen()
    {
        QFETCH(QPoint, saved);
        QFETCH(QList<QRect>, screens);
        QFETCH(QPoint, opened);
        QCOMPARE(PlaceOnScreens(QRect(saved, Window), screens), opened);
    }

    void nativeWaylandFirstRunSavesTheCentredPlace()
    {
        MainWindow t;
        t.probe.Platform() = "wayland";
        t.w.move(0, 0); // what a native Wayland program reads of its place
        const QSize frame = t.w.frameGeometry().size();
        t.w.close();
        const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
        const Record saved = DecodeRecord(ReadAll(SettingsFile()).trimmed().toStdString());
        // The frame's middle on the free area's middle, each halved to whole pixels; in twips.
        QCOMPARE(saved.Left, (free.x() + free.width() / 2 - frame.width() / 2) * 15);
        QCOMPARE(saved.Top, (free.y() + free.height() / 2 - frame.height() / 2) * 15);
    }

    void nativeWaylandKeepsTheLoadedPlace()
    {
        const QByteArray placedByARunOnX11 = "053250591011110608001\r\n";
        WriteAll(SettingsFile(), placedByARunOnX11);
        MainWindow t;
        t.probe.Platform() = "wayland";
        t.w.move(0, 0); // what a native Wayland program reads of its place
        t.w.close();
        QCOMPARE(ReadAll(SettingsFile()), placedByARunOnX11);
    }

    void displayGoneSavesTheChoices_data()
    {
        QTest::addColumn<QString>("qtSays");
        QTest::addColumn<bool>("saved");
        QTest::newRow("X server gone")
            << "The X11 connection broke (error 1). Did the X11 server die?" << true;
        QTest::newRow("Wayland compositor gone")
            << "The Wayland connection broke. Did the Wayland compositor die?" << true;
        QTest::newRow("Wayland protocol error")
            << "The Wayland connection experienced a fatal error: Protocol error" << true;
        QTest::newRow("any other warning")
            << "QWidget::repaint: Recursive repaint detected" << false;
    }
    void displayGoneSavesTheChoices()
    {
        QFETCH(QString, qtSays);
        QFETCH(bool, saved);
        SaveSettingsOnDisplayLoss();
        MainWindow t;
        t.pasteCount("5");
        QTest::ignoreMessage(QtWarningMsg, qPrintable(qtSays));
        qWarning("%s", qPrintable(qtSays));
        QCOMPARE(QFile::exists(SettingsFile()), saved);
        if (saved) QCOMPARE(ReadAll(SettingsFile()).mid(18), QByteArray("005\r\n"));
    }

    void displayGoneAfterExitSavesNothingMore()
    {
        SaveSettingsOnDisplayLoss();
        {
            MainWindow t;
            t.pasteCount("5");
            t.w.close();
        }
        const QByteArray othersSettings = "045000300011110608042\r\n";
        WriteAll(SettingsFile(), othersSettings);
        const char *gone = "The X11 connection broke (error 1). Did the X11 server die?";
        QTest::ignoreMessage(QtWarningMsg, gone);
        qWarning("%s", gone);
        QCOMPARE(ReadAll(SettingsFile()), othersSettings);
    }
};

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
