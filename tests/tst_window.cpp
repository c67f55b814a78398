// The main window and the About window on the offscreen platform, driven by real input: scripted
// scenarios (see script.h), then what a script cannot say: the layout, the countdown's captions,
// the close box during a batch, the spinner in real time, and the settings file across starts.

#include "about/fmAbout.h"
#include "app/session.h"
#include "controls/contrast.h"
#include "desktop/artwork.h"
#include "script.h"
#include "settings/ini_file.h"

#include <QDir>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

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

class TestWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    // Each test has a folder of its own for the settings file.
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        settings::SetSettingsFolder(dir_->path());
        path_ = dir_->filePath(QStringLiteral("Zintrova.ini"));
    }

    void scripts()
    {
        QFETCH(QString, script);
        Script{script};
    }
    void scripts_data()
    {
        QTest::addColumn<QString>("script");
        const auto row = [](const char *name, const char *script) {
            QTest::newRow(name) << QString::fromLatin1(script);
        };
        // The window at start and its keys.
        row("start-up state", "F0 =6,8,0 \"1\" B0 Ms |1 #6-8 P55");
        row("boxes rebuild the pool; the last set off turns lower case on",
            "@cbFilter P62 n1 @cbSet1 P36 @cbSet2 P10 @cbSet3 ?cbSet1=1 P26 B0");
        row("busy: a box changes only itself, Generate reuses the pool",
            "b2 @cbSet3 @cbFilter @cmGen ?cbSet3=0 ?cbFilter=0 P55 n0 b0 @cmGen P55 n1");
        row("Escape, Escape ends; a key between disarms; Exit and Escape wait while busy",
            "kE FcmExit kA kE kS kE V1 b2 @cmExit kE V1 b0 kE V0");
        row("Enter presses Generate, or the focused button", "kN n1 >cbSet2 kN n1 >txNum kN n1 "
                                                             ">cmCopy kN n0 $1");
        // The count: typed, pasted, stepped, and the digit typed elsewhere.
        row("a digit typed elsewhere lands in the box",
            "p123 >1 t7 \"7\" FtxNum >cbSet2 t8 \"8\" >cmExit t9 \"9\" >spNum t5 \"5\" FtxNum");
        row("only digits, three at most; Delete and Backspace; leaving invalid puts 1 back",
            ">1 t7 ta-.+,xZ2/5:6 \"725\" Mb kB kH kX \"2\" kX \"\" Mi {Multi&copy} t0 Mi >0 \"1\" "
            "Ms "
            "p50 @@txNum \"1\" Ms");
        row("007 reads 7, stays as typed", "p007 \"007\" Mb");
        row("paste cut to three", "p12345 \"123\" Mb");
        row("negative paste is invalid", "p-5 Mi >0 \"1\" Ms p-1234 \"-12\" Mi px5 Mi");
        row("Up, Down, PageDown", "p5 kU \"6\" kD kD \"4\" p10 k_ \"5\"");
        row("Up at 999 stays, PageDown at 3 gives 1", "p999 kU \"999\" p3 k_ \"1\" Ms");
        row("Ctrl+Home, Ctrl+End; Ctrl+Shift+Home changes nothing",
            "p50 kC-H \"1\" Ms p50 kC-Z \"1\" p50 kC-S-H \"50\" Mb");
        row("stepping from invalid", "p0 kU \"1\" Ms p-5 k^ \"5\" Mb");
        row("spinner keys, arrows and tmSpin with Shift",
            "p10 kT kU kU kD \"11\" FspNum Su \"12\" FtxNum TtmSpin \"13\" +S TtmSpin \"18\" - "
            "TtmSpin \"19\" Sr p4 Sd \"3\" +S TtmSpin \"1\" Ms - Sr");
        // Copying.
        row("single copy: the password, no line break; the frame back with the next",
            "@cmCopy $1 |0 Ms n0 @cmGen |1 >txNum kC-C $1 p1 kC-I $1");
        row("no copy by shortcut in batch mode, nor by Ctrl+Shift+C",
            "p5 >0 kC-C $0 p1 >0 kC-S-C $0");
        row("a count below 1 never copies, also with the button enabled again",
            "p0 kZ w0+1 =8,8,1 EcmCopy kC-C $0 kC-I $0 p-5 kZ kC-C $0 p kC-I $0");
        row("batch of 2: clicks during the batch and Done change nothing but a box",
            "p2 /1 @cmCopy @cmCopy @cmGen @cmExit @@txNum @cbSet2 / $2 {Done} #0 |0 FcmExit B2 "
            "@cmCopy @cmGen @cmExit @@txNum @cbFilter ?cbSet2=0 ?cbFilter=0 V1 \"2\" n3 TtmTimer "
            "B0 "
            "n1 P55 Mb");
        // The close box during a batch, with the box emptied and the spinner held: it stops at
        // once, the clipboard as it was, no password after the close, nothing touched in the closed
        // window.
        row("close box stops a batch", "p500 /6 @cmCopy p Sd X / V0 $0 \"\" #6-8 n6 DtmSpin");
        row("count set to 1 during Done", "p2 @cmCopy p1 TtmTimer Ms |1");
        row("a failed write is not Done",
            "x1 @cmCopy $0 {Failed} B0 |1 TtmTimer Ms |1 @cmCopy x0 @cmCopy $1 Ms |0 x1 @cmCopy x0 "
            "p4 @cmCopy {Done} $4 TtmTimer x1 @cmCopy {Failed} #0 TtmTimer B0 Mb #6-8");
        // The sliders: every line of the PushState table ("kR kR +R" holds the minimum at 8 - 8).
        row("any -> 0: GotFocus by Down, from 1", "kR kR +R =8,8,1 +D F1 =8,8,0");
        row("any -> 0: GotFocus by a click, from 2", "kR kR +R - =8,8,2 c1:8 F1 =8,8,0");
        row("any -> 0: Change, min < max, from 2", "kR kR +R - d0:7 =7,8,0 u =7,8,0");
        row("any -> 0: Change, min < max, from 1", "kR kR +R =8,8,1 d0:5 =5,8,0");
        row("any -> 0: KeyUp, min < max", "s2 kS =6,8,0");
        row("1 -> 0: Scroll, min < max, value unchanged", "kH =3,8,0 s1 +H =3,8,0");
        row("1 -> 0: Scroll, min < max, thumb moved back", "kR kR +R =8,8,1 +L =7,8,0");
        row("0 -> 1: Scroll, min > max, by the wheel", "kR kR =8,8,0 w1-1 =8,8,1 F0");
        row("1 -> 1: Scroll, min > max, held again", "kR kR +R +R +R =8,8,1");
        row("1 -> 2: MouseUp on the moved slider", "d0:6 m7 m8 m9 =8,8,1 u =8,8,2");
        row("1 -> 2: MouseUp on the other slider", "kR kR kD w0+1 =8,8,1 d1:8 =8,8,1 u =8,8,2");
        row("1 -> 2: KeyUp, min >= max", "kR kR +R =8,8,1 - =8,8,2");
        row("2 -> 2: Scroll, min > max, pushes", "kR kR +R - +R =9,9,2 - =9,9,2");
        row("2 -> 2: the wheel pushes, the focus stays", "kR kR +R - kD s2 w0+1 =11,11,2 F1");
        // Each thumb moved into the other: stop, release, push on, part, and stop at the next
        // contact.
        row("minimum by mouse", "d0:6 m8 =8,8,0 m9 =8,8,1 u =8,8,2 d0:8 m9 =9,9,2 m10 =10,10,2 u "
                                "d0:10 m7 =7,10,0 u d0:7 m10 =10,10,0 m11 =10,10,1 u =10,10,2");
        row("minimum by arrow keys",
            "kR kR =8,8,0 +R =8,8,1 - =8,8,2 +R =9,9,2 +R =10,10,2 - +L +L "
            "+L =7,10,0 - +R +R +R =10,10,0 +R =10,10,1 - =10,10,2");
        row("minimum by page keys", "c1:16 c0:6 k^ k^ =16,16,0 +^ =16,16,1 - =16,16,2 L1 +^ "
                                    "=21,21,2 +^ =26,26,2 - +_ +_ +_ "
                                    "=11,26,0 - +^ +^ +^ =26,26,0 +^ =26,26,1 - =26,26,2");
        row("maximum by mouse", "c1:12 c0:10 d1:12 m10 =10,10,0 m9 =10,10,1 u =10,10,2 d1:10 m9 "
                                "=9,9,2 m8 =8,8,2 u d1:8 "
                                "m11 =8,11,0 u d1:11 m8 =8,8,0 m7 =8,8,1 u =8,8,2");
        row("maximum by arrow keys",
            "c1:12 c0:10 kD kL kL =10,10,0 +L =10,10,1 - =10,10,2 +L =9,9,2 +L =8,8,2 - +R +R +R "
            "=8,11,0 - +L +L +L =8,8,0 +L =8,8,1 - =8,8,2");
        row("maximum by page keys", "c1:30 c0:20 kD k_ k_ =20,20,0 +_ =20,20,1 - =20,20,2 +_ "
                                    "=15,15,2 +_ =10,10,2 - +^ +^ +^ "
                                    "=10,25,0 - +_ +_ +_ =10,10,0 +_ =10,10,1 - =10,10,2");
        row("a press crosses the range until a Scroll couples",
            "c0:20 =20,8,0 #20 @cmGen #20 c1:8 F1 kR =20,20,2 #20");
        row("Up and Down move the focus, change no value",
            "c1:12 c0:12 s2 kU F0 =12,12,2 kD F1 =12,12,0 s2 kD F1 =12,12,2 kU F0 =12,12,0");
        row("PageUp and PageDown step by 5 within the range",
            "c1:38 c0:6 +^ L5 =11,38,0 - L1 k_ k_ =3,38,0 kD L1 +^ L5 =3,40,0 - L1 k_ =3,35,0");
        row("a stop composes nothing, a push composes once",
            "kR kR n2 d0:8 m9 m10 u =8,8,2 n0 d0:8 m9 =9,9,2 n1 #9 m10 u =10,10,2 n1");
        row("a press puts the thumb under the pointer and drags it on from there",
            "c1:40 d0:15 =15,40,0 m17 =17,40,0 m16 u =16,40,0");
        row("a pushed slider moved back to its old value composes",
            "kR kR kR kR =9,9,2 kD kL kL =8,8,2 c0:9 =9,8,0 #9");
        // The About window: F1 on its release and "?" open it afresh; the link's 10-second lock.
        row("F1 on release; the link locks; Escape; the focus on the minimum slider",
            ">cmGen +F o- - A FcmHelp ElblLink qlblLink @lblLink @lblLink DlblLink oS kE / V1 F0");
        row("a fresh window: Help opens the file and stays; the link is live again after tmOne",
            "@cmHelp A ElblLink kN oH A @lblLink FcmOK oS EtmOne TtmOne DtmOne ElblLink @lblLink "
            "oS kN "
            "o- / F0");
    }

    // Every control where the layout puts it (in twips), no caption clipped, and the About window's
    // logo unscaled on its face over the etched separator (a grey row over two white rows).
    void layout()
    {
        Shown t;
        fmMainProbe &p = t.p;
        QCOMPARE(t.w.windowTitle(), QStringLiteral("Zintrova 1.1"));
        QCOMPARE(t.w.size(), QSize(568, 215));
        const std::pair<QWidget *, QRect> places[] = {
            {p.cbSet(1), TwipsRect(330, 240, 1695, 525)},
            {p.cbSet(2), TwipsRect(2010, 240, 1695, 525)},
            {p.cbSet(3), TwipsRect(3750, 240, 1935, 525)},
            {p.cbFilter(), TwipsRect(6360, 240, 1965, 525)},
            {p.sldLen(0), TwipsRect(660, 990, 7500, 300)},
            {p.sldLen(1), TwipsRect(1260, 1290, 6900, 300)},
            {p.lbPass(), TwipsRect(300, 1710, 7875, 405)},
            {p.cmGen(), TwipsRect(300, 2490, 1905, 435)},
            {p.txNum(), TwipsRect(2790, 2505, 495, 420)},
            {p.spNum(), TwipsRect(3300, 2475, 240, 495)},
            {p.cmCopy(), TwipsRect(3690, 2490, 1905, 435)},
            {p.shCopy(), TwipsRect(3660, 2460, 1965, 495)},
            {p.cmExit(), TwipsRect(6270, 2490, 1905, 435)},
            {p.cmHelp(), TwipsRect(8250, 15, 240, 240)}};
        for (const auto &[control, rect] : places)
            QCOMPARE(control->geometry(), rect);
        for (auto *box : {p.cbSet(1), p.cbSet(2), p.cbSet(3), p.cbFilter()})
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
        for (auto *b : {p.cmGen(), p.cmCopy(), p.cmExit(), p.cmHelp()}) {
            const int text = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
            QVERIFY2(text + 4 <= b->width() && b->fontMetrics().height() <= b->height(),
                     qPrintable(b->text()));
        }
        const int forty = p.lbPass()->fontMetrics().horizontalAdvance(QString(40, 'W'));
        QVERIFY(forty + 2 * p.lbPass()->frameWidth() <= p.lbPass()->width());
        const QPoint pass = p.lbPass()->geometry().topRight() + QPoint(-4, 6);
        QCOMPARE(t.w.grab().toImage().pixelColor(pass), QPalette().color(QPalette::ToolTipBase));
        p.lbLimits()->setCaption(QStringLiteral("40 - 40"));
        QVERIFY(p.lbLimits()->geometry().right() < p.sldLen(1)->x());
        QVERIFY(p.lbLimits()->fontMetrics().horizontalAdvance(QStringLiteral("40 - 40")) <=
                p.lbLimits()->width());
        QVERIFY(p.txNum()->fontMetrics().horizontalAdvance(QStringLiteral("999")) + 6 <=
                p.txNum()->width());
        // The thumb is drawn centred on its value's place within a pixel, and at 10, 20, 30 and 40
        // the tick above the slider falls on it.
        for (int index = 0; index < 2; ++index) {
            for (int value : {6, 10, 27, 40}) {
                TrackSlider *slider = p.sldLen(index);
                slider->setValue(value);
                const QRect thumb = slider->ThumbRect(), drawn = thumb.translated(slider->pos());
                const int column = (195 * value - (index ? 1050 : 465)) / TwipsPerPixel;
                QVERIFY(std::abs(thumb.center().x() - column) <= 1);
                const QRect tick = value % 10 ? drawn : p.lnTick(value / 10 - 1)->geometry();
                QVERIFY(tick.left() >= drawn.left() && tick.right() <= drawn.right());
            }
        }
        fmAbout dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), QSize(382, 222));
        for (QLabel *label : dlg.findChildren<QLabel *>())
            QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()) &&
                         label->heightForWidth(label->width()) <= label->height() &&
                         dlg.rect().contains(label->geometry()),
                     qPrintable(label->objectName()));
        QCOMPARE(dlg.findChild<QWidget *>("lblLink")->cursor().hotSpot(), QPoint(12, 4));
        // The title and the version keep their common middle, 2857 twips from the left.
        const int middle = dlg.findChild<QWidget *>("lblTitle")->geometry().center().x();
        QVERIFY(qAbs(dlg.findChild<QWidget *>("lblVersion")->geometry().center().x() - middle) <=
                1);
        QVERIFY(qAbs(middle - Px(2857)) <= 1);
        const QImage shot = dlg.grab().toImage();
        const QRgb face = dlg.palette().color(QPalette::Window).rgb();
        const QRect logo(TwipsPoint(240, 150), QSize(152, 34));
        QCOMPARE(LogoPicture().size(), logo.size()); // needs Qt's gif plugin
        QImage logoOnFace(logo.size(), shot.format());
        logoOnFace.fill(face);
        QPainter(&logoOnFace).drawPixmap(0, 0, LogoPicture());
        QCOMPARE(shot.copy(logo), logoOnFace);
        const QRgb rows[] = {face, 0xff808080, 0xffffffff, 0xffffffff, face};
        for (int x : {Px(120) - 1, Px(120), 100, Px(5585), Px(5585) + 1}) // and no further
            for (int y = 138; y < 143; ++y)
                QCOMPARE(shot.pixel(x, y), x < Px(120) || x > Px(5585) ? face : rows[y - 138]);
    }

    // A press sets the value whose place is nearest the pointer (the slider's end at its outer
    // edges, where the rule gives 2 and 41), and MouseDown/MouseUp report the button, Shift and the
    // place in twips.
    void pressPutsThumbUnderPointer()
    {
        const std::tuple<int, Qt::MouseButton, int, int, int> presses[] = {
            {0, Qt::MiddleButton, 4, 99, 10}, {0, Qt::RightButton, 2, 8, 3},
            {0, Qt::LeftButton, 1, 92, 9},    {0, Qt::LeftButton, 1, 93, 10},
            {0, Qt::LeftButton, 1, 0, 3},     {1, Qt::LeftButton, 1, 124, 15},
            {1, Qt::LeftButton, 1, 459, 40}};
        for (const auto &[index, button, code, x, value] : presses) {
            Shown t;
            TrackSlider *slider = t.p.sldLen(index);
            QSignalSpy down(slider, &TrackSlider::MouseDown), up(slider, &TrackSlider::MouseUp);
            QTest::mouseClick(slider, button, Qt::ShiftModifier, QPoint(x, 13));
            QCOMPARE(t.p.lbLimits()->Caption(), index == 0 ? QStringLiteral("%1 - 8").arg(value)
                                                           : QStringLiteral("6 - %1").arg(value));
            const QList<QVariant> args{code, 1, float(x * 15), float(13 * 15)};
            QCOMPARE(down.value(0), args);
            QCOMPARE(up.value(0), args);
        }
    }

    // At activation the range label turns black or white when its colour and the face differ in
    // brightness (the largest component) by less than 63, and stays as it is otherwise.
    void contrastRule()
    {
        const std::tuple<QRgb, QRgb, int> rules[] = {{qRgb(240, 240, 240), qRgb(255, 255, 255), 0},
                                                     {qRgb(192, 192, 192), qRgb(255, 255, 255), -1},
                                                     {qRgb(128, 0, 40), qRgb(0, 160, 0), 0xFFFFFF},
                                                     {qRgb(250, 0, 0), qRgb(0, 0, 255), 0}};
        for (const auto &[face, text, expected] : rules) {
            fmMain w;
            fmMainProbe p{w};
            QPalette pal = w.palette();
            pal.setColor(QPalette::Button, QColor::fromRgb(face));
            pal.setColor(QPalette::HighlightedText, QColor::fromRgb(text));
            w.setPalette(pal);
            const QRgb before = p.lbLimits()->ForeColor().rgb();
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QCOMPARE(p.lbLimits()->ForeColor().rgb() & 0xFFFFFF,
                     expected >= 0 ? QRgb(expected) : before & 0xFFFFFF);
        }
    }

    // A copied password is marked secret for clipboard managers; with every set off, as a settings
    // file can leave them, there is no password to copy.
    void secretMarkAndNoPassword()
    {
        Script("@cmCopy $1");
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
        WriteAll(path_, "000000000000000608001");
        Script("#0 @cmCopy $0 p3 >0 @cmCopy $0");
    }

    // The copy button counts down the passwords still to make, the one being made included, at the
    // count's step (1 up to 50, then 2, 3 above 120, 5 above 300); each caption once.
    void countdown()
    {
        for (const auto &[count, step, last] : {std::tuple{50, 1, 1},
                                                {51, 2, 1},
                                                {120, 2, 2},
                                                {121, 3, 1},
                                                {300, 3, 3},
                                                {301, 5, 1},
                                                {999, 5, 4}}) {
            Shown t;
            QStringList captions;
            QObject::connect(t.p.lbPass(), &ChangeLabel::Change,
                             [&] { captions << t.p.cmCopy()->text(); });
            t.p.txNum()->setText(QString::number(count));
            QTest::mouseClick(t.p.cmCopy(), Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), count);
            captions.removeLast(); // "Done", with the label emptied
            captions.erase(std::unique(captions.begin(), captions.end()), captions.end());
            QCOMPARE(captions.size(), (count - last) / step + 1);
            for (qsizetype i = 0; i < captions.size(); ++i)
                QCOMPARE(captions[i], QStringLiteral(" %1").arg(count - i * step));
            QCOMPARE(captions.back(), QStringLiteral(" %1").arg(last));
            t.w.close(); // closed during "Done", the window is not restored
            QVERIFY(!t.p.tmTimer()->Enabled());
        }
    }

    // The spinner on its own, in real time: it steps on the press, keeps stepping while the arrow
    // is held, pauses while the pointer is off the arrow, and stops on release, or when it is
    // hidden (its window closed) while held.
    void spinnerRepeatsWhileHeld()
    {
        UpDown sp;
        sp.setRange(1, 999);
        sp.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sp));
        const QPoint up = sp.UpRect().center();
        QTest::mousePress(&sp, Qt::LeftButton, {}, up);
        QCOMPARE(sp.Value(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(sp.Value() >= 5, 5000);
        QTest::mouseMove(&sp, sp.DownRect().center());
        int held = sp.Value();
        QTest::qWait(400);
        QCOMPARE(sp.Value(), held);
        QTest::mouseMove(&sp, up);
        QTRY_VERIFY_WITH_TIMEOUT(sp.Value() > held, 5000);
        QTest::mouseRelease(&sp, Qt::LeftButton, {}, up);
        held = sp.Value();
        QTest::mousePress(&sp, Qt::LeftButton, {}, up);
        sp.hide();
        QTest::qWait(800);
        QCOMPARE(sp.Value(), held + 1);
    }

    // Exactly one separator before the help file's name, a root folder included; Run trims the
    // target and opens an address as it is, anything else as a local file.
    void helpPathAndRunTargets()
    {
        QCOMPARE(fmAbout::HelpFilePath(QStringLiteral("/")), QStringLiteral("/Zintrova.chm"));
        QCOMPARE(fmAbout::HelpFilePath(QStringLiteral("C:\\")), QStringLiteral("C:\\Zintrova.chm"));
        QCOMPARE(fmAbout::HelpFilePath(QStringLiteral("/opt/Z")),
                 QStringLiteral("/opt/Z/Zintrova.chm"));
        Opener opener;
        fmAbout::Run(QStringLiteral(" https://example.org/a?b=1 "), 1);
        fmAbout::Run(
            QStringLiteral(" %1/Zintrova.chm ").arg(QCoreApplication::applicationDirPath()), 1);
        QCOMPARE(opener.opened, QStringLiteral("?H"));
    }

    // Changed choices come back at the next start, applied through the controls before the window
    // shows, and are saved again as they were (the position too).
    void restartRestoresChoices()
    {
        Script("@cbSet2 @cbFilter c1:30 c0:12 p25 @cmExit");
        const QByteArray saved = ReadAll(path_);
        QCOMPARE(saved.mid(10), QByteArray("10101230025\r\n"));
        Script("=12,30,0 ?cbSet2=0 ?cbFilter=0 \"25\" Mb P36 #12-30 X");
        QCOMPARE(ReadAll(path_), saved);
    }

    // A file as found at start-up: the window starts, and writes a sane record at exit, ending in
    // the columns given here (11-21: boxes, lengths, count; all 21 with the position; none if
    // random).
    void oddFiles()
    {
        const char *design = "11110608001", *zeros = "00000306001";
        std::vector<std::pair<QByteArray, QByteArray>> files = {
            {{}, design}, // no file
            {"015000120011110608025\n", "11110608025"},
            {"000300004501013010007", "01013010007"}, // minimum above maximum
            {"000000000021930608001", "21110608001"}, // a greyed box, refused boxes
            // The boxes' click handlers stay quiet while loading: nothing turns lower case on.
            {"000000000000000608001", "00000608001"},
            {"000000000011110250999", "11110340999"}, // lengths beyond the sliders
            // A window beyond the left or top edge, or beyond 99999 twips, still writes 21 digits.
            {"-9999-0015-1-1-9-9-99", "000000000001010306001"},
            {"999999999911110608001", "999999999911110608001"},
            {"01500012001\r\n", "10000306001"}, // short
            {"-\r\n", design},
            {"", design},
            {"\r\n015000120011110608025", zeros}, // the first line empty
            {" \t 015000120011110608025", "11110608025"},
            {QByteArray("0150001200111\0000608025", 21), "11100608025"},
            {"0150001200,11110608025", zeros},
            {"abcdefghijklmnopqrstu\r\n", zeros},
            {QByteArray(10 << 20, '7'), "11114040777"}};
        QRandomGenerator random(20240607);
        for (int run = 0; run < 30; ++run) { // random bytes: any sane values
            QByteArray bytes(random.bounded(64), Qt::Uninitialized);
            for (char &c : bytes) // mostly digits, signs and line ends, so that fields come through
                c = random.bounded(4) ? "0123456789-+ ,\r\n"[random.bounded(16)]
                                      : char(random.bounded(256));
            files.emplace_back(bytes, QByteArray());
        }
        for (const auto &[content, written] : files) {
            QFile::remove(path_);
            if (!content.isNull()) WriteAll(path_, content);
            {
                fmMain w;
                w.show();
                w.close();
            }
            const QByteArray after = ReadAll(path_);
            QVERIFY2(IsSaneRecord(after) && after.chopped(2).endsWith(written),
                     (content.left(40).toPercentEncoding() + " wrote " + after).constData());
        }
    }

    // Under Wayland the program starts on X11 where XWayland is there and the user chose nothing.
    // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY, "-platform" given; the answer.
    void startOnX11()
    {
        for (const auto &[env, x11] :
             {std::pair{DisplayEnvironment{"", "wayland-0", "", ":0"}, true},
              {{"", "", "wayland", ":1"}, true},
              {{"", "wayland-0", "wayland", ""}, false},
              {{"wayland", "wayland-0", "wayland", ":0"}, false},
              {{"", "wayland-0", "wayland", ":0", true}, false},
              {{"", "", "x11", ":0"}, false}})
            QCOMPARE(StartOnX11(env), x11);
        // What start-up reads: the environment, and "-platform" or "--platform" after the program.
        qputenv("WAYLAND_DISPLAY", "wayland-9");
        qputenv("DISPLAY", ":7");
        char program[] = "-platform", plain[] = "x", one[] = "-platform", two[] = "--platform";
        char *none[] = {program, plain}, *first[] = {program, one}, *second[] = {program, two};
        const DisplayEnvironment env = CurrentDisplayEnvironment(2, none);
        QCOMPARE(env.WaylandDisplay + env.Display + env.QtPlatform,
                 std::string("wayland-9:7offscreen"));
        QVERIFY(!env.PlatformArgument);
        QVERIFY(CurrentDisplayEnvironment(2, first).PlatformArgument);
        QVERIFY(CurrentDisplayEnvironment(2, second).PlatformArgument);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
