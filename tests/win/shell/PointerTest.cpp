// The pointer on the real main window: the rim and the lens told apart by the cut regions, the
// grab bounds, the throw's speed and angle from a scripted clock, the pan and its clamps, the
// return to the ball, the double click, the rim drag and its threshold, the rim menu and the
// cursor.
#include "ShellTestSupport.h"
#include "shell/PointerHandler.h"

#include <atomic>

namespace shelltest {
namespace {

DWORD g_fakeTick = 0;
DWORD WINAPI FakeTick() {
    return g_fakeTick;
}

class PointerTest : public ShellWindowTest {
  protected:
    void SetUp() override {
        ShellWindowTest::SetUp();
        TestProgram().state.pointer.tickCount = &FakeTick;
        g_fakeTick = 100000;
        shared.colony.fieldWidth = 455;
        shared.colony.fieldHeight = 312;
        shared.colony.ballX = 227;  // middle of the field: drawn at lens (100, 100)
        shared.colony.ballY = 156;
        shared.colony.ballGrabbed = 0;
        shared.colony.ballFlying = 0;
        shared.ballSpeed = 0;
        shared.ballAngle = 0;
        shared.followBall = 1;
    }
    void TearDown() override {
        ReleaseCapture();
        ShellWindowTest::TearDown();
    }
    void Move(int x, int y) { SendMessageA(window_, WM_MOUSEMOVE, 0, Point(x, y)); }
    LRESULT Press(int x, int y) {
        Move(x, y);  // the hit test of the rim comes from the last move
        return SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    }
    void Release(int x, int y) { SendMessageA(window_, WM_LBUTTONUP, 0, Point(x, y)); }
    // A press on the ball, a first move at (x0, y0), the release ms later at (x1, y1).
    void Flick(int x0, int y0, int x1, int y1, DWORD ms) {
        Press(120, 120);
        ASSERT_EQ(shared.colony.ballGrabbed.load(), 1);
        Move(x0, y0);
        ASSERT_EQ(shared.colony.ballGrabbed.load(), 2);
        g_fakeTick += ms;
        Release(x1, y1);
    }
};

TEST_F(PointerTest, RimAndLensAreToldApartByTheCutShape) {
    ASSERT_NE(TestProgram().state.rimRegion, nullptr);
    const POINT rim = FindRimPoint(true);
    ASSERT_GE(rim.x, 0);
    Move(rim.x, rim.y);
    EXPECT_EQ(TestProgram().state.pointer.overRim, 1);
    Move(120, 120);  // lens centre
    EXPECT_EQ(TestProgram().state.pointer.overRim, 0);
    Move(25, 120);  // inside the lens circle near its edge
    EXPECT_EQ(TestProgram().state.pointer.overRim, 0);
    Move(2, 2);  // the corner, outside the outline
    EXPECT_EQ(TestProgram().state.pointer.overRim, 0);
}

TEST_F(PointerTest, GrabBoundsAroundTheDrawnBall) {
    // Ball drawn at lens (100, 100): client 112..128 across, 111..127 down; a press beside it pans.
    const struct {
        POINT at;
        bool grabs;
    } presses[] = {{{112, 120}, true},  {{128, 120}, true},  {{120, 111}, true},
                   {{120, 127}, true},  {{112, 111}, true},  {{128, 127}, true},
                   {{111, 120}, false}, {{129, 120}, false}, {{120, 110}, false},
                   {{120, 128}, false}};
    for (const auto& p : presses) {
        SCOPED_TRACE(::testing::Message() << p.at.x << "," << p.at.y);
        shared.colony.ballGrabbed = 0;
        shared.colony.ballFlying = 0;  // the release before threw the ball
        TestProgram().state.pointer.panDragging = 0;
        shared.followBall = 1;
        Press(p.at.x, p.at.y);
        EXPECT_EQ(shared.colony.ballGrabbed.load(), p.grabs ? 1 : 0);
        EXPECT_EQ(TestProgram().state.pointer.panDragging, p.grabs ? 0 : 1);
        EXPECT_EQ(GetCapture(), window_);
        EXPECT_EQ(GetCursor(),
                  p.grabs ? TestProgram().state.stickCursor : TestProgram().state.binocularsCursor);
        Release(p.at.x, p.at.y);
    }
}

TEST_F(PointerTest, BallNearTheFieldEdgeIsGrabbedWhereItIsDrawn) {
    shared.colony.ballX = 40;   // left part: the view stays at 0, the ball is drawn at lens x 40
    shared.colony.ballY = 290;  // bottom part: drawn at lens y 290 - 112 = 178
    Press(20 + 40, 20 + 178);
    EXPECT_EQ(shared.colony.ballGrabbed.load(), 1);
    Release(60, 198);
    shared.colony.ballGrabbed = 0;
    shared.colony.ballFlying = 0;
    Press(20 + 100, 20 + 100);  // where a centred ball would be: a pan
    EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
    EXPECT_EQ(TestProgram().state.pointer.panDragging, 1);
}

TEST_F(PointerTest, FlyingBallOrFreeViewTurnsThePressIntoAPan) {
    shared.colony.ballFlying = 1;
    Press(120, 120);
    EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
    EXPECT_EQ(TestProgram().state.pointer.panDragging, 1);
    Release(120, 120);
    shared.colony.ballFlying = 0;
    shared.followBall = 0;
    Press(120, 120);
    EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
    EXPECT_EQ(TestProgram().state.pointer.panDragging, 1);
}

TEST_F(PointerTest, QuickFlickIsHeldToFiftyAndSlowOneGivesThirty) {
    shared.maskRebuildRequested = 0;
    shared.colony.arrivalSeen = 1;
    Flick(10, 150, 310, 150, 60);
    EXPECT_EQ(shared.ballSpeed.load(), 50);
    EXPECT_EQ(shared.ballAngle.load(), 0);
    EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
    EXPECT_EQ(shared.colony.ballFlying.load(), 1);
    // The trails are erased by the simulation thread, not here.
    EXPECT_EQ(shared.maskRebuildRequested.load(), 1);
    EXPECT_EQ(shared.colony.arrivalSeen.load(), 1);
    EXPECT_EQ(GetCapture(), nullptr);

    shared.colony.ballFlying = 0;
    Flick(10, 150, 310, 150, 950);
    EXPECT_EQ(shared.ballSpeed.load(), 30);
    shared.colony.ballFlying = 0;
    Flick(10, 150, 310, 150, 1000);
    EXPECT_EQ(shared.ballSpeed.load(), 27);
}

// An arriving ant commits its trail only while the ball is neither held nor flying, and the
// throw's mask rebuild erases what was committed before it is asked for. A watcher on another
// core, sampling the flags through many releases, must never find the ball neither held nor
// flying: an arrival then could commit after the rebuild, and its trail would survive the throw.
std::atomic<bool> g_watching{false};
std::atomic<int> g_releases{0};  // odd while a release is handled
std::atomic<int> g_openMoments{0};
DWORD WINAPI WatchThrowFlags(LPVOID) {
    while (g_watching) {
        const int before = g_releases;
        const bool open = shared.colony.ballGrabbed == 0 && shared.colony.ballFlying == 0;
        // Counted only when both flags were read inside one and the same release.
        if (open && before % 2 == 1 && g_releases == before) {
            ++g_openMoments;
        }
    }
    return 0;
}

TEST_F(PointerTest, NoMomentOfTheThrowLetsAnArrivalCommitATrailThatSurvivesIt) {
    g_watching = true;
    g_openMoments = 0;
    HANDLE watcher = CreateThread(nullptr, 0, &WatchThrowFlags, nullptr, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    for (int i = 0; i < 3000; ++i) {
        shared.colony.ballFlying = 0;
        shared.maskRebuildRequested = 0;
        Press(120, 120);
        Move(130, 120);
        ASSERT_EQ(shared.colony.ballGrabbed.load(), 2);
        ++g_releases;
        Release(200, 120);
        ++g_releases;
    }
    g_watching = false;
    WaitForSingleObject(watcher, 5000);
    CloseHandle(watcher);
    EXPECT_EQ(g_openMoments.load(), 0);
    EXPECT_EQ(shared.colony.ballFlying.load(), 1);
    EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
    EXPECT_EQ(shared.maskRebuildRequested.load(), 1);
}

TEST_F(PointerTest, FlickDirectionsGiveTheirAngles) {
    struct Case {
        int dx, dy, angle, speed;
    } cases[] = {{100, 0, 0, 33},    {0, 100, 90, 33},   {-100, 0, 180, 33},
                 {0, -100, 270, 33}, {100, 100, 44, 47}, {-100, -100, 224, 47}};
    for (const Case& c : cases) {
        shared.colony.ballFlying = 0;
        Flick(150, 150, 150 + c.dx, 150 + c.dy, 200);  // 200 ms: divided by 3
        EXPECT_EQ(shared.ballAngle.load(), c.angle) << c.dx << "," << c.dy;
        EXPECT_EQ(shared.ballSpeed.load(), c.speed) << c.dx << "," << c.dy;
    }
}

TEST_F(PointerTest, ReleaseWithoutAMoveMeasuresFromTheLastRecordedPoint) {
    // Left by an earlier drag two minutes ago.
    TestProgram().state.pointer.lastX = 100;
    TestProgram().state.pointer.lastY = 120;
    TestProgram().state.pointer.grabTick = g_fakeTick - 120000;
    Press(120, 120);
    ASSERT_EQ(shared.colony.ballGrabbed.load(), 1);
    // The press's own hit-test move records nothing; the release comes without a move.
    EXPECT_EQ(TestProgram().state.pointer.lastX, 100);
    Release(140, 120);
    EXPECT_EQ(shared.colony.ballFlying.load(), 1);
    EXPECT_EQ(shared.ballAngle.load(), 0);
    EXPECT_EQ(shared.ballSpeed.load(), 0);  // 40 px over 1201 tenths
}

TEST_F(PointerTest, PanTakesOverTheShownViewAndClampsAtTheEdges) {
    Press(60, 60);  // in the lens, away from the ball
    EXPECT_EQ(TestProgram().state.pointer.panDragging, 1);
    EXPECT_EQ(shared.followBall.load(), 0);
    EXPECT_EQ(shared.viewX.load(), 127);  // shared.colony.ballX - 100
    EXPECT_EQ(shared.viewY.load(), 56);
    EXPECT_EQ(GetCursor(), TestProgram().state.binocularsCursor);
    EXPECT_EQ(GetCapture(), window_);
    Move(70, 65);
    EXPECT_EQ(shared.viewX.load(), 137);  // the view moves with the pointer
    EXPECT_EQ(shared.viewY.load(), 61);
    Move(2000, 2000);
    EXPECT_EQ(shared.viewX.load(), 455 - 200);
    EXPECT_EQ(shared.viewY.load(), 312 - 201);
    Move(-3000, -3000);
    EXPECT_EQ(shared.viewX.load(), 0);
    EXPECT_EQ(shared.viewY.load(), 0);
    Release(-3000, -3000);
    EXPECT_EQ(TestProgram().state.pointer.panDragging, 0);
    EXPECT_EQ(shared.followBall.load(), 0);  // the view stays where it was dragged
    EXPECT_EQ(GetCapture(), nullptr);
    Move(500, 500);  // no pan without a press
    EXPECT_EQ(shared.viewX.load(), 0);
}

TEST_F(PointerTest, PanFromTheFarCornerStartsAtTheFieldEdge) {
    shared.colony.ballX = 400;
    shared.colony.ballY = 290;
    Press(60, 120);  // in the lens, away from the ball drawn at (165, 198)
    EXPECT_EQ(shared.viewX.load(), 255);
    EXPECT_EQ(shared.viewY.load(), 112);
    Move(61, 120);  // the first move holds the view to shared.colony.fieldHeight - 201
    EXPECT_EQ(shared.viewX.load(), 255);
    EXPECT_EQ(shared.viewY.load(), 111);
}

TEST_F(PointerTest, RightClickInTheLensReturnsToTheBall) {
    Press(60, 60);
    EXPECT_EQ(shared.followBall.load(), 0);
    Move(120, 120);
    EXPECT_EQ(SendMessageA(window_, WM_RBUTTONUP, 0, Point(120, 120)), 0);
    EXPECT_EQ(shared.followBall.load(), 1);
}

TEST_F(PointerTest, DoubleClickHidesOnTheRimOnly) {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    TestProgram().state.windowShown = 1;
    Move(120, 120);
    EXPECT_EQ(SendMessageA(window_, WM_LBUTTONDBLCLK, 0, Point(120, 120)), 0);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(TestProgram().state.windowShown, 1);
    const POINT rim = FindRimPoint(false);
    Move(rim.x, rim.y);
    EXPECT_EQ(SendMessageA(window_, WM_LBUTTONDBLCLK, 0, Point(rim.x, rim.y)), 0);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(TestProgram().state.windowShown, 0);
    EXPECT_EQ(GetClassLongA(window_, GCL_STYLE) & CS_DBLCLKS, static_cast<DWORD>(CS_DBLCLKS));
}

TEST_F(PointerTest, RimPressMovesNothingUntilThePointerPassesTheDragThreshold) {
    const int cx = GetSystemMetrics(SM_CXDRAG);
    const int cy = GetSystemMetrics(SM_CYDRAG);
    ASSERT_GT(cx, 0);
    const POINT rim = FindRimPoint(true);
    ASSERT_GE(rim.x, 0);
    struct Case {
        int dx, dy;
        bool moves;
    } cases[] = {{cx, 0, false},    {0, -cy, false},      {-cx, cy, false},
                 {cx + 1, 0, true}, {0, -(cy + 1), true}, {-(cx + 1), 2, true}};
    for (const Case& c : cases) {
        MoveTo(window_, 300, 200);
        EXPECT_EQ(Press(rim.x, rim.y), 0);
        EXPECT_EQ(GetCapture(), window_);
        Move(rim.x + c.dx, rim.y + c.dy);  // client coordinates of the unmoved window
        EXPECT_EQ(Corner(window_),
                  (ScreenPoint{300 + (c.moves ? c.dx : 0), 200 + (c.moves ? c.dy : 0)}))
            << c.dx << "," << c.dy;
        Release(rim.x + c.dx, rim.y + c.dy);
        EXPECT_EQ(GetCapture(), nullptr);
        // Neither the ball nor the view took the press.
        EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
        EXPECT_EQ(TestProgram().state.pointer.panDragging, 0);
        EXPECT_EQ(shared.followBall.load(), 1);
    }
}

TEST_F(PointerTest, RimDragFollowsThePointerPixelForPixelUntilTheButtonOrCaptureGoes) {
    const POINT rim = FindRimPoint(false);
    ASSERT_GE(rim.x, 0);
    MoveTo(window_, 300, 200);
    const POINT press{300 + rim.x, 200 + rim.y};
    // The pointer at press + (dx, dy) on the screen, given in the moved window's own coordinates.
    const auto moveBy = [&](int dx, int dy) {
        POINT p{press.x + dx, press.y + dy};
        ScreenToClient(window_, &p);
        Move(p.x, p.y);
    };
    Press(rim.x, rim.y);
    const POINT steps[] = {{9, 0}, {40, -25}, {-130, 60}, {-131, 61}, {7, 7}};
    for (const POINT& d : steps) {
        moveBy(d.x, d.y);
        EXPECT_EQ(Corner(window_), (ScreenPoint{300 + d.x, 200 + d.y})) << d.x << "," << d.y;
    }
    EXPECT_EQ(TestProgram().state.pointer.overRim,
              1);  // the pointer stays on the same point of the rim
    Release(rim.x, rim.y);
    moveBy(50, 50);
    EXPECT_EQ(Corner(window_).x, 307);  // no button, no move
    // Another window taking the pointer ends the drag as the release does.
    Press(rim.x, rim.y);
    ReleaseCapture();
    Move(rim.x + 30, rim.y + 30);
    EXPECT_EQ(Corner(window_), (ScreenPoint{307, 207}));
}

TEST_F(PointerTest, CursorFollowsTheModeAndTheRim) {
    Move(120, 120);
    EXPECT_EQ(SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), TestProgram().state.stickCursor);
    shared.followBall = 0;
    SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_), HTCLIENT);
    EXPECT_EQ(GetCursor(), TestProgram().state.binocularsCursor);
    shared.followBall = 1;
    TestProgram().state.pointer.panDragging = 1;
    SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_), HTCLIENT);
    EXPECT_EQ(GetCursor(), TestProgram().state.binocularsCursor);
    TestProgram().state.pointer.panDragging = 0;
    const POINT rim = FindRimPoint(true);
    Move(rim.x, rim.y);
    EXPECT_EQ(SendMessageA(window_, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_), HTCLIENT), 1);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(PointerTest, RimMenuPlacementSideAndExclusion) {
    MoveTo(window_, 300, 200);
    const RimMenuPlacement left = PlaceRimMenu(TestProgram(), window_, 150, 40);
    EXPECT_EQ(left.flags, static_cast<UINT>(TPM_RIGHTBUTTON | TPM_RIGHTALIGN));
    EXPECT_EQ(left.point.x, 450);
    EXPECT_EQ(left.point.y, 240);
    EXPECT_EQ(left.params.cbSize, 20u);
    EXPECT_EQ(left.params.rcExclude.left, 300);
    EXPECT_EQ(left.params.rcExclude.top, 200);
    EXPECT_EQ(left.params.rcExclude.right, 600);
    EXPECT_EQ(left.params.rcExclude.bottom, 560);
    const RimMenuPlacement right = PlaceRimMenu(TestProgram(), window_, 151, 40);
    EXPECT_EQ(right.flags, static_cast<UINT>(TPM_RIGHTBUTTON | TPM_LEFTALIGN));
}

// At 2x and 3x the window gets screen pixels; the dispatch divides them back, so every screen
// pixel of the program pixel's block lands on it: the ball grabbed, the rim told from the lens,
// the pan moving the view by program pixels, and the menu at the pointer on the screen.
TEST_F(PointerTest, ScaledPointerLandsOnTheSameProgramPixel) {
    const POINT rim = FindRimPoint(true);
    ASSERT_GE(rim.x, 0);
    for (int32_t s : {2, 3}) {
        SCOPED_TRACE(s);
        ASSERT_EQ(Command(IDM_SCALE_1 + s - 1), 0);
        for (int corner : {0, s - 1}) {
            Move(rim.x * s + corner, rim.y * s + corner);
            EXPECT_EQ(TestProgram().state.pointer.overRim, 1);
            shared.colony.ballGrabbed = 0;
            Press(112 * s + corner, 111 * s + corner);  // the ball's top-left pixel
            EXPECT_EQ(shared.colony.ballGrabbed.load(), 1);
            Release(112 * s + corner, 111 * s + corner);
            shared.colony.ballFlying = 0;
            shared.colony.ballGrabbed = 0;
        }
        Press(111 * s + s - 1, 111 * s);  // just left of the ball: a pan
        EXPECT_EQ(shared.colony.ballGrabbed.load(), 0);
        ASSERT_EQ(TestProgram().state.pointer.panDragging, 1);
        const int32_t viewX = shared.viewX;
        Move(101 * s + s - 1, 111 * s);  // ten program pixels to the left
        EXPECT_EQ(shared.viewX.load(), std::max(0, viewX - 10));
        Release(101 * s, 111 * s);
        shared.followBall = 1;
        MoveTo(window_, 100, 50);
        const RimMenuPlacement left = PlaceRimMenu(TestProgram(), window_, 150, 40);
        EXPECT_EQ(left.point.x, 100 + 150 * s);
        EXPECT_EQ(left.point.y, 50 + 40 * s);
    }
}

TEST_F(PointerTest, RightClickOnTheRimOpensTheMenuOnTheRequestedSide) {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    PumpUntil(100);  // the activation first: it would cancel a menu opened meanwhile
    for (const bool leftHalf : {true, false}) {
        const POINT rim = FindRimPoint(leftHalf);
        ASSERT_GE(rim.x, 0);
        Move(rim.x, rim.y);
        PumpUntil(100);  // focus changes left by the tests before
        CloseTheNextMenu();
        EXPECT_EQ(SendMessageA(window_, WM_RBUTTONUP, 0, Point(rim.x, rim.y)), 0);
        EXPECT_EQ(LastMenu().seen, 1) << leftHalf;
        EXPECT_EQ(LastMenu().foreground, window_) << leftHalf;
        EXPECT_TRUE(NullPosted(window_)) << leftHalf;
        EXPECT_EQ(shared.followBall.load(), 1);  // a rim click does not touch the view
        POINT screen = rim;
        ClientToScreen(window_, &screen);
        // Wine places the menu at the point without applying the exclusion rectangle, so the
        // side is what can be seen: right edge at the press on the left half, left edge on the
        // right half.
        if (leftHalf) {
            EXPECT_EQ(LastMenu().rect.right, screen.x);
        } else {
            EXPECT_EQ(LastMenu().rect.left, screen.x);
        }
    }
}

}  // namespace
}  // namespace shelltest
