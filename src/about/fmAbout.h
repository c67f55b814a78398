#pragma once
// The About window: title, version, description, logo and "Freeware", with Help (opens the help
// file beside the program), OK, and a link to the product's web site. It keeps no state beyond
// its controls; the main window creates a fresh one for every showing.

#include "controls/controls.h"

#include <QDialog>
#include <QLabel>
#include <QString>
#include <array>
#include <cstdint>

class QKeyEvent;
class QPushButton;

namespace zintrova {

// A label with a fixed top-left corner that, when AutoSize is on, sizes itself to its caption.
// A centred auto-sizing label keeps its middle where it was placed instead of its left edge.
class AboutLabel : public QLabel {
    Q_OBJECT
public:
    AboutLabel(const QString &caption, QWidget *parent, QRect place, bool autoSize,
               Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);
    void setCaption(const QString &caption);

protected:
    void Fit();

private:
    bool autoSize_;
    int middle_;
};

// A label that raises Click when the mouse is pressed and released over it.
class LinkLabel : public AboutLabel {
    Q_OBJECT
public:
    using AboutLabel::AboutLabel;

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    bool pressed_ = false;
};

class fmAbout : public QDialog {
    Q_OBJECT
public:
    explicit fmAbout(QWidget *parent = nullptr);

    // Opens a document or a web address as the desktop's "open" would. The target is trimmed
    // first; a local path becomes a file URL, an address with a scheme stays as it is. The
    // outcome is not reported: a missing file or an address nobody can open just does nothing.
    // showCode is how the opened window should show (1 normally); the desktop decides that.
    static void Run(const QString &target, std::int16_t showCode);

    // The help file "Zintrova.chm" in the given folder, with exactly one separator before the
    // file name (a root folder already ends in one).
    static QString HelpFilePath(const QString &folder);

    // The help page "Zintrova.html" that belongs to a program in the given folder: beside it, or
    // in ../share/zintrova/ of an installation under a prefix; empty when there is none.
    static QString HelpPagePath(const QString &folder);

    // Opens the help of a program in the given folder: "Zintrova.chm" when it is there and the
    // desktop has something to open it with, otherwise the help page in the browser; with
    // neither, the help file as Run would (nothing visible happens).
    static void OpenHelp(const QString &folder);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void CreateControls();
    void SetUpFrame();
    void PlaceButtonsAndLogo();
    void PlaceLinkSentence();
    void PlaceTitlesAndSeparator();
    void SetUpColours();
    void NameControls();
    void ConnectHandlers();
    void SetTextColours();
    void Form_Load();
    void cmHelp_Click();
    void cmOK_Click();
    void lblLink_Click();
    void tmOne_Timer();

    EventTimer *tmOne = nullptr;
    QPushButton *cmHelp = nullptr;
    QPushButton *cmOK = nullptr;
    QLabel *imLogo = nullptr;
    AboutLabel *Label5 = nullptr;
    LinkLabel *lblLink = nullptr;
    AboutLabel *Label3 = nullptr;
    AboutLabel *Label1 = nullptr;
    std::array<LineShape *, 2> Line1{};
    AboutLabel *lblDescription = nullptr;
    AboutLabel *lblTitle = nullptr;
    AboutLabel *lblVersion = nullptr;
    AboutLabel *lblDisclaimer = nullptr;
};

} // namespace zintrova
