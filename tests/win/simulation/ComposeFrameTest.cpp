// One composed frame read back pixel by pixel: the field through the lens, the magnifier over it,
// the goal, the trails in their two colours, ants and hearts on top; the ball's flight; the
// field reload with its refusals and its settings write; the frame's background change.
#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "base/ImageLimits.h"
#include "colony/FieldMask.h"
#include "imaging/SelectedGdiObject.h"
#include "imaging/MemoryDC.h"
#include "simulation/GoalStamp.h"
#include "simulation/LensRenderer.h"
#include "simulation/SimulationRun.h"
#include "simulation/WorldRules.h"
#include "tests/common/MessageRecorder.h"
#include "resources/TextIds.h"

namespace {
World& world = simtest::TestWorld();
SharedState& shared = simtest::TestShared();
using simtest::Pixel;

// The images as the shell makes them, and the run that uses them; both leases given back after.
class StartupFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        simtest::CreateShellImages();
    }
    void TearDown() override {
        world.ReleaseLease();
        world.ReleaseLease();
    }

    SimulationRun run_{{world, shared, nullptr, simtest::Reports()}};
    LensRenderer lens_{world, shared};
};

class ComposeFrameTest : public StartupFieldTest {
  protected:
    void SetUp() override {
        StartupFieldTest::SetUp();
        run_.StartUp();
        ASSERT_EQ(shared.colony.fieldWidth.load(), 455);
        ASSERT_EQ(shared.colony.fieldHeight.load(), 312);
        for (int32_t j = 0; j < world.ants->Count(); ++j) {
            world.ants->At(j)->active = 0;
        }
        shared.colony.goalX = -1000;  // out of sight unless a test places it
        shared.colony.goalY = -1000;
        shared.colony.ballX = 1000;
        shared.colony.ballY = 1000;
    }
    void TearDown() override {
        world.DestroyRunParts();
        StartupFieldTest::TearDown();
    }

    // The frame as it must be: the magnifier where its mask is not white, the canvas at the view
    // inside the lens square, and the frame's earlier content elsewhere.
    int FrameMismatches(int vx, int vy, const std::vector<uint32_t>& before, int* lensPixels) {
        *lensPixels = 0;
        return simtest::CountWhere(0, 0, kFrameWidth, kFrameHeight, [&](int x, int y) {
            uint32_t expected = before[static_cast<size_t>(y) * kFrameWidth + x];
            if (Pixel(world.magnifier, x, kFrameHeight + y) != kMaskWhite) {
                expected = Pixel(world.magnifier, x, y);
            } else if (x >= kLensLeft && x < kLensRight && y >= kLensTop && y < kLensBottom) {
                expected = Pixel(world.fieldCanvas, vx + x - kLensLeft, vy + y - kLensTop);
                ++*lensPixels;
            }
            return Pixel(world.frame, x, y) != expected;
        });
    }

    // The lens still at (x, y) of the field.
    static void LookAt(int x, int y) {
        shared.followBall = 0;
        shared.viewX = x;
        shared.viewY = y;
    }
    static Ant* Walker(int index, int x, int y, int direction, int frame) {
        Ant* ant = world.ants->At(index);
        ant->active = 1;
        ant->x = x;
        ant->y = y;
        ant->direction = direction;
        ant->frame = frame;
        return ant;
    }
    static Heart* ShownHeart(int index, int x, int y) {
        Heart* heart = world.hearts->At(index);
        heart->visible = 1;
        heart->x = x;
        heart->y = y;
        return heart;
    }

    std::vector<uint32_t> FrameSnapshot() {
        std::vector<uint32_t> pixels;
        simtest::CountWhere(0, 0, kFrameWidth, kFrameHeight, [&pixels](int x, int y) {
            pixels.push_back(Pixel(world.frame, x, y));
            return false;
        });
        return pixels;
    }
};

TEST_F(ComposeFrameTest, LensShowsTheFieldUnderTheMagnifier) {
    LookAt(120, 60);
    const std::vector<uint32_t> before = FrameSnapshot();
    // The rim comes from the runs found when the images were made, not from the mask each frame.
    ASSERT_TRUE(world.lensOverlay.Ready(world.magnifier));
    lens_.Compose();
    int lensPixels = 0;
    EXPECT_EQ(FrameMismatches(120, 60, before, &lensPixels), 0);
    // The lens circle, 200 across, is open; the rim and handle cover the rest of the square.
    EXPECT_GT(lensPixels, 28000);
    EXPECT_LT(lensPixels, 40000);
    // Nothing drawn: the canvas in view is the field itself.
    EXPECT_EQ(simtest::Differences(world.fieldCanvas, world.field, 120, 60, 320, 260), 0);
}

TEST_F(ComposeFrameTest, GoalIsABlackDiscWithALightGreyRim) {
    LookAt(150, 50);
    shared.colony.goalX = 250;
    shared.colony.goalY = 150;
    lens_.Compose();
    EXPECT_EQ(Pixel(world.fieldCanvas, 250, 150), 0x000000u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 240, 142), 0x000000u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 230, 150), 0xC0C0C0u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 250, 130), 0xC0C0C0u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 269, 150), 0xC0C0C0u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 224, 150), Pixel(world.field, 224, 150));
    EXPECT_EQ(Pixel(world.fieldCanvas, 250, 175), Pixel(world.field, 250, 175));
    // And the frame shows it through the lens at (20 + 100, 20 + 100).
    EXPECT_EQ(Pixel(world.frame, 120, 120), 0x000000u);
    EXPECT_EQ(Pixel(world.frame, 100, 120), 0xC0C0C0u);
}

TEST_F(ComposeFrameTest, TrailsHaveTheirColoursOverGoalAndBallAndOnlyWhenShown) {
    LookAt(100, 50);
    shared.colony.goalX = 250;
    shared.colony.goalY = 150;
    shared.colony.ballX = 150;
    shared.colony.ballY = 90;
    world.mask->At(160, 100) = CellTrail;
    world.mask->At(161, 100) = CellStrongTrail;
    world.mask->At(250, 150) = CellStrongTrail;  // in the goal disc
    world.mask->At(150, 90) = CellTrail;         // under the ball
    world.mask->At(99, 100) = CellTrail;         // left of the view: not scanned
    lens_.Compose();
    EXPECT_EQ(Pixel(world.fieldCanvas, 160, 100), 0xFFA57Bu);
    EXPECT_EQ(Pixel(world.fieldCanvas, 161, 100), 0xFF6464u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 250, 150), 0xFF6464u);
    EXPECT_EQ(Pixel(world.fieldCanvas, 150, 90), 0xFFA57Bu);
    EXPECT_NE(Pixel(world.fieldCanvas, 99, 100), 0xFFA57Bu);
    EXPECT_EQ(Pixel(world.frame, 20 + 60, 20 + 50), 0xFFA57Bu);
    EXPECT_EQ(Pixel(world.frame, 20 + 61, 20 + 50), 0xFF6464u);

    shared.hideTrails = 1;
    lens_.Compose();
    EXPECT_EQ(Pixel(world.fieldCanvas, 160, 100), Pixel(world.field, 160, 100));
    EXPECT_EQ(Pixel(world.fieldCanvas, 161, 100), Pixel(world.field, 161, 100));
    EXPECT_EQ(Pixel(world.fieldCanvas, 250, 150), 0x000000u);
    EXPECT_EQ(world.mask->At(160, 100), CellTrail);  // hidden, not gone
    EXPECT_EQ(simtest::CountWhere(100, 50, 300, 250,
                                  [](int x, int y) {
                                      const uint32_t p = Pixel(world.fieldCanvas, x, y);
                                      return p == kTrailColour || p == kStrongTrailColour;
                                  }),
              0);

    // A thrown ball's pending rebuild hides the trails of the old mask too.
    shared.hideTrails = 0;
    shared.maskRebuildRequested = 1;
    lens_.Compose();
    EXPECT_EQ(Pixel(world.fieldCanvas, 160, 100), Pixel(world.field, 160, 100));
    shared.maskRebuildRequested = 0;
}

TEST_F(ComposeFrameTest, AntsOverTrailsAndHeartsOverAnts) {
    LookAt(100, 100);
    for (int y = 126; y < 134; ++y) {
        for (int x = 116; x < 124; ++x) {
            world.mask->At(x, y) = CellTrail;
        }
    }
    Walker(5, 120, 130, 2, 1);
    Walker(8, 200, 200, 5, 0);  // under the heart
    ShownHeart(7, 200, 200);
    Ant* first = world.ants->At(0);  // never walks, never drawn
    first->x = 250;
    first->y = 250;
    first->direction = 0;
    lens_.Compose();

    int antPixels = 0;
    const int cell = 2 * 2 + 1;
    for (int k = 0; k < 8; ++k) {
        for (int j = 0; j < 8; ++j) {
            const bool opaque = Pixel(world.antSprites, cell * 8 + j, 8 + k) != 0xFFFFFF;
            const uint32_t expected = opaque ? Pixel(world.antSprites, cell * 8 + j, k) : 0xFFA57Bu;
            EXPECT_EQ(Pixel(world.fieldCanvas, 116 + j, 126 + k), expected) << j << "," << k;
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
            uint32_t expected = Pixel(world.field, fx, fy);
            const int aj = fx - 196;
            const int ak = fy - 196;
            if (aj >= 0 && aj < 8 && ak >= 0 && ak < 8 &&
                Pixel(world.antSprites, underCell * 8 + aj, 8 + ak) != 0xFFFFFF) {
                expected = Pixel(world.antSprites, underCell * 8 + aj, ak);
            }
            if (Pixel(world.heart, j, 16 + k) != 0xFFFFFF) {
                expected = Pixel(world.heart, j, k);
                ++heartPixels;
            }
            EXPECT_EQ(Pixel(world.fieldCanvas, fx, fy), expected) << j << "," << k;
        }
    }
    EXPECT_GT(heartPixels, 40);

    // The inactive first ant left the field as it was.
    EXPECT_EQ(simtest::Differences(world.fieldCanvas, world.field, 246, 246, 254, 254), 0);
}

TEST_F(ComposeFrameTest, HeartsBeyondASmallerFieldAreCutAtTheCanvasEdge) {
    LookAt(255, 112);
    ShownHeart(3, 455 + 3, 312 + 3);  // top-left (450, 307): a 5 x 5 corner lies on the canvas
    ShownHeart(4, 2000, -500);
    lens_.Compose();
    for (int k = 0; k < 5; ++k) {
        for (int j = 0; j < 5; ++j) {
            const uint32_t expected = Pixel(world.heart, j, 16 + k) != 0xFFFFFF
                                          ? Pixel(world.heart, j, k)
                                          : Pixel(world.field, 450 + j, 307 + k);
            EXPECT_EQ(Pixel(world.fieldCanvas, 450 + j, 307 + k), expected);
        }
    }
}

TEST_F(ComposeFrameTest, FollowingTheBallNearTheFarCornerLooksOneRowHigh) {
    shared.followBall = 1;
    shared.colony.ballX = 455 - 50;
    shared.colony.ballY = 312 - 50;
    const std::vector<uint32_t> before = FrameSnapshot();
    lens_.Compose();
    int lensPixels = 0;
    EXPECT_EQ(FrameMismatches(255, 111, before, &lensPixels), 0);
    // A point clear of the ball shows the field at (255 + 30, 111 + 100).
    EXPECT_EQ(Pixel(world.frame, 20 + 30, 20 + 100), Pixel(world.field, 285, 211));
}

TEST_F(ComposeFrameTest, AThrownBallIsDrawnWhereItIsThenMovesOn) {
    shared.followBall = 1;
    shared.colony.ballX = 100;
    shared.colony.ballY = 150;
    shared.ballSpeed = 20;
    shared.ballAngle = 0;
    shared.colony.ballFlying = 1;
    lens_.Compose();
    const bool centreOpaque = Pixel(world.ball, 8, 24) != 0xFFFFFF;
    ASSERT_TRUE(centreOpaque);
    EXPECT_EQ(Pixel(world.fieldCanvas, 100, 150), Pixel(world.ball, 8, 8));
    EXPECT_EQ(shared.colony.ballX.load(), 120);
    EXPECT_EQ(shared.colony.ballY.load(), 150);
    EXPECT_EQ(shared.ballSpeed.load(), 16);
    EXPECT_EQ(shared.colony.ballFlying.load(), 1);
    for (int frame = 0; frame < 10; ++frame) {
        lens_.Compose();
    }
    EXPECT_EQ(shared.colony.ballX.load(), 100 + 20 + 16 + 12 + 8 + 4);
    EXPECT_EQ(shared.colony.ballFlying.load(), 0);
}

TEST_F(ComposeFrameTest, NothingIsDrawnOrMovedWhileANewFieldWaits) {
    shared.colony.ballX = 100;
    shared.colony.ballY = 150;
    shared.ballSpeed = 20;
    shared.colony.ballFlying = 1;
    shared.backgroundChanged = 1;
    const std::vector<uint32_t> before = FrameSnapshot();
    lens_.Compose();
    EXPECT_EQ(FrameSnapshot(), before);
    EXPECT_EQ(shared.colony.ballX.load(), 100);
    EXPECT_EQ(shared.colony.ballFlying.load(), 1);
    shared.backgroundChanged = 0;
}

TEST_F(ComposeFrameTest, AFrameFirstRebuildsTheMaskTheThrowAskedFor) {
    HWND window = simtest::CreateTestWindow();
    SimulationRun frames({world, shared, window, simtest::Reports()});
    shared.splashDone = 1;
    world.mask->At(120, 120) = CellStrongTrail;
    shared.colony.arrivalSeen = 1;
    shared.maskRebuildRequested = 1;
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(shared.maskRebuildRequested.load(), 0);
    EXPECT_EQ(shared.colony.arrivalSeen.load(), 0);
    EXPECT_EQ(world.mask->At(120, 120), CellFree);
    EXPECT_EQ(world.mask->At(3, 120), CellBlocked);
    // Without a request the trails stay.
    world.mask->At(120, 120) = CellTrail;
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(world.mask->At(120, 120), CellTrail);
    DestroyWindow(window);
}

TEST_F(ComposeFrameTest, AFrameLoadsARequestedBackgroundBeforeTheSteps) {
    HWND window = simtest::CreateTestWindow();
    SimulationRun frames({world, shared, window, simtest::Reports()});
    shared.splashDone = 1;
    const std::string square = simtest::WriteTestBmp("kirelo_frame_square.bmp", 240, 210);
    shared.RequestBackground(square.c_str());
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(shared.backgroundChanged.load(), 0);
    EXPECT_EQ(shared.colony.fieldWidth.load(), 240);
    EXPECT_EQ(shared.colony.fieldHeight.load(), 210);
    // The same frame composed the new field.
    EXPECT_EQ(world.fieldCanvas->GetWidth(), 240);
    DestroyWindow(window);
}

class ReloadBackgroundTest : public ComposeFrameTest {};

// The field, the canvas, the mask and the size the frame uses, all of one size.
void ExpectFieldOfSize(int w, int h, const std::string& what) {
    EXPECT_EQ(shared.colony.fieldWidth.load(), w) << what;
    EXPECT_EQ(shared.colony.fieldHeight.load(), h) << what;
    EXPECT_EQ(world.field->GetWidth(), w) << what;
    EXPECT_EQ(world.field->GetHeight(), h) << what;
    EXPECT_EQ(world.fieldCanvas->GetWidth(), w) << what;
    EXPECT_EQ(world.fieldCanvas->GetHeight(), h) << what;
    EXPECT_EQ(world.mask->Width(), w) << what;
    EXPECT_EQ(world.mask->Height(), h) << what;
}

TEST_F(ReloadBackgroundTest, RefusesPicturesNarrowerOrLowerThan200) {
    world.mask->At(100, 100) = CellTrail;
    const std::string narrow = simtest::WriteTestBmp("kirelo_narrow.bmp", 199, 300);
    const std::string low = simtest::WriteTestBmp("kirelo_low.bmp", 300, 199);
    MessageRecorder recorder;
    EXPECT_EQ(lens_.ReloadBackground(narrow.c_str(), simtest::Reports()), 0);
    EXPECT_EQ(lens_.ReloadBackground(low.c_str(), simtest::Reports()), 0);
    ASSERT_EQ(recorder.size(), 2u);
    recorder.ExpectAt(0, IDS_TOO_NARROW, IDS_TOO_SMALL_CAPTION, MB_ICONWARNING | MB_OK);
    recorder.ExpectAt(1, IDS_TOO_LOW, IDS_TOO_SMALL_CAPTION, MB_ICONWARNING | MB_OK);
    ExpectFieldOfSize(455, 312, "refused");
    EXPECT_EQ(world.mask->At(100, 100), CellTrail);
    EXPECT_TRUE(simtest::Reports().backgrounds.empty());  // nothing to save

    // Both too small: the width is named.
    const std::string tiny = simtest::WriteTestBmp("kirelo_tiny.bmp", 120, 80);
    recorder.clear();
    EXPECT_EQ(lens_.ReloadBackground(tiny.c_str(), simtest::Reports()), 0);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, IDS_TOO_NARROW);
}

TEST_F(ReloadBackgroundTest, TakesA200By200PictureAndRecordsIt) {
    world.mask->At(100, 100) = CellTrail;
    const std::string square = simtest::WriteTestBmp("kirelo_square.bmp", 200, 200);
    MessageRecorder recorder;
    EXPECT_EQ(lens_.ReloadBackground(square.c_str(), simtest::Reports()), 1);
    EXPECT_EQ(recorder.size(), 0u);
    ExpectFieldOfSize(200, 200, "square");
    ASSERT_FALSE(HasFailure());
    const auto wrong = [](int x, int y) {
        return Pixel(world.field, x, y) != simtest::TestColour(x, y) ||
               Pixel(world.fieldCanvas, x, y) != simtest::TestColour(x, y);
    };
    EXPECT_EQ(simtest::CountWhere(0, 0, 200, 200, wrong, 3), 0);
    EXPECT_EQ(world.mask->At(100, 100), CellFree);  // the trails went with the old field
    EXPECT_EQ(world.mask->At(5, 100), CellBlocked);
    EXPECT_EQ(simtest::Reports().LastBackground(), square);

    EXPECT_EQ(lens_.ReloadBackground("Resource", simtest::Reports()), 1);
    ExpectFieldOfSize(455, 312, "resource");
    EXPECT_EQ(simtest::Reports().LastBackground(), "Resource");
    EXPECT_EQ(recorder.size(), 0u);
}

TEST_F(ReloadBackgroundTest, TheFrameMovesAntsBallViewAndGoalIntoASmallerField) {
    const std::string square = simtest::WriteTestBmp("kirelo_square2.bmp", 200, 220);
    for (int j = 1; j < 4; ++j) {
        Walker(j, 400, 40 + j, 0, 0)->trail.Append(400, 40 + j, CellTrail);
    }
    Ant* resting = world.ants->At(10);  // inactive ants are left where they are
    resting->x = 420;
    const Heart* heart = ShownHeart(2, 430, 300);
    shared.colony.ballX = 420;
    shared.colony.ballY = 290;
    shared.viewX = 255;
    shared.viewY = 112;
    shared.RequestBackground(square.c_str());
    run_.ApplyBackgroundChange();
    EXPECT_EQ(shared.backgroundChanged.load(), 0);
    EXPECT_EQ(shared.colony.fieldWidth.load(), 200);
    for (int j = 1; j < 4; ++j) {
        EXPECT_EQ(world.ants->At(j)->x, 164);
        EXPECT_EQ(world.ants->At(j)->y, 40 + j);
        EXPECT_EQ(world.ants->At(j)->trail.Count(), 0);
    }
    EXPECT_EQ(resting->x, 420);
    EXPECT_EQ(heart->x, 430);  // hearts keep their places
    EXPECT_EQ(heart->y, 300);
    EXPECT_EQ(shared.colony.ballX.load(), 164);
    EXPECT_EQ(shared.colony.ballY.load(), 184);
    EXPECT_EQ(shared.viewX.load(), 0);
    EXPECT_EQ(shared.viewY.load(), 20);
    EXPECT_GE(shared.colony.goalX.load(), 100);
    EXPECT_LE(shared.colony.goalX.load(), 139);
    EXPECT_GE(shared.colony.goalY.load(), 110);
    EXPECT_LE(shared.colony.goalY.load(), 159);
    // The heart outside the new field is drawn without harm.
    lens_.Compose();
}

TEST_F(ReloadBackgroundTest, AFailedReloadStillClearsTheRequestAndMovesTheGoal) {
    const std::string narrow = simtest::WriteTestBmp("kirelo_narrow2.bmp", 150, 300);
    Ant* ant = Walker(1, 100, 100, 0, 0);
    ant->trail.Append(100, 100, CellTrail);
    MessageRecorder recorder;
    bool goalMoved = false;
    for (int k = 0; k < 5 && !goalMoved; ++k) {
        shared.colony.goalX = 0;
        shared.RequestBackground(narrow.c_str());
        run_.ApplyBackgroundChange();
        goalMoved = shared.colony.goalX.load() >= 227 && shared.colony.goalX.load() <= 393;
    }
    EXPECT_TRUE(goalMoved);
    EXPECT_EQ(shared.backgroundChanged.load(), 0);
    EXPECT_EQ(shared.colony.fieldWidth.load(), 455);
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
    ASSERT_EQ(lens_.ReloadBackground(tall.c_str(), simtest::Reports()), 1);
    ExpectFieldOfSize(200, kMaxImageSide, "tall");
    ASSERT_EQ(lens_.ReloadBackground(wide.c_str(), simtest::Reports()), 1);
    ExpectFieldOfSize(kMaxImageSide, 200, "wide");
    const int x = kMaxImageSide - 1;
    EXPECT_EQ(Pixel(world.field, x, 199), simtest::TestColour(x, 199));
    EXPECT_EQ(Pixel(world.fieldCanvas, x, 199), simtest::TestColour(x, 199));
    EXPECT_EQ(world.mask->At(x - 28, 100), CellFree);
    EXPECT_EQ(recorder.size(), 0u);

    // A picture cut inside its pixels is refused by the loader with its data box; nothing changes.
    std::string cut = simtest::WriteTestBmp("kirelo_cut.bmp", 640, 480);
    HANDLE file = CreateFileA(cut.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 5000, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    EXPECT_EQ(lens_.ReloadBackground(cut.c_str(), simtest::Reports()), 0);
    recorder.ExpectOnly(IDS_BAD_BITMAP, IDS_BAD_BITMAP_CAPTION, MB_ICONERROR | MB_OK);
    ExpectFieldOfSize(kMaxImageSide, 200, "cut");
    EXPECT_EQ(simtest::Reports().LastBackground(), wide);

    // Twice the limit wide: scaled to it, proportions kept, and remembered by its own name.
    ASSERT_EQ(lens_.ReloadBackground(past.c_str(), simtest::Reports()), 1);
    ExpectFieldOfSize(kMaxImageSide, 200, "past");
    EXPECT_EQ(simtest::Reports().LastBackground(), past);
    // Each field pixel the mean of a 2 x 2 block: TestColour's blue is (x + y) & 0xFF, so (10, 7)
    // is the mean of 34, 35, 35 and 36.
    EXPECT_EQ(Pixel(world.field, 10, 7) & 0xFF, 35u);
    EXPECT_EQ(recorder.size(), 1u);

    // Scaled under the field's 200 pixels: the too-small warning, and nothing changes.
    ASSERT_EQ(lens_.ReloadBackground(thin.c_str(), simtest::Reports()), 0);
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
    EXPECT_EQ(shared.colony.fieldWidth.load(), 455);
    EXPECT_EQ(shared.colony.fieldHeight.load(), 312);
    EXPECT_EQ(world.field->GetBitCount(), 32);
}

TEST_F(StartupFieldTest, AMissingOrTooSmallPictureFallsBackWithAWarning) {
    const std::string small = simtest::WriteTestBmp("kirelo_small_start.bmp", 150, 250);
    const std::string names[] = {simtest::TempPath("kirelo_no_such_picture.bmp"), small,
                                 "resource"};
    for (const std::string& name : names) {
        shared.SetBackgroundFileName(name.c_str());
        simtest::Reports().backgrounds.clear();
        MessageRecorder recorder;
        run_.LoadStartupField();
        ASSERT_GE(recorder.size(), 1u) << name;
        recorder.ExpectAt(recorder.size() - 1, IDS_BACKGROUND_RESET, IDS_BACKGROUND_RESET_CAPTION,
                          MB_ICONWARNING | MB_OK);
        EXPECT_EQ(shared.colony.fieldWidth.load(), 455) << name;
        EXPECT_EQ(shared.colony.fieldHeight.load(), 312) << name;
        EXPECT_EQ(simtest::Reports().LastBackground(), "Resource");
        char current[kPathBytes] = {};
        shared.GetBackgroundFileName(current);
        EXPECT_EQ(std::string(current), name);  // the name itself keeps the failed path
    }
    // A picture past the size limit comes scaled to it at the start as at a drop.
    const std::string past = simtest::WriteTestBmp("kirelo_past_start.bmp", 200, kMaxImageSide + 1);
    shared.SetBackgroundFileName(past.c_str());
    simtest::Reports().backgrounds.clear();
    {
        MessageRecorder quiet;
        run_.LoadStartupField();
        EXPECT_EQ(quiet.size(), 0u);
        EXPECT_EQ(shared.colony.fieldWidth.load(), 200);
        EXPECT_EQ(shared.colony.fieldHeight.load(), kMaxImageSide);
        // Nothing replaced: the settings keep naming the original file.
        EXPECT_TRUE(simtest::Reports().backgrounds.empty());
    }
    DeleteFileA(past.c_str());
    // The too-small picture is refused by size alone: the loader had nothing to say.
    shared.SetBackgroundFileName(small.c_str());
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
        pixeltest::Fill(&image, [](int x, int y) {
            return static_cast<uint32_t>(((x * 7) << 8) | ((y * 3) & 0xFF));
        });
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
        EXPECT_EQ(simtest::Differences(&drawn, &stamped, 0, 0, 455, 312), 0)
            << "goal at " << at[0] << ", " << at[1];
        if (at[0] == 250) {
            EXPECT_GT(simtest::CountWhere(0, 0, 455, 312,
                                          [&drawn](int x, int y) {
                                              const uint32_t p = Pixel(&drawn, x, y);
                                              return p == kGoalRimColour || p == kGoalDiscColour;
                                          }),
                      1200);  // a whole disc of radius 20 was drawn
        }
    }
}
}  // namespace
