// The program among other desktop programs: keys act by the key pressed, not by the character it
// types; texts stay readable in a dark scheme; screen readers can tell the controls apart; the
// command line answers as command lines do; the help opens; the About sentence fits any font.

#include "about/fmAbout.h"
#include "app/command_line.h"
#include "controls/contrast.h"
#include "controls/twips.h"
#include "script.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>

namespace zintrova {
struct fmAboutProbe {
    fmAbout &w;
    QLabel *Label(const char *name) { return w.findChild<QLabel *>(QLatin1String(name)); }
};
} // namespace zintrova

using namespace zintrova;
using namespace Qt::StringLiterals;

namespace {

// Every accessible interface under `root` that takes the focus, and the names of the sliders.
void Walk(QAccessibleInterface *iface, int &focusable, QStringList &sliders)
{
    if (iface->state().focusable) {
        ++focusable;
        QVERIFY2(!iface->text(QAccessible::Name).isEmpty(),
                 iface->object()->metaObject()->className());
    }
    if (iface->role() == QAccessible::Slider) sliders << iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), focusable, sliders);
}

} // namespace

// The count box in every mode and the About window's texts read at 3:1 or better; in the light
// scheme the designed colours stay.
void ReadableIn(bool dark)
{
    const QPalette before = QApplication::palette();
    // White text on dark grey; the link colour stays Qt's dark blue, which does not read.
    const QColor grey(53, 53, 53), white(Qt::white);
    if (dark)
        QApplication::setPalette(
            QPalette(white, grey, grey, Qt::black, grey, white, white, QColor(35, 35, 35), grey));
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QCOMPARE(ContrastRatio(qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0);
    Script t(QString{});
    const QColor systemText = t.w.palette().color(QPalette::Text);
    for (auto [count, mode] : {std::pair{"1", "s"}, {"", "i"}, {"5", "b"}}) {
        t.p.txNum()->setText(QLatin1String(count));
        QCOMPARE(t.ModeOf(), QLatin1String(mode)); // the backgrounds stay as they are
        const QColor text = t.p.txNum()->ForeColor();
        QVERIFY2(ContrastRatio(text.rgb(), t.p.txNum()->BackColor().rgb()) >= 3, count);
        if (!dark) QCOMPARE(text, systemText);
    }
    fmAbout about;
    fmAboutProbe a{about};
    const QRgb face = about.palette().color(QPalette::Window).rgb();
    for (const char *name : {"lblTitle", "lblDescription", "lblDisclaimer", "lblLink"}) {
        const QColor c = a.Label(name)->palette().color(QPalette::WindowText);
        QVERIFY2(ContrastRatio(c.rgb(), face) >= 3, name);
        const QColor designed =
            QByteArray(name) == "lblLink" ? QColor(0, 0, 192) : QColor(Qt::black);
        if (!dark) QCOMPARE(c, designed);
    }
}

class TestCitizen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    void symbolKeysChangeNothing()
    {
        // Qt names such keys by their character, and "!" "&" "-" share their codes with
        // PageUp, Up and Insert: every symbol, plain or with Ctrl, on the count box and each
        // slider.
        Shown t;
        QWidget *const targets[] = {t.p.txNum(), t.p.sldLen(0), t.p.sldLen(1)};
        for (const char *count : {"20", "1"}) {
            t.p.txNum()->setText(QLatin1String(count));
            for (QWidget *target : targets) {
                for (char c = ' '; c < 127; ++c) {
                    for (auto mod : {Qt::NoModifier, Qt::ControlModifier}) {
                        // Ctrl+C copies and Ctrl+X cuts, as they should.
                        if (QChar(c).isDigit() || (QChar(c).isLetter() && mod)) continue;
                        target->setFocus();
                        QTest::keyClick(target, c, mod);
                        const QByteArray what = QByteArray(count) + " '" + c + "' on " +
                                                target->metaObject()->className() +
                                                (mod ? " with Ctrl" : "");
                        QVERIFY2(t.p.txNum()->text() == QLatin1String(count) &&
                                     t.p.sldLen(0)->Value() == 6 && t.p.sldLen(1)->Value() == 8 &&
                                     Focus() == target &&
                                     QGuiApplication::clipboard()->text() == Sentinel,
                                 what);
                    }
                }
            }
        }
        QTest::keyClick(Focus(), Qt::Key_C, Qt::ControlModifier); // the watch does see a copy
        QCOMPARE(QGuiApplication::clipboard()->text(), t.p.lbPass()->Caption());
    }

    void readableInEitherScheme()
    {
        for (const bool dark : {false, true})
            ReadableIn(dark);
    }
    void everyFocusableControlHasAName()
    {
        Shown t;
        fmAbout about;
        about.show();
        int focusable = 0;
        QStringList sliders;
        Walk(QAccessible::queryAccessibleInterface(&t.w), focusable, sliders);
        QCOMPARE(focusable, 12);
        QCOMPARE(sliders.size(), 2);
        QVERIFY(sliders[0] != sliders[1]);
        focusable = 0;
        Walk(QAccessible::queryAccessibleInterface(&about), focusable, sliders);
        QCOMPARE(focusable, 2);
        // The spinner is a spin box with a value; the web link is a link.
        auto *spin = QAccessible::queryAccessibleInterface(t.p.spNum());
        QCOMPARE(spin->role(), QAccessible::SpinBox);
        spin->valueInterface()->setCurrentValue(7);
        QCOMPARE(t.p.txNum()->text(), u"7"_s);
        QCOMPARE(QAccessible::queryAccessibleInterface(about.findChild<LinkLabel *>())->role(),
                 QAccessible::Link);
    }

    // Each command line with DISPLAY and QT_QPA_PLATFORM as given: the exit status (-1: the
    // window opens) and what it says, on standard error when it fails.
    void commandLine()
    {
        const std::tuple<QStringList, const char *, const char *, int, const char *> lines[] = {
            {{u"--help"_s}, "", "", 0, "Usage: zintrova [options]\n"},
            {{u"-h"_s}, ":0", "", 0, "-v, --version"},
            {{u"--version"_s}, "", "", 0, "Zintrova 1.1\n"},
            {{u"--frobnicate"_s}, ":0", "", 2, "Unknown option 'frobnicate'"},
            {{u"extra"_s}, ":0", "", 2, "unexpected argument 'extra'"},
            {{u"-style"_s}, ":0", "", 2, "Missing value after '-style'"},
            {{u"-style"_s, u"Fusion"_s, u"-reverse"_s}, ":0", "", -1, ""},
            {{}, "", "", 1, "no display"},
            {{u"-platform=offscreen"_s}, "", "", -1, ""},
            {{}, "", "offscreen", -1, ""}};
        for (const auto &[args, display, qpa, status, says] : lines) {
            DisplayEnvironment env;
            env.Display = display;
            env.QtPlatform = qpa;
            const auto answer =
                ReadCommandLine(QStringList{u"/opt/z/zintrova"_s} + args, env, true);
            QCOMPARE(answer.Run ? -1 : answer.ExitCode, status);
            QVERIFY2(answer.Text.contains(QLatin1String(says)), qPrintable(answer.Text));
            QCOMPARE(answer.ToStdErr, status > 0);
            if (status == 1) // one line that says how to run it anyway
                QVERIFY(answer.Text.count(u'\n') == 1 && answer.Text.contains("xvfb-run"_L1) &&
                        answer.Text.contains("QT_QPA_PLATFORM=offscreen"_L1));
        }
    }

    // Help opens the help file when the desktop has a viewer for it, else the HTML page beside the
    // program or in the shared folder (files under a prefix, the program in bin/).
    void helpOpens()
    {
        const QString chm = u"bin/Zintrova.chm"_s, page = u"bin/Zintrova.html"_s,
                      shared = u"share/zintrova/Zintrova.html"_s;
        const std::tuple<QStringList, bool, QString> cases[] = {
            {{}, true, chm},          {{page, shared}, true, page}, {{shared}, false, shared},
            {{chm, page}, true, chm}, {{chm, page}, false, page},   {{chm}, false, chm}};
        for (const auto &[files, viewer, opened] : cases) {
            QTemporaryDir prefix;
            // The files, and a stand-in for xdg-mime that names a viewer, or none.
            for (const QString &f : files + QStringList{u"bin/xdg-mime"_s}) {
                QDir(prefix.path()).mkpath(QFileInfo(f).path());
                QFile file(prefix.filePath(f));
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(viewer ? "#!/bin/sh\necho viewer.desktop\n" : "#!/bin/sh\n");
                file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            }
            const QByteArray path = qgetenv("PATH");
            qputenv("PATH", prefix.filePath(u"bin"_s).toLocal8Bit() + ':' + path);
            Opener opener;
            fmAbout::OpenHelp(prefix.filePath(u"bin"_s));
            qputenv("PATH", path);
            QCOMPARE(opener.urls, QList{QUrl::fromLocalFile(prefix.filePath(opened))});
        }
        // The build puts the page beside the program.
        QVERIFY(
            !fmAbout::HelpPagePath(QCoreApplication::applicationDirPath() + u"/.."_s).isEmpty());
    }

    // "Visit ... for other freewares." keeps a blank between its parts in any font, and sits as
    // drawn in the font the window was drawn for.
    void aboutSentenceFollowsItsFont()
    {
        const auto restore = qScopeGuard([] {
            QFont::removeSubstitutions(u"MS Sans Serif"_s);
            InstallFontSubstitutes();
        });
        for (const char *family :
             {"Liberation Sans", "DejaVu Sans", "DejaVu Serif", "Nimbus Sans Narrow"}) {
            QFont::removeSubstitutions(u"MS Sans Serif"_s);
            QFont::insertSubstitution(u"MS Sans Serif"_s, QLatin1String(family));
            fmAbout about;
            fmAboutProbe a{about};
            const QRect visit = a.Label("Label3")->geometry(),
                        link = a.Label("lblLink")->geometry(), rest = a.Label("Label5")->geometry();
            const int blank = a.Label("Label3")->fontMetrics().horizontalAdvance(u' ');
            QVERIFY2(visit.right() + blank < link.left() && link.right() + blank < rest.left(),
                     family);
            if (family == "Liberation Sans"_L1)
                QVERIFY(link.left() == Px(630) && rest.left() == link.right() + 5);
        }
    }
};

QTEST_MAIN(TestCitizen)
#include "tst_citizen.moc"
