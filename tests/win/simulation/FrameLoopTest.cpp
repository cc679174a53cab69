// The simulation thread against a stand-in main window: how a run ends (Escape with focus, all
// ants happy, Exit), the thank-you box, the Exit command it sends, the splash pause cut short,
// the stray ant's appearance and the end it holds back; and the pieces under it: keyboard
// polling, the frame pace, the world lease and the stray ant's windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimTestSupport.h"
#include "imaging/GdiObjectCount.h"
#include "platform/ScreenInfo.h"
#include "simulation/SimulationRun.h"
#include "simulation/StrayAntMotion.h"
#include "tests/common/MessageRecorder.h"
#include "resources/TextIds.h"

namespace {
World& world = simtest::TestWorld();
SharedState& shared = simtest::TestShared();
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
        shared.timings.splashPauseMs = 50;
        shared.timings.endingMs = 200;
        g_escapeDown = 0;
        g_queries = 0;
        QueryKeyState = &FakeKeyState;
        window_ = simtest::CreateTestWindow();
        links_.mainWindow = window_;
        simtest::CreateStrayWindows(window_);
        world.strayRecord = new StrayAnt(GetSystemMetrics(SM_CXSCREEN),
                                         GetSystemMetrics(SM_CYSCREEN), shared.colony.random);
    }
    void TearDown() override {
        if (thread_ != nullptr) {
            ChooseExit();
            PumpUntil(thread_, 5000);
            CloseHandle(thread_);
        }
        simtest::DestroyStrayWindows();
        DestroyWindow(window_);
        world.ReleaseLease();  // the window side's lease
        QueryKeyState = &GetAsyncKeyState;
    }

    void Start() {
        shared.running = 1;
        thread_ = CreateThread(nullptr, 0, &SimulationThreadProc, &links_, 0, nullptr);
        ASSERT_NE(thread_, nullptr);
    }
    bool WaitForSplash() {
        PumpUntil(thread_, 10000, [] { return shared.splashDone.load() != 0; });
        return shared.splashDone.load() != 0;
    }
    bool Alive(DWORD forMs) { return !PumpUntil(thread_, forMs); }
    // Started and past the splash, the goal out of every ant's reach: no ant gets happy by itself.
    bool StartedWithoutAGoal() {
        Start();
        if (thread_ == nullptr || !WaitForSplash()) {
            return false;
        }
        shared.colony.goalX = -10000;
        return true;
    }
    // What the Exit command does to the run.
    static void ChooseExit() {
        shared.exitRequested = 1;
        shared.running = 0;
    }

    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    SimulationLinks links_{world, shared, nullptr, simtest::Reports()};
};

TEST_F(FrameLoopTest, EscapeWithFocusEndsTheRunAndAsksForExit) {
    MessageRecorder recorder;
    shared.hasFocus = 1;
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
    EXPECT_NE(world.frame, nullptr);
    world.ReleaseLease();
    EXPECT_EQ(world.frame, nullptr);
    EXPECT_EQ(world.strayRecord, nullptr);
}

TEST_F(FrameLoopTest, EscapeWithoutFocusIsNeverEvenAskedFor) {
    shared.hasFocus = 0;
    g_escapeDown = 1;
    Start();
    ASSERT_TRUE(WaitForSplash());
    const int paints = Log().paints;
    EXPECT_TRUE(Alive(1000));
    EXPECT_GT(Log().paints, paints + 10);  // frames went on
    EXPECT_EQ(g_queries.load(), 0);
    // The user chooses Exit: the thread stops and does not ask for Exit a second time.
    ChooseExit();
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    EXPECT_EQ(simtest::Reports().ended.load(), 0);
}

TEST_F(FrameLoopTest, AllWalkingAntsHappyEndsWithTheThankYouBox) {
    MessageRecorder recorder;
    ASSERT_TRUE(StartedWithoutAGoal());
    shared.happyCount.fetch_add(48);
    EXPECT_TRUE(Alive(500));
    EXPECT_EQ(recorder.size(), 0u);
    shared.happyCount.fetch_add(1);
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    ASSERT_EQ(recorder.size(), 1u);
    recorder.ExpectAt(0, IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, MB_OK, MessageOwner::NoOwner);
    EXPECT_EQ(simtest::Reports().ended.load(), 1);
}

TEST_F(FrameLoopTest, ExitDuringTheClosingSecondsShowsNoBoxAndSendsNoExit) {
    MessageRecorder recorder;
    shared.timings.endingMs = 3000;
    ASSERT_TRUE(StartedWithoutAGoal());
    shared.happyCount.fetch_add(49);
    EXPECT_TRUE(Alive(300));  // in the closing passes
    ChooseExit();
    ASSERT_TRUE(PumpUntil(thread_, 2500));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(simtest::Reports().ended.load(), 0);
}

TEST_F(FrameLoopTest, ExitDuringTheSplashPauseEndsTheThreadBeforeThePauseIsOver) {
    shared.timings.splashPauseMs = 3000;
    ShowWindow(window_, SW_SHOWNOACTIVATE);  // so that the first frame's update paints
    Start();
    // The first frame has been shown: the thread is in its pause.
    PumpUntil(thread_, 5000, [] { return Log().paints > 0; });
    ASSERT_GT(Log().paints, 0);
    ChooseExit();
    EXPECT_TRUE(PumpUntil(thread_, 1500));
    EXPECT_EQ(Log().splashEnds, 0);
    EXPECT_EQ(simtest::Reports().ended.load(), 0);
    EXPECT_EQ(shared.splashDone.load(), 0);
}

TEST_F(FrameLoopTest, NotRunningAtStartGoesStraightToTeardown) {
    shared.running = 0;
    thread_ = CreateThread(nullptr, 0, &SimulationThreadProc, &links_, 0, nullptr);
    ASSERT_TRUE(PumpUntil(thread_, 5000));
    EXPECT_EQ(Log().paints, 0);
    EXPECT_EQ(Log().splashEnds, 0);
    EXPECT_EQ(simtest::Reports().ended.load(), 1);
}

TEST_F(FrameLoopTest, TheStrayAntWaitsForTheShellsWindows) {
    shared.timings.strayDelayMs = 0;
    shared.shellReady = 0;
    ASSERT_TRUE(StartedWithoutAGoal());
    EXPECT_TRUE(Alive(1500));  // some hundred frames, each of which could have let it out
    EXPECT_EQ(shared.strayAntActive.load(), 0);
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    shared.shellReady = 1;
    PumpUntil(thread_, 20000, [] { return shared.strayAntActive.load() != 0; });
    EXPECT_EQ(shared.strayAntActive.load(), 1);
}

TEST_F(FrameLoopTest, TheStrayAntComesAfterTenSecondsAndHoldsBackTheEndUntilFound) {
    MessageRecorder recorder;
    shared.shellReady = 1;
    const DWORD t0 = GetTickCount();
    ASSERT_TRUE(StartedWithoutAGoal());
    DWORD seen = 0;
    int visibleEarly = 0;
    PumpUntil(thread_, 35000, [&] {
        if (shared.strayAntActive.load() != 0) {
            seen = GetTickCount();
            return true;
        }
        visibleEarly += simtest::VisibleStrayWindows();
        return false;
    });
    ASSERT_NE(seen, 0u) << "the stray ant never came out";
    EXPECT_GT(seen - t0, 10000u);
    EXPECT_EQ(visibleEarly, 0);
    EXPECT_EQ(shared.happyCount.load(), -1);

    // Every walking ant happy, but the stray ant is still out: the run goes on.
    shared.happyCount.fetch_add(49);
    EXPECT_TRUE(Alive(1000));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(simtest::VisibleStrayWindows(), 1);
    EXPECT_TRUE(IsWindowVisible(simtest::StrayWindows()[kStrayAntIndex]));

    // Found: the click's count and state, as the stray-ant window does it.
    shared.happyCount.fetch_add(1);
    world.strayRecord->state = StrayRising;
    bool heartShown = false;
    const bool ended = PumpUntil(thread_, 10000, [&] {
        heartShown = heartShown || IsWindowVisible(simtest::StrayWindows()[kStrayHeartIndex]) != 0;
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
        TakeKeyboardFocus(shared);
        EXPECT_EQ(shared.hasFocus.load(), c.focus) << c.key << "/" << c.state;
        ASSERT_EQ(g_keyQueries.size(), 7u);  // one pass, held key or not
        for (size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(g_keyQueries[i], order[i]);
        }
    }
    shared.hasFocus = 0;
    QueryKeyState = &GetAsyncKeyState;
}

TEST(KeyboardTest, AnEscapeHeldWhenTheFocusCameCountsOnlyAfterItsRelease) {
    QueryKeyState = &ScriptedKeys;
    std::fill(std::begin(g_keyState), std::end(g_keyState), SHORT{0});
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8001);
    TakeKeyboardFocus(shared);
    ASSERT_EQ(shared.hasFocus.load(), kFocusUntilReleased);
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8000);
    for (int frame = 0; frame < 100; ++frame) {
        ASSERT_EQ(PollKeyboard(shared), kKeyNothing) << frame;  // held: never the end of the run
    }
    EXPECT_EQ(shared.hasFocus.load(), kFocusUntilReleased);
    g_keyState[VK_ESCAPE] = 1;  // released (the low bit still remembers the press)
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);
    EXPECT_EQ(shared.hasFocus.load(), kFocusKeysLive);
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8001);  // a new press, asked for once
    g_keyQueries.clear();
    EXPECT_EQ(PollKeyboard(shared), kKeyEscape);
    EXPECT_EQ(g_keyQueries, std::vector<int>{VK_ESCAPE});
    // A focus lost while the key was held is not given back by its release.
    g_keyState[VK_ESCAPE] = static_cast<SHORT>(0x8000);
    TakeKeyboardFocus(shared);
    shared.hasFocus = kFocusNone;
    g_keyState[VK_ESCAPE] = 0;
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);
    EXPECT_EQ(shared.hasFocus.load(), kFocusNone);
    QueryKeyState = &GetAsyncKeyState;
}

// The frame period is waited out (its processor cost is the CPU benchmark's to measure).
TEST(PaceFrameTest, WaitsOutTheFramePeriod) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto nowMs = [&] {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return static_cast<double>(counter.QuadPart) * 1000.0 / frequency.QuadPart;
    };
    shared.frameWaitMs = 400;
    const double startMs = nowMs();
    PaceFrame(shared, GetTickCount());
    EXPECT_GE(nowMs() - startMs, 370.0);  // less the tick counter's grain

    // A frame that already took longer only sleeps the 10 ms.
    shared.frameWaitMs = 80;
    const double before = nowMs();
    PaceFrame(shared, GetTickCount() - 500);
    EXPECT_GE(nowMs() - before, 9.0);
}

TEST(WorldLeaseTest, TheSecondReleaseFreesTheImagesAndTheRecord) {
    World own;
    own.CreateImages();
    own.strayRecord = new StrayAnt(800, 600, shared.colony.random);
    own.ReleaseLease();
    EXPECT_NE(own.frame, nullptr);
    EXPECT_NE(own.magnifier, nullptr);
    EXPECT_NE(own.strayRecord, nullptr);
    EXPECT_EQ(own.frame->GetWidth(), 300);  // still usable by the other thread
    own.ReleaseLease();
    for (const DIBImage* image : {own.frame, own.fieldCanvas, own.field, own.magnifier,
                                  own.antSprites, own.ball, own.heart}) {
        EXPECT_EQ(image, nullptr);
    }
    EXPECT_EQ(own.strayRecord, nullptr);
    // A surplus release frees nothing a second time.
    own.frame = new DIBImage();
    own.ReleaseLease();
    EXPECT_NE(own.frame, nullptr);
}

TEST(WorldLeaseTest, AWorldThatGoesFreesWhateverItStillHolds) {
    const int before = LiveImagingGdiObjects();
    for (int releases : {0, 1, 2}) {
        {
            World own;
            own.CreateImages();
            own.CreateRunParts();
            own.strayRecord = new StrayAnt(800, 600, shared.colony.random);
            ASSERT_GT(LiveImagingGdiObjects(), before);
            for (int k = 0; k < releases; ++k) {
                own.ReleaseLease();
            }
        }
        EXPECT_EQ(LiveImagingGdiObjects(), before) << releases << " leases given back";
    }
}

class StrayWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        window_ = simtest::CreateTestWindow(WS_POPUP | WS_VISIBLE);
        SetForegroundWindow(window_);
        SetActiveWindow(window_);
        SetFocus(window_);
        simtest::CreateStrayWindows(window_);
        world.strayRecord = new StrayAnt(800, 600, shared.colony.random);
        world.strayRecord->x = 400;
        world.strayRecord->y = 300;
        world.strayRecord->direction = 3;
        shared.strayShown.Publish({});
        shared.strayPlacement.Acknowledge();
        shared.happyCount = 10;
        shared.strayAntActive = 0;
    }
    void TearDown() override {
        Deliver();
        simtest::DestroyStrayWindows();
        DestroyWindow(window_);
        delete world.strayRecord;
        world.strayRecord = nullptr;
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
        return IsWindowVisible(simtest::StrayWindows()[kStrayAntIndex]) &&
               !IsWindowVisible(simtest::StrayWindows()[kStrayHeartIndex]) &&
               GetWindowRect(simtest::StrayWindows()[kStrayAntIndex], &rect) && rect.left == x &&
               rect.top == y;
    }
    // The published pose is the ant's cell and place, and its window stands there.
    static bool ShowsTheAntsPose() {
        const StrayAntPose pose = shared.strayShown.Read();
        const StrayAnt& ant = *world.strayRecord;
        return pose.kind == StrayAntPose::Walking && pose.cell == ant.Cell() && pose.x == ant.x &&
               pose.y == ant.y && AntShownAt(pose.x, pose.y);
    }
    // The stray ant's motion as the run does it, posting to the stand-in main window.
    StrayAntMotion Motion() { return StrayAntMotion(world, shared, window_); }
    HWND window_ = nullptr;
};

TEST_F(StrayWindowsTest, EachFramePublishesOnePoseAndAtMostOneRequestWaits) {
    Motion().Release();
    EXPECT_EQ(shared.strayAntActive.load(), 1);
    EXPECT_EQ(shared.happyCount.load(), 9);
    StrayAntPose pose = shared.strayShown.Read();
    EXPECT_EQ(pose.kind, StrayAntPose::Walking);
    EXPECT_EQ(pose.cell, 3 * 2 + 0);
    EXPECT_EQ(pose.x, 400);
    EXPECT_EQ(pose.y, 300);
    // Frames that come while the window thread is busy (in a message box, say) add no more
    // requests: the one waiting places the newest pose.
    for (int frame = 0; frame < 5; ++frame) {
        Motion().Update();
    }
    EXPECT_EQ(Deliver(), 1);
    EXPECT_TRUE(ShowsTheAntsPose());
    for (int frame = 0; frame < 200; ++frame) {
        Motion().Update();
        ASSERT_EQ(Deliver(), 1) << frame;
        ASSERT_TRUE(ShowsTheAntsPose()) << frame;
    }
    EXPECT_EQ(shared.happyCount.load(), 9);
}

TEST_F(StrayWindowsTest, ThreadNeverTouchesTheWindowsItself) {
    // Nothing is delivered: whatever the thread does, no window of the window thread changes.
    Motion().Release();
    for (int frame = 0; frame < 20; ++frame) {
        Motion().Update();
    }
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    world.strayRecord->state = StrayRising;
    Motion().Update();
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    EXPECT_EQ(shared.strayShown.Read().kind, StrayAntPose::Heart);
}

TEST_F(StrayWindowsTest, RisesAsTheHeartThenHidesEverything) {
    Motion().Release();
    world.strayRecord->state = StrayRising;
    const int x0 = world.strayRecord->x;
    const int y0 = world.strayRecord->y;
    for (int frame = 0; frame < 49; ++frame) {
        Motion().Update();
        Deliver();
        ASSERT_EQ(simtest::VisibleStrayWindows(), 1);
        ASSERT_TRUE(IsWindowVisible(simtest::StrayWindows()[kStrayHeartIndex]));
    }
    const StrayAntPose pose = shared.strayShown.Read();
    EXPECT_EQ(pose.kind, StrayAntPose::Heart);
    EXPECT_EQ(pose.x, x0 + 9);
    EXPECT_EQ(pose.y, y0 - 49);
    RECT rect;
    GetWindowRect(simtest::StrayWindows()[kStrayHeartIndex], &rect);
    EXPECT_EQ(rect.left, x0 + 9);
    EXPECT_EQ(rect.top, y0 - 49);
    EXPECT_EQ(rect.right - rect.left, 16);
    Motion().Update();  // age 50: the rise is over
    EXPECT_EQ(world.strayRecord->state, StrayFinished);
    EXPECT_EQ(shared.strayAntActive.load(), 1);
    Motion().Update();  // the frame after: all hidden, the outing over
    Deliver();
    EXPECT_EQ(shared.strayShown.Read().kind, StrayAntPose::Hidden);
    EXPECT_EQ(simtest::VisibleStrayWindows(), 0);
    EXPECT_EQ(shared.strayAntActive.load(), 0);
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
    world.frame->GetLine(120)[120] = kMarker;  // the middle of the lens
    shared.colony.ballX = 100;
    shared.colony.ballY = 100;
    shared.ballAngle = 0;
    shared.ballSpeed = 20;
    shared.colony.ballFlying = 1;
    EXPECT_TRUE(Alive(600));
    EXPECT_EQ(world.frame->GetLine(120)[120], kMarker);  // not drawn
    EXPECT_EQ(Log().paints, paints);                     // nor asked to be shown
    EXPECT_GT(shared.colony.ballX.load(), 100);          // but the ball flew
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(Alive(600));
    EXPECT_NE(world.frame->GetLine(120)[120], kMarker);
    EXPECT_GT(Log().paints, paints + 3);
}
}  // namespace
