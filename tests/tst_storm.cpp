// A randomised storm of user actions on the real main window. The handlers nest (synchronous
// change notifications, the event pass inside a batch, timers) and the busy flag is what keeps
// them apart; after every action the window must be in a state its model allows.
//
// ZINTROVA_STORM_ACTIONS sets the number of actions (default 20000), ZINTROVA_STORM_SEED replays
// a run. A failure prints the seed and the last actions.

#include "engine/number.h"
#include "window_fixture.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <random>

using namespace zintrova;

namespace {

// Every text the program puts on the clipboard is one password, or two or more each ended by
// CR LF.
class WatchedClipboard final : public Clipboard {
public:
    bool wrong = false;

protected:
    void Write(QMimeData *data) override
    {
        static const QRegularExpression passwords(QRegularExpression::anchoredPattern(
            "[A-Za-z0-9]{3,40}|([A-Za-z0-9]{3,40}\r\n){2,999}"));
        wrong = wrong || !passwords.match(data->text()).hasMatch();
        Clipboard::Write(data);
    }
};

} // namespace

class TestStorm : public QObject {
    Q_OBJECT
    std::mt19937_64 random_;
    std::unique_ptr<MainWindow> t_;
    WatchedClipboard clip_;
    const Opener opener_; // the web site and the help file stay closed
    QStringList log_;

    int pick(int n) { return int(random_() % n); }
    static int actions()
    {
        const int given = qEnvironmentVariableIntValue("ZINTROVA_STORM_ACTIONS");
        return given ? given : 20000;
    }

    void openWindow()
    {
        t_ = nullptr;
        t_ = std::make_unique<MainWindow>();
        t_->probe.Clip() = &clip_;
        // The About window, whenever it shows: Enter or Space on Help (the file is missing),
        // Tab, Escape; then it is closed in any case.
        t_->whenModal([this](QWidget *) {
            const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Space};
            t_->pressKey(keys[pick(4)]);
        });
    }

    // One user action, and what it was in words.
    QString act()
    {
        fmMain &w = t_->w;
        const int kind = pick(100);
        if (kind < 14) {
            t_->pressSlider(pick(2), 3 + pick(38));
            for (int n = pick(6); n > 0; --n)
                t_->dragTo(3 + pick(38));
            t_->release();
            return "a drag";
        }
        if (kind < 34) {
            const Qt::Key keys[] = {Qt::Key_Left,     Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                                    Qt::Key_PageUp,   Qt::Key_Home,  Qt::Key_Escape, Qt::Key_Return,
                                    Qt::Key_PageDown, Qt::Key_Tab,   Qt::Key_Shift,  Qt::Key_Insert,
                                    Qt::Key_C,        Qt::Key_F1,    Qt::Key_5,      Qt::Key_End};
            const Qt::Key key = keys[pick(16)];
            const auto mods = pick(2)   ? Qt::NoModifier
                              : pick(2) ? Qt::ControlModifier
                                        : Qt::ShiftModifier;
            for (int n = pick(4) ? 0 : pick(4); n > 0; --n)
                t_->holdKey(key);
            key == t_->held() ? t_->releaseKey() : t_->pressKey(key, mods);
            return QKeySequence(key | mods).toString();
        }
        if (kind < 50) {
            const QString text = QString::number(pick(pick(3) ? 10 : 1000));
            pick(4) ? t_->type(text) : t_->pasteCount("-" + text);
            return "count " + text;
        }
        if (kind < 86) {
            QWidget *const controls[] = {w.cbFilter, w.cbSet[1], w.cbSet[2], w.cbSet[3], w.cmGen,
                                         w.cmCopy,   w.cmCopy,   w.cmHelp,   w.cmExit,   w.txNum};
            QWidget *control = controls[pick(10)];
            control == w.txNum ? QTest::mouseDClick(control, Qt::LeftButton) : t_->click(control);
            return "click " + control->objectName();
        }
        if (kind < 99 || pick(10)) {
            for (EventTimer *timer : {w.tmTimer, w.tmSpin})
                if (timer->Enabled()) timer->Fire();
            return "time passes";
        }
        w.close();
        return "the close box";
    }

    // What must hold after every action: the name of the first rule broken, or nothing.
    QString brokenRule() const
    {
        const fmMain &w = t_->w;
        const fmMainProbe &p = t_->probe;
        const int min = w.sldLen[0]->Value(), max = w.sldLen[1]->Value();
        const int count = std::max<int>(0, ReadInt16(t_->count().toStdString()));
        const QString password = t_->password(), mode = count == 1 ? "single"
                                                        : count    ? "batch"
                                                                   : "invalid";
        bool fromPool = password.size() >= min && password.size() <= std::max(min, max);
        for (QChar c : password)
            fromPool = fromPool && p.Pool().find(c.toLatin1()) != std::string::npos;
        const bool anySet = w.cbSet[1]->Value() + w.cbSet[2]->Value() + w.cbSet[3]->Value();
        const bool idle = p.Busy() == 0;
        const std::pair<bool, const char *> rules[] = {
            {p.Busy() == (w.tmTimer->Enabled() ? busy::BatchCopy : busy::Idle),
             "busy exactly while Done shows"},
            {p.CountValue() == std::max(count, 1) && w.spNum->Value() == p.CountValue(),
             "the count, CountValue and the spinner agree"},
            {!idle || t_->mode() == mode || (count == 0 && !w.cmGen->isEnabled()),
             "the mode follows the count"},
            {!idle || !anySet || fromPool, "a password of the pool and the range"},
            {!clip_.wrong, "every copy is passwords"}};
        for (auto [holds, rule] : rules)
            if (!holds)
                return QString("not %1: %2, Busy %3, count '%4', password '%5'")
                    .arg(rule, t_->range())
                    .arg(p.Busy())
                    .arg(t_->count(), password);
        return {};
    }

private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    // ZINTROVA_STORM_ACTIONS actions (default 20000) from ZINTROVA_STORM_SEED (default: any), in
    // rounds of at most 5000, each a test row of its own on a fresh window.
    void storm_data()
    {
        QTest::addColumn<int>("seed");
        bool given = false;
        int seed = qEnvironmentVariableIntValue("ZINTROVA_STORM_SEED", &given);
        seed = given ? seed : QRandomGenerator::system()->bounded(1 << 30);
        for (int done = 0; done < actions(); done += 5000)
            QTest::addRow("seed %d", seed + done) << seed + done;
    }
    void storm()
    {
        QFETCH(int, seed);
        random_.seed(seed);
        openWindow();
        for (int i = 0; i < std::min(actions(), 5000); ++i) {
            log_ << act();
            if (log_.size() > 60) log_.removeFirst();
            if (!t_->w.isVisible()) openWindow(); // Exit, Escape twice or the close box
            t_->shown.clear();
            if (const QString broken = brokenRule(); !broken.isEmpty())
                QFAIL(qPrintable(
                    QString("action %1 of seed %2: %3\n  ").arg(i).arg(seed).arg(broken) +
                    log_.join("\n  ")));
        }
    }
};

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
