// What WinMain builds before the message loop: the classes exactly, the hidden centred tool
// window with the magnifier outline, the rim, the splash with its picture, and the stray record.
#include "ShellTestSupport.h"
#include "tests/common/PixelCount.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"

#include <algorithm>

namespace shelltest {
namespace {

class StartupTest : public ShellWindowTest {};

TEST_F(StartupTest, MainClassAndWindow) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "「Kirelo」", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wc.lpfnWndProc, &MainWndProc);
    EXPECT_EQ(wc.hCursor, nullptr);
    EXPECT_NE(wc.hIcon, nullptr);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));

    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_NE(GetWindowLongA(window_, GWL_STYLE) & WS_POPUP, 0);
    EXPECT_EQ(GetWindowLongA(window_, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindowTextLengthA(window_), 0);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_TRUE(CentredOnTheScreen(window_, kFrameWidth, kFrameHeight));
}

TEST_F(StartupTest, WindowShapeIsTheOutlineAndTheRimLeavesOutTheLens) {
    DIBImage outline;
    outline.LoadBitmapResource(MAKEINTRESOURCEA(IDB_MAGNIFIER_SHAPE));
    outline.ChangeBitCount(32);
    const UniqueRegion shape = WindowRegion(window_);
    ASSERT_TRUE(shape);
    const UniqueRegion lens(CreateEllipticRgn(20, 20, 220, 220));
    const auto opaque = [&outline](int x, int y) {
        return pixeltest::Pixel(&outline, x, y) != kKeyColour;
    };
    EXPECT_EQ(
        pixeltest::CountWhere(
            0, 0, kFrameWidth, kFrameHeight,
            [&](int x, int y) { return (PtInRegion(shape.get(), x, y) != FALSE) != opaque(x, y); },
            2),
        0);
    EXPECT_EQ(pixeltest::CountWhere(
                  0, 0, kFrameWidth, kFrameHeight,
                  [&](int x, int y) {
                      return (PtInRegion(TestProgram().state.rimRegion, x, y) != FALSE) !=
                             (opaque(x, y) && !PtInRegion(lens.get(), x, y));
                  },
                  2),
              0);
    EXPECT_FALSE(PtInRegion(TestProgram().state.rimRegion, 120, 120));
}

TEST_F(StartupTest, SplashClassWindowAndPicture) {
    HWND splash = startup_->ShowSplash();
    ASSERT_TRUE(IsWindow(splash));
    EXPECT_EQ(TestProgram().state.splashWindow, splash);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "スプラッシュウインドウ", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(GetWindowLongA(splash, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_TRUE(CentredOnTheScreen(splash, 100, 100));
    RECT rect{};
    GetWindowRect(splash, &rect);
    // The title picture is on the screen where the splash stands. Wine hands the painted window
    // to the X server a moment later, so the screen is read again until it shows (or 3 s pass).
    DIBImage title;
    title.LoadBitmapResource(MAKEINTRESOURCEA(IDB_TITLE));
    title.ChangeBitCount(32);
    auto wrongSamples = [&] {
        HDC screen = GetDC(nullptr);
        int wrong = 0;
        for (int y = 5; y < 100; y += 9) {
            for (int x = 5; x < 100; x += 9) {
                const COLORREF seen = GetPixel(screen, rect.left + x, rect.top + y);
                const uint32_t rgb = title.GetLine(y)[x] & 0xFFFFFF;
                const COLORREF want = RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
                wrong += seen != want;
            }
        }
        ReleaseDC(nullptr, screen);
        return wrong;
    };
    PumpUntil(3000, [&] { return wrongSamples() == 0; });
    EXPECT_EQ(wrongSamples(), 0);
    SendMessageA(window_, WM_SPLASHEND, 0, 0);
    EXPECT_FALSE(IsWindow(splash));
}

TEST_F(StartupTest, StrayRecordIsOnTheScreenAndWalking) {
    ASSERT_NE(world.strayRecord, nullptr);
    EXPECT_GE(world.strayRecord->x, 0);
    EXPECT_LT(world.strayRecord->x, GetSystemMetrics(SM_CXSCREEN) - 8);
    EXPECT_GE(world.strayRecord->y, 0);
    EXPECT_LT(world.strayRecord->y, GetSystemMetrics(SM_CYSCREEN) - 8);
    EXPECT_EQ(world.strayRecord->state.load(), StrayWalking);
    EXPECT_EQ(shared.shellReady.load(), 1);
}

// Its place must not depend on whatever the generator held before (unseeded, every run would
// start it at the same place): the start-up seeds it from the clock first.
TEST_F(StartupTest, StrayStartDependsOnTheClockNotOnTheGeneratorsPastState) {
    delete world.strayRecord;
    shared.colony.random.Seed(1);
    startup_->CreateStrayAnt();
    const int32_t x1 = world.strayRecord->x;
    const int32_t y1 = world.strayRecord->y;
    const int32_t d1 = world.strayRecord->direction;
    delete world.strayRecord;
    Sleep(40);  // another tick count
    shared.colony.random.Seed(1);
    startup_->CreateStrayAnt();
    EXPECT_FALSE(x1 == world.strayRecord->x && y1 == world.strayRecord->y &&
                 d1 == world.strayRecord->direction);
    EXPECT_EQ(shared.strayShown.Read().kind, StrayAntPose::Hidden);
}

// Working directories whose settings path would not fit 256 bytes.
class LongDirectoryTest : public ShellWindowTest {
  protected:
    // Nested directories under the test directory up to length characters in all.
    static std::string MakeLongDirectory(const std::string& base, size_t length) {
        std::string path = base;
        while (path.size() < length) {
            path += "\\" + std::string(std::min<size_t>(40, length - path.size() - 1), 'd');
            CreateDirectoryA(path.c_str(), nullptr);
        }
        return path;
    }
    void PrepareDirectory() override {
        // 246 characters: the full path (257 bytes with its terminator) overflows the 256-byte
        // buffer but is still within what the system resolves.
        longDir_ = MakeLongDirectory(dir_, 246);
        ASSERT_EQ(longDir_.size(), 246u);
        ASSERT_TRUE(SetCurrentDirectoryA(longDir_.c_str()));
    }
    std::string longDir_;
};

TEST_F(LongDirectoryTest, SettingsStayInTheWorkingDirectoryWithoutOverflow) {
    EXPECT_FALSE(TestProgram().settings.FullPath());
    EXPECT_STREQ(TestProgram().settings.Path(), ".\\kirelo.ini");
    Command(IDM_TRAIL_HIDE);
    char value[8] = {};
    const std::string ini = longDir_ + "\\kirelo.ini";
    GetPrivateProfileStringA("Status", "PFlag", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ(value, "1");
    EXPECT_TRUE(FileExists(ini));
}

class TooLongDirectoryTest : public LongDirectoryTest {
  protected:
    void PrepareDirectory() override {
        longDir_ = MakeLongDirectory(dir_, 252);  // the file's full path exceeds MAX_PATH
        ASSERT_TRUE(SetCurrentDirectoryA(longDir_.c_str()));
    }
};

TEST_F(TooLongDirectoryTest, SettingsWorkForThisRunOnlyAndNothingLandsElsewhere) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string stray = std::string(windows) + "\\kirelo.ini";
    DeleteFileA(stray.c_str());
    EXPECT_FALSE(TestProgram().settings.FullPath());
    EXPECT_STREQ(TestProgram().settings.Path(), ".\\kirelo.ini");
    Command(IDM_WAIT_OFF);  // the write fails, the setting holds for this run
    EXPECT_EQ(shared.frameWaitMs.load(), 0);
    EXPECT_TRUE(Checked(IDM_WAIT_OFF));
    EXPECT_FALSE(FileExists(stray));
    EXPECT_TRUE(IsWindow(window_));
}

}  // namespace
}  // namespace shelltest
