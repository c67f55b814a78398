// The settings file through the main window: what a start applies, what an exit writes, files
// that are damaged or hostile, files that cannot be written, the desktop session's end, and the
// choice of the X11 platform under Wayland. Each case has a folder of its own for the file.

#include "app/session.h"
#include "controls/fonts.h"
#include "probe.h"
#include "settings/ini_file.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace zintrova;

namespace {

const QByteArray Example("015000120011110608025\r\n");

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// 21 digits and CR LF, every value within its control's range: boxes 0 to 2, minimum 3 to 40,
// maximum 6 to 40, count 1 to 999.
bool IsSaneRecord(const QByteArray &content)
{
    static const QRegularExpression line(
        QStringLiteral("^[0-9]{10}[0-2]{4}(0[3-9]|[1-3][0-9]|40)(0[6-9]|[1-3][0-9]|40)"
                       "(?!000)[0-9]{3}\r\n$"));
    return line.match(QString::fromLatin1(content)).hasMatch();
}

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init();
    void firstRunWritesDesignValues();
    void restartRestoresChoices();
    void oddFiles_data();
    void oddFiles();
    void protectedFile_data();
    void protectedFile();
    void sessionEndSaves();
    void startOnX11();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void TestSettingsWindow::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    settings::SetSettingsFolder(dir_->path());
    path_ = dir_->filePath(QStringLiteral("Zintrova.ini"));
}

void TestSettingsWindow::firstRunWritesDesignValues()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(!QFile::exists(path_));
    QTest::mouseClick(p.cmExit(), Qt::LeftButton);
    const QByteArray content = ReadAll(path_);
    QVERIFY2(IsSaneRecord(content), content.constData());
    QCOMPARE(content.mid(10), QByteArray("11110608001\r\n"));
}

void TestSettingsWindow::restartRestoresChoices()
{
    const QByteArray saved("030000150010101230025\r\n");
    {
        fmMain w;
        fmMainProbe p{w};
        p.cbSet(2)->setValue(0);
        p.cbFilter()->setValue(0);
        p.sldLen(0)->setValue(12);
        p.sldLen(1)->setValue(30);
        p.txNum()->setText(QStringLiteral("25"));
        w.move(200, 100);
        w.show();
        QTest::mouseClick(p.cmExit(), Qt::LeftButton);
    }
    QCOMPARE(ReadAll(path_), saved);
    fmMain w;
    fmMainProbe p{w};
    QCOMPARE(w.pos(), QPoint(200, 100));
    // Applied through the controls' own change handling, before the window is shown.
    QCOMPARE(p.lbLimits()->Caption(), QStringLiteral("12 - 30"));
    QVERIFY(QRegularExpression(QStringLiteral("^[^A-Z]{12,30}$"))
                .match(p.lbPass()->Caption())
                .hasMatch());
    w.show();
    w.close();
    QCOMPARE(ReadAll(path_), saved); // every value came back
}

// A file as found at start-up: the window starts, and writes a sane record at exit, ending in the
// columns given here (11-21: boxes, lengths, count; all 21 with the position; none if random).
void TestSettingsWindow::oddFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("written");
    const auto row = [](const char *tag, const QByteArray &content, const char *written) {
        QTest::newRow(tag) << content << QByteArray(written);
    };
    const char *design = "11110608001", *zeros = "00000306001";
    row("example, LF", "015000120011110608025\n", "11110608025");
    row("minimum above maximum", "000300004501013010007", "01013010007");
    row("greyed box, refused boxes", "000000000021930608001", "21110608001");
    // The boxes' click handlers stay quiet while loading: nothing turns lower case back on.
    row("all sets off", "000000000000000608001", "00000608001");
    row("lengths beyond the sliders", "000000000011110250999", "11110340999");
    // A window beyond the left or top edge, or beyond 99999 twips, still writes 21 digits.
    row("signs", "-9999-0015-1-1-9-9-99", "000000000001010306001");
    row("far away", "999999999911110608001", "999999999911110608001");
    row("short record", "01500012001\r\n", "10000306001");
    row("minus sign", "-\r\n", design);
    row("empty file", "", design);
    row("empty first line", "\r\n015000120011110608025", zeros);
    row("blanks first", " \t 015000120011110608025", "11110608025");
    row("NUL byte", QByteArray("0150001200111\0000608025", 21), "11100608025");
    row("comma", "0150001200,11110608025", zeros);
    row("letters", "abcdefghijklmnopqrstu\r\n", zeros);
    row("10 MB of sevens", QByteArray(10 << 20, '7'), "11114040777");
    QRandomGenerator random(20240607);
    for (int run = 0; run < 30; ++run) {
        QByteArray bytes(random.bounded(64), Qt::Uninitialized);
        for (char &c : bytes) // mostly digits, signs and line ends, so that fields come through
            c = random.bounded(4) ? "0123456789-+ ,\r\n"[random.bounded(16)]
                                  : char(random.bounded(256));
        QTest::addRow("random bytes %d", run) << bytes << QByteArray(); // any sane values
    }
}

void TestSettingsWindow::oddFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, written);
    WriteAll(path_, content);
    fmMain w;
    w.show();
    w.close();
    const QByteArray after = ReadAll(path_);
    QVERIFY2(IsSaneRecord(after), after.left(40).constData());
    QCOMPARE(after.chopped(2).right(written.size()), written); // the columns given
}

// Permissions as Qt's bits: 0x4444 r--r--r--, 0x6444 rw-r--r--, 0x5555 r-x for all, 0x7777 rwx.
void TestSettingsWindow::protectedFile_data()
{
    QTest::addColumn<bool>("usersFile");
    QTest::addColumn<int>("file");
    QTest::addColumn<int>("folder");
    QTest::addColumn<int>("sizeLimit"); // bytes a file may grow to; 0: no limit
    QTest::addColumn<bool>("saved");
    QTest::newRow("read-only file") << true << 0x4444 << 0x7777 << 0 << true;
    QTest::newRow("folder and file read-only") << false << 0x4444 << 0x5555 << 0 << false;
    // No temporary file can be made beside it, so the writable file is written in place.
    QTest::newRow("folder read-only, file writable") << true << 0x6444 << 0x5555 << 0 << true;
    QTest::newRow("disk full") << true << 0x6444 << 0x7777 << 8 << false;
}

void TestSettingsWindow::protectedFile()
{
    QFETCH(bool, usersFile);
    QFETCH(int, file);
    QFETCH(int, folder);
    QFETCH(int, sizeLimit);
    QFETCH(bool, saved);
    if (!usersFile && geteuid() != 0) QSKIP("needs root to give the file to another user");
    WriteAll(path_, Example);
    if (usersFile && geteuid() == 0) QCOMPARE(chown(qPrintable(path_), 65534, 0), 0);
    QVERIFY(QFile::setPermissions(path_, QFile::Permissions(file)));
    QVERIFY(QFile::setPermissions(dir_->path(), QFile::Permissions(folder)));
    {
        fmMain w;
        fmMainProbe p{w};
        p.txNum()->setText(QStringLiteral("321"));
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit low{rlim_t(sizeLimit), old.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a failing write, not the end of the process
        if (sizeLimit) setrlimit(RLIMIT_FSIZE, &low);
        // Root may write anywhere: the window closes with the rights of the user "nobody" (real and
        // effective user, as access() checks the real one; the saved user stays root to come
        // back), so that the folder's and the file's permissions count as they do for a user.
        const bool dropped = geteuid() == 0 && setresuid(65534, 65534, 0) == 0;
        w.close();
        if (dropped) QVERIFY(setresuid(0, 0, 0) == 0);
        setrlimit(RLIMIT_FSIZE, &old);
    }
    QVERIFY(QFile::setPermissions(dir_->path(), QFile::Permissions(0x7777)));
    QCOMPARE(ReadAll(path_), saved ? QByteArray("015000120011110608321\r\n") : Example);
    if (saved) QVERIFY(QFile::permissions(path_) & QFile::WriteOwner);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Zintrova.ini")});
}

// Each signal closes the window through the event loop, which saves; then the previous handler is
// back.
void TestSettingsWindow::sessionEndSaves()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before, after;
        sigaction(signal, nullptr, &before);
        {
            fmMain w;
            fmMainProbe p{w};
            const SessionEnd sessionEnd(&w);
            w.show();
            p.txNum()->setText(QString::number(signal));
            std::raise(signal);
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(ReadAll(path_).right(5),
                     QByteArray::number(signal).rightJustified(3, '0') + "\r\n");
        }
        sigaction(signal, nullptr, &after);
        QCOMPARE(reinterpret_cast<void *>(after.sa_handler),
                 reinterpret_cast<void *>(before.sa_handler));
    }
}

void TestSettingsWindow::startOnX11()
{
    // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY, whether -platform was given.
    QVERIFY(StartOnX11({"", "wayland-0", "wayland", ":0", false}));         // XWayland there
    QVERIFY(StartOnX11({"", "", "wayland", ":1", false}));                  // session type only
    QVERIFY(!StartOnX11({"", "wayland-0", "wayland", "", false}));          // no XWayland
    QVERIFY(!StartOnX11({"wayland", "wayland-0", "wayland", ":0", false})); // platform chosen
    QVERIFY(!StartOnX11({"", "wayland-0", "wayland", ":0", true}));         // -platform given
    QVERIFY(!StartOnX11({"", "", "x11", ":0", false}));                     // an X11 session
}

QTEST_MAIN(TestSettingsWindow)
#include "tst_settings_window.moc"
