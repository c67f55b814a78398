// A randomised storm of user actions on the real main window, written in the steps of script.h.
// The handlers nest (synchronous change notifications, the event pass inside a batch, timers)
// and the busy flag is what keeps them apart; after every action the window must be in a state
// its model allows.
//
// ZINTROVA_STORM_ACTIONS sets the number of actions (default 20000), ZINTROVA_STORM_SEED replays
// a run. A failure prints the seed and the last steps.

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
    std::mt19937_64 rng_;
    std::unique_ptr<Script> s_;
    WatchedClipboard clip_;
    std::deque<QString> log_;

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    template <std::size_t N> QString Any(const char *const (&names)[N])
    {
        return QLatin1String(names[Pick(int(N))]);
    }
    void Open()
    {
        s_.reset();
        s_ = std::make_unique<Script>(QString());
        s_->p.Clip() = &clip_;
        // The About window, from any step: Help (the file is missing), the link, Escape, or
        // closed; then it is closed in any case.
        s_->onModal = [this](QWidget *about) {
            const QString play = Any({"kN", "@lblLink", "kE", ""});
            log_.push_back(QStringLiteral("  About: ") + play);
            if (!play.isEmpty()) s_->Do(play);
            if (about->isVisible()) QMetaObject::invokeMethod(about, "reject");
        };
    }

    // One user action as steps: a drag, a key (held perhaps, with Ctrl or Shift), typed or pasted
    // digits, a spinner arrow held over its timer's ticks, a click, time passing, the close box.
    QStringList Action()
    {
        fmMainProbe &p = s_->p;
        const int kind = Pick(100);
        QStringList steps;
        if (kind < 14) {
            steps << QStringLiteral("d%1:%2").arg(Pick(2)).arg(Pick(42) + 1);
            for (int n = Pick(6); n > 0; --n)
                steps << QStringLiteral("m%1").arg(Pick(42) + 1);
            steps << QStringLiteral("u");
        } else if (kind < 34) {
            const QString key = Any({"C-", "S-", "", "", "", "", ""}) +
                                Any({"L", "R", "U", "D", "^", "_", "H", "Z", "E", "N",
                                     "T", "B", "X", "A", "-", "S", "I", "C", "F", "F"});
            for (int n = Pick(5) < 1 ? 1 + Pick(4) : 0; n > 0; --n)
                steps << u'+' + key;
            steps << (steps.isEmpty() ? u'k' + key : QStringLiteral("-"));
        } else if (kind < 46) {
            steps << u't' + QString::number(Pick(Pick(3) ? 10 : 1000));
        } else if (kind < 50) {
            steps << Any({"p-5", "p1234", "pabc", "p007", "p2", "p0", "p", "p+4", "p99x"});
        } else if (kind < 56) {
            steps << Any({"Su", "Su", "Sd"}) << Any({"+S", "T", "T"});
            for (int n = Pick(12); n > 0 && p.w.tmSpin->Enabled(); --n)
                steps << QStringLiteral("TtmSpin");
            steps << QStringLiteral("Sr") << QStringLiteral("-");
            steps.removeAll(QStringLiteral("T"));
        } else if (kind < 86) {
            steps << Any({"@cbFilter", "@cbSet(1)", "@cbSet(2)", "@cbSet(3)", "@cmGen", "@cmGen",
                          "@cmCopy", "@cmCopy", "@cmHelp", "@cmExit", "@@txNum"});
        } else if (kind < 99) {
            if (p.w.tmTimer->Enabled()) steps << QStringLiteral("TtmTimer");
            if (p.w.tmSpin->Enabled()) steps << QStringLiteral("TtmSpin");
        } else if (Pick(10) == 0) {
            steps << QStringLiteral("X");
        }
        return steps;
    }

    QString Invariants()
    {
        fmMainProbe &p = s_->p;
        const int v0 = p.w.sldLen[0]->Value(), v1 = p.w.sldLen[1]->Value();
        const QString text = p.w.txNum->text(), copy = p.w.cmCopy->text();
        const QString pw = p.w.lbPass->Caption();
        const int n = std::max<int>(0, ReadInt16(text.toStdString()));
        // Idle, the mode follows the count, and with a set on a password of the pool and the
        // range is on show.
        const bool idle = p.Busy() == 0;
        const bool anySet =
            p.w.cbSet[1]->Value() + p.w.cbSet[2]->Value() + p.w.cbSet[3]->Value() > 0;
        bool fromPool = pw.size() >= v0 && pw.size() <= std::max(v0, v1);
        for (QChar c : pw)
            fromPool = fromPool && p.Pool().find(char(c.unicode())) != std::string::npos;
        const std::pair<bool, const char *> rules[] = {
            {v0 >= 3 && v0 <= 40 && v1 >= 6 && v1 <= 40, "the sliders within their ranges"},
            {p.PushState() >= 0 && p.PushState() <= 2, "PushState 0, 1 or 2"},
            {p.Busy() == (p.w.tmTimer->Enabled() ? 2 : 0), "busy exactly while Done shows"},
            {text.size() <= 3 && p.CountValue() == std::max(n, 1) &&
                 p.w.spNum->Value() == std::max(n, 1),
             "the count, CountValue and the spinner agree"},
            {!idle || (n == 1  ? copy == "&Copy to Clipboard" && p.w.cmGen->isEnabled()
                       : n > 1 ? copy == "Multi&copy" && p.w.cmCopy->FontBold() &&
                                     !p.w.cmGen->isEnabled()
                               : !p.w.cmGen->isEnabled()),
             "the mode follows the count"},
            {!idle || !anySet || fromPool, "a password of the pool and the range"}};
        for (const auto &[holds, rule] : rules)
            if (!holds)
                return QString::asprintf("not %s: %d - %d, PushState %d, Busy %d, count '%s' "
                                         "(%d, spinner %d), '%s', password '%s'",
                                         rule, v0, v1, p.PushState(), p.Busy(), qPrintable(text),
                                         p.CountValue(), p.w.spNum->Value(), qPrintable(copy),
                                         qPrintable(pw));
        return {};
    }

private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    // The storm runs in rounds of at most 5000 actions, each on a fresh window with a seed of its
    // own, so that a long storm is many short test rows.
    void storm_data()
    {
        QTest::addColumn<int>("actions");
        QTest::addColumn<qulonglong>("seed");
        bool ok = false;
        int total = qEnvironmentVariableIntValue("ZINTROVA_STORM_ACTIONS", &ok);
        total = ok ? total : 20000;
        const int seed = qEnvironmentVariableIntValue("ZINTROVA_STORM_SEED", &ok);
        const qulonglong base = ok ? seed : QRandomGenerator::system()->bounded(1 << 30);
        qInfo("storm: %d actions from seed %llu (replay with ZINTROVA_STORM_SEED=%llu)", total,
              base, base);
        for (int done = 0, r = 0; done < total; done += 5000, ++r)
            QTest::addRow("round %d, seed %llu", r, base + r)
                << std::min(5000, total - done) << base + r;
    }

    void storm()
    {
        QFETCH(int, actions);
        QFETCH(qulonglong, seed);
        rng_.seed(seed);
        log_.clear();
        clip_.writes = 0;
        Open();
        for (int i = 0; i < actions; ++i) {
            for (const QString &step : Action()) {
                log_.push_back(step);
                s_->Do(step);
            }
            while (log_.size() > 80)
                log_.pop_front();
            s_->passwords.clear();
            if (!s_->w.isVisible()) { // Exit, Escape twice or the close box: start again
                log_.push_back(QStringLiteral("-- restart"));
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
};

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
