// The program among other desktop programs and in a hostile environment: a dark scheme that
// arrives late, the help page, a random source that fails, and the settings file against odd
// files, modes and places.

#include "about/fmAbout.h"
#include "settings/ini_file.h"
#include "settings/location.h"
#include "settings/record.h"
#include "window_fixture.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

using namespace zintrova;
using namespace zintrova::settings;

namespace {

const bool RootAtStart = geteuid() == 0;

// Root may write anything: the permission checks count only when run as the user "nobody" (real
// and effective, as access() checks the real one). The saved user stays root, for cleanup().
bool BecomeNobody()
{
    return !RootAtStart || setresuid(65534, 65534, 0) == 0;
}

// The type and mode of what is at the path and, for a regular file, its content.
QByteArray State(const QString &path)
{
    struct stat st {};
    const QByteArray mode =
        QByteArray::number(stat(QFile::encodeName(path), &st) ? 0 : st.st_mode, 8);
    return S_ISREG(st.st_mode) ? mode + ' ' + ReadAll(path) : mode;
}

const std::string New = EncodeRecord({0, 0, {1, 1, 1}, 1, {6, 8}, 1});
const QByteArray Longer(300, 'x');

// The file the settings are read from or written to.
enum Where { Beside, User, Nowhere };

// A shown About window, and what its link and Help asked the desktop to open.
struct ShownAbout {
    Opener opener;
    fmAbout window;
    QLabel *link = window.findChild<QLabel *>("lblLink");
    ShownAbout()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

Q_DECLARE_METATYPE(Where)

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    // Whatever a failed check left behind: the user and the settings writer.
    void cleanup()
    {
        if (RootAtStart) QCOMPARE(setresuid(0, 0, 0), 0);
        ContentWriter() = writer;
    }

    // A darker colour scheme that arrives after the count has set its mode, to the application
    // and then to every widget one by one, replacing the colours the program set, as Debian's
    // qt6ct does. On the count box's light red the scheme's white (2.43:1) gives way to black.
    void countReadsInADarkScheme()
    {
        const QPalette light = QApplication::palette();
        const QPalette scheme(QColor(34, 32, 32));
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        fmMain w;
        w.txNum->setText("0");
        QApplication::setPalette(scheme);
        for (QWidget *widget : QApplication::allWidgets())
            widget->setPalette(scheme);
        QTest::qWait(20); // the change's events, then what the window does after them
        QCOMPARE(w.txNum->ForeColor(), QColor(Qt::black));
    }

    // Help opens the help page beside the program, or in ../share/zintrova of an installation
    // under a prefix; with neither, the help file, which is not there either: nothing shows.
    void helpPageOfAnInstallation()
    {
        QTemporaryDir prefix;
        const auto file = [&](const char *path) { return prefix.filePath(path); };
        QVERIFY(QDir().mkpath(file("bin")));
        const Opener opener;
        fmAbout::OpenHelp(file("bin"));
        WriteAll(file("share/zintrova/Zintrova.html"), "<html>");
        fmAbout::OpenHelp(file("bin"));
        WriteAll(file("bin/Zintrova.html"), "<html>");
        fmAbout::OpenHelp(file("bin"));
        QCOMPARE(opener.urls, (QList{QUrl::fromLocalFile(file("bin/Zintrova.chm")),
                                     QUrl::fromLocalFile(file("share/zintrova/Zintrova.html")),
                                     QUrl::fromLocalFile(file("bin/Zintrova.html"))}));
    }

    // The web link opens the site once, then rests greyed, the focus on OK, until its timer ends.
    void webLinkOpensTheSiteOnce()
    {
        ShownAbout about;
        QLabel *link = about.link;
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(about.opener.urls, QList{QUrl(QString("https://") + app::WebSite)});
        QCOMPARE(link->isEnabled(), false);
        QCOMPARE(QApplication::focusWidget()->objectName(), "cmOK");
        EventTimer *rest = about.window.findChild<EventTimer *>("tmOne");
        QCOMPARE(rest->Enabled(), true);
        rest->Fire();
        QCOMPARE(link->isEnabled(), true);
    }

    // Only Escape closes the About window from the keyboard: a stray letter leaves it open.
    void strayKeyLeavesTheAboutWindowOpen()
    {
        ShownAbout about;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QCOMPARE(about.window.isVisible(), true);
    }

    // A press on the link that is let go off it opens nothing.
    void linkLetGoElsewhereOpensNothing()
    {
        ShownAbout about;
        QLabel *link = about.link;
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(about.opener.urls, QList<QUrl>());
        QCOMPARE(link->isEnabled(), true);
    }

    // Every control lies wholly inside its window and shows its whole caption, in the main window
    // also a password of 40 characters.
    void nothingIsClipped_data()
    {
        QTest::addColumn<bool>("about");
        QTest::newRow("the main window") << false;
        QTest::newRow("the About window") << true;
    }
    void nothingIsClipped()
    {
        QFETCH(bool, about);
        fmMain main;
        fmAbout aboutWindow;
        QWidget &window = about ? static_cast<QWidget &>(aboutWindow) : main;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (TrackSlider *slider : main.sldLen)
            slider->setValue(40);
        QStringList clipped;
        for (QWidget *control : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            bool fits = window.rect().contains(control->geometry());
            const QRect inside = control->contentsRect();
            if (auto *label = qobject_cast<QLabel *>(control)) {
                const int flags = label->alignment() | (label->wordWrap() ? Qt::TextWordWrap : 0);
                fits = fits && inside.contains(
                                   label->fontMetrics().boundingRect(inside, flags, label->text()));
            } else if (auto *box = qobject_cast<QCheckBox *>(control)) {
                fits = fits && box->sizeHint().width() <= box->width();
            } else if (auto *button = qobject_cast<QPushButton *>(control)) {
                const QString caption = button->text().remove('&');
                fits = fits && button->fontMetrics().horizontalAdvance(caption) < inside.width();
            }
            if (control->isVisible() && !fits) clipped << control->objectName();
        }
        QCOMPARE(clipped, QStringList());
    }

    // Where the system gives no random numbers, no password shows, Copy copies nothing, and the
    // label says why.
    void noPasswordFromAFailedFill()
    {
        MainWindow t;
        SystemRandom failing([](std::uint32_t *, std::uint32_t *) { return false; });
        t.probe.Random() = &failing;
        t.probe.GeneratePass();
        QCOMPARE(t.password(), "");
        t.click(t.w.cmCopy);
        QCOMPARE(t.clipboard(), UsersOwnText);
        QVERIFY(t.w.lbPass->toolTip().contains("cannot get secure random numbers"));
    }

    // A save replaces the file with the new record alone: one its owner could not read is made
    // readable, a new one has what the umask 022 leaves. A file its owner may read but not write
    // is frozen, whatever the group may do, and stays as it was; so does a file whose write fails,
    // also in a folder that takes no new file, where it is written in place.
    void settingsWrite_data()
    {
        QTest::addColumn<bool>("oldFile"); // with a longer content than the new record
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("inPlace"); // the folder takes no new file
        QTest::addColumn<bool>("failing");
        QTest::addColumn<int>("modeAfter"); // 0: nothing written
        QTest::newRow("frozen, the group may write") << true << 0464 << false << false << 0;
        QTest::newRow("failing") << true << 0644 << false << true << 0;
        QTest::newRow("failing in place") << true << 0644 << true << true << 0;
        QTest::newRow("unreadable") << true << 0000 << false << false << 0600;
        QTest::newRow("none") << false << 0 << false << false << 0644;
    }
    void settingsWrite()
    {
        QFETCH(bool, oldFile);
        QFETCH(int, mode);
        QFETCH(bool, inPlace);
        QFETCH(bool, failing);
        QFETCH(int, modeAfter);
        QVERIFY(BecomeNobody());
        QTemporaryDir dir;
        const QString path = dir.filePath("Zintrova.ini");
        if (oldFile) WriteAll(path, Longer, mode_t(mode));
        umask(022);
        const QByteArray before = State(path);
        const QByteArray folder = QFile::encodeName(dir.path());
        const auto writable = qScopeGuard([&] { chmod(folder, 0700); });
        if (failing) ContentWriter() = [](QFileDevice &, const QByteArray &) { return false; };
        if (inPlace) QCOMPARE(chmod(folder, 0500), 0);
        const bool written = WriteRecordFile(path, New);
        QCOMPARE(written, modeAfter != 0);
        const QByteArray saved =
            QByteArray::number(S_IFREG | modeAfter, 8) + ' ' + New.c_str() + "\r\n";
        QCOMPARE(State(path), written ? saved : before);
    }

    // Where the settings are read and written: the file beside the program wherever the user may
    // write it or froze it; else a per-user copy. The program's folder is read-only to the user,
    // but for a system install's: a package's folder holds no settings, even where the user may
    // write it or froze a file there.
    void settingsLocation_data()
    {
        QTest::addColumn<int>("mode"); // of the file beside the program; none where 0
        QTest::addColumn<bool>("userCopy");
        QTest::addColumn<bool>("systemInstall"); // whose folder the user may write, as root may
        QTest::addColumn<Where>("read");
        QTest::addColumn<Where>("write");
        QTest::newRow("frozen file, user copy") << 0400 << true << false << Beside << Nowhere;
        QTest::newRow("first save") << 0 << false << false << Beside << User;
        QTest::newRow("own file, read-only folder") << 0600 << true << false << Beside << Beside;
        QTest::newRow("system install, frozen file") << 0444 << true << true << User << User;
    }
    void settingsLocation()
    {
        QFETCH(int, mode);
        QFETCH(bool, userCopy);
        QFETCH(bool, systemInstall);
        QFETCH(Where, read);
        QFETCH(Where, write);
        QVERIFY(BecomeNobody());
        QTemporaryDir program, root;
        const QString iniFile = IniPath(program.path()), xdg = root.filePath("xdg");
        const UserEnvironment env{root.filePath("home"), xdg, systemInstall};
        const QString userFile = IniPath(xdg + "/Zintrova");
        if (mode) WriteAll(iniFile, Longer, mode_t(mode));
        if (userCopy) WriteAll(userFile, Longer);
        const auto writable =
            qScopeGuard([&] { QFile::setPermissions(program.path(), QFile::Permissions(0x7777)); });
        if (!systemInstall)
            QVERIFY(QFile::setPermissions(program.path(), QFile::Permissions(0x5555)));
        const QString paths[] = {iniFile, userFile, QString()};
        QCOMPARE(ReadPath(iniFile, env), paths[read]);
        QCOMPARE(WritePath(iniFile, env), paths[write]);
        // The next start reads what this one saved.
        if (write != Nowhere) {
            QVERIFY(WriteRecordFile(paths[write], New));
            QCOMPARE(ReadRecordFile(ReadPath(iniFile, env)), New);
        }
    }

private:
    const ContentWrite writer = ContentWriter();
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
