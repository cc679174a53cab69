// The frame's repaint sends only the lens square to the display: read back from two magnifier-
// shaped windows, one repainted that way and one painted whole, the pictures are the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "imaging/DIBImage.h"
#include "resources/ResourceIds.h"
#include "shell/MainWindow.h"
#include "shell/ShellWindowState.h"
#include "simulation/SimulationRun.h"
#include "simulation/WorldImages.h"
#include "simulation/WorldLease.h"

namespace {
constexpr int kW = 300;
constexpr int kH = 360;

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintFrame(dc);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

bool InLens(int x, int y) {
    return x >= 20 && x < 220 && y >= 20 && y < 220;
}

// A frame as the simulation leaves it: pattern seed inside the lens square, the rest untouched.
void FillLens(int seed) {
    for (int y = 20; y < 220; ++y) {
        for (int x = 20; x < 220; ++x) {
            FrameImage->GetLine(y)[x] =
                static_cast<uint32_t>(((x * seed) & 0xFF) << 16 | ((y + seed) & 0xFF) << 8 | seed);
        }
    }
}

class LensPaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorldLease();
        CreateWorldImages();
        shape_.LoadBitmapResource(MAKEINTRESOURCEA(IDB_MAGNIFIER_SHAPE));
        shape_.ChangeBitCount(32);
        WNDCLASSA wc{};
        wc.lpfnWndProc = &FrameWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LensPaintTest";
        RegisterClassA(&wc);
        lensPainted_ = MakeWindow(0);
        wholePainted_ = MakeWindow(kW + 40);
        FillLens(3);
        for (HWND w : {lensPainted_, wholePainted_}) {
            ShowWindow(w, SW_SHOWNOACTIVATE);
            UpdateWindow(w);
        }
        Pump();
    }
    void TearDown() override {
        DestroyWindow(lensPainted_);
        DestroyWindow(wholePainted_);
        DeleteObject(outline_);
        ReleaseWorldLease();
        ReleaseWorldLease();
    }

    HWND MakeWindow(int x) {
        HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "LensPaintTest", nullptr, WS_POPUP, x, 0, kW, kH,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowRgn(w, shape_.GetTransRgn(0, 0, kW, kH, kKeyColour), TRUE);
        if (outline_ == nullptr) {
            outline_ = shape_.GetTransRgn(0, 0, kW, kH, kKeyColour);
        }
        return w;
    }

    // What the window shows, as 0xRRGGBB.
    void ReadBack(HWND window, DIBImage& into) {
        into.ChangeBitCount(32);
        into.SetWidth(kW);
        into.SetHeight(kH);
        HDC dc = GetDC(window);
        BitBlt(into.GetMemoryDC()->GetHDC(), 0, 0, kW, kH, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
        GdiFlush();
    }

    DIBImage shape_;
    HRGN outline_ = nullptr;
    HWND lensPainted_ = nullptr;
    HWND wholePainted_ = nullptr;
};

TEST_F(LensPaintTest, TheLensRepaintShowsWhatAWholePaintShows) {
    FillLens(7);
    RepaintLens(lensPainted_);
    InvalidateRect(wholePainted_, nullptr, FALSE);
    UpdateWindow(wholePainted_);
    Pump();
    DIBImage lens;
    DIBImage whole;
    ReadBack(lensPainted_, lens);
    ReadBack(wholePainted_, whole);
    int compared = 0;
    int differ = 0;
    int stale = 0;
    int lensShown = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (!PtInRegion(outline_, x, y)) {
                continue;  // not part of the window
            }
            ++compared;
            const uint32_t got = lens.GetLine(y)[x] & 0xFFFFFF;
            differ += got != (whole.GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
            stale += got != (FrameImage->GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
            lensShown += InLens(x, y) && got == (FrameImage->GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
        }
    }
    EXPECT_GT(compared, 40000);  // the magnifier outline, lens and handle
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(stale, 0);
    EXPECT_GT(lensShown, 28000);  // the new frame did reach the lens
}

TEST_F(LensPaintTest, TheLensRepaintLeavesTheRimAsItWas) {
    // A change outside the lens square (which no frame makes) must not reach the window: the
    // repaint is the lens only.
    DIBImage before;
    ReadBack(lensPainted_, before);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (!InLens(x, y)) {
                FrameImage->GetLine(y)[x] = 0x123456;
            }
        }
    }
    FillLens(11);
    RepaintLens(lensPainted_);
    Pump();
    DIBImage after;
    ReadBack(lensPainted_, after);
    int rimKept = 0;
    int rimPixels = 0;
    int lensNew = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (!PtInRegion(outline_, x, y)) {
                continue;
            }
            const uint32_t got = after.GetLine(y)[x] & 0xFFFFFF;
            if (InLens(x, y)) {
                lensNew += got == (FrameImage->GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
            } else {
                ++rimPixels;
                rimKept += got == (before.GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
            }
        }
    }
    EXPECT_GT(rimPixels, 5000);
    EXPECT_EQ(rimKept, rimPixels);
    EXPECT_GT(lensNew, 28000);
}
}  // namespace
