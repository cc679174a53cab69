// MainWndProc and its handlers. The images are not freed here: the window thread and the
// simulation thread each hold a lease on them, and the last to let go frees them.
#include "shell/MainWindow.h"

#include <shellapi.h>

#include "imaging/AppWindow.h"
#include "imaging/ScreenInfo.h"
#include "imaging/UniqueHandle.h"
#include "resources/ResourceIds.h"
#include "shell/DroppedFile.h"
#include "shell/HelpViewer.h"
#include "shell/PointerHandler.h"
#include "shell/SecondStart.h"
#include "shell/ExitSequence.h"
#include "shell/Settings.h"
#include "shell/ShellWindowState.h"
#include "shell/StrayAntWindow.h"
#include "shell/TrayIcon.h"
#include "simulation/FrameLock.h"
#include "simulation/FrameNotice.h"
#include "simulation/Keyboard.h"
#include "simulation/LensRenderer.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/ThreadMessages.h"
#include "simulation/WorldImages.h"
#include "simulation/WorldRules.h"

namespace {
constexpr int kWaitOnMs = 80;

int16_t PointerX(LPARAM lParam) {
    return static_cast<int16_t>(LOWORD(lParam));
}
int16_t PointerY(LPARAM lParam) {
    return static_cast<int16_t>(HIWORD(lParam));
}

void CloseImeStatus(HWND window) {
    SendMessageA(window, WM_IME_NOTIFY, IMN_CLOSESTATUSWINDOW, 0);
}

LRESULT OnCreate(HWND window) {
    MainWindow = window;
    ArmExitSequence();
    TheAppWindow = new AppWindow(window);
    AttachRimDrag(window);
    const HINSTANCE instance = TheAppWindow->GetInstance();
    StickCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_STICK));
    BinocularsCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_BINOCULARS));
    CloseImeStatus(window);
    CreateImages();
    LoadSettings();
    TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    AddTrayIcon();
    TheHelpViewer = new HelpViewer();
    SimulationRunning = 1;
    SimulationThread = CreateThread(nullptr, 0, SimulationEntry, window, 0, nullptr);
    KeepThreadForFinish(SimulationThread);
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT OnDestroy(HWND window) {
    DragAcceptFiles(window, FALSE);
    // Boxes the simulation thread asked for and nobody will show now: its wait ends with them.
    MSG pending;
    while (PeekMessageA(&pending, window, WM_SHOWBOX, WM_SHOWBOX, PM_REMOVE)) {
        MessageHandOff::Discard(pending.lParam);
    }
    if (TheTrayIcon != nullptr) {
        TheTrayIcon->Remove();
        delete TheTrayIcon;
        TheTrayIcon = nullptr;
    }
    delete TheHelpViewer;
    TheHelpViewer = nullptr;
    ReleaseShellObjects();
    DestroyMenu(AppMenu);
    AppMenu = nullptr;
    DetachRimDrag(window);
    CloseHandle(SimulationThread);
    SimulationThread = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PaintGuard paint(window);
    PaintFrame(paint.get());
    return 0;
}

LRESULT OnSetFocus(HWND window) {
    CloseImeStatus(window);
    // The keys go first: an Escape that closed a message box, still down or remembered as
    // pressed, must not reach the simulation thread as the end of the run.
    FlushKeyboard();
    HasFocus = 1;
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT OnKillFocus() {
    HasFocus = 0;
    return 0;
}

// Escape is how a user closes a context menu; while a menu is open the simulation thread must not
// take that press as the end of the run. Afterwards the focus counts again, once the presses made
// in the menu are drained (before the flag is set, so the thread never sees them).
LRESULT OnEnterMenuLoop() {
    HasFocus = 0;
    return 0;
}

LRESULT OnExitMenuLoop(HWND window) {
    if (GetFocus() == window) {
        FlushKeyboard();
        HasFocus = 1;
    }
    return 0;
}

void ShowTrails(bool shown) {
    Settings::Check(IDM_TRAIL_SHOW, shown);
    Settings::Check(IDM_TRAIL_HIDE, !shown);
    HideTrails = shown ? 0 : 1;
    Settings::Write("Status", "PFlag", shown ? "0" : "1");
}

void SetZOrder(HWND window, bool topmost) {
    Settings::Check(IDM_TOPMOST, topmost);
    Settings::Check(IDM_NORMAL, !topmost);
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    Topmost = topmost ? 1 : 0;
    Settings::Write("Status", "Window Z_Order", topmost ? "1" : "0");
}

void SetFrameWait(bool on) {
    Settings::Check(IDM_WAIT_ON, on);
    Settings::Check(IDM_WAIT_OFF, !on);
    FrameWaitMs = on ? kWaitOnMs : 0;
    Settings::Write("Status", "Wait ON", on ? "1" : "0");
}

void Centre(HWND window) {
    const int x = TheScreen != nullptr ? (TheScreen->GetScreenWidth() - kFrameWidth) / 2 : 0;
    const int y = TheScreen != nullptr ? (TheScreen->GetScreenHeight() - kFrameHeight) / 2 : 0;
    SetWindowPos(window, Topmost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
    WindowShown = 1;
}

LRESULT OnCommand(HWND window, UINT id) {
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
            RequestBackground("Resource");
            Settings::Write("BackBitmapTexture", "FileName", "Resource");
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
        RequestBackground(name);
    }
    DragFinish(drop);
}

LRESULT OnSplashEnd(HWND window) {
    DestroyWindow(SplashWindow);
    SplashWindow = nullptr;
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
    if (SplashWindow == nullptr) {
        return RaiseMessage(request);
    }
    ShowWindow(SplashWindow, SW_HIDE);
    const int answer = RaiseMessage(request);
    if (SplashWindow != nullptr) {
        ShowWindow(SplashWindow, SW_SHOWNOACTIVATE);
    }
    return answer;
}

LRESULT OnShowBox(LPARAM request) {
    // Through the seam again: here, on the window thread, it shows the box at once.
    return MessageHandOff::Serve(request, &RaiseAboveSplash);
}

LRESULT OnSetCursor() {
    SetCursor(ChoosePointerCursor());
    return 1;
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
    const FrameLock lock;
    if (FrameImage != nullptr && FrameImage->GetMemoryDC() != nullptr) {
        BitBlt(dc, 0, 0, kFrameWidth, kFrameHeight, FrameImage->GetMemoryDC()->GetHDC(), 0, 0,
               SRCCOPY);
    }
}

void PaintLens(HDC dc) {
    const FrameLock lock;
    if (FrameImage != nullptr && FrameImage->GetMemoryDC() != nullptr) {
        BitBlt(dc, kLensLeft, kLensTop, WorldRules::kViewSide, WorldRules::kViewSide,
               FrameImage->GetMemoryDC()->GetHDC(), kLensLeft, kLensTop, SRCCOPY);
    }
}

void ShowNewFrame(HWND window) {
    AcknowledgeFrameNotice();
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
    CreateWorldImages();
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_CLOSE:
            // Alt+F4 and other close requests end the program the one safe way.
            return OnCommand(window, IDM_EXIT);
        case WM_SETFOCUS:
            return OnSetFocus(window);
        case WM_KILLFOCUS:
            return OnKillFocus();
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
            OnPointerRightRelease(window, LOWORD(lParam), HIWORD(lParam));
            return 0;
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
        case WM_TRAYNOTIFY:
            HandleTrayNotify(window, wParam, lParam);
            break;
        default:
            if (TaskbarCreatedMessage != 0 && message == TaskbarCreatedMessage) {
                return OnTaskbarCreated();
            }
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
