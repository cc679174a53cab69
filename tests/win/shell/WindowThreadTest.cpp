// The seam between the two threads, at message level: boxes the simulation thread asks for are
// shown by the window thread (same texts, owners and icons) while the asker waits; Exit ends a
// running game without waiting out its bound; keys pressed to close a box never end the run.
#include "ShellTestSupport.h"
#include "simulation/Keyboard.h"
#include "resources/TextIds.h"
#include "simulation/SimulationRun.h"

#include <atomic>

namespace shelltest {
namespace {

// What the window thread's sink saw, and on which thread.
struct SeenBox {
    uint32_t text = 0;
    uint32_t caption = 0;
    uint32_t flags = 0;
    MessageOwner owner = MessageOwner::MainWindow;
    void* window = nullptr;
    DWORD thread = 0;
};
std::vector<SeenBox> g_seen;
DWORD g_openForMs = 0;                    // how long the user takes to close the box
std::atomic<int>* g_askerDone = nullptr;  // the asker of the box on show
int g_askerBackWhileOpen = 0;
int g_answer = mb::kIdOk;

int SeeBox(const MessageRequest& r) {
    g_seen.push_back({r.text, r.caption, r.flags, r.owner, r.window, GetCurrentThreadId()});
    // The box is modal: while it is open the window thread keeps serving its messages.
    if (g_openForMs > 0) {
        PumpUntil(g_openForMs);
        g_askerBackWhileOpen = g_askerDone != nullptr && g_askerDone->load() != 0 ? 1 : 0;
    }
    return g_answer;
}

bool ExitChosen() {
    return Shared.exitRequested != 0;
}

// The simulation thread's side of one box: asks, and notes when its wait is over.
struct Asker {
    MessageRequest request;
    std::atomic<int> result{-1};
    std::atomic<int> done{0};
    HANDLE thread = nullptr;

    static DWORD WINAPI Run(LPVOID self) {
        auto* asker = static_cast<Asker*>(self);
        asker->result = RaiseOnWindowThread(asker->request, &SeeBox);
        asker->done = 1;
        return 0;
    }
    void Start() { thread = CreateThread(nullptr, 0, &Run, this, 0, nullptr); }
    ~Asker() {
        if (thread != nullptr) {
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
        }
    }
};

class WindowThreadTest : public ShellWindowTest {
  protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        InstallMessageBoxSink(&ExitChosen);
        previous_ = SetMessageSink(&SeeBox);
        g_seen.clear();
        g_openForMs = 0;
        g_askerDone = nullptr;
        g_askerBackWhileOpen = 0;
        g_answer = mb::kIdOk;
    }
    void TearDown() override {
        g_openForMs = 0;
        g_askerDone = nullptr;
        SetMessageSink(previous_);
        ShellWindowTest::TearDown();
    }
    MessageSink previous_ = nullptr;
};

TEST_F(WindowThreadTest, ABoxOfTheSimulationThreadIsShownByTheWindowThreadAsAsked) {
    constexpr uint32_t kText = IDS_TOO_NARROW;
    Asker asker{
        {kText, IDS_TOO_SMALL_CAPTION, mb::kIconWarning, MessageOwner::MainWindow, nullptr}};
    g_answer = 7;  // the asker gets whatever the box answered
    asker.Start();
    ASSERT_TRUE(PumpUntil(3000, [&] { return asker.done != 0; }));
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].text, kText);
    EXPECT_EQ(g_seen[0].caption, IDS_TOO_SMALL_CAPTION);
    EXPECT_EQ(g_seen[0].flags, static_cast<uint32_t>(MB_ICONWARNING));
    EXPECT_EQ(g_seen[0].owner, MessageOwner::MainWindow);
    EXPECT_EQ(g_seen[0].thread, GetCurrentThreadId());
    EXPECT_EQ(asker.result.load(), 7);

    // The thank-you box keeps having no owner.
    Asker thanks{{IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, mb::kOk, MessageOwner::NoOwner, nullptr}};
    thanks.Start();
    ASSERT_TRUE(PumpUntil(3000, [&] { return thanks.done != 0; }));
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[1].owner, MessageOwner::NoOwner);
    EXPECT_EQ(g_seen[1].flags, 0u);
    EXPECT_EQ(g_seen[1].thread, GetCurrentThreadId());
}

TEST_F(WindowThreadTest, OnTheWindowThreadTheBoxIsShownAtOnce) {
    EXPECT_EQ(RaiseOnWindowThread({IDS_NO_ANT, IDS_INDEX_CAPTION, mb::kIconError,
                                   MessageOwner::MainWindow, nullptr},
                                  &SeeBox),
              mb::kIdOk);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].thread, GetCurrentThreadId());
}

TEST_F(WindowThreadTest, TheAskerWaitsUntilTheBoxIsClosed) {
    Asker asker{{IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk, MessageOwner::MainWindow, nullptr}};
    g_openForMs = 300;
    g_askerDone = &asker.done;
    asker.Start();
    ASSERT_TRUE(PumpUntil(3000, [&] { return asker.done != 0; }));
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_askerBackWhileOpen, 0);
}

// Exit chosen from the tray menu while the box is open: the asker stops waiting at once, the
// window thread's exit sequence does not wait out its bound, and the program ends.
int ExitWhileOpen(const MessageRequest& r) {
    g_seen.push_back({r.text, r.caption, r.flags, r.owner, r.window, GetCurrentThreadId()});
    SendMessageA(MainWindow, WM_COMMAND, IDM_EXIT, 0);
    return mb::kIdOk;
}

std::atomic<DWORD> g_askerBack{0};
DWORD WINAPI AskThenEnd(LPVOID) {
    RaiseOnWindowThread(
        {IDS_TOO_LOW, IDS_TOO_SMALL_CAPTION, mb::kIconWarning, MessageOwner::MainWindow, nullptr},
        &SeeBox);
    g_askerBack = GetTickCount();
    ReleaseWorldLease();
    return 0;
}

class ExitDuringABoxTest : public WindowThreadTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override { return &AskThenEnd; }
};

TEST_F(ExitDuringABoxTest, ExitWhileTheThreadWaitsForItsBoxEndsAtOnce) {
    g_askerBack = 0;
    SetMessageSink(&ExitWhileOpen);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil(3000, [this] { return !IsWindow(window_); }));
    const DWORD took = GetTickCount() - start;
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_NE(g_askerBack.load(), 0u);
    EXPECT_LT(took, 300u) << "the exit waited for the thread's bound";
    // The thread had ended before WM_DESTROY: nothing was kept for it.
    EXPECT_EQ(TheAppWindow, nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

TEST_F(WindowThreadTest, ABoxThatWillNeverBeShownLetsTheAskerGo) {
    // The window goes before its queue is served: the pending request is dropped, and the asker
    // is not left waiting for a box nobody shows.
    Asker asker{{IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk, MessageOwner::MainWindow, nullptr}};
    Shared.exitRequested = 0;
    // Hold the request in the queue: the asker posts, the window is destroyed before a pump.
    asker.Start();
    Sleep(100);
    MSG peek;
    ASSERT_TRUE(PeekMessageA(&peek, window_, WM_SHOWBOX, WM_SHOWBOX, PM_NOREMOVE));
    Shared.running = 0;  // the stand-in thread ends as after an Exit
    DestroyWindow(window_);
    EXPECT_EQ(WaitForSingleObject(asker.thread, 1000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(asker.result.load(), 0);
    EXPECT_TRUE(g_seen.empty());
    PumpUntilQuit(1000);
}

// The real simulation thread, running frames as fast as it can; the test thread is its window
// thread. Exit must not wait for a thread that is in the middle of its frame's paint.
class RunningGameTest : public WindowThreadTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override {
        Shared.timings.splashPauseMs = 0;
        Shared.frameWaitMs = 0;
        Shared.SetBackgroundFileName("Resource");
        return &SimulationThreadProc;
    }
    void TearDown() override {
        Shared.timings = SimulationTimings{};
        WindowThreadTest::TearDown();
    }
};

TEST_F(RunningGameTest, ExitFromARunningGameDoesNotWaitOutTheBound) {
    Shared.frameWaitMs = 0;
    ASSERT_TRUE(PumpUntil(10000, [] { return Shared.splashDone != 0; }));
    PumpUntil(500);  // a stretch of frames, each painted through this thread
    const DWORD start = GetTickCount();
    Command(IDM_EXIT);
    const DWORD took = GetTickCount() - start;
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_LT(took, 250u) << "the exit waited for a thread blocked in its frame's paint";
    EXPECT_EQ(TheAppWindow, nullptr);  // the thread had ended: nothing kept for it
    EXPECT_TRUE(PumpUntilQuit(1000));
}

SHORT WINAPI EscapeDown(int key) {
    return key == VK_ESCAPE ? static_cast<SHORT>(0x8000) : 0;
}

TEST_F(RunningGameTest, EscapeEndsTheRunAndTheProgramPromptly) {
    ASSERT_TRUE(PumpUntil(10000, [] { return Shared.splashDone != 0; }));
    const KeyStateFunction saved = QueryKeyState;
    Shared.hasFocus = 1;
    const DWORD start = GetTickCount();
    QueryKeyState = &EscapeDown;
    const bool ended = PumpUntil(2000, [this] { return !IsWindow(window_); });
    const DWORD took = GetTickCount() - start;
    QueryKeyState = saved;
    ASSERT_TRUE(ended);
    EXPECT_LT(took, 400u);
    EXPECT_EQ(TheAppWindow, nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

// The splash pause is one of the long pauses: the thread notices Exit within a slice of it.
class SplashPauseTest : public RunningGameTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override {
        LPTHREAD_START_ROUTINE entry = RunningGameTest::Simulation();
        Shared.timings.splashPauseMs = 3000;
        return entry;
    }
};

TEST_F(SplashPauseTest, ExitDuringTheSplashPauseStaysWithinTheBound) {
    PumpUntil(700);  // the first frame is done and the pause has begun
    ASSERT_EQ(Shared.splashDone.load(), 0);
    const DWORD start = GetTickCount();
    Command(IDM_EXIT);
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(kExitWaitMs));
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(PumpUntilQuit(1000));
    EXPECT_TRUE(FinishShell(2000));
}

// Escape held down when the focus comes back (it closed a message box): the simulation thread
// must not see the focus while the key still reads as pressed.
std::atomic<int> g_escapeHeld{0};
std::atomic<int> g_queries{0};
SHORT WINAPI HeldEscape(int key) {
    ++g_queries;
    return key == VK_ESCAPE && g_escapeHeld != 0 ? static_cast<SHORT>(0x8001) : 0;
}
std::atomic<int> g_focusSeenWhileHeld{0};
DWORD WINAPI ReleaseEscapeLater(LPVOID) {
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        if (Shared.hasFocus != 0) {
            g_focusSeenWhileHeld = 1;
        }
    }
    g_escapeHeld = 0;
    return 0;
}

TEST_F(WindowThreadTest, EscapeThatClosedABoxNeverReachesTheRun) {
    const KeyStateFunction saved = QueryKeyState;
    QueryKeyState = &HeldEscape;
    SendMessageA(window_, WM_KILLFOCUS, 0, 0);  // the box took the focus
    ASSERT_EQ(Shared.hasFocus.load(), 0);
    g_escapeHeld = 1;
    g_focusSeenWhileHeld = 0;
    g_queries = 0;
    HANDLE releaser = CreateThread(nullptr, 0, &ReleaseEscapeLater, nullptr, 0, nullptr);
    SendMessageA(window_, WM_SETFOCUS, 0, 0);  // Escape closed the box
    WaitForSingleObject(releaser, 2000);
    CloseHandle(releaser);
    QueryKeyState = saved;
    EXPECT_EQ(g_focusSeenWhileHeld.load(), 0);
    EXPECT_EQ(Shared.hasFocus.load(), 1);
    // About 200 ms held: the drain looks again every few milliseconds, it does not spin.
    EXPECT_GT(g_queries.load(), 7);
    EXPECT_LT(g_queries.load(), 7 * 60);
}

}  // namespace
}  // namespace shelltest
