// The main window on the offscreen platform: start-up state, the check boxes and Generate under
// the busy flag, Escape and Exit, the digit that jumps to the count box, the range label's
// contrast rule and the fixed layout.

#include "controls/contrast.h"
#include "controls/fonts.h"
#include "controls/twips.h"
#include "probe.h"

#include <QSignalSpy>
#include <QTest>

using namespace zintrova;

namespace {

bool FitsPool(const QString &password, const std::string &pool)
{
    for (QChar c : password)
        if (pool.find(char(c.unicode())) == std::string::npos) return false;
    return true;
}

// The characters of the password that belong to base set k (1 lower, 2 upper, 3 digits).
int CountOf(const QString &p, int k)
{
    int n = 0;
    for (QChar c : p)
        n += (k == 1 && c.isLower()) || (k == 2 && c.isUpper()) || (k == 3 && c.isDigit());
    return n;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void startUpState();
    void boxesRebuildThePool();
    void busyKeepsBoxesAndGenerateOut();
    void escapeTwiceAndExit();
    void enterPressesGenerate();
    void contrastRule_data();
    void contrastRule();
    void geometryInTwips();
    void captionsFitTheirRectangles();
};

void TestMainWindow::startUpState()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Zintrova 1.1"));
    QCOMPARE(w.size(), QSize(568, 215));
    QCOMPARE(p.Busy(), std::int16_t(0));
    QCOMPARE(p.txNum()->text(), QStringLiteral("1"));
    QCOMPARE(p.lbLimits()->Caption(), QStringLiteral("6 - 8"));
    const QString pw = p.lbPass()->Caption();
    QVERIFY(pw.size() >= 6 && pw.size() <= 8);
    QVERIFY(FitsPool(pw, p.Pool()));
    QCOMPARE(p.Pool().size(), std::size_t(55));
    for (int k = 1; k <= 3; ++k)
        QVERIFY(CountOf(pw, k) >= 1);
    QVERIFY(pw.back().isLower());
    QVERIFY(p.cmCopy()->isEnabled());
    QVERIFY(p.shCopy()->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.sldLen(0)));
}

void TestMainWindow::boxesRebuildThePool()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QTest::mouseClick(p.cbFilter(), Qt::LeftButton);
    QCOMPARE(p.Pool().size(), std::size_t(62));
    QTest::mouseClick(p.cbSet(1), Qt::LeftButton);
    QTest::mouseClick(p.cbSet(2), Qt::LeftButton);
    QCOMPARE(p.Pool(), std::string("0123456789"));
    QCOMPARE(CountOf(p.lbPass()->Caption(), 3), int(p.lbPass()->Caption().size()));
    // Turning off the last set turns lower case back on, with a password of it.
    QTest::mouseClick(p.cbSet(3), Qt::LeftButton);
    QCOMPARE(p.cbSet(1)->Value(), 1);
    QCOMPARE(p.Pool(), std::string("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(CountOf(p.lbPass()->Caption(), 1), int(p.lbPass()->Caption().size()));
    QCOMPARE(p.Busy(), std::int16_t(0));
}

void TestMainWindow::busyKeepsBoxesAndGenerateOut()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    const std::string pool = p.Pool();
    const QString shown = p.lbPass()->Caption();
    p.Busy() = 2;
    QTest::mouseClick(p.cbSet(3), Qt::LeftButton);
    QTest::mouseClick(p.cbFilter(), Qt::LeftButton);
    QTest::mouseClick(p.cmGen(), Qt::LeftButton);
    QCOMPARE(p.cbSet(3)->Value(), 0); // the box changes, nothing else does
    QCOMPARE(p.Pool(), pool);
    QCOMPARE(p.lbPass()->Caption(), shown);
    // Idle again, Generate reuses the pool: the digits stay in it although their box is off.
    p.Busy() = 0;
    QTest::mouseClick(p.cmGen(), Qt::LeftButton);
    QCOMPARE(p.Pool(), pool);
    QVERIFY(p.lbPass()->Caption() != shown);
    QVERIFY(FitsPool(p.lbPass()->Caption(), pool));
}

void TestMainWindow::escapeTwiceAndExit()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    key(Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.cmExit()));
    key(Qt::Key_A); // any other key between the two disarms Exit, a lone Shift too
    key(Qt::Key_Escape);
    key(Qt::Key_Shift);
    key(Qt::Key_Escape);
    QVERIFY(w.isVisible());
    p.Busy() = 2; // while busy neither Exit nor a second Escape ends the program
    QTest::mouseClick(p.cmExit(), Qt::LeftButton);
    key(Qt::Key_Escape);
    QVERIFY(w.isVisible());
    p.Busy() = 0; // Exit is still armed: the next Escape ends the program
    key(Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TestMainWindow::enterPressesGenerate()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QSignalSpy gen(p.cmGen(), &QPushButton::clicked);
    QSignalSpy copy(p.cmCopy(), &QPushButton::clicked);
    for (QWidget *focus : {static_cast<QWidget *>(p.sldLen(0)), static_cast<QWidget *>(p.cbSet(2)),
                           static_cast<QWidget *>(p.txNum())}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
    }
    QCOMPARE(gen.count(), 3);
    // On a command button Enter presses that button, not the default one.
    p.cmCopy()->setFocus();
    QTest::keyClick(p.cmCopy(), Qt::Key_Return);
    QCOMPARE(gen.count(), 3);
    QCOMPARE(copy.count(), 1);
}

void TestMainWindow::contrastRule_data()
{
    QTest::addColumn<QRgb>("face");
    QTest::addColumn<QRgb>("text");
    QTest::addColumn<int>("expected"); // -1: unchanged
    QTest::newRow("light face, white text") << qRgb(240, 240, 240) << qRgb(255, 255, 255) << 0;
    QTest::newRow("difference exactly 63") << qRgb(192, 192, 192) << qRgb(255, 255, 255) << -1;
    QTest::newRow("dark face") << qRgb(128, 0, 40) << qRgb(0, 160, 0) << 0xFFFFFF;
    QTest::newRow("brightness is the largest component") << qRgb(250, 0, 0) << qRgb(0, 0, 255) << 0;
}

void TestMainWindow::contrastRule()
{
    QFETCH(QRgb, face);
    QFETCH(QRgb, text);
    QFETCH(int, expected);
    const auto c = ContrastForeColor(face, text);
    QCOMPARE(c.has_value(), expected >= 0);
    if (c) QCOMPARE(int(*c & 0xFFFFFF), expected);

    // The window applies it at activation.
    fmMain w;
    fmMainProbe p{w};
    QPalette pal = w.palette();
    pal.setColor(QPalette::Button, QColor::fromRgb(face));
    pal.setColor(QPalette::HighlightedText, QColor::fromRgb(text));
    w.setPalette(pal);
    const QRgb before = p.lbLimits()->ForeColor().rgb();
    p.Form_Activate();
    QCOMPARE(p.lbLimits()->ForeColor().rgb() & 0xFFFFFF,
             expected >= 0 ? QRgb(expected) : before & 0xFFFFFF);
}

void TestMainWindow::geometryInTwips()
{
    fmMain w;
    fmMainProbe p{w};
    QCOMPARE(p.sldLen(0)->geometry(), TwipsRect(660, 990, 7500, 300));
    QCOMPARE(p.sldLen(1)->geometry(), TwipsRect(1260, 1290, 6900, 300));
    QCOMPARE(p.lbPass()->geometry(), TwipsRect(300, 1710, 7875, 405));
    QCOMPARE(p.cmCopy()->geometry(), TwipsRect(3690, 2490, 1905, 435));
    // The green frame stands 2 pixels off the copy button on every side.
    QCOMPARE(p.shCopy()->geometry(), p.cmCopy()->geometry().adjusted(-2, -2, 2, 2));
    QCOMPARE(p.cmHelp()->toolTip(), QStringLiteral(" About Zintrova "));
    // Both sliders end at the same right edge; the tick marks stand 130 pixels apart.
    QCOMPARE(p.sldLen(0)->geometry().right(), p.sldLen(1)->geometry().right());
    for (int i = 1; i < 4; ++i)
        QCOMPARE(p.lnTick(i)->x() - p.lnTick(i - 1)->x(), 130);
}

void TestMainWindow::captionsFitTheirRectangles()
{
    fmMain w;
    fmMainProbe p{w};
    w.show();
    for (auto *box : {p.cbSet(1), p.cbSet(2), p.cbSet(3), p.cbFilter()})
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
    for (auto *b : {p.cmGen(), p.cmCopy(), p.cmExit(), p.cmHelp()}) {
        const int text = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
        QVERIFY2(text + 4 <= b->width(), qPrintable(b->text()));
        QVERIFY2(b->fontMetrics().height() <= b->height(), qPrintable(b->text()));
    }
    // The longest password fits the label on one line; the widest range label ends left of the
    // maximum slider.
    const int forty = p.lbPass()->fontMetrics().horizontalAdvance(QString(40, 'W'));
    QVERIFY(forty + 2 * p.lbPass()->frameWidth() <= p.lbPass()->width());
    p.lbLimits()->setCaption(QStringLiteral("40 - 40"));
    QVERIFY(p.lbLimits()->geometry().right() < p.sldLen(1)->x());
    p.lbLimits()->setCaption(QStringLiteral("6 - 8"));
    QVERIFY(p.txNum()->fontMetrics().horizontalAdvance(QStringLiteral("999")) + 6 <=
            p.txNum()->width());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
