// The stray ant's seventeen windows: classes, styles and shapes as cut from bitmaps 128 and 129,
// painting the ant cell or the heart, and the click that finds the ant, once.
#include "ShellTestSupport.h"
#include "shell/StrayAntWindow.h"
#include "simulation/StrayAntMotion.h"

#include <atomic>
#include <cstring>

namespace shelltest {
namespace {

class StrayWindowTest : public ShellWindowTest {
  protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        // What the simulation thread loads at its start.
        AntSprites->LoadBitmapResource(MAKEINTRESOURCEA(IDB_ANTS));
        AntSprites->ChangeBitCount(32);
        HeartImage->LoadBitmapResource(MAKEINTRESOURCEA(IDB_HEART));
        HeartImage->ChangeBitCount(32);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        StrayAntRecord->x = 200;
        StrayAntRecord->y = 150;
        StrayAntRecord->direction = 3;
        StrayAntRecord->frame = 1;
        StrayAntRecord->state = StrayWalking;
        StrayAntShown.Publish({StrayAntPose::Walking, 7, 200, 150});
        StrayAntActive = 1;
        HappyCount = 40;
    }
    HWND CellWindow() const { return StrayWindows[StrayAntRecord->Cell()]; }
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

TEST_F(StrayWindowTest, SeventeenHiddenTopmostPopupsShapedLikeTheirCells) {
    for (int i = 0; i < kStrayWindowCount; ++i) {
        HWND w = StrayWindows[i];
        ASSERT_TRUE(IsWindow(w)) << i;
        char name[64] = {};
        GetClassNameA(w, name, sizeof(name));
        EXPECT_STREQ(name, "はぐれありさん");
        EXPECT_FALSE(IsWindowVisible(w)) << i;
        EXPECT_EQ(GetWindow(w, GW_OWNER), window_) << i;
        EXPECT_NE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << i;
        EXPECT_NE(GetWindowLongA(w, GWL_STYLE) & WS_POPUP, 0) << i;
        RECT rect{};
        GetWindowRect(w, &rect);
        EXPECT_EQ(rect.right - rect.left, 8) << i;  // the heart too, until it is shown
        EXPECT_EQ(rect.bottom - rect.top, 8) << i;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(w, region);
        HRGN expected = i < kStrayHeartIndex ? ShapeFromBitmap(IDB_ANT_SHAPES, 8 * i, 8)
                                             : ShapeFromBitmap(IDB_HEART_SHAPE, 0, 16);
        EXPECT_NE(kind, ERROR) << i;
        EXPECT_TRUE(EqualRgn(region, expected)) << i;
        DeleteObject(expected);
        DeleteObject(region);
    }
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "はぐれありさん", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.lpfnWndProc, &StrayAntWndProc);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(StrayWindowTest, EachWindowPaintsTheCellItWasShapedFromOrTheHeart) {
    DIBImage target;
    target.ChangeBitCount(32);
    target.SetWidth(16);
    target.SetHeight(16);
    HDC dc = target.GetMemoryDC()->GetHDC();
    for (int cell = 0; cell < 16; ++cell) {
        PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
        PaintStrayWindow(dc, cell);
        GdiFlush();
        int wrong = 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                wrong += (target.GetLine(y)[x] & 0xFFFFFF) !=
                         (AntSprites->GetLine(y)[cell * 8 + x] & 0xFFFFFF);
            }
        }
        EXPECT_EQ(wrong, 0) << cell;
        EXPECT_EQ(target.GetLine(8)[8] & 0xFFFFFF, 0u);  // only 8 x 8 is drawn
    }
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    PaintStrayWindow(dc, kStrayHeartIndex);
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            wrong += (target.GetLine(y)[x] & 0xFFFFFF) != (HeartImage->GetLine(y)[x] & 0xFFFFFF);
        }
    }
    EXPECT_EQ(wrong, 0);
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    PaintStrayWindow(dc, -1);  // not one of the seventeen
    GdiFlush();
    EXPECT_EQ(target.GetLine(5)[5] & 0xFFFFFF, 0u);
    EXPECT_EQ(SendMessageA(StrayWindows[0], WM_ERASEBKGND, 0, 0), 0);
}

TEST_F(StrayWindowTest, PlacementShowsTheWindowOfTheNewestPoseAndHidesTheOneBefore) {
    PlaceStrayWindows();
    EXPECT_TRUE(IsWindowVisible(StrayWindows[7]));
    RECT rect{};
    GetWindowRect(StrayWindows[7], &rect);
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 150);
    EXPECT_EQ(rect.right - rect.left, 8);
    StrayAntShown.Publish({StrayAntPose::Walking, 6, 201, 151});
    PlaceStrayWindows();
    EXPECT_TRUE(IsWindowVisible(StrayWindows[6]));
    EXPECT_FALSE(IsWindowVisible(StrayWindows[7]));
    GetWindowRect(StrayWindows[6], &rect);
    EXPECT_EQ(rect.left, 201);
    EXPECT_EQ(rect.top, 151);
    // The stray windows never take the activation from the magnifier.
    EXPECT_EQ(GetActiveWindow(), window_);
    StrayAntShown.Publish({StrayAntPose::Heart, kStrayHeartIndex, 190, 140});
    PlaceStrayWindows();
    int visible = 0;
    for (HWND w : StrayWindows) {
        visible += IsWindowVisible(w) ? 1 : 0;
    }
    EXPECT_EQ(visible, 1);
    GetWindowRect(StrayWindows[kStrayHeartIndex], &rect);
    EXPECT_EQ(rect.left, 190);
    EXPECT_EQ(rect.right - rect.left, 16);
    StrayAntShown.Publish({});
    PlaceStrayWindows();
    for (HWND w : StrayWindows) {
        EXPECT_FALSE(IsWindowVisible(w));
    }
}

TEST_F(StrayWindowTest, AfterExitWasChosenPlacementChangesNothing) {
    ExitRequested = 1;
    PlaceStrayWindows();
    for (HWND w : StrayWindows) {
        EXPECT_FALSE(IsWindowVisible(w));
    }
    ExitRequested = 0;
}

TEST_F(StrayWindowTest, ClickOnTheWalkingAntFindsItAndRaisesTheHeart) {
    HWND clicked = CellWindow();
    SetWindowPos(clicked, HWND_TOPMOST, 200, 150, 8, 8, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Click(clicked);
    ASSERT_EQ(recorder_.size(), 1u);
    const RecordedMessage& box = recorder_.messages()[0];
    EXPECT_EQ(box.text, "みつかっちまった");
    EXPECT_EQ(box.caption, "はぐれありさん");
    EXPECT_EQ(box.flags, 0u);  // MB_OK, no icon
    EXPECT_EQ(box.owner, MessageOwner::GivenWindow);
    EXPECT_EQ(box.window, clicked);
    EXPECT_EQ(HappyCount.load(), 41);
    EXPECT_EQ(StrayAntRecord->state.load(), StrayRising);
    for (int i = 0; i < kStrayHeartIndex; ++i) {
        EXPECT_FALSE(IsWindowVisible(StrayWindows[i])) << i;
    }
    HWND heart = StrayWindows[kStrayHeartIndex];
    EXPECT_TRUE(IsWindowVisible(heart));
    RECT rect{};
    GetWindowRect(heart, &rect);
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 150);
    EXPECT_EQ(rect.right - rect.left, 16);
    EXPECT_EQ(rect.bottom - rect.top, 16);
    EXPECT_EQ(GetFocus(), window_);

    // The heart is not found a second time.
    Click(heart);
    Click(clicked);
    EXPECT_EQ(recorder_.size(), 1u);
    EXPECT_EQ(HappyCount.load(), 41);
    EXPECT_EQ(GetFocus(), window_);
}

// The simulation thread's frames, walking the ant (and, once found, rising it) meanwhile.
std::atomic<bool> g_stopWalking{false};
DWORD WINAPI WalkEveryTenMs(LPVOID) {
    while (!g_stopWalking) {
        UpdateStrayAnt();
        Sleep(10);
    }
    return 0;
}

TEST_F(StrayWindowTest, FoundWhileTheThreadWalksItBecomesTheHeartOnceAndNoAntShowsAfter) {
    g_stopWalking = false;
    HANDLE walker = CreateThread(nullptr, 0, &WalkEveryTenMs, nullptr, 0, nullptr);
    ASSERT_NE(walker, nullptr);
    PumpUntil(300);  // some frames: the ant is on show and walking
    int shownCell = -1;
    for (int k = 0; k < kStrayHeartIndex; ++k) {
        shownCell = IsWindowVisible(StrayWindows[k]) ? k : shownCell;
    }
    ASSERT_GE(shownCell, 0);
    Click(StrayWindows[shownCell]);
    // Frames made before the click took effect still arrive: none may bring an ant back.
    bool antSeen = false;
    PumpUntil(150, [&] {
        for (int k = 0; k < kStrayHeartIndex; ++k) {
            antSeen = antSeen || IsWindowVisible(StrayWindows[k]);
        }
        return false;
    });
    g_stopWalking = true;
    WaitForSingleObject(walker, 5000);
    CloseHandle(walker);
    PumpUntil(50);
    EXPECT_FALSE(antSeen);
    EXPECT_EQ(recorder_.size(), 1u);
    EXPECT_EQ(HappyCount.load(), 41);
    EXPECT_EQ(StrayAntRecord->state.load(), StrayRising);
    EXPECT_TRUE(IsWindowVisible(StrayWindows[kStrayHeartIndex]));
}

TEST_F(StrayWindowTest, AClickNeverActivatesAStrayWindow) {
    for (HWND w : StrayWindows) {
        EXPECT_EQ(SendMessageA(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window_),
                               MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                  MA_NOACTIVATE);
    }
}

TEST_F(StrayWindowTest, AfterExitWasChosenAClickOnlyReturnsTheFocus) {
    ExitRequested = 1;
    Click(CellWindow());
    EXPECT_EQ(recorder_.size(), 0u);
    EXPECT_EQ(HappyCount.load(), 40);
    EXPECT_EQ(StrayAntRecord->state.load(), StrayWalking);
    EXPECT_FALSE(IsWindowVisible(StrayWindows[kStrayHeartIndex]));
    ExitRequested = 0;
}

// While the box is open the ant walks on into another cell window; a click there comes in
// through the box's own message loop and must not find the ant a second time.
int g_boxes = 0;
int ClickAgainDuringTheBox(const MessageRequest& request) {
    ++g_boxes;
    MessageRecorder::Messages().push_back(
        {request.text, request.caption, request.flags, request.owner, request.window});
    SendMessageA(StrayWindows[0], WM_LBUTTONDOWN, MK_LBUTTON, 0);
    // Meanwhile the thread took the stray ant off the count once more: both changes count.
    HappyCount.fetch_sub(1);
    return mb::kIdOk;
}

TEST_F(StrayWindowTest, SecondClickWhileTheBoxIsOpenIsIgnored) {
    g_boxes = 0;
    MessageSink previous = SetMessageSink(&ClickAgainDuringTheBox);
    Click(CellWindow());
    SetMessageSink(previous);
    EXPECT_EQ(g_boxes, 1);
    EXPECT_EQ(HappyCount.load(), 40);  // 40 - 1 by the thread + 1 by the one click
    EXPECT_EQ(StrayAntRecord->state.load(), StrayRising);
}

// Exit chosen from the tray while the box is open: nothing is changed after the box.
int ExitDuringTheBox(const MessageRequest&) {
    ExitRequested = 1;
    return mb::kIdOk;
}

TEST_F(StrayWindowTest, ExitDuringTheBoxLeavesTheAntAsItWas) {
    MessageSink previous = SetMessageSink(&ExitDuringTheBox);
    Click(CellWindow());
    SetMessageSink(previous);
    EXPECT_EQ(HappyCount.load(), 40);
    EXPECT_EQ(StrayAntRecord->state.load(), StrayWalking);
    EXPECT_FALSE(IsWindowVisible(StrayWindows[kStrayHeartIndex]));
    ExitRequested = 0;
}

TEST_F(StrayWindowTest, ExitWhileTheAntIsOutHidesItsWindowsAndTheRecordOutlivesThem) {
    SetWindowPos(CellWindow(), HWND_TOPMOST, 200, 150, 8, 8, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    StrayAnt* record = StrayAntRecord;
    Command(IDM_EXIT);
    for (HWND w : StrayWindows) {
        EXPECT_FALSE(IsWindow(w));
    }
    // The stand-in thread has let go; the record stays until the window side does too.
    EXPECT_EQ(StrayAntRecord, record);
    EXPECT_TRUE(PumpUntilQuit(1000));
    ReleaseWorldLease();
    EXPECT_EQ(StrayAntRecord, nullptr);
    ResetWorldLease();
    ReleaseWorldLease();
}

}  // namespace
}  // namespace shelltest
