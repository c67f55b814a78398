// Copying on the offscreen platform: the single copy (by click or shortcut) with the secret mark
// read back, the batch with its countdown, "Done" and the timed restore, the guarded clicks
// meanwhile, and the mended faults: no copy for a count below 1 or without a password, a failed
// write is not "Done", and the close box stops a batch.

#include "modes.h"

#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <functional>

using namespace zintrova;

namespace {

const QString Sentinel = QStringLiteral("what the user had copied");
const QString CRLF = QStringLiteral("\r\n");

QString SystemText()
{
    return QGuiApplication::clipboard()->text();
}

// When refusing, the data never reaches the system clipboard, as when another program holds it.
class RefusingClipboard : public Clipboard {
public:
    bool refuse = false;

protected:
    void Write(QMimeData *data) override { refuse ? delete data : Clipboard::Write(data); }
};

// A shown window with the given count, its clipboard able to refuse, the user's own text on the
// system clipboard. It records each password put on show, with the copy button's caption then,
// and can run an action from the event loop while the n-th of them is on show (a batch lets
// pending events run after each password).
struct Window : Shown {
    RefusingClipboard clip;
    QStringList passwords, captions;
    int when = 0;
    std::function<void()> action;
    explicit Window(const QString &count)
    {
        p.Clip() = &clip;
        QGuiApplication::clipboard()->setText(Sentinel);
        p.txNum()->setText(count);
        QObject::connect(p.lbPass(), &ChangeLabel::Change, &w, [this] {
            if (p.lbPass()->Caption().isEmpty()) return;
            passwords << p.lbPass()->Caption();
            captions << p.cmCopy()->text();
            if (passwords.size() == when) QTimer::singleShot(0, &w, action);
        });
    }
};

} // namespace

class TestCopy : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void singleOrNothing_data();
    void singleOrNothing();
    void batchDoneAndRestore_data();
    void batchDoneAndRestore();
    void countdown_data();
    void countdown();
    void failedWriteIsNotDone();
    void closeBoxStopsBatch();
};

void TestCopy::singleOrNothing_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QKeySequence>("keys"); // none: a click on the copy button
    QTest::addColumn<bool>("noPassword");   // as after a settings file with every set off
    QTest::addColumn<bool>("copies");
    const QKeySequence ctrlC(Qt::CTRL | Qt::Key_C), ctrlIns(Qt::CTRL | Qt::Key_Insert);
    QTest::newRow("click, 1") << "1" << QKeySequence() << false << true;
    QTest::newRow("Ctrl+C, 1") << "1" << ctrlC << false << true;
    QTest::newRow("Ctrl+Insert, 1") << "1" << ctrlIns << false << true;
    QTest::newRow("Ctrl+C, 5") << "5" << ctrlC << false << false;
    QTest::newRow("Ctrl+Shift+C, 1")
        << "1" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C) << false << false;
    // A count below 1 never copies, although a new password enables the button again.
    QTest::newRow("click, empty") << "" << QKeySequence() << false << false;
    QTest::newRow("Ctrl+C, 0") << "0" << ctrlC << false << false;
    QTest::newRow("Ctrl+Insert, -5") << "-5" << ctrlIns << false << false;
    QTest::newRow("click, 1, no password") << "1" << QKeySequence() << true << false;
    QTest::newRow("click, 3, no password") << "3" << QKeySequence() << true << false;
}

void TestCopy::singleOrNothing()
{
    QFETCH(QString, count);
    QFETCH(QKeySequence, keys);
    QFETCH(bool, noPassword);
    QFETCH(bool, copies);
    Window t(count);
    auto &p = t.p;
    p.GeneratePass(); // enables the copy button, whatever the count
    QVERIFY(p.cmCopy()->isEnabled());
    if (noPassword) { // no set on, a stale pool and an empty label
        p.Busy() = -2;
        for (int k = 1; k <= 3; ++k)
            p.cbSet(k)->setValue(0);
        p.Busy() = 0;
        p.Pool().clear();
        p.lbPass()->setCaption(QString());
    }
    const QString shown = p.lbPass()->Caption(), caption = p.cmCopy()->text();
    // Copying rows start in the count box, its text selected: the window's Ctrl+C comes first.
    (copies ? static_cast<QWidget *>(p.txNum()) : p.sldLen(0))->setFocus();
    p.txNum()->selectAll();
    keys.isEmpty() ? QTest::mouseClick(p.cmCopy(), Qt::LeftButton)
                   : QTest::keySequence(Focus(), keys);
    QCOMPARE(SystemText(), copies ? shown : Sentinel); // exactly the password, no line break
    QCOMPARE(p.cmCopy()->text(), caption);
    QVERIFY(!p.tmTimer()->Enabled());
    QCOMPARE(p.shCopy()->isVisible(), !copies && p.CountValue() == 1);
    if (!copies) return;
    // Marked secret for clipboard managers.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
#if defined(Q_OS_WIN)
    const QString format = QStringLiteral("application/x-qt-windows-mime;value=\"%1\"");
    for (const char *name : {"ExcludeClipboardContentFromMonitorProcessing",
                             "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"})
        QCOMPARE(data->data(format.arg(QLatin1String(name))), QByteArray(4, '\0'));
#elif defined(Q_OS_MACOS)
    QVERIFY(data->hasFormat(QStringLiteral("application/x-nspasteboard-concealed-type")));
#else
    QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
#endif
    // The frame comes back with the next password.
    QTest::mouseClick(p.cmGen(), Qt::LeftButton);
    QVERIFY(p.shCopy()->isVisible());
}

void TestCopy::batchDoneAndRestore_data()
{
    QTest::addColumn<QString>("countDuringDone");
    QTest::addColumn<int>("mode");
    QTest::newRow("count stays 2") << "2" << int(Mode::Batch);
    QTest::newRow("count set to 1 meanwhile") << "1" << int(Mode::Single);
}

void TestCopy::batchDoneAndRestore()
{
    // Clicks during the batch and during "Done" change nothing, but a set box's click changes
    // the box (not the pool the batch draws from).
    QFETCH(QString, countDuringDone);
    QFETCH(int, mode);
    Window t(QStringLiteral("2"));
    auto &p = t.p;
    const std::string pool = p.Pool();
    const auto clickAll = [&](QWidget *setBox) {
        QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
        QTest::mouseClick(p.cmGen(), Qt::LeftButton);
        QTest::mouseClick(p.cmExit(), Qt::LeftButton);
        QTest::mouseDClick(p.txNum(), Qt::LeftButton);
        QTest::mouseClick(setBox, Qt::LeftButton);
    };
    t.when = 1;
    t.action = [&] { clickAll(p.cbSet(2)); }; // upper case off
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(t.passwords.size(), 2);
    QCOMPARE(SystemText(), t.passwords[0] + CRLF + t.passwords[1] + CRLF);
    // "Done", with an empty label, until the tick.
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
    QCOMPARE(p.lbPass()->Caption(), QString());
    QVERIFY(p.shCopy()->isHidden());
    QCOMPARE(p.tmTimer()->Interval(), 1600);
    QVERIFY(p.tmTimer()->Enabled());
    QCOMPARE(Focus(), static_cast<QWidget *>(p.cmExit()));
    clickAll(p.cbFilter()); // filter off
    QCOMPARE(p.cbSet(2)->Value() + p.cbFilter()->Value(), 0);
    QVERIFY(t.w.isVisible());
    QCOMPARE(p.txNum()->text(), QStringLiteral("2"));
    p.txNum()->setText(countDuringDone);
    p.tmTimer()->Fire();
    QCOMPARE(p.Busy(), std::int16_t(0));
    QCOMPARE(t.passwords.size(), 3); // a fresh password on show
    QCOMPARE(p.lbPass()->Caption(), t.passwords[2]);
    QCOMPARE(p.Pool(), pool);
    CheckMode(p, Mode(mode));
    QCOMPARE(p.shCopy()->isVisible(), Mode(mode) == Mode::Single);
}

void TestCopy::countdown_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("updates");
    QTest::addColumn<int>("last");
    QTest::newRow("50") << 50 << 1 << 50 << 1;
    QTest::newRow("51") << 51 << 2 << 26 << 1;
    QTest::newRow("120") << 120 << 2 << 60 << 2;
    QTest::newRow("121") << 121 << 3 << 41 << 1;
    QTest::newRow("300") << 300 << 3 << 100 << 3;
    QTest::newRow("301") << 301 << 5 << 61 << 1;
    QTest::newRow("999") << 999 << 5 << 200 << 4;
}

void TestCopy::countdown()
{
    QFETCH(int, count);
    QFETCH(int, step);
    QFETCH(int, updates);
    QFETCH(int, last);
    Window t(QString::number(count));
    t.p.cmCopy_Click();
    QCOMPARE(SystemText().count(CRLF), count);
    // Each caption once, in the order shown: the passwords still to make, counting the one
    // being made.
    t.captions.erase(std::unique(t.captions.begin(), t.captions.end()), t.captions.end());
    QCOMPARE(t.captions.size(), updates);
    QCOMPARE(t.captions.front(), QStringLiteral(" %1").arg(count));
    QCOMPARE(t.captions.back(), QStringLiteral(" %1").arg(last));
    for (qsizetype i = 1; i < t.captions.size(); ++i)
        QCOMPARE(t.captions[i - 1].toInt() - t.captions[i].toInt(), step);
    // Closed during "Done", the window is not restored.
    t.w.close();
    QVERIFY(!t.p.tmTimer()->Enabled());
}

void TestCopy::failedWriteIsNotDone()
{
    Window t(QStringLiteral("1"));
    auto &p = t.p;
    const QString shown = p.lbPass()->Caption();
    t.clip.refuse = true;
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(SystemText(), Sentinel);
    // As after a copy, but "Failed" for a while, and the frame stays: the password on show is
    // not on the clipboard.
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Failed"));
    QVERIFY(p.tmTimer()->Enabled());
    QCOMPARE(p.Busy(), std::int16_t(0));
    QVERIFY(p.shCopy()->isVisible());
    p.tmTimer()->Fire();
    CheckMode(p, Mode::Single);
    QVERIFY(p.shCopy()->isVisible());
    // A copy that works while "Failed" is on show ends the notice at once.
    p.cmCopy_Click();
    t.clip.refuse = false;
    p.cmCopy_Click();
    QCOMPARE(SystemText(), shown);
    CheckMode(p, Mode::Single);
    QVERIFY(!p.tmTimer()->Enabled());
    QVERIFY(p.shCopy()->isHidden());
    // A batch started during the notice is not cut short by the notice's end.
    t.clip.refuse = true;
    p.cmCopy_Click();
    t.clip.refuse = false;
    p.txNum()->setText(QStringLiteral("4"));
    p.cmCopy_Click();
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
    // A failed batch: "Failed", with an empty label, until the tick restores the window.
    t.clip.refuse = true;
    p.tmTimer()->Fire();
    p.cmCopy_Click();
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Failed"));
    QCOMPARE(p.lbPass()->Caption(), QString());
    QCOMPARE(SystemText().count(CRLF), 4);
    p.tmTimer()->Fire();
    QCOMPARE(p.Busy(), std::int16_t(0));
    CheckMode(p, Mode::Batch);
    QVERIFY(!p.lbPass()->Caption().isEmpty());
}

void TestCopy::closeBoxStopsBatch()
{
    Window t(QStringLiteral("500"));
    auto &p = t.p;
    QFile::remove(p.IniFile());
    t.when = 5;
    t.action = [&] {
        // Closing takes the focus from an invalid box too, but a closed window is not touched.
        p.txNum()->setText(QString());
        // The spinner held as well (at its bottom: the box stays empty).
        QTest::mousePress(p.spNum(), Qt::LeftButton, Qt::NoModifier,
                          p.spNum()->DownRect().center());
        t.w.close();
    };
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QVERIFY(QFile::exists(p.IniFile())); // the settings saved as on every close
    QCOMPARE(SystemText(), Sentinel);
    QVERIFY(p.cmCopy()->text() != QStringLiteral("Done"));
    QVERIFY(!p.lbPass()->Caption().isEmpty()); // not emptied after the close
    QVERIFY(!p.tmSpin()->Enabled());
    QTest::qWait(30);
    QCOMPARE(t.passwords.size(), 5); // no password after the close
    QCOMPARE(p.txNum()->text(), QString());
}

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
