// MainWndProc and its handlers. The images are not freed here: the window thread and the
// simulation thread each hold a lease on them, and the last to let go frees them.
#include "shell/MainWindow.h"

#include <shellapi.h>

#include <memory>

#include "platform/AppWindow.h"
#include "platform/UniqueHandle.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "shell/DroppedFile.h"
#include "shell/ExitSequence.h"
#include "shell/GlassScale.h"
#include "shell/HelpViewer.h"
#include "shell/MonitorPlacement.h"
#include "shell/Program.h"
#include "shell/PointerHandler.h"
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
int16_t PointerX(const Program& program, LPARAM lParam) {
    return static_cast<int16_t>(program.shared.Scale().Down(static_cast<int16_t>(LOWORD(lParam))));
}
int16_t PointerY(const Program& program, LPARAM lParam) {
    return static_cast<int16_t>(program.shared.Scale().Down(static_cast<int16_t>(HIWORD(lParam))));
}

void CloseImeStatus(HWND window) {
    SendMessageA(window, WM_IME_NOTIFY, IMN_CLOSESTATUSWINDOW, 0);
}

LRESULT OnCreate(Program& program, HWND window) {
    program.mainWindow = window;
    program.app = std::make_unique<AppWindow>(window);
    AttachRimDrag(program);
    const HINSTANCE instance = program.app->GetInstance();
    program.state.stickCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_STICK));
    program.state.binocularsCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_BINOCULARS));
    CloseImeStatus(window);
    program.world.CreateImages();
    LoadSettings(program);
    program.state.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    AddTrayIcon(program);
    program.helpViewer = std::make_unique<HelpViewer>();
    StartSimulationThread(program);
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT OnDestroy(Program& program, HWND window) {
    DetachRimDrag(program);
    CloseMainWindow(program, window);
    return 0;
}

LRESULT OnPaint(Program& program, HWND window) {
    PaintGuard paint(window);
    PaintFrame(paint.get(), program.world, program.shared.Scale());
    return 0;
}

// An Escape that closed a message box, still down or remembered as pressed, must not reach the
// simulation thread as the end of the run; and a glass the user cannot see never takes Escape.
void GiveKeysIfShown(Program& program, HWND window) {
    if (IsWindowVisible(window)) {
        TakeKeyboardFocus(program.shared);
    } else {
        program.shared.hasFocus = kFocusNone;
    }
}

LRESULT OnSetFocus(Program& program, HWND window) {
    CloseImeStatus(window);
    GiveKeysIfShown(program, window);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

// Hidden (a double click, the tray), the glass keeps no keys; shown again with the focus, it
// takes them as a focus that comes.
LRESULT OnShowWindow(Program& program, HWND window, bool shown) {
    if (!shown) {
        program.shared.hasFocus = kFocusNone;
    } else if (GetFocus() == window) {
        TakeKeyboardFocus(program.shared);
    }
    return 0;
}

LRESULT OnKillFocus(Program& program) {
    program.shared.hasFocus = kFocusNone;
    return 0;
}

// Escape is how a user closes a context menu; while a menu is open the simulation thread must not
// take that press as the end of the run. Afterwards the focus counts again, the Escape that closed
// the menu only once it has been released.
LRESULT OnEnterMenuLoop(Program& program) {
    program.shared.hasFocus = kFocusNone;
    return 0;
}

LRESULT OnExitMenuLoop(Program& program, HWND window) {
    if (GetFocus() == window) {
        GiveKeysIfShown(program, window);
    }
    return 0;
}

void ShowTrails(Program& program, bool shown) {
    const HMENU menu = program.state.menu.get();
    Settings::TickMenuItem(menu, IDM_TRAIL_SHOW, shown);
    Settings::TickMenuItem(menu, IDM_TRAIL_HIDE, !shown);
    program.shared.hideTrails = shown ? 0 : 1;
    program.settings.SaveTrailsHidden(!shown);
}

void SetZOrder(Program& program, HWND window, bool topmost) {
    const HMENU menu = program.state.menu.get();
    Settings::TickMenuItem(menu, IDM_TOPMOST, topmost);
    Settings::TickMenuItem(menu, IDM_NORMAL, !topmost);
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    program.state.topmost = topmost ? 1 : 0;
    program.settings.SaveTopmost(topmost);
}

void SetFrameWait(Program& program, bool on) {
    const HMENU menu = program.state.menu.get();
    Settings::TickMenuItem(menu, IDM_WAIT_ON, on);
    Settings::TickMenuItem(menu, IDM_WAIT_OFF, !on);
    program.shared.frameWaitMs = on ? static_cast<int32_t>(kFrameWaitMs) : 0;
    program.settings.SaveFrameWait(on);
}

void Centre(Program& program, HWND window) {
    const ScreenPoint corner = GlassCentredCorner(program, window);
    SetWindowPos(window, program.state.topmost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, corner.x,
                 corner.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    program.state.windowShown = 1;
}

// The glass keeps its centre on the screen as it grows or shrinks.
void ChooseSize(Program& program, HWND window, int32_t choice) {
    program.state.sizeChoice = choice;
    Settings::TickSizeChoice(program.state.menu.get(), choice);
    program.settings.SaveSizeChoice(choice);
    GlassScale::Apply(program, window, GlassScale::Choose(choice, window),
                      GlassScale::CentreOf(window));
}

// Moved to a monitor of another DPI (or the DPI changed): in place, around the centre of the
// rectangle the system suggests; a fixed size stays as it is.
LRESULT OnDpiChanged(Program& program, HWND window, WPARAM wParam, LPARAM lParam) {
    if (program.state.sizeChoice == GlassScale::kAutomatic) {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        const POINT centre = suggested != nullptr
                                 ? POINT{suggested->left + (suggested->right - suggested->left) / 2,
                                         suggested->top + (suggested->bottom - suggested->top) / 2}
                                 : GlassScale::CentreOf(window);
        GlassScale::Apply(program, window,
                          GlassScale::ChooseForDpi(GlassScale::kAutomatic, LOWORD(wParam)), centre);
    }
    return 0;
}

LRESULT OnCommand(Program& program, HWND window, UINT id) {
    if (id >= IDM_SCALE_AUTO && id <= IDM_SCALE_3) {
        ChooseSize(program, window,
                   id == IDM_SCALE_AUTO ? GlassScale::kAutomatic
                                        : static_cast<int32_t>(id - IDM_SCALE_1 + 1));
        return 0;
    }
    switch (id) {
        case IDM_EXIT:
            RunExitSequence(program, window);
            break;
        case IDM_TRAIL_SHOW:
        case IDM_TRAIL_HIDE:
            ShowTrails(program, id == IDM_TRAIL_SHOW);
            break;
        case IDM_TOPMOST:
        case IDM_NORMAL:
            SetZOrder(program, window, id == IDM_TOPMOST);
            break;
        case IDM_BACKGROUND_RESET:
            program.shared.RequestBackground(kBuiltInBackground);
            program.settings.SaveBackground(kBuiltInBackground);
            break;
        case IDM_CENTER:
            Centre(program, window);
            break;
        case IDM_HELP:
            if (program.helpViewer) {
                program.helpViewer->Show(window);
            }
            break;
        case IDM_WAIT_ON:
        case IDM_WAIT_OFF:
            SetFrameWait(program, id == IDM_WAIT_ON);
            break;
        default:
            break;
    }
    return 0;
}

void OnDropFiles(Program& program, HDROP drop) {
    char name[kPathBytes] = {};
    // Only the first file counts; the simulation thread checks it when it reloads.
    if (DroppedFileName(drop, name, kPathBytes)) {
        program.shared.RequestBackground(name);
    }
    DragFinish(drop);
}

LRESULT OnSplashEnd(Program& program, HWND window) {
    DestroyWindow(program.state.splashWindow);
    program.state.splashWindow = nullptr;
    // An Exit chosen during the splash has hidden the window for good.
    if (!ExitSequenceStarted(program)) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return 0;
}

// The splash stays in front of every window, and a window manager keeps it above a box that
// comes while it is up (a warning at start-up), hiding the box's button: it steps aside while
// the box is up, unless it has ended meanwhile.
int RaiseAboveSplash(const MainWindowState& state, const MessageRequest& request) {
    if (state.splashWindow == nullptr) {
        return RaiseMessage(request);
    }
    ShowWindow(state.splashWindow, SW_HIDE);
    const int answer = RaiseMessage(request);
    if (state.splashWindow != nullptr) {
        ShowWindow(state.splashWindow, SW_SHOWNOACTIVATE);
    }
    return answer;
}

LRESULT OnShowBox(Program& program, LPARAM request) {
    // Through the seam again: here, on the window thread, it shows the box at once.
    const MainWindowState& state = program.state;
    return program.app ? program.app->HandOff().Serve(request,
                                                      [&state](const MessageRequest& r) {
                                                          return RaiseAboveSplash(state, r);
                                                      })
                       : 0;
}

// A drag of the rim runs the system's move loop in here. Exit chosen meanwhile (from the tray)
// destroys the window inside it, and that loop ends on the WM_QUIT of WM_DESTROY, taking it from
// the program's own loop: it is posted again once the loop is over.
LRESULT OnSysCommand(const Program& program, HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
    if (ExitSequenceStarted(program) && !IsWindow(window)) {
        PostQuitMessage(0);
    }
    return result;
}

LRESULT OnSetCursor(const Program& program) {
    SetCursor(ChoosePointerCursor(program));
    return 1;
}

// A monitor added, removed or resized, or a work area changed: the stray ant walks the new
// desktop, and a glass left on no monitor comes back onto the nearest one.
LRESULT OnDesktopChanged(Program& program, HWND window, bool monitorsChanged) {
    RefreshDesktop(program);
    if (monitorsChanged) {
        BringGlassBack(program, window);
    }
    return 0;
}

LRESULT OnTaskbarCreated(Program& program) {
    // The desktop shell restarted and forgot its icons.
    if (program.trayIcon) {
        program.trayIcon->Add();
    }
    return 0;
}
}  // namespace

void PaintFrame(HDC dc, World& world, PixelScale scale) {
    const FrameLock lock(world);
    if (world.frame != nullptr && world.frame->GetMemoryDC() != nullptr) {
        GlassScale::Blit(dc, 0, 0, kFrameWidth, kFrameHeight, world.frame->GetMemoryDC()->GetHDC(),
                         scale);
    }
}

void PaintLens(HDC dc, World& world, PixelScale scale) {
    const FrameLock lock(world);
    if (world.frame != nullptr && world.frame->GetMemoryDC() != nullptr) {
        GlassScale::Blit(dc, kLensLeft, kLensTop, kLensSide, kLensSide,
                         world.frame->GetMemoryDC()->GetHDC(), scale);
    }
}

void ShowNewFrame(HWND window, SharedState& shared, World& world) {
    shared.frameNotice.Acknowledge();
    // A hidden magnifier paints nothing; showing it paints it whole.
    if (!IsWindowVisible(window)) {
        return;
    }
    const WindowDC dc(window);
    if (dc.get() != nullptr) {
        PaintLens(dc.get(), world, shared.Scale());
    }
}

namespace {
LRESULT Dispatch(Program& program, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(program, window);
        case WM_DESTROY:
            return OnDestroy(program, window);
        case WM_CLOSE:
            // Alt+F4 and other close requests end the program the one safe way.
            return OnCommand(program, window, IDM_EXIT);
        case WM_SETFOCUS:
            return OnSetFocus(program, window);
        case WM_KILLFOCUS:
            return OnKillFocus(program);
        case WM_SHOWWINDOW:
            OnShowWindow(program, window, wParam != FALSE);
            break;
        case WM_ENTERMENULOOP:
            return OnEnterMenuLoop(program);
        case WM_EXITMENULOOP:
            return OnExitMenuLoop(program, window);
        case WM_PAINT:
            return OnPaint(program, window);
        case WM_ERASEBKGND:
            return 0;
        case WM_SETCURSOR:
            return OnSetCursor(program);
        case WM_SYSCOMMAND:
            return OnSysCommand(program, window, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(program, window, LOWORD(wParam));
        case WM_MOUSEMOVE:
            OnPointerMove(program, window, PointerX(program, lParam), PointerY(program, lParam));
            break;
        case WM_LBUTTONDOWN:
            if (OnPointerPress(program, window, PointerX(program, lParam),
                               PointerY(program, lParam))) {
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            OnPointerRelease(program, PointerX(program, lParam), PointerY(program, lParam));
            break;
        case WM_CAPTURECHANGED:
            OnPointerCaptureLost(program);
            break;
        case WM_LBUTTONDBLCLK:
            OnPointerDoubleClick(program, window);
            return 0;
        case WM_RBUTTONUP:
            OnPointerRightRelease(program, window, static_cast<uint16_t>(PointerX(program, lParam)),
                                  static_cast<uint16_t>(PointerY(program, lParam)));
            return 0;
        case WM_DPICHANGED:
            return OnDpiChanged(program, window, wParam, lParam);
        case WM_DROPFILES:
            // DefWindowProcA would answer 0 too; the drop handle is already released here.
            OnDropFiles(program, reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SPLASHEND:
            return OnSplashEnd(program, window);
        case WM_SHOWBOX:
            return OnShowBox(program, lParam);
        case WM_FRAMEREADY:
            ShowNewFrame(window, program.shared, program.world);
            return 0;
        case WM_SECONDSTART:
            return OnSecondStart(program, window);
        case WM_STRAYMOVED:
            PlaceStrayWindows(program);
            return 0;
        case WM_DISPLAYCHANGE:
            return OnDesktopChanged(program, window, true);
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) {
                OnDesktopChanged(program, window, false);
            }
            break;
        case WM_TRAYNOTIFY:
            HandleTrayNotify(program, window, wParam, lParam);
            break;
        default:
            if (program.state.taskbarCreatedMessage != 0 &&
                message == program.state.taskbarCreatedMessage) {
                return OnTaskbarCreated(program);
            }
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DispatchToProgram(&Dispatch, window, message, wParam, lParam);
}
