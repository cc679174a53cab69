// Moving, showing and hiding the stray ant's windows from the simulation thread. The windows
// never take the focus: the user may be typing elsewhere, and Escape must keep reaching the lens.
#include "simulation/StrayAntMotion.h"

#include <windows.h>

#include "imaging/ScreenInfo.h"
#include "simulation/SharedImages.h"
#include "simulation/SharedState.h"

namespace {
constexpr int kCellSide = 8;
constexpr int kHeartSide = 16;
constexpr UINT kPlaceFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE;

int g_lastShown = -1;  // the cell window shown last

int ScreenWidth() {
    return TheScreen != nullptr ? TheScreen->GetScreenWidth() : GetSystemMetrics(SM_CXSCREEN);
}

int ScreenHeight() {
    return TheScreen != nullptr ? TheScreen->GetScreenHeight() : GetSystemMetrics(SM_CYSCREEN);
}

void Place(int index, int x, int y, int side) {
    HWND window = StrayWindows[index];
    if (window == nullptr) {
        return;
    }
    SetWindowPos(window, HWND_TOPMOST, x, y, side, side, kPlaceFlags);
    InvalidateRect(window, nullptr, FALSE);
}

void Hide(int index) {
    if (index >= 0 && index < kStrayWindowCount && StrayWindows[index] != nullptr) {
        ShowWindow(StrayWindows[index], SW_HIDE);
    }
}

void HideCells() {
    for (int k = 0; k < kStrayHeartIndex; ++k) {
        Hide(k);
    }
}

int CellOf(const StrayAnt& ant) {
    const int cell = ant.Cell();
    return cell >= 0 && cell < kStrayHeartIndex ? cell : 0;
}
}  // namespace

void ReleaseStrayAnt() {
    StrayAnt* ant = StrayAntRecord;
    if (ant == nullptr) {
        return;
    }
    // The count goes down before the flag shows: whoever sees the ant out sees it uncounted.
    HappyCount.fetch_sub(1);
    StrayAntActive = 1;
    const int cell = CellOf(*ant);
    Place(cell, ant->x, ant->y, kCellSide);
    g_lastShown = cell;
}

void RiseStrayHeart() {
    StrayAnt* ant = StrayAntRecord;
    if (ant == nullptr) {
        return;
    }
    HideCells();
    ant->Step(ScreenWidth(), ScreenHeight());
    Place(kStrayHeartIndex, ant->x, ant->y, kHeartSide);
}

void UpdateStrayAnt() {
    StrayAnt* ant = StrayAntRecord;
    if (ant == nullptr) {
        StrayAntActive = 0;
        return;
    }
    switch (ant->state.load()) {
        case StrayWalking: {
            ant->Step(ScreenWidth(), ScreenHeight());
            const int cell = CellOf(*ant);
            Place(cell, ant->x, ant->y, kCellSide);
            if (g_lastShown != cell) {
                Hide(g_lastShown);
            }
            g_lastShown = cell;
            break;
        }
        case StrayRising:
            RiseStrayHeart();
            break;
        default:
            for (int k = 0; k < kStrayWindowCount; ++k) {
                Hide(k);
            }
            StrayAntActive = 0;
            break;
    }
}
