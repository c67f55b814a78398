#pragma once
// The main window. It is the program: loading it starts the program and unloading it ends it.
// Every value that outlives a handler is a member here; the handlers are named after their
// control and event and are spread over several files by concern:
//   fmMain.cpp         load, activation, unload, Exit, and composing a password
//   fmMain_layout.cpp  creating and placing the controls
//   fmMain_keys.cpp    window-level keyboard handling
//   fmMain_sets.cpp    the character-set and filter check boxes
//   fmMain_sliders.cpp the length range sliders
//   fmMain_count.cpp   the password count: its text box, spinner and auto-repeat
//   fmMain_copy.cpp    copying to the clipboard
//   fmMain_about.cpp   the "?" button: the About window
//   fmMain_settings.cpp the settings file
// Only the window lives in this folder. The widget adapters that give Qt's controls the events
// and properties the handlers expect are in controls/, the clipboard and the program's pictures in
// desktop/, and the program's start and the end of the desktop session in app/.

#include "controls/controls.h"
#include "controls/textbox.h"
#include "controls/trackslider.h"
#include "controls/updown.h"
#include "desktop/clipboard.h"
#include "engine/charsets.h"
#include "engine/random_source.h"
#include "settings/record.h"

#include <QPoint>
#include <QString>
#include <QStringView>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QLineEdit;

namespace zintrova {

class KeyPreview;

// The values of fmMain's busy flag Busy: the multi-step operation under way. The handlers that
// start work do nothing while it is not Idle; only GeneratePass looks for Composing alone.
namespace busy {
inline constexpr std::int16_t Idle = 0;
inline constexpr std::int16_t ApplyingSettings = -2; // LoadIni puts the saved values in
inline constexpr std::int16_t Composing = -1;        // a GeneratePass runs
inline constexpr std::int16_t SingleCopy = 1;        // the password on show goes to the clipboard
inline constexpr std::int16_t BatchCopy = 2;         // a batch, up to the end of its "Done"
} // namespace busy

// The values of fmMain's PushState, the coupling of the two length sliders: free, stopped (the
// moved thumb held at the other's value) or pushing (the next crossing moves the other along).
namespace push {
inline constexpr std::int16_t Free = 0, Stopped = 1, Pushing = 2;
} // namespace push

// Whether the window system on the platform of that name (as Qt gives it) tells a program where
// its window stands. Native Wayland ("wayland" and its variants such as "wayland-egl") does not:
// the compositor places the window, and the program reads 0, 0.
bool ReportsWindowPosition(QStringView platformName);

class fmMain : public QWidget {
    Q_OBJECT
public:
    explicit fmMain(QWidget *parent = nullptr);
    ~fmMain() override;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void moveEvent(QMoveEvent *e) override;

private:
    friend struct fmMainProbe; // lets the tests look inside

    // --- lifecycle (fmMain.cpp)
    void Form_Load();
    void Form_Activate();
    // Cancel is never set: unloading always proceeds.
    void Form_Unload(std::int16_t &Cancel);
    void cmExit_Click();

    // --- layout (fmMain_layout.cpp)
    void CreateControls();
    void SetUpFrame();
    void PlaceCountAndCopy();
    void PlaceBoxesAndGenerate();
    void PlaceSlidersAndPassword();
    void NameControls();
    void ConnectHandlers();

    // --- keyboard (fmMain_keys.cpp)
    void Form_KeyDown(int &KeyCode, int Shift);
    void Form_KeyPress(int &KeyAscii);
    void Form_KeyUp(int &KeyCode, int Shift);

    // --- character sets and composer (fmMain_sets.cpp)
    void InitSets();
    void BuildPool();
    void GeneratePass();
    // Whether GeneratePass would compose a password now.
    bool CanCompose() const;
    void cbSet_Click(std::int16_t Index);
    void cbFilter_Click();
    void cmGen_Click();

    // --- length range sliders (fmMain_sliders.cpp)
    void ShowLimits();
    void sldLen_Change(std::int16_t Index);
    void sldLen_Scroll(std::int16_t Index);
    void sldLen_MouseDown(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                          float Y);
    void sldLen_MouseUp(std::int16_t Index, std::int16_t Button, std::int16_t Shift, float X,
                        float Y);
    void sldLen_KeyDown(std::int16_t Index, int &KeyCode, int Shift);
    void sldLen_KeyUp(std::int16_t Index, int &KeyCode, int Shift);
    void sldLen_GotFocus(std::int16_t Index);

    // --- count entry (fmMain_count.cpp)
    std::int16_t ReadCount() const;
    QColor CountBackColor(std::int16_t n) const;
    void SetCountColours(const QColor &back);
    void ApplyColours();
    void txNum_Change();
    void txNum_KeyPress(int &KeyAscii);
    void txNum_KeyDown(int &KeyCode, int Shift);
    void txNum_KeyUp(int &KeyCode, int Shift);
    void txNum_GotFocus();
    void txNum_LostFocus();
    void txNum_DblClick();
    void spNum_Change();
    void spNum_UpClick();
    void spNum_DownClick();
    void spNum_MouseDown(int Button, int Shift, float X, float Y);
    void spNum_MouseUp(int Button, int Shift, float X, float Y);
    void tmSpin_Timer();

    // --- clipboard copy (fmMain_copy.cpp)
    void cmCopy_Click();
    void CopySingle(bool noticeShown);
    bool CopyBatch(int count);
    void tmTimer_Timer();
    void CopyShortcut(int KeyCode);
    void lbPass_Change();

    // --- settings file (fmMain_settings.cpp)
    void LoadIni();
    // The record SaveIni would write now.
    settings::Record CurrentRecord() const;
    // Keeps the record of the window as it is now pending, for an end that leaves no time to
    // save (settings/pending_record.h); runs after every change of a saved value or the place.
    void KeepRecordPending();
    void KeepRecordPendingOnChanges();
    // Moves the window, frame included, wholly onto a screen if it is not (desktop/placement.h).
    void KeepOnScreen();

    // --- About window (fmMain_about.cpp)
    void cmHelp_Click();

public:
    // Writes the settings file. The unload handler calls it, and so does the end of the
    // desktop session.
    void SaveIni();

    // The controls, reachable by name as on a designed form (the tests drive them). cbSet is
    // indexed 1..3 like the character sets; entry 0 is unused.
    std::array<ValueCheckBox *, 4> cbSet{};
    ValueCheckBox *cbFilter = nullptr;
    std::array<TrackSlider *, 2> sldLen{};
    ChangeLabel *lbLimits = nullptr;
    ChangeLabel *lbPass = nullptr;
    CommandButton *cmGen = nullptr;
    TextBox *txNum = nullptr;
    UpDown *spNum = nullptr;
    EventTimer *tmSpin = nullptr;
    CommandButton *cmCopy = nullptr;
    RectShape *shCopy = nullptr;
    EventTimer *tmTimer = nullptr;
    CommandButton *cmExit = nullptr;
    CommandButton *cmHelp = nullptr;
    std::array<LineShape *, 4> lnTick{};

private:
    // Window state, in declaration order.
    std::int16_t PushState = push::Free;
    std::int16_t SpinDir = 0;
    std::int16_t SpinExtra = 0;
    std::int16_t Busy = busy::Idle;
    QString IniFile;
    SetArray BaseSet;
    SimilarTable Similar;
    std::string Exclude;
    SetArray UseSet;
    std::string Pool;
    std::int16_t MinPerSet = 0;
    std::int16_t PendingKey = 0;
    // Digits typed after PendingKey, before the count box's GotFocus has run (fast typing, or
    // keys that arrive together): typed in after it, in order.
    QString FollowingKeys;
    bool CountFocusDue = false;
    // Kept by single handlers between calls.
    std::array<std::int16_t, 2> LastLen{};
    std::int16_t LastNum = 0;
    // The count parsed from txNum, with 0 replaced by 1.
    std::int16_t CountValue = 1;
    // The window's position from the settings file, in twips; none without a settings record.
    std::optional<QPoint> LoadedPosition;
    // Where the window's frame last stood neither maximised nor full screen, in pixels. A
    // minimised window keeps the position it had before.
    std::optional<QPoint> NormalPlace;
    // The name of the platform the window runs on. Where that platform does not report the
    // window's position, saving writes back the position that was loaded.
    QString Platform;

    // Where the composer draws from: the program's one secure source.
    RandomSource *Random = &ProgramRandom();
    // Where copies go: the program's clipboard.
    Clipboard *Clip = &ProgramClipboard();

    KeyPreview *keyPreview_ = nullptr;
    bool unloaded_ = false;
    // The window has been checked, with the frame the window manager gave it, to be on a screen.
    bool placed_ = false;
    // The last GeneratePass had a pool but no secure random numbers, so it showed no password.
    bool randomFailed_ = false;
};

} // namespace zintrova
