#pragma once
// Real input on the real main window, written as a script of steps separated by blanks. A script
// starts on a new window (6 - 8, count 1, the focus on the minimum slider, the user's own text on
// the clipboard) and stops at the first step that does not hold.
//
// Controls and timers go by the names the window gives them (cmGen, sldLen(0), cbSet(1), tmSpin
// ...); while the About window shows, by its own.
// Keys: R L U D arrows, ^ _ PageUp/PageDown, H Home, Z End, S Shift, E Escape, N Enter, T Tab,
// B Backspace, X Delete, I Insert, F F1, %XX the key of that code (%5E for ^), any other
// character its own key.
//
// Actions: cI:N click and dI:N press on slider I at the place of value N, mN drag to N, u release;
// wI+N wheel notches over slider I; kK key click, with C- (Ctrl) and S- (Shift) before K for
// modifiers; +K key press (a repeat while K is held), - release of the held key; @name click,
// @@name double-click, qname a click already queued; >name focus
// by Tab; tTEXT typed; pTEXT pasted into the count box (then selected); Su, Sd press the spinner's
// up or down arrow, Sr releases it; Tname fires a timer (tmTimer, tmSpin, tmOne); sN sets
// PushState, bN Busy; xN makes the clipboard refuse (1) or take (0) writes; X the close box; /N
// runs the next steps from inside the batch once its N-th password is on show, up to a lone /. A
// modal window runs the next steps from inside as well, up to a lone /. R closes the window and
// runs the rest on a new one, which reads the settings file; !BYTES does the same with the file
// replaced by BYTES (%XX for any byte; none for an empty file; BYTES*N for N times over).
//
// Checks: =MIN,MAX,PUSHSTATE (and the range label); Fname focus; #N or #A-B password length; nN
// passwords composed since the last nN; PN pool size; ?name=N a box's value; *name=L,T,W,H a
// control's place in twips; "TEXT" the count box; Ms Mb Mi single, batch or invalid mode; {TEXT}
// the copy button's caption; $0 the user's text still on the clipboard, $1 the password last on
// show, $N the last N as a batch, each marked secret; |0 |1 the copy frame; BN Busy; V0 V1 the
// window closed or open; Ename Dname enabled or not (a control or a timer); A the About window on
// show; oS... what the desktop was asked to open since the last o (S the web site with the link
// greyed and the focus on OK, H the help file, - nothing); %TEXT a sane settings file that ends in
// TEXT and CR LF, %= the file as the last % found it.

#include "controls/fonts.h"
#include "controls/twips.h"
#include "mainwindow/fmMain.h"
#include "settings/ini_file.h"
#include "version.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <sys/stat.h>
#include <utility>

namespace zintrova {

struct fmMainProbe {
    fmMain &w;
    std::int16_t &Busy() { return w.Busy; }
    std::int16_t &PushState() { return w.PushState; }
    std::int16_t &CountValue() { return w.CountValue; }
    std::string &Pool() { return w.Pool; }
    Clipboard *&Clip() { return w.Clip; }
    RandomSource *&Random() { return w.Random; }
    void GeneratePass() { w.GeneratePass(); }
    void cmCopy_Click() { w.cmCopy_Click(); }
};

inline QWidget *Focus()
{
    return QApplication::focusWidget();
}

inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString &path, const QByteArray &content, mode_t mode = 0600)
{
    QFile f(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), content.size());
    QCOMPARE(chmod(QFile::encodeName(path), mode), 0);
}

// 21 digits and CR LF, every value within its control's range: boxes 0 to 2, minimum 3 to 40,
// maximum 6 to 40; the count as the box reads (an empty box saves 0, read back as 1).
inline bool IsSaneRecord(const QByteArray &content)
{
    static const QRegularExpression line(
        QStringLiteral("^[0-9]{10}[0-2]{4}(0[3-9]|[1-3][0-9]|40)(0[6-9]|[1-3][0-9]|40)"
                       "[0-9]{3}\r\n$"));
    return line.match(QString::fromLatin1(content)).hasMatch();
}

// When refusing, the data never reaches the system clipboard, as when another program holds it.
class RefusingClipboard : public Clipboard {
public:
    bool refuse = false;

protected:
    void Write(QMimeData *data) override { refuse ? delete data : Clipboard::Write(data); }
};

// Receives what the program asks the desktop to open: S for the web site, H for anything else.
class Opener : public QObject {
    Q_OBJECT
public:
    QString opened;
    QList<QUrl> urls;
    Opener()
    {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~Opener() override
    {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
public slots:
    void open(const QUrl &url)
    {
        urls << url;
        const QUrl site(QStringLiteral("https://") + QLatin1String(app::WebSite));
        QWidget *modal = QApplication::activeModalWidget();
        QWidget *link = modal ? modal->findChild<QWidget *>(QStringLiteral("lblLink")) : nullptr;
        const bool locked = link && !link->isEnabled() &&
                            QApplication::focusWidget() == modal->findChild<QWidget *>("cmOK");
        opened += url == site                        ? (locked ? u'S' : u's')
                  : url.fileName() == "Zintrova.chm" ? u'H'
                                                     : u'?';
    }
};

const QString Sentinel = QStringLiteral("what the user had copied");

// A shown, active window with a clipboard that can refuse, recording each password put on show.
struct Shown {
    fmMain w;
    fmMainProbe p{w};
    RefusingClipboard clip;
    QStringList passwords;
    Shown()
    {
        p.Clip() = &clip;
        QGuiApplication::clipboard()->setText(Sentinel);
        passwords << p.w.lbPass->Caption();
        QObject::connect(p.w.lbPass, &ChangeLabel::Change, &w, [this] {
            if (!p.w.lbPass->Caption().isEmpty()) passwords << p.w.lbPass->Caption();
        });
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCoreApplication::processEvents();
    }
};

class Script : public Shown {
public:
    explicit Script(const QString &script)
        : steps_(script.simplified().split(u' ', Qt::SkipEmptyParts))
    {
        QObject::connect(p.w.lbPass, &ChangeLabel::Change, &w, [this] {
            ++composed_;
            if (p.w.lbPass->Caption().isEmpty() || !inside_ || --inside_) return;
            Nested();
        });
        watch_.setInterval(1);
        QObject::connect(&watch_, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || QApplication::activeWindow() != modal) return;
            watch_.stop();
            if (onModal) return onModal(modal);
            Nested();
            if (modal->isVisible()) Fail(QStringLiteral("the modal window is still open"));
            if (modal->isVisible()) QMetaObject::invokeMethod(modal, "reject");
        });
        Run();
        QVERIFY(failed_.isEmpty());
    }

    // For a driver of its own: runs one step; each modal window goes to onModal when it is set.
    std::function<void(QWidget *)> onModal;
    void Do(const QString &step)
    {
        done_.clear();
        Step(step);
    }

private:
    QStringList steps_;
    qsizetype next_ = 0;
    QString done_, failed_;
    QTimer watch_;
    Opener opener_;
    int composed_ = 0, inside_ = 0;
    QPointer<TrackSlider> mouse_;
    int pointer_ = 0;
    QPoint arrow_;
    Qt::Key held_ = Qt::Key(0);
    inline static QByteArray file_; // shared with the script run after a restart

    static QString SettingsFile() { return settings::IniPath(settings::SettingsFolder()); }

    void Run()
    {
        while (next_ < steps_.size() && failed_.isEmpty()) {
            const QString t = steps_[next_++];
            if (t == QLatin1String("/")) return;
            done_ += t + u' ';
            Step(t);
        }
    }
    void Nested()
    {
        const bool was = watch_.isActive();
        watch_.stop();
        Run();
        if (was) watch_.start();
    }
    void Fail(const QString &why)
    {
        if (failed_.isEmpty()) failed_ = QStringLiteral("after %1: %2").arg(done_, why);
        QFAIL(qPrintable(failed_));
    }
    // The named control or timer of the window on top.
    template <class T = QWidget> T *Control(const QString &name)
    {
        QWidget *modal = QApplication::activeModalWidget();
        return (modal ? modal : static_cast<QWidget *>(&w))->findChild<T *>(name);
    }
    static std::pair<Qt::Key, Qt::KeyboardModifiers> Key(QString k)
    {
        Qt::KeyboardModifiers mods;
        for (; k.size() > 2 && k[1] == u'-'; k = k.mid(2))
            mods |= k[0] == u'C' ? Qt::ControlModifier : Qt::ShiftModifier;
        static const QString names = QStringLiteral("RLUD^_HZSENTBXIF");
        static const Qt::Key keys[] = {
            Qt::Key_Right,     Qt::Key_Left,     Qt::Key_Up,     Qt::Key_Down,
            Qt::Key_PageUp,    Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,
            Qt::Key_Shift,     Qt::Key_Escape,   Qt::Key_Return, Qt::Key_Tab,
            Qt::Key_Backspace, Qt::Key_Delete,   Qt::Key_Insert, Qt::Key_F1};
        if (k.size() == 3 && k[0] == u'%') return {Qt::Key(k.mid(1).toInt(nullptr, 16)), mods};
        const qsizetype i = names.indexOf(k[0]);
        return {i >= 0 ? keys[i] : Qt::Key(k[0].toUpper().unicode()), mods};
    }
    void Step(const QString &t)
    {
        const QString arg = t.mid(1);
        const int v0 = p.w.sldLen[0]->Value(), v1 = p.w.sldLen[1]->Value();
        const auto at = [&] {
            return QPoint((195 * pointer_ - (mouse_ == p.w.sldLen[1] ? 1050 : 465)) / TwipsPerPixel,
                          mouse_->height() / 2);
        };
        const auto [key, mods] = Key(arg.isEmpty() ? QStringLiteral(" ") : arg);
        QWidget *focus = Focus() ? Focus() : &w;
        UpDown *sp = p.w.spNum;
        QString got = t;
        watch_.start();
        switch (t[0].toLatin1()) {
        case 'c':
        case 'd':
            mouse_ = p.w.sldLen[arg.left(1).toInt()];
            pointer_ = arg.section(u':', 1).toInt();
            QTest::mousePress(mouse_, Qt::LeftButton, {}, at());
            if (t[0] == u'c') QTest::mouseRelease(mouse_, Qt::LeftButton, {}, at());
            break;
        case 'm': pointer_ = arg.toInt(), QTest::mouseMove(mouse_, at()); break;
        case 'u': QTest::mouseRelease(mouse_, Qt::LeftButton, {}, at()); break;
        case 'k':
            if (key == Qt::Key_Delete) // as X11 reports it, with the DEL character as its text
                QTest::sendKeyEvent(QTest::Click, focus, key, QString(QChar(0x7f)), mods);
            else
                QTest::keyClick(focus, key, mods);
            break;
        case 'q': // a click already queued, delivered when pending events next run
            for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    Control(arg),
                    new QMouseEvent(type, {3, 3}, {3, 3}, Qt::LeftButton, Qt::LeftButton, {}));
            break;
        case '+':
            if (held_ != key) {
                QTest::keyPress(focus, held_ = key);
            } else { // the keyboard's repeat
                QTest::simulateEvent(focus, false, key, {}, {}, true);
                QTest::simulateEvent(focus, true, key, {}, {}, true);
            }
            break;
        case '-':
            if (held_)
                QTest::keyRelease(focus, held_, held_ == Qt::Key_Shift ? Qt::ShiftModifier : mods);
            held_ = Qt::Key(0);
            break;
        case 'w': {
            TrackSlider *s = p.w.sldLen[arg.left(1).toInt()];
            const QPointF mid(s->width() / 2, s->height() / 2);
            QWheelEvent e(mid, s->mapToGlobal(mid), {}, {0, 120 * arg.mid(1).toInt()}, Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(s, &e);
            break;
        }
        case '@':
            if (arg.startsWith(u'@'))
                QTest::mouseDClick(Control(arg.mid(1)), Qt::LeftButton);
            else
                QTest::mouseClick(Control(arg), Qt::LeftButton);
            break;
        case '>': Control(arg)->setFocus(Qt::TabFocusReason); break;
        case 't':
            for (QChar c : arg) {
                QTest::keyClick(Focus() ? Focus() : &w, c.toLatin1());
                QCoreApplication::processEvents();
            }
            break;
        case 'p':
            QGuiApplication::clipboard()->setText(arg);
            p.w.txNum->setFocus();
            p.w.txNum->selectAll();
            QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
            p.w.txNum->selectAll();
            QGuiApplication::clipboard()->setText(Sentinel);
            break;
        case 'S':
            if (arg == "r") QTest::mouseRelease(sp, Qt::LeftButton, {}, arrow_);
            arrow_ = (arg == "u" ? sp->UpRect() : sp->DownRect()).center();
            if (arg != "r") QTest::mousePress(sp, Qt::LeftButton, {}, arrow_);
            break;
        case 'T': Control<EventTimer>(arg)->Fire(); break;
        case 's': p.PushState() = std::int16_t(arg.toInt()); break;
        case 'b': p.Busy() = std::int16_t(arg.toInt()); break;
        case 'x': clip.refuse = arg == QLatin1String("1"); break;
        case 'X': w.close(); break;
        case '!':
        case 'R':
            w.close();
            if (t[0] == u'!')
                WriteAll(SettingsFile(),
                         QByteArray::fromPercentEncoding(arg.section(u'*', 0, 0).toLatin1())
                             .repeated(std::max(1, arg.section(u'*', 1).toInt())));
            Script(steps_.mid(std::exchange(next_, steps_.size())).join(u' '));
            break;
        case '/': inside_ = arg.toInt(); break;
        default: watch_.stop(), got = Check(t, v0, v1);
        }
        watch_.stop();
        QCoreApplication::processEvents();
        if (got != t) Fail(QStringLiteral("got %1").arg(got));
    }
    QString Check(const QString &t, int v0, int v1)
    {
        const QString arg = t.mid(1);
        const QString box = p.w.txNum->text();
        switch (t[0].toLatin1()) {
        case '=': {
            QString got = QStringLiteral("=%1,%2,%3").arg(v0).arg(v1).arg(p.PushState());
            if (p.w.lbLimits->Caption() != QStringLiteral("%1 - %2").arg(v0).arg(v1))
                got += QStringLiteral(" shown as ") + p.w.lbLimits->Caption();
            return got;
        }
        case 'F': return Focus() == Control(arg) ? t : QStringLiteral("focus elsewhere");
        case '#': {
            const qsizetype n = p.w.lbPass->Caption().size();
            const bool within =
                n >= arg.section(u'-', 0, 0).toInt() && n <= arg.section(u'-', -1).toInt();
            return within ? t : QStringLiteral("#%1").arg(n);
        }
        case 'P': return QStringLiteral("P%1").arg(p.Pool().size());
        case '*': {
            const QRect r = Control(arg.section(u'=', 0, 0))->geometry();
            return t.section(u'=', 0, 0) + QString::asprintf("=%d,%d,%d,%d", Twips(r.x()),
                                                             Twips(r.y()), Twips(r.width()),
                                                             Twips(r.height()));
        }
        case '?': {
            auto *box = qobject_cast<ValueCheckBox *>(Control(arg.section(u'=', 0, 0)));
            return QStringLiteral("?%1=%2").arg(arg.section(u'=', 0, 0)).arg(box->Value());
        }
        case 'A': {
            QWidget *about = QApplication::activeModalWidget();
            return about && about->windowTitle() == "About Zintrova" ? t : "no About window";
        }
        case 'n': return QStringLiteral("n%1").arg(std::exchange(composed_, 0));
        case '"': return u'"' + box + u'"';
        case 'M': return u'M' + ModeOf();
        case '{': return u'{' + p.w.cmCopy->text() + u'}';
        case '$': {
            const int n = arg.toInt();
            QString want = n ? QString() : Sentinel;
            for (qsizetype i = passwords.size() - n; i < passwords.size(); ++i)
                want += passwords.value(i) + (n > 1 ? QStringLiteral("\r\n") : QString());
            const QMimeData *data = QGuiApplication::clipboard()->mimeData();
            const bool secret = !n || data->data("x-kde-passwordManagerHint") == "secret";
            return data->text() == want && secret ? t : "clipboard '" + data->text() + u'\'';
        }
        case '%': {
            const QByteArray file = std::exchange(file_, ReadAll(SettingsFile()));
            const bool same =
                arg == u'=' ? file == file_ : file_.chopped(2).endsWith(arg.toLatin1());
            return IsSaneRecord(file_) && same ? t : u'%' + QString::fromLatin1(file_);
        }
        case '|': return QStringLiteral("|%1").arg(int(p.w.shCopy->isVisible()));
        case 'B': return QStringLiteral("B%1").arg(p.Busy());
        case 'V': return QStringLiteral("V%1").arg(int(w.isVisible()));
        case 'E':
        case 'D': {
            const bool on =
                Control(arg) ? Control(arg)->isEnabled() : Control<EventTimer>(arg)->Enabled();
            return on == (t[0] == u'E') ? t : t + QStringLiteral("?");
        }
        case 'o': {
            const QString opened = std::exchange(opener_.opened, QString());
            return u'o' + (opened.isEmpty() ? QStringLiteral("-") : opened);
        }
        }
        return QStringLiteral("no such step");
    }

public:
    // The three modes of the count: the buttons' enabling, the box's colour, and in single and
    // batch mode the copy button's caption and weight and the password's colour.
    QString ModeOf()
    {
        const QPalette &pal = w.palette();
        const QColor back = p.w.txNum->BackColor();
        if (!p.w.cmGen->isEnabled() && !p.w.cmCopy->isEnabled() && back == QColor(255, 128, 128))
            return QStringLiteral("i");
        const bool batch = !p.w.cmGen->isEnabled();
        if (p.w.cmCopy->isEnabled() && p.w.cmCopy->FontBold() == batch &&
            back == (batch ? QColor(255, 255, 192) : pal.color(QPalette::Base)) &&
            p.w.cmCopy->text() == (batch ? "Multi&copy" : "&Copy to Clipboard") &&
            p.w.lbPass->ForeColor() == (batch ? pal.color(QPalette::Disabled, QPalette::WindowText)
                                              : pal.color(QPalette::ToolTipText)) &&
            !(batch && p.w.shCopy->isVisible()))
            return batch ? QStringLiteral("b") : QStringLiteral("s");
        return QStringLiteral("?");
    }
};

} // namespace zintrova
