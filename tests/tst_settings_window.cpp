// The settings file through the main window: what a start applies, what an exit writes, files
// that are damaged or hostile, files that cannot be written, the desktop session's end, and the
// choice of the X11 platform under Wayland. Each case has a folder of its own for the file.

#include "mainwindow/fonts.h"
#include "mainwindow/session.h"
#include "mainwindow/twips.h"
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

bool IsRecordLine(const QByteArray &content)
{
    static const QRegularExpression line(QStringLiteral("^[0-9]{21}\r\n$"));
    return line.match(QString::fromLatin1(content)).hasMatch();
}

// The set and filter boxes as four digits, "1111" at design.
QString Boxes(fmMainProbe &p)
{
    QString s;
    for (auto *box : {p.cbSet(1), p.cbSet(2), p.cbSet(3), p.cbFilter()})
        s += QString::number(box->Value());
    return s;
}

// Root may write anywhere; this takes the rights of the user "nobody" for a while (real and
// effective user, as access() checks the real one; the saved user stays root to come back), so
// that a folder's or a file's permissions count as they do for a user.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() : active_(geteuid() == 0 && setresuid(65534, 65534, 0) == 0) {}
    ~AsUnprivilegedUser()
    {
        if (active_) QVERIFY(setresuid(0, 0, 0) == 0);
    }

private:
    bool active_;
};

// A full disk, as far as this process can tell: no file may grow beyond a few bytes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit low = old_;
        low.rlim_cur = bytes;
        std::signal(SIGXFSZ, SIG_IGN); // a failing write, not the end of the process
        setrlimit(RLIMIT_FSIZE, &low);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit old_{};
};

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init();
    void firstRunWritesDesignValues();
    void restartRestoresChoices();
    void fileValues_data();
    void fileValues();
    void randomFilesGiveSaneValues();
    void positionHeldToFiveColumns_data();
    void positionHeldToFiveColumns();
    void readOnlyFileOverwritten();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void sessionEndSaves_data();
    void sessionEndSaves();
    void startOnX11_data();
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
    QCOMPARE(p.IniFile(), path_);
    w.show();
    QCOMPARE(Boxes(p), QStringLiteral("1111"));
    QCOMPARE(p.lbLimits()->Caption(), QStringLiteral("6 - 8"));
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    QCOMPARE(p.Busy(), std::int16_t(0));
    QVERIFY(!QFile::exists(path_));
    QTest::mouseClick(p.cmExit(), Qt::LeftButton);
    const QByteArray content = ReadAll(path_);
    QVERIFY2(IsRecordLine(content), content.constData());
    QCOMPARE(content.mid(10), QByteArray("11110608001\r\n"));
}

void TestSettingsWindow::restartRestoresChoices()
{
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
    QCOMPARE(ReadAll(path_), QByteArray("030000150010101230025\r\n"));
    fmMain w;
    fmMainProbe p{w};
    QCOMPARE(w.pos(), QPoint(200, 100));
    QCOMPARE(Boxes(p), QStringLiteral("1010"));
    QCOMPARE(p.sldLen(0)->value(), 12);
    QCOMPARE(p.sldLen(1)->value(), 30);
    QCOMPARE(p.lbLimits()->Caption(), QStringLiteral("12 - 30"));
    QCOMPARE(p.txNum()->text(), QStringLiteral("25"));
    QCOMPARE(p.Busy(), std::int16_t(0));
    // The first password already follows the restored choices.
    const QString pw = p.lbPass()->Caption();
    QVERIFY(pw.size() >= 12 && pw.size() <= 30);
    QVERIFY(!pw.contains(QRegularExpression(QStringLiteral("[A-Z]"))));
}

// A file as found at start-up: what the window shows, and columns 11-21 written at exit.
void TestSettingsWindow::fileValues_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QPoint>("pos"); // (-1, -1): the window is not moved
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("password");
    QTest::addColumn<QByteArray>("written");
    const QPoint none(-1, -1);
    const QByteArray example("015000120011110608025");
    QTest::newRow("example, CR LF")
        << example + "\r\n"
        << QPoint(100, 80) << "1111" << 6 << 8 << "25" << true << QByteArray("11110608025");
    QTest::newRow("minimum above maximum")
        << QByteArray("000300004501013010007\r\n") << QPoint(2, 3) << "0101" << 30 << 10 << "7"
        << true << QByteArray("01013010007");
    QTest::newRow("greyed box, refused boxes")
        << QByteArray("000000000021930608001") << QPoint(0, 0) << "2111" << 6 << 8 << "1" << true
        << QByteArray("21110608001");
    // The boxes' click handlers stay quiet while loading: nothing turns lower case back on.
    QTest::newRow("all sets off") << QByteArray("000000000000000608001") << QPoint(0, 0) << "0000"
                                  << 6 << 8 << "1" << false << QByteArray("00000608001");
    QTest::newRow("lengths beyond the sliders")
        << QByteArray("000000000011110250999") << QPoint(0, 0) << "1111" << 3 << 40 << "999" << true
        << QByteArray("11110340999");
    QTest::newRow("empty count field")
        << QByteArray("015000120011110608") << QPoint(100, 80) << "1111" << 6 << 8 << "1" << true
        << QByteArray("11110608001");
    QTest::newRow("minus sign") << QByteArray("-\r\n") << none << "1111" << 6 << 8 << "1" << true
                                << QByteArray("11110608001");
    QTest::newRow("empty file") << QByteArray() << none << "1111" << 6 << 8 << "1" << true
                                << QByteArray("11110608001");
    QTest::newRow("comma") << QByteArray("0150001200,11110608025") << QPoint(100, 80) << "0000" << 3
                           << 6 << "1" << false << QByteArray("00000306001");
    QTest::newRow("short record") << QByteArray("01500012001\r\n") << QPoint(100, 80) << "1000" << 3
                                  << 6 << "1" << true << QByteArray("10000306001");
    QTest::newRow("letters") << QByteArray("abcdefghijklmnopqrstu\r\n") << QPoint(0, 0) << "0000"
                             << 3 << 6 << "1" << false << QByteArray("00000306001");
    QTest::newRow("10 MB of sevens")
        << QByteArray(10 * 1024 * 1024, '7') << QPoint(5185, 5185) << "1111" << 40 << 40 << "777"
        << true << QByteArray("11114040777");
}

void TestSettingsWindow::fileValues()
{
    QFETCH(QByteArray, content);
    QFETCH(QPoint, pos);
    QFETCH(QString, boxes);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, count);
    QFETCH(bool, password);
    QFETCH(QByteArray, written);
    WriteAll(path_, content);
    fmMain w;
    fmMainProbe p{w};
    if (pos == QPoint(-1, -1))
        QVERIFY(!w.testAttribute(Qt::WA_Moved));
    else
        QCOMPARE(w.pos(), pos);
    QCOMPARE(Boxes(p), boxes);
    QCOMPARE(p.sldLen(0)->value(), min);
    QCOMPARE(p.sldLen(1)->value(), max);
    QCOMPARE(p.lbLimits()->Caption(), QStringLiteral("%1 - %2").arg(min).arg(max));
    QCOMPARE(p.txNum()->text(), count);
    QCOMPARE(!p.lbPass()->Caption().isEmpty(), password);
    QCOMPARE(p.Busy(), std::int16_t(0));
    w.show();
    w.close();
    const QByteArray after = ReadAll(path_);
    QVERIFY2(IsRecordLine(after), after.left(40).constData());
    QCOMPARE(after.mid(10, 11), written);
    if (pos != QPoint(-1, -1))
        QCOMPARE(after.left(10), QStringLiteral("%1%2")
                                     .arg(std::min(Twips(pos.x()), 99999), 5, 10, QChar('0'))
                                     .arg(std::min(Twips(pos.y()), 99999), 5, 10, QChar('0'))
                                     .toLatin1());
}

void TestSettingsWindow::randomFilesGiveSaneValues()
{
    QRandomGenerator random(20240607);
    for (int run = 0; run < 40; ++run) {
        QByteArray bytes(run == 0 ? 10 * 1024 * 1024 : random.bounded(64), Qt::Uninitialized);
        for (char &c : bytes) // mostly digits, signs and line ends, so that fields come through
            c = random.bounded(4) ? "0123456789-+ ,\r\n"[random.bounded(16)]
                                  : char(random.bounded(256));
        WriteAll(path_, bytes);
        fmMain w;
        fmMainProbe p{w};
        for (auto *box : {p.cbSet(1), p.cbSet(2), p.cbSet(3), p.cbFilter()})
            QVERIFY(box->Value() >= 0 && box->Value() <= 2);
        QVERIFY(p.sldLen(0)->value() >= 3 && p.sldLen(0)->value() <= 40);
        QVERIFY(p.sldLen(1)->value() >= 6 && p.sldLen(1)->value() <= 40);
        bool ok = false;
        const int count = p.txNum()->text().toInt(&ok);
        QVERIFY2(ok && count >= 1 && count <= 999, qPrintable(p.txNum()->text()));
        QCOMPARE(p.Busy(), std::int16_t(0));
        w.close();
        QVERIFY(IsRecordLine(ReadAll(path_)));
    }
}

// A window partly beyond the screen's left or top edge, or far away, still writes 21 digits.
void TestSettingsWindow::positionHeldToFiveColumns_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QByteArray>("columns");
    QTest::newRow("beyond the left and top edges") << QPoint(-50, -1) << QByteArray("0000000000");
    QTest::newRow("beyond 99999 twips") << QPoint(7000, 6666) << QByteArray("9999999990");
}

void TestSettingsWindow::positionHeldToFiveColumns()
{
    QFETCH(QPoint, pos);
    QFETCH(QByteArray, columns);
    fmMain w;
    w.move(pos);
    w.show();
    w.close();
    QCOMPARE(ReadAll(path_), columns + "11110608001\r\n");
}

void TestSettingsWindow::readOnlyFileOverwritten()
{
    WriteAll(path_, "015000120011110608025\r\n");
    // The user's own file in the user's own folder (root would write it anyway).
    if (geteuid() == 0) QCOMPARE(chown(qPrintable(path_), 65534, 0), 0);
    QVERIFY(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(dir_->path(), QFile::Permissions(0x7777))); // rwx for all
    fmMain w;
    fmMainProbe p{w};
    p.txNum()->setText(QStringLiteral("7"));
    {
        const AsUnprivilegedUser user;
        w.close();
    }
    QCOMPARE(ReadAll(path_), QByteArray("015000120011110608007\r\n"));
    QVERIFY(QFile::permissions(path_) & QFile::WriteOwner);
}

void TestSettingsWindow::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<bool>("saved");
    QTest::newRow("folder and file read-only") << "read-only" << false;
    // No temporary file can be made beside it, so the writable file is written in place.
    QTest::newRow("folder read-only, file writable") << "writable file" << true;
    QTest::newRow("disk full") << "full" << false;
}

void TestSettingsWindow::failedWriteKeepsOldFile()
{
    QFETCH(QString, cause);
    QFETCH(bool, saved);
    // A user's own read-only file is made writable and then written in place; a file that
    // cannot be written needs another owner, which only root can arrange.
    if (cause == "read-only" && geteuid() != 0)
        QSKIP("needs root to give the file to another user");
    const QByteArray old("015000120011110608025\r\n");
    WriteAll(path_, old);
    {
        fmMain w;
        fmMainProbe p{w};
        p.txNum()->setText(QStringLiteral("321"));
        const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const auto usable = readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        if (cause == "full") {
            const FileSizeLimit limit(8);
            w.close();
        } else {
            QFile::setPermissions(path_,
                                  cause == "read-only" ? readable : readable | QFile::WriteOwner);
            if (cause != "read-only" && geteuid() == 0)
                QCOMPARE(chown(qPrintable(path_), 65534, 0), 0);
            QVERIFY(QFile::setPermissions(dir_->path(), usable));
            {
                const AsUnprivilegedUser nobody;
                w.close();
            }
            QFile::setPermissions(dir_->path(), usable | QFile::WriteOwner);
        }
    }
    QCOMPARE(ReadAll(path_), saved ? QByteArray("015000120011110608321\r\n") : old);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Zintrova.ini")});
}

void TestSettingsWindow::sessionEndSaves_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestSettingsWindow::sessionEndSaves()
{
    QFETCH(int, signal);
    struct sigaction before {};
    sigaction(signal, nullptr, &before);
    {
        fmMain w;
        fmMainProbe p{w};
        const SessionEnd sessionEnd(&w);
        w.show();
        p.txNum()->setText(QStringLiteral("42"));
        std::raise(signal);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(ReadAll(path_).endsWith("11110608042\r\n"));
        // The desktop session's commit also saves, without closing the window.
        p.txNum()->setText(QStringLiteral("43"));
        w.SaveIni();
        QVERIFY(ReadAll(path_).endsWith("043\r\n"));
    }
    struct sigaction after {};
    sigaction(signal, nullptr, &after);
    QCOMPARE(reinterpret_cast<void *>(after.sa_handler),
             reinterpret_cast<void *>(before.sa_handler));
}

void TestSettingsWindow::startOnX11_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("argument");
    QTest::addColumn<bool>("x11");
    QTest::newRow("Wayland with XWayland") << ""
                                           << "wayland-0"
                                           << "wayland"
                                           << ":0" << false << true;
    QTest::newRow("session type only") << ""
                                       << ""
                                       << "wayland"
                                       << ":1" << false << true;
    QTest::newRow("no XWayland") << ""
                                 << "wayland-0"
                                 << "wayland"
                                 << "" << false << false;
    QTest::newRow("platform chosen") << "wayland"
                                     << "wayland-0"
                                     << "wayland"
                                     << ":0" << false << false;
    QTest::newRow("-platform given") << ""
                                     << "wayland-0"
                                     << "wayland"
                                     << ":0" << true << false;
    QTest::newRow("X11 session") << ""
                                 << ""
                                 << "x11"
                                 << ":0" << false << false;
}

void TestSettingsWindow::startOnX11()
{
    QFETCH(QString, platform);
    QFETCH(QString, wayland);
    QFETCH(QString, session);
    QFETCH(QString, display);
    QFETCH(bool, argument);
    QFETCH(bool, x11);
    const DisplayEnvironment env{platform.toStdString(), wayland.toStdString(),
                                 session.toStdString(), display.toStdString(), argument};
    QCOMPARE(StartOnX11(env), x11);
}

QTEST_MAIN(TestSettingsWindow)
#include "tst_settings_window.moc"
