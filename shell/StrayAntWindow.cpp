// Placing, painting and the click of the stray ant's windows, all on the window thread. The
// record and the sprite sheets stay alive until both threads have let go of the world, which is
// after these windows are destroyed.
#include "shell/StrayAntWindow.h"

#include "imaging/MessageSeam.h"
#include "imaging/UniqueHandle.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/StrayAntMotion.h"
#include "simulation/StrayAntShared.h"
#include "simulation/WorldImages.h"

namespace {
constexpr int kAntCell = 8;
constexpr int kHeartSide = 16;
// Never take the focus: the user may be typing elsewhere, and Escape must keep reaching the lens.
constexpr UINT kPlaceFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE;

// While the found-box is open the ant keeps walking into other cell windows, which the box does
// not disable; a second click there must not find the ant twice.
bool g_foundBoxOpen = false;
StrayAnt* g_foundAnt = nullptr;  // not owned: the ant of the open found-box
int g_shown = -1;                // the stray window on show, or -1

int IndexOf(HWND window) {
    for (int i = 0; i < kStrayWindowCount; ++i) {
        if (StrayWindows[i] == window) {
            return i;
        }
    }
    return -1;
}

void Hide(int index) {
    if (index >= 0 && index < kStrayWindowCount && StrayWindows[index] != nullptr) {
        ShowWindow(StrayWindows[index], SW_HIDE);
    }
}

// Shows window index topmost at (x, y), then hides the one shown before, so the ant is never
// off the screen between two frames. Each window only ever shows its own picture: a window that
// comes on show is painted whole, and one already on show keeps its picture when it moves, so
// nothing is invalidated here (every repaint is a trip to the display).
void ShowOnly(int index, int x, int y, int side) {
    HWND window = StrayWindows[index];
    if (window == nullptr) {
        return;
    }
    const bool onShow = g_shown == index && IsWindowVisible(window);
    SetWindowPos(window, HWND_TOPMOST, x, y, side, side, onShow ? SWP_NOACTIVATE : kPlaceFlags);
    if (g_shown != index) {
        Hide(g_shown);
    }
    g_shown = index;
}

// Hiding a hidden window still costs a round trip to the display under Wine: only the visible
// ones are hidden.
void HideVisible(int from, int to) {
    for (int i = from; i < to; ++i) {
        if (StrayWindows[i] != nullptr && IsWindowVisible(StrayWindows[i])) {
            ShowWindow(StrayWindows[i], SW_HIDE);
        }
    }
}

void HideVisibleCells() {
    HideVisible(0, kStrayHeartIndex);
}

void HideAll() {
    HideVisible(0, kStrayWindowCount);
    g_shown = -1;
}

LRESULT OnPaint(HWND window) {
    PaintGuard paint(window);
    PaintStrayWindow(paint.get(), IndexOf(window));
    return 0;
}

// The found ant becomes the heart here and now, where it was last shown; the simulation thread
// rises it from the next frame. The state changes only from walking, so the ant is found once.
void TurnIntoHeart(StrayAnt& ant) {
    int32_t walking = StrayWalking;
    if (!ant.state.compare_exchange_strong(walking, StrayRising)) {
        return;
    }
    HappyCount.fetch_add(1);
    const StrayAntPose pose = StrayAntShown.Read();
    ShowOnly(kStrayHeartIndex, pose.x, pose.y, kHeartSide);
    HideVisibleCells();
}

// The moment the user answers the found-box (OK, Return, Escape or its close button all reach
// the box as a command), the ant turns into the heart. Taking the box down can hold the window
// thread a while longer (Wine without a window manager waits up to two seconds for one after it
// hides an active window), and the user must not see the ant walk on meanwhile.
LRESULT CALLBACK WatchFoundBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call != nullptr && call->message == WM_COMMAND &&
        (LOWORD(call->wParam) == IDOK || LOWORD(call->wParam) == IDCANCEL) &&
        g_foundAnt != nullptr && ExitRequested == 0) {
        char name[16] = {};
        GetClassNameA(call->hwnd, name, sizeof(name));
        if (lstrcmpA(name, "#32770") == 0) {  // the dialog class of message boxes
            TurnIntoHeart(*g_foundAnt);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT OnLButtonDown(HWND window) {
    StrayAnt* ant = StrayAntRecord;
    if (ant != nullptr && !g_foundBoxOpen && ant->state == StrayWalking && ExitRequested == 0) {
        g_foundBoxOpen = true;
        g_foundAnt = ant;
        {
            UniqueHook watch(
                SetWindowsHookExA(WH_CALLWNDPROC, &WatchFoundBox, nullptr, GetCurrentThreadId()));
            RaiseMessage(
                {"みつかっちまった", "はぐれありさん", mb::kOk, MessageOwner::GivenWindow, window});
        }
        g_foundAnt = nullptr;
        g_foundBoxOpen = false;
        // Exit may have been chosen (from the tray) while the box was open.
        if (ExitRequested == 0) {
            TurnIntoHeart(*ant);
        }
    }
    SetFocus(MainWindow);
    return 0;
}
}  // namespace

void PaintStrayWindow(HDC dc, int index) {
    if (index >= 0 && index < kStrayHeartIndex && AntSprites != nullptr) {
        BitBlt(dc, 0, 0, kAntCell, kAntCell, AntSprites->GetMemoryDC()->GetHDC(), index * kAntCell,
               0, SRCCOPY);
    } else if (index == kStrayHeartIndex && HeartImage != nullptr) {
        BitBlt(dc, 0, 0, kHeartSide, kHeartSide, HeartImage->GetMemoryDC()->GetHDC(), 0, 0,
               SRCCOPY);
    }
}

void PlaceStrayWindows() {
    AcknowledgeStrayPlacement();
    if (ExitRequested != 0) {
        return;  // the exit sequence has hidden them for good
    }
    const StrayAntPose pose = StrayAntShown.Read();
    switch (pose.kind) {
        case StrayAntPose::Walking: {
            // A walking pose made before the click was handled: the heart already shows.
            const StrayAnt* ant = StrayAntRecord;
            if (ant == nullptr || ant->state != StrayWalking || pose.cell >= kStrayHeartIndex) {
                return;
            }
            ShowOnly(pose.cell, pose.x, pose.y, kAntCell);
            break;
        }
        case StrayAntPose::Heart:
            ShowOnly(kStrayHeartIndex, pose.x, pose.y, kHeartSide);
            break;
        default:
            HideAll();
            break;
    }
}

void ResetStrayPlacement() {
    g_shown = -1;
    g_foundBoxOpen = false;
    g_foundAnt = nullptr;
}

LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 0;
        case WM_MOUSEACTIVATE:
            // A click finds the ant but does not activate its window: the focus goes back to the
            // magnifier anyway, and under Wine an activated window that is hidden later (the ant
            // walks on into the next cell's window) waits for a window manager each time.
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
            return OnLButtonDown(window);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
