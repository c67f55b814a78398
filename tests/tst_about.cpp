// The About window: opening it from the main window ("?" and F1 on release) and where the focus
// goes afterwards, its captions, layout and pictures, Help and the help file's path, the web
// link's 10-second lock, and Run's choice between a file and a web address. Opening is
// intercepted with QDesktopServices::setUrlHandler, so no browser or viewer starts.

#include "about/artwork.h"
#include "about/fmAbout.h"
#include "mainwindow/fonts.h"
#include "mainwindow/twips.h"
#include "probe.h"
#include "version.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <functional>

namespace zintrova {
struct fmAboutProbe {
    fmAbout &w;
    EventTimer *tmOne() { return w.tmOne; }
    QPushButton *cmHelp() { return w.cmHelp; }
    QPushButton *cmOK() { return w.cmOK; }
    QLabel *imLogo() { return w.imLogo; }
    LinkLabel *lblLink() { return w.lblLink; }
    AboutLabel *Label5() { return w.Label5; }
    AboutLabel *Label3() { return w.Label3; }
    AboutLabel *lblVersion() { return w.lblVersion; }
    AboutLabel *lblTitle() { return w.lblTitle; }
};
} // namespace zintrova

using namespace zintrova;

namespace {

// Receives what the program asks the desktop to open.
class Opener : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    std::function<void()> onOpen; // a look at the window at the moment of opening

public slots:
    void open(const QUrl &url)
    {
        opened << url;
        if (onOpen) onOpen();
    }
};

// Waits for the About window to show modally, hands it to `inspect` (which must close it), and
// closes it anyway after a few seconds so that a failing test cannot hang on the modal loop.
class AboutWatcher : public QObject {
public:
    explicit AboutWatcher(std::function<void(fmAbout &)> inspect) : inspect_(std::move(inspect))
    {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start();
        deadline_.start();
    }
    int shown = 0;

private:
    void Poll()
    {
        auto *dlg = qobject_cast<fmAbout *>(QApplication::activeModalWidget());
        if (dlg && dlg->isVisible() && dlg != last_) {
            last_ = dlg;
            ++shown;
            timer_.stop();
            (void)QTest::qWaitForWindowActive(dlg);
            inspect_(*dlg);
            timer_.start();
        } else if (dlg && deadline_.hasExpired(5000)) {
            dlg->reject();
        }
    }
    std::function<void(fmAbout &)> inspect_;
    QTimer timer_;
    QElapsedTimer deadline_;
    QPointer<fmAbout> last_;
};

void PressKey(QWidget *w, Qt::Key key)
{
    QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, key);
}

QString SiteUrl()
{
    return QStringLiteral("https://") + QLatin1String(app::WebSite);
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init()
    {
        opener_.opened.clear();
        opener_.onOpen = nullptr;
    }

    void f1OpensOnReleaseThenFocusOnMinimumSlider();
    void questionButtonOpensAndReopensAfresh();
    void layoutInTwips_data();
    void layoutInTwips();
    void linkSentenceFitsBesideTheButtons();
    void logoAndEtchedSeparatorArePainted();
    void picturesHaveTheirFormats();
    void linkOpensSiteOnceUntilTimer();
    void clickDuringTheYieldIsIgnored();
    void helpOpensFileBesideProgramAndStays();
    void escapeFromEitherButtonCloses_data();
    void escapeFromEitherButtonCloses();
    void helpFilePath_data();
    void helpFilePath();
    void runTrimsAndChoosesFileOrAddress_data();
    void runTrimsAndChoosesFileOrAddress();

private:
    Opener opener_;
};

void TestAbout::initTestCase()
{
    InstallFontSubstitutes();
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &opener_, "open");
}

void TestAbout::cleanupTestCase()
{
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void TestAbout::f1OpensOnReleaseThenFocusOnMinimumSlider()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    p.cmGen()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.cmGen()));

    QString caption, title, version;
    QSize logo;
    QWidget *focus = nullptr, *help = nullptr;
    AboutWatcher watch([&](fmAbout &dlg) {
        fmAboutProbe a{dlg};
        caption = dlg.windowTitle();
        title = a.lblTitle()->text();
        version = a.lblVersion()->text();
        logo = a.imLogo()->pixmap().size();
        focus = QApplication::focusWidget();
        help = a.cmHelp();
        PressKey(&dlg, Qt::Key_Escape);
    });

    QTest::keyPress(QApplication::focusWidget(), Qt::Key_F1);
    QTest::qWait(50);
    QCOMPARE(watch.shown, 0); // not on the key going down
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(watch.shown, 1);
    QCOMPARE(caption, QStringLiteral("About Zintrova"));
    QCOMPARE(title, QStringLiteral("Zintrova"));
    QCOMPARE(version, QStringLiteral("version 1.1"));
    QCOMPARE(logo, QSize(152, 34));
    QCOMPARE(focus, help); // Help has the focus, so Enter opens the help file
    QVERIFY(!QApplication::activeModalWidget());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.sldLen(0)));
    QVERIFY(opener_.opened.isEmpty());
}

void TestAbout::questionButtonOpensAndReopensAfresh()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // First showing: click the link, then close while it is still locked.
    bool modal = false, lockedAtClose = false;
    {
        AboutWatcher watch([&](fmAbout &dlg) {
            fmAboutProbe a{dlg};
            modal = dlg.isModal() && QApplication::activeModalWidget() == &dlg;
            QTest::mouseClick(a.lblLink(), Qt::LeftButton);
            lockedAtClose = !a.lblLink()->isEnabled() && a.tmOne()->Enabled();
            PressKey(&dlg, Qt::Key_Escape);
        });
        QTest::mouseClick(p.cmHelp(), Qt::LeftButton);
        QCOMPARE(watch.shown, 1);
    }
    QVERIFY(modal);
    QVERIFY(lockedAtClose);
    QCOMPARE(opener_.opened.size(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.sldLen(0)));

    // Second showing: a new window with a live link and a stopped timer.
    bool linkEnabled = false, timerStopped = false;
    {
        AboutWatcher watch([&](fmAbout &dlg) {
            fmAboutProbe a{dlg};
            linkEnabled = a.lblLink()->isEnabled();
            timerStopped = !a.tmOne()->Enabled();
            QTest::mouseClick(a.cmOK(), Qt::LeftButton);
        });
        QTest::mouseClick(p.cmHelp(), Qt::LeftButton);
        QCOMPARE(watch.shown, 1);
    }
    QVERIFY(linkEnabled);
    QVERIFY(timerStopped);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.sldLen(0)));
}

void TestAbout::layoutInTwips_data()
{
    // Auto-sizing labels keep their corner (or, centred, their middle) and fit their caption.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<bool>("centred");
    auto row = [](const char *name, int l, int t, int w, int h, bool autoSize, bool centred) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(l, t, w, h) << autoSize
                            << centred;
    };
    row("cmHelp", 4290, 2310, 1260, 375, false, false);
    row("cmOK", 4290, 2820, 1260, 345, false, false);
    row("imLogo", 240, 150, 2280, 510, false, false);
    row("lblLink", 630, 2610, 1200, 195, true, false);
    row("Label3", 270, 2610, 285, 195, true, false);
    row("Label1", 2640, 390, 780, 240, true, false);
    row("lblDescription", 885, 1650, 3945, 450, false, false);
    row("lblTitle", 2220, 870, 1275, 360, true, true);
    row("lblVersion", 2167, 1230, 1380, 240, true, true);
    row("lblDisclaimer", 255, 2295, 990, 240, true, false);
}

void TestAbout::layoutInTwips()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(bool, autoSize);
    QFETCH(bool, centred);
    fmAbout dlg;
    QCOMPARE(dlg.size(), QSize(382, 222)); // 5730 x 3330 twips
    auto *c = dlg.findChild<QWidget *>(name);
    QVERIFY(c);
    const QRect want = TwipsRect(twips.x(), twips.y(), twips.width(), twips.height());
    if (!autoSize) {
        QCOMPARE(c->geometry(), want);
        return;
    }
    auto *label = qobject_cast<QLabel *>(c);
    QVERIFY(label);
    QCOMPARE(c->y(), want.y());
    if (centred)
        QVERIFY(qAbs(c->geometry().center().x() - want.center().x()) <= 1);
    else
        QCOMPARE(c->x(), want.x());
    const QFontMetrics fm(label->font());
    QVERIFY(c->width() >= fm.horizontalAdvance(label->text()));
    QVERIFY(c->height() >= fm.height());
}

void TestAbout::linkSentenceFitsBesideTheButtons()
{
    fmAbout dlg;
    fmAboutProbe a{dlg};
    // "Visit", the address, "for other freewares." in a row, with the original 4-pixel gap
    // after the address, all left of the buttons.
    QCOMPARE(a.lblLink()->text(), QLatin1String(app::WebSite));
    QVERIFY(a.Label3()->geometry().right() < a.lblLink()->x());
    QCOMPARE(a.Label5()->x(), a.lblLink()->geometry().right() + 1 + 4);
    QCOMPARE(a.Label5()->y(), a.lblLink()->y());
    QVERIFY(a.Label5()->geometry().right() < a.cmHelp()->x());
    const QFontMetrics fm(a.Label5()->font());
    QVERIFY(a.Label5()->width() >= fm.horizontalAdvance(a.Label5()->text()));
    // The description fits on its two lines.
    auto *desc = dlg.findChild<QLabel *>(QStringLiteral("lblDescription"));
    QVERIFY(desc->heightForWidth(desc->width()) <= desc->height());
    // Only the two buttons take the focus.
    for (auto *w : dlg.findChildren<QWidget *>())
        if (w != a.cmHelp() && w != a.cmOK()) QCOMPARE(w->focusPolicy(), Qt::NoFocus);
}

void TestAbout::logoAndEtchedSeparatorArePainted()
{
    QVERIFY2(QImageReader::supportedImageFormats().contains("gif"),
             "Qt's gif image plugin is not available");
    fmAbout dlg;
    fmAboutProbe a{dlg};
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QImage shot = dlg.grab().toImage();
    const QColor face = dlg.palette().color(QPalette::Window);
    // The logo area shows a picture, not the window's face.
    const QRect logo = a.imLogo()->geometry();
    QCOMPARE(logo.size(), QSize(152, 34));
    QSet<QRgb> colours;
    int painted = 0;
    for (int y = logo.top(); y <= logo.bottom(); ++y)
        for (int x = logo.left(); x <= logo.right(); ++x) {
            colours.insert(shot.pixel(x, y));
            painted += shot.pixel(x, y) != face.rgb();
        }
    QVERIFY2(colours.size() > 16, qPrintable(QString::number(colours.size())));
    QVERIFY(painted > logo.width() * logo.height() / 4);
    // The separator across the window: grey, then white two pixels high, on the window's face.
    for (int x : {Px(120), 100, Px(5585)}) {
        QCOMPARE(shot.pixelColor(x, 138), face);
        QCOMPARE(shot.pixelColor(x, 139), QColor(128, 128, 128));
        QCOMPARE(shot.pixelColor(x, 140), QColor(255, 255, 255));
        QCOMPARE(shot.pixelColor(x, 141), QColor(255, 255, 255));
        QCOMPARE(shot.pixelColor(x, 142), face);
    }
    QCOMPARE(shot.pixelColor(Px(120) - 1, 139), face);
}

void TestAbout::picturesHaveTheirFormats()
{
    // The logo file: a GIF89a of 152 x 34 with a 64-entry global colour table.
    QFile gif(QStringLiteral(":/zintrova/logo.gif"));
    QVERIFY(gif.open(QIODevice::ReadOnly));
    const QByteArray head = gif.read(13);
    QCOMPARE(head.left(6), QByteArray("GIF89a"));
    QCOMPARE(uchar(head[6]) | uchar(head[7]) << 8, 152);
    QCOMPARE(uchar(head[8]) | uchar(head[9]) << 8, 34);
    QVERIFY(uchar(head[10]) & 0x80);
    QCOMPARE(2 << (uchar(head[10]) & 7), 64);

    // The icons: 16 colours for the main window, up to 256 for the About window.
    for (auto [stem, colours] : {std::pair{"zintrova", 16}, std::pair{"about", 256}})
        for (int size : {16, 32}) {
            const QImage img(QStringLiteral(":/zintrova/%1-%2.png").arg(stem).arg(size));
            QCOMPARE(img.size(), QSize(size, size));
            QCOMPARE(img.format(), QImage::Format_Indexed8);
            QVERIFY(img.colorCount() <= colours);
        }
    for (const QIcon &icon : {ProgramIcon(), AboutIcon()}) {
        QCOMPARE(icon.availableSizes().size(), 2);
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    }

    // The hand cursor: 32 x 32, 16 colours, clicking with the fingertip at (12, 4).
    fmAbout dlg;
    const QCursor hand = fmAboutProbe{dlg}.lblLink()->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(12, 4));
    const QImage img = hand.pixmap().toImage();
    QCOMPARE(img.size(), QSize(32, 32));
    QVERIFY(qAlpha(img.pixel(12, 4)) == 255); // the tip is drawn
    QVERIFY(qAlpha(img.pixel(12, 3)) == 0);   // and nothing above it
    QVERIFY(qAlpha(img.pixel(0, 0)) == 0);
    const QImage raw(QStringLiteral(":/zintrova/hand-32.png"));
    QVERIFY(raw.colorCount() <= 16);
}

void TestAbout::linkOpensSiteOnceUntilTimer()
{
    fmAbout dlg;
    fmAboutProbe a{dlg};
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(a.tmOne()->Interval(), 10000);
    QVERIFY(!a.tmOne()->Enabled());
    // The link is blue while live and grey while locked.
    QCOMPARE(a.lblLink()->palette().color(QPalette::Active, QPalette::WindowText),
             QColor(0, 0, 192));
    QVERIFY(a.lblLink()->palette().color(QPalette::Disabled, QPalette::WindowText) !=
            QColor(0, 0, 192));
    QVERIFY(a.lblLink()->font().underline());

    bool greyAtOpen = false;
    QWidget *focusAtOpen = nullptr;
    opener_.onOpen = [&] {
        greyAtOpen = !a.lblLink()->isEnabled();
        focusAtOpen = QApplication::focusWidget();
    };
    QTest::mouseClick(a.lblLink(), Qt::LeftButton);
    QTest::mouseClick(a.lblLink(), Qt::LeftButton); // within the 10 s: nothing
    QCOMPARE(opener_.opened, QList<QUrl>{QUrl(SiteUrl())});
    QVERIFY(greyAtOpen);
    QCOMPARE(focusAtOpen, static_cast<QWidget *>(a.cmOK()));
    QVERIFY(a.tmOne()->Enabled());

    a.tmOne()->Fire(); // the 10 s have passed
    QVERIFY(a.lblLink()->isEnabled());
    QVERIFY(!a.tmOne()->Enabled());
    QTest::mouseClick(a.lblLink(), Qt::LeftButton);
    QCOMPARE(opener_.opened.size(), 2);
    QCOMPARE(opener_.opened.last(), QUrl(SiteUrl()));

    // The focus is on OK now, so Enter closes the window.
    QVERIFY(dlg.isVisible());
    PressKey(&dlg, Qt::Key_Return);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(opener_.opened.size(), 2); // and did not open the help file
}

void TestAbout::clickDuringTheYieldIsIgnored()
{
    // A second click already waiting in the queue is delivered while the first one lets pending
    // events run; it must find the link locked.
    fmAbout dlg;
    fmAboutProbe a{dlg};
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    const QPointF at(3, 3);
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            a.lblLink(), new QMouseEvent(type, at, a.lblLink()->mapToGlobal(at), Qt::LeftButton,
                                         Qt::LeftButton, Qt::NoModifier));
    QTest::mouseClick(a.lblLink(), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(opener_.opened.size(), 1);
}

void TestAbout::helpOpensFileBesideProgramAndStays()
{
    const QString folder = QCoreApplication::applicationDirPath();
    QVERIFY(!QFile::exists(folder + QStringLiteral("/Zintrova.chm")));
    const QUrl help = QUrl::fromLocalFile(folder + QStringLiteral("/Zintrova.chm"));
    fmAbout dlg;
    fmAboutProbe a{dlg};
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(a.cmHelp()));
    PressKey(&dlg, Qt::Key_Return); // Enter: Help is the default button
    QCOMPARE(opener_.opened, QList<QUrl>{help});
    QTest::mouseClick(a.cmHelp(), Qt::LeftButton);
    QCOMPARE(opener_.opened, (QList<QUrl>{help, help}));
    QCoreApplication::processEvents();
    QVERIFY(dlg.isVisible()); // the missing file changes nothing: the window stays
}

void TestAbout::escapeFromEitherButtonCloses_data()
{
    QTest::addColumn<bool>("focusOnOK");
    QTest::newRow("focus on Help") << false;
    QTest::newRow("focus on OK") << true;
}

void TestAbout::escapeFromEitherButtonCloses()
{
    QFETCH(bool, focusOnOK);
    fmAbout dlg;
    fmAboutProbe a{dlg};
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    if (focusOnOK) a.cmOK()->setFocus();
    QVERIFY(dlg.isVisible());
    PressKey(&dlg, Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted)); // by way of OK
    QVERIFY(opener_.opened.isEmpty());
}

void TestAbout::helpFilePath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("root") << "/"
                          << "/Zintrova.chm";
    QTest::newRow("drive root") << "C:/"
                                << "C:/Zintrova.chm";
    QTest::newRow("drive root, backslash") << "C:\\"
                                           << "C:\\Zintrova.chm";
    QTest::newRow("folder") << "/opt/Zintrova"
                            << "/opt/Zintrova/Zintrova.chm";
    QTest::newRow("folder with slash") << "/opt/Zintrova/"
                                       << "/opt/Zintrova/Zintrova.chm";
    QTest::newRow("drive folder") << "D:/Tools"
                                  << "D:/Tools/Zintrova.chm";
}

void TestAbout::helpFilePath()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QCOMPARE(fmAbout::HelpFilePath(folder), path);
}

void TestAbout::runTrimsAndChoosesFileOrAddress_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("web address") << "  https://zintrova.example.org  "
                                 << QUrl(QStringLiteral("https://zintrova.example.org"));
    QTest::newRow("plain http") << "http://example.org/a?b=1"
                                << QUrl(QStringLiteral("http://example.org/a?b=1"));
    QTest::newRow("file at the root")
        << " /Zintrova.chm " << QUrl::fromLocalFile(QStringLiteral("/Zintrova.chm"));
    QTest::newRow("file with blanks and #")
        << "/tmp/my help #2.chm" << QUrl::fromLocalFile(QStringLiteral("/tmp/my help #2.chm"));
    QTest::newRow("relative file")
        << "Zintrova.chm" << QUrl::fromLocalFile(QDir::current().absoluteFilePath("Zintrova.chm"));
}

void TestAbout::runTrimsAndChoosesFileOrAddress()
{
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    fmAbout::Run(target, 1);
    QCOMPARE(opener_.opened, QList<QUrl>{url});
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
