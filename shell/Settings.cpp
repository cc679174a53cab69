// Reading and writing kirelo.ini through the private-profile calls.
#include "shell/Settings.h"

#include "base/Geometry.h"
#include "platform/AppWindow.h"
#include "platform/UiText.h"
#include "resources/ResourceIds.h"
#include "shell/ExitSequence.h"
#include "shell/GlassScale.h"
#include "shell/Program.h"
#include "shell/SettingsPath.h"
#include "shell/ShellWindowState.h"
#include "simulation/SharedState.h"

namespace {
// The file's sections and keys. The names are the file's format and never change: the key of
// "trails hidden" is called PFlag in it.
constexpr char kBackgroundSection[] = "BackBitmapTexture";
constexpr char kBackgroundKey[] = "FileName";
constexpr char kStatusSection[] = "Status";
constexpr char kTrailsHiddenKey[] = "PFlag";
constexpr char kTopmostKey[] = "Window Z_Order";
constexpr char kFrameWaitKey[] = "Wait ON";
constexpr char kSizeKey[] = "Scale";  // 0 or absent: automatic; 1..3 a fixed size

const char* Flag(bool on) {
    return on ? "1" : "0";
}
}  // namespace

void Settings::TickMenuItem(HMENU menu, UINT id, bool ticked) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (ticked ? MF_CHECKED : MF_UNCHECKED));
}

void Settings::Write(const char* section, const char* key, const char* value) const {
    WritePrivateProfileStringA(section, key, value, path_);
}

void Settings::SaveBackground(const char* name) const {
    Write(kBackgroundSection, kBackgroundKey, name);
}

void Settings::SaveTrailsHidden(bool hidden) const {
    Write(kStatusSection, kTrailsHiddenKey, Flag(hidden));
}

void Settings::SaveTopmost(bool topmost) const {
    Write(kStatusSection, kTopmostKey, Flag(topmost));
}

void Settings::SaveFrameWait(bool on) const {
    Write(kStatusSection, kFrameWaitKey, Flag(on));
}

void Settings::SaveSizeChoice(int32_t choice) const {
    char value[2] = {static_cast<char>('0' + choice), '\0'};
    Write(kStatusSection, kSizeKey, value);
}

void Settings::TickSizeChoice(HMENU menu, int32_t choice) {
    for (int32_t c = GlassScale::kAutomatic; c <= GlassScale::kLargestChoice; ++c) {
        TickMenuItem(menu, c == GlassScale::kAutomatic ? IDM_SCALE_AUTO : IDM_SCALE_1 + c - 1,
                     c == choice);
    }
}

void Settings::Load(HWND mainWindow, HINSTANCE instance, MainWindowState& state,
                    SharedState& shared) {
    state.menu.reset(UiText::Menu(IDR_POPUPMENU, UiText::Chosen(), instance));
    const HMENU menu = state.menu.get();

    // GetCurrentDirectoryA reports a directory longer than the buffer by its needed size and
    // leaves the buffer undefined; such a directory gets the relative path.
    char directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    fullPath_ = length > 0 && length < MAX_PATH && ComposeSettingsPath(directory, path_);
    if (!fullPath_) {
        ComposeSettingsPath(nullptr, path_);
    }

    char background[kPathBytes] = {};
    GetPrivateProfileStringA(kBackgroundSection, kBackgroundKey, kBuiltInBackground, background,
                             kPathBytes, path_);
    shared.SetBackgroundFileName(background);

    shared.hideTrails =
        static_cast<int32_t>(GetPrivateProfileIntA(kStatusSection, kTrailsHiddenKey, 0, path_));
    TickMenuItem(menu, IDM_TRAIL_SHOW, shared.hideTrails == 0);
    TickMenuItem(menu, IDM_TRAIL_HIDE, shared.hideTrails != 0);

    state.topmost = GetPrivateProfileIntA(kStatusSection, kTopmostKey, 0, path_) != 0 ? 1 : 0;
    TickMenuItem(menu, IDM_TOPMOST, state.topmost == 1);
    TickMenuItem(menu, IDM_NORMAL, state.topmost == 0);
    // The window stays hidden until the splash ends: mapped now and unmapped again at once, a
    // window manager that reparents it can leave the display driver with a stale idea of where it
    // stands, and the first clicks on the glass go astray. The topmost style set here holds when
    // the window is shown.
    SetWindowPos(mainWindow, state.topmost == 1 ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const bool waitOn = GetPrivateProfileIntA(kStatusSection, kFrameWaitKey, 1, path_) != 0;
    TickMenuItem(menu, IDM_WAIT_ON, waitOn);
    TickMenuItem(menu, IDM_WAIT_OFF, !waitOn);
    shared.frameWaitMs = waitOn ? static_cast<int32_t>(kFrameWaitMs) : 0;

    const UINT size =
        GetPrivateProfileIntA(kStatusSection, kSizeKey, GlassScale::kAutomatic, path_);
    state.sizeChoice = size <= static_cast<UINT>(GlassScale::kLargestChoice)
                           ? static_cast<int32_t>(size)
                           : GlassScale::kAutomatic;
    TickSizeChoice(menu, state.sizeChoice);

    shared.splashDone = 0;
    shared.exitRequested = 0;
    shared.hasFocus = 0;
    shared.colony.ballGrabbed = 0;
    shared.colony.ballFlying = 0;
    state.pointer.panDragging = 0;
    shared.viewY = 0;
    shared.viewX = 0;
    shared.backgroundChanged = 0;
    shared.followBall = 1;
    state.pointer.overRim = 1;
    state.windowShown = 1;
}

void LoadSettings(Program& program) {
    if (program.app) {
        program.settings.Load(program.app->GetHWnd(), program.app->GetInstance(), program.state,
                              program.shared);
    }
}
