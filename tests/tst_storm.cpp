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
#include <QRegularExpression>
#include <deque>
#include <memory>
#include <random>

using namespace zintrova;

namespace {

// Every text the program puts on the clipboard is one password, or two or more each ended by
// CR LF.
class WatchedClipboard final : public Clipboard {
public:
    QString problem;
    int writes = 0;

protected:
    void Write(QMimeData *data) override
    {
        static const QRegularExpression text(QRegularExpression::anchoredPattern(
            QStringLiteral("[A-Za-z0-9]{3,40}|([A-Za-z0-9]{3,40}\r\n){2,999}")));
        ++writes;
        if (!text.match(data->text()).hasMatch()) problem = "copied: " + data->text().left(90);
        Clipboard::Write(data);
    }
};

} // namespace

class TestStorm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void storm_data();
    void storm();

private:
    std::mt19937_64 rng_;
    std::unique_ptr<fmMain> w_;
    std::unique_ptr<fmMainProbe> p_;
    WatchedClipboard clip_;
    Opener urls_;
    std::deque<QString> log_;

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    void Log(const QString &s)
    {
        log_.push_back(s);
        if (log_.size() > 60) log_.pop_front();
    }
    void Open()
    {
        p_.reset();
        w_ = std::make_unique<fmMain>();
        p_ = std::make_unique<fmMainProbe>(fmMainProbe{*w_});
        p_->Clip() = &clip_;
        w_->show();
        w_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
    void Act();
    QString Invariants();
};

void TestStorm::Act()
{
    fmMainProbe &p = *p_;
    QWidget *focus = Focus() ? Focus() : w_.get();
    const int kind = Pick(100);
    if (kind < 14) { // drag on a slider, possibly into the other thumb
        TrackSlider *s = p.sldLen(Pick(2));
        QPoint at(Pick(s->width()), s->height() / 2);
        Log(QStringLiteral("drag slider %1 from %2").arg(s == p.sldLen(1)).arg(at.x()));
        QTest::mousePress(s, Qt::LeftButton, {}, at);
        for (int n = Pick(6); n > 0; --n) {
            at.setX(std::clamp(at.x() + Pick(81) - 40, -5, s->width() + 5));
            QMouseEvent move(QEvent::MouseMove, at, s->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s, &move);
            Log(QStringLiteral("  to %1").arg(at.x()));
        }
        QTest::mouseRelease(s, Qt::LeftButton, {}, at);
    } else if (kind < 34) { // a key, sometimes held; F1 opens the About window
        static const Qt::Key keys[] = {
            Qt::Key_Left,     Qt::Key_Right,     Qt::Key_Up,      Qt::Key_Down,   Qt::Key_PageUp,
            Qt::Key_PageDown, Qt::Key_Home,      Qt::Key_End,     Qt::Key_Escape, Qt::Key_Return,
            Qt::Key_Tab,      Qt::Key_Backspace, Qt::Key_Delete,  Qt::Key_Space,  Qt::Key_A,
            Qt::Key_Minus,    Qt::Key_Shift,     Qt::Key_Control, Qt::Key_Insert, Qt::Key_C,
            Qt::Key_F1,       Qt::Key_F1};
        const Qt::Key key = keys[Pick(std::size(keys))];
        Qt::KeyboardModifiers mods;
        mods.setFlag(Qt::ShiftModifier, Chance(15)).setFlag(Qt::ControlModifier, Chance(15));
        Log(QStringLiteral("key %1 mods %2 on %3")
                .arg(QKeySequence(key).toString())
                .arg(int(mods))
                .arg(QLatin1String(focus->metaObject()->className())));
        for (int n = Chance(20) ? 1 + Pick(4) : 0; n > 0; --n) // held: repeats, then the release
            QTest::keyPress(focus, key, mods);
        QTest::keyClick(focus, key, mods);
    } else if (kind < 46) { // digits typed anywhere land in the count box
        Log(QStringLiteral("type on %1").arg(QLatin1String(focus->metaObject()->className())));
        for (int digits = Chance(70) ? 1 : Chance(70) ? 2 : 3; digits > 0; --digits) {
            QTest::keyClick(Focus() ? Focus() : w_.get(), Qt::Key(Qt::Key_0 + Pick(10)));
            QCoreApplication::processEvents();
        }
    } else if (kind < 50) { // pasted text in the count box
        static const char *texts[] = {"-5", "1234", "abc", "007", "2", " 3", "0", "", "+4", "99x"};
        const QString text = QLatin1String(texts[Pick(std::size(texts))]);
        const QString before = QGuiApplication::clipboard()->text();
        Log(QStringLiteral("paste '%1'").arg(text));
        QGuiApplication::clipboard()->setText(text);
        p.txNum()->setFocus();
        QTest::keyClick(p.txNum(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(p.txNum(), Qt::Key_V, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(before);
    } else if (kind < 56) { // a spinner arrow held over timer ticks, Shift perhaps held too
        UpDown *sp = p.spNum();
        const QPoint at = (Chance(60) ? sp->UpRect() : sp->DownRect()).center();
        const int ticks = Pick(12);
        Log(QStringLiteral("hold spinner at %1 for %2 ticks").arg(at.y()).arg(ticks));
        QTest::mousePress(sp, Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        if (Chance(30)) QTest::keyPress(p.txNum(), Qt::Key_Shift, Qt::ShiftModifier);
        for (int n = 0; n < ticks && p.tmSpin()->Enabled(); ++n)
            p.tmSpin()->Fire();
        QTest::mouseRelease(sp, Qt::LeftButton, {}, at);
        QTest::keyRelease(p.txNum(), Qt::Key_Shift);
    } else if (kind < 86) { // a click: the boxes, Generate, Copy, "?", Exit; a double-click
        QWidget *const targets[] = {p.cbFilter(), p.cbSet(1), p.cbSet(2), p.cbSet(3),
                                    p.cmGen(),    p.cmGen(),  p.cmCopy(), p.cmCopy(),
                                    p.cmHelp(),   p.cmExit(), p.txNum()};
        const int i = Pick(std::size(targets));
        Log(QStringLiteral("click %1 (count '%2')").arg(i).arg(p.txNum()->text()));
        if (i == 10)
            QTest::mouseDClick(targets[i], Qt::LeftButton);
        else
            QTest::mouseClick(targets[i], Qt::LeftButton);
    } else if (kind < 99) { // time passes
        Log(QStringLiteral("timers tick"));
        for (EventTimer *t : {p.tmTimer(), p.tmSpin()})
            if (t->Enabled()) t->Fire();
    } else if (Chance(10)) {
        Log(QStringLiteral("close box"));
        w_->close();
    }
}

QString TestStorm::Invariants()
{
    fmMainProbe &p = *p_;
    const int v0 = p.sldLen(0)->Value(), v1 = p.sldLen(1)->Value();
    if (v0 < 3 || v0 > 40 || v1 < 6 || v1 > 40 || p.PushState() < 0 || p.PushState() > 2)
        return QStringLiteral("sliders %1 - %2, PushState %3").arg(v0).arg(v1).arg(p.PushState());
    if (p.Busy() != (p.tmTimer()->Enabled() ? 2 : 0))
        return QStringLiteral("Busy %1 with the restore timer %2")
            .arg(p.Busy())
            .arg(p.tmTimer()->Enabled());
    const QString text = p.txNum()->text();
    const int n = std::max<int>(0, ReadInt16(text.toStdString()));
    if (text.size() > 3 || p.CountValue() != std::max(n, 1) || p.spNum()->Value() != std::max(n, 1))
        return QStringLiteral("count '%1': CountValue %2, spinner %3")
            .arg(text)
            .arg(p.CountValue())
            .arg(p.spNum()->Value());
    if (p.Busy() != 0) return {};
    // Idle: the mode follows the count, and with a set on a password of the pool and the range
    // is on show.
    const QString caption = p.cmCopy()->text();
    if ((n == 1 && (caption != QLatin1String("&Copy to Clipboard") || !p.cmGen()->isEnabled())) ||
        (n > 1 && (caption != QLatin1String("Multi&copy") || !p.cmCopy()->FontBold() ||
                   p.cmGen()->isEnabled())) ||
        (n == 0 && p.cmGen()->isEnabled()))
        return QStringLiteral("count %1 shows '%2'").arg(n).arg(caption);
    if (p.cbSet(1)->Value() + p.cbSet(2)->Value() + p.cbSet(3)->Value() == 0) return {};
    const QString pw = p.lbPass()->Caption();
    bool fromPool = pw.size() >= v0 && pw.size() <= std::max(v0, v1);
    for (QChar c : pw)
        fromPool = fromPool && p.Pool().find(char(c.unicode())) != std::string::npos;
    return fromPool ? QString()
                    : QStringLiteral("password '%1' in %2 - %3").arg(pw).arg(v0).arg(v1);
}

// The storm runs in rounds of at most 5000 actions, each on a fresh window with a seed of its
// own, so that a long storm is many short test rows.
void TestStorm::storm_data()
{
    QTest::addColumn<int>("actions");
    QTest::addColumn<qulonglong>("seed");
    bool ok = false;
    int total = qEnvironmentVariableIntValue("ZINTROVA_STORM_ACTIONS", &ok);
    total = ok ? total : 20000;
    const int seed = qEnvironmentVariableIntValue("ZINTROVA_STORM_SEED", &ok);
    const qulonglong base = ok ? seed : QRandomGenerator::system()->bounded(1 << 30);
    qInfo("storm: %d actions from seed %llu (replay with ZINTROVA_STORM_SEED=%llu)", total, base,
          base);
    for (int done = 0, r = 0; done < total; done += 5000, ++r)
        QTest::addRow("round %d, seed %llu", r, base + r)
            << std::min(5000, total - done) << base + r;
}

void TestStorm::storm()
{
    QFETCH(int, actions);
    QFETCH(qulonglong, seed);
    rng_.seed(seed);
    log_.clear();
    clip_.writes = 0;
    Open();
    // Whenever the modal About window is up, inside any action, a watcher plays with it (Help,
    // the link, Escape) and closes it.
    QTimer closer;
    closer.setInterval(2);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        const QPointer<QDialog> about = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!about) return;
        closer.stop();
        const int plan = Pick(4);
        Log(QStringLiteral("  About window, plan %1").arg(plan));
        if (plan == 0) QTest::keyClick(about, Qt::Key_Return); // Help: opens the (missing) file
        if (plan == 1) QTest::mouseClick(about->findChild<QWidget *>("lblLink"), Qt::LeftButton);
        if (plan == 2) QTest::keyClick(about, Qt::Key_Escape);
        if (about && about->isVisible()) about->reject();
        closer.start();
    });
    closer.start();
    for (int i = 0; i < actions; ++i) {
        Act();
        QCoreApplication::processEvents();
        Log(QStringLiteral("    -> %1 - %2, push %3, shown %4, busy %5")
                .arg(p_->sldLen(0)->Value())
                .arg(p_->sldLen(1)->Value())
                .arg(p_->PushState())
                .arg(p_->lbPass()->Caption().size())
                .arg(p_->Busy()));
        if (!w_->isVisible()) { // Exit, Escape twice or the close box: start again
            Log(QStringLiteral("-- restart"));
            Open();
        }
        const QString problem = Invariants() + clip_.problem;
        if (problem.isEmpty()) continue;
        QString msg = QStringLiteral("action %1, seed %2: %3\n").arg(i).arg(seed).arg(problem);
        for (const QString &a : log_)
            msg += QStringLiteral("  ") + a + QLatin1Char('\n');
        QFAIL(qPrintable(msg));
    }
    QVERIFY(clip_.writes > 0);
}

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
