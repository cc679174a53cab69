// The frame's repaint sends only the lens square to the display: read back from two magnifier-
// shaped windows, one repainted that way and one painted whole, the pictures are the same. Also
// the notice that asks for the repaint, and the lock between the frame's writer and its painter.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "imaging/DIBImage.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "resources/TextIds.h"
#include "shell/MainWindow.h"
#include "shell/ShellWindowState.h"
#include "simulation/FrameHandOff.h"
#include "simulation/SharedState.h"
#include "simulation/SimulationRun.h"
#include "simulation/World.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/PixelCount.h"

namespace {
// The world the frames are painted from, and the shared state its notices and scale live in.
World world;
SharedState shared;

constexpr int kW = 300;
constexpr int kH = 360;

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintFrame(dc, world, shared.Scale());
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 0;
    }
    if (message == WM_FRAMEREADY) {
        ShowNewFrame(window, shared, world);
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
    pixeltest::Fill(world.frame, [seed](int x, int y) {
        return InLens(x, y) ? static_cast<uint32_t>(((x * seed) & 0xFF) << 16 |
                                                    ((y + seed) & 0xFF) << 8 | seed)
                            : world.frame->GetLine(y)[x];
    });
}

class LensPaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.ResetLease();
        world.CreateImages();
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
        world.ReleaseLease();
        world.ReleaseLease();
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

    DIBImage shape_;
    HRGN outline_ = nullptr;
    HWND lensPainted_ = nullptr;
    HWND wholePainted_ = nullptr;
};

// A change outside the lens square (which no frame makes) must not reach the window: the repaint
// is the lens only, and there it shows the new frame as a whole paint does.
TEST_F(LensPaintTest, TheLensRepaintShowsTheNewLensAndLeavesTheRimAsItWas) {
    using pixeltest::CountWhere;
    using pixeltest::Pixel;
    DIBImage before;
    pixeltest::ReadWindow(lensPainted_, kW, kH, &before);
    pixeltest::Fill(world.frame, [](int x, int y) { return InLens(x, y) ? 0u : 0x123456u; });
    FillLens(11);
    RepaintLens(shared, lensPainted_);
    InvalidateRect(wholePainted_, nullptr, FALSE);
    UpdateWindow(wholePainted_);
    Pump();
    DIBImage after;
    DIBImage whole;
    pixeltest::ReadWindow(lensPainted_, kW, kH, &after);
    pixeltest::ReadWindow(wholePainted_, kW, kH, &whole);
    // Only what is part of the window counts: the magnifier outline, lens and handle.
    const auto shown = [this](int x, int y) { return PtInRegion(outline_, x, y) != FALSE; };
    const auto rim = [&](int x, int y) { return shown(x, y) && !InLens(x, y); };
    EXPECT_GT(CountWhere(0, 0, kW, kH, shown), 40000);
    EXPECT_EQ(CountWhere(0, 0, kW, kH,
                         [&](int x, int y) {
                             return shown(x, y) && Pixel(&whole, x, y) != Pixel(world.frame, x, y);
                         }),
              0);
    EXPECT_GT(CountWhere(0, 0, kW, kH, rim), 5000);
    EXPECT_EQ(CountWhere(0, 0, kW, kH,
                         [&](int x, int y) {
                             return rim(x, y) && Pixel(&after, x, y) != Pixel(&before, x, y);
                         }),
              0);
    // The new frame did reach the lens.
    EXPECT_GT(CountWhere(0, 0, kW, kH,
                         [&](int x, int y) {
                             return shown(x, y) && InLens(x, y) &&
                                    Pixel(&after, x, y) == Pixel(world.frame, x, y);
                         }),
              28000);
}
}  // namespace

namespace {
// At most one notice waits, however many frames the simulation thread finished meanwhile: a
// window thread held up (a box, a slow display) catches up with one paint of the newest frame.
TEST(FrameNoticeTest, OneNoticeWaitsUntilTheWindowThreadTakesIt) {
    HWND window = CreateWindowExA(0, "STATIC", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    auto waiting = [window] {
        int n = 0;
        MSG msg;
        while (PeekMessageA(&msg, window, WM_FRAMEREADY, WM_FRAMEREADY, PM_REMOVE)) {
            ++n;
        }
        return n;
    };
    shared.frameNotice.Acknowledge();
    RepaintLens(shared, window);
    RepaintLens(shared, window);
    RepaintLens(shared, window);
    EXPECT_EQ(waiting(), 1);
    RepaintLens(shared, window);  // not taken yet: still nothing new is posted
    EXPECT_EQ(waiting(), 0);
    shared.frameNotice.Acknowledge();
    RepaintLens(shared, window);
    EXPECT_EQ(waiting(), 1);
    shared.frameNotice.Acknowledge();
    DestroyWindow(window);
    // A window that is gone takes no notice, and does not keep the next window from getting one.
    RepaintLens(shared, window);
    HWND next = CreateWindowExA(0, "STATIC", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    RepaintLens(shared, next);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, next, WM_FRAMEREADY, WM_FRAMEREADY, PM_REMOVE));
    shared.frameNotice.Acknowledge();
    DestroyWindow(next);
}

// No box can come up under the frame lock (the window thread, which shows the boxes, may be
// waiting for it): one asked for all the same is refused, said so and counted, on that thread
// only, and only while the lock is held.
TEST(FrameLockTest, ABoxAskedForUnderTheLockIsRefusedAndReported) {
    MessageRecorder recorder;
    const int before = MessageZoneBreaches();
    {
        const FrameLock lock(world);
        EXPECT_EQ(ShowProgramMessage(IDS_BAD_BITMAP, IDS_BAD_BITMAP_CAPTION, mb::kIconError), 0);
        std::atomic<int> elsewhere{-1};
        HANDLE other = CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                *static_cast<std::atomic<int>*>(p) =
                    ShowProgramMessage(IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk);
                return 0;
            },
            &elsewhere, 0, nullptr);
        ASSERT_NE(other, nullptr);
        WaitForSingleObject(other, 5000);
        CloseHandle(other);
        EXPECT_EQ(elsewhere.load(), mb::kIdOk);
    }
    EXPECT_EQ(MessageZoneBreaches(), before + 1);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, static_cast<uint32_t>(IDS_FOUND));
    EXPECT_EQ(ShowProgramMessage(IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, mb::kOk), mb::kIdOk);
    EXPECT_EQ(recorder.size(), 2u);
}

// The window thread paints from the frame while the simulation thread may be writing the next
// one: a paint waits until the write is over, so no half-written frame reaches the screen.
TEST(FrameLockTest, APaintWaitsForTheFrameBeingWritten) {
    world.ResetLease();
    world.CreateImages();
    DIBImage target;
    target.ChangeBitCount(32);
    target.SetWidth(300);
    target.SetHeight(360);
    struct Paint {
        HDC dc;
        std::atomic<int> done{0};
    } paint{target.GetMemoryDC()->GetHDC()};
    HANDLE painter = nullptr;
    {
        const FrameLock writing(world);
        FillLens(5);
        painter = CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                auto* job = static_cast<Paint*>(p);
                PaintLens(job->dc, world, shared.Scale());
                job->done = 1;
                return 0;
            },
            &paint, 0, nullptr);
        ASSERT_NE(painter, nullptr);
        EXPECT_EQ(WaitForSingleObject(painter, 200), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_EQ(paint.done.load(), 0);
        FillLens(9);  // the frame is complete only now
    }
    EXPECT_EQ(WaitForSingleObject(painter, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(painter);
    GdiFlush();
    int same = 0;
    for (int y = 20; y < 220; ++y) {
        for (int x = 20; x < 220; ++x) {
            same += (target.GetLine(y)[x] & 0xFFFFFF) == (world.frame->GetLine(y)[x] & 0xFFFFFF);
        }
    }
    EXPECT_EQ(same, 200 * 200);
    world.ReleaseLease();
}
}  // namespace
