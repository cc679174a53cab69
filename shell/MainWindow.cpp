// MainWndProc and its handlers. The images are not freed here: the window thread and the
// simulation thread each hold a lease on them, and the last to let go frees them.
#include "shell/MainWindow.h"

#include <shellapi.h>

#include "platform/AppWindow.h"
#include "platform/UniqueHandle.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "shell/DroppedFile.h"
#include "shell/ExitSequence.h"
#include "shell/GlassScale.h"
#include "shell/HelpViewer.h"
#include "shell/MonitorPlacement.h"
#include "shell/PointerHandler.h"
#include "shell/ProgramInstances.h"
#include "shell/SecondStart.h"
#include "shell/Settings.h"
#include "shell/ShellWindowState.h"
#include "shell/StrayAntWindow.h"
#include "shell/TrayIcon.h"
#include "simulation/FrameHandOff.h"
#include "simulation/Keyboard.h"
#include "simulation/LensRenderer.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"
#include "simulation/WorldRules.h"

namespace {
// The pointer in the program's own pixels: the window shows each of them as a block of scale x
// scale screen pixels, so grabbing, throwing, panning, the rim and the menu's side work on the
// same numbers at every scale.
int16_t PointerX(LPARAM lParam) {
    return static_cast<int16_t>(Shared.Scale().Down(static_cast<int16_t>(LOWORD(lParam))));
}
int16_t PointerY(LPARAM lParam) {
    return static_cast<int16_t>(Shared.Scale().Down(static_cast<int16_t>(HIWORD(lParam))));
}

void CloseImeStatus(HWND window) {
    SendMessageA(window, WM_IME_NOTIFY, IMN_CLOSESTATUSWINDOW, 0);
}

// reports: the shell's RunReports, handed to the simulation thread with its links.
LRESULT OnCreate(HWND window, LPVOID reports) {
    MainWindow = window;
    TheAppWindow = new AppWindow(window);
    AttachRimDrag(window);
    const HINSTANCE instance = TheAppWindow->GetInstance();
    ShellState.stickCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_STICK));
    ShellState.binocularsCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_BINOCULARS));
    CloseImeStatus(window);
    CreateImages();
    LoadSettings();
    ShellState.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    AddTrayIcon();
    TheHelpViewer = new HelpViewer();
    StartSimulationThread(window, *static_cast<RunReports*>(reports));
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT OnDestroy(HWND window) {
    DetachRimDrag(window);
    CloseMainWindow(window);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PaintGuard paint(window);
    PaintFrame(paint.get());
    return 0;
}

// An Escape that closed a message box, still down or remembered as pressed, must not reach the
// simulation thread as the end of the run; and a glass the user cannot see never takes Escape.
void GiveKeysIfShown(HWND window) {
    if (IsWindowVisible(window)) {
        TakeKeyboardFocus(Shared);
    } else {
        Shared.hasFocus = kFocusNone;
    }
}

LRESULT OnSetFocus(HWND window) {
    CloseImeStatus(window);
    GiveKeysIfShown(window);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

// Hidden (a double click, the tray), the glass keeps no keys; shown again with the focus, it
// takes them as a focus that comes.
LRESULT OnShowWindow(HWND window, bool shown) {
    if (!shown) {
        Shared.hasFocus = kFocusNone;
    } else if (GetFocus() == window) {
        TakeKeyboardFocus(Shared);
    }
    return 0;
}

LRESULT OnKillFocus() {
    Shared.hasFocus = kFocusNone;
    return 0;
}

// Escape is how a user closes a context menu; while a menu is open the simulation thread must not
// take that press as the end of the run. Afterwards the focus counts again, the Escape that closed
// the menu only once it has been released.
LRESULT OnEnterMenuLoop() {
    Shared.hasFocus = kFocusNone;
    return 0;
}

LRESULT OnExitMenuLoop(HWND window) {
    if (GetFocus() == window) {
        GiveKeysIfShown(window);
    }
    return 0;
}

void ShowTrails(bool shown) {
    Settings::TickMenuItem(IDM_TRAIL_SHOW, shown);
    Settings::TickMenuItem(IDM_TRAIL_HIDE, !shown);
    Shared.hideTrails = shown ? 0 : 1;
    Settings::SaveTrailsHidden(!shown);
}

void SetZOrder(HWND window, bool topmost) {
    Settings::TickMenuItem(IDM_TOPMOST, topmost);
    Settings::TickMenuItem(IDM_NORMAL, !topmost);
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ShellState.topmost = topmost ? 1 : 0;
    Settings::SaveTopmost(topmost);
}

void SetFrameWait(bool on) {
    Settings::TickMenuItem(IDM_WAIT_ON, on);
    Settings::TickMenuItem(IDM_WAIT_OFF, !on);
    Shared.frameWaitMs = on ? static_cast<int32_t>(kFrameWaitMs) : 0;
    Settings::SaveFrameWait(on);
}

void Centre(HWND window) {
    const ScreenPoint corner = GlassCentredCorner(window);
    SetWindowPos(window, ShellState.topmost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, corner.x,
                 corner.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ShellState.windowShown = 1;
}

// The glass keeps its centre on the screen as it grows or shrinks.
void ChooseSize(HWND window, int32_t choice) {
    ShellState.sizeChoice = choice;
    Settings::TickSizeChoice(choice);
    Settings::SaveSizeChoice(choice);
    GlassScale::Apply(window, GlassScale::Choose(choice, window), GlassScale::CentreOf(window));
}

// Moved to a monitor of another DPI (or the DPI changed): in place, around the centre of the
// rectangle the system suggests; a fixed size stays as it is.
LRESULT OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    if (ShellState.sizeChoice == GlassScale::kAutomatic) {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        const POINT centre = suggested != nullptr
                                 ? POINT{suggested->left + (suggested->right - suggested->left) / 2,
                                         suggested->top + (suggested->bottom - suggested->top) / 2}
                                 : GlassScale::CentreOf(window);
        GlassScale::Apply(window, GlassScale::ChooseForDpi(GlassScale::kAutomatic, LOWORD(wParam)),
                          centre);
    }
    return 0;
}

LRESULT OnCommand(HWND window, UINT id) {
    if (id >= IDM_SCALE_AUTO && id <= IDM_SCALE_3) {
        ChooseSize(window, id == IDM_SCALE_AUTO ? GlassScale::kAutomatic
                                                : static_cast<int32_t>(id - IDM_SCALE_1 + 1));
        return 0;
    }
    switch (id) {
        case IDM_EXIT:
            RunExitSequence(window);
            break;
        case IDM_TRAIL_SHOW:
        case IDM_TRAIL_HIDE:
            ShowTrails(id == IDM_TRAIL_SHOW);
            break;
        case IDM_TOPMOST:
        case IDM_NORMAL:
            SetZOrder(window, id == IDM_TOPMOST);
            break;
        case IDM_BACKGROUND_RESET:
            Shared.RequestBackground(kBuiltInBackground);
            Settings::SaveBackground(kBuiltInBackground);
            break;
        case IDM_CENTER:
            Centre(window);
            break;
        case IDM_HELP:
            if (TheHelpViewer != nullptr) {
                TheHelpViewer->Show(window);
            }
            break;
        case IDM_WAIT_ON:
        case IDM_WAIT_OFF:
            SetFrameWait(id == IDM_WAIT_ON);
            break;
        default:
            break;
    }
    return 0;
}

void OnDropFiles(HDROP drop) {
    char name[kPathBytes] = {};
    // Only the first file counts; the simulation thread checks it when it reloads.
    if (DroppedFileName(drop, name, kPathBytes)) {
        Shared.RequestBackground(name);
    }
    DragFinish(drop);
}

LRESULT OnSplashEnd(HWND window) {
    DestroyWindow(ShellState.splashWindow);
    ShellState.splashWindow = nullptr;
    // An Exit chosen during the splash has hidden the window for good.
    if (!ExitSequenceStarted()) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return 0;
}

// The splash stays in front of every window, and a window manager keeps it above a box that
// comes while it is up (a warning at start-up), hiding the box's button: it steps aside while
// the box is up, unless it has ended meanwhile.
int RaiseAboveSplash(const MessageRequest& request) {
    if (ShellState.splashWindow == nullptr) {
        return RaiseMessage(request);
    }
    ShowWindow(ShellState.splashWindow, SW_HIDE);
    const int answer = RaiseMessage(request);
    if (ShellState.splashWindow != nullptr) {
        ShowWindow(ShellState.splashWindow, SW_SHOWNOACTIVATE);
    }
    return answer;
}

LRESULT OnShowBox(LPARAM request) {
    // Through the seam again: here, on the window thread, it shows the box at once.
    return TheAppWindow != nullptr ? TheAppWindow->HandOff().Serve(request, &RaiseAboveSplash) : 0;
}

// A drag of the rim runs the system's move loop in here. Exit chosen meanwhile (from the tray)
// destroys the window inside it, and that loop ends on the WM_QUIT of WM_DESTROY, taking it from
// the program's own loop: it is posted again once the loop is over.
LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
    if (ExitSequenceStarted() && !IsWindow(window)) {
        PostQuitMessage(0);
    }
    return result;
}

LRESULT OnSetCursor() {
    SetCursor(ChoosePointerCursor());
    return 1;
}

// A monitor added, removed or resized, or a work area changed: the stray ant walks the new
// desktop, and a glass left on no monitor comes back onto the nearest one.
LRESULT OnDesktopChanged(HWND window, bool monitorsChanged) {
    RefreshDesktop();
    if (monitorsChanged) {
        BringGlassBack(window);
    }
    return 0;
}

LRESULT OnTaskbarCreated() {
    // The desktop shell restarted and forgot its icons.
    if (TheTrayIcon != nullptr) {
        TheTrayIcon->Add();
    }
    return 0;
}
}  // namespace

void PaintFrame(HDC dc) {
    const FrameLock lock(TheWorld);
    if (TheWorld.frame != nullptr && TheWorld.frame->GetMemoryDC() != nullptr) {
        GlassScale::Blit(dc, 0, 0, kFrameWidth, kFrameHeight,
                         TheWorld.frame->GetMemoryDC()->GetHDC(), Shared.Scale());
    }
}

void PaintLens(HDC dc) {
    const FrameLock lock(TheWorld);
    if (TheWorld.frame != nullptr && TheWorld.frame->GetMemoryDC() != nullptr) {
        GlassScale::Blit(dc, kLensLeft, kLensTop, kLensSide, kLensSide,
                         TheWorld.frame->GetMemoryDC()->GetHDC(), Shared.Scale());
    }
}

void ShowNewFrame(HWND window) {
    Shared.frameNotice.Acknowledge();
    // A hidden magnifier paints nothing; showing it paints it whole.
    if (!IsWindowVisible(window)) {
        return;
    }
    const WindowDC dc(window);
    if (dc.get() != nullptr) {
        PaintLens(dc.get());
    }
}

void CreateImages() {
    TheWorld.CreateImages();
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_CLOSE:
            // Alt+F4 and other close requests end the program the one safe way.
            return OnCommand(window, IDM_EXIT);
        case WM_SETFOCUS:
            return OnSetFocus(window);
        case WM_KILLFOCUS:
            return OnKillFocus();
        case WM_SHOWWINDOW:
            OnShowWindow(window, wParam != FALSE);
            break;
        case WM_ENTERMENULOOP:
            return OnEnterMenuLoop();
        case WM_EXITMENULOOP:
            return OnExitMenuLoop(window);
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 0;
        case WM_SETCURSOR:
            return OnSetCursor();
        case WM_SYSCOMMAND:
            return OnSysCommand(window, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(window, LOWORD(wParam));
        case WM_MOUSEMOVE:
            OnPointerMove(window, PointerX(lParam), PointerY(lParam));
            break;
        case WM_LBUTTONDOWN:
            if (OnPointerPress(window, PointerX(lParam), PointerY(lParam))) {
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            OnPointerRelease(window, PointerX(lParam), PointerY(lParam));
            break;
        case WM_CAPTURECHANGED:
            OnPointerCaptureLost(window);
            break;
        case WM_LBUTTONDBLCLK:
            OnPointerDoubleClick(window);
            return 0;
        case WM_RBUTTONUP:
            OnPointerRightRelease(window, static_cast<uint16_t>(PointerX(lParam)),
                                  static_cast<uint16_t>(PointerY(lParam)));
            return 0;
        case WM_DPICHANGED:
            return OnDpiChanged(window, wParam, lParam);
        case WM_DROPFILES:
            // DefWindowProcA would answer 0 too; the drop handle is already released here.
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SPLASHEND:
            return OnSplashEnd(window);
        case WM_SHOWBOX:
            return OnShowBox(lParam);
        case WM_FRAMEREADY:
            ShowNewFrame(window);
            return 0;
        case WM_SECONDSTART:
            return OnSecondStart(window);
        case WM_STRAYMOVED:
            PlaceStrayWindows();
            return 0;
        case WM_DISPLAYCHANGE:
            return OnDesktopChanged(window, true);
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) {
                OnDesktopChanged(window, false);
            }
            break;
        case WM_TRAYNOTIFY:
            HandleTrayNotify(window, wParam, lParam);
            break;
        default:
            if (ShellState.taskbarCreatedMessage != 0 &&
                message == ShellState.taskbarCreatedMessage) {
                return OnTaskbarCreated();
            }
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
