// The settings file: read once while the window loads, written every time it unloads. Neither
// routine reports anything; a step that fails is skipped. Where the program's folder cannot be
// written, both use the user's own copy of the file instead; a file its owner made read-only is
// read and never saved (settings/location.h).

#include "mainwindow/fmMain.h"

#include "controls/twips.h"
#include "engine/number.h"
#include "settings/ini_file.h"
#include "settings/location.h"
#include "settings/record.h"

#include <QLineEdit>

namespace zintrova {

namespace {

// Where the window stands when it is neither maximised nor full screen (its outer frame, as
// move() takes it). A minimised window keeps the position it had before.
QPoint NormalPosition(const QWidget &w)
{
    if (w.isMaximized() || w.isFullScreen())
        return w.normalGeometry().topLeft() - (w.geometry().topLeft() - w.pos());
    return w.pos();
}

} // namespace

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
        LoadedPosition = {a->Left, a->Top};
        move(Px(a->Left), Px(a->Top));
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

void fmMain::SaveIni()
{
    settings::Record r;
    if (ReportsWindowPosition(Platform)) {
        const QPoint pos = NormalPosition(*this);
        r.Left = Twips(pos.x());
        r.Top = Twips(pos.y());
    } else { // the window stands where the compositor put it, unknown here: the old place stays
        r.Left = LoadedPosition.x();
        r.Top = LoadedPosition.y();
    }
    for (std::size_t i = 1; i <= 3; ++i)
        r.Set[i - 1] = static_cast<std::int16_t>(cbSet[i]->Value());
    r.Filter = static_cast<std::int16_t>(cbFilter->Value());
    for (std::size_t j = 0; j < 2; ++j)
        r.Len[j] = sldLen[j]->value();
    r.Count = ReadInt16(txNum->text().toStdString());
    const QString target = settings::WritePath(IniFile, settings::CurrentUserEnvironment());
    if (!target.isEmpty())
        settings::WriteRecordFile(target, settings::EncodeRecord(r)); // a failure is not reported
}

} // namespace zintrova
