// Reading and writing kirelo.ini through the private-profile calls.
#include "shell/Settings.h"

#include "base/Geometry.h"
#include "platform/AppWindow.h"
#include "platform/UiText.h"
#include "resources/ResourceIds.h"
#include "shell/ExitSequence.h"
#include "shell/GlassScale.h"
#include "shell/ProgramInstances.h"
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

// Written once by Load, before the simulation thread starts (which saves a replaced background
// through ShellReports); only read afterwards.
char g_path[kSettingsPathBytes] = {};
bool g_fullPath = false;

const char* Flag(bool on) {
    return on ? "1" : "0";
}
}  // namespace

void Settings::TickMenuItem(UINT id, bool ticked) {
    CheckMenuItem(ShellState.menu.get(), id, MF_BYCOMMAND | (ticked ? MF_CHECKED : MF_UNCHECKED));
}

void Settings::Write(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, g_path);
}

void Settings::SaveBackground(const char* name) {
    Write(kBackgroundSection, kBackgroundKey, name);
}

void Settings::SaveTrailsHidden(bool hidden) {
    Write(kStatusSection, kTrailsHiddenKey, Flag(hidden));
}

void Settings::SaveTopmost(bool topmost) {
    Write(kStatusSection, kTopmostKey, Flag(topmost));
}

void Settings::SaveFrameWait(bool on) {
    Write(kStatusSection, kFrameWaitKey, Flag(on));
}

void Settings::SaveSizeChoice(int32_t choice) {
    char value[2] = {static_cast<char>('0' + choice), '\0'};
    Write(kStatusSection, kSizeKey, value);
}

void Settings::TickSizeChoice(int32_t choice) {
    for (int32_t c = GlassScale::kAutomatic; c <= GlassScale::kLargestChoice; ++c) {
        TickMenuItem(c == GlassScale::kAutomatic ? IDM_SCALE_AUTO : IDM_SCALE_1 + c - 1,
                     c == choice);
    }
}

const char* Settings::Path() {
    return g_path;
}

bool Settings::FullPath() {
    return g_fullPath;
}

void Settings::Load(HWND mainWindow, HINSTANCE instance) {
    ShellState.menu.reset(UiText::Menu(IDR_POPUPMENU, UiText::Chosen(), instance));

    // GetCurrentDirectoryA reports a directory longer than the buffer by its needed size and
    // leaves the buffer undefined; such a directory gets the relative path.
    char directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    g_fullPath = length > 0 && length < MAX_PATH && ComposeSettingsPath(directory, g_path);
    if (!g_fullPath) {
        ComposeSettingsPath(nullptr, g_path);
    }

    char background[kPathBytes] = {};
    GetPrivateProfileStringA(kBackgroundSection, kBackgroundKey, kBuiltInBackground, background,
                             kPathBytes, g_path);
    Shared.SetBackgroundFileName(background);

    Shared.hideTrails =
        static_cast<int32_t>(GetPrivateProfileIntA(kStatusSection, kTrailsHiddenKey, 0, g_path));
    TickMenuItem(IDM_TRAIL_SHOW, Shared.hideTrails == 0);
    TickMenuItem(IDM_TRAIL_HIDE, Shared.hideTrails != 0);

    ShellState.topmost = GetPrivateProfileIntA(kStatusSection, kTopmostKey, 0, g_path) != 0 ? 1 : 0;
    TickMenuItem(IDM_TOPMOST, ShellState.topmost == 1);
    TickMenuItem(IDM_NORMAL, ShellState.topmost == 0);
    // The window stays hidden until the splash ends: mapped now and unmapped again at once, a
    // window manager that reparents it can leave the display driver with a stale idea of where it
    // stands, and the first clicks on the glass go astray. The topmost style set here holds when
    // the window is shown.
    SetWindowPos(mainWindow, ShellState.topmost == 1 ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const bool waitOn = GetPrivateProfileIntA(kStatusSection, kFrameWaitKey, 1, g_path) != 0;
    TickMenuItem(IDM_WAIT_ON, waitOn);
    TickMenuItem(IDM_WAIT_OFF, !waitOn);
    Shared.frameWaitMs = waitOn ? static_cast<int32_t>(kFrameWaitMs) : 0;

    const UINT size =
        GetPrivateProfileIntA(kStatusSection, kSizeKey, GlassScale::kAutomatic, g_path);
    ShellState.sizeChoice = size <= static_cast<UINT>(GlassScale::kLargestChoice)
                                ? static_cast<int32_t>(size)
                                : GlassScale::kAutomatic;
    TickSizeChoice(ShellState.sizeChoice);

    Shared.splashDone = 0;
    Shared.exitRequested = 0;
    Shared.hasFocus = 0;
    Shared.colony.ballGrabbed = 0;
    Shared.colony.ballFlying = 0;
    ShellState.pointer.panDragging = 0;
    Shared.viewY = 0;
    Shared.viewX = 0;
    Shared.backgroundChanged = 0;
    Shared.followBall = 1;
    ShellState.pointer.overRim = 1;
    ShellState.windowShown = 1;
}

void LoadSettings() {
    if (TheAppWindow != nullptr) {
        Settings::Load(TheAppWindow->GetHWnd(), TheAppWindow->GetInstance());
    }
}
