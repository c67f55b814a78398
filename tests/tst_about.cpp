// The About window: "?" and F1 open it afresh and the focus goes to the minimum slider afterwards,
// Help, the web link's 10-second lock, the controls' places and the screenshot, and what Run
// opens. Opening is intercepted with QDesktopServices::setUrlHandler: no browser or viewer starts.

#include "about/fmAbout.h"
#include "controls/fonts.h"
#include "controls/twips.h"
#include "desktop/artwork.h"
#include "probe.h"
#include "version.h"

#include <QDesktopServices>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace zintrova {
struct fmAboutProbe {
    fmAbout &w;
    EventTimer *tmOne() { return w.tmOne; }
    QPushButton *cmHelp() { return w.cmHelp; }
    QPushButton *cmOK() { return w.cmOK; }
    LinkLabel *lblLink() { return w.lblLink; }
    AboutLabel *Label5() { return w.Label5; }
};
} // namespace zintrova

using namespace zintrova;
using namespace Qt::StringLiterals;

namespace {

// Receives what the program asks the desktop to open.
class Opener : public QObject {
    Q_OBJECT
public:
    Opener()
    {
        QDesktopServices::setUrlHandler(u"https"_s, this, "open");
        QDesktopServices::setUrlHandler(u"file"_s, this, "open");
    }
    ~Opener()
    {
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QDesktopServices::unsetUrlHandler(u"file"_s);
    }
    QList<QUrl> opened;
    std::function<void()> onOpen; // a look at the window at the moment of opening
public slots:
    void open(const QUrl &url)
    {
        opened << url;
        if (onOpen) onOpen();
    }
};

// Hands the About window to `look` (which should close it) once it shows modally, polling for up
// to 3 s; a window left open is rejected so that a failing test cannot hang in the modal loop.
void WhenShown(const std::function<void(fmAbout &)> &look, int polls = 300)
{
    QTimer::singleShot(10, qApp, [look, polls] {
        auto *dlg = qobject_cast<fmAbout *>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible()) return polls ? WhenShown(look, polls - 1) : void();
        (void)QTest::qWaitFor([dlg] { return QApplication::activeWindow() == dlg; });
        look(*dlg);
        if (dlg->isVisible()) dlg->reject();
    });
}

const QUrl Site(u"https://"_s + QLatin1String(app::WebSite));

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void f1AndQuestionOpenAfreshThenFocusOnMinimumSlider()
    {
        Opener opener;
        fmMain w;
        fmMainProbe p{w};
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        p.cmGen()->setFocus();

        // F1 on release: the captions, the focus on Help; a link click locks the link and moves
        // the focus to OK, and Escape closes from there.
        WhenShown([&](fmAbout &dlg) {
            fmAboutProbe a{dlg};
            QCOMPARE(dlg.windowTitle(), u"About Zintrova"_s);
            QCOMPARE(dlg.findChild<QLabel *>(u"lblVersion"_s)->text(), u"version 1.1"_s);
            QCOMPARE(QApplication::focusWidget(), a.cmHelp());
            QTest::mouseClick(a.lblLink(), Qt::LeftButton);
            QVERIFY(!a.lblLink()->isEnabled() && a.tmOne()->Enabled());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!dlg.isVisible());
        });
        QTest::keyPress(p.cmGen(), Qt::Key_F1);
        QTest::qWait(50);
        QVERIFY(opener.opened.isEmpty()); // not shown on the key going down
        QTest::keyRelease(p.cmGen(), Qt::Key_F1);
        QCOMPARE(opener.opened, QList<QUrl>{Site});
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.sldLen(0)));

        // "?": a fresh window with a live link. Enter on Help opens the missing help file beside
        // the program and the window stays; Escape from Help closes it.
        const QString help = QCoreApplication::applicationDirPath() + u"/Zintrova.chm"_s;
        QVERIFY(!QFile::exists(help));
        WhenShown([&](fmAbout &dlg) {
            fmAboutProbe a{dlg};
            QVERIFY(a.lblLink()->isEnabled() && !a.tmOne()->Enabled());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();
            QVERIFY(dlg.isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!dlg.isVisible());
        });
        QTest::mouseClick(p.cmHelp(), Qt::LeftButton);
        QCOMPARE(opener.opened, (QList<QUrl>{Site, QUrl::fromLocalFile(help)}));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.sldLen(0)));
    }

    void controlsAtTheirPlacesThenLinkLocksForTenSeconds()
    {
        Opener opener;
        fmAbout dlg;
        fmAboutProbe a{dlg};
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(dlg.size(), QSize(382, 222)); // 5730 x 3330 twips
        // In twips: the fixed controls fill their place; the auto-sizing labels keep their corner
        // (centred ones, with a width, their middle) and fit their caption.
        QCOMPARE(a.cmHelp()->geometry(), TwipsRect(4290, 2310, 1260, 375));
        QCOMPARE(a.cmOK()->geometry(), TwipsRect(4290, 2820, 1260, 345));
        auto *desc = dlg.findChild<QLabel *>(u"lblDescription"_s);
        QCOMPARE(desc->geometry(), TwipsRect(885, 1650, 3945, 450));
        auto place = [&](const char *name, int l, int t, int w) {
            auto *label = dlg.findChild<QLabel *>(QLatin1String(name));
            const QRect want = TwipsRect(l, t, w, 0), got = label->geometry();
            const int x = w ? got.center().x() - want.center().x() : got.x() - want.x();
            QVERIFY2(qAbs(x) <= (w ? 1 : 0) && got.y() == want.y(), name);
            QVERIFY2(got.width() >= label->fontMetrics().horizontalAdvance(label->text()), name);
        };
        place("lblLink", 630, 2610, 0);
        place("Label3", 270, 2610, 0);
        place("Label1", 2640, 390, 0);
        place("lblDisclaimer", 255, 2295, 0);
        place("lblTitle", 2220, 870, 1275);
        place("lblVersion", 2167, 1230, 1380);
        // "for other freewares." flows on 4 pixels after the address; the description fits; only
        // the two buttons take the focus; the hand clicks at (12, 4).
        QCOMPARE(a.Label5()->pos(), QPoint(a.lblLink()->geometry().right() + 5, a.lblLink()->y()));
        QVERIFY(desc->heightForWidth(desc->width()) <= desc->height());
        for (auto *w : dlg.findChildren<QWidget *>())
            if (w != a.cmHelp() && w != a.cmOK()) QCOMPARE(w->focusPolicy(), Qt::NoFocus);
        QCOMPARE(a.lblLink()->cursor().hotSpot(), QPoint(12, 4));

        // The screenshot: the logo, unscaled at its place, on the window's face; the separator is a
        // grey row over two white rows across the window.
        const QImage shot = dlg.grab().toImage();
        const QRgb face = dlg.palette().color(QPalette::Window).rgb();
        const QRect logo(TwipsPoint(240, 150), QSize(152, 34));
        QCOMPARE(LogoPicture().size(), logo.size()); // needs Qt's gif plugin
        QImage logoOnFace(logo.size(), shot.format());
        logoOnFace.fill(face);
        QPainter(&logoOnFace).drawPixmap(0, 0, LogoPicture());
        QCOMPARE(shot.copy(logo), logoOnFace);
        const QRgb rows[] = {face, 0xff808080, 0xffffffff, 0xffffffff, face}; // grey, white, white
        for (int x : {Px(120), 100, Px(5585)})
            for (int y = 138; y < 143; ++y)
                QCOMPARE(shot.pixel(x, y), rows[y - 138]);

        QCOMPARE(a.lblLink()->palette().color(QPalette::WindowText), QColor(0, 0, 192));
        QVERIFY(a.lblLink()->font().underline());
        // A click greys the link and moves the focus to OK before the site opens. A second click
        // already queued (delivered while the first lets pending events run) and one more within
        // the 10 s do nothing.
        opener.onOpen = [&] {
            QVERIFY(!a.lblLink()->isEnabled() && QApplication::focusWidget() == a.cmOK());
        };
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                a.lblLink(),
                new QMouseEvent(type, {3, 3}, {3, 3}, Qt::LeftButton, Qt::LeftButton, {}));
        QTest::mouseClick(a.lblLink(), Qt::LeftButton);
        QCoreApplication::processEvents();
        QTest::mouseClick(a.lblLink(), Qt::LeftButton);
        QCOMPARE(opener.opened, QList<QUrl>{Site});
        QVERIFY(a.tmOne()->Enabled() && a.tmOne()->Interval() == 10000);

        a.tmOne()->Fire(); // the 10 s have passed: the link is live again and the timer stops
        QVERIFY(a.lblLink()->isEnabled() && !a.tmOne()->Enabled());
        QTest::mouseClick(a.lblLink(), Qt::LeftButton);
        QCOMPARE(opener.opened, (QList<QUrl>{Site, Site}));
        // The focus is on OK now, so Enter closes the window without opening the help.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!dlg.isVisible() && opener.opened.size() == 2);
    }

    void helpPathAndRunTargets()
    {
        // Exactly one separator before the file name, a root folder included.
        QCOMPARE(fmAbout::HelpFilePath(u"/"_s), u"/Zintrova.chm"_s);
        QCOMPARE(fmAbout::HelpFilePath(u"C:\\"_s), u"C:\\Zintrova.chm"_s);
        QCOMPARE(fmAbout::HelpFilePath(u"/opt/Z"_s), u"/opt/Z/Zintrova.chm"_s);
        QCOMPARE(fmAbout::HelpFilePath(u"/opt/Z/"_s), u"/opt/Z/Zintrova.chm"_s);
        Opener opener;
        // Run trims the target and opens an address as it is, anything else as a local file.
        fmAbout::Run(u" https://example.org/a?b=1 "_s, 1);
        fmAbout::Run(u" /tmp/my help #2.chm "_s, 1);
        QCOMPARE(opener.opened, (QList<QUrl>{QUrl(u"https://example.org/a?b=1"_s),
                                             QUrl::fromLocalFile(u"/tmp/my help #2.chm"_s)}));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
