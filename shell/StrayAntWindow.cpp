// Placing, painting and the click of the stray ant's windows, all on the window thread. The
// record and the sprite sheets stay alive until both threads have let go of the world, which is
// after these windows are destroyed.
#include "shell/StrayAntWindow.h"

#include "base/MessageSeam.h"
#include "platform/UniqueHandle.h"
#include "resources/TextIds.h"
#include "shell/GlassScale.h"
#include "shell/KeyedAntCell.h"
#include "shell/Program.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/StrayAntMotion.h"

namespace {
// Never take the focus: the user may be typing elsewhere, and Escape must keep reaching the lens.
constexpr UINT kShowFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
// Once on show the ant's window only moves: every change of visibility, size or z-order is a
// round trip to the display under Wine, and the ant moves every frame. It stays topmost by its
// style, and as an owned window it stays above the magnifier however that is raised.
constexpr UINT kMoveFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
// Another program's topmost window that comes up later may cover the ant until it is raised
// again: it is, every so many moves (about once a second), at a twelfth of the cost.
constexpr int kMovesBetweenRaises = 12;

// While the found-box is open the ant stands still, and its window stays enabled; a second click
// on it must not find the ant twice.
// The hook that watches the box can reach its state only from here.
struct FoundBox {
    bool open = false;
    StrayAnt* ant = nullptr;     // not owned: the ant of the open found-box
    HWND owner = nullptr;        // not owned: the ant's window that was clicked, the box's owner
    HWND box = nullptr;          // not owned: the found-box itself, once it exists
    POINT at{};                  // where the found ant stands
    Program* program = nullptr;  // not owned: the program of the open found-box
};
FoundBox g_found;

HWND Window(const Program& program, int index) {
    return index >= 0 && index < kStrayWindowCount ? program.strayWindows[index] : nullptr;
}

void HideIfVisible(const Program& program, int index) {
    HWND window = Window(program, index);
    // Hiding a hidden window still costs a round trip to the display under Wine.
    if (window != nullptr && IsWindowVisible(window)) {
        ShowWindow(window, SW_HIDE);
    }
}

bool OnShow(const Program& program, int index) {
    HWND window = Window(program, index);
    return program.strayPlacement.shown == index && window != nullptr && IsWindowVisible(window);
}

// Paints now rather than at the next turn of the message loop, so the new cell and the new place
// reach the screen together. A layered window painted outside WM_PAINT never maps under Wine.
void RepaintNow(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

// The ant's window comes on show topmost at (x, y), or moves there; it is repainted only when the
// cell changes, as moving keeps its picture.
void ShowAnt(Program& program, int cell, int x, int y) {
    HWND ant = Window(program, kStrayAntIndex);
    if (ant == nullptr) {
        return;
    }
    bool repaint = cell != program.strayPlacement.cell;
    program.strayPlacement.cell = cell;
    if (OnShow(program, kStrayAntIndex)) {
        if (++program.strayPlacement.movesSinceRaise >= kMovesBetweenRaises) {
            program.strayPlacement.movesSinceRaise = 0;
            SetWindowPos(ant, HWND_TOPMOST, x, y, 0, 0, kMoveFlags & ~SWP_NOZORDER);
        } else {
            SetWindowPos(ant, nullptr, x, y, 0, 0, kMoveFlags);
        }
    } else {
        program.strayPlacement.movesSinceRaise = 0;
        const int side = program.shared.Scale().Up(kAntCell);
        SetWindowPos(ant, HWND_TOPMOST, x, y, side, side, kShowFlags);
        HideIfVisible(program, kStrayHeartIndex);
        program.strayPlacement.shown = kStrayAntIndex;
        repaint = true;
    }
    if (repaint) {
        RepaintNow(ant);
    }
}

// The heart comes on show (painted whole then) or rises at the top of the topmost windows; the
// ant's window is hidden only after, so the stray ant is never off the screen between frames.
void ShowHeart(Program& program, int x, int y) {
    HWND heart = Window(program, kStrayHeartIndex);
    if (heart == nullptr) {
        return;
    }
    const bool onShow = OnShow(program, kStrayHeartIndex);
    const int side = program.shared.Scale().Up(kHeartSide);
    SetWindowPos(heart, HWND_TOPMOST, x, y, side, side, onShow ? SWP_NOACTIVATE : kShowFlags);
    HideIfVisible(program, kStrayAntIndex);
    program.strayPlacement.shown = kStrayHeartIndex;
}

void HideAll(Program& program) {
    for (int i = 0; i < kStrayWindowCount; ++i) {
        HideIfVisible(program, i);
    }
    program.strayPlacement.shown = -1;
}

LRESULT OnPaint(const Program& program, HWND window) {
    PaintGuard paint(window);
    PaintStrayWindow(program, paint.get(), window);
    return 0;
}

// The found ant becomes the heart here and now, where it was clicked; the simulation thread
// rises it from there from the next frame. The state changes only from walking, so the ant is
// found once.
void TurnIntoHeart(Program& program, StrayAnt& ant) {
    int32_t walking = StrayWalking;
    if (!ant.state.compare_exchange_strong(walking, StrayRising)) {
        return;
    }
    program.shared.happyCount.fetch_add(1);
    ShowHeart(program, g_found.at.x, g_found.at.y);
}

bool IsDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpA(name, "#32770") == 0;  // the dialog class of message boxes
}

// Whether the call answers the box: OK, Return and Escape reach it as a command, its close button
// and Alt+F4 as a close (which the dialog then turns into a posted command the watch never sees).
bool AnswersTheBox(const CWPSTRUCT& call) {
    switch (call.message) {
        case WM_COMMAND:
            return LOWORD(call.wParam) == IDOK || LOWORD(call.wParam) == IDCANCEL;
        case WM_CLOSE:
            return true;
        case WM_SYSCOMMAND:
            return (call.wParam & 0xFFF0) == SC_CLOSE;
        default:
            return false;
    }
}

// The moment the user answers the found-box, the ant turns into the heart. Taking the box down
// can hold the window thread a while longer (Wine without a window manager waits up to two
// seconds for one after it hides an active window), and the user must not wait for the heart
// meanwhile. The box is known by its window, the first dialog made for the clicked ant's window:
// other boxes that come up while it is open (a dropped file's, the thank-you box) are not it.
LRESULT CALLBACK WatchFoundBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call != nullptr && g_found.ant != nullptr) {
        if (g_found.box == nullptr && call->message == WM_INITDIALOG &&
            GetWindow(call->hwnd, GW_OWNER) == g_found.owner && IsDialog(call->hwnd)) {
            g_found.box = call->hwnd;
        } else if (call->hwnd == g_found.box && g_found.box != nullptr && AnswersTheBox(*call) &&
                   g_found.program->shared.exitRequested == 0) {
            TurnIntoHeart(*g_found.program, *g_found.ant);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Where the clicked ant stands: its window on show, which is what the user clicked, or else the
// place last published.
POINT FoundPlace(const Program& program, HWND window) {
    RECT shown{};
    if (OnShow(program, kStrayAntIndex) && window == Window(program, kStrayAntIndex) &&
        GetWindowRect(window, &shown)) {
        return {shown.left, shown.top};
    }
    const StrayAntPose pose = program.shared.strayShown.Read();
    return {pose.x, pose.y};
}

void AskFoundBox(Program& program, HWND window, StrayAnt& ant) {
    g_found.open = true;
    g_found.program = &program;
    g_found.ant = &ant;
    g_found.owner = window;
    g_found.box = nullptr;
    g_found.at = FoundPlace(program, window);
    ant.Hold(g_found.at.x, g_found.at.y);
    {
        UniqueHook watch(
            SetWindowsHookExA(WH_CALLWNDPROC, &WatchFoundBox, nullptr, GetCurrentThreadId()));
        RaiseMessage({IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk, MessageOwner::GivenWindow, window});
    }
    const POINT at = g_found.at;
    g_found = FoundBox{};
    g_found.at = at;  // the heart still comes up here
}

LRESULT OnLButtonDown(Program& program, HWND window) {
    StrayAnt* ant = program.world.strayRecord;
    if (ant != nullptr && !g_found.open && ant->state == StrayWalking &&
        program.shared.exitRequested == 0) {
        AskFoundBox(program, window, *ant);
        // Exit may have been chosen (from the tray) while the box was open.
        if (program.shared.exitRequested == 0) {
            TurnIntoHeart(program, *ant);
        }
    }
    // The keys go back to the glass, but never to a hidden one: an Escape there would end a
    // program the user cannot see.
    if (program.mainWindow != nullptr && IsWindowVisible(program.mainWindow)) {
        SetFocus(program.mainWindow);
    }
    return 0;
}
}  // namespace

void PaintStrayWindow(const Program& program, HDC dc, HWND window) {
    if (window == nullptr) {
        return;
    }
    const World& world = program.world;
    if (window == program.strayWindows[kStrayAntIndex]) {
        KeyedAntCell(world.antSprites, program.strayPlacement.cell)
            .Draw(dc, program.shared.Scale().Factor());
    } else if (window == program.strayWindows[kStrayHeartIndex] && world.heart != nullptr) {
        GlassScale::Blit(dc, 0, 0, kHeartSide, kHeartSide, world.heart->GetMemoryDC()->GetHDC(),
                         program.shared.Scale());
    }
}

void PlaceStrayWindows(Program& program) {
    program.shared.strayPlacement.Acknowledge();
    if (program.shared.exitRequested != 0) {
        return;  // the exit sequence has hidden them for good
    }
    const StrayAntPose pose = program.shared.strayShown.Read();
    switch (pose.kind) {
        case StrayAntPose::Walking: {
            // A walking pose made before the click was handled: the heart already shows. While
            // its box is open the found ant stands where it was clicked.
            const StrayAnt* ant = program.world.strayRecord;
            if (ant == nullptr || ant->state != StrayWalking || pose.cell >= kStrayAntCells ||
                g_found.open) {
                return;
            }
            ShowAnt(program, pose.cell, pose.x, pose.y);
            break;
        }
        case StrayAntPose::Heart:
            ShowHeart(program, pose.x, pose.y);
            break;
        default:
            HideAll(program);
            break;
    }
}

void ResetStrayPlacement(Program& program) {
    program.strayPlacement = StrayPlacement{};
    g_found = FoundBox{};
}

namespace {
LRESULT Dispatch(Program& program, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            return OnPaint(program, window);
        case WM_ERASEBKGND:
            return 0;
        case WM_MOUSEACTIVATE:
            // A click finds the ant but does not activate its window: the focus goes back to the
            // magnifier anyway, and under Wine an activated window that is hidden later (the ant
            // turns into the heart) waits for a window manager.
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
            return OnLButtonDown(program, window);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
}  // namespace

LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DispatchToProgram(&Dispatch, window, message, wParam, lParam);
}
