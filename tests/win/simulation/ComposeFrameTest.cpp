// One composed frame read back pixel by pixel: the field through the lens, the magnifier over it,
// the goal, the trails in their two colours, ants and hearts on top; the ball's flight; the
// field reload with its refusals and its settings write; the frame's background change.
#include <gtest/gtest.h>

#include "colony/FieldMask.h"
#include "colony/Random.h"
#include "imaging/DCBrush.h"
#include "imaging/DCPen.h"
#include "imaging/ImageLimits.h"
#include "imaging/MemoryDC.h"
#include "simulation/GoalStamp.h"
#include "simulation/LensRenderer.h"
#include "simulation/SimulationRun.h"
#include "simulation/WorldRules.h"
#include "SimTestSupport.h"
#include "tests/common/MessageRecorder.h"

namespace {
using simtest::Pixel;

class ComposeFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        simtest::UseTempSettings();
        simtest::CreateShellImages();
        run_.StartUp();
        ASSERT_EQ(FieldWidth.load(), 455);
        ASSERT_EQ(FieldHeight.load(), 312);
        for (int32_t j = 0; j < Ants->Count(); ++j) {
            Ants->At(j)->active = 0;
        }
        GoalX = -1000;  // out of sight unless a test places it
        GoalY = -1000;
        BallX = 1000;
        BallY = 1000;
    }
    void TearDown() override {
        DestroyWorld();
        ReleaseWorldLease();
        ReleaseWorldLease();
    }

    // The frame as it must be: the magnifier where its mask is not white, the canvas at the view
    // inside the lens square, and the frame's earlier content elsewhere.
    int FrameMismatches(int vx, int vy, const std::vector<uint32_t>& before, int* lensPixels) {
        int mismatches = 0;
        *lensPixels = 0;
        for (int y = 0; y < 360; ++y) {
            for (int x = 0; x < 300; ++x) {
                uint32_t expected = 0;
                if (Pixel(MagnifierImage, x, 360 + y) != 0xFFFFFF) {
                    expected = Pixel(MagnifierImage, x, y);
                } else if (x >= 20 && x < 220 && y >= 20 && y < 220) {
                    expected = Pixel(FieldCanvas, vx + x - 20, vy + y - 20);
                    ++*lensPixels;
                } else {
                    expected = before[static_cast<size_t>(y) * 300 + x];
                }
                mismatches += Pixel(FrameImage, x, y) == expected ? 0 : 1;
            }
        }
        return mismatches;
    }

    std::vector<uint32_t> FrameSnapshot() {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 360; ++y) {
            for (int x = 0; x < 300; ++x) {
                pixels.push_back(Pixel(FrameImage, x, y));
            }
        }
        return pixels;
    }

    SimulationRun run_{nullptr};
};

TEST_F(ComposeFrameTest, LensShowsTheFieldUnderTheMagnifier) {
    FollowBall = 0;
    ViewX = 120;
    ViewY = 60;
    const std::vector<uint32_t> before = FrameSnapshot();
    // The rim comes from the runs found when the images were made, not from the mask each frame.
    ASSERT_TRUE(TheLensOverlay.Ready(MagnifierImage));
    ComposeFrame();
    int lensPixels = 0;
    EXPECT_EQ(FrameMismatches(120, 60, before, &lensPixels), 0);
    // The lens circle, 200 across, is open; the rim and handle cover the rest of the square.
    EXPECT_GT(lensPixels, 28000);
    EXPECT_LT(lensPixels, 40000);
    // Nothing drawn: the canvas in view is the field itself.
    int differ = 0;
    for (int y = 60; y < 260; ++y) {
        for (int x = 120; x < 320; ++x) {
            differ += Pixel(FieldCanvas, x, y) == Pixel(FieldImage, x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(differ, 0);
}

TEST_F(ComposeFrameTest, GoalIsABlackDiscWithALightGreyRim) {
    FollowBall = 0;
    ViewX = 150;
    ViewY = 50;
    GoalX = 250;
    GoalY = 150;
    ComposeFrame();
    EXPECT_EQ(Pixel(FieldCanvas, 250, 150), 0x000000u);
    EXPECT_EQ(Pixel(FieldCanvas, 240, 142), 0x000000u);
    EXPECT_EQ(Pixel(FieldCanvas, 230, 150), 0xC0C0C0u);
    EXPECT_EQ(Pixel(FieldCanvas, 250, 130), 0xC0C0C0u);
    EXPECT_EQ(Pixel(FieldCanvas, 269, 150), 0xC0C0C0u);
    EXPECT_EQ(Pixel(FieldCanvas, 224, 150), Pixel(FieldImage, 224, 150));
    EXPECT_EQ(Pixel(FieldCanvas, 250, 175), Pixel(FieldImage, 250, 175));
    // And the frame shows it through the lens at (20 + 100, 20 + 100).
    EXPECT_EQ(Pixel(FrameImage, 120, 120), 0x000000u);
    EXPECT_EQ(Pixel(FrameImage, 100, 120), 0xC0C0C0u);
}

TEST_F(ComposeFrameTest, TrailsHaveTheirColoursOverGoalAndBallAndOnlyWhenShown) {
    FollowBall = 0;
    ViewX = 100;
    ViewY = 50;
    GoalX = 250;
    GoalY = 150;
    BallX = 150;
    BallY = 90;
    TheFieldMask->At(160, 100) = CellTrail;
    TheFieldMask->At(161, 100) = CellStrongTrail;
    TheFieldMask->At(250, 150) = CellStrongTrail;  // in the goal disc
    TheFieldMask->At(150, 90) = CellTrail;         // under the ball
    TheFieldMask->At(99, 100) = CellTrail;         // left of the view: not scanned
    ComposeFrame();
    EXPECT_EQ(Pixel(FieldCanvas, 160, 100), 0xFFA57Bu);
    EXPECT_EQ(Pixel(FieldCanvas, 161, 100), 0xFF6464u);
    EXPECT_EQ(Pixel(FieldCanvas, 250, 150), 0xFF6464u);
    EXPECT_EQ(Pixel(FieldCanvas, 150, 90), 0xFFA57Bu);
    EXPECT_NE(Pixel(FieldCanvas, 99, 100), 0xFFA57Bu);
    EXPECT_EQ(Pixel(FrameImage, 20 + 60, 20 + 50), 0xFFA57Bu);
    EXPECT_EQ(Pixel(FrameImage, 20 + 61, 20 + 50), 0xFF6464u);

    HideTrails = 1;
    ComposeFrame();
    EXPECT_EQ(Pixel(FieldCanvas, 160, 100), Pixel(FieldImage, 160, 100));
    EXPECT_EQ(Pixel(FieldCanvas, 161, 100), Pixel(FieldImage, 161, 100));
    EXPECT_EQ(Pixel(FieldCanvas, 250, 150), 0x000000u);
    EXPECT_EQ(TheFieldMask->At(160, 100), CellTrail);  // hidden, not gone
    int trailPixels = 0;
    for (int y = 50; y < 250; ++y) {
        for (int x = 100; x < 300; ++x) {
            const uint32_t p = Pixel(FieldCanvas, x, y);
            trailPixels += p == 0xFFA57B || p == 0xFF6464 ? 1 : 0;
        }
    }
    EXPECT_EQ(trailPixels, 0);

    // A thrown ball's pending rebuild hides the trails of the old mask too.
    HideTrails = 0;
    MaskRebuildRequested = 1;
    ComposeFrame();
    EXPECT_EQ(Pixel(FieldCanvas, 160, 100), Pixel(FieldImage, 160, 100));
    MaskRebuildRequested = 0;
}

TEST_F(ComposeFrameTest, AntsOverTrailsAndHeartsOverAnts) {
    FollowBall = 0;
    ViewX = 100;
    ViewY = 100;
    for (int y = 126; y < 134; ++y) {
        for (int x = 116; x < 124; ++x) {
            TheFieldMask->At(x, y) = CellTrail;
        }
    }
    Ant* walker = Ants->At(5);
    walker->active = 1;
    walker->x = 120;
    walker->y = 130;
    walker->direction = 2;
    walker->frame = 1;
    Ant* under = Ants->At(8);
    under->active = 1;
    under->x = 200;
    under->y = 200;
    under->direction = 5;
    under->frame = 0;
    Heart* heart = Hearts->At(7);
    heart->visible = 1;
    heart->x = 200;
    heart->y = 200;
    Ant* first = Ants->At(0);  // never walks, never drawn
    first->x = 250;
    first->y = 250;
    first->direction = 0;
    ComposeFrame();

    int antPixels = 0;
    const int cell = 2 * 2 + 1;
    for (int k = 0; k < 8; ++k) {
        for (int j = 0; j < 8; ++j) {
            const bool opaque = Pixel(AntSprites, cell * 8 + j, 8 + k) != 0xFFFFFF;
            const uint32_t expected = opaque ? Pixel(AntSprites, cell * 8 + j, k) : 0xFFA57Bu;
            EXPECT_EQ(Pixel(FieldCanvas, 116 + j, 126 + k), expected) << j << "," << k;
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
            uint32_t expected = Pixel(FieldImage, fx, fy);
            const int aj = fx - 196;
            const int ak = fy - 196;
            if (aj >= 0 && aj < 8 && ak >= 0 && ak < 8 &&
                Pixel(AntSprites, underCell * 8 + aj, 8 + ak) != 0xFFFFFF) {
                expected = Pixel(AntSprites, underCell * 8 + aj, ak);
            }
            if (Pixel(HeartImage, j, 16 + k) != 0xFFFFFF) {
                expected = Pixel(HeartImage, j, k);
                ++heartPixels;
            }
            EXPECT_EQ(Pixel(FieldCanvas, fx, fy), expected) << j << "," << k;
        }
    }
    EXPECT_GT(heartPixels, 40);

    // The inactive first ant left the field as it was.
    int differ = 0;
    for (int y = 246; y < 254; ++y) {
        for (int x = 246; x < 254; ++x) {
            differ += Pixel(FieldCanvas, x, y) == Pixel(FieldImage, x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(differ, 0);
}

TEST_F(ComposeFrameTest, HeartsBeyondASmallerFieldAreCutAtTheCanvasEdge) {
    FollowBall = 0;
    ViewX = 255;
    ViewY = 112;
    Heart* corner = Hearts->At(3);
    corner->visible = 1;
    corner->x = 455 + 3;  // top-left (450, 307): a 5 x 5 corner lies on the canvas
    corner->y = 312 + 3;
    Heart* gone = Hearts->At(4);
    gone->visible = 1;
    gone->x = 2000;
    gone->y = -500;
    ComposeFrame();
    for (int k = 0; k < 5; ++k) {
        for (int j = 0; j < 5; ++j) {
            const uint32_t expected = Pixel(HeartImage, j, 16 + k) != 0xFFFFFF
                                          ? Pixel(HeartImage, j, k)
                                          : Pixel(FieldImage, 450 + j, 307 + k);
            EXPECT_EQ(Pixel(FieldCanvas, 450 + j, 307 + k), expected);
        }
    }
}

TEST_F(ComposeFrameTest, FollowingTheBallNearTheFarCornerLooksOneRowHigh) {
    FollowBall = 1;
    BallX = 455 - 50;
    BallY = 312 - 50;
    const std::vector<uint32_t> before = FrameSnapshot();
    ComposeFrame();
    int lensPixels = 0;
    EXPECT_EQ(FrameMismatches(255, 111, before, &lensPixels), 0);
    // A point clear of the ball shows the field at (255 + 30, 111 + 100).
    EXPECT_EQ(Pixel(FrameImage, 20 + 30, 20 + 100), Pixel(FieldImage, 285, 211));
}

TEST_F(ComposeFrameTest, AThrownBallIsDrawnWhereItIsThenMovesOn) {
    FollowBall = 1;
    BallX = 100;
    BallY = 150;
    BallSpeed = 20;
    BallAngle = 0;
    BallFlying = 1;
    ComposeFrame();
    const bool centreOpaque = Pixel(BallImage, 8, 24) != 0xFFFFFF;
    ASSERT_TRUE(centreOpaque);
    EXPECT_EQ(Pixel(FieldCanvas, 100, 150), Pixel(BallImage, 8, 8));
    EXPECT_EQ(BallX.load(), 120);
    EXPECT_EQ(BallY.load(), 150);
    EXPECT_EQ(BallSpeed.load(), 16);
    EXPECT_EQ(BallFlying.load(), 1);
    for (int frame = 0; frame < 10; ++frame) {
        ComposeFrame();
    }
    EXPECT_EQ(BallX.load(), 100 + 20 + 16 + 12 + 8 + 4);
    EXPECT_EQ(BallFlying.load(), 0);
}

TEST_F(ComposeFrameTest, NothingIsDrawnOrMovedWhileANewFieldWaits) {
    BallX = 100;
    BallY = 150;
    BallSpeed = 20;
    BallFlying = 1;
    BackgroundChanged = 1;
    const std::vector<uint32_t> before = FrameSnapshot();
    ComposeFrame();
    EXPECT_EQ(FrameSnapshot(), before);
    EXPECT_EQ(BallX.load(), 100);
    EXPECT_EQ(BallFlying.load(), 1);
    BackgroundChanged = 0;
}

TEST_F(ComposeFrameTest, AFrameFirstRebuildsTheMaskTheThrowAskedFor) {
    HWND window = simtest::CreateTestWindow();
    SimulationRun frames(window);
    SplashDone = 1;
    TheFieldMask->At(120, 120) = CellStrongTrail;
    ArrivalSeen = 1;
    MaskRebuildRequested = 1;
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(MaskRebuildRequested.load(), 0);
    EXPECT_EQ(ArrivalSeen.load(), 0);
    EXPECT_EQ(TheFieldMask->At(120, 120), CellFree);
    EXPECT_EQ(TheFieldMask->At(3, 120), CellBlocked);
    // Without a request the trails stay.
    TheFieldMask->At(120, 120) = CellTrail;
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(TheFieldMask->At(120, 120), CellTrail);
    DestroyWindow(window);
}

TEST_F(ComposeFrameTest, AFrameLoadsARequestedBackgroundBeforeTheSteps) {
    HWND window = simtest::CreateTestWindow();
    SimulationRun frames(window);
    SplashDone = 1;
    const std::string square = simtest::WriteTestBmp("kirelo_frame_square.bmp", 240, 210);
    RequestBackground(square.c_str());
    EXPECT_TRUE(frames.RunFrame());
    EXPECT_EQ(BackgroundChanged.load(), 0);
    EXPECT_EQ(FieldWidth.load(), 240);
    EXPECT_EQ(FieldHeight.load(), 210);
    // The same frame composed the new field.
    EXPECT_EQ(FieldCanvas->GetWidth(), 240);
    DestroyWindow(window);
}

class ReloadBackgroundTest : public ComposeFrameTest {};

TEST_F(ReloadBackgroundTest, RefusesPicturesNarrowerOrLowerThan200) {
    WritePrivateProfileStringA("BackBitmapTexture", "FileName", "before", SettingsPath);
    TheFieldMask->At(100, 100) = CellTrail;
    const std::string narrow = simtest::WriteTestBmp("kirelo_narrow.bmp", 199, 300);
    const std::string low = simtest::WriteTestBmp("kirelo_low.bmp", 300, 199);
    MessageRecorder recorder;
    EXPECT_EQ(ReloadBackground(narrow.c_str()), 0);
    EXPECT_EQ(ReloadBackground(low.c_str()), 0);
    ASSERT_EQ(recorder.size(), 2u);
    EXPECT_EQ(recorder.messages()[0].text, "ビットマップの幅が小さすぎます。");
    EXPECT_EQ(recorder.messages()[1].text, "ビットマップの高さが小さすぎます。");
    for (const RecordedMessage& m : recorder.messages()) {
        EXPECT_EQ(m.caption, "警告");
        EXPECT_EQ(m.flags, static_cast<uint32_t>(MB_ICONWARNING | MB_OK));
        EXPECT_EQ(m.owner, MessageOwner::MainWindow);
    }
    EXPECT_EQ(FieldWidth.load(), 455);
    EXPECT_EQ(FieldHeight.load(), 312);
    EXPECT_EQ(FieldImage->GetWidth(), 455);
    EXPECT_EQ(FieldCanvas->GetHeight(), 312);
    EXPECT_EQ(TheFieldMask->At(100, 100), CellTrail);
    EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), "before");

    // Both too small: the width is named.
    const std::string tiny = simtest::WriteTestBmp("kirelo_tiny.bmp", 120, 80);
    recorder.clear();
    EXPECT_EQ(ReloadBackground(tiny.c_str()), 0);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "ビットマップの幅が小さすぎます。");
}

TEST_F(ReloadBackgroundTest, TakesA200By200PictureAndRecordsIt) {
    TheFieldMask->At(100, 100) = CellTrail;
    const std::string square = simtest::WriteTestBmp("kirelo_square.bmp", 200, 200);
    MessageRecorder recorder;
    EXPECT_EQ(ReloadBackground(square.c_str()), 1);
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(FieldWidth.load(), 200);
    EXPECT_EQ(FieldHeight.load(), 200);
    ASSERT_EQ(FieldImage->GetWidth(), 200);
    ASSERT_EQ(FieldCanvas->GetWidth(), 200);
    ASSERT_EQ(FieldCanvas->GetHeight(), 200);
    int wrong = 0;
    for (int y = 0; y < 200; y += 3) {
        for (int x = 0; x < 200; x += 3) {
            wrong += Pixel(FieldImage, x, y) == simtest::TestColour(x, y) ? 0 : 1;
            wrong += Pixel(FieldCanvas, x, y) == simtest::TestColour(x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0);
    ASSERT_EQ(TheFieldMask->Width(), 200);
    EXPECT_EQ(TheFieldMask->At(100, 100), CellFree);  // the trails went with the old field
    EXPECT_EQ(TheFieldMask->At(5, 100), CellBlocked);
    EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), square);

    EXPECT_EQ(ReloadBackground("Resource"), 1);
    EXPECT_EQ(FieldWidth.load(), 455);
    EXPECT_EQ(FieldHeight.load(), 312);
    EXPECT_EQ(FieldCanvas->GetWidth(), 455);
    EXPECT_EQ(TheFieldMask->Height(), 312);
    EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), "Resource");
    EXPECT_EQ(recorder.size(), 0u);
}

TEST_F(ReloadBackgroundTest, TheFrameMovesAntsBallViewAndGoalIntoASmallerField) {
    const std::string square = simtest::WriteTestBmp("kirelo_square2.bmp", 200, 220);
    for (int j = 1; j < 4; ++j) {
        Ant* ant = Ants->At(j);
        ant->active = 1;
        ant->x = 400;
        ant->y = 40 + j;
        ant->trail.Append(ant->x, ant->y, CellTrail);
    }
    Ant* resting = Ants->At(10);  // inactive ants are left where they are
    resting->x = 420;
    Heart* heart = Hearts->At(2);
    heart->visible = 1;
    heart->x = 430;
    heart->y = 300;
    BallX = 420;
    BallY = 290;
    ViewX = 255;
    ViewY = 112;
    RequestBackground(square.c_str());
    SimulationRun::ApplyBackgroundChange();
    EXPECT_EQ(BackgroundChanged.load(), 0);
    EXPECT_EQ(FieldWidth.load(), 200);
    for (int j = 1; j < 4; ++j) {
        EXPECT_EQ(Ants->At(j)->x, 164);
        EXPECT_EQ(Ants->At(j)->y, 40 + j);
        EXPECT_EQ(Ants->At(j)->trail.Count(), 0);
    }
    EXPECT_EQ(resting->x, 420);
    EXPECT_EQ(heart->x, 430);  // hearts keep their places
    EXPECT_EQ(heart->y, 300);
    EXPECT_EQ(BallX.load(), 164);
    EXPECT_EQ(BallY.load(), 184);
    EXPECT_EQ(ViewX.load(), 0);
    EXPECT_EQ(ViewY.load(), 20);
    EXPECT_GE(GoalX.load(), 100);
    EXPECT_LE(GoalX.load(), 139);
    EXPECT_GE(GoalY.load(), 110);
    EXPECT_LE(GoalY.load(), 159);
    // The heart outside the new field is drawn without harm.
    ComposeFrame();
}

TEST_F(ReloadBackgroundTest, AFailedReloadStillClearsTheRequestAndMovesTheGoal) {
    const std::string narrow = simtest::WriteTestBmp("kirelo_narrow2.bmp", 150, 300);
    Ant* ant = Ants->At(1);
    ant->active = 1;
    ant->x = 100;
    ant->y = 100;
    ant->trail.Append(100, 100, CellTrail);
    MessageRecorder recorder;
    bool goalMoved = false;
    for (int k = 0; k < 5 && !goalMoved; ++k) {
        GoalX = 0;
        RequestBackground(narrow.c_str());
        SimulationRun::ApplyBackgroundChange();
        goalMoved = GoalX.load() >= 227 && GoalX.load() <= 393;
    }
    EXPECT_TRUE(goalMoved);
    EXPECT_EQ(BackgroundChanged.load(), 0);
    EXPECT_EQ(FieldWidth.load(), 455);
    EXPECT_EQ(ant->trail.Count(), 0);
    EXPECT_GE(recorder.size(), 1u);
}

// The field, the canvas, the mask and the size the frame uses, all of one size.
void ExpectFieldOfSize(int w, int h, const std::string& what) {
    EXPECT_EQ(FieldWidth.load(), w) << what;
    EXPECT_EQ(FieldHeight.load(), h) << what;
    EXPECT_EQ(FieldImage->GetWidth(), w) << what;
    EXPECT_EQ(FieldImage->GetHeight(), h) << what;
    EXPECT_EQ(FieldCanvas->GetWidth(), w) << what;
    EXPECT_EQ(FieldCanvas->GetHeight(), h) << what;
    EXPECT_EQ(TheFieldMask->Width(), w) << what;
    EXPECT_EQ(TheFieldMask->Height(), h) << what;
}

TEST_F(ReloadBackgroundTest, PicturesAtTheSizeLimitKeepFieldCanvasAndMaskOfOneSize) {
    // A tall field, then a wide one: field and canvas take the new width while they still have
    // the old height, a square at the limit, before they take the new height.
    const std::string tall = simtest::WriteTestBmp("kirelo_tall.bmp", 200, kMaxImageSide);
    const std::string wide = simtest::WriteTestBmp("kirelo_wide.bmp", kMaxImageSide, 200);
    const std::string past = simtest::WriteTestBmp("kirelo_past.bmp", 2 * kMaxImageSide, 400);
    const std::string thin = simtest::WriteTestBmp("kirelo_thin.bmp", 2 * kMaxImageSide, 300);
    MessageRecorder recorder;
    ASSERT_EQ(ReloadBackground(tall.c_str()), 1);
    ExpectFieldOfSize(200, kMaxImageSide, "tall");
    ASSERT_EQ(ReloadBackground(wide.c_str()), 1);
    ExpectFieldOfSize(kMaxImageSide, 200, "wide");
    const int x = kMaxImageSide - 1;
    EXPECT_EQ(Pixel(FieldImage, x, 199), simtest::TestColour(x, 199));
    EXPECT_EQ(Pixel(FieldCanvas, x, 199), simtest::TestColour(x, 199));
    EXPECT_EQ(TheFieldMask->At(x - 28, 100), CellFree);
    EXPECT_EQ(recorder.size(), 0u);

    // A picture cut inside its pixels is refused by the loader with its data box; nothing changes.
    std::string cut = simtest::WriteTestBmp("kirelo_cut.bmp", 640, 480);
    HANDLE file = CreateFileA(cut.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFilePointer(file, 5000, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    EXPECT_EQ(ReloadBackground(cut.c_str()), 0);
    ASSERT_EQ(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text,
              "ビットマップ情報の取得に失敗しました。\n有効なビットマップデータではない可能性があ"
              "ります。\n読み込みを終了します。");
    EXPECT_EQ(recorder.messages()[0].caption, "ビットマップデータエラー");
    EXPECT_EQ(recorder.messages()[0].flags, static_cast<uint32_t>(MB_ICONERROR | MB_OK));
    ExpectFieldOfSize(kMaxImageSide, 200, "cut");
    EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), wide);

    // Twice the limit wide: scaled to it, proportions kept, and remembered by its own name.
    ASSERT_EQ(ReloadBackground(past.c_str()), 1);
    ExpectFieldOfSize(kMaxImageSide, 200, "past");
    EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), past);
    // Each field pixel the mean of a 2 x 2 block: TestColour's blue is (x + y) & 0xFF, so (10, 7)
    // is the mean of 34, 35, 35 and 36.
    EXPECT_EQ(Pixel(FieldImage, 10, 7) & 0xFF, 35u);
    EXPECT_EQ(recorder.size(), 1u);

    // Scaled under the field's 200 pixels: the too-small warning, and nothing changes.
    ASSERT_EQ(ReloadBackground(thin.c_str()), 0);
    ASSERT_EQ(recorder.size(), 2u);
    EXPECT_EQ(recorder.messages()[1].text, "ビットマップの高さが小さすぎます。");
    ExpectFieldOfSize(kMaxImageSide, 200, "thin");
    EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), past);
    for (const std::string& name : {tall, wide, past, cut, thin}) {
        DeleteFileA(name.c_str());
    }
}

class StartupFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simtest::ResetRunState();
        simtest::UseTempSettings();
        simtest::CreateShellImages();
    }
    void TearDown() override {
        ReleaseWorldLease();
        ReleaseWorldLease();
    }
};

TEST_F(StartupFieldTest, ResourceLoadsTheDryLeavesWithoutAWord) {
    MessageRecorder recorder;
    SimulationRun::LoadStartupField();
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_EQ(FieldWidth.load(), 455);
    EXPECT_EQ(FieldHeight.load(), 312);
    EXPECT_EQ(FieldImage->GetBitCount(), 32);
}

TEST_F(StartupFieldTest, AMissingOrTooSmallPictureFallsBackWithAWarning) {
    const std::string small = simtest::WriteTestBmp("kirelo_small_start.bmp", 150, 250);
    const std::string names[] = {simtest::TempPath("kirelo_no_such_picture.bmp"), small,
                                 "resource"};
    for (const std::string& name : names) {
        SetBackgroundFileName(name.c_str());
        WritePrivateProfileStringA("BackBitmapTexture", "FileName", name.c_str(), SettingsPath);
        MessageRecorder recorder;
        SimulationRun::LoadStartupField();
        ASSERT_GE(recorder.size(), 1u) << name;
        const RecordedMessage& warning = recorder.messages().back();
        EXPECT_EQ(warning.text,
                  "前回の背景画像の読み込みに失敗しました。\n背景画像は初期化されます。");
        EXPECT_EQ(warning.caption, "背景画像初期化");
        EXPECT_EQ(warning.flags, static_cast<uint32_t>(MB_ICONWARNING | MB_OK));
        EXPECT_EQ(warning.owner, MessageOwner::MainWindow);
        EXPECT_EQ(FieldWidth.load(), 455) << name;
        EXPECT_EQ(FieldHeight.load(), 312) << name;
        EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), "Resource");
        char current[kPathBytes] = {};
        GetBackgroundFileName(current);
        EXPECT_EQ(std::string(current), name);  // the name itself keeps the failed path
    }
    // A picture past the size limit comes scaled to it at the start as at a drop.
    const std::string past = simtest::WriteTestBmp("kirelo_past_start.bmp", 200, kMaxImageSide + 1);
    SetBackgroundFileName(past.c_str());
    WritePrivateProfileStringA("BackBitmapTexture", "FileName", past.c_str(), SettingsPath);
    {
        MessageRecorder quiet;
        SimulationRun::LoadStartupField();
        EXPECT_EQ(quiet.size(), 0u);
        EXPECT_EQ(FieldWidth.load(), 200);
        EXPECT_EQ(FieldHeight.load(), kMaxImageSide);
        EXPECT_EQ(simtest::ReadSetting("BackBitmapTexture", "FileName"), past);
    }
    DeleteFileA(past.c_str());
    // The too-small picture is refused by size alone: the loader had nothing to say.
    SetBackgroundFileName(small.c_str());
    MessageRecorder recorder;
    SimulationRun::LoadStartupField();
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
