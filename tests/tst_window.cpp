// The main window and the About window on the offscreen platform, driven by real input: scripted
// scenarios (see script.h and window_scripts.txt), then what a script cannot say: sizes and
// clipping, a press at any pixel of a slider, the range label's colour on activation, the
// countdown's captions, the spinner in real time, and the choice of X11 under Wayland.

#include "about/fmAbout.h"
#include "app/session.h"
#include "controls/contrast.h"
#include "desktop/artwork.h"
#include "script.h"
#include "settings/ini_file.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

using namespace zintrova;

class TestWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    // Each test has a folder of its own for the settings file.
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        settings::SetSettingsFolder(dir_->path());
    }

    void scripts()
    {
        QFETCH(QString, script);
        Script{script};
    }
    // The scenarios are data: window_scripts.txt, beside this file.
    void scripts_data()
    {
        QTest::addColumn<QString>("script");
        QFile file(QFINDTESTDATA("window_scripts.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        // A name at the margin, its steps on the indented lines below.
        static const QRegularExpression scenario(QStringLiteral("^(\\S.*)\n((?: .*\n)+)"),
                                                 QRegularExpression::MultilineOption);
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch &m : scenario.globalMatch(text))
            QTest::newRow(qPrintable(m.captured(1))) << m.captured(2);
        QVERIFY(text.count(scenario) > 40);
    }

    // The window's title, icon and size, no caption clipped (each control's place is a script),
    // the thumbs and ticks where the values are, and the About window's labels within it and
    // unclipped, its logo readable.
    void layout()
    {
        Shown t;
        QCOMPARE(t.w.windowTitle(), QStringLiteral("Zintrova 1.1"));
        QCOMPARE(t.w.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
        QCOMPARE(t.w.size(), QSize(568, 215));
        for (auto *box : {t.w.cbSet[1], t.w.cbSet[2], t.w.cbSet[3], t.w.cbFilter})
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
        for (auto *b : {t.w.cmGen, t.w.cmCopy, t.w.cmExit, t.w.cmHelp}) {
            const int text = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
            QVERIFY2(text + 4 <= b->width() && b->fontMetrics().height() <= b->height(),
                     qPrintable(b->text()));
        }
        QVERIFY(QFontInfo(t.w.lbPass->font()).fixedPitch() && t.w.lbPass->font().bold());
        const int forty = t.w.lbPass->fontMetrics().horizontalAdvance(QString(40, 'W'));
        QVERIFY(forty + 2 * t.w.lbPass->frameWidth() <= t.w.lbPass->width());
        const QPoint pass = t.w.lbPass->geometry().topRight() + QPoint(-4, 6);
        const QImage shot = t.w.grab().toImage();
        QCOMPARE(shot.pixelColor(pass), QPalette().color(QPalette::ToolTipBase));
        QCOMPARE(shot.pixelColor(t.w.shCopy->geometry().topLeft()), QColor(0, 255, 0)); // the frame
        t.w.lbLimits->setCaption(QStringLiteral("40 - 40"));
        QVERIFY(t.w.lbLimits->geometry().right() < t.w.sldLen[1]->x());
        QVERIFY(t.w.lbLimits->fontMetrics().horizontalAdvance(QStringLiteral("40 - 40")) <=
                t.w.lbLimits->width());
        QVERIFY(t.w.txNum->fontMetrics().horizontalAdvance(QStringLiteral("999")) + 6 <=
                t.w.txNum->width());
        // The thumb is drawn centred on its value's place within a pixel, and at 10, 20, 30 and 40
        // the tick above the slider falls on it.
        for (int index = 0; index < 2; ++index) {
            for (int value : {6, 10, 20, 27, 30, 40}) {
                TrackSlider *slider = t.w.sldLen[index];
                slider->setValue(value);
                const QRect thumb = slider->ThumbRect(), drawn = thumb.translated(slider->pos());
                const int column = (195 * value - (index ? 1050 : 465)) / TwipsPerPixel;
                QVERIFY(std::abs(thumb.center().x() - column) <= 1);
                const QRect tick = value % 10 ? drawn : t.w.lnTick[value / 10 - 1]->geometry();
                QVERIFY(tick.left() >= drawn.left() && tick.right() <= drawn.right());
            }
        }
        fmAbout dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(382, 222));
        const auto text = [&](const char *name) { return dlg.findChild<QLabel *>(name)->text(); };
        QCOMPARE(text("lblTitle") + ' ' + text("lblVersion"),
                 QStringLiteral("Zintrova version 1.1"));
        for (QLabel *label : dlg.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()) &&
                         label->heightForWidth(label->width()) <= label->height() &&
                         dlg.rect().contains(label->geometry()),
                     qPrintable(label->objectName()));
        QCOMPARE(LogoPicture().size(), QSize(152, 34)); // needs Qt's gif plugin
        Opener opener; // a press on the link released off it, or another button, opens nothing
        QWidget *link = dlg.findChild<QWidget *>("lblLink");
        QTest::mousePress(link, Qt::LeftButton, {}, {2, 2});
        QTest::mouseRelease(link, Qt::LeftButton, {}, {-5, -5});
        QTest::mouseClick(link, Qt::RightButton, {}, {2, 2});
        QVERIFY(opener.urls.isEmpty());
    }

    // A press with any button sets the value whose place is nearest the pointer (the slider's end
    // at its outer edges, where the rule gives 2 and 41).
    void pressPutsThumbUnderPointer()
    {
        const std::tuple<int, Qt::MouseButton, int, int> presses[] = {
            {0, Qt::MiddleButton, 99, 10}, {0, Qt::RightButton, 8, 3}, {0, Qt::LeftButton, 92, 9},
            {0, Qt::LeftButton, 93, 10},   {0, Qt::LeftButton, 0, 3},  {1, Qt::LeftButton, 124, 15},
            {1, Qt::LeftButton, 459, 40}};
        for (const auto &[index, button, x, value] : presses) {
            Shown t;
            QTest::mouseClick(t.w.sldLen[index], button, Qt::ShiftModifier, QPoint(x, 13));
            QCOMPARE(t.w.lbLimits->Caption(), index == 0 ? QStringLiteral("%1 - 8").arg(value)
                                                         : QStringLiteral("6 - %1").arg(value));
        }
    }

    // At activation the range label turns black or white when its colour and the face differ in
    // brightness (the largest component) by less than 63, and stays as it is otherwise (also at
    // 63).
    void contrastRule()
    {
        const std::tuple<QRgb, QRgb, int> rules[] = {{0xF0F0F0, 0xFFFFFF, 0},
                                                     {0xC0C0C0, 0xFFFFFF, -1},
                                                     {0x800028, 0x00A000, 0xFFFFFF},
                                                     {0xFA0000, 0x0000FF, 0},
                                                     {0xFFFFFF, 0xC0C0C0, -1}};
        const QRgb kept = QPalette().color(QPalette::HighlightedText).rgb(); // as it was made
        for (const auto &[face, text, expected] : rules) {
            fmMain w;
            QPalette pal = w.palette();
            pal.setColor(QPalette::Button, QColor::fromRgb(face));
            pal.setColor(QPalette::HighlightedText, QColor::fromRgb(text));
            w.setPalette(pal);
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QCOMPARE(w.lbLimits->ForeColor().rgb() & 0xFFFFFF,
                     expected >= 0 ? QRgb(expected) : kept & 0xFFFFFF);
        }
    }

    // The copy button counts down the passwords still to make, the one being made included, at the
    // count's step (1 up to 50, then 2, 3 above 120, 5 above 300); each caption once.
    void countdown()
    {
        const std::tuple<int, int, int> countdowns[] = {{50, 1, 1},  {51, 2, 1},  {120, 2, 2},
                                                        {121, 3, 1}, {300, 3, 3}, {301, 5, 1},
                                                        {999, 5, 4}};
        for (const auto &[count, step, last] : countdowns) {
            Shown t;
            QStringList captions;
            QObject::connect(t.p.w.lbPass, &ChangeLabel::Change,
                             [&] { captions << t.p.w.cmCopy->text(); });
            t.p.w.txNum->setText(QString::number(count));
            QTest::mouseClick(t.p.w.cmCopy, Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), count);
            captions.removeLast(); // "Done", with the label emptied
            captions.erase(std::unique(captions.begin(), captions.end()), captions.end());
            QCOMPARE(captions.size(), (count - last) / step + 1);
            for (qsizetype i = 0; i < captions.size(); ++i)
                QCOMPARE(captions[i], QStringLiteral(" %1").arg(count - i * step));
            t.w.close(); // closed during "Done", the window is not restored
            QVERIFY(!t.p.w.tmTimer->Enabled());
        }
    }

    // The spinner on its own, in real time: it steps on the press, keeps stepping while the arrow
    // is held, pauses while the pointer is off the arrow, and stops on release, or when it is
    // hidden (its window closed) while held.
    void spinnerRepeatsWhileHeld()
    {
        UpDown sp;
        sp.setRange(1, 999);
        sp.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sp));
        const QPoint up = sp.UpRect().center();
        QTest::mousePress(&sp, Qt::LeftButton, {}, up);
        QCOMPARE(sp.Value(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(sp.Value() >= 5, 5000);
        QTest::mouseMove(&sp, sp.DownRect().center());
        int held = sp.Value();
        QTest::qWait(400);
        QCOMPARE(sp.Value(), held);
        QTest::mouseMove(&sp, up);
        QTRY_VERIFY_WITH_TIMEOUT(sp.Value() > held, 5000);
        QTest::mouseRelease(&sp, Qt::LeftButton, {}, up);
        held = sp.Value();
        QTest::mousePress(&sp, Qt::LeftButton, {}, up);
        sp.hide();
        QTest::qWait(800);
        QCOMPARE(sp.Value(), held + 1);
    }

    // Under Wayland the program starts on X11 where XWayland is there and the user chose nothing.
    // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY, "-platform" given; the answer.
    void startOnX11()
    {
        for (const auto &[env, x11] :
             {std::pair{DisplayEnvironment{"", "wayland-0", "", ":0"}, true},
              {{"", "", "wayland", ":1"}, true},
              {{"", "wayland-0", "wayland", ""}, false},
              {{"wayland", "wayland-0", "wayland", ":0"}, false},
              {{"", "wayland-0", "wayland", ":0", true}, false},
              {{"", "", "x11", ":0"}, false}})
            QCOMPARE(StartOnX11(env), x11);
        // What start-up reads: the environment, and "-platform" or "--platform" after the program.
        qputenv("WAYLAND_DISPLAY", "wayland-9");
        qputenv("DISPLAY", ":7");
        char program[] = "-platform", plain[] = "x", one[] = "-platform", two[] = "--platform";
        char *none[] = {program, plain}, *first[] = {program, one}, *second[] = {program, two};
        const DisplayEnvironment env = CurrentDisplayEnvironment(2, none);
        QCOMPARE(env.WaylandDisplay + env.Display + env.QtPlatform,
                 std::string("wayland-9:7offscreen"));
        QVERIFY(!env.PlatformArgument);
        QVERIFY(CurrentDisplayEnvironment(2, first).PlatformArgument);
        QVERIFY(CurrentDisplayEnvironment(2, second).PlatformArgument);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
