// The main window on the offscreen platform, driven by real input: what only the whole window
// does, where its handlers meet. The engine's rules, the contrast rule, the key mapping and the
// spinner's names for screen readers have tests of their own at their layer; the storm
// (tst_storm.cpp) guards the rules that hold after any action.

#include "settings/ini_file.h"
#include "settings/record.h"
#include "window_fixture.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace zintrova;

namespace {

QString SettingsFile()
{
    return settings::IniPath(settings::SettingsFolder());
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
        t.pressKey(Qt::Key_Up);
        QCOMPARE(t.focusName(), "sldLen(0)");
        QCOMPARE(t.range(), "6 - 8 free");
    }

    // The first Escape puts the focus on Exit, the second presses it.
    void escapeTwiceExits()
    {
        MainWindow t;
        t.pressKey(Qt::Key_Escape);
        QCOMPARE(t.focusName(), "cmExit");
        QCOMPARE(t.w.isVisible(), true);
        t.pressKey(Qt::Key_Escape);
        QCOMPARE(t.w.isVisible(), false);
    }

    // Return presses the button that has the focus, and elsewhere Generate, the default button.
    void returnPressesTheFocusedButtonElseGenerate_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("passwordsShown");
        QTest::addColumn<bool>("copied");
        QTest::newRow("on Copy") << "cmCopy" << 1 << true;
        QTest::newRow("on a box") << "cbFilter" << 2 << false;
    }
    void returnPressesTheFocusedButtonElseGenerate()
    {
        QFETCH(QString, focus);
        QFETCH(int, passwordsShown);
        QFETCH(bool, copied);
        MainWindow t;
        t.focusOn(t.w.findChild<QWidget *>(focus));
        t.pressKey(Qt::Key_Return);
        QCOMPARE(t.shown.size(), passwordsShown);
        QCOMPARE(t.clipboard(), copied ? t.password() : UsersOwnText);
    }

    // F1 opens the About window and Escape there closes it; the focus comes back to the minimum
    // slider.
    void f1OpensTheAboutWindow()
    {
        MainWindow t;
        t.focusOn(t.w.cbFilter);
        QString opened;
        bool closedByEscape = false;
        QTimer closer; // as soon as the modal window shows
        closer.callOnTimeout([&] {
            if (QWidget *about = QApplication::activeModalWidget()) {
                opened = about->windowTitle();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                closedByEscape = !about->isVisible();
                about->close(); // in any case, or the test would wait for ever
            }
        });
        closer.start(10);
        t.pressKey(Qt::Key_F1);
        QCOMPARE(opened, "About Zintrova");
        QCOMPARE(closedByEscape, true);
        QCOMPARE(t.focusName(), "sldLen(0)");
    }

    // --- the count

    // Digits typed while another control has the focus go into the count box, in place of what
    // it held and in the order typed, also where they arrive before the box has the focus.
    void digitsTypedElsewhereGoIntoTheCount_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::newRow("the lowest digit") << "0";
        QTest::newRow("the highest digit") << "9";
        QTest::newRow("three at once") << "907";
    }
    void digitsTypedElsewhereGoIntoTheCount()
    {
        QFETCH(QString, digits);
        MainWindow t;
        t.pasteCount("25");
        t.focusOn(t.w.cmExit);
        for (QChar digit : digits) // all sent before the window handles any of them
            QTest::keyClick(t.focus(), digit.toLatin1());
        QTRY_COMPARE(t.count(), digits);
    }

    void countBoxTakesThreeDigitsAndNothingElse()
    {
        MainWindow t;
        t.pasteCount("");
        t.type("a-.+, XZ2/5:6 1");
        QCOMPARE(t.count(), "256");
    }

    // A count pasted, then perhaps keys in the box: what the box then shows.
    void countEntry_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0 turns to 1 when the box is left") << "0" << QKeySequence("Tab") << "1";
        QTest::newRow("PageDown takes five") << "10" << QKeySequence("PgDown") << "5";
        QTest::newRow("PageUp stops at 999") << "997" << QKeySequence("PgUp") << "999";
        QTest::newRow("PageDown stops at 1") << "3" << QKeySequence("PgDown") << "1";
        QTest::newRow("Ctrl+Home sets 1") << "50" << QKeySequence("Ctrl+Home") << "1";
    }
    void countEntry()
    {
        QFETCH(QString, pasted);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, shown);
        MainWindow t;
        t.pasteCount(pasted);
        QTest::keySequence(t.w.txNum, keys);
        MainWindow::settle();
        QCOMPARE(t.count(), shown);
    }

    // A press on an arrow of the spinner steps the count at once and puts the focus in the box.
    // Held, it repeats, by 5 while Shift is down too; let go, it stops.
    void spinnerRepeatsWhileHeld_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QStringList>("counts"); // after the press and after the repeat
        QTest::newRow("up") << true << false << QStringList{"12", "13"};
        QTest::newRow("down, Shift held") << false << true << QStringList{"10", "5"};
    }
    void spinnerRepeatsWhileHeld()
    {
        QFETCH(bool, up);
        QFETCH(bool, shift);
        QFETCH(QStringList, counts);
        MainWindow t;
        const QPoint arrow = (up ? t.w.spNum->UpRect() : t.w.spNum->DownRect()).center();
        t.pasteCount("11");
        QTest::mousePress(t.w.spNum, Qt::LeftButton, {}, arrow);
        QCOMPARE(t.count(), counts[0]);
        QCOMPARE(t.w.tmSpin->Enabled(), true);
        QTRY_COMPARE(t.focusName(), "txNum");
        if (shift) t.holdKey(Qt::Key_Shift);
        t.w.tmSpin->Fire();
        QCOMPARE(t.count(), counts[1]);
        QCOMPARE(t.w.tmSpin->Enabled(), true);
        QTest::mouseRelease(t.w.spNum, Qt::LeftButton, {}, arrow);
        QCOMPARE(t.w.tmSpin->Enabled(), false);
    }

    // --- the sets

    // Turning the last set off turns lower case back on, and the password is of lower case.
    void lastSetOffTurnsLowerCaseBackOn()
    {
        MainWindow t;
        for (int set : {3, 2, 1})
            t.click(t.w.cbSet[set]);
        QCOMPARE(t.w.cbSet[1]->Value(), 1);
        QCOMPARE(t.w.cbSet[2]->Value(), 0);
        QCOMPARE(t.w.cbSet[3]->Value(), 0);
        QCOMPARE(QRegularExpression("^[a-z]{6,8}$").match(t.password()).hasMatch(), true);
    }

    // --- copies

    // Ctrl+Insert copies where a single password is asked for; Ctrl+C does not copy a batch.
    void copyShortcut_data()
    {
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("copies");
        QTest::newRow("Ctrl+Insert") << QKeySequence("Ctrl+Ins") << "1" << true;
        QTest::newRow("Ctrl+C for a batch") << QKeySequence("Ctrl+C") << "5" << false;
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

    // After a copy, of one password or of a batch, the focus is on Exit.
    void copyPutsTheFocusOnExit_data()
    {
        QTest::addColumn<QString>("count");
        QTest::newRow("one password") << "1";
        QTest::newRow("a batch") << "3";
    }
    void copyPutsTheFocusOnExit()
    {
        QFETCH(QString, count);
        MainWindow t;
        t.pasteCount(count);
        t.click(t.w.cmCopy);
        QCOMPARE(t.focusName(), "cmExit");
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

    // While a batch runs and while its "Done" shows, Copy, Generate and Exit do nothing and a box
    // changes only itself: the next password comes from the pool the batch began with.
    void clicksDuringABatchChangeOnlyTheBoxes()
    {
        MainWindow t;
        t.pasteCount("2");
        const auto pool = t.probe.Pool();
        const auto clickAll = [&t](QWidget *box) {
            for (QWidget *button : {t.w.cmCopy, t.w.cmGen, t.w.cmExit})
                t.click(button);
            t.click(box);
        };
        t.duringBatch([&] { clickAll(t.w.cbSet[3]); });
        t.click(t.w.cmCopy);
        clickAll(t.w.cbFilter);
        QCOMPARE(t.shown.size(), 3);
        QCOMPARE(t.w.cbSet[3]->Value(), 0);
        QCOMPARE(t.w.cbFilter->Value(), 0);
        QCOMPARE(t.w.isVisible(), true);
        t.w.tmTimer->Fire();
        QCOMPARE(t.shown.size(), 4);
        QCOMPARE(t.probe.Pool(), pool);
    }

    // The close box stops a batch at once: the clipboard keeps the user's text, no password
    // follows, and the settings are saved as they stand (the emptied count as 0).
    void closeBoxStopsABatch()
    {
        {
            MainWindow t;
            t.pasteCount("500");
            t.duringBatch([&t] {
                t.pasteCount("");
                t.w.close();
            });
            t.click(t.w.cmCopy);
            QCOMPARE(t.clipboard(), UsersOwnText);
            QCOMPARE(t.shown.size(), 2);
        }
        const auto saved = settings::DecodeRecord(ReadAll(SettingsFile()).toStdString());
        QCOMPARE(saved.Count, std::int16_t(0));
    }

    // A batch the clipboard refuses says "Failed" and keeps the window busy until the copy
    // timer's tick.
    void refusedBatchSaysFailedUntilTheTick()
    {
        MainWindow t;
        t.clip.refuse = true;
        t.pasteCount("4");
        t.click(t.w.cmCopy);
        QCOMPARE(t.w.cmCopy->text(), "Failed");
        QCOMPARE(t.clipboard(), UsersOwnText);
        QCOMPARE(t.probe.Busy(), busy::BatchCopy);
        t.w.tmTimer->Fire();
        QCOMPARE(t.probe.Busy(), busy::Idle);
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
        const QByteArray line = QByteArray::fromStdString(settings::EncodeRecord(record)) + "\r\n";
        QCOMPARE(ReadAll(SettingsFile()), line);
        {
            MainWindow t;
            QCOMPARE(t.w.pos(), QPoint(100, 80));
            QCOMPARE(t.range(), "12 - 30 free");
            QCOMPARE(t.count(), "25");
            QCOMPARE(t.probe.Pool().size(), std::size_t(36));
            t.click(t.w.cmExit);
        }
        QCOMPARE(ReadAll(SettingsFile()), line);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
