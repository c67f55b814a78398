// Copying on the offscreen platform: the single copy, the batch with its countdown, "Done" and
// the timed restore, the guarded clicks meanwhile, the copy shortcut, the secret mark read back
// from the clipboard, and the mended faults: no copy for a count below 1, a failed write is
// not "Done", and the close box stops a batch.

#include "mainwindow/fonts.h"
#include "modes.h"

#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace zintrova;

namespace {

const QString Sentinel = QStringLiteral("what the user had copied");
const QString CRLF = QStringLiteral("\r\n");

// Records every text the window writes; when refusing, the data never reaches the system
// clipboard, as when another program holds it.
class WatchedClipboard : public Clipboard {
public:
    QStringList written;
    bool refuse = false;

protected:
    void Write(QMimeData *data) override
    {
        written << data->text();
        if (refuse)
            delete data;
        else
            Clipboard::Write(data);
    }
};

QString SystemText()
{
    return QGuiApplication::clipboard()->text();
}

// A window on show, with the system clipboard holding the user's own text.
struct Window {
    fmMain w;
    fmMainProbe p{w};
    WatchedClipboard clip;
    Window()
    {
        p.Clip() = &clip;
        QGuiApplication::clipboard()->setText(Sentinel);
        w.show();
    }
};

QWidget *Focus()
{
    return QApplication::focusWidget();
}

// Runs action once, from the event loop, while the n-th password of the coming batch is on show
// (the batch lets pending events run after each password).
void DuringPassword(fmMainProbe &p, int n, std::function<void()> action)
{
    ChangeLabel *label = p.lbPass();
    auto seen = std::make_shared<int>(0);
    auto conn = std::make_shared<QMetaObject::Connection>();
    *conn = QObject::connect(label, &ChangeLabel::Change, label, [=] {
        if (label->Caption().isEmpty() || ++*seen != n) return;
        QObject::disconnect(*conn);
        QTimer::singleShot(0, label, action);
    });
}

bool IsPassword(const QString &s, const std::string &pool, int minLen, int maxLen)
{
    if (s.size() < minLen || s.size() > maxLen) return false;
    for (QChar c : s)
        if (pool.find(char(c.unicode())) == std::string::npos) return false;
    return true;
}

} // namespace

class TestCopy : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void singleCopy();
    void secretMarkReadBack();
    void batchOfTwo();
    void countdown_data();
    void countdown();
    void modesAfterRestore_data();
    void modesAfterRestore();
    void guardedDuringBatchAndDone();
    void labelChangeArmsCopy_data();
    void labelChangeArmsCopy();
    void shortcut_data();
    void shortcut();
    void countBelowOneNeverCopies_data();
    void countBelowOneNeverCopies();
    void noPasswordNeverCopies_data();
    void noPasswordNeverCopies();
    void failedWriteIsNotDone_data();
    void failedWriteIsNotDone();
    void failedNoticeEndsOnRetry();
    void closeBoxStopsBatch();
    void closeBoxStopsTimers();
};

void TestCopy::singleCopy()
{
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    const QString shown = p.lbPass()->Caption();
    QVERIFY(!shown.isEmpty());
    QVERIFY(p.shCopy()->isVisible());
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(SystemText(), shown); // exactly the password, no line break
    QCOMPARE(t.clip.written, QStringList{shown});
    QCOMPARE(p.lbPass()->Caption(), shown);
    QCOMPARE(p.Busy(), std::int16_t(0));
    QVERIFY(p.shCopy()->isHidden());
    QCOMPARE(Focus(), static_cast<QWidget *>(p.cmExit()));
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("&Copy to Clipboard"));
    QVERIFY(!p.tmTimer()->Enabled());
    // The frame comes back with the next password.
    QTest::mouseClick(p.cmGen(), Qt::LeftButton);
    QVERIFY(p.shCopy()->isVisible());
}

void TestCopy::secretMarkReadBack()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    p.cmCopy_Click();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), p.lbPass()->Caption());
#if defined(Q_OS_WIN)
    const QByteArray no(4, '\0');
    const QString prefix = QStringLiteral("application/x-qt-windows-mime;value=\"%1\"");
    for (const char *name : {"ExcludeClipboardContentFromMonitorProcessing",
                             "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"})
        QCOMPARE(data->data(prefix.arg(QLatin1String(name))), no);
#elif defined(Q_OS_MACOS)
    QVERIFY(data->hasFormat(QStringLiteral("application/x-nspasteboard-concealed-type")));
#else
    QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    QCOMPARE(data->formats(), (QStringList{QStringLiteral("text/plain"),
                                           QStringLiteral("x-kde-passwordManagerHint")}));
#endif
    // A batch carries the same mark.
    p.txNum()->setText(QStringLiteral("2"));
    p.cmCopy_Click();
    data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text().count(CRLF), 2);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
#endif
}

void TestCopy::batchOfTwo()
{
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(QStringLiteral("2"));
    QStringList composed;
    QObject::connect(p.lbPass(), &ChangeLabel::Change, p.lbPass(), [&] {
        if (!p.lbPass()->Caption().isEmpty()) composed << p.lbPass()->Caption();
    });
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(composed.size(), 2);
    const QString text = SystemText();
    QCOMPARE(text, composed[0] + CRLF + composed[1] + CRLF);
    QCOMPARE(text.count(QChar('\r')) + text.count(QChar('\n')), 4);
    for (const QString &pw : composed)
        QVERIFY2(IsPassword(pw, p.Pool(), 6, 8), qPrintable(pw));
    // "Done", with an empty label, until the tick.
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
    QCOMPARE(p.lbPass()->Caption(), QString());
    QCOMPARE(p.Busy(), std::int16_t(2));
    QVERIFY(!p.cmGen()->isEnabled());
    QVERIFY(p.tmTimer()->Enabled());
    QCOMPARE(p.tmTimer()->Interval(), 1600);
    QCOMPARE(Focus(), static_cast<QWidget *>(p.cmExit()));
    p.tmTimer()->Fire();
    QVERIFY(!p.tmTimer()->Enabled());
    QCOMPARE(p.Busy(), std::int16_t(0));
    QCOMPARE(composed.size(), 3); // a fresh password on show
    QCOMPARE(p.lbPass()->Caption(), composed[2]);
    CheckMode(p, Mode::Batch);
    QCOMPARE(SystemText(), text);
}

void TestCopy::countdown_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("updates");
    QTest::addColumn<int>("last");
    QTest::newRow("10") << 10 << 1 << 10 << 1;
    QTest::newRow("50") << 50 << 1 << 50 << 1;
    QTest::newRow("51") << 51 << 2 << 26 << 1;
    QTest::newRow("100") << 100 << 2 << 50 << 2;
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
    Window t;
    auto &p = t.p;
    p.txNum()->setText(QString::number(count));
    // The caption on show while each password is composed.
    QStringList captions;
    QObject::connect(p.lbPass(), &ChangeLabel::Change, p.lbPass(), [&] {
        if (!p.lbPass()->Caption().isEmpty()) captions << p.cmCopy()->text();
    });
    p.cmCopy_Click();
    QCOMPARE(captions.size(), count);
    QStringList shown; // each caption once, in the order shown
    for (const QString &c : captions)
        if (shown.isEmpty() || shown.back() != c) shown << c;
    QCOMPARE(shown.size(), updates);
    QCOMPARE(shown.front(), QStringLiteral(" %1").arg(count));
    QCOMPARE(shown.back(), QStringLiteral(" %1").arg(last));
    for (qsizetype i = 1; i < shown.size(); ++i)
        QCOMPARE(shown[i - 1].toInt() - shown[i].toInt(), step);
    // Every caption is the number of passwords still to make, counting the one being made.
    for (qsizetype i = 0; i < captions.size(); i += step)
        QCOMPARE(captions[i], QStringLiteral(" %1").arg(count - i));
    QCOMPARE(SystemText().count(CRLF), count);
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
}

void TestCopy::modesAfterRestore_data()
{
    QTest::addColumn<QString>("typedDuringDone"); // empty: nothing typed
    QTest::addColumn<int>("mode");
    QTest::newRow("count stays 3") << QString() << int(Mode::Batch);
    QTest::newRow("count set to 1 meanwhile") << "1" << int(Mode::Single);
    QTest::newRow("count set to 12 meanwhile") << "12" << int(Mode::Batch);
}

void TestCopy::modesAfterRestore()
{
    QFETCH(QString, typedDuringDone);
    QFETCH(int, mode);
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(QStringLiteral("3"));
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
    if (!typedDuringDone.isEmpty()) {
        p.txNum()->setFocus();
        p.txNum()->selectAll();
        QTest::keyClicks(Focus(), typedDuringDone);
        QCOMPARE(p.txNum()->text(), typedDuringDone);
    }
    p.tmTimer()->Fire();
    QCOMPARE(p.Busy(), std::int16_t(0));
    QVERIFY(!p.lbPass()->Caption().isEmpty());
    CheckMode(p, Mode(mode));
    if (QTest::currentTestFailed()) return;
    QCOMPARE(p.shCopy()->isVisible(), Mode(mode) == Mode::Single);
    // The mode keeps following the count afterwards.
    p.txNum()->setText(QString());
    CheckMode(p, Mode::Invalid);
    p.txNum()->setText(QStringLiteral("1"));
    CheckMode(p, Mode::Single);
    p.txNum()->setText(QStringLiteral("40"));
    CheckMode(p, Mode::Batch);
}

void TestCopy::guardedDuringBatchAndDone()
{
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    const std::string pool = p.Pool();
    p.txNum()->setText(QStringLiteral("30"));
    int composed = 0;
    QObject::connect(p.lbPass(), &ChangeLabel::Change, p.lbPass(), [&] {
        if (!p.lbPass()->Caption().isEmpty()) ++composed;
    });
    bool clicked = false;
    DuringPassword(p, 10, [&] {
        QCOMPARE(p.Busy(), std::int16_t(2));
        QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
        QTest::mouseClick(p.cmGen(), Qt::LeftButton);
        QTest::mouseClick(p.cmExit(), Qt::LeftButton);
        QTest::mouseDClick(p.txNum(), Qt::LeftButton);
        QTest::mouseClick(p.cbSet(2), Qt::LeftButton); // upper case off
        clicked = true;
    });
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QVERIFY(clicked);
    QCOMPARE(composed, 30);
    QVERIFY(t.w.isVisible());
    QCOMPARE(p.txNum()->text(), QStringLiteral("30"));
    QCOMPARE(t.clip.written.size(), 1);
    const QStringList lines = SystemText().split(CRLF, Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 30);
    // The set box changed, the pool did not: the rest of the batch came from the old pool.
    QCOMPARE(p.cbSet(2)->Value(), 0);
    QCOMPARE(p.Pool(), pool);
    for (const QString &pw : lines)
        QVERIFY2(IsPassword(pw, pool, 6, 8), qPrintable(pw));

    // During "Done" the same clicks change nothing either.
    const QString copied = SystemText();
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QTest::mouseClick(p.cmGen(), Qt::LeftButton);
    QTest::mouseClick(p.cmExit(), Qt::LeftButton);
    QTest::mouseDClick(p.txNum(), Qt::LeftButton);
    QTest::mouseClick(p.cbFilter(), Qt::LeftButton); // filter off
    QVERIFY(t.w.isVisible());
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
    QCOMPARE(p.lbPass()->Caption(), QString());
    QCOMPARE(p.txNum()->text(), QStringLiteral("30"));
    QCOMPARE(SystemText(), copied);
    QCOMPARE(composed, 30);
    QCOMPARE(p.cbFilter()->Value(), 0);
    QCOMPARE(p.Pool(), pool);
    // The tick's password still comes from the earlier selection.
    p.tmTimer()->Fire();
    QCOMPARE(p.Pool(), pool);
    QVERIFY(IsPassword(p.lbPass()->Caption(), pool, 6, 8));
}

void TestCopy::labelChangeArmsCopy_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("frame");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("2") << "2" << false;
    QTest::newRow("empty") << "" << true;
}

void TestCopy::labelChangeArmsCopy()
{
    QFETCH(QString, count);
    QFETCH(bool, frame);
    Window t;
    auto &p = t.p;
    p.txNum()->setText(count);
    p.cmCopy()->setEnabled(false);
    p.shCopy()->setVisible(!frame);
    p.GeneratePass();
    QVERIFY(p.cmCopy()->isEnabled());
    QCOMPARE(p.shCopy()->isVisible(), frame);
}

void TestCopy::shortcut_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("mods");
    QTest::addColumn<bool>("inBox"); // the count box has the focus, its text selected
    QTest::addColumn<bool>("copies");
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+C, 1") << "1" << int(Qt::Key_C) << ctrl << false << true;
    QTest::newRow("Ctrl+Insert, 1") << "1" << int(Qt::Key_Insert) << ctrl << false << true;
    QTest::newRow("Ctrl+C in the box, 1") << "1" << int(Qt::Key_C) << ctrl << true << true;
    QTest::newRow("Ctrl+C, 5") << "5" << int(Qt::Key_C) << ctrl << false << false;
    QTest::newRow("Ctrl+Shift+C, 1") << "1" << int(Qt::Key_C) << (ctrl | shift) << false << false;
    QTest::newRow("C alone, 1") << "1" << int(Qt::Key_C) << int(Qt::NoModifier) << false << false;
    QTest::newRow("Ctrl+C, empty") << "" << int(Qt::Key_C) << ctrl << false << false;
    QTest::newRow("Ctrl+C, 0") << "0" << int(Qt::Key_C) << ctrl << false << false;
    QTest::newRow("Ctrl+Insert, -5") << "-5" << int(Qt::Key_Insert) << ctrl << false << false;
}

void TestCopy::shortcut()
{
    QFETCH(QString, count);
    QFETCH(int, key);
    QFETCH(int, mods);
    QFETCH(bool, inBox);
    QFETCH(bool, copies);
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(count);
    const QString shown = p.lbPass()->Caption();
    const QString caption = p.cmCopy()->text();
    const bool frame = p.shCopy()->isVisible();
    if (inBox) {
        p.txNum()->setFocus();
        p.txNum()->selectAll();
    } else {
        p.sldLen(0)->setFocus();
    }
    QTest::keyClick(Focus(), Qt::Key(key), Qt::KeyboardModifiers(mods));
    QCOMPARE(p.Busy(), std::int16_t(0));
    QCOMPARE(p.lbPass()->Caption(), shown);
    QCOMPARE(p.cmCopy()->text(), caption);
    if (copies) {
        QCOMPARE(SystemText(), shown);
        QCOMPARE(t.clip.written, QStringList{shown});
        QVERIFY(p.shCopy()->isHidden());
    } else {
        QCOMPARE(SystemText(), Sentinel);
        QCOMPARE(t.clip.written, QStringList());
        QCOMPARE(p.shCopy()->isVisible(), frame);
    }
}

void TestCopy::countBelowOneNeverCopies_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("empty") << "";
    QTest::newRow("0") << "0";
    QTest::newRow("000") << "000";
    QTest::newRow("-5") << "-5";
    QTest::newRow("-99") << "-99";
}

void TestCopy::countBelowOneNeverCopies()
{
    QFETCH(QString, count);
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(count);
    QVERIFY(!p.cmCopy()->isEnabled());
    // A new password enables the button again although the count is invalid.
    p.GeneratePass();
    QVERIFY(p.cmCopy()->isEnabled());
    const QString shown = p.lbPass()->Caption();
    p.sldLen(0)->setFocus();
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QTest::keyClick(Focus(), Qt::Key_C, Qt::ControlModifier);
    p.cmCopy_Click();
    QCOMPARE(SystemText(), Sentinel);
    QCOMPARE(t.clip.written, QStringList());
    QCOMPARE(p.Busy(), std::int16_t(0));
    QCOMPARE(p.lbPass()->Caption(), shown);
    QVERIFY(p.cmCopy()->text() != QStringLiteral("Done"));
    QVERIFY(p.shCopy()->isVisible());
    QVERIFY(!p.tmTimer()->Enabled());
    QVERIFY(Focus() != static_cast<QWidget *>(p.cmExit()));
}

void TestCopy::noPasswordNeverCopies_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("single") << "1";
    QTest::newRow("batch") << "3";
}

void TestCopy::noPasswordNeverCopies()
{
    // As after a settings file with every set off: no set on, a stale pool and an empty label.
    QFETCH(QString, count);
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(count);
    p.Busy() = -2;
    for (int k = 1; k <= 3; ++k)
        p.cbSet(k)->setValue(0);
    p.Busy() = 0;
    p.Pool().clear();
    p.lbPass()->setCaption(QString());
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    p.cmCopy_Click();
    QCOMPARE(SystemText(), Sentinel);
    QCOMPARE(t.clip.written, QStringList());
    QCOMPARE(p.Busy(), std::int16_t(0));
    QVERIFY(!p.tmTimer()->Enabled());
    QVERIFY(p.cmCopy()->text() != QStringLiteral("Done"));
    // With a set on again the copy works.
    QTest::mouseClick(p.cbSet(3), Qt::LeftButton);
    p.cmCopy_Click();
    QCOMPARE(t.clip.written.size(), 1);
}

void TestCopy::failedWriteIsNotDone_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("single") << "1";
    QTest::newRow("batch") << "3";
}

void TestCopy::failedWriteIsNotDone()
{
    QFETCH(QString, count);
    const bool single = count == QStringLiteral("1");
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(count);
    t.clip.refuse = true;
    const QString shown = p.lbPass()->Caption();
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(t.clip.written.size(), 1);
    QCOMPARE(SystemText(), Sentinel);
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Failed"));
    QVERIFY(p.tmTimer()->Enabled());
    QCOMPARE(p.tmTimer()->Interval(), 1600);
    if (single) {
        // As after a copy, but the frame stays: the password on show is not on the clipboard.
        QCOMPARE(p.Busy(), std::int16_t(0));
        QCOMPARE(p.lbPass()->Caption(), shown);
        QVERIFY(p.shCopy()->isVisible());
        QVERIFY(p.cmGen()->isEnabled());
        QVERIFY(p.cmCopy()->isEnabled());
    } else {
        QCOMPARE(p.Busy(), std::int16_t(2));
        QCOMPARE(p.lbPass()->Caption(), QString());
    }
    p.tmTimer()->Fire();
    QVERIFY(!p.tmTimer()->Enabled());
    QCOMPARE(p.Busy(), std::int16_t(0));
    CheckMode(p, single ? Mode::Single : Mode::Batch);
    if (single) {
        QCOMPARE(p.lbPass()->Caption(), shown);
        QVERIFY(p.shCopy()->isVisible());
    } else {
        QVERIFY(!p.lbPass()->Caption().isEmpty());
    }
    // Once the clipboard is free again, copying works.
    t.clip.refuse = false;
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QCOMPARE(p.cmCopy()->text(), single ? QStringLiteral("&Copy to Clipboard") : "Done");
    QVERIFY(SystemText() != Sentinel);
}

void TestCopy::failedNoticeEndsOnRetry()
{
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    t.clip.refuse = true;
    p.cmCopy_Click();
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Failed"));
    // A copy that works while "Failed" is on show ends the notice at once.
    t.clip.refuse = false;
    p.cmCopy_Click();
    QCOMPARE(SystemText(), p.lbPass()->Caption());
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("&Copy to Clipboard"));
    QVERIFY(!p.tmTimer()->Enabled());
    QVERIFY(p.shCopy()->isHidden());

    // A batch started during the notice is not cut short by the notice's end.
    QGuiApplication::clipboard()->setText(Sentinel);
    t.clip.refuse = true;
    p.cmCopy_Click();
    QVERIFY(p.tmTimer()->Enabled());
    t.clip.refuse = false;
    p.txNum()->setText(QStringLiteral("4"));
    p.cmCopy_Click();
    QCOMPARE(p.cmCopy()->text(), QStringLiteral("Done"));
    QCOMPARE(SystemText().count(CRLF), 4);
    QCOMPARE(p.Busy(), std::int16_t(2));
}

void TestCopy::closeBoxStopsBatch()
{
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(QStringLiteral("500"));
    int composed = 0;
    QObject::connect(p.lbPass(), &ChangeLabel::Change, p.lbPass(), [&] {
        if (!p.lbPass()->Caption().isEmpty()) ++composed;
    });
    DuringPassword(p, 5, [&] { t.w.close(); });
    QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    QVERIFY(!t.w.isVisible());
    QCOMPARE(composed, 5); // no password after the close
    QCOMPARE(SystemText(), Sentinel);
    QCOMPARE(t.clip.written, QStringList());
    QVERIFY(p.cmCopy()->text() != QStringLiteral("Done"));
    QVERIFY(!p.lbPass()->Caption().isEmpty()); // not emptied after the close
    QVERIFY(!p.tmTimer()->Enabled());
    QTest::qWait(30);
    QCOMPARE(composed, 5);
}

void TestCopy::closeBoxStopsTimers()
{
    Window t;
    auto &p = t.p;
    QVERIFY(QTest::qWaitForWindowActive(&t.w));
    p.txNum()->setText(QStringLiteral("2"));
    p.cmCopy_Click();
    QVERIFY(p.tmTimer()->Enabled());
    // The spinner held down as well: its repeat is waiting.
    QTest::mousePress(p.spNum(), Qt::LeftButton, Qt::NoModifier, p.spNum()->UpRect().center());
    QVERIFY(p.tmSpin()->Enabled());
    const QString caption = p.cmCopy()->text();
    t.w.close();
    QVERIFY(!t.w.isVisible());
    QVERIFY(!p.tmTimer()->Enabled());
    QVERIFY(!p.tmSpin()->Enabled());
    // Nor does the spinner's own repeat step on behind the closed window.
    const QString count = p.txNum()->text();
    QTest::qWait(800);
    QCOMPARE(p.txNum()->text(), count);
    QCOMPARE(p.cmCopy()->text(), caption);
    QCOMPARE(p.Busy(), std::int16_t(2));
}

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
