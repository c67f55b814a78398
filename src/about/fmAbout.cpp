#include "about/fmAbout.h"

#include "controls/fonts.h"
#include "controls/twips.h"
#include "desktop/artwork.h"
#include "version.h"

#include "controls/contrast.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

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

namespace {

// What a screen reader sees of the web link: a link, named by its address, that can be pressed.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) {}
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name != pressAction()) return QAccessibleWidget::doAction(name);
        if (widget()->isEnabled()) emit static_cast<LinkLabel *>(widget())->Click();
    }
};

QAccessibleInterface *LinkAccessibility(const QString &, QObject *object)
{
    auto *link = qobject_cast<LinkLabel *>(object);
    return link ? new LinkAccessible(link) : nullptr;
}

void SetTextColour(QLabel *label, const QColor &c)
{
    QPalette p = label->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::WindowText, c);
    label->setPalette(p);
}

} // namespace

fmAbout::fmAbout(QWidget *parent) : QDialog(parent)
{
    static const bool accessible = (QAccessible::installFactory(LinkAccessibility), true);
    (void)accessible;
    CreateControls();
    Form_Load();
}

// The window's frame and its controls in the order of the layout table, their colours, names
// and handlers.
void fmAbout::CreateControls()
{
    SetUpFrame();
    PlaceButtonsAndLogo();
    PlaceLinkSentence();
    PlaceTitlesAndSeparator();
    SetUpColours();
    NameControls();
    ConnectHandlers();
}

// The title, a fixed dialog frame of the layout's size, the icon and the default font.
void fmAbout::SetUpFrame()
{
    setWindowTitle(QStringLiteral("About Zintrova"));
    // A fixed dialog frame: a title bar with a close box, no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Px(5730), Px(3330));
    setWindowIcon(AboutIcon());
    setFont(SansFont(8.25));
}

// The link's timer, Help and OK, and the logo.
void fmAbout::PlaceButtonsAndLogo()
{
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
}

// The link sentence: "Visit", the address, "for other freewares."
void fmAbout::PlaceLinkSentence()
{
    Label5 = new AboutLabel(QStringLiteral("for other freewares."), this,
                            TwipsRect(1890, 2610, 1365, 195), true);
    lblLink =
        new LinkLabel(QLatin1String(app::WebSite), this, TwipsRect(630, 2610, 1200, 195), false);
    {
        QFont underlined = SansFont(8.25);
        underlined.setUnderline(true);
        lblLink->setFont(underlined);
        lblLink->setCursor(HandCursor());
        lblLink->resize(lblLink->sizeHint());
    }
    Label3 = new AboutLabel(QStringLiteral("Visit"), this, TwipsRect(270, 2610, 285, 195), true);
    {
        // The sentence reads from the widths of its words in the font actually used: the address
        // starts at its place unless "Visit" ends too close to it, and, the address being
        // configurable, "for other freewares." follows it at the usual gap; never less than a
        // blank apart.
        const int blank = Label3->fontMetrics().horizontalAdvance(u' ');
        lblLink->move(std::max(lblLink->x(), Label3->geometry().right() + 1 + blank), lblLink->y());
        Label5->move(lblLink->geometry().right() + 1 + std::max(blank, Px(1890) - Px(630 + 1200)),
                     Label5->y());
    }
}

// "presents", the description, the title, the version and "Freeware", and the etched line.
void fmAbout::PlaceTitlesAndSeparator()
{
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
}

// The texts' colours, chosen again when the colour scheme changes, and the separator's grey and
// white.
void fmAbout::SetUpColours()
{
    SetTextColours();
    const auto setTextColours = [this] { SetTextColours(); };
    new SchemeWatch({this, lblDescription, lblTitle, lblDisclaimer, lblLink}, setTextColours, this);
    {
        QPalette grey = Line1[1]->palette(), white = Line1[0]->palette();
        grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
        white.setColor(QPalette::WindowText, QColor(255, 255, 255));
        Line1[1]->setPalette(grey);
        Line1[0]->setPalette(white);
    }
}

// The focus order, the controls' own names and what a screen reader says of the link.
void fmAbout::NameControls()
{
    // The buttons lie above the labels; only they take the focus, Help first.
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

    lblLink->setAccessibleDescription(QStringLiteral("Opens the web site in the browser"));
}

// Each control's events to the window's handlers.
void fmAbout::ConnectHandlers()
{
    connect(tmOne, &EventTimer::Timer, this, [this] { tmOne_Timer(); });
    connect(cmHelp, &QPushButton::clicked, this, [this] { cmHelp_Click(); });
    connect(cmOK, &QPushButton::clicked, this, [this] { cmOK_Click(); });
    connect(lblLink, &LinkLabel::Click, this, [this] { lblLink_Click(); });
}

// Black text and a blue link where the window says so, as long as they read on the window's
// background; on a dark one the palette's text and link colours, or a lighter blue. The rest takes
// the palette's text colour. A disabled link keeps the palette's grey text.
void fmAbout::SetTextColours()
{
    const QPalette &pal = palette();
    const QRgb face = pal.color(QPalette::Window).rgb();
    const QRgb text = ReadableOn(face, {qRgb(0, 0, 0), pal.color(QPalette::WindowText).rgb()});
    for (QLabel *l : {static_cast<QLabel *>(lblDescription), static_cast<QLabel *>(lblTitle),
                      static_cast<QLabel *>(lblDisclaimer)})
        SetTextColour(l, QColor::fromRgb(text));
    SetTextColour(
        lblLink, QColor::fromRgb(ReadableOn(face, {qRgb(0, 0, 192), pal.color(QPalette::Link).rgb(),
                                                   qRgb(128, 170, 255)})));
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

QString fmAbout::HelpPagePath(const QString &folder)
{
    for (const char *place : {"/Zintrova.html", "/../share/zintrova/Zintrova.html"}) {
        const QFileInfo page(folder + QLatin1String(place));
        if (page.isFile()) return QDir::cleanPath(page.absoluteFilePath());
    }
    return {};
}

namespace {

// Whether the desktop has a program for the file's type. Where the desktop opens files through
// xdg-open, which starts in the background and reports nothing back, ask xdg-mime beforehand;
// without xdg-mime there is no xdg-open either.
bool DesktopCanOpen(const QString &path)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name()});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
#else
    (void)path;
    return true;
#endif
}

} // namespace

void fmAbout::OpenHelp(const QString &folder)
{
    const QString chm = HelpFilePath(folder), page = HelpPagePath(folder);
    if (page.isEmpty()) return Run(chm, 1); // a missing help file just does nothing visible
    if (QFileInfo::exists(chm) && DesktopCanOpen(chm) &&
        QDesktopServices::openUrl(QUrl::fromLocalFile(chm)))
        return;
    Run(page, 1);
}

void fmAbout::cmHelp_Click()
{
    OpenHelp(QCoreApplication::applicationDirPath());
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
