// Creating the main window's controls at their places, with captions, fonts, tooltips and the
// tab order. Nothing moves or resizes a control after this.

#include "mainwindow/fmMain.h"

#include "controls/fonts.h"
#include "controls/keyboard.h"
#include "controls/twips.h"
#include "desktop/artwork.h"
#include "settings/record.h"
#include "version.h"

#include <QLineEdit>

namespace zintrova {

namespace {
template <class W> W *Place(W *w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsRect(left, top, width, height));
    return w;
}
} // namespace

// The window's frame and every control, in the order of the layout table (also the stacking
// order: the copy frame lies below the copy button), then their names and their handlers.
void fmMain::CreateControls()
{
    SetUpFrame();
    PlaceCountAndCopy();
    PlaceBoxesAndGenerate();
    PlaceSlidersAndPassword();
    NameControls();
    ConnectHandlers();
}

// The title, a fixed dialog frame of the layout's size, the default font and the icon.
void fmMain::SetUpFrame()
{
    setWindowTitle(QStringLiteral("%1 %2.%3")
                       .arg(QLatin1String(app::Title))
                       .arg(app::VersionMajor)
                       .arg(app::VersionMinor));
    // A fixed dialog frame: a title bar with a close box, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(8520), Px(3225));
    setFont(SansFont(8.25));
    setWindowIcon(ProgramIcon());
}

// The copy button's frame, the count box with its spinner, the copy button, Exit, "?" and
// the timers.
void fmMain::PlaceCountAndCopy()
{
    // The frame around the copy button lies on the window's background, below the button.
    shCopy = Place(new RectShape(QColor(0, 255, 0), this), 3660, 2460, 1965, 495);
    shCopy->setVisible(false);

    tmSpin = new EventTimer(500, this);
    spNum = Place(new UpDown(this), 3300, 2475, 240, 495);
    spNum->setRange(1, settings::CountMax);
    spNum->setValue(1);
    tmTimer = new EventTimer(1600, this);

    cmHelp = Place(new CommandButton(QStringLiteral("?"), this), 8250, 15, 240, 240);
    cmHelp->setFont(SansFont(8.25, true));
    cmHelp->setToolTip(QStringLiteral(" About Zintrova "));

    txNum = Place(new TextBox(QStringLiteral("1"), this), 2790, 2505, 495, 420);
    txNum->setFont(SansFont(12));
    txNum->setMaxLength(3);

    cmExit = Place(new CommandButton(QStringLiteral("&Exit"), this), 6270, 2490, 1905, 435);
    cmCopy =
        Place(new CommandButton(QStringLiteral("&Copy to Clipboard"), this), 3690, 2490, 1905, 435);
    cmCopy->setEnabled(false);
}

// The character-set and filter check boxes, all on, and Generate, the default button.
void fmMain::PlaceBoxesAndGenerate()
{
    cbFilter =
        Place(new ValueCheckBox(QStringLiteral("&filter similars"), this), 6360, 240, 1965, 525);
    cbFilter->setToolTip(QStringLiteral(" Exclude similar letters and figures, like l/I, O/0, S/5. "
                                        "Precedence is numbers>lower case>upper case. "));
    cbSet[3] = Place(new ValueCheckBox(QStringLiteral("&numbers 0-9"), this), 3750, 240, 1935, 525);
    cbSet[2] = Place(new ValueCheckBox(QStringLiteral("letters A-&Z"), this), 2010, 240, 1695, 525);
    cbSet[1] = Place(new ValueCheckBox(QStringLiteral("letters &a-z"), this), 330, 240, 1695, 525);
    for (auto *box : {cbSet[1], cbSet[2], cbSet[3], cbFilter}) {
        box->setFont(SansFont(12));
        box->setValue(1);
    }

    cmGen = Place(new CommandButton(QStringLiteral("&Generate"), this), 300, 2490, 1905, 435);
    cmGen->Default = true;
}

// The length sliders on their common scale, the range and password labels, and the scale's
// marks above the minimum slider.
void fmMain::PlaceSlidersAndPassword()
{
    sldLen[0] = Place(new TrackSlider(this), 660, 990, 7500, 300);
    sldLen[1] = Place(new TrackSlider(this), 1260, 1290, 6900, 300);
    sldLen[0]->setRange(3, 40);
    sldLen[0]->setValue(6);
    sldLen[0]->setLargeChange(5);
    sldLen[1]->setRange(6, 40);
    sldLen[1]->setValue(8);
    sldLen[1]->setLargeChange(1);
    // A length stands at the same place on both sliders, 195 twips a step, the lowest value of
    // each 120 twips in from its left edge (the maximum slider starts 600 twips further right and
    // 3 values higher).
    for (auto *s : sldLen) {
        s->setSmallChange(1);
        s->setScale(120, 195);
    }

    lbLimits = Place(new ChangeLabel(this), 420, 1350, 480, 300);
    lbLimits->setFont(SansFont(12));
    lbLimits->AutoSize = true;
    lbLimits->setForeColor(palette().color(QPalette::HighlightedText));
    lbLimits->setCaption(QStringLiteral("6 - 8"));

    lbPass = Place(new ChangeLabel(this), 300, 1710, 7875, 405);
    lbPass->setFont(FixedFont(15.75, true));
    lbPass->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lbPass->setLineWidth(1);
    lbPass->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lbPass->setAutoFillBackground(true);
    {
        QPalette p = lbPass->palette();
        p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
        p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
        lbPass->setPalette(p);
    }
    lbPass->setCaption(QStringLiteral("N...:....!....:....!....:....!....:....N"));

    // The scale above the minimum-length slider: marks at the lengths 10, 20, 30 and 40.
    lnTick[3] = new LineShape(this, 8025, 930, 8025, 990, 2, QPalette::WindowText);
    lnTick[2] = new LineShape(this, 6075, 930, 6075, 990, 2, QPalette::WindowText);
    lnTick[1] = new LineShape(this, 4125, 945, 4125, 990, 2, QPalette::WindowText);
    new LineShape(this, 750, 930, 8025, 930, 1, QPalette::WindowText); // Line2, the scale's line
    lnTick[0] = new LineShape(this, 2175, 945, 2175, 990, 2, QPalette::WindowText);
}

// The tab order, the names screen readers read, and the controls' own names.
void fmMain::NameControls()
{
    // Labels take no focus; every other control is in this tab order.
    lbLimits->setFocusPolicy(Qt::NoFocus);
    lbPass->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget *> order = {sldLen[0], sldLen[1], cbSet[1], cbSet[2], cbSet[3], cbFilter,
                                    cmGen,     txNum,     spNum,    cmCopy,   cmExit,   cmHelp};
    for (auto *w : order)
        if (w->focusPolicy() == Qt::NoFocus) w->setFocusPolicy(Qt::StrongFocus);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    // What screen readers call the controls; the buttons and check boxes read their captions.
    const std::pair<QWidget *, const char *> spoken[] = {
        {sldLen[0], "Minimum length"},  {sldLen[1], "Maximum length"},
        {txNum, "Number of passwords"}, {spNum, "Step the number of passwords"},
        {cmHelp, "About Zintrova"},     {lbPass, "Password"}};
    for (const auto &[w, name] : spoken)
        w->setAccessibleName(QLatin1String(name));
    txNum->setAccessibleDescription(QStringLiteral("How many passwords one copy produces"));
    // Each control carries its name, as in the About window, for whatever inspects the window.
    const std::pair<QObject *, const char *> names[] = {
        {sldLen[0], "sldLen(0)"}, {sldLen[1], "sldLen(1)"}, {cbSet[1], "cbSet(1)"},
        {cbSet[2], "cbSet(2)"},   {cbSet[3], "cbSet(3)"},   {cbFilter, "cbFilter"},
        {cmGen, "cmGen"},         {txNum, "txNum"},         {spNum, "spNum"},
        {cmCopy, "cmCopy"},       {cmExit, "cmExit"},       {cmHelp, "cmHelp"},
        {lbPass, "lbPass"},       {lbLimits, "lbLimits"},   {shCopy, "shCopy"},
        {tmTimer, "tmTimer"},     {tmSpin, "tmSpin"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));
    // The password itself is read out as the label's description.
    connect(lbPass, &ChangeLabel::Change, this,
            [this] { lbPass->setAccessibleDescription(lbPass->Caption()); });
}

// Each control's events to the window's handlers.
void fmMain::ConnectHandlers()
{
    for (std::int16_t k = 1; k <= 3; ++k)
        connect(cbSet[k], &ValueCheckBox::Click, this, [this, k] { cbSet_Click(k); });
    connect(cbFilter, &ValueCheckBox::Click, this, [this] { cbFilter_Click(); });
    connect(cmGen, &QPushButton::clicked, this, [this] { cmGen_Click(); });
    connect(cmExit, &QPushButton::clicked, this, [this] { cmExit_Click(); });
    for (std::int16_t i = 0; i < 2; ++i) {
        TrackSlider *s = sldLen[i];
        connect(s, &TrackSlider::Change, this, [this, i] { sldLen_Change(i); });
        connect(s, &TrackSlider::Scroll, this, [this, i] { sldLen_Scroll(i); });
        connect(s, &TrackSlider::MouseDown, this, [this, i](int b, int sh, float x, float y) {
            sldLen_MouseDown(i, std::int16_t(b), std::int16_t(sh), x, y);
        });
        connect(s, &TrackSlider::MouseUp, this, [this, i](int b, int sh, float x, float y) {
            sldLen_MouseUp(i, std::int16_t(b), std::int16_t(sh), x, y);
        });
        new ControlKeys(s, {[this, i](int &k, int sh) { sldLen_KeyDown(i, k, sh); },
                            {},
                            [this, i](int &k, int sh) { sldLen_KeyUp(i, k, sh); }});
        new FocusEvents(s, [this, i] { sldLen_GotFocus(i); }, {});
    }
    connect(lbPass, &ChangeLabel::Change, this, [this] { lbPass_Change(); });
    connect(cmHelp, &QPushButton::clicked, this, [this] { cmHelp_Click(); });

    // The count entry and the copy.
    connect(txNum, &QLineEdit::textChanged, this, [this] { txNum_Change(); });
    connect(txNum, &TextBox::DblClick, this, [this] { txNum_DblClick(); });
    new ControlKeys(txNum, {[this](int &k, int s) { txNum_KeyDown(k, s); },
                            [this](int &a) { txNum_KeyPress(a); },
                            [this](int &k, int s) { txNum_KeyUp(k, s); }});
    // Focus also leaves the box when the window closes; a closed window's box stays as it is.
    new FocusEvents(
        txNum,
        [this] {
            if (!unloaded_) txNum_GotFocus();
        },
        [this] {
            if (!unloaded_) txNum_LostFocus();
        });
    connect(spNum, &UpDown::Change, this, [this] { spNum_Change(); });
    connect(spNum, &UpDown::UpClick, this, [this] { spNum_UpClick(); });
    connect(spNum, &UpDown::DownClick, this, [this] { spNum_DownClick(); });
    connect(spNum, &UpDown::MouseDown, this, &fmMain::spNum_MouseDown);
    connect(spNum, &UpDown::MouseUp, this, &fmMain::spNum_MouseUp);
    connect(tmSpin, &EventTimer::Timer, this, [this] { tmSpin_Timer(); });
    connect(cmCopy, &QPushButton::clicked, this, [this] { cmCopy_Click(); });
    connect(tmTimer, &EventTimer::Timer, this, [this] { tmTimer_Timer(); });
}

} // namespace zintrova
