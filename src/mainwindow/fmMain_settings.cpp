// The settings file: read once while the window loads, written every time it unloads. Neither
// routine reports anything; a step that fails is skipped. Where the program's folder cannot be
// written, both use the user's own copy of the file instead; a file its owner made read-only is
// read and never saved (settings/location.h).

#include "mainwindow/fmMain.h"

#include "controls/twips.h"
#include "desktop/placement.h"
#include "engine/number.h"
#include "settings/ini_file.h"
#include "settings/location.h"
#include "settings/pending_record.h"
#include "settings/record.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMoveEvent>
#include <QScreen>
#include <QStyle>

namespace zintrova {

bool ReportsWindowPosition(QStringView platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}

void fmMain::LoadIni()
{
    IniFile = settings::IniPath(settings::SettingsFolder());
    const std::string record =
        settings::ReadRecordFile(settings::ReadPath(IniFile, settings::CurrentUserEnvironment()));
    // The boxes' click handlers stay quiet while the saved values go in.
    Busy = busy::ApplyingSettings;
    if (const auto a = settings::ToApply(record)) {
        LoadedPosition = QPoint(a->Left, a->Top);
        // The frame is not known before the window is shown: until then, the window alone.
        const QPoint saved(Px(a->Left), Px(a->Top));
        move(ReportsWindowPosition(Platform)
                 ? PlaceOnScreens(QRect(saved, size()), AvailableAreas())
                 : saved);
        for (std::size_t i = 1; i <= 3; ++i)
            if (a->Set[i - 1]) cbSet[i]->setValue(*a->Set[i - 1]);
        if (a->Filter) cbFilter->setValue(*a->Filter);
        // Each runs the slider's change handling, which rewrites the range label and may compose.
        for (std::size_t j = 0; j < 2; ++j)
            sldLen[j]->setValue(a->Len[j]);
        txNum->setText(QString::number(a->Count)); // runs the count's change handling
    }
    Busy = busy::Idle;
}

void fmMain::KeepOnScreen()
{
    placed_ = true;
    if (!LoadedPosition || !ReportsWindowPosition(Platform)) return; // the window system placed it
    const QRect frame = frameGeometry();
    const QPoint place = PlaceOnScreens(frame, AvailableAreas());
    if (place != frame.topLeft()) move(place);
}

settings::Record fmMain::CurrentRecord() const
{
    settings::Record r;
    if (ReportsWindowPosition(Platform)) {
        // Maximised or full screen, the place to come back to is where the frame stood before.
        const bool normal = !isMaximized() && !isFullScreen();
        const QPoint pos = normal || !NormalPlace ? this->pos() : *NormalPlace;
        r.Left = Twips(pos.x());
        r.Top = Twips(pos.y());
    } else if (LoadedPosition) {
        // The window stands where the compositor put it, unknown here: the old place stays.
        r.Left = LoadedPosition->x();
        r.Top = LoadedPosition->y();
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // Never placed by the program: where a window manager puts a new window, centred on the
        // primary screen's free area, so that a start on X11 does not open it in the corner.
        const QPoint centred =
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frameGeometry().size(),
                                screen->availableGeometry())
                .topLeft();
        r.Left = Twips(centred.x());
        r.Top = Twips(centred.y());
    }
    for (std::size_t i = 1; i <= 3; ++i)
        r.Set[i - 1] = static_cast<std::int16_t>(cbSet[i]->Value());
    r.Filter = static_cast<std::int16_t>(cbFilter->Value());
    for (std::size_t j = 0; j < 2; ++j)
        r.Len[j] = sldLen[j]->value();
    r.Count = ReadInt16(txNum->text().toStdString());
    return r;
}

void fmMain::SaveIni()
{
    const std::string line = settings::EncodeRecord(CurrentRecord());
    const QString target = settings::WritePath(IniFile, settings::CurrentUserEnvironment());
    if (!target.isEmpty()) settings::WriteRecordFile(target, line); // a failure is not reported
}

void fmMain::KeepRecordPending()
{
    if (!unloaded_) settings::KeepPendingRecord(settings::EncodeRecord(CurrentRecord()), IniFile);
}

void fmMain::KeepRecordPendingOnChanges()
{
    // Connected after the handlers, so that each runs once the change's handling is done.
    const auto keep = [this] { KeepRecordPending(); };
    for (std::size_t i = 1; i <= 3; ++i)
        connect(cbSet[i], &ValueCheckBox::Click, this, keep);
    connect(cbFilter, &ValueCheckBox::Click, this, keep);
    for (TrackSlider *slider : sldLen)
        connect(slider, &TrackSlider::valueChanged, this, keep);
    connect(txNum, &QLineEdit::textChanged, this, keep);
    KeepRecordPending();
}

void fmMain::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    if (!isMaximized() && !isFullScreen()) NormalPlace = pos();
    KeepRecordPending();
}

} // namespace zintrova
