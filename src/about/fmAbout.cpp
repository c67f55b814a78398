#include "about/fmAbout.h"

#include "controls/fonts.h"
#include "controls/twips.h"
#include "desktop/artwork.h"
#include "version.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace zintrova {

AboutLabel::AboutLabel(const QString &caption, QWidget *parent, QRect place, bool autoSize,
                       Qt::Alignment align)
    : QLabel(caption, parent), autoSize_(autoSize), middle_(place.center().x())
{
    setTextFormat(Qt::PlainText);
    setAlignment(align);
    setGeometry(place);
    Fit();
}

void AboutLabel::setCaption(const QString &caption)
{
    setText(caption);
    Fit();
}

void AboutLabel::Fit()
{
    if (!autoSize_) return;
    const QSize size = sizeHint();
    const int left = alignment() & Qt::AlignHCenter ? middle_ - (size.width() - 1) / 2 : x();
    setGeometry(left, y(), size.width(), size.height());
}

void LinkLabel::mousePressEvent(QMouseEvent *e)
{
    pressed_ = e->button() == Qt::LeftButton;
    QLabel::mousePressEvent(e);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click =
        pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(e);
    if (click) emit Click();
}

fmAbout::fmAbout(QWidget *parent) : QDialog(parent)
{
    CreateControls();
    Form_Load();
}

void fmAbout::CreateControls()
{
    setWindowTitle(QStringLiteral("About Zintrova"));
    // A fixed dialog frame: a title bar with a close box, no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(5730), Px(3330));
    setWindowIcon(AboutIcon());
    setFont(SansFont(8.25));

    // Re-enables the web link 10 seconds after a click on it.
    tmOne = new EventTimer(10000, this);

    // Help is the default button (Enter), OK the cancel button (Escape, see keyPressEvent). A
    // button with the focus takes Enter for itself, so after a click on the link Enter is OK.
    cmHelp = new QPushButton(QStringLiteral("Help"), this);
    cmHelp->setGeometry(TwipsRect(4290, 2310, 1260, 375));
    cmHelp->setFont(SansFont(8.25, true));
    cmHelp->setDefault(true);
    cmOK = new QPushButton(QStringLiteral("OK"), this);
    cmOK->setGeometry(TwipsRect(4290, 2820, 1260, 345));

    // The logo, unscaled.
    imLogo = new QLabel(this);
    imLogo->setPixmap(LogoPicture());
    imLogo->setGeometry(QRect(TwipsPoint(240, 150), imLogo->pixmap().size()));

    // The link sentence: "Visit", the address, "for other freewares."
    Label5 = new AboutLabel(QStringLiteral("for other freewares."), this,
                            TwipsRect(1890, 2610, 1365, 195), true);
    lblLink =
        new LinkLabel(QLatin1String(app::WebSite), this, TwipsRect(630, 2610, 1200, 195), false);
    {
        QFont underlined = SansFont(8.25);
        underlined.setUnderline(true);
        lblLink->setFont(underlined);
        lblLink->setCursor(HandCursor());
        // Blue while live; a disabled link keeps the palette's grey text.
        QPalette p = lblLink->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive})
            p.setColor(group, QPalette::WindowText, QColor(0, 0, 192));
        lblLink->setPalette(p);
        // The address is configurable: the sentence flows on after it with the same small gap.
        lblLink->resize(lblLink->sizeHint());
        Label5->move(lblLink->geometry().right() + 1 + Px(1890) - Px(630 + 1200), Label5->y());
    }
    Label3 = new AboutLabel(QStringLiteral("Visit"), this, TwipsRect(270, 2610, 285, 195), true);
    Label1 = new AboutLabel(QStringLiteral("presents"), this, TwipsRect(2640, 390, 780, 240), true);
    Label1->setFont(SansFont(9.75));
    // Etched separator: a grey line with a white line of width 2 one pixel below it.
    Line1[1] = new LineShape(this, 120, 2085, 5585, 2085, 1, QPalette::WindowText);
    lblDescription =
        new AboutLabel(QStringLiteral("Multi-item password array generating tool."), this,
                       TwipsRect(885, 1650, 3945, 450), false, Qt::AlignHCenter | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    lblTitle = new AboutLabel(QStringLiteral("Zintrova"), this, TwipsRect(2220, 870, 1275, 360),
                              true, Qt::AlignHCenter | Qt::AlignTop);
    lblTitle->setFont(SansFont(13.5));
    Line1[0] = new LineShape(this, 120, 2100, 5585, 2100, 2, QPalette::WindowText);
    lblVersion =
        new AboutLabel(QStringLiteral("version number"), this, TwipsRect(2167, 1230, 1380, 240),
                       true, Qt::AlignHCenter | Qt::AlignTop);
    lblVersion->setFont(SansFont(9.75));
    lblDisclaimer =
        new AboutLabel(QStringLiteral("Freeware"), this, TwipsRect(255, 2295, 990, 240), true);
    lblDisclaimer->setFont(SansFont(9.75, true));

    // Fonts changed after creation: size the auto-sizing labels to their fonts.
    for (auto *l : {Label1, lblTitle, lblVersion, lblDisclaimer})
        l->setCaption(l->text());
    // Black text where the window says so; the rest takes the palette's text colour.
    for (QLabel *l : {static_cast<QLabel *>(lblDescription), static_cast<QLabel *>(lblTitle),
                      static_cast<QLabel *>(lblDisclaimer)}) {
        QPalette p = l->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive})
            p.setColor(group, QPalette::WindowText, Qt::black);
        l->setPalette(p);
    }
    {
        QPalette grey = Line1[1]->palette(), white = Line1[0]->palette();
        grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
        white.setColor(QPalette::WindowText, QColor(255, 255, 255));
        Line1[1]->setPalette(grey);
        Line1[0]->setPalette(white);
    }

    // Only the two buttons take the focus, Help first.
    cmHelp->raise();
    cmOK->raise();
    setTabOrder(cmHelp, cmOK);
    cmHelp->setFocus(Qt::OtherFocusReason);

    const std::pair<QObject *, const char *> names[] = {{tmOne, "tmOne"},
                                                        {cmHelp, "cmHelp"},
                                                        {cmOK, "cmOK"},
                                                        {imLogo, "imLogo"},
                                                        {Label5, "Label5"},
                                                        {lblLink, "lblLink"},
                                                        {Label3, "Label3"},
                                                        {Label1, "Label1"},
                                                        {Line1[1], "Line1(1)"},
                                                        {lblDescription, "lblDescription"},
                                                        {lblTitle, "lblTitle"},
                                                        {Line1[0], "Line1(0)"},
                                                        {lblVersion, "lblVersion"},
                                                        {lblDisclaimer, "lblDisclaimer"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QLatin1String(name));

    connect(tmOne, &EventTimer::Timer, this, [this] { tmOne_Timer(); });
    connect(cmHelp, &QPushButton::clicked, this, [this] { cmHelp_Click(); });
    connect(cmOK, &QPushButton::clicked, this, [this] { cmOK_Click(); });
    connect(lblLink, &LinkLabel::Click, this, [this] { lblLink_Click(); });
}

void fmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + QLatin1String(app::Title));
    lblVersion->setCaption(
        QStringLiteral("version %1.%2").arg(app::VersionMajor).arg(app::VersionMinor));
    lblTitle->setCaption(QLatin1String(app::Title));
}

void fmAbout::keyPressEvent(QKeyEvent *e)
{
    // OK is the cancel button: Escape presses it wherever the focus is.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        cmOK->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

QString fmAbout::HelpFilePath(const QString &folder)
{
    QString path = folder;
    if (!path.endsWith(u'/') && !path.endsWith(u'\\')) path += u'/';
    return path + QStringLiteral("Zintrova.chm");
}

void fmAbout::Run(const QString &target, std::int16_t showCode)
{
    (void)showCode;
    const QUrl url =
        QUrl::fromUserInput(target.trimmed(), QDir::currentPath(), QUrl::AssumeLocalFile);
    (void)QDesktopServices::openUrl(url);
}

void fmAbout::cmHelp_Click()
{
    Run(HelpFilePath(QCoreApplication::applicationDirPath()), 1);
    // The window stays open.
}

void fmAbout::cmOK_Click()
{
    accept();
}

void fmAbout::lblLink_Click()
{
    lblLink->setEnabled(false);
    // Restart the 10 seconds from this click.
    tmOne->setEnabled(false);
    tmOne->setEnabled(true);
    cmOK->setFocus(Qt::OtherFocusReason);
    // Let the greyed link paint before the browser starts; a second click that arrives now
    // finds the link disabled.
    QCoreApplication::processEvents();
    Run(QStringLiteral("https://") + QLatin1String(app::WebSite), 1);
}

void fmAbout::tmOne_Timer()
{
    tmOne->setEnabled(false);
    lblLink->setEnabled(true);
}

} // namespace zintrova
