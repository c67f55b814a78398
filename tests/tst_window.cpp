// The main window and the About window on the offscreen platform, driven by real input.

#include "about/fmAbout.h"
#include "controls/contrast.h"
#include "desktop/artwork.h"
#include "settings/ini_file.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QTemporaryDir>

using namespace zintrova;

using Steps = std::function<void(MainWindow &)>;
Q_DECLARE_METATYPE(Steps)

namespace {

QString SettingsFile()
{
    return settings::IniPath(settings::SettingsFolder());
}

// The minimum thumb of 6 - 8 moved onto the maximum by the Right key, and held there.
void StopMinimumAtMaximum(MainWindow &t)
{
    t.tabTo(t.w.sldLen[0]);
    t.pressKey(Qt::Key_Right);
    t.pressKey(Qt::Key_Right);
    t.holdKey(Qt::Key_Right);
}

} // namespace

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

    // Started without a settings file: the design values and a password of all sets. A click on
    // a box composes from a rebuilt pool; the last set turned off turns lower case back on.
    // While a copy is under way a box changes only itself and Generate does nothing.
    void startAndBoxes()
    {
        MainWindow t;
        QVERIFY(t.range() == "6 - 8 free" && t.count() == "1" && t.mode() == "single");
        QVERIFY(t.password().size() >= 6 && t.password().size() <= 8);
        QCOMPARE(t.focus(), t.w.sldLen[0]);
        const std::pair<QWidget *, int> clicks[] = {
            {t.w.cbFilter, 62}, {t.w.cbSet[1], 36}, {t.w.cbSet[3], 26}, {t.w.cbSet[2], 26}};
        for (auto [box, poolSize] : clicks) {
            t.click(box);
            QCOMPARE(int(t.probe.Pool().size()), poolSize);
        }
        QVERIFY(t.w.cbSet[1]->Value() == 1 && t.password() == t.password().toLower());
        t.probe.Busy() = 2;
        for (QWidget *control : Controls{t.w.cbSet[3], t.w.cbFilter, t.w.cmGen})
            t.click(control);
        QVERIFY(t.probe.Pool().size() == 26 && t.shown.size() == 5);
        QCOMPARE(t.w.cbSet[3]->Value() + t.w.cbFilter->Value(), 2);
    }

    // Enter presses Generate, or a focused button. The first Escape puts the focus on Exit, the
    // second presses it; a key between disarms it, and a copy under way holds it.
    void enterGenerates_escapeTwiceEnds()
    {
        MainWindow t;
        for (QWidget *control : Controls{t.w.sldLen[0], t.w.cbSet[2], t.w.txNum, t.w.cmCopy})
            t.tabTo(control), t.pressKey(Qt::Key_Return);
        QVERIFY(t.shown.size() == 4 && t.clipboard() == t.password());
        t.pressKey(Qt::Key_Escape);
        for (Qt::Key between : {Qt::Key_A, Qt::Key_Shift})
            t.pressKey(between), t.pressKey(Qt::Key_Escape);
        QCOMPARE(t.focus(), t.w.cmExit);
        t.probe.Busy() = 2;
        t.click(t.w.cmExit);
        t.pressKey(Qt::Key_Escape);
        QVERIFY(t.w.isVisible());
        t.probe.Busy() = 0;
        t.pressKey(Qt::Key_Escape);
        QVERIFY(!t.w.isVisible());
    }

    // Keys act by the key pressed, not by the character it types ("!", "&" and "-" type the
    // codes of PageUp, Up and Insert): no symbol, plain or with Ctrl, and no letter steps the
    // count or a thumb, or copies.
    void symbolKeysNeverStepTheCount()
    {
        MainWindow t;
        t.pasteCount("20");
        for (QWidget *control : Controls{t.w.txNum, t.w.sldLen[0], t.w.sldLen[1]}) {
            t.tabTo(control);
            for (char c = ' '; c <= '~'; ++c) {
                for (auto mods : {Qt::NoModifier, Qt::ControlModifier}) {
                    if (std::isdigit(c) || std::isupper(c) || (std::islower(c) && mods)) continue;
                    QTest::keyClick(control, c, mods);
                    QVERIFY2(t.count() == "20" && t.range() == "6 - 8 free", QByteArray(1, c));
                }
            }
        }
        QCOMPARE(t.clipboard(), UsersOwnText);
    }

    // The box takes digits, three at most, also one typed while another control has the focus;
    // Backspace and Delete edit. Empty or 0 is invalid until the box is left, which puts 1 back.
    // A double-click sets 1.
    void countBoxTakesDigits()
    {
        MainWindow t;
        for (QWidget *elsewhere : Controls{t.w.sldLen[1], t.w.cmExit, t.w.spNum}) {
            t.tabTo(elsewhere);
            t.type("7");
            QTRY_COMPARE(t.count(), "7");
        }
        t.type("a-.+, XZ2/5:6");
        QCOMPARE(t.count(), "725");
        t.pressKey(Qt::Key_Backspace);
        t.pressKey(Qt::Key_Home);
        // Delete as X11 reports it, with the DEL character as its text.
        QTest::sendKeyEvent(QTest::Click, t.w.txNum, Qt::Key_Delete, QChar(0x7f), {});
        QCOMPARE(t.count(), "2");
        t.pressKey(Qt::Key_Delete);
        QCOMPARE(t.mode(), "invalid");
        t.type("0");
        QCOMPARE(t.mode(), "invalid");
        t.tabTo(t.w.sldLen[0]);
        QCOMPARE(t.mode(), "single");
        t.pasteCount("50");
        QTest::mouseDClick(t.w.txNum, Qt::LeftButton);
        QCOMPARE(t.count(), "1");
    }

    // A count pasted, then perhaps a key in the box: what the box shows, and how many passwords
    // a copy makes (0 where the count is invalid).
    void countEntry_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("key"); // as QKeySequence writes it
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("copies");
        QTest::newRow("007 reads 7") << "007"
                                     << ""
                                     << "007" << 7;
        QTest::newRow("cut to three") << "12345"
                                      << ""
                                      << "123" << 123;
        QTest::newRow("negative") << "-1234"
                                  << ""
                                  << "-12" << 0;
        QTest::newRow("no number") << "x5"
                                   << ""
                                   << "x5" << 0;
        QTest::newRow("Up") << "5"
                            << "Up"
                            << "6" << 6;
        QTest::newRow("PageDown") << "10"
                                  << "PgDown"
                                  << "5" << 5;
        QTest::newRow("PageUp at 997") << "997"
                                       << "PgUp"
                                       << "999" << 999;
        QTest::newRow("PageDown at 3") << "3"
                                       << "PgDown"
                                       << "1" << 1;
        QTest::newRow("Ctrl+Home") << "50"
                                   << "Ctrl+Home"
                                   << "1" << 1;
        QTest::newRow("Ctrl+Shift+Home") << "50"
                                         << "Ctrl+Shift+Home"
                                         << "50" << 50;
        QTest::newRow("PageUp from -5") << "-5"
                                        << "PgUp"
                                        << "5" << 5;
    }
    void countEntry()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, key);
        QFETCH(QString, shown);
        QFETCH(int, copies);
        MainWindow t;
        t.pasteCount(pasted);
        if (!key.isEmpty()) QTest::keySequence(t.w.txNum, QKeySequence(key));
        QCOMPARE(t.count(), shown);
        QCOMPARE(t.w.spNum->Value(), std::max(copies, 1));
        QCOMPARE(t.mode(), copies == 1 ? "single" : copies ? "batch" : "invalid");
        if (copies == 0) return; // Copy is off, and leaving the box would put 1 back
        t.click(t.w.cmCopy);
        QCOMPARE(t.clipboard(), copies > 1 ? t.lastShownAsBatch(copies) : t.password());
    }

    // The spinner's arrows step the count. Held, tmSpin repeats in the direction of the
    // last step, a second after the press and then every 50 ms, by 5 while Shift is down, never
    // below 1; letting go stops it.
    void spinnerStepsAndRepeats()
    {
        MainWindow t;
        UpDown *spinner = t.w.spNum;
        t.pasteCount("11");
        QTest::mousePress(spinner, Qt::LeftButton, {}, spinner->UpRect().center());
        QVERIFY(t.count() == "12" && t.w.tmSpin->Interval() == 1000);
        QTRY_COMPARE(t.focus(), t.w.txNum);
        for (auto [shift, count] : {std::pair{false, "13"}, {true, "18"}, {false, "19"}}) {
            if (shift) t.holdKey(Qt::Key_Shift);
            t.w.tmSpin->Fire();
            if (shift) t.releaseKey();
            QVERIFY(t.count() == count && t.w.tmSpin->Interval() == 50);
        }
        QTest::mouseRelease(spinner, Qt::LeftButton, {}, spinner->UpRect().center());
        QVERIFY(!t.w.tmSpin->Enabled());
        t.pasteCount("4");
        QTest::mousePress(spinner, Qt::LeftButton, {}, spinner->DownRect().center());
        t.holdKey(Qt::Key_Shift);
        t.w.tmSpin->Fire();
        QCOMPARE(t.count(), "1");
    }

    // A copy puts the password on show on the clipboard, alone and marked secret, and the frame
    // that says "not copied yet" goes until the next password. Ctrl+C and Ctrl+Insert copy in
    // single mode only, Ctrl+Shift+C never; a count below 1 never copies.
    void singleCopyAndShortcuts()
    {
        MainWindow t;
        t.click(t.w.cmCopy);
        QVERIFY(t.clipboard() == t.password() && !t.w.shCopy->isVisible());
        QCOMPARE(t.focus(), t.w.cmExit);
        for (Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
            t.click(t.w.cmGen);
            QVERIFY(t.w.shCopy->isVisible());
            t.pressKey(key, Qt::ControlModifier);
            QCOMPARE(t.clipboard(), t.password());
        }
        QGuiApplication::clipboard()->setText(UsersOwnText);
        t.pressKey(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        for (const char *count : {"5", "0", "-5", ""}) {
            t.pasteCount(count);
            t.pressKey(Qt::Key_End); // nothing selected, so that the box itself copies nothing
            MainWindow::turnWheel(t.w.sldLen[1], 1); // a new password enables Copy
            t.pressKey(Qt::Key_C, Qt::ControlModifier);
            t.pressKey(Qt::Key_Insert, Qt::ControlModifier);
        }
        QCOMPARE(t.clipboard(), UsersOwnText);
    }

    // A batch of 2: two new passwords, each followed by CR LF, then "Done" over an empty label.
    // Clicks during the batch and during "Done" change nothing but a box; the timer brings back
    // the mode of the count as it is then, with a new password from the earlier pool.
    void batchCopy()
    {
        MainWindow t;
        t.pasteCount("2");
        const auto ignoredClicks = [&] {
            for (QWidget *button : Controls{t.w.cmCopy, t.w.cmGen, t.w.cmExit})
                t.click(button);
            QTest::mouseDClick(t.w.txNum, Qt::LeftButton);
        };
        t.duringBatch(1, [&] { ignoredClicks(), t.click(t.w.cbSet[2]); });
        t.click(t.w.cmCopy);
        QCOMPARE(t.clipboard(), t.lastShownAsBatch(2));
        QVERIFY(t.w.cmCopy->text() == "Done" && t.password().isEmpty());
        ignoredClicks();
        t.click(t.w.cbFilter);
        QVERIFY(t.w.isVisible() && t.count() == "2" && t.shown.size() == 3);
        QCOMPARE(t.w.cbSet[2]->Value() + t.w.cbFilter->Value(), 0);
        t.w.tmTimer->Fire();
        QVERIFY(t.mode() == "batch" && t.shown.size() == 4 && t.probe.Pool().size() == 55);
        t.click(t.w.cmCopy);
        t.pasteCount("1");
        t.w.tmTimer->Fire();
        QVERIFY(t.mode() == "single" && t.probe.Busy() == 0 && t.w.shCopy->isVisible());
    }

    // The close box stops a batch at once: the clipboard as it was, no password after the close,
    // the spinner let go, the settings saved as they stand (an empty box as 0, read back as 1).
    // A copy the clipboard refuses shows "Failed" for a while, and the next copy works.
    void closedOrRefusedCopy()
    {
        {
            MainWindow t;
            t.pasteCount("500");
            t.duringBatch(6, [&] {
                t.pasteCount("");
                QTest::mousePress(t.w.spNum, Qt::LeftButton, {}, t.w.spNum->DownRect().center());
                t.w.close();
            });
            t.click(t.w.cmCopy);
            QVERIFY(t.clipboard() == UsersOwnText && t.shown.size() == 7);
            QVERIFY(!t.w.tmSpin->Enabled() && !t.w.tmTimer->Enabled());
        }
        QVERIFY(ReadAll(SettingsFile()).endsWith("11110608000\r\n"));
        MainWindow t;
        QCOMPARE(t.count(), "1");
        for (const char *count : {"1", "4"}) {
            t.clip.refuse = true;
            t.pasteCount(count);
            t.click(t.w.cmCopy);
            QVERIFY(t.w.cmCopy->text() == "Failed" && t.clipboard() == UsersOwnText);
            QCOMPARE(t.w.shCopy->isVisible(), t.probe.Busy() == 0); // a failed batch stays busy
            t.clip.refuse = false;
            t.w.tmTimer->Fire();
            QVERIFY(t.probe.Busy() == 0 && !t.password().isEmpty());
        }
        t.pasteCount("1");
        t.click(t.w.cmCopy);
        QCOMPARE(t.clipboard(), t.password());
    }

    // One thumb moved into the other stops at equal values; let go, it pushes the other along;
    // moved back, the thumbs part, and the next contact stops once more. By mouse, by arrow keys
    // and by page keys, for both thumbs.
    void thumbStopsThenPushes_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<QList<Qt::Key>>("keys"); // towards the other thumb, back; none: mouse
        QTest::addColumn<QStringList>("ranges");  // after each move of the test
        QTest::newRow("minimum by mouse")
            << 0 << QList<Qt::Key>()
            << QStringList{"8 - 8 free", "8 - 8 stopped", "10 - 10 pushing", "7 - 10 free",
                           "10 - 10 stopped"};
        QTest::newRow("maximum by arrow keys")
            << 1 << QList{Qt::Key_Left, Qt::Key_Right}
            << QStringList{"10 - 10 free", "10 - 10 stopped", "8 - 8 pushing", "8 - 11 free",
                           "8 - 8 stopped"};
        QTest::newRow("maximum by page keys")
            << 1 << QList{Qt::Key_PageDown, Qt::Key_PageUp}
            << QStringList{"20 - 20 free", "20 - 20 stopped", "10 - 10 pushing", "10 - 25 free",
                           "10 - 10 stopped"};
    }
    void thumbStopsThenPushes()
    {
        QFETCH(int, slider);
        QFETCH(QList<Qt::Key>, keys);
        QFETCH(QStringList, ranges);
        MainWindow t;
        const int contact = ranges[0].section(' ', 0, 0).toInt();
        const int step = keys.contains(Qt::Key_PageUp) ? 5 : 1, towards = slider ? -1 : 1;
        t.clickSlider(1, contact + 2 * step * slider);
        t.clickSlider(0, contact - 2 * step * (1 - slider));
        t.tabTo(t.w.sldLen[slider]);
        // Grabs the thumb, moves it n steps towards the other (back for negative n), lets go.
        const auto move = [&](int n) {
            if (keys.isEmpty()) t.pressSlider(slider, t.w.sldLen[slider]->Value());
            for (int i = 0; i < std::abs(n); ++i) {
                if (!keys.isEmpty())
                    t.holdKey(keys[n < 0]);
                else
                    t.dragTo(t.w.sldLen[slider]->Value() + (n > 0 ? towards : -towards));
            }
            const QString range = t.range();
            keys.isEmpty() ? t.release() : t.releaseKey();
            return range;
        };
        for (int n : {2, 1, 2, -3, 4})
            QCOMPARE(move(n), ranges.takeFirst());
        QVERIFY(t.range().endsWith("pushing")); // a stop let go pushes
    }

    // The other ways the coupling of the thumbs changes, and the lengths composed for.
    void coupling_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("range");
        QTest::newRow("a press crosses the range until a move couples") << Steps([](MainWindow &t) {
            t.clickSlider(0, 20);
            QVERIFY(t.range() == "20 - 8 free" && t.password().size() == 20);
            t.clickSlider(1, 8), t.pressKey(Qt::Key_Right);
        }) << "20 - 20 pushing";
        QTest::newRow("a pushed thumb moved back to its old value composes")
            << Steps([](MainWindow &t) {
                   StopMinimumAtMaximum(t), t.releaseKey(), t.pressKey(Qt::Key_Right);
                   t.tabTo(t.w.sldLen[1]), t.pressKey(Qt::Key_Left), t.pressKey(Qt::Key_Left);
                   t.clickSlider(0, 9);
               })
            << "9 - 8 free";
    }
    void coupling()
    {
        QFETCH(Steps, steps);
        QFETCH(QString, range);
        MainWindow t;
        steps(t);
        MainWindow::settle();
        QCOMPARE(t.range(), range);
        const int min = t.w.sldLen[0]->Value(), max = std::max(min, t.w.sldLen[1]->Value());
        QVERIFY(t.password().size() >= min && t.password().size() <= max);
    }

    // F1 opens the About window when released. A click on the link opens the site once, greys
    // the link and puts the focus on OK until tmOne ends the lock; Help opens the help file and
    // the window stays; Escape closes it, the focus back on the minimum slider. Each showing is
    // a fresh window.
    void aboutWindow()
    {
        MainWindow t;
        const Opener opener;
        t.tabTo(t.w.cmGen);
        t.holdKey(Qt::Key_F1);
        QCOMPARE(t.focus(), t.w.cmGen);
        for (bool second : {false, true}) {
            t.whenModal([&](QWidget *about) {
                QWidget *link = about->findChild<QWidget *>("lblLink");
                QVERIFY(link->isEnabled() && t.focus()->objectName() == "cmHelp");
                t.click(link);
                t.click(link);
                QVERIFY(!link->isEnabled() && t.focus()->objectName() == "cmOK");
                QVERIFY(about->findChild<EventTimer *>("tmOne")->Enabled() &&
                        link->font().underline());
                if (second)
                    about->findChild<EventTimer *>("tmOne")->Fire();
                else
                    t.click(about->findChild<QWidget *>("cmHelp"));
                QVERIFY(link->isEnabled() == second && about->isVisible());
                t.pressKey(Qt::Key_Escape);
            });
            second ? t.click(t.w.cmHelp) : t.releaseKey();
            QCOMPARE(t.focus(), t.w.sldLen[0]);
        }
        const QUrl site("https://" + QLatin1String(app::WebSite));
        QVERIFY(opener.urls.size() == 3 && opener.urls[0] == site && opener.urls[2] == site);
        QCOMPARE(opener.urls[1].fileName(), "Zintrova.chm");
    }

    // Every choice and the window's place come back at the next start and are saved again as
    // they were.
    void settingsSurviveARestart()
    {
        {
            MainWindow t;
            t.click(t.w.cbSet[1]);
            t.click(t.w.cbFilter);
            t.clickSlider(1, 30);
            t.clickSlider(0, 12);
            t.pasteCount("25");
            t.w.move(100, 80);
            t.click(t.w.cmExit);
        }
        const QByteArray saved = ReadAll(SettingsFile());
        QCOMPARE(saved, "015000120001101230025\r\n");
        {
            MainWindow t;
            QVERIFY(t.w.pos() == QPoint(100, 80) && t.range() == "12 - 30 free");
            QVERIFY(t.count() == "25" && t.probe.Pool().size() == 36);
            t.click(t.w.cmExit);
        }
        QCOMPARE(ReadAll(SettingsFile()), saved);
    }

    // At activation the range label turns black or white when its colour and the button face
    // differ in brightness (the largest component) by less than 63, and keeps it otherwise.
    void rangeLabelContrast()
    {
        QCOMPARE(ContrastForeColor(qRgb(192, 0, 0), qRgb(0, 0, 255)), std::nullopt); // 63 apart
        fmMain w;
        QPalette pal = w.palette();
        pal.setColor(QPalette::Button, QColor(128, 0, 40));
        pal.setColor(QPalette::HighlightedText, QColor(0, 160, 0));
        w.setPalette(pal);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.lbLimits->ForeColor(), QColor(Qt::white));
    }

    // A password of 40 characters fits, the widest range fits left of the maximum slider, the
    // copy frame is drawn; the About window's labels lie within it, unclipped, and its logo is
    // read. Screen readers can tell every control that takes the focus from the others.
    void nothingIsClipped()
    {
        MainWindow t;
        const int forty = t.w.lbPass->fontMetrics().horizontalAdvance(QString(40, 'W'));
        QVERIFY(forty + 2 * t.w.lbPass->frameWidth() <= t.w.lbPass->width());
        t.w.lbLimits->setCaption("40 - 40");
        QVERIFY(t.w.lbLimits->geometry().right() < t.w.sldLen[1]->x());
        t.w.shCopy->show();
        QCOMPARE(t.w.grab().toImage().pixelColor(t.w.shCopy->pos()), QColor(0, 255, 0));
        fmAbout about;
        for (QLabel *label : about.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()) &&
                         about.rect().contains(label->geometry()),
                     qPrintable(label->objectName()));
        QCOMPARE(LogoPicture().size(), QSize(152, 34));
        QStringList names; // of the controls that take the focus, as screen readers say them
        for (QWidget *window : Controls{&t.w, &about})
            for (QWidget *control : window->findChildren<QWidget *>())
                if (control->focusPolicy() != Qt::NoFocus)
                    names << QAccessible::queryAccessibleInterface(control)->text(
                        QAccessible::Name);
        QVERIFY(names.size() == 14 && !names.contains("") && !names.removeDuplicates());
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
