// A randomised storm of user actions on the real main window. The handlers nest (synchronous
// change notifications, the event pass inside a batch, timers) and the busy flag is what keeps
// them apart; after every action the window must be in a state its model allows.
//
// ZINTROVA_STORM_ACTIONS sets the number of actions (default 20000), ZINTROVA_STORM_SEED replays
// a run. A failure prints the seed and the last actions.

#include "engine/number.h"
#include "script.h"

#include <QDialog>
#include <QRandomGenerator>
#include <deque>
#include <memory>
#include <random>

using namespace zintrova;

namespace {

// Checks every text the program puts on the clipboard.
class WatchedClipboard final : public Clipboard {
public:
    QString problem;
    int singles = 0, batches = 0;

protected:
    void Write(QMimeData *data) override
    {
        Check(data->text());
        Clipboard::Write(data);
    }

private:
    static bool IsPassword(const QString &s)
    {
        if (s.size() < 3 || s.size() > 40) return false;
        for (QChar c : s)
            if (c.unicode() > 127 || !c.isLetterOrNumber()) return false;
        return true;
    }
    void Check(const QString &text)
    {
        if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) {
            ++singles;
            if (!IsPassword(text))
                problem = QStringLiteral("single copy is not a password: ") + text;
            return;
        }
        ++batches;
        if (!text.endsWith(QLatin1String("\r\n"))) problem = QStringLiteral("batch without CR LF");
        const QStringList lines = text.split(QLatin1String("\r\n"));
        if (lines.size() < 3 || lines.size() > 1000)
            problem = QStringLiteral("batch of %1 lines").arg(lines.size() - 1);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            if (!IsPassword(lines[i])) problem = QStringLiteral("batch line: ") + lines[i];
    }
};

int EnvInt(const char *name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

} // namespace

class TestStorm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void storm_data();
    void storm();

private:
    std::mt19937_64 rng_;
    std::unique_ptr<fmMain> w_;
    std::unique_ptr<fmMainProbe> p_;
    WatchedClipboard clip_;
    std::unique_ptr<Opener> urls_;
    std::deque<QString> log_;
    int restarts_ = 0;

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    void Log(const QString &s)
    {
        log_.push_back(s);
        if (log_.size() > 60) log_.pop_front();
    }
    void Open();
    QWidget *Focus()
    {
        return QApplication::focusWidget() ? QApplication::focusWidget() : w_.get();
    }
    void Act();
    void WithAboutCloser(const std::function<void()> &action);
    QString Invariants();
};

void TestStorm::initTestCase()
{
    InstallFontSubstitutes();
    urls_ = std::make_unique<Opener>();
}

void TestStorm::cleanupTestCase()
{
    p_.reset();
    w_.reset();
    urls_.reset();
}

void TestStorm::Open()
{
    p_.reset();
    w_ = std::make_unique<fmMain>();
    p_ = std::make_unique<fmMainProbe>(fmMainProbe{*w_});
    p_->Clip() = &clip_;
    w_->show();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
}

// Runs `action` while a watcher waits for the modal About window, plays with it and closes it.
void TestStorm::WithAboutCloser(const std::function<void()> &action)
{
    QTimer closer;
    closer.setInterval(2);
    const int plan = Pick(4);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto *about = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!about) return;
        closer.stop();
        if (plan == 0) QTest::keyClick(about, Qt::Key_Return); // Help: opens the (missing) file
        if (plan == 1) {
            for (QWidget *child : about->findChildren<QWidget *>())
                if (child->cursor().shape() == Qt::BitmapCursor) // the link
                    QTest::mouseClick(child, Qt::LeftButton);
        }
        if (plan == 3)
            QTest::keyClick(about->focusWidget() ? about->focusWidget() : about, Qt::Key_Escape);
        else
            about->reject();
    });
    closer.start();
    action();
}

void TestStorm::Act()
{
    fmMainProbe &p = *p_;
    const int kind = Pick(100);
    if (kind < 14) { // drag on a slider, possibly into the other thumb
        const int i = Pick(2);
        TrackSlider *s = p.sldLen(i);
        const int y = s->height() / 2;
        QPoint at(Pick(s->width()), y);
        Log(QStringLiteral("drag slider %1 from %2").arg(i).arg(at.x()));
        QTest::mousePress(s, Qt::LeftButton, {}, at);
        for (int n = Pick(6); n > 0; --n) {
            at.setX(std::clamp(at.x() + Pick(81) - 40, -5, s->width() + 5));
            QMouseEvent move(QEvent::MouseMove, at, s->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s, &move);
            Log(QStringLiteral("  to %1").arg(at.x()));
        }
        QTest::mouseRelease(s, Qt::LeftButton, {}, at);
    } else if (kind < 30) { // a key the window or the focused control reacts to
        static const Qt::Key keys[] = {
            Qt::Key_Left,     Qt::Key_Right,     Qt::Key_Up,      Qt::Key_Down,   Qt::Key_PageUp,
            Qt::Key_PageDown, Qt::Key_Home,      Qt::Key_End,     Qt::Key_Escape, Qt::Key_Return,
            Qt::Key_Tab,      Qt::Key_Backspace, Qt::Key_Delete,  Qt::Key_Space,  Qt::Key_A,
            Qt::Key_Minus,    Qt::Key_Shift,     Qt::Key_Control, Qt::Key_Insert, Qt::Key_C};
        const Qt::Key key = keys[Pick(std::size(keys))];
        Qt::KeyboardModifiers mods;
        if (Chance(15)) mods |= Qt::ShiftModifier;
        if (Chance(15)) mods |= Qt::ControlModifier;
        QWidget *target = Focus();
        Log(QStringLiteral("key %1 mods %2 on %3")
                .arg(QKeySequence(key).toString())
                .arg(int(mods))
                .arg(QLatin1String(target->metaObject()->className())));
        if (Chance(20)) { // held: several repeats, then one release
            for (int n = 1 + Pick(4); n > 0; --n)
                QTest::keyPress(target, key, mods);
            QTest::keyRelease(Focus(), key, mods);
        } else {
            QTest::keyClick(target, key, mods);
        }
    } else if (kind < 34) { // F1 or "?": the About window, closed again
        const bool f1 = Chance(50);
        Log(f1 ? QStringLiteral("F1") : QStringLiteral("click ?"));
        if (f1)
            QTest::keyClick(Focus(), Qt::Key_F1);
        else
            QTest::mouseClick(p.cmHelp(), Qt::LeftButton);
    } else if (kind < 46) { // a digit typed anywhere: it lands in the count box
        int digits = Chance(70) ? 1 : Chance(70) ? 2 : 3;
        Log(QStringLiteral("type %1 digit(s) on %2")
                .arg(digits)
                .arg(QLatin1String(Focus()->metaObject()->className())));
        while (digits-- > 0) {
            QTest::keyClick(Focus(), static_cast<Qt::Key>(Qt::Key_0 + Pick(10)));
            QCoreApplication::processEvents();
        }
    } else if (kind < 50) { // pasted text in the count box
        static const char *texts[] = {"-5", "1234", "abc", "007", "2", " 3", "0", "", "+4", "99x"};
        const QString text = QLatin1String(texts[Pick(std::size(texts))]);
        Log(QStringLiteral("paste '%1'").arg(text));
        QClipboard *system = QGuiApplication::clipboard();
        const QString before = system->text();
        system->setText(text);
        p.txNum()->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClick(p.txNum(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(p.txNum(), Qt::Key_V, Qt::ControlModifier);
        system->setText(before);
    } else if (kind < 56) { // a spinner arrow held over timer ticks
        UpDown *sp = p.spNum();
        const bool up = Chance(60);
        const QPoint at = (up ? sp->UpRect() : sp->DownRect()).center();
        const int ticks = Pick(12);
        Log(QStringLiteral("hold spinner %1 for %2 ticks").arg(up ? "up" : "down").arg(ticks));
        QTest::mousePress(sp, Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        if (Chance(30)) QTest::keyPress(p.txNum(), Qt::Key_Shift, Qt::ShiftModifier);
        for (int n = 0; n < ticks; ++n)
            if (p.tmSpin()->Enabled()) p.tmSpin()->Fire();
        QTest::mouseRelease(sp, Qt::LeftButton, {}, at);
        QTest::keyRelease(p.txNum(), Qt::Key_Shift);
    } else if (kind < 66) { // a set or filter box
        const int k = Pick(4);
        Log(QStringLiteral("click box %1").arg(k));
        QTest::mouseClick(k == 0 ? static_cast<QWidget *>(p.cbFilter()) : p.cbSet(k),
                          Qt::LeftButton);
    } else if (kind < 74) {
        Log(QStringLiteral("click Generate"));
        QTest::mouseClick(p.cmGen(), Qt::LeftButton);
    } else if (kind < 81) {
        Log(QStringLiteral("click Copy (count '%1')").arg(p.txNum()->text()));
        QTest::mouseClick(p.cmCopy(), Qt::LeftButton);
    } else if (kind < 84) {
        Log(QStringLiteral("double-click count"));
        QTest::mouseDClick(p.txNum(), Qt::LeftButton);
    } else if (kind < 86) {
        Log(QStringLiteral("click Exit"));
        QTest::mouseClick(p.cmExit(), Qt::LeftButton);
    } else if (kind < 96) { // time passes
        Log(QStringLiteral("timers tick"));
        if (p.tmTimer()->Enabled()) p.tmTimer()->Fire();
        if (p.tmSpin()->Enabled()) p.tmSpin()->Fire();
    } else { // the close box
        if (Chance(90)) return;
        Log(QStringLiteral("close box"));
        w_->close();
    }
}

QString TestStorm::Invariants()
{
    fmMainProbe &p = *p_;
    const int v0 = p.sldLen(0)->Value(), v1 = p.sldLen(1)->Value();
    if (v0 < 3 || v0 > 40 || v1 < 6 || v1 > 40)
        return QStringLiteral("slider values %1 - %2").arg(v0).arg(v1);
    if (p.PushState() < 0 || p.PushState() > 2)
        return QStringLiteral("PushState %1").arg(p.PushState());
    const bool done = p.tmTimer()->Enabled();
    if (p.Busy() != (done ? 2 : 0))
        return QStringLiteral("Busy %1 with the restore timer %2").arg(p.Busy()).arg(done);

    const QString text = p.txNum()->text();
    if (text.size() > 3) return QStringLiteral("count text '%1'").arg(text);
    const int n = std::max<int>(0, ReadInt16(text.toStdString()));
    const int expected = n == 0 ? 1 : n;
    if (p.CountValue() != expected || p.spNum()->Value() != expected)
        return QStringLiteral("count '%1': CountValue %2, spinner %3")
            .arg(text)
            .arg(p.CountValue())
            .arg(p.spNum()->Value());
    if (p.Busy() != 0) return {};

    // Idle: the mode follows the count.
    const QString caption = p.cmCopy()->text();
    if (n == 1 && (caption != QLatin1String("&Copy to Clipboard") || !p.cmGen()->isEnabled()))
        return QStringLiteral("single mode shows '%1'").arg(caption);
    if (n > 1 && (caption != QLatin1String("Multi&copy") || !p.cmCopy()->FontBold() ||
                  p.cmGen()->isEnabled()))
        return QStringLiteral("batch mode shows '%1'").arg(caption);
    if (n == 0 && p.cmGen()->isEnabled()) return QStringLiteral("invalid mode, Generate enabled");

    // Idle with a set on: a password of the pool and the range is on show.
    if (p.cbSet(1)->Value() + p.cbSet(2)->Value() + p.cbSet(3)->Value() == 0) return {};
    const QString pw = p.lbPass()->Caption();
    const int lo = std::clamp(v0, 3, 40), hi = std::max(lo, v1);
    if (pw.size() < lo || pw.size() > hi)
        return QStringLiteral("password '%1' outside %2 - %3").arg(pw).arg(v0).arg(v1);
    for (QChar c : pw)
        if (p.Pool().find(static_cast<char>(c.unicode())) == std::string::npos)
            return QStringLiteral("password '%1' not from the pool").arg(pw);
    return {};
}

void TestStorm::storm_data()
{
    // The storm runs in rounds of at most 5000 actions, each on a fresh window with a seed of its
    // own, so that a long storm is many short test rows.
    QTest::addColumn<int>("actions");
    QTest::addColumn<qulonglong>("seed");
    const int total = EnvInt("ZINTROVA_STORM_ACTIONS", 20000);
    const auto base = static_cast<qulonglong>(EnvInt(
        "ZINTROVA_STORM_SEED", static_cast<int>(QRandomGenerator::system()->bounded(1 << 30))));
    qInfo("storm: %d actions from seed %llu (replay with ZINTROVA_STORM_SEED=%llu)", total, base,
          base);
    constexpr int round = 5000;
    for (int done = 0, r = 0; done < total; done += round, ++r)
        QTest::addRow("round %d, seed %llu", r, base + r)
            << std::min(round, total - done) << base + r;
}

void TestStorm::storm()
{
    QFETCH(int, actions);
    QFETCH(qulonglong, seed);
    rng_.seed(seed);
    log_.clear();
    clip_ = {};
    restarts_ = 0;
    Open();
    for (int i = 0; i < actions; ++i) {
        // Enter or Space on "?", F1 and a click on "?" open the modal About window from inside
        // any action; the watcher closes it again.
        WithAboutCloser([this] { Act(); });
        QCoreApplication::processEvents();
        Log(QStringLiteral("    -> %1 - %2, push %3, shown %4, busy %5")
                .arg(p_->sldLen(0)->Value())
                .arg(p_->sldLen(1)->Value())
                .arg(p_->PushState())
                .arg(p_->lbPass()->Caption().size())
                .arg(p_->Busy()));
        if (!w_->isVisible()) { // Exit, Escape twice or the close box: start again
            Log(QStringLiteral("-- restart"));
            ++restarts_;
            Open();
        }
        QString problem = Invariants();
        if (problem.isEmpty()) problem = clip_.problem;
        if (!problem.isEmpty()) {
            QString msg = QStringLiteral("action %1 of the round with seed %2: %3\nlast actions:\n")
                              .arg(i)
                              .arg(seed)
                              .arg(problem);
            for (const QString &a : log_)
                msg += QStringLiteral("  ") + a + QLatin1Char('\n');
            QFAIL(qPrintable(msg));
        }
    }
    qInfo("round: %d single copies, %d batches, %d restarts, %d links or help opened",
          clip_.singles, clip_.batches, restarts_, int(urls_->opened.size()));
    QVERIFY(clip_.singles + clip_.batches > 0);
}

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
