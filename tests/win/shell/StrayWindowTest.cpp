// The stray ant's two windows: the walking ant as one colour-keyed window that paints the cell of
// each pose in exactly the ant's outline and only moves from frame to frame, the heart cut from
// bitmap 129, and the click that finds the ant, once.
#include "ShellTestSupport.h"
#include "tests/common/PixelCount.h"
#include "shell/KeyedAntCell.h"
#include "shell/StrayAntWindow.h"
#include "simulation/StrayAntMotion.h"
#include "resources/TextIds.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace shelltest {
namespace {

class StrayWindowTest : public ShellWindowTest {
  protected:
    // The ant walking and on show at (200, 150), forty ants happy.
    static void WalkingAgain() {
        world.strayRecord->state = StrayWalking;
        Place({StrayAntPose::Walking, 7, 200, 150});
        shared.happyCount = 40;
    }
    void SetUp() override {
        ShellWindowTest::SetUp();
        // What the simulation thread loads at its start.
        world.antSprites->LoadBitmapResource(MAKEINTRESOURCEA(IDB_ANTS));
        world.antSprites->ChangeBitCount(32);
        world.heart->LoadBitmapResource(MAKEINTRESOURCEA(IDB_HEART));
        world.heart->ChangeBitCount(32);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        world.strayRecord->x = 200;
        world.strayRecord->y = 150;
        world.strayRecord->direction = 3;
        world.strayRecord->frame = 1;
        world.strayRecord->state = StrayWalking;
        shared.strayShown.Publish({StrayAntPose::Walking, 7, 200, 150});
        shared.strayAntActive = 1;
        shared.happyCount = 40;
    }
    // The pose a frame published, placed as the window thread places it.
    static void Place(const StrayAntPose& pose) {
        shared.strayShown.Publish(pose);
        PlaceStrayWindows(TestProgram());
    }
    static HWND Ant() { return TestProgram().strayWindows[kStrayAntIndex]; }
    static HWND Heart() { return TestProgram().strayWindows[kStrayHeartIndex]; }
    void Click(HWND window) { SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3)); }
};

// The pixel set of one cell of a shape bitmap: everything that is not the key colour.
HRGN ShapeFromBitmap(int id, int left, int side) {
    DIBImage image;
    image.LoadBitmapResource(MAKEINTRESOURCEA(id));
    image.ChangeBitCount(32);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if ((image.GetLine(y)[left + x] & 0xFFFFFF) != kKeyColour) {
                HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
                CombineRgn(shape, shape, pixel, RGN_OR);
                DeleteObject(pixel);
            }
        }
    }
    return shape;
}

uint32_t Rgb(const DIBImage& image, int x, int y) {
    return image.GetLine(y)[x] & 0xFFFFFF;
}

// A 16 x 16 picture to paint into, black to begin with.
class Canvas {
  public:
    Canvas() {
        image_.ChangeBitCount(32);
        image_.SetWidth(16);
        image_.SetHeight(16);
        Clear();
    }
    void Clear() { PatBlt(dc(), 0, 0, 16, 16, BLACKNESS); }
    HDC dc() const { return image_.GetMemoryDC()->GetHDC(); }
    uint32_t At(int x, int y) {
        GdiFlush();
        return Rgb(image_, x, y);
    }

  private:
    DIBImage image_;
};

TEST_F(StrayWindowTest, TheAntsColourKeyedWindowAndTheHeartsShapedOneStartHidden) {
    for (HWND w : TestProgram().strayWindows) {
        ASSERT_TRUE(IsWindow(w));
        char name[64] = {};
        GetClassNameA(w, name, sizeof(name));
        EXPECT_STREQ(name, "はぐれありさん");
        EXPECT_FALSE(IsWindowVisible(w));
        EXPECT_EQ(GetWindow(w, GW_OWNER), window_);
        EXPECT_NE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        EXPECT_NE(GetWindowLongA(w, GWL_STYLE) & WS_POPUP, 0);
        RECT rect{};
        GetWindowRect(w, &rect);
        EXPECT_EQ(rect.right - rect.left, 8);  // the heart too, until it is shown
        EXPECT_EQ(rect.bottom - rect.top, 8);
    }
    // The ant: no region, its outline is the key colour of its layered window.
    EXPECT_NE(GetWindowLongA(Ant(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Ant(), &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    EXPECT_EQ(key, RGB(0x00, 0xFF, 0x84));
    EXPECT_EQ(KeyedAntCell::KeyColourRef(), RGB(0x00, 0xFF, 0x84));
    EXPECT_FALSE(WindowRegion(Ant()));
    // The heart: a plain window cut to the heart of bitmap 129.
    EXPECT_EQ(GetWindowLongA(Heart(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    const UniqueRegion heart = WindowRegion(Heart());
    ASSERT_TRUE(heart);
    const UniqueRegion expected(ShapeFromBitmap(IDB_HEART_SHAPE, 0, 16));
    EXPECT_TRUE(EqualRgn(heart.get(), expected.get()));
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "はぐれありさん", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &StrayAntWndProc);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
}

// What shows of the ant is exactly what the windows cut from bitmap 128 showed: the sprite's own
// pixels inside the outline, the key colour (left out by the display) everywhere else.
TEST_F(StrayWindowTest, TheAntsWindowPaintsThePlacedCellInExactlyItsOutline) {
    DIBImage shapes;
    shapes.LoadBitmapResource(MAKEINTRESOURCEA(IDB_ANT_SHAPES));
    shapes.ChangeBitCount(32);
    Canvas canvas;
    for (int cell = 0; cell < kStrayAntCells; ++cell) {
        Place({StrayAntPose::Walking, cell, 200 + cell, 150});
        canvas.Clear();
        PaintStrayWindow(TestProgram(), canvas.dc(), Ant());
        int wrong = 0;
        int antPixels = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const uint32_t shape = Rgb(shapes, cell * 8 + x, y);
                const uint32_t painted = canvas.At(x, y);
                if (shape == kKeyColour) {
                    wrong += painted != kKeyColour;
                } else {
                    ++antPixels;
                    wrong += painted != Rgb(*world.antSprites, cell * 8 + x, y) || painted != shape;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << cell;
        EXPECT_GT(antPixels, 10) << cell;
        EXPECT_LT(antPixels, 54) << cell;
        EXPECT_EQ(canvas.At(8, 8), 0u) << cell;  // only 8 x 8 is drawn
    }
}

TEST_F(StrayWindowTest, TheHeartsWindowPaintsTheHeartAndOthersNothing) {
    Canvas canvas;
    PaintStrayWindow(TestProgram(), canvas.dc(), Heart());
    EXPECT_EQ(
        pixeltest::CountWhere(
            0, 0, 16, 16, [&](int x, int y) { return canvas.At(x, y) != Rgb(*world.heart, x, y); }),
        0);
    canvas.Clear();
    PaintStrayWindow(TestProgram(), canvas.dc(), window_);  // not a stray window
    PaintStrayWindow(TestProgram(), canvas.dc(), nullptr);
    EXPECT_EQ(canvas.At(5, 5), 0u);
    // Before any pose the ant's window has no cell to show: all of it is key colour.
    ResetStrayPlacement(TestProgram());
    PaintStrayWindow(TestProgram(), canvas.dc(), Ant());
    EXPECT_EQ(pixeltest::CountWhere(0, 0, 8, 8,
                                    [&](int x, int y) { return canvas.At(x, y) == kKeyColour; }),
              64);
    EXPECT_EQ(SendMessageA(Ant(), WM_ERASEBKGND, 0, 0), 0);
}

// What a stray window goes through while the ant walks: paints, and changes of its visibility.
struct WindowTrace {
    int paints = 0;
    int shows = 0;
    int hides = 0;
};
WindowTrace g_trace[kStrayWindowCount];
WNDPROC g_traced[kStrayWindowCount] = {};

template <int index>
LRESULT CALLBACK Trace(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++g_trace[index].paints;
    } else if (message == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        g_trace[index].shows += (pos->flags & SWP_SHOWWINDOW) != 0 ? 1 : 0;
        g_trace[index].hides += (pos->flags & SWP_HIDEWINDOW) != 0 ? 1 : 0;
    }
    return CallWindowProcA(g_traced[index], window, message, wParam, lParam);
}

void TraceStrayWindows() {
    for (WindowTrace& trace : g_trace) {
        trace = WindowTrace{};
    }
    g_traced[kStrayAntIndex] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(TestProgram().strayWindows[kStrayAntIndex], GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&Trace<0>)));
    g_traced[kStrayHeartIndex] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(TestProgram().strayWindows[kStrayHeartIndex], GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&Trace<1>)));
}

TEST_F(StrayWindowTest, WalkingMovesTheOneAntWindowAndRepaintsItOnlyForANewCell) {
    static_assert(kStrayAntIndex == 0 && kStrayHeartIndex == 1, "the traces are by index");
    TraceStrayWindows();
    PlaceStrayWindows(TestProgram());  // cell 7 at (200, 150): the ant comes out
    EXPECT_TRUE(IsWindowVisible(Ant()));
    EXPECT_TRUE(StandsAt(Ant(), 200, 150, 8));
    EXPECT_EQ(g_trace[0].shows, 1);
    EXPECT_EQ(g_trace[0].paints, 1);  // painted before the next frame, not whenever
    // Forty frames: the cell changes with every step, the window moves and is repainted, and is
    // neither hidden nor shown again.
    for (int frame = 1; frame <= 40; ++frame) {
        const int cell = frame % 2 == 0 ? 7 : 6;
        Place({StrayAntPose::Walking, cell, 200 + frame, 150 - frame / 2});
        ASSERT_TRUE(StandsAt(Ant(), 200 + frame, 150 - frame / 2, 8)) << frame;
        ASSERT_EQ(g_trace[0].paints, 1 + frame) << frame;
    }
    EXPECT_EQ(g_trace[0].shows, 1);
    EXPECT_EQ(g_trace[0].hides, 0);
    EXPECT_TRUE(IsWindowVisible(Ant()));
    EXPECT_FALSE(IsWindowVisible(Heart()));
    // The same cell at a new place: moved, not repainted.
    const int paints = g_trace[0].paints;
    Place({StrayAntPose::Walking, 7, 260, 100});
    EXPECT_TRUE(StandsAt(Ant(), 260, 100, 8));
    EXPECT_EQ(g_trace[0].paints, paints);
    // The stray windows never take the activation from the magnifier.
    EXPECT_EQ(GetActiveWindow(), window_);

    // The heart: shown once, then moved; the ant's window goes.
    Place({StrayAntPose::Heart, 0, 261, 99});
    EXPECT_TRUE(IsWindowVisible(Heart()));
    EXPECT_FALSE(IsWindowVisible(Ant()));
    EXPECT_TRUE(StandsAt(Heart(), 261, 99, 16));
    Place({StrayAntPose::Heart, 0, 262, 98});
    EXPECT_TRUE(StandsAt(Heart(), 262, 98, 16));
    EXPECT_EQ(g_trace[1].shows, 1);
    EXPECT_EQ(g_trace[0].hides, 1);
    Place({});
    EXPECT_FALSE(IsWindowVisible(Ant()) || IsWindowVisible(Heart()));
    EXPECT_EQ(g_trace[1].hides, 1);
}

// The ant's window is raised once, when it comes out, and only moved after: the magnifier made
// topmost meanwhile must still not cover it.
TEST_F(StrayWindowTest, TheWalkingAntStaysAboveTheMagnifierMadeTopmostWhileItWalks) {
    PlaceStrayWindows(TestProgram());
    EXPECT_TRUE(Above(Ant(), window_));
    Command(IDM_TOPMOST);
    ASSERT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    for (int frame = 1; frame <= 3; ++frame) {
        Place({StrayAntPose::Walking, 6 + frame % 2, 200 + frame, 150});
        EXPECT_TRUE(Above(Ant(), window_)) << frame;
    }
    Command(IDM_NORMAL);
}

// Another topmost window that comes up over the walking ant covers it at most a dozen frames:
// the ant is raised again on the way, without taking the activation.
TEST_F(StrayWindowTest, ATopmostWindowThatComesLaterCoversTheAntOnlyForAWhile) {
    PlaceStrayWindows(TestProgram());
    HWND other = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP, 180,
                                 130, 80, 60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetWindowPos(other, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(Above(other, Ant()));
    int coveredFor = 0;
    for (int frame = 1; frame <= 13 && Above(other, Ant()); ++frame) {
        Place({StrayAntPose::Walking, 6 + frame % 2, 200 + frame, 150});
        ++coveredFor;
    }
    EXPECT_TRUE(Above(Ant(), other));
    EXPECT_LE(coveredFor, 12);
    EXPECT_EQ(GetActiveWindow(), window_);
    DestroyWindow(other);
}

TEST_F(StrayWindowTest, ClickOnTheWalkingAntFindsItAndRaisesTheHeart) {
    PlaceStrayWindows(TestProgram());
    HWND clicked = Ant();
    Click(clicked);
    ASSERT_EQ(recorder_.size(), 1u);
    recorder_.ExpectAt(0, IDS_FOUND, IDS_FOUND_CAPTION, 0, MessageOwner::GivenWindow);  // no icon
    EXPECT_EQ(recorder_.messages()[0].window, clicked);
    EXPECT_EQ(shared.happyCount.load(), 41);
    EXPECT_EQ(world.strayRecord->state.load(), StrayRising);
    EXPECT_FALSE(IsWindowVisible(clicked));
    HWND heart = Heart();
    EXPECT_TRUE(IsWindowVisible(heart));
    EXPECT_TRUE(StandsAt(heart, 200, 150, 16));
    EXPECT_EQ(GetFocus(), window_);

    // The heart is not found a second time.
    Click(heart);
    Click(clicked);
    EXPECT_EQ(recorder_.size(), 1u);
    EXPECT_EQ(shared.happyCount.load(), 41);
    EXPECT_EQ(GetFocus(), window_);
}

// The simulation thread's frames, walking the ant (and, once found, rising it) until Stop.
class Walker {
  public:
    Walker() : thread_(CreateThread(nullptr, 0, &Walk, this, 0, nullptr)) {}
    ~Walker() { Stop(); }
    void Stop() {
        stop_ = true;
        WaitForSingleObject(thread_.get(), 5000);
    }

  private:
    static DWORD WINAPI Walk(LPVOID self) {
        while (!static_cast<Walker*>(self)->stop_) {
            StrayAntMotion(world, shared, TestProgram().mainWindow).Update();
            Sleep(10);
        }
        return 0;
    }
    std::atomic<bool> stop_{false};
    UniqueThread thread_;
};

TEST_F(StrayWindowTest, FoundWhileTheThreadWalksItBecomesTheHeartOnceAndNoAntShowsAfter) {
    Walker walker;
    ASSERT_TRUE(PumpUntil(3000, [] { return IsWindowVisible(Ant()) != FALSE; }));
    Click(Ant());
    // Frames made before the click took effect still arrive: none may bring the ant back.
    bool antSeen = false;
    PumpUntil(150, [&] {
        antSeen = antSeen || IsWindowVisible(Ant());
        return false;
    });
    walker.Stop();
    PumpUntil(50);
    EXPECT_FALSE(antSeen);
    EXPECT_EQ(recorder_.size(), 1u);
    EXPECT_EQ(shared.happyCount.load(), 41);
    EXPECT_EQ(world.strayRecord->state.load(), StrayRising);
    EXPECT_TRUE(IsWindowVisible(Heart()));
}

TEST_F(StrayWindowTest, AClickNeverActivatesAStrayWindow) {
    for (HWND w : TestProgram().strayWindows) {
        EXPECT_EQ(SendMessageA(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window_),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                  MA_NOACTIVATE);
    }
}

TEST_F(StrayWindowTest, AfterExitWasChosenPlacementAndAClickChangeNothing) {
    shared.exitRequested = 1;
    PlaceStrayWindows(TestProgram());
    EXPECT_FALSE(IsWindowVisible(Ant()) || IsWindowVisible(Heart()));
    Click(Ant());
    EXPECT_EQ(recorder_.size(), 0u);
    EXPECT_EQ(shared.happyCount.load(), 40);
    EXPECT_EQ(world.strayRecord->state.load(), StrayWalking);
    EXPECT_FALSE(IsWindowVisible(Heart()));
    shared.exitRequested = 0;
}

// While the box is open the ant walks on, its window still enabled; a second click on it comes in
// through the box's own message loop and must not find the ant a second time.
int g_boxes = 0;
int ClickAgainDuringTheBox(const MessageRequest& request) {
    ++g_boxes;
    MessageRecorder::Messages().push_back(
        {request.text, request.caption, request.flags, request.owner, request.window});
    SendMessageA(TestProgram().strayWindows[kStrayAntIndex], WM_LBUTTONDOWN, MK_LBUTTON, 0);
    // Meanwhile the thread took the stray ant off the count once more: both changes count.
    shared.happyCount.fetch_sub(1);
    return mb::kIdOk;
}

TEST_F(StrayWindowTest, SecondClickWhileTheBoxIsOpenIsIgnored) {
    g_boxes = 0;
    MessageSink previous = SetMessageSink(&ClickAgainDuringTheBox);
    Click(Ant());
    SetMessageSink(previous);
    EXPECT_EQ(g_boxes, 1);
    EXPECT_EQ(shared.happyCount.load(), 40);  // 40 - 1 by the thread + 1 by the one click
    EXPECT_EQ(world.strayRecord->state.load(), StrayRising);
}

// Exit chosen from the tray while the box is open: nothing is changed after the box.
int ExitDuringTheBox(const MessageRequest&) {
    shared.exitRequested = 1;
    return mb::kIdOk;
}

TEST_F(StrayWindowTest, ExitDuringTheBoxLeavesTheAntAsItWas) {
    MessageSink previous = SetMessageSink(&ExitDuringTheBox);
    Click(Ant());
    SetMessageSink(previous);
    EXPECT_EQ(shared.happyCount.load(), 40);
    EXPECT_EQ(world.strayRecord->state.load(), StrayWalking);
    EXPECT_FALSE(IsWindowVisible(Heart()));
    shared.exitRequested = 0;
}

TEST_F(StrayWindowTest, ExitWhileTheAntIsOutHidesItsWindowsAndTheRecordOutlivesThem) {
    PlaceStrayWindows(TestProgram());
    ASSERT_TRUE(IsWindowVisible(Ant()));
    StrayAnt* record = world.strayRecord;
    Command(IDM_EXIT);
    EXPECT_TRUE(StrayWindowsGone());
    // The stand-in thread has let go; the record stays until the window side does too.
    EXPECT_EQ(world.strayRecord, record);
    EXPECT_TRUE(PumpUntilQuit(1000));
    world.ReleaseLease();
    EXPECT_EQ(world.strayRecord, nullptr);
    world.ResetLease();
    world.ReleaseLease();
}

// The found-box as the program shows it (a real MessageBoxW owned by the clicked ant's window),
// answered from another thread as a user would; what the ant was when the box came back.
std::atomic<int32_t> g_stateWhenTheBoxReturned{-1};
MessageSink g_realSink = nullptr;
int NoteTheAntAfterTheBox(const MessageRequest& request) {
    const int result = g_realSink(request);
    if (request.owner == MessageOwner::GivenWindow) {
        g_stateWhenTheBoxReturned = world.strayRecord->state.load();
    }
    return result;
}

class RealFoundBoxTest : public StrayWindowTest {
  protected:
    void SetUp() override {
        StrayWindowTest::SetUp();
        InstallMessageBoxSink(TestProgram().app, [] { return shared.exitRequested != 0; });
        g_realSink = SetMessageSink(&NoteTheAntAfterTheBox);
        g_stateWhenTheBoxReturned = -1;
        PlaceStrayWindows(TestProgram());  // the ant on show at (200, 150)
    }
    void TearDown() override {
        SetMessageSink(nullptr);
        StrayWindowTest::TearDown();
    }
    DWORD thread_ = GetCurrentThreadId();
};

// Every way of answering the box turns the ant into the heart while the box is still there: its
// close button and Alt+F4 (a close, which the box turns into a posted command), Escape, OK.
TEST_F(RealFoundBoxTest, EveryAnswerToTheFoundBoxMakesTheHeartAtOnce) {
    struct Answer {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool posted;
    } answers[] = {
        {"close button", WM_SYSCOMMAND, SC_CLOSE, true},
        {"WM_CLOSE", WM_CLOSE, 0, false},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, true},
        {"OK", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), false},
    };
    for (const Answer& a : answers) {
        WalkingAgain();
        g_stateWhenTheBoxReturned = -1;
        HWND ant = Ant();
        {
            Helper user([&] {
                HWND box = WaitForBox(thread_, ant);
                if (box == nullptr) {
                    return;
                }
                if (a.posted) {
                    PostMessageA(box, a.message, a.wParam, 0);
                } else {
                    SendMessageA(box, a.message, a.wParam, 0);
                }
            });
            Click(ant);
        }
        EXPECT_EQ(g_stateWhenTheBoxReturned.load(), StrayRising) << a.name;
        EXPECT_EQ(shared.happyCount.load(), 41) << a.name;
        EXPECT_TRUE(StandsAt(Heart(), 200, 150, 16)) << a.name;
        EXPECT_EQ(FindBox(thread_, ant), nullptr) << a.name;
    }
}

// Another box answered while the found-box is open (a dropped file that is no picture, the
// thank-you box) is not the found-box: the ant stays found-but-not-yet-happy until its own box
// is answered.
TEST_F(RealFoundBoxTest, ANestedBoxAnsweredWhileTheFoundBoxIsOpenIsNotTheFoundBox) {
    struct Nested {
        MessageOwner owner;
        HWND ownerWindow;
    } nested[] = {{MessageOwner::MainWindow, window_}, {MessageOwner::NoOwner, nullptr}};
    for (const Nested& n : nested) {
        WalkingAgain();
        std::atomic<int32_t> stateAfterNested{-1};
        std::atomic<int> happyAfterNested{-1};
        HWND ant = Ant();
        {
            Helper user([&] {
                HWND found = WaitForBox(thread_, ant);
                if (found == nullptr) {
                    return;
                }
                // The simulation thread asks for its box meanwhile; the user answers it with OK.
                Helper asker([&] {
                    RaiseMessage({IDS_NOT_BITMAP, IDS_NOT_BITMAP_CAPTION, mb::kIconWarning, n.owner,
                                  nullptr});
                });
                HWND other = WaitForBox(thread_, n.ownerWindow, found);
                if (other != nullptr) {
                    SendMessageA(other, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                }
                while (IsWindow(other)) {
                    Sleep(10);
                }
                stateAfterNested = world.strayRecord->state.load();
                happyAfterNested = shared.happyCount.load();
                SendMessageA(found, WM_CLOSE, 0, 0);
            });
            Click(ant);
        }
        const int row = static_cast<int>(n.owner);
        EXPECT_EQ(stateAfterNested.load(), StrayWalking) << row;
        EXPECT_EQ(happyAfterNested.load(), 40) << row;
        EXPECT_EQ(g_stateWhenTheBoxReturned.load(), StrayRising) << row;
        EXPECT_EQ(shared.happyCount.load(), 41) << row;
    }
}

// From the click until its box is answered the found ant stands where it was clicked, however
// the simulation thread's frames go on; its heart comes up there.
TEST_F(StrayWindowTest, TheFoundAntStandsStillWhileItsBoxIsOpenAndTheHeartStartsThere) {
    Walker walker;
    ASSERT_TRUE(PumpUntil(3000, [] { return IsWindowVisible(Ant()) != FALSE; }));
    static RECT clickedAt{};
    static int moves = 0;
    static StrayAntPose lastPose{};
    GetWindowRect(Ant(), &clickedAt);
    moves = 0;
    MessageSink previous = SetMessageSink([](const MessageRequest&) {
        // The box is open for half a second, its loop serving the thread's frames.
        PumpUntil(500, [] {
            RECT now{};
            GetWindowRect(TestProgram().strayWindows[kStrayAntIndex], &now);
            moves += now.left != clickedAt.left || now.top != clickedAt.top ? 1 : 0;
            return false;
        });
        lastPose = shared.strayShown.Read();
        return mb::kIdOk;
    });
    Click(Ant());
    SetMessageSink(previous);
    const StrayAntPose firstHeart = shared.strayShown.Read();
    RECT heart{};
    GetWindowRect(Heart(), &heart);
    walker.Stop();
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(lastPose.kind, StrayAntPose::Walking);
    EXPECT_EQ(lastPose.x, clickedAt.left);  // the thread's frames too
    EXPECT_EQ(lastPose.y, clickedAt.top);
    EXPECT_EQ(heart.left, clickedAt.left);
    EXPECT_EQ(heart.top, clickedAt.top);
    // The rise goes on from there: one frame, one pixel.
    if (firstHeart.kind == StrayAntPose::Heart) {
        EXPECT_LE(std::abs(firstHeart.x - clickedAt.left), 1);
        EXPECT_LE(std::abs(firstHeart.y - clickedAt.top), 1);
    }
}

// With the glass hidden the found box gives the focus to nobody: an Escape then must not end a
// program the user cannot see.
TEST_F(StrayWindowTest, AfterTheBoxAHiddenGlassGetsNoFocus) {
    PlaceStrayWindows(TestProgram());
    ShowWindow(window_, SW_HIDE);
    SetFocus(nullptr);
    Click(Ant());
    EXPECT_EQ(recorder_.size(), 1u);
    EXPECT_NE(GetFocus(), window_);
    EXPECT_EQ(shared.hasFocus.load(), 0);
    // Shown again, it takes the focus as ever.
    ShowWindow(window_, SW_SHOW);
    SetFocus(window_);
    Click(Ant());
    EXPECT_EQ(GetFocus(), window_);
}

}  // namespace
}  // namespace shelltest
