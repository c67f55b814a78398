#include "mainwindow/fmMain.h"

#include "controls/contrast.h"
#include "controls/keyboard.h"
#include "engine/number.h"
#include "settings/pending_record.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>

namespace zintrova {

fmMain::fmMain(QWidget *parent) : QWidget(parent), Platform(QGuiApplication::platformName())
{
    CreateControls();
    keyPreview_ = new KeyPreview(this, {[this](int &k, int s) { Form_KeyDown(k, s); },
                                        [this](int &a) { Form_KeyPress(a); },
                                        [this](int &k, int s) { Form_KeyUp(k, s); }});
    Form_Load();
    // The count box's colours follow a change of the colour scheme.
    const auto applyColours = [this] { ApplyColours(); };
    new SchemeWatch({this, txNum}, applyColours, this);
    sldLen[0]->setFocus(Qt::OtherFocusReason); // first in the tab order
}

fmMain::~fmMain()
{
    settings::DropPendingRecord(); // a window that is gone has nothing left to save
}

void fmMain::Form_Load()
{
    lbPass->setCaption(QString());
    // The secure source needs no seeding: ProgramRandom() reads the operating system's generator.
    InitSets();
    LoadIni();
    GeneratePass();
    Busy = busy::Idle;
    if (ReadInt16(txNum->text().toStdString()) == 0) txNum->setText(QStringLiteral("1"));
    KeepRecordPendingOnChanges();
}

bool fmMain::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate) {
        // By the first activation the window manager has framed the window.
        if (!placed_) KeepOnScreen();
        Form_Activate();
    }
    return QWidget::event(e);
}

void fmMain::Form_Activate()
{
    const QPalette &p = palette();
    if (const auto c = ContrastForeColor(p.color(QPalette::Button).rgb(),
                                         p.color(QPalette::HighlightedText).rgb()))
        lbLimits->setForeColor(QColor::fromRgb(*c));
}

void fmMain::closeEvent(QCloseEvent *e)
{
    std::int16_t Cancel = 0;
    if (!unloaded_) Form_Unload(Cancel);
    unloaded_ = true;
    // A closed window's timers tick no more; a batch under way sees unloaded_ and stops.
    tmTimer->setEnabled(false);
    tmSpin->setEnabled(false);
    e->accept();
}

void fmMain::Form_Unload(std::int16_t &Cancel)
{
    (void)Cancel; // unloading always proceeds
    SaveIni();
    settings::DropPendingRecord();
}

void fmMain::cmExit_Click()
{
    if (Busy != busy::Idle) return;
    close();
}

} // namespace zintrova
