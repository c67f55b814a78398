// The main window on the offscreen platform, driven by real input: what only the whole window
// does, where its handlers meet. The engine's rules, the contrast rule, the key mapping and the
// spinner's names for screen readers have tests of their own at their layer; the storm
// (tst_storm.cpp) guards the rules that hold after any action.

#include "settings/ini_file.h"
#include "settings/record.h"
#include "window_fixture.h"

#include <QTemporaryDir>

using namespace zintrova;

namespace {

QString SettingsFile()
{
    return settings::IniPath(settings::SettingsFolder());
}

// A settings file's line for the record.
QByteArray FileLine(const settings::Record &record)
{
    return QByteArray::fromStdString(settings::EncodeRecord(record)) + "\r\n";
}

// In a table of slider moves: by the mouse, not by a key.
constexpr Qt::Key ByMouse = Qt::Key_unknown;

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

    // --- start and the boxes

    void theLastSetTurnedOffTurnsLowerCaseBackOn()
    {
        MainWindow t;
        for (QWidget *box : {t.w.cbSet[2], t.w.cbSet[3], t.w.cbSet[1]})
            t.click(box);
        QCOMPARE(t.w.cbSet[1]->Value(), 1);
        QCOMPARE(t.password(), t.password().toLower());
    }

    // --- the keyboard

    void tabVisitsTheControlsInOrder()
    {
        MainWindow t;
        QStringList visited;
        for (int i = 0; i < 12; ++i) {
            t.pressKey(Qt::Key_Tab);
            visited << t.focusName();
        }
        const QStringList order = {"sldLen(1)", "cbSet(1)", "cbSet(2)", "cbSet(3)",
                                   "cbFilter",  "cmGen",    "txNum",    "spNum",
                                   "cmCopy",    "cmExit",   "cmHelp",   "sldLen(0)"};
        QCOMPARE(visited, order);
    }

    // Alt with the underlined letter of a box or a button presses it.
    void altLetterPressesItsControl()
    {
        MainWindow t;
        QStringList pressed;
        for (QAbstractButton *button : t.w.findChildren<QAbstractButton *>())
            QObject::connect(button, &QAbstractButton::clicked, &t.w,
                             [&pressed, button] { pressed << button->objectName(); });
        const Qt::Key letters[] = {Qt::Key_A, Qt::Key_Z, Qt::Key_N, Qt::Key_F,
                                   Qt::Key_G, Qt::Key_C, Qt::Key_E};
        for (int i = 0; i < 7; ++i) {
            t.pressKey(letters[i], Qt::AltModifier);
            QTRY_COMPARE(pressed.size(), i + 1); // a pressed button shows down for a moment
        }
        const QStringList order = {"cbSet(1)", "cbSet(2)", "cbSet(3)", "cbFilter",
                                   "cmGen",    "cmCopy",   "cmExit"};
        QCOMPARE(pressed, order);
    }

    // Up and Down go from one length slider to the other and change no length.
    void upAndDownMoveBetweenTheSliders()
    {
        MainWindow t;
        t.pressKey(Qt::Key_Down);
        QCOMPARE(t.focusName(), "sldLen(1)");
        t.pressKey(Qt::Key_Down);
        QCOMPARE(t.focusName(), "sldLen(1)");
        t.pressKey(Qt::Key_Up);
        QCOMPARE(t.focusName(), "sldLen(0)");
        t.pressKey(Qt::Key_Up);
        QCOMPARE(t.focusName(), "sldLen(0)");
        QCOMPARE(t.range(), "6 - 8 free");
    }

    // The first Escape puts the focus on Exit, the second presses it.
    void escapeTwicePressesExit()
    {
        MainWindow t;
        t.pressKey(Qt::Key_Escape);
        QCOMPARE(t.focusName(), "cmExit");
        t.pressKey(Qt::Key_Escape);
        QCOMPARE(t.w.isVisible(), false);
    }

    // --- the count

    // A digit typed while another control has the focus goes into the count box, in place of
    // what it held.
    void aDigitTypedElsewhereGoesIntoTheCount_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("digit");
        QTest::newRow("on the maximum slider") << "sldLen(1)" << "4";
        QTest::newRow("on Exit") << "cmExit" << "7";
        QTest::newRow("on the spinner") << "spNum" << "9";
    }
    void aDigitTypedElsewhereGoesIntoTheCount()
    {
        QFETCH(QString, control);
        QFETCH(QString, digit);
        MainWindow t;
        t.pasteCount("25");
        t.focusOn(t.w.findChild<QWidget *>(control));
        t.type(digit);
        QTRY_COMPARE(t.count(), digit);
    }

    void countBoxTakesThreeDigitsAndNothingElse()
    {
        MainWindow t;
        t.pasteCount("");
        t.type("a-.+, XZ2/5:6 1");
        QCOMPARE(t.count(), "256");
    }

    // A count of 0 is no count until the box is left, which puts 1 back.
    void noCountTurnsToOneWhenTheBoxIsLeft()
    {
        MainWindow t;
        t.pasteCount("0");
        QCOMPARE(t.mode(), "invalid");
        t.focusOn(t.w.sldLen[0]);
        QCOMPARE(t.count(), "1");
        QCOMPARE(t.mode(), "single");
    }

    // A count pasted, then perhaps keys in the box: what the box then shows.
    void countEntry_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cut to three digits") << "12345" << QKeySequence() << "123";
        QTest::newRow("Up adds one") << "5" << QKeySequence("Up") << "6";
        QTest::newRow("PageDown takes five") << "10" << QKeySequence("PgDown") << "5";
        QTest::newRow("PageUp stops at 999") << "997" << QKeySequence("PgUp") << "999";
        QTest::newRow("PageDown stops at 1") << "3" << QKeySequence("PgDown") << "1";
        QTest::newRow("PageUp from a negative count") << "-5" << QKeySequence("PgUp") << "5";
        QTest::newRow("Ctrl+Home sets 1") << "50" << QKeySequence("Ctrl+Home") << "1";
        QTest::newRow("Ctrl+Shift+Home moves the caret only")
            << "50" << QKeySequence("Ctrl+Shift+Home") << "50";
    }
    void countEntry()
    {
        QFETCH(QString, pasted);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, shown);
        MainWindow t;
        t.pasteCount(pasted);
        QTest::keySequence(t.w.txNum, keys);
        QCOMPARE(t.count(), shown);
    }

    // A press on the spinner's up arrow steps the count at once and puts the focus in the box.
    // Held, it repeats a second later, then every 50 ms, by 5 while Shift is down; let go, it
    // stops.
    void spinnerRepeatsWhileHeld()
    {
        MainWindow t;
        const QPoint up = t.w.spNum->UpRect().center();
        t.pasteCount("11");
        QTest::mousePress(t.w.spNum, Qt::LeftButton, {}, up);
        QCOMPARE(t.count(), "12");
        QCOMPARE(t.w.tmSpin->Interval(), 1000);
        QCOMPARE(t.w.tmSpin->Enabled(), true);
        QTRY_COMPARE(t.focusName(), "txNum");
        t.w.tmSpin->Fire();
        QCOMPARE(t.count(), "13");
        QCOMPARE(t.w.tmSpin->Interval(), 50);
        QCOMPARE(t.w.tmSpin->Enabled(), true);
        t.holdKey(Qt::Key_Shift);
        t.w.tmSpin->Fire();
        t.releaseKey();
        QCOMPARE(t.count(), "18");
        t.w.tmSpin->Fire();
        QCOMPARE(t.count(), "19");
        QTest::mouseRelease(t.w.spNum, Qt::LeftButton, {}, up);
        QCOMPARE(t.w.tmSpin->Enabled(), false);
    }

    // --- copies

    // Copy puts the password on show on the clipboard, marked secret; the frame that says "not
    // copied yet" goes until the next password, and the focus moves on to Exit.
    void copyPutsThePasswordOnTheClipboard()
    {
        MainWindow t;
        t.click(t.w.cmCopy);
        QCOMPARE(t.clipboard(), t.password());
        QCOMPARE(t.w.shCopy->isVisible(), false);
        QCOMPARE(t.focusName(), "cmExit");
        t.click(t.w.cmGen);
        QCOMPARE(t.w.shCopy->isVisible(), true);
    }

    // Ctrl+C and Ctrl+Insert copy where a single password is asked for, and nowhere else.
    void copyShortcut_data()
    {
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("copies");
        const QKeySequence ctrlC("Ctrl+C"), ctrlInsert("Ctrl+Ins");
        QTest::newRow("Ctrl+C") << ctrlC << "1" << true;
        QTest::newRow("Ctrl+Insert") << ctrlInsert << "1" << true;
        QTest::newRow("Ctrl+Shift+C") << QKeySequence("Ctrl+Shift+C") << "1" << false;
        QTest::newRow("Ctrl+C for a batch") << ctrlC << "5" << false;
    }
    void copyShortcut()
    {
        QFETCH(QKeySequence, shortcut);
        QFETCH(QString, count);
        QFETCH(bool, copies);
        MainWindow t;
        t.pasteCount(count);
        t.pressKey(Qt::Key_End); // nothing selected, so that the box itself copies nothing
        QTest::keySequence(t.focus(), shortcut);
        QCOMPARE(t.clipboard(), copies ? t.password() : UsersOwnText);
    }

    // A batch: new passwords, each ended by CR LF, then "Done" over an empty label until the
    // copy timer's tick brings a new password.
    void batchCopyPutsNewPasswordsOnePerLine()
    {
        MainWindow t;
        t.pasteCount("3");
        t.click(t.w.cmCopy);
        QCOMPARE(t.shown.size(), 4);
        QCOMPARE(t.clipboard(), t.shown.mid(1).join("\r\n") + "\r\n");
        QCOMPARE(t.w.cmCopy->text(), "Done");
        QCOMPARE(t.password(), "");
        t.w.tmTimer->Fire();
        QCOMPARE(t.shown.size(), 5);
        QCOMPARE(t.mode(), "batch");
    }

    // The copy button counts a batch down: at every password up to 50, at every second up to
    // 120, every third up to 300, every fifth beyond.
    void batchCountsDownOnTheCopyButton_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("step");
        QTest::newRow("50, by one") << 50 << 1;
        QTest::newRow("51, by two") << 51 << 2;
        QTest::newRow("120, by two") << 120 << 2;
        QTest::newRow("121, by three") << 121 << 3;
        QTest::newRow("300, by three") << 300 << 3;
        QTest::newRow("301, by five") << 301 << 5;
    }
    void batchCountsDownOnTheCopyButton()
    {
        QFETCH(int, count);
        QFETCH(int, step);
        QStringList captions; // the copy button's, as each password shows
        MainWindow t;
        t.pasteCount(QString::number(count));
        QObject::connect(t.w.lbPass, &ChangeLabel::Change, &t.w, [&] {
            if (captions.isEmpty() || captions.last() != t.w.cmCopy->text())
                captions << t.w.cmCopy->text();
        });
        t.click(t.w.cmCopy);
        QCOMPARE(captions.value(0), QString(" %1").arg(count));
        QCOMPARE(captions.value(1), QString(" %1").arg(count - step));
    }

    // While a batch runs and while its "Done" shows, Copy, Generate, Exit and a double-click on
    // the count do nothing and a box changes only itself: the next password comes from the pool
    // the batch began with.
    void clicksDuringABatchChangeOnlyTheBoxes()
    {
        MainWindow t;
        t.pasteCount("2");
        const std::string pool = t.probe.Pool();
        const auto clickAll = [&t](QWidget *box) {
            for (QWidget *button : {t.w.cmCopy, t.w.cmGen, t.w.cmExit})
                t.click(button);
            QTest::mouseDClick(t.w.txNum, Qt::LeftButton);
            t.click(box);
        };
        t.duringBatch(1, [&] { clickAll(t.w.cbSet[3]); });
        t.click(t.w.cmCopy);
        clickAll(t.w.cbFilter);
        QCOMPARE(t.shown.size(), 3);
        QCOMPARE(t.count(), "2");
        QCOMPARE(t.w.cbSet[3]->Value(), 0);
        QCOMPARE(t.w.cbFilter->Value(), 0);
        QVERIFY(t.w.isVisible());
        t.w.tmTimer->Fire();
        QCOMPARE(t.shown.size(), 4);
        QCOMPARE(t.probe.Pool(), pool);
    }

    // The close box stops a batch at once: the clipboard keeps the user's text, no password
    // follows, the spinner held down is let go, and the settings are saved as they stand (the
    // emptied count as 0, which the next start reads as 1).
    void closeBoxStopsABatch()
    {
        {
            MainWindow t;
            t.pasteCount("500");
            t.duringBatch(6, [&t] {
                t.pasteCount("");
                QTest::mousePress(t.w.spNum, Qt::LeftButton, {}, t.w.spNum->DownRect().center());
                t.w.close();
            });
            t.click(t.w.cmCopy);
            QCOMPARE(t.clipboard(), UsersOwnText);
            QCOMPARE(t.shown.size(), 7);
            QCOMPARE(t.w.tmSpin->Enabled(), false);
            QCOMPARE(t.w.tmTimer->Enabled(), false);
        }
        const auto saved = settings::DecodeRecord(ReadAll(SettingsFile()).toStdString());
        QCOMPARE(saved.Count, std::int16_t(0));
        MainWindow next;
        QCOMPARE(next.count(), "1");
    }

    // A copy the clipboard refuses says "Failed" until the copy timer's tick, and the next copy
    // works. A failed single copy keeps the frame that says "not copied yet"; a failed batch
    // keeps the window busy until the tick.
    void refusedCopySaysFailed_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("frameShown");
        QTest::addColumn<std::int16_t>("busyUntilTheTick");
        QTest::newRow("one password") << "1" << true << busy::Idle;
        QTest::newRow("a batch") << "4" << false << busy::BatchCopy;
    }
    void refusedCopySaysFailed()
    {
        QFETCH(QString, count);
        QFETCH(bool, frameShown);
        QFETCH(std::int16_t, busyUntilTheTick);
        MainWindow t;
        t.clip.refuse = true;
        t.pasteCount(count);
        t.click(t.w.cmCopy);
        QCOMPARE(t.w.cmCopy->text(), "Failed");
        QCOMPARE(t.clipboard(), UsersOwnText);
        QCOMPARE(t.w.shCopy->isVisible(), frameShown);
        QCOMPARE(t.probe.Busy(), busyUntilTheTick);
        t.clip.refuse = false;
        t.w.tmTimer->Fire();
        QCOMPARE(t.probe.Busy(), busy::Idle);
        t.pasteCount("1");
        t.click(t.w.cmCopy);
        QCOMPARE(t.clipboard(), t.password());
    }

    // --- the length sliders

    // One thumb moved into the other stops at equal values; let go, it pushes the other along;
    // moved back, the thumbs part, and the next contact stops once more. The range after each
    // of five moves: 2 steps towards the other thumb, 1, 2, then 3 back and 4 towards it.
    void thumbStopsThenPushes_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<Qt::Key>("towards"); // the key towards the other thumb; none: the mouse
        QTest::addColumn<Qt::Key>("back");
        QTest::addColumn<int>("minimum"); // the lengths at the start
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QStringList>("ranges");
        QTest::newRow("minimum by mouse")
            << 0 << ByMouse << ByMouse << 6 << 8
            << QStringList{"8 - 8 free", "8 - 8 stopped", "10 - 10 pushing", "7 - 10 free",
                           "10 - 10 stopped"};
        QTest::newRow("maximum by arrow keys")
            << 1 << Qt::Key_Left << Qt::Key_Right << 10 << 12
            << QStringList{"10 - 10 free", "10 - 10 stopped", "8 - 8 pushing", "8 - 11 free",
                           "8 - 8 stopped"};
        QTest::newRow("maximum by page keys")
            << 1 << Qt::Key_PageDown << Qt::Key_PageUp << 20 << 30
            << QStringList{"20 - 20 free", "20 - 20 stopped", "10 - 10 pushing", "10 - 25 free",
                           "10 - 10 stopped"};
    }
    void thumbStopsThenPushes()
    {
        QFETCH(int, slider);
        QFETCH(Qt::Key, towards);
        QFETCH(Qt::Key, back);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(QStringList, ranges);
        MainWindow t;
        t.clickSlider(1, maximum);
        t.clickSlider(0, minimum);
        t.focusOn(t.w.sldLen[slider]);
        // Moves the thumb n steps towards the other (back for negative n), the mouse button or
        // the key held down throughout: the range before letting go.
        const auto move = [&](int n) {
            const int direction = (slider == 0) == (n > 0) ? 1 : -1;
            if (towards == ByMouse) t.pressSlider(slider, t.w.sldLen[slider]->Value());
            for (int i = 0; i < std::abs(n); ++i) {
                if (towards == ByMouse)
                    t.dragTo(t.w.sldLen[slider]->Value() + direction);
                else
                    t.holdKey(n > 0 ? towards : back);
            }
            const QString range = t.range();
            towards == ByMouse ? t.release() : t.releaseKey();
            return range;
        };
        for (int n : {2, 1, 2, -3, 4})
            QCOMPARE(move(n), ranges.takeFirst());
        QVERIFY(t.range().endsWith("pushing")); // a stop let go pushes
    }

    // A thumb held against the other at the stop composes no new password.
    void aThumbHeldAtTheStopComposesNothing()
    {
        MainWindow t;
        t.pressKey(Qt::Key_Right);
        t.pressKey(Qt::Key_Right);
        QCOMPARE(t.shown.size(), 3);
        t.holdKey(Qt::Key_Right);
        t.holdKey(Qt::Key_Right);
        QCOMPARE(t.range(), "8 - 8 stopped");
        QCOMPARE(t.shown.size(), 3);
    }

    // A thumb pushed along, then moved back to the length it had before the push, composes for
    // that length.
    void aPushedThumbMovedBackComposes()
    {
        MainWindow t;
        for (int i = 0; i < 3; ++i)
            t.holdKey(Qt::Key_Right); // the minimum from 6 onto the maximum's 8, and held there
        t.releaseKey();
        t.pressKey(Qt::Key_Right);
        QCOMPARE(t.range(), "9 - 9 pushing");
        t.focusOn(t.w.sldLen[1]);
        t.pressKey(Qt::Key_Left);
        t.pressKey(Qt::Key_Left);
        QCOMPARE(t.range(), "8 - 8 pushing");
        t.clickSlider(0, 9);
        QCOMPARE(t.range(), "9 - 8 free");
        QCOMPARE(t.password().size(), qsizetype(9));
    }

    // Each length's thumb stands at its place on the common scale: 8 pixels in from the slider's
    // left edge for its lowest length, 13 pixels a step.
    void thumbStandsAtItsLengthOnTheScale()
    {
        MainWindow t;
        const auto centreAt = [&t](int slider, int length) {
            t.w.sldLen[slider]->setValue(length);
            return t.w.sldLen[slider]->ThumbRect().center().x();
        };
        QCOMPARE(centreAt(0, 3), 8);
        QCOMPARE(centreAt(0, 40), 489);
        QCOMPARE(centreAt(1, 40), 450);
    }

    // --- the About window

    // F1 opens the About window when it is let go; the window closed, the focus is back on the
    // minimum slider.
    void f1OpensTheAboutWindowWhenLetGo()
    {
        MainWindow t;
        int opened = 0;
        t.whenModal([&](QWidget *) { ++opened; });
        t.focusOn(t.w.cmGen);
        t.holdKey(Qt::Key_F1);
        QCOMPARE(opened, 0);
        t.releaseKey();
        QCOMPARE(opened, 1);
        QCOMPARE(t.focusName(), "sldLen(0)");
    }

    // --- the settings

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
        const settings::Record record{
            .Left = 1500, .Top = 1200, .Set = {0, 1, 1}, .Filter = 0, .Len = {12, 30}, .Count = 25};
        QCOMPARE(ReadAll(SettingsFile()), FileLine(record));
        {
            MainWindow t;
            QCOMPARE(t.w.pos(), QPoint(100, 80));
            QCOMPARE(t.range(), "12 - 30 free");
            QCOMPARE(t.count(), "25");
            QCOMPARE(t.probe.Pool().size(), std::size_t(36));
            t.click(t.w.cmExit);
        }
        QCOMPARE(ReadAll(SettingsFile()), FileLine(record));
    }

    // Saved with every set off, the boxes come back off and show no password: loading the
    // saved values does not run the boxes' click handling, which would turn lower case back on.
    void everySetSavedOffLoadsOff()
    {
        WriteAll(SettingsFile(), FileLine({.Set = {0, 0, 0}, .Filter = 1, .Len = {6, 8}, .Count = 1}));
        MainWindow t;
        QCOMPARE(t.w.cbSet[1]->Value(), 0);
        QCOMPARE(t.w.cbSet[2]->Value(), 0);
        QCOMPARE(t.w.cbSet[3]->Value(), 0);
        QCOMPARE(t.password(), "");
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
