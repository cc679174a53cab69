// The glass at 1x, 2x and 3x: its size, its outline (the window region against the mask's runs
// enlarged), what its paint leaves in the window read back pixel for pixel, the pointer divided
// back at the dispatch, the size menu in the settings file, and WM_DPICHANGED.
#include "ShellTestSupport.h"
#include "base/NearestNeighbour.h"
#include "base/TransparentRuns.h"
#include "imaging/DIBImage.h"
#include "shell/GlassScale.h"
#include "shell/MainWindow.h"
#include "tests/common/PixelCount.h"

namespace shelltest {
namespace {

const UINT kSizeCommand[] = {IDM_SCALE_AUTO, IDM_SCALE_1, IDM_SCALE_2, IDM_SCALE_3};

// The outline the window must have at scale: the mask's runs, each pixel a scale x scale block.
HRGN EnlargedMask(int32_t scale) {
    DIBImage shape;
    shape.LoadBitmapResource(MAKEINTRESOURCEA(IDB_MAGNIFIER_SHAPE));
    shape.ChangeBitCount(32);
    HRGN all = CreateRectRgn(0, 0, 0, 0);
    for (const ScreenRect& r :
         ScaleRuns(FindOpaqueRuns(shape.GetSurface(), 0, 0, kFrameWidth, kFrameHeight, kKeyColour),
                   scale)) {
        HRGN block = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(all, all, block, RGN_OR);
        DeleteObject(block);
    }
    return all;
}

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

class ScaleTest : public ShellWindowTest {
  protected:
    void Choose(int32_t choice) { ASSERT_EQ(Command(kSizeCommand[choice]), 0); }
};

TEST_F(ScaleTest, EachSizeGivesTheEnlargedWindowOutlineAndPicture) {
    // A pattern no enlargement could fake: every frame pixel its own colour.
    pixeltest::Fill(world.frame, [](int x, int y) { return static_cast<uint32_t>(x << 12 | y); });
    for (int32_t s = 1; s <= GlassScale::kLargestChoice; ++s) {
        SCOPED_TRACE(s);
        Choose(s);
        EXPECT_EQ(shared.Scale().Factor(), s);
        const SIZE size = WindowSize(window_);
        EXPECT_EQ(size.cx, kFrameWidth * s);
        EXPECT_EQ(size.cy, kFrameHeight * s);
        const UniqueRegion region = WindowRegion(window_);
        ASSERT_TRUE(region);
        const UniqueRegion expected(EnlargedMask(s));
        EXPECT_TRUE(EqualRgn(region.get(), expected.get()));

        // Painted on the screen's top-left, read back from the window: the whole lens and the
        // frame above it, each frame pixel an s x s block of its own colour.
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SendMessageA(window_, WM_FRAMEREADY, 0, 0);
        const int side = kLensBottom * s;
        DIBImage shot;
        pixeltest::ReadWindow(window_, side, side, &shot);
        EXPECT_EQ(pixeltest::CountWhere(0, 0, side, side,
                                        [&](int x, int y) {
                                            return PtInRegion(region.get(), x, y) &&
                                                   pixeltest::Pixel(&shot, x, y) !=
                                                       pixeltest::Pixel(world.frame, x / s, y / s);
                                        }),
                  0);
        // The lens (its 1x centre) is painted in the window at every scale.
        EXPECT_TRUE(PtInRegion(region.get(), (kLensLeft + kLensSide / 2) * s, kLensTop * s + 1));
    }
}

TEST_F(ScaleTest, TheSizeMenuTicksSavesAndKeepsTheCentre) {
    EXPECT_TRUE(Checked(IDM_SCALE_AUTO));   // no key: automatic
    EXPECT_EQ(shared.Scale().Factor(), 1);  // the test display has 96 DPI
    const POINT centre = GlassScale::CentreOf(window_);
    for (int32_t choice : {2, 3, 1, 2, 0}) {
        SCOPED_TRACE(choice);
        Choose(choice);
        for (int32_t c = 0; c <= GlassScale::kLargestChoice; ++c) {
            EXPECT_EQ(Checked(kSizeCommand[c]), c == choice);
        }
        EXPECT_EQ(ReadIni("Status", "Scale"), std::to_string(choice));
        EXPECT_EQ(WindowSize(window_).cx, kFrameWidth * (choice == 0 ? 1 : choice));
        const POINT now = GlassScale::CentreOf(window_);
        EXPECT_EQ(now.x, centre.x);
        EXPECT_EQ(now.y, centre.y);
    }
}

class StoredSizeTest : public ShellWindowTest {
  protected:
    void PrepareDirectory() override { WriteIni("Status", "Scale", "2"); }
};

TEST_F(StoredSizeTest, AStoredSizeHoldsFromTheStartAndAgainstADpiChange) {
    EXPECT_TRUE(Checked(IDM_SCALE_2));
    EXPECT_FALSE(Checked(IDM_SCALE_AUTO));
    EXPECT_EQ(WindowSize(window_).cx, kFrameWidth * 2);
    EXPECT_EQ(WindowSize(window_).cy, kFrameHeight * 2);
    // The heart is cut for 2x from the start.
    const UniqueRegion heart = WindowRegion(TestProgram().strayWindows[kStrayHeartIndex]);
    ASSERT_TRUE(heart);
    RECT box{};
    GetRgnBox(heart.get(), &box);
    EXPECT_GT(box.right, kHeartSide);
    EXPECT_LE(box.right, kHeartSide * 2);
    RECT suggested = {0, 0, 900, 1080};
    SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(288, 288),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(WindowSize(window_).cx, kFrameWidth * 2);
    EXPECT_EQ(shared.Scale().Factor(), 2);
}

TEST_F(ScaleTest, ADpiChangeRescalesAnAutomaticGlassAroundTheSuggestedCentre) {
    const struct {
        int dpi;
        int32_t scale;
    } cases[] = {{192, 2}, {144, 2}, {96, 1}, {120, 1}, {288, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        RECT suggested = {100, 50, 100 + 2 * 300, 50 + 2 * 360};
        SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(shared.Scale().Factor(), c.scale);
        EXPECT_TRUE(StandsAt(window_, 400 - kFrameWidth * c.scale / 2,
                             410 - kFrameHeight * c.scale / 2, kFrameWidth * c.scale,
                             kFrameHeight * c.scale));
        // The stray ant's walking window follows.
        EXPECT_EQ(WindowSize(TestProgram().strayWindows[kStrayAntIndex]).cx, kAntCell * c.scale);
    }
}

}  // namespace
}  // namespace shelltest
