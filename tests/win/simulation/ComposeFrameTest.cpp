// One composed frame read back pixel by pixel: the field through the lens, the magnifier over it,
// the goal, the trails in their two colours, ants and hearts on top; the ball's flight; the
// field reload with its refusals and its settings write; the frame's background change.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "base/ImageLimits.h"
#include "colony/FieldMask.h"
#include "colony/Random.h"
#include "imaging/SelectedGdiObject.h"
#include "imaging/MemoryDC.h"
#include "simulation/GoalStamp.h"
#include "simulation/LensRenderer.h"
#include "simulation/SimulationRun.h"
#include "simulation/WorldRules.h"
#include "tests/common/MessageRecorder.h"
#include "resources/TextIds.h"

namespace {
using simtest::Pixel;

// The images as the shell makes them, and the run that uses them; both leases given back after.
class StartupFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        simtest::CreateShellImages();
    }
    void TearDown() override {
        ReleaseWorldLease();
        ReleaseWorldLease();
    }

    SimulationRun run_{nullptr, simtest::Reports()};
};

class ComposeFrameTest : public StartupFieldTest {
  protected:
    void SetUp() override {
        StartupFieldTest::SetUp();
        run_.StartUp();
        ASSERT_EQ(Shared.colony.fieldWidth.load(), 455);
        ASSERT_EQ(Shared.colony.fieldHeight.load(), 312);
        for (int32_t j = 0; j < TheWorld.ants->Count(); ++j) {
            TheWorld.ants->At(j)->active = 0;
        }
        Shared.colony.goalX = -1000;  // out of sight unless a test places it
        Shared.colony.goalY = -1000;
        Shared.colony.ballX = 1000;
        Shared.colony.ballY = 1000;
    }
    void TearDown() override {
        DestroyWorld();
        StartupFieldTest::TearDown();
    }

    // The frame as it must be: the magnifier where its mask is not white, the canvas at the view
    // inside the lens square, and the frame's earlier content elsewhere.
    int FrameMismatches(int vx, int vy, const std::vector<uint32_t>& before, int* lensPixels) {
        *lensPixels = 0;
        return simtest::CountWhere(0, 0, kFrameWidth, kFrameHeight, [&](int x, int y) {
            uint32_t expected = before[static_cast<size_t>(y) * kFrameWidth + x];
            if (Pixel(TheWorld.magnifier, x, kFrameHeight + y) != kMaskWhite) {
                expected = Pixel(TheWorld.magnifier, x, y);
            } else if (x >= kLensLeft && x < kLensRight && y >= kLensTop && y < kLensBottom) {
                expected = Pixel(TheWorld.fieldCanvas, vx + x - kLensLeft, vy + y - kLensTop);
                ++*lensPixels;
            }
            return Pixel(TheWorld.frame, x, y) != expected;
        });
    }

    // The lens still at (x, y) of the field.
    static void LookAt(int x, int y) {
        Shared.followBall = 0;
        Shared.viewX = x;
        Shared.viewY = y;
    }
    static Ant* Walker(int index, int x, int y, int direction, int frame) {
        Ant* ant = TheWorld.ants->At(index);
        ant->active = 1;
        ant->x = x;
        ant->y = y;
        ant->direction = direction;
        ant->frame = frame;
        return ant;
    }
    static Heart* ShownHeart(int index, int x, int y) {
        Heart* heart = TheWorld.hearts->At(index);
        heart->visible = 1;
        heart->x = x;
        heart->y = y;
        return heart;
    }

    std::vector<uint32_t> FrameSnapshot() {
        std::vector<uint32_t> pixels;
        simtest::CountWhere(0, 0, kFrameWidth, kFrameHeight, [&pixels](int x, int y) {
            pixels.push_back(Pixel(TheWorld.frame, x, y));
            return false;
        });
        return pixels;
    }
};

TEST_F(ComposeFrameTest, LensShowsTheFieldUnderTheMagnifier) {
    LookAt(120, 60);
    const std::vector<uint32_t> before = FrameSnapshot();
    // The rim comes from the runs found when the images were made, not from the mask each frame.
    ASSERT_TRUE(TheWorld.lensOverlay.Ready(TheWorld.magnifier));
    ComposeFrame();
    int lensPixels = 0;
    EXPECT_EQ(FrameMismatches(120, 60, before, &lensPixels), 0);
    // The lens circle, 200 across, is open; the rim and handle cover the rest of the square.
    EXPECT_GT(lensPixels, 28000);
    EXPECT_LT(lensPixels, 40000);
    // Nothing drawn: the canvas in view is the field itself.
    EXPECT_EQ(simtest::Differences(TheWorld.fieldCanvas, TheWorld.field, 120, 60, 320, 260), 0);
}

TEST_F(ComposeFrameTest, GoalIsABlackDiscWithALightGreyRim) {
    LookAt(150, 50);
    Shared.colony.goalX = 250;
    Shared.colony.goalY = 150;
    ComposeFrame();
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 250, 150), 0x000000u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 240, 142), 0x000000u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 230, 150), 0xC0C0C0u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 250, 130), 0xC0C0C0u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 269, 150), 0xC0C0C0u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 224, 150), Pixel(TheWorld.field, 224, 150));
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 250, 175), Pixel(TheWorld.field, 250, 175));
    // And the frame shows it through the lens at (20 + 100, 20 + 100).
    EXPECT_EQ(Pixel(TheWorld.frame, 120, 120), 0x000000u);
    EXPECT_EQ(Pixel(TheWorld.frame, 100, 120), 0xC0C0C0u);
}

TEST_F(ComposeFrameTest, TrailsHaveTheirColoursOverGoalAndBallAndOnlyWhenShown) {
    LookAt(100, 50);
    Shared.colony.goalX = 250;
    Shared.colony.goalY = 150;
    Shared.colony.ballX = 150;
    Shared.colony.ballY = 90;
    TheWorld.mask->At(160, 100) = CellTrail;
    TheWorld.mask->At(161, 100) = CellStrongTrail;
    TheWorld.mask->At(250, 150) = CellStrongTrail;  // in the goal disc
    TheWorld.mask->At(150, 90) = CellTrail;         // under the ball
    TheWorld.mask->At(99, 100) = CellTrail;         // left of the view: not scanned
    ComposeFrame();
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 160, 100), 0xFFA57Bu);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 161, 100), 0xFF6464u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 250, 150), 0xFF6464u);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 150, 90), 0xFFA57Bu);
    EXPECT_NE(Pixel(TheWorld.fieldCanvas, 99, 100), 0xFFA57Bu);
    EXPECT_EQ(Pixel(TheWorld.frame, 20 + 60, 20 + 50), 0xFFA57Bu);
    EXPECT_EQ(Pixel(TheWorld.frame, 20 + 61, 20 + 50), 0xFF6464u);

    Shared.hideTrails = 1;
    ComposeFrame();
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 160, 100), Pixel(TheWorld.field, 160, 100));
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 161, 100), Pixel(TheWorld.field, 161, 100));
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 250, 150), 0x000000u);
    EXPECT_EQ(TheWorld.mask->At(160, 100), CellTrail);  // hidden, not gone
    EXPECT_EQ(simtest::CountWhere(100, 50, 300, 250,
                                  [](int x, int y) {
                                      const uint32_t p = Pixel(TheWorld.fieldCanvas, x, y);
                                      return p == kTrailColour || p == kStrongTrailColour;
                                  }),
              0);

    // A thrown ball's pending rebuild hides the trails of the old mask too.
    Shared.hideTrails = 0;
    Shared.maskRebuildRequested = 1;
    ComposeFrame();
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 160, 100), Pixel(TheWorld.field, 160, 100));
    Shared.maskRebuildRequested = 0;
}

TEST_F(ComposeFrameTest, AntsOverTrailsAndHeartsOverAnts) {
    LookAt(100, 100);
    for (int y = 126; y < 134; ++y) {
        for (int x = 116; x < 124; ++x) {
            TheWorld.mask->At(x, y) = CellTrail;
        }
    }
    Walker(5, 120, 130, 2, 1);
    Walker(8, 200, 200, 5, 0);  // under the heart
    ShownHeart(7, 200, 200);
    Ant* first = TheWorld.ants->At(0);  // never walks, never drawn
    first->x = 250;
    first->y = 250;
    first->direction = 0;
    ComposeFrame();

    int antPixels = 0;
    const int cell = 2 * 2 + 1;
    for (int k = 0; k < 8; ++k) {
        for (int j = 0; j < 8; ++j) {
            const bool opaque = Pixel(TheWorld.antSprites, cell * 8 + j, 8 + k) != 0xFFFFFF;
            const uint32_t expected =
                opaque ? Pixel(TheWorld.antSprites, cell * 8 + j, k) : 0xFFA57Bu;
            EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 116 + j, 126 + k), expected) << j << "," << k;
            antPixels += opaque ? 1 : 0;
        }
    }
    EXPECT_GT(antPixels, 8);

    int heartPixels = 0;
    const int underCell = 5 * 2;
    for (int k = 0; k < 16; ++k) {
        for (int j = 0; j < 16; ++j) {
            const int fx = 192 + j;
            const int fy = 192 + k;
            uint32_t expected = Pixel(TheWorld.field, fx, fy);
            const int aj = fx - 196;
            const int ak = fy - 196;
            if (aj >= 0 && aj < 8 && ak >= 0 && ak < 8 &&
                Pixel(TheWorld.antSprites, underCell * 8 + aj, 8 + ak) != 0xFFFFFF) {
                expected = Pixel(TheWorld.antSprites, underCell * 8 + aj, ak);
            }
            if (Pixel(TheWorld.heart, j, 16 + k) != 0xFFFFFF) {
                expected = Pixel(TheWorld.heart, j, k);
                ++heartPixels;
            }
            EXPECT_EQ(Pixel(TheWorld.fieldCanvas, fx, fy), expected) << j << "," << k;
        }
    }
    EXPECT_GT(heartPixels, 40);

    // The inactive first ant left the field as it was.
    EXPECT_EQ(simtest::Differences(TheWorld.fieldCanvas, TheWorld.field, 246, 246, 254, 254), 0);
}

TEST_F(ComposeFrameTest, HeartsBeyondASmallerFieldAreCutAtTheCanvasEdge) {
    LookAt(255, 112);
    ShownHeart(3, 455 + 3, 312 + 3);  // top-left (450, 307): a 5 x 5 corner lies on the canvas
    ShownHeart(4, 2000, -500);
    ComposeFrame();
    for (int k = 0; k < 5; ++k) {
        for (int j = 0; j < 5; ++j) {
            const uint32_t expected = Pixel(TheWorld.heart, j, 16 + k) != 0xFFFFFF
                                          ? Pixel(TheWorld.heart, j, k)
                                          : Pixel(TheWorld.field, 450 + j, 307 + k);
            EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 450 + j, 307 + k), expected);
        }
    }
}

TEST_F(ComposeFrameTest, FollowingTheBallNearTheFarCornerLooksOneRowHigh) {
    Shared.followBall = 1;
    Shared.colony.ballX = 455 - 50;
    Shared.colony.ballY = 312 - 50;
    const std::vector<uint32_t> before = FrameSnapshot();
    ComposeFrame();
    int lensPixels = 0;
    EXPECT_EQ(FrameMismatches(255, 111, before, &lensPixels), 0);
    // A point clear of the ball shows the field at (255 + 30, 111 + 100).
    EXPECT_EQ(Pixel(TheWorld.frame, 20 + 30, 20 + 100), Pixel(TheWorld.field, 285, 211));
}

TEST_F(ComposeFrameTest, AThrownBallIsDrawnWhereItIsThenMovesOn) {
    Shared.followBall = 1;
    Shared.colony.ballX = 100;
    Shared.colony.ballY = 150;
    Shared.ballSpeed = 20;
    Shared.ballAngle = 0;
    Shared.colony.ballFlying = 1;
    ComposeFrame();
    const bool centreOpaque = Pixel(TheWorld.ball, 8, 24) != 0xFFFFFF;
    ASSERT_TRUE(centreOpaque);
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, 100, 150), Pixel(TheWorld.ball, 8, 8));
    EXPECT_EQ(Shared.colony.ballX.load(), 120);
    EXPECT_EQ(Shared.colony.ballY.load(), 150);
    EXPECT_EQ(Shared.ballSpeed.load(), 16);
    EXPECT_EQ(Shared.colony.ballFlying.load(), 1);
    for (int frame = 0; frame < 10; ++frame) {
        ComposeFrame();
    }
    EXPECT_EQ(Shared.colony.ballX.load(), 100 + 20 + 16 + 12 + 8 + 4);
    EXPECT_EQ(Shared.colony.ballFlying.load(), 0);
}

TEST_F(ComposeFrameTest, NothingIsDrawnOrMovedWhileANewFieldWaits) {
    Shared.colony.ballX = 100;
    Shared.colony.ballY = 150;
    Shared.ballSpeed = 20;
    Shared.colony.ballFlying = 1;
    Shared.backgroundChanged = 1;
    const std::vector<uint32_t> before = FrameSnapshot();
    ComposeFrame();
    EXPECT_EQ(FrameSnapshot(), before);
    EXPECT_EQ(Shared.colony.ballX.load(), 100);
    EXPECT_EQ(Shared.colony.ballFlying.load(), 1);
    Shared.backgroundChanged = 0;
}

TEST_F(ComposeFrameTest, AFrameFirstRebuildsTheMaskTheThrowAskedFor) {
    HWND window = simtest::CreateTestWindow();
    SimulationRun frames(window, simtest::Reports());
    Shared.splashDone = 1;
    TheWorld.mask->At(120, 120) = CellStrongTrail;
    Shared.colony.arrivalSeen = 1;
    Shared.maskRebuildRequested = 1;
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(Shared.maskRebuildRequested.load(), 0);
    EXPECT_EQ(Shared.colony.arrivalSeen.load(), 0);
    EXPECT_EQ(TheWorld.mask->At(120, 120), CellFree);
    EXPECT_EQ(TheWorld.mask->At(3, 120), CellBlocked);
    // Without a request the trails stay.
    TheWorld.mask->At(120, 120) = CellTrail;
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(TheWorld.mask->At(120, 120), CellTrail);
    DestroyWindow(window);
}

TEST_F(ComposeFrameTest, AFrameLoadsARequestedBackgroundBeforeTheSteps) {
    HWND window = simtest::CreateTestWindow();
    SimulationRun frames(window, simtest::Reports());
    Shared.splashDone = 1;
    const std::string square = simtest::WriteTestBmp("kirelo_frame_square.bmp", 240, 210);
    Shared.RequestBackground(square.c_str());
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(Shared.backgroundChanged.load(), 0);
    EXPECT_EQ(Shared.colony.fieldWidth.load(), 240);
    EXPECT_EQ(Shared.colony.fieldHeight.load(), 210);
    // The same frame composed the new field.
    EXPECT_EQ(TheWorld.fieldCanvas->GetWidth(), 240);
    DestroyWindow(window);
}

class ReloadBackgroundTest : public ComposeFrameTest {};

// The field, the canvas, the mask and the size the frame uses, all of one size.
void ExpectFieldOfSize(int w, int h, const std::string& what) {
    EXPECT_EQ(Shared.colony.fieldWidth.load(), w) << what;
    EXPECT_EQ(Shared.colony.fieldHeight.load(), h) << what;
    EXPECT_EQ(TheWorld.field->GetWidth(), w) << what;
    EXPECT_EQ(TheWorld.field->GetHeight(), h) << what;
    EXPECT_EQ(TheWorld.fieldCanvas->GetWidth(), w) << what;
    EXPECT_EQ(TheWorld.fieldCanvas->GetHeight(), h) << what;
    EXPECT_EQ(TheWorld.mask->Width(), w) << what;
    EXPECT_EQ(TheWorld.mask->Height(), h) << what;
}

TEST_F(ReloadBackgroundTest, RefusesPicturesNarrowerOrLowerThan200) {
    TheWorld.mask->At(100, 100) = CellTrail;
    const std::string narrow = simtest::WriteTestBmp("kirelo_narrow.bmp", 199, 300);
    const std::string low = simtest::WriteTestBmp("kirelo_low.bmp", 300, 199);
    MessageRecorder recorder;
    EXPECT_EQ(ReloadBackground(narrow.c_str(), simtest::Reports()), 0);
    EXPECT_EQ(ReloadBackground(low.c_str(), simtest::Reports()), 0);
    ASSERT_EQ(recorder.size(), 2u);
    recorder.ExpectAt(0, IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION, MB_ICONWARNING | MB_OK);
    recorder.ExpectAt(1, IDS_TOO_LOW, IDS_TOO_SMALL_CAPTION, MB_ICONWARNING | MB_OK);
    ExpectFieldOfSize(455, 312, "refused");
    EXPECT_EQ(TheWorld.mask->At(100, 100), CellTrail);
    EXPECT_TRUE(simtest::Reports().backgrounds.empty());  // nothing to save

    // Both too small: the width is named.
    const std::string tiny = simtest::WriteTestBmp("kirelo_tiny.bmp", 120, 80);
    recorder.clear();
    EXPECT_EQ(ReloadBackground(tiny.c_str(), simtest::Reports()), 0);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, IDS_TOO_NARROW);
}

TEST_F(ReloadBackgroundTest, TakesA200By200PictureAndRecordsIt) {
    TheWorld.mask->At(100, 100) = CellTrail;
    const std::string square = simtest::WriteTestBmp("kirelo_square.bmp", 200, 200);
    MessageRecorder recorder;
    EXPECT_EQ(ReloadBackground(square.c_str(), simtest::Reports()), 1);
    EXPECT_EQ(recorder.size(), 0u);
    ExpectFieldOfSize(200, 200, "square");
    ASSERT_FALSE(HasFailure());
    const auto wrong = [](int x, int y) {
        return Pixel(TheWorld.field, x, y) != simtest::TestColour(x, y) ||
               Pixel(TheWorld.fieldCanvas, x, y) != simtest::TestColour(x, y);
    };
    EXPECT_EQ(simtest::CountWhere(0, 0, 200, 200, wrong, 3), 0);
    EXPECT_EQ(TheWorld.mask->At(100, 100), CellFree);  // the trails went with the old field
    EXPECT_EQ(TheWorld.mask->At(5, 100), CellBlocked);
    EXPECT_EQ(simtest::Reports().LastBackground(), square);

    EXPECT_EQ(ReloadBackground("Resource", simtest::Reports()), 1);
    ExpectFieldOfSize(455, 312, "resource");
    EXPECT_EQ(simtest::Reports().LastBackground(), "Resource");
    EXPECT_EQ(recorder.size(), 0u);
}

TEST_F(ReloadBackgroundTest, TheFrameMovesAntsBallViewAndGoalIntoASmallerField) {
    const std::string square = simtest::WriteTestBmp("kirelo_square2.bmp", 200, 220);
    for (int j = 1; j < 4; ++j) {
        Walker(j, 400, 40 + j, 0, 0)->trail.Append(400, 40 + j, CellTrail);
    }
    Ant* resting = TheWorld.ants->At(10);  // inactive ants are left where they are
    resting->x = 420;
    const Heart* heart = ShownHeart(2, 430, 300);
    Shared.colony.ballX = 420;
    Shared.colony.ballY = 290;
    Shared.viewX = 255;
    Shared.viewY = 112;
    Shared.RequestBackground(square.c_str());
    run_.ApplyBackgroundChange();
    EXPECT_EQ(Shared.backgroundChanged.load(), 0);
    EXPECT_EQ(Shared.colony.fieldWidth.load(), 200);
    for (int j = 1; j < 4; ++j) {
        EXPECT_EQ(TheWorld.ants->At(j)->x, 164);
        EXPECT_EQ(TheWorld.ants->At(j)->y, 40 + j);
        EXPECT_EQ(TheWorld.ants->At(j)->trail.Count(), 0);
    }
    EXPECT_EQ(resting->x, 420);
    EXPECT_EQ(heart->x, 430);  // hearts keep their places
    EXPECT_EQ(heart->y, 300);
    EXPECT_EQ(Shared.colony.ballX.load(), 164);
    EXPECT_EQ(Shared.colony.ballY.load(), 184);
    EXPECT_EQ(Shared.viewX.load(), 0);
    EXPECT_EQ(Shared.viewY.load(), 20);
    EXPECT_GE(Shared.colony.goalX.load(), 100);
    EXPECT_LE(Shared.colony.goalX.load(), 139);
    EXPECT_GE(Shared.colony.goalY.load(), 110);
    EXPECT_LE(Shared.colony.goalY.load(), 159);
    // The heart outside the new field is drawn without harm.
    ComposeFrame();
}

TEST_F(ReloadBackgroundTest, AFailedReloadStillClearsTheRequestAndMovesTheGoal) {
    const std::string narrow = simtest::WriteTestBmp("kirelo_narrow2.bmp", 150, 300);
    Ant* ant = Walker(1, 100, 100, 0, 0);
    ant->trail.Append(100, 100, CellTrail);
    MessageRecorder recorder;
    bool goalMoved = false;
    for (int k = 0; k < 5 && !goalMoved; ++k) {
        Shared.colony.goalX = 0;
        Shared.RequestBackground(narrow.c_str());
        run_.ApplyBackgroundChange();
        goalMoved = Shared.colony.goalX.load() >= 227 && Shared.colony.goalX.load() <= 393;
    }
    EXPECT_TRUE(goalMoved);
    EXPECT_EQ(Shared.backgroundChanged.load(), 0);
    EXPECT_EQ(Shared.colony.fieldWidth.load(), 455);
    EXPECT_EQ(ant->trail.Count(), 0);
    EXPECT_GE(recorder.size(), 1u);
}

TEST_F(ReloadBackgroundTest, PicturesAtTheSizeLimitKeepFieldCanvasAndMaskOfOneSize) {
    // A tall field, then a wide one: field and canvas take the new width while they still have
    // the old height, a square at the limit, before they take the new height.
    const std::string tall = simtest::WriteTestBmp("kirelo_tall.bmp", 200, kMaxImageSide);
    const std::string wide = simtest::WriteTestBmp("kirelo_wide.bmp", kMaxImageSide, 200);
    const std::string past = simtest::WriteTestBmp("kirelo_past.bmp", 2 * kMaxImageSide, 400);
    const std::string thin = simtest::WriteTestBmp("kirelo_thin.bmp", 2 * kMaxImageSide, 300);
    MessageRecorder recorder;
    ASSERT_EQ(ReloadBackground(tall.c_str(), simtest::Reports()), 1);
    ExpectFieldOfSize(200, kMaxImageSide, "tall");
    ASSERT_EQ(ReloadBackground(wide.c_str(), simtest::Reports()), 1);
    ExpectFieldOfSize(kMaxImageSide, 200, "wide");
    const int x = kMaxImageSide - 1;
    EXPECT_EQ(Pixel(TheWorld.field, x, 199), simtest::TestColour(x, 199));
    EXPECT_EQ(Pixel(TheWorld.fieldCanvas, x, 199), simtest::TestColour(x, 199));
    EXPECT_EQ(TheWorld.mask->At(x - 28, 100), CellFree);
    EXPECT_EQ(recorder.size(), 0u);

    // A picture cut inside its pixels is refused by the loader with its data box; nothing changes.
    std::string cut = simtest::WriteTestBmp("kirelo_cut.bmp", 640, 480);
    HANDLE file = CreateFileA(cut.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 5000, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    EXPECT_EQ(ReloadBackground(cut.c_str(), simtest::Reports()), 0);
    recorder.ExpectOnly(IDS_BAD_BITMAP, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR | MB_OK);
    ExpectFieldOfSize(kMaxImageSide, 200, "cut");
    EXPECT_EQ(simtest::Reports().LastBackground(), wide);

    // Twice the limit wide: scaled to it, proportions kept, and remembered by its own name.
    ASSERT_EQ(ReloadBackground(past.c_str(), simtest::Reports()), 1);
    ExpectFieldOfSize(kMaxImageSide, 200, "past");
    EXPECT_EQ(simtest::Reports().LastBackground(), past);
    // Each field pixel the mean of a 2 x 2 block: TestColour's blue is (x + y) & 0xFF, so (10, 7)
    // is the mean of 34, 35, 35 and 36.
    EXPECT_EQ(Pixel(TheWorld.field, 10, 7) & 0xFF, 35u);
    EXPECT_EQ(recorder.size(), 1u);

    // Scaled under the field's 200 pixels: the too-small warning, and nothing changes.
    ASSERT_EQ(ReloadBackground(thin.c_str(), simtest::Reports()), 0);
    ASSERT_EQ(recorder.size(), 2u);
    EXPECT_EQ(recorder.messages()[1].text, IDS_TOO_LOW);
    ExpectFieldOfSize(kMaxImageSide, 200, "thin");
    EXPECT_EQ(simtest::Reports().LastBackground(), past);
    for (const std::string& name : {tall, wide, past, cut, thin}) {
        DeleteFileA(name.c_str());
    }
}

TEST_F(StartupFieldTest, ResourceLoadsTheDryLeavesWithoutAWord) {
    MessageRecorder recorder;
    run_.LoadStartupField();
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(Shared.colony.fieldWidth.load(), 455);
    EXPECT_EQ(Shared.colony.fieldHeight.load(), 312);
    EXPECT_EQ(TheWorld.field->GetBitCount(), 32);
}

TEST_F(StartupFieldTest, AMissingOrTooSmallPictureFallsBackWithAWarning) {
    const std::string small = simtest::WriteTestBmp("kirelo_small_start.bmp", 150, 250);
    const std::string names[] = {simtest::TempPath("kirelo_no_such_picture.bmp"), small,
                                 "resource"};
    for (const std::string& name : names) {
        Shared.SetBackgroundFileName(name.c_str());
        simtest::Reports().backgrounds.clear();
        MessageRecorder recorder;
        run_.LoadStartupField();
        ASSERT_GE(recorder.size(), 1u) << name;
        recorder.ExpectAt(recorder.size() - 1, IDS_BACKGROUND_RESET, IDS_BACKGROUND_RESET_CAPTION,
                          MB_ICONWARNING | MB_OK);
        EXPECT_EQ(Shared.colony.fieldWidth.load(), 455) << name;
        EXPECT_EQ(Shared.colony.fieldHeight.load(), 312) << name;
        EXPECT_EQ(simtest::Reports().LastBackground(), "Resource");
        char current[kPathBytes] = {};
        Shared.GetBackgroundFileName(current);
        EXPECT_EQ(std::string(current), name);  // the name itself keeps the failed path
    }
    // A picture past the size limit comes scaled to it at the start as at a drop.
    const std::string past = simtest::WriteTestBmp("kirelo_past_start.bmp", 200, kMaxImageSide + 1);
    Shared.SetBackgroundFileName(past.c_str());
    simtest::Reports().backgrounds.clear();
    {
        MessageRecorder quiet;
        run_.LoadStartupField();
        EXPECT_EQ(quiet.size(), 0u);
        EXPECT_EQ(Shared.colony.fieldWidth.load(), 200);
        EXPECT_EQ(Shared.colony.fieldHeight.load(), kMaxImageSide);
        // Nothing replaced: the settings keep naming the original file.
        EXPECT_TRUE(simtest::Reports().backgrounds.empty());
    }
    DeleteFileA(past.c_str());
    // The too-small picture is refused by size alone: the loader had nothing to say.
    Shared.SetBackgroundFileName(small.c_str());
    MessageRecorder recorder;
    run_.LoadStartupField();
    EXPECT_EQ(recorder.size(), 1u);
}
}  // namespace

namespace {
// The goal copied from its stamp is, pixel for pixel, the ellipse GDI draws there: anywhere in the
// field, and cut the same way at every edge and corner.
TEST(GoalStampTest, StampsExactlyWhatTheEllipseDrawsAnywhere) {
    GoalStamp stamp;
    ASSERT_TRUE(stamp.Build());
    auto field = [](DIBImage& image) {
        image.ChangeBitCount(32);
        image.SetWidth(455);
        image.SetHeight(312);
        for (int y = 0; y < 312; ++y) {
            for (int x = 0; x < 455; ++x) {
                image.GetLine(y)[x] = static_cast<uint32_t>(((x * 7) << 8) | ((y * 3) & 0xFF));
            }
        }
    };
    const int places[][2] = {{250, 150}, {0, 0},     {20, 20},  {454, 311}, {-15, 100},
                             {470, 5},   {200, -18}, {37, 291}, {21, 290},  {433, 160}};
    for (const auto& at : places) {
        DIBImage drawn;
        DIBImage stamped;
        field(drawn);
        field(stamped);
        MemoryDC* dc = drawn.GetMemoryDC();
        ASSERT_NE(dc, nullptr);
        dc->GetPen()->SetColor(kGoalRimColour);
        dc->GetPen()->SetWidth(3);
        dc->GetBrush()->SetColor(kGoalDiscColour);
        dc->Ellipse(at[0] - 20, at[1] - 20, at[0] + 20, at[1] + 20);
        GdiFlush();
        stamp.Stamp(stamped, at[0], at[1]);
        int differ = 0;
        int goal = 0;
        for (int y = 0; y < 312; ++y) {
            for (int x = 0; x < 455; ++x) {
                const uint32_t want = drawn.GetLine(y)[x] & 0xFFFFFF;
                differ += want != (stamped.GetLine(y)[x] & 0xFFFFFF) ? 1 : 0;
                goal += want == kGoalRimColour || want == kGoalDiscColour ? 1 : 0;
            }
        }
        EXPECT_EQ(differ, 0) << "goal at " << at[0] << ", " << at[1];
        if (at[0] == 250) {
            EXPECT_GT(goal, 1200);  // a whole disc of radius 20 was drawn
        }
    }
}
}  // namespace
