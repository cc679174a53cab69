// Reading and writing kirelo.ini through the private-profile calls.
#include "shell/Settings.h"

#include "imaging/AppWindow.h"
#include "resources/ResourceIds.h"
#include "shell/SettingsPath.h"
#include "shell/ExitSequence.h"
#include "shell/PointerState.h"
#include "shell/ShellWindowState.h"
#include "simulation/SharedState.h"

bool Settings::fullPath_ = false;

namespace {
constexpr char kBackgroundSection[] = "BackBitmapTexture";
constexpr char kStatusSection[] = "Status";
constexpr int kWaitOnMs = 80;
}  // namespace

void Settings::Check(UINT id, bool checked) {
    CheckMenuItem(AppMenu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Settings::Write(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, SettingsPath);
}

bool Settings::FullPath() {
    return fullPath_;
}

void Settings::Load(HWND mainWindow, HINSTANCE instance) {
    AppMenu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_POPUPMENU));

    // GetCurrentDirectoryA reports a directory longer than the buffer by its needed size and
    // leaves the buffer undefined; such a directory gets the relative path.
    char directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    fullPath_ = length > 0 && length < MAX_PATH && ComposeSettingsPath(directory, SettingsPath);
    if (!fullPath_) {
        ComposeSettingsPath(nullptr, SettingsPath);
    }

    char background[kPathBytes] = {};
    GetPrivateProfileStringA(kBackgroundSection, "FileName", "Resource", background, kPathBytes,
                             SettingsPath);
    SetBackgroundFileName(background);

    HideTrails =
        static_cast<int32_t>(GetPrivateProfileIntA(kStatusSection, "PFlag", 0, SettingsPath));
    Check(IDM_TRAIL_SHOW, HideTrails == 0);
    Check(IDM_TRAIL_HIDE, HideTrails != 0);

    Topmost = GetPrivateProfileIntA(kStatusSection, "Window Z_Order", 0, SettingsPath) != 0 ? 1 : 0;
    Check(IDM_TOPMOST, Topmost == 1);
    Check(IDM_NORMAL, Topmost == 0);
    // The window stays hidden until the splash ends: mapped now and unmapped again at once, a
    // window manager that reparents it can leave the display driver with a stale idea of where it
    // stands, and the first clicks on the glass go astray. The topmost style set here holds when
    // the window is shown.
    SetWindowPos(mainWindow, Topmost == 1 ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    const bool waitOn = GetPrivateProfileIntA(kStatusSection, "Wait ON", 1, SettingsPath) != 0;
    Check(IDM_WAIT_ON, waitOn);
    Check(IDM_WAIT_OFF, !waitOn);
    FrameWaitMs = waitOn ? kWaitOnMs : 0;

    SplashDone = 0;
    ExitRequested = 0;
    HasFocus = 0;
    BallGrabbed = 0;
    BallFlying = 0;
    PanDragging = 0;
    ViewY = 0;
    ViewX = 0;
    BackgroundChanged = 0;
    FollowBall = 1;
    PointerOverRim = 1;
    WindowShown = 1;
}

void LoadSettings() {
    if (TheAppWindow != nullptr) {
        Settings::Load(TheAppWindow->GetHWnd(), TheAppWindow->GetInstance());
    }
}
