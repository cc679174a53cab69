// The seam between the two threads, at message level: boxes the simulation thread asks for are
// shown by the window thread (same texts, owners and icons) while the asker waits; Exit ends a
// running game without waiting out its bound; keys pressed to close a box never end the run.
#include "ShellTestSupport.h"
#include "shell/StrayAntWindow.h"
#include "simulation/Keyboard.h"
#include "resources/TextIds.h"
#include "simulation/SimulationRun.h"

#include <atomic>
#include <cctype>

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
    return shared.exitRequested != 0;
}

// The simulation thread's side of one box, from a thread of its own, while this thread serves
// its messages: what the box answered the asker, or -1 when the asker was not back within 3 s.
int AskAndServe(const MessageRequest& request) {
    std::atomic<int> result{-1};
    std::atomic<int> done{0};
    g_askerDone = &done;
    {
        Helper asker([&] {
            result = RaiseOnWindowThread(request, &SeeBox);
            done = 1;
        });
        PumpUntil(3000, [&] { return done != 0; });
    }
    g_askerDone = nullptr;
    return result;
}

// Waits up to three seconds for a box request to be posted to window, without serving it.
bool WaitForPostedBox(HWND window, MSG* posted, UINT remove) {
    const DWORD start = GetTickCount();
    while (!PeekMessageA(posted, window, WM_SHOWBOX, WM_SHOWBOX, remove)) {
        if (GetTickCount() - start >= 3000) {
            return false;
        }
        Sleep(5);
    }
    return true;
}

class WindowThreadTest : public ShellWindowTest {
  protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        InstallMessageBoxSink(TestProgram().app, &ExitChosen);
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
    g_answer = 7;  // the asker gets whatever the box answered
    EXPECT_EQ(AskAndServe({IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION, mb::kIconWarning,
                           MessageOwner::MainWindow, nullptr}),
              7);
    // The thank-you box keeps having no owner.
    EXPECT_EQ(AskAndServe(
                  {IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, mb::kOk, MessageOwner::NoOwner, nullptr}),
              7);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].text, IDS_TOO_NARROW);
    EXPECT_EQ(g_seen[0].caption, IDS_TOO_SMALL_CAPTION);
    EXPECT_EQ(g_seen[0].flags, static_cast<uint32_t>(MB_ICONWARNING));
    EXPECT_EQ(g_seen[0].owner, MessageOwner::MainWindow);
    EXPECT_EQ(g_seen[1].owner, MessageOwner::NoOwner);
    EXPECT_EQ(g_seen[1].flags, 0u);
    for (const SeenBox& box : g_seen) {
        EXPECT_EQ(box.thread, GetCurrentThreadId());
    }
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
    g_openForMs = 300;
    EXPECT_EQ(
        AskAndServe({IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk, MessageOwner::MainWindow, nullptr}),
        mb::kIdOk);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_askerBackWhileOpen, 0);
}

// Exit chosen from the tray menu while the box is open: the asker stops waiting at once, the
// window thread's exit sequence does not wait out its bound, and the program ends.
int ExitWhileOpen(const MessageRequest& r) {
    g_seen.push_back({r.text, r.caption, r.flags, r.owner, r.window, GetCurrentThreadId()});
    SendMessageA(TestProgram().mainWindow, WM_COMMAND, IDM_EXIT, 0);
    return mb::kIdOk;
}

std::atomic<DWORD> g_askerBack{0};
DWORD WINAPI AskThenEnd(LPVOID) {
    RaiseOnWindowThread(
        {IDS_TOO_LOW, IDS_TOO_SMALL_CAPTION, mb::kIconWarning, MessageOwner::MainWindow, nullptr},
        &SeeBox);
    g_askerBack = GetTickCount();
    world.ReleaseLease();
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
    EXPECT_LT(took, kExitWaitMs) << "the exit waited out its bound for a thread that had ended";
    // The thread had ended before WM_DESTROY: nothing was kept for it.
    EXPECT_EQ(TestProgram().app.get(), nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

TEST_F(WindowThreadTest, ABoxThatWillNeverBeShownLetsTheAskerGo) {
    // The window goes before its queue is served: the pending request is dropped, and the asker
    // is not left waiting for a box nobody shows.
    shared.exitRequested = 0;
    std::atomic<int> result{-1};
    {
        Helper asker([&] {
            result = RaiseOnWindowThread(
                {IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk, MessageOwner::MainWindow, nullptr},
                &SeeBox);
        });
        // Hold the request in the queue: the asker posts, the window is destroyed before a pump.
        MSG peek;
        ASSERT_TRUE(WaitForPostedBox(window_, &peek, PM_NOREMOVE));
        shared.running = 0;  // the stand-in thread ends as after an Exit
        DestroyWindow(window_);
    }
    EXPECT_EQ(result.load(), 0);
    EXPECT_TRUE(g_seen.empty());
    PumpUntilQuit(1000);
}

// A request posted just as the window goes, which its queue drops unserved, is still freed and
// its asker let go; one asked for after that is never posted; a stale one is never shown.
int g_shownByHandOff = 0;
int CountShown(const MessageRequest&) {
    return ++g_shownByHandOff;
}

TEST_F(WindowThreadTest, TheHandOffLeavesNoRequestBehindWhenTheWindowGoes) {
    g_shownByHandOff = 0;
    MessageHandOff handOff;
    std::atomic<int> result{-1};
    {
        Helper asker([&] {
            result = handOff.Raise(
                window_, {IDS_FOUND, IDS_FOUND_CAPTION, mb::kOk, MessageOwner::MainWindow, nullptr},
                nullptr);  // an asker that never gives up
        });
        MSG posted{};
        ASSERT_TRUE(WaitForPostedBox(window_, &posted, PM_REMOVE));
        EXPECT_EQ(handOff.Pending(), 1u);
        handOff.Close();  // the message itself is dropped, as a going window's queue drops it
        EXPECT_EQ(handOff.Pending(), 0u);
        // The stale message, were it served now, shows nothing.
        EXPECT_EQ(handOff.Serve(posted.lParam, &CountShown), 0);
    }
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(handOff.Raise(window_,
                            {IDS_THANK_YOU, IDS_THANK_YOU_CAPTION, mb::kOk,
                             MessageOwner::MainWindow, nullptr},
                            nullptr),
              0);
    MSG later;
    EXPECT_FALSE(PeekMessageA(&later, window_, WM_SHOWBOX, WM_SHOWBOX, PM_NOREMOVE));
    EXPECT_EQ(handOff.Pending(), 0u);
    EXPECT_EQ(g_shownByHandOff, 0);
}

// The real simulation thread, running frames as fast as it can; the test thread is its window
// thread. Exit must not wait for a thread that is in the middle of its frame's paint.
class RunningGameTest : public WindowThreadTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override {
        shared.timings.splashPauseMs = 0;
        shared.frameWaitMs = 0;
        shared.SetBackgroundFileName("Resource");
        return &SimulationThreadProc;
    }
    void TearDown() override {
        shared.timings = SimulationTimings{};
        WindowThreadTest::TearDown();
    }
};

TEST_F(RunningGameTest, ExitFromARunningGameDoesNotWaitOutTheBound) {
    shared.frameWaitMs = 0;
    const int breaches = MessageZoneBreaches();
    ASSERT_TRUE(PumpUntil(10000, [] { return shared.splashDone != 0; }));
    PumpUntil(500);  // a stretch of frames, each painted through this thread
    EXPECT_EQ(MessageZoneBreaches(), breaches);  // no frame asked for a box under its lock
    const DWORD start = GetTickCount();
    Command(IDM_EXIT);
    const DWORD took = GetTickCount() - start;
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_LT(took, kExitWaitMs) << "the exit waited out its bound for a thread in a frame's paint";
    EXPECT_EQ(TestProgram().app.get(), nullptr);  // the thread had ended: nothing kept for it
    EXPECT_TRUE(PumpUntilQuit(1000));
}

SHORT WINAPI EscapeDown(int key) {
    return key == VK_ESCAPE ? static_cast<SHORT>(0x8000) : 0;
}

TEST_F(RunningGameTest, EscapeEndsTheRunAndTheProgramPromptly) {
    ASSERT_TRUE(PumpUntil(10000, [] { return shared.splashDone != 0; }));
    const KeyStateFunction saved = QueryKeyState;
    shared.hasFocus = 1;
    const DWORD start = GetTickCount();
    QueryKeyState = &EscapeDown;
    const bool ended = PumpUntil(2000, [this] { return !IsWindow(window_); });
    const DWORD took = GetTickCount() - start;
    QueryKeyState = saved;
    ASSERT_TRUE(ended);
    EXPECT_LT(took, kExitWaitMs) << "the exit waited out its bound after the run had ended";
    EXPECT_EQ(TestProgram().app.get(), nullptr);
    EXPECT_TRUE(PumpUntilQuit(1000));
}

// The splash pause is one of the long pauses: the thread notices Exit within a slice of it.
class SplashPauseTest : public RunningGameTest {
  protected:
    LPTHREAD_START_ROUTINE Simulation() override {
        LPTHREAD_START_ROUTINE entry = RunningGameTest::Simulation();
        shared.timings.splashPauseMs = 3000;
        return entry;
    }
};

TEST_F(SplashPauseTest, ExitDuringTheSplashPauseStaysWithinTheBound) {
    PumpUntil(700);  // the first frame is done and the pause has begun
    ASSERT_EQ(shared.splashDone.load(), 0);
    const DWORD start = GetTickCount();
    Command(IDM_EXIT);
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(kExitWaitMs));
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(PumpUntilQuit(1000));
    EXPECT_TRUE(FinishShell(TestProgram(), 2000));
}

// Exit chosen from the tray (its menu sends the command to the main window, whose thread is then
// inside some modal loop): the loop ends, nothing is left on show, and the program ends with
// code 0 within the exit's bound.
struct ModalLoop {
    const char* name;
    // Enters the loop on the window thread and returns when it is over.
    void (*enter)(HWND window);
    // On the helper thread: true once the loop is up.
    bool (*isUp)(HWND window, DWORD thread);
};

bool ABoxIsUp(HWND window, DWORD thread) {
    return FindBox(thread, window) != nullptr || FindBox(thread, nullptr) != nullptr ||
           FindBox(thread, TestProgram().strayWindows[kStrayAntIndex]) != nullptr;
}
// A popup menu of the thread on show (the menu window class).
bool AMenuIsUp(HWND, DWORD thread) {
    bool up = false;
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM p) -> BOOL {
            char name[16] = {};
            GetClassNameA(w, name, sizeof(name));
            if (lstrcmpA(name, "#32768") == 0 && IsWindowVisible(w)) {
                *reinterpret_cast<bool*>(p) = true;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&up));
    return up;
}
// Set on the window thread once a loop without a window of its own is under way.
std::atomic<bool> g_loopUp{false};
bool LoopSaysItIsUp(HWND, DWORD) {
    return g_loopUp;
}
LRESULT CALLBACK WatchMoveLoop(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ENTERSIZEMOVE) {
        g_loopUp = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The simulation thread's box (from a thread of its own), served by this thread until it is gone.
void AskFromAnotherThread(HWND window, MessageOwner owner) {
    std::atomic<int> done{0};
    {
        Helper asker([&] {
            RaiseMessage({IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION, mb::kIconWarning, owner, nullptr});
            done = 1;
        });
        PumpUntil(5000, [&] { return done != 0 || !IsWindow(window); });
    }
}

const ModalLoop kModalLoops[] = {
    {"box of the window thread",
     [](HWND) {
         ShowProgramMessage(IDS_BACKGROUND_RESET, IDS_BACKGROUND_RESET_CAPTION, mb::kIconWarning);
     },
     &ABoxIsUp},
    {"box of the simulation thread",
     [](HWND window) { AskFromAnotherThread(window, MessageOwner::MainWindow); }, &ABoxIsUp},
    {"thank-you box", [](HWND window) { AskFromAnotherThread(window, MessageOwner::NoOwner); },
     &ABoxIsUp},
    {"found box",
     [](HWND) {
         shared.strayShown.Publish({StrayAntPose::Walking, 7, 200, 150});
         shared.strayAntActive = 1;
         PlaceStrayWindows(TestProgram());
         SendMessageA(TestProgram().strayWindows[kStrayAntIndex], WM_LBUTTONDOWN, MK_LBUTTON, 0);
     },
     &ABoxIsUp},
    {"menu",
     [](HWND window) {
         // A menu the display closes on its own (a focus change) is opened again, until Exit
         // comes inside one.
         for (int opened = 0; opened < 20 && IsWindow(window); ++opened) {
             SetForegroundWindow(window);
             TrackPopupMenu(GetSubMenu(TestProgram().state.menu.get(), 0), TPM_RIGHTBUTTON, 100,
                            100, 0, window, nullptr);
         }
     },
     &AMenuIsUp},
    {"rim drag",
     [](HWND window) {
         UniqueHook watch(
             SetWindowsHookExA(WH_CALLWNDPROC, &WatchMoveLoop, nullptr, GetCurrentThreadId()));
         SendMessageA(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
     },
     &LoopSaysItIsUp},
    {"throw",
     [](HWND window) {
         // The ball held in the lens, the pointer captured, as a throw goes until the release.
         shared.colony.ballGrabbed = 2;
         SetCapture(window);
         g_loopUp = true;
         PumpUntil(5000, [window] { return !IsWindow(window); });
     },
     &LoopSaysItIsUp},
};

class ExitInsideAModalLoopTest : public WindowThreadTest,
                                 public ::testing::WithParamInterface<ModalLoop> {
  protected:
    void SetUp() override {
        WindowThreadTest::SetUp();
        SetMessageSink(nullptr);
        InstallMessageBoxSink(TestProgram().app, &ExitChosen);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
    }
};

TEST_P(ExitInsideAModalLoopTest, ExitFromTheTrayEndsTheLoopAndTheProgramWithCodeZero) {
    const ModalLoop& loop = GetParam();
    const DWORD thread = GetCurrentThreadId();
    g_loopUp = false;
    std::atomic<bool> wasUp{false};
    {
        Helper tray([&] {
            const DWORD start = GetTickCount();
            while (!loop.isUp(window_, thread) && GetTickCount() - start < 5000) {
                Sleep(10);
            }
            wasUp = loop.isUp(window_, thread);
            PostMessageA(window_, WM_COMMAND, IDM_EXIT, 0);
        });
        loop.enter(window_);
    }
    EXPECT_TRUE(wasUp.load()) << loop.name;
    EXPECT_EQ(QuitCode(kExitWaitMs + 2000), 0) << loop.name;
    EXPECT_FALSE(IsWindow(window_)) << loop.name;
    EXPECT_EQ(FindBox(thread, nullptr), nullptr) << loop.name;
    EXPECT_EQ(GetCapture(), nullptr) << loop.name;
    EXPECT_FALSE(AMenuIsUp(nullptr, thread)) << loop.name;
    shared.colony.ballGrabbed = 0;
}

INSTANTIATE_TEST_SUITE_P(EachLoop, ExitInsideAModalLoopTest, ::testing::ValuesIn(kModalLoops),
                         [](const ::testing::TestParamInfo<ModalLoop>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != 0; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

// Escape held down for two seconds when the focus comes back (it closed a box, or its release
// was lost): the focus handler returns at once, and the held key never ends the run; a press
// after its release does.
std::atomic<int> g_escapeHeld{0};
SHORT WINAPI HeldEscape(int key) {
    return key == VK_ESCAPE && g_escapeHeld != 0 ? static_cast<SHORT>(0x8001) : 0;
}
std::atomic<int> g_escapesSeen{0};
DWORD WINAPI PollLikeTheRunForTwoSeconds(LPVOID) {
    for (int i = 0; i < 200; ++i) {
        g_escapesSeen += PollKeyboard(shared) == kKeyEscape ? 1 : 0;
        Sleep(10);
    }
    g_escapeHeld = 0;
    return 0;
}

TEST_F(WindowThreadTest, AnEscapeHeldAfterAFocusChangeNeitherBlocksNorEndsTheRun) {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(window_);
    ASSERT_EQ(GetFocus(), window_);
    const KeyStateFunction saved = QueryKeyState;
    QueryKeyState = &HeldEscape;
    SendMessageA(window_, WM_KILLFOCUS, 0, 0);  // the box took the focus
    ASSERT_EQ(shared.hasFocus.load(), kFocusNone);
    g_escapeHeld = 1;
    g_escapesSeen = 0;
    HANDLE poller = CreateThread(nullptr, 0, &PollLikeTheRunForTwoSeconds, nullptr, 0, nullptr);
    ASSERT_NE(poller, nullptr);
    SendMessageA(window_, WM_SETFOCUS, 0, 0);  // Escape closed the box, and stays down
    EXPECT_EQ(g_escapeHeld.load(), 1) << "the focus handler waited for the key";
    EXPECT_EQ(shared.hasFocus.load(), kFocusUntilReleased);
    // The window thread goes on: the menu comes and goes meanwhile, and Exit stays reachable.
    SendMessageA(window_, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageA(window_, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(g_escapeHeld.load(), 1);
    EXPECT_TRUE(PumpUntil(3000, [] { return g_escapeHeld == 0; }));
    WaitForSingleObject(poller, 3000);
    CloseHandle(poller);
    EXPECT_EQ(g_escapesSeen.load(), 0);
    EXPECT_TRUE(IsWindow(window_));
    // Released now: the next press is the user's, and counts.
    EXPECT_EQ(PollKeyboard(shared), kKeyNothing);
    EXPECT_EQ(shared.hasFocus.load(), kFocusKeysLive);
    g_escapeHeld = 1;
    EXPECT_EQ(PollKeyboard(shared), kKeyEscape);
    g_escapeHeld = 0;
    QueryKeyState = saved;
}

}  // namespace
}  // namespace shelltest
