// The tray icon record and its two reactions, both on the button press.
#include "shell/TrayIcon.h"

#include <memory>
#include <string>

#include "platform/AppWindow.h"
#include "platform/UiText.h"
#include "platform/WideText.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "resources/TextIds.h"
#include "shell/ExitSequence.h"
#include "shell/Program.h"

namespace {
constexpr UINT kTrayIconId = 1;

// The tray menu opens after a click on the shell's tray window, which is another program's; where
// the shell keeps the keyboard focus there (Wine under a window manager that never hears which
// window is active), the menu's loop never sees Escape and the shell takes it instead. The
// low-level hook sees every key of the desktop in this thread while the menu's loop pumps, so
// Escape ends the menu here and goes no further; every other key passes on.
// The menu ends on Escape's release, not its press: the keys reach Wine through the tray's
// connection to the display, and the glass, focused again as the menu goes, reads the keyboard
// afresh through its own. Closed on the press, the glass can read Escape as still down, and the
// next frame would take that for the end of the run.
LRESULT CALLBACK EndTrayMenuOnEscape(int code, WPARAM message, LPARAM info) {
    if (code == HC_ACTION && reinterpret_cast<const KBDLLHOOKSTRUCT*>(info)->vkCode == VK_ESCAPE) {
        if (message == WM_KEYUP || message == WM_SYSKEYUP) {
            EndMenu();
        }
        return 1;
    }
    return CallNextHookEx(nullptr, code, message, info);
}
}  // namespace

TrayIcon::TrayIcon(HWND window, HINSTANCE instance)
    : icon_(static_cast<HICON>(
          LoadImageA(instance, MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR))) {
    // The first layout of the record: every shell understands it.
    data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = WM_TRAYNOTIFY;
    data_.hIcon = icon_.get();
    // Wide: the ANSI record would show the tip in the system's code page.
    const std::wstring tip = UiText::Text(IDS_TRAY_TIP);
    tip.copy(data_.szTip, sizeof(data_.szTip) / sizeof(data_.szTip[0]) - 1);
}

BOOL TrayIcon::Add() {
    return Shell_NotifyIconW(NIM_ADD, &data_);
}

BOOL TrayIcon::Remove() {
    return Shell_NotifyIconW(NIM_DELETE, &data_);
}

void AddTrayIcon(Program& program) {
    if (!program.app) {
        return;
    }
    program.trayIcon.reset();
    program.trayIcon =
        std::make_unique<TrayIcon>(program.app->GetHWnd(), program.app->GetInstance());
    program.trayIcon->Add();
}

void ShowMagnifier(MainWindowState& state, HWND window) {
    // In front of every window first, then back among the others unless it stays on top: Wine
    // restacks a window on the screen only when none of its own visible windows stands above it.
    // The stray ant is owned by the glass and comes along above it, so while the ant is out the
    // glass is shown but stays under other programs' windows on a managed desktop.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    if (state.topmost != 1) {
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    SetForegroundWindow(window);
    state.windowShown = 1;
}

namespace {
// The tray reports the logical right button; the key state knows the physical ones.
bool RightButtonHeld() {
    const int button = GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_LBUTTON : VK_RBUTTON;
    return (GetAsyncKeyState(button) & 0x8000) != 0;
}

void OpenTrayMenu(MainWindowState& state, HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    state.pointer.overRim = 1;
    // A menu closes with Escape or a click elsewhere only when its owner is the foreground
    // window; the posted message lets the menu's loop end cleanly once it closes.
    SetForegroundWindow(window);
    {
        UniqueHook escape(
            SetWindowsHookExW(WH_KEYBOARD_LL, &EndTrayMenuOnEscape, GetModuleHandleW(nullptr), 0));
        TrackPopupMenu(GetSubMenu(state.menu.get(), 0), TrayMenuFlags(), cursor.x, cursor.y, 0,
                       window, nullptr);
    }
    PostMessageA(window, WM_NULL, 0, 0);
}
}  // namespace

UINT TrayMenuFlags() {
    const UINT side = GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    return TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | side;
}

void HandleTrayNotify(Program& program, HWND window, WPARAM iconId, LPARAM mouseMessage) {
    MainWindowState& state = program.state;
    if (iconId != kTrayIconId) {
        return;
    }
    if (mouseMessage == WM_LBUTTONDOWN) {
        if (state.windowShown == 1 || program.shared.hasFocus == 1) {
            ShowWindow(window, SW_HIDE);
            state.windowShown = 0;
        } else {
            ShowMagnifier(state, window);
        }
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        // The menu opens on the press, unless the button is still held then: the press belongs
        // to the tray window, another program's, which holds the pointer until the release (under
        // X, say), and a menu opened meanwhile never hears a click elsewhere and cannot be closed
        // but by a choice or Escape. Held, it opens as the button comes up.
        state.trayMenuOnRelease = RightButtonHeld();
        if (!state.trayMenuOnRelease) {
            OpenTrayMenu(state, window);
        }
    } else if (mouseMessage == WM_RBUTTONUP && state.trayMenuOnRelease) {
        state.trayMenuOnRelease = false;
        OpenTrayMenu(state, window);
    }
}
