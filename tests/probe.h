#pragma once
// Test access to the main window's state and controls.

#include "mainwindow/fmMain.h"

#include <QLineEdit>

namespace zintrova {

struct fmMainProbe {
    fmMain &w;
    std::int16_t &Busy() { return w.Busy; }
    std::int16_t &PushState() { return w.PushState; }
    std::int16_t &PendingKey() { return w.PendingKey; }
    std::array<std::int16_t, 2> &LastLen() { return w.LastLen; }
    std::int16_t &MinPerSet() { return w.MinPerSet; }
    std::int16_t &CountValue() { return w.CountValue; }
    std::string &Pool() { return w.Pool; }
    SetArray &UseSet() { return w.UseSet; }
    RandomSource *&Random() { return w.Random; }
    ValueCheckBox *cbSet(int k) { return w.cbSet[k]; }
    ValueCheckBox *cbFilter() { return w.cbFilter; }
    TrackSlider *sldLen(int i) { return w.sldLen[i]; }
    ChangeLabel *lbLimits() { return w.lbLimits; }
    ChangeLabel *lbPass() { return w.lbPass; }
    CommandButton *cmGen() { return w.cmGen; }
    CommandButton *cmCopy() { return w.cmCopy; }
    CommandButton *cmExit() { return w.cmExit; }
    CommandButton *cmHelp() { return w.cmHelp; }
    TextBox *txNum() { return w.txNum; }
    UpDown *spNum() { return w.spNum; }
    RectShape *shCopy() { return w.shCopy; }
    LineShape *lnTick(int i) { return w.lnTick[i]; }
    LineShape *Line2() { return w.Line2; }
    const QString &IniFile() { return w.IniFile; }
    void GeneratePass() { w.GeneratePass(); }
    // count entry and copy
    std::int16_t &SpinDir() { return w.SpinDir; }
    std::int16_t &SpinExtra() { return w.SpinExtra; }
    std::int16_t &LastNum() { return w.LastNum; }
    EventTimer *tmSpin() { return w.tmSpin; }
    EventTimer *tmTimer() { return w.tmTimer; }
    Clipboard *&Clip() { return w.Clip; }
    void cmCopy_Click() { w.cmCopy_Click(); }
    void Form_Activate() { w.Form_Activate(); }
};

} // namespace zintrova
