// Painting and the click of the stray ant's windows. The record and the sprite sheets stay alive
// until both threads have let go of the world, which is after these windows are destroyed.
#include "shell/StrayAntWindow.h"

#include "imaging/MessageSeam.h"
#include "imaging/UniqueHandle.h"
#include "simulation/SharedImages.h"
#include "simulation/SharedState.h"

namespace {
constexpr int kAntCell = 8;
constexpr int kAntCells = 16;
constexpr int kHeartSide = 16;

// While the found-box is open the ant keeps walking into other cell windows, which the box does
// not disable; a second click there must not find the ant twice.
bool g_foundBoxOpen = false;

LRESULT OnPaint(HWND window) {
    PaintGuard paint(window);
    PaintStrayAnt(paint.get());
    return 0;
}

void TurnIntoHeart(StrayAnt& ant) {
    HappyCount.fetch_add(1);
    ant.state = StrayRising;
    for (int i = 0; i < kStrayHeartIndex; ++i) {
        ShowWindow(StrayWindows[i], SW_HIDE);
    }
    HWND heart = StrayWindows[kStrayHeartIndex];
    SetWindowPos(heart, HWND_TOPMOST, ant.x, ant.y, kHeartSide, kHeartSide, SWP_SHOWWINDOW);
    InvalidateRect(heart, nullptr, FALSE);
}

LRESULT OnLButtonDown(HWND window) {
    StrayAnt* ant = StrayAntRecord;
    if (ant != nullptr && !g_foundBoxOpen && ant->state == StrayWalking && ExitRequested == 0) {
        g_foundBoxOpen = true;
        RaiseMessage(
            {"みつかっちまった", "はぐれありさん", mb::kOk, MessageOwner::GivenWindow, window});
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

void PaintStrayAnt(HDC dc) {
    const StrayAnt* ant = StrayAntRecord;
    if (ant == nullptr) {
        return;
    }
    const int32_t state = ant->state;
    if (state == StrayWalking && AntSprites != nullptr) {
        const int32_t cell = ant->Cell();
        if (cell >= 0 && cell < kAntCells) {
            BitBlt(dc, 0, 0, kAntCell, kAntCell, AntSprites->GetMemoryDC()->GetHDC(),
                   cell * kAntCell, 0, SRCCOPY);
        }
    } else if (state == StrayRising && HeartImage != nullptr) {
        BitBlt(dc, 0, 0, kHeartSide, kHeartSide, HeartImage->GetMemoryDC()->GetHDC(), 0, 0,
               SRCCOPY);
    }
}

LRESULT CALLBACK StrayAntWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return 0;
        case WM_LBUTTONDOWN:
            return OnLButtonDown(window);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
