// The simulation thread against a stand-in main window: how a run ends (Escape with focus, all
// ants happy, Exit), the thank-you box, the Exit command it sends, the splash pause cut short,
// the stray ant's appearance and the end it holds back; and the pieces under it: keyboard
// polling, the frame pace, the world lease and the stray ant's windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimTestSupport.h"
#include "colony/Random.h"
#include "platform/ScreenInfo.h"
#include "simulation/SimulationRun.h"
#include "simulation/StrayAntMotion.h"
#include "tests/common/MessageRecorder.h"
#include "resources/TextIds.h"

namespace {
using simtest::Log;
using simtest::PumpUntil;

std::atomic<int> g_escapeDown{0};
std::atomic<int> g_queries{0};

SHORT WINAPI FakeKeyState(int key) {
    ++g_queries;
    return key == VK_ESCAPE && g_escapeDown != 0 ? static_cast<SHORT>(0x8000) : 0;
}

class FrameLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        simtest::CreateShellImages();
        Shared.timings.splashPauseMs = 50;
        Shared.timings.endingMs = 200;
        g_escapeDown = 0;
        g_queries = 0;
        QueryKeyState = &FakeKeyState;
        window_ = simtest::CreateTestWindow();
        MainWindow = window_;
        simtest::CreateStrayWindows(window_);
        Shared.strayRecord =
            new StrayAnt(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    void TearDown() override {
        if (thread_ != nullptr) {
            Shared.exitRequested = 1;
            Shared.running = 0;
            PumpUntil(thread_, 5000);
            CloseHandle(thread_);
        }
        simtest::DestroyStrayWindows();
        DestroyWindow(window_);
        MainWindow = nullptr;
        ReleaseWorldLease();  // the window side's lease
        QueryKeyState = &GetAsyncKeyState;
    }

    void Start() {
        Shared.running = 1;
        thread_ = CreateThread(nullptr, 0, &SimulationThreadProc, &simtest::Reports(), 0, nullptr);
        ASSERT_NE(thread_, nullptr);
    }
    bool WaitForSplash() {
        PumpUntil(thread_, 10000, [] { return Shared.splashDone.load() != 0; });
        return Shared.splashDone.load() != 0;
    }
    bool Alive(DWORD forMs) { return !PumpUntil(thread_, forMs); }

    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
};

TEST_F(FrameLoopTest, EscapeWithFocusEndsTheRunAndAsksForExit) {
    MessageRecorder recorder;
    Shared.hasFocus = 1;
    Start();
    ASSERT_TRUE(WaitForSplash());
    EXPECT_TRUE(Alive(300));
    g_escapeDown = 1;
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    EXPECT_EQ(Log().splashEnds, 1);
    EXPECT_EQ(simtest::Reports().ended.load(), 1);
    EXPECT_GT(Log().paints, 1);
    EXPECT_EQ(recorder.size(), 0u);  // no thank-you for leaving early
    // The thread gave its lease back; the images go with the window side's.
    EXPECT_NE(TheWorld.frame, nullptr);
    ReleaseWorldLease();
    EXPECT_EQ(TheWorld.frame, nullptr);
    EXPECT_EQ(Shared.strayRecord, nullptr);
}

TEST_F(FrameLoopTest, EscapeWithoutFocusIsNeverEvenAskedFor) {
    Shared.hasFocus = 0;
    g_escapeDown = 1;
    Start();
    ASSERT_TRUE(WaitForSplash());
    const int paints = Log().paints;
    EXPECT_TRUE(Alive(1000));
    EXPECT_GT(Log().paints, paints + 10);  // frames went on
    EXPECT_EQ(g_queries.load(), 0);
    // The user chooses Exit: the thread stops and does not ask for Exit a second time.
    Shared.exitRequested = 1;
    Shared.running = 0;
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    EXPECT_EQ(simtest::Reports().ended.load(), 0);
}

TEST_F(FrameLoopTest, AllWalkingAntsHappyEndsWithTheThankYouBox) {
    MessageRecorder recorder;
    Start();
    ASSERT_TRUE(WaitForSplash());
    Shared.colony.goalX = -10000;  // no ant becomes happy by itself meanwhile
    Shared.happyCount.fetch_add(48);
    EXPECT_TRUE(Alive(500));
    EXPECT_EQ(recorder.size(), 0u);
    Shared.happyCount.fetch_add(1);
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    ASSERT_EQ(recorder.size(), 1u);
    recorder.ExpectAt(0, IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, MB_OK, MessageOwner::NoOwner);
    EXPECT_EQ(simtest::Reports().ended.load(), 1);
}

TEST_F(FrameLoopTest, ExitDuringTheClosingSecondsShowsNoBoxAndSendsNoExit) {
    MessageRecorder recorder;
    Shared.timings.endingMs = 3000;
    Start();
    ASSERT_TRUE(WaitForSplash());
    Shared.colony.goalX = -10000;
    Shared.happyCount.fetch_add(49);
    EXPECT_TRUE(Alive(300));  // in the closing passes
    Shared.exitRequested = 1;
    Shared.running = 0;
    ASSERT_TRUE(PumpUntil(thread_, 2500));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(simtest::Reports().ended.load(), 0);
}

TEST_F(FrameLoopTest, ExitDuringTheSplashPauseEndsTheThreadBeforeThePauseIsOver) {
    Shared.timings.splashPauseMs = 3000;
    ShowWindow(window_, SW_SHOWNOACTIVATE);  // so that the first frame's update paints
    Start();
    // The first frame has been shown: the thread is in its pause.
    PumpUntil(thread_, 5000, [] { return Log().paints > 0; });
    ASSERT_GT(Log().paints, 0);
    Shared.exitRequested = 1;
    Shared.running = 0;
    EXPECT_TRUE(PumpUntil(thread_, 1500));
    EXPECT_EQ(Log().splashEnds, 0);
    EXPECT_EQ(simtest::Reports().ended.load(), 0);
    EXPECT_EQ(Shared.splashDone.load(), 0);
}

TEST_F(FrameLoopTest, NotRunningAtStartGoesStraightToTeardown) {
    Shared.running = 0;
    thread_ = CreateThread(nullptr, 0, &SimulationThreadProc, &simtest::Reports(), 0, nullptr);
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    EXPECT_EQ(Log().paints, 0);
    EXPECT_EQ(Log().splashEnds, 0);
    EXPECT_EQ(simtest::Reports().ended.load(), 1);
}

TEST_F(FrameLoopTest, TheStrayAntWaitsForTheShellsWindows) {
    Shared.timings.strayDelayMs = 0;
    Shared.shellReady = 0;
    Start();
    ASSERT_TRUE(WaitForSplash());
    Shared.colony.goalX = -10000;
    EXPECT_TRUE(Alive(1500));  // some hundred frames, each of which could have let it out
    EXPECT_EQ(Shared.strayAntActive.load(), 0);
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    Shared.shellReady = 1;
    PumpUntil(thread_, 20000, [] { return Shared.strayAntActive.load() != 0; });
    EXPECT_EQ(Shared.strayAntActive.load(), 1);
}

TEST_F(FrameLoopTest, TheStrayAntComesAfterTenSecondsAndHoldsBackTheEndUntilFound) {
    MessageRecorder recorder;
    Shared.shellReady = 1;
    const DWORD t0 = GetTickCount();
    Start();
    ASSERT_TRUE(WaitForSplash());
    Shared.colony.goalX = -10000;
    DWORD seen = 0;
    int visibleEarly = 0;
    PumpUntil(thread_, 35000, [&] {
        if (Shared.strayAntActive.load() != 0) {
            seen = GetTickCount();
            return true;
        }
        visibleEarly += simtest::VisibleStrayWindows();
        return false;
    });
    ASSERT_NE(seen, 0u) << "the stray ant never came out";
    EXPECT_GT(seen - t0, 10000u);
    EXPECT_EQ(visibleEarly, 0);
    EXPECT_EQ(Shared.happyCount.load(), -1);

    // Every walking ant happy, but the stray ant is still out: the run goes on.
    Shared.happyCount.fetch_add(49);
    EXPECT_TRUE(Alive(1000));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(simtest::VisibleStrayWindows(), 1);
    EXPECT_TRUE(IsWindowVisible(simtest::StrayWindows[kStrayAntIndex]));

    // Found: the click's count and state, as the stray-ant window does it.
    Shared.happyCount.fetch_add(1);
    Shared.strayRecord->state = StrayRising;
    bool heartShown = false;
    const bool ended = PumpUntil(thread_, 10000, [&] {
        heartShown = heartShown || IsWindowVisible(simtest::StrayWindows[kStrayHeartIndex]) != 0;
        return false;
    });
    ASSERT_TRUE(ended);
    EXPECT_TRUE(heartShown);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, IDS_THANK_YOU);
    EXPECT_EQ(simtest::Reports().ended.load(), 1);
}

// The keys as the focus finds them: which are down (high bit) or were pressed since the last
// query (low bit), and every query in order.
std::vector<int> g_keyQueries;
SHORT g_keyState[256] = {};
SHORT WINAPI ScriptedKeys(int key) {
    g_keyQueries.push_back(key);
    return g_keyState[key & 0xFF];
}

TEST(KeyboardTest, TheFocusQueriesAllSevenKeysOnceAndNeverWaits) {
    QueryKeyState = &ScriptedKeys;
    struct Case {
        int key;
        SHORT state;
        int32_t focus;  // what the focus gives
    } cases[] = {
        {VK_ESCAPE, 0, kFocusKeysLive},
        {VK_ESCAPE, static_cast<SHORT>(0x8000), kFocusUntilReleased},  // held
        {VK_ESCAPE, 1, kFocusUntilReleased},  // pressed while a box had the focus
        {VK_SPACE, static_cast<SHORT>(0x8000), kFocusUntilReleased},
        {VK_RETURN, 1, kFocusUntilReleased},
    };
    const int order[7] = {VK_SPACE, VK_UP, VK_DOWN, VK_RIGHT, VK_LEFT, VK_RETURN, VK_ESCAPE};
    for (const Case& c : cases) {
        g_keyQueries.clear();
        std::fill(std::begin(g_keyState), std::end(g_keyState), SHORT{0});
        g_keyState[c.key] = c.state;
        TakeKeyboardFocus();
        EXPECT_EQ(Shared.hasFocus.load(), c.focus) << c.key << "/" << c.state;
        ASSERT_EQ(g_keyQueries.size(), 7u);  // one pass, held key or not
        for (size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(g_keyQueries[i], order[i]);
        }
    }
    Shared.hasFocus = 0;
    QueryKeyState = &GetAsyncKeyState;
}

TEST(KeyboardTest, AnEscapeHeldWhenTheFocusCameCountsOnlyAfterItsRelease) {
    QueryKeyState = &ScriptedKeys;
    std::fill(std::begin(g_keyState), std::end(g_keyState), SHORT{0});
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8001);
    TakeKeyboardFocus();
    ASSERT_EQ(Shared.hasFocus.load(), kFocusUntilReleased);
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8000);
    for (int frame = 0; frame < 100; ++frame) {
        ASSERT_EQ(PollKeyboard(), kKeyNothing) << frame;  // held: never the end of the run
    }
    EXPECT_EQ(Shared.hasFocus.load(), kFocusUntilReleased);
    g_keyState[VK_ESCAPE] = 1;  // released (the low bit still remembers the press)
    EXPECT_EQ(PollKeyboard(), kKeyNothing);
    EXPECT_EQ(Shared.hasFocus.load(), kFocusKeysLive);
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8001);  // a new press, asked for once
    g_keyQueries.clear();
    EXPECT_EQ(PollKeyboard(), kKeyEscape);
    EXPECT_EQ(g_keyQueries, std::vector<int>{VK_ESCAPE});
    // A focus lost while the key was held is not given back by its release.
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8000);
    TakeKeyboardFocus();
    Shared.hasFocus = kFocusNone;
    g_keyState[VK_ESCAPE] = 0;
    EXPECT_EQ(PollKeyboard(), kKeyNothing);
    EXPECT_EQ(Shared.hasFocus.load(), kFocusNone);
    QueryKeyState = &GetAsyncKeyState;
}

TEST(PaceFrameTest, WaitsOutTheFramePeriodBySleeping) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto nowMs = [&] {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return static_cast<double>(counter.QuadPart) * 1000.0 / frequency.QuadPart;
    };
    Shared.frameWaitMs = 400;
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    HANDLE self = GetCurrentThread();
    GetThreadTimes(self, &created, &exited, &kernelBefore, &userBefore);
    const double startMs = nowMs();
    PaceFrame(GetTickCount());
    const double elapsed = nowMs() - startMs;
    GetThreadTimes(self, &created, &exited, &kernelAfter, &userAfter);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const uint64_t busy100ns =
        ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore);
    EXPECT_GE(elapsed, 370.0);  // less the tick counter's grain
    // Sleeping costs next to no processor time; polling the clock would cost the whole period.
    EXPECT_LT(busy100ns, 1000000u) << "PaceFrame kept the processor busy";

    // A frame that already took longer only sleeps the 10 ms.
    Shared.frameWaitMs = 80;
    const double before = nowMs();
    PaceFrame(GetTickCount() - 500);
    EXPECT_GE(nowMs() - before, 9.0);
    Shared.frameWaitMs = 80;
}

TEST(WorldLeaseTest, TheSecondReleaseFreesTheImagesAndTheRecord) {
    simtest::CreateShellImages();
    Shared.strayRecord = new StrayAnt(800, 600);
    ReleaseWorldLease();
    EXPECT_NE(TheWorld.frame, nullptr);
    EXPECT_NE(TheWorld.magnifier, nullptr);
    EXPECT_NE(Shared.strayRecord, nullptr);
    EXPECT_EQ(TheWorld.frame->GetWidth(), 300);  // still usable by the other thread
    ReleaseWorldLease();
    for (const DIBImage* image :
         {TheWorld.frame, TheWorld.fieldCanvas, TheWorld.field, TheWorld.magnifier,
          TheWorld.antSprites, TheWorld.ball, TheWorld.heart}) {
        EXPECT_EQ(image, nullptr);
    }
    EXPECT_EQ(Shared.strayRecord, nullptr);
    // A surplus release frees nothing a second time.
    TheWorld.frame = new DIBImage();
    ReleaseWorldLease();
    EXPECT_NE(TheWorld.frame, nullptr);
    delete TheWorld.frame;
    TheWorld.frame = nullptr;
}

class StrayWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        window_ = simtest::CreateTestWindow(WS_POPUP | WS_VISIBLE);
        MainWindow = window_;
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
        SetFocus(window_);
        simtest::CreateStrayWindows(window_);
        Shared.strayRecord = new StrayAnt(800, 600);
        Shared.strayRecord->x = 400;
        Shared.strayRecord->y = 300;
        Shared.strayRecord->direction = 3;
        Shared.strayShown.Publish({});
        AcknowledgeStrayPlacement();
        Shared.happyCount = 10;
        Shared.strayAntActive = 0;
    }
    void TearDown() override {
        Deliver();
        simtest::DestroyStrayWindows();
        DestroyWindow(window_);
        MainWindow = nullptr;
        delete Shared.strayRecord;
        Shared.strayRecord = nullptr;
    }
    // The placement requests the thread posted, as many as wait in the queue.
    static int Deliver() {
        int delivered = 0;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            delivered += msg.message == WM_STRAYMOVED ? 1 : 0;
            DispatchMessageA(&msg);
        }
        return delivered;
    }
    // Where the ant's window stands, if it is the one on show.
    static bool AntShownAt(int x, int y) {
        RECT rect{};
        return IsWindowVisible(simtest::StrayWindows[kStrayAntIndex]) &&
               !IsWindowVisible(simtest::StrayWindows[kStrayHeartIndex]) &&
               GetWindowRect(simtest::StrayWindows[kStrayAntIndex], &rect) && rect.left == x &&
               rect.top == y;
    }
    // The published pose is the ant's cell and place, and its window stands there.
    static bool ShowsTheAntsPose() {
        const StrayAntPose pose = Shared.strayShown.Read();
        const StrayAnt& ant = *Shared.strayRecord;
        return pose.kind == StrayAntPose::Walking && pose.cell == ant.Cell() && pose.x == ant.x &&
               pose.y == ant.y && AntShownAt(pose.x, pose.y);
    }
    HWND window_ = nullptr;
};

TEST_F(StrayWindowsTest, EachFramePublishesOnePoseAndAtMostOneRequestWaits) {
    ReleaseStrayAnt();
    EXPECT_EQ(Shared.strayAntActive.load(), 1);
    EXPECT_EQ(Shared.happyCount.load(), 9);
    StrayAntPose pose = Shared.strayShown.Read();
    EXPECT_EQ(pose.kind, StrayAntPose::Walking);
    EXPECT_EQ(pose.cell, 3 * 2 + 0);
    EXPECT_EQ(pose.x, 400);
    EXPECT_EQ(pose.y, 300);
    // Frames that come while the window thread is busy (in a message box, say) add no more
    // requests: the one waiting places the newest pose.
    for (int frame = 0; frame < 5; ++frame) {
        UpdateStrayAnt();
    }
    EXPECT_EQ(Deliver(), 1);
    EXPECT_TRUE(ShowsTheAntsPose());
    for (int frame = 0; frame < 200; ++frame) {
        UpdateStrayAnt();
        ASSERT_EQ(Deliver(), 1) << frame;
        ASSERT_TRUE(ShowsTheAntsPose()) << frame;
    }
    EXPECT_EQ(Shared.happyCount.load(), 9);
}

TEST_F(StrayWindowsTest, ThreadNeverTouchesTheWindowsItself) {
    // Nothing is delivered: whatever the thread does, no window of the window thread changes.
    ReleaseStrayAnt();
    for (int frame = 0; frame < 20; ++frame) {
        UpdateStrayAnt();
    }
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    Shared.strayRecord->state = StrayRising;
    UpdateStrayAnt();
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    EXPECT_EQ(Shared.strayShown.Read().kind, StrayAntPose::Heart);
}

TEST_F(StrayWindowsTest, RisesAsTheHeartThenHidesEverything) {
    ReleaseStrayAnt();
    Shared.strayRecord->state = StrayRising;
    const int x0 = Shared.strayRecord->x;
    const int y0 = Shared.strayRecord->y;
    for (int frame = 0; frame < 49; ++frame) {
        UpdateStrayAnt();
        Deliver();
        ASSERT_EQ(simtest::VisibleStrayWindows(), 1);
        ASSERT_TRUE(IsWindowVisible(simtest::StrayWindows[kStrayHeartIndex]));
    }
    const StrayAntPose pose = Shared.strayShown.Read();
    EXPECT_EQ(pose.kind, StrayAntPose::Heart);
    EXPECT_EQ(pose.x, x0 + 9);
    EXPECT_EQ(pose.y, y0 - 49);
    RECT rect;
    GetWindowRect(simtest::StrayWindows[kStrayHeartIndex], &rect);
    EXPECT_EQ(rect.left, x0 + 9);
    EXPECT_EQ(rect.top, y0 - 49);
    EXPECT_EQ(rect.right - rect.left, 16);
    UpdateStrayAnt();  // age 50: the rise is over
    EXPECT_EQ(Shared.strayRecord->state, StrayFinished);
    EXPECT_EQ(Shared.strayAntActive.load(), 1);
    UpdateStrayAnt();  // the frame after: all hidden, the outing over
    Deliver();
    EXPECT_EQ(Shared.strayShown.Read().kind, StrayAntPose::Hidden);
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    EXPECT_EQ(Shared.strayAntActive.load(), 0);
}
}  // namespace

namespace {
// While the magnifier is hidden nothing is drawn for it, yet the world goes on: the thrown ball
// flies. Shown again, the frames are drawn and shown as before.
TEST_F(FrameLoopTest, AHiddenMagnifierGetsNoFramesButTheBallFliesOn) {
    Start();
    ASSERT_TRUE(WaitForSplash());
    ASSERT_TRUE(IsWindowVisible(window_));  // shown when the splash went
    ShowWindow(window_, SW_HIDE);
    EXPECT_TRUE(Alive(200));  // a frame under way when it was hidden may still be shown
    const int paints = Log().paints;
    constexpr uint32_t kMarker = 0x00123456;
    TheWorld.frame->GetLine(120)[120] = kMarker;  // the middle of the lens
    Shared.colony.ballX = 100;
    Shared.colony.ballY = 100;
    Shared.ballAngle = 0;
    Shared.ballSpeed = 20;
    Shared.colony.ballFlying = 1;
    EXPECT_TRUE(Alive(600));
    EXPECT_EQ(TheWorld.frame->GetLine(120)[120], kMarker);  // not drawn
    EXPECT_EQ(Log().paints, paints);                        // nor asked to be shown
    EXPECT_GT(Shared.colony.ballX.load(), 100);             // but the ball flew
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(Alive(600));
    EXPECT_NE(TheWorld.frame->GetLine(120)[120], kMarker);
    EXPECT_GT(Log().paints, paints + 3);
}
}  // namespace
