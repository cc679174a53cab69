// Window classes, windows and shapes of the program, in the order WinMain creates them.
#include "shell/ShellStartup.h"

#include <ctime>
#include <utility>

#include "base/Geometry.h"
#include "imaging/DIBImage.h"
#include "platform/WindowMessages.h"
#include "resources/ResourceIds.h"
#include "shell/ExitSequence.h"
#include "shell/GlassScale.h"
#include "shell/KeyedAntCell.h"
#include "shell/MainWindow.h"
#include "shell/MonitorPlacement.h"
#include "shell/ProgramInstances.h"
#include "shell/ShellWindowState.h"
#include "shell/StrayAntWindow.h"
#include "simulation/ProgramWindows.h"
#include "simulation/SharedState.h"
#include "simulation/World.h"

namespace {
HBRUSH FaceBrush() {
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
}

// Gives window its shape; the region belongs to the window from then on.
void GiveRegion(HWND window, UniqueRegion region) {
    if (window != nullptr && SetWindowRgn(window, region.get(), TRUE) != 0) {
        region.release();
    }
}
}  // namespace

ShellStartup::ShellStartup(HINSTANCE instance) : instance_(instance) {}

ShellStartup::~ShellStartup() {
    if (ShellState.rimRegion == rim_.get()) {
        ShellState.rimRegion = nullptr;
    }
    delete shapeImage_;
}

DIBImage& ShellStartup::ShapeImage(LPCSTR bitmap) {
    if (shapeImage_ == nullptr) {
        shapeImage_ = new DIBImage();
    }
    shapeImage_->LoadBitmapResource(bitmap);
    shapeImage_->ChangeBitCount(32);
    return *shapeImage_;
}

HWND ShellStartup::CreateMainWindow(RunReports& reports) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &MainWndProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP));
    wc.hIconSm = static_cast<HICON>(
        LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, 16, 16, LR_SHARED));
    wc.hbrBackground = FaceBrush();
    wc.lpszClassName = kMainClassName;
    RegisterClassExA(&wc);
    const ScreenPoint corner = GlassStartCorner();
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, kMainClassName, nullptr, WS_POPUP, corner.x, corner.y,
                        kFrameWidth, kFrameHeight, nullptr, nullptr, instance_, &reports);
    // Hidden until the simulation thread ends the splash. Its size on the screen comes from the
    // user's choice and its monitor's DPI, around the same centre; its shape follows once the
    // splash shows.
    if (window != nullptr) {
        const PixelScale scale = GlassScale::Choose(ShellState.sizeChoice, window);
        Shared.displayScale = scale.Factor();
        if (scale.Factor() != 1) {
            GlassScale::SizeGlass(window, scale, GlassScale::CentreOf(window));
            RefreshDesktop();  // the stray ant's window is larger too
        }
    }
    return window;
}

HWND ShellStartup::ShowSplash() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = instance_;
    wc.hbrBackground = FaceBrush();
    wc.lpszClassName = kSplashClassName;
    RegisterClassExA(&wc);
    const PixelScale scale = Shared.Scale();
    const int side = scale.Up(kSplashSide);
    const ScreenPoint corner = SplashCorner(MainWindow);
    ShellState.splashWindow =
        CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSplashClassName, nullptr, WS_POPUP,
                        corner.x, corner.y, side, side, MainWindow, nullptr, instance_, nullptr);
    {
        // The picture is drawn this once: the splash has no paint handler.
        DIBImage title;
        title.LoadBitmapResource(MAKEINTRESOURCEA(IDB_TITLE));
        ShowWindow(ShellState.splashWindow, SW_SHOW);
        WindowDC dc(ShellState.splashWindow);
        if (dc.get() != nullptr) {
            GlassScale::Blit(dc.get(), 0, 0, kSplashSide, kSplashSide,
                             title.GetMemoryDC()->GetHDC(), scale);
        }
    }
    InvalidateRect(ShellState.splashWindow, nullptr, FALSE);
    UpdateWindow(ShellState.splashWindow);
    return ShellState.splashWindow;
}

void ShellStartup::CutMagnifierShape() {
    DIBImage& shape = ShapeImage(MAKEINTRESOURCEA(IDB_MAGNIFIER_SHAPE));
    UniqueRegion outline(shape.GetTransRgn(0, 0, shape.GetWidth(), shape.GetHeight(), kKeyColour));
    if (!outline) {
        return;  // no picture: the window keeps its square and has no rim to drag by
    }
    UniqueRegion rim(CreateEllipticRgn(kLensLeft, kLensTop, kLensRight, kLensBottom));
    CombineRgn(rim.get(), outline.get(), rim.get(), RGN_XOR);
    rim_ = std::move(rim);
    // The rim stays in the program's pixels, as the pointer reaches it divided back; the window
    // takes the outline at its scale.
    ShellState.rimRegion = rim_.get();
    if (Shared.Scale().Factor() == 1) {
        GiveRegion(MainWindow, std::move(outline));
    } else {
        GlassScale::CutGlass(MainWindow, Shared.Scale());
    }
}

void ShellStartup::CreateStrayAnt() {
    // Its place is the run's first random draw: seeded here, with the time and the tick count,
    // it differs from run to run. The simulation thread seeds again at its start, so its own
    // sequence of draws is the same whatever happened here.
    Shared.colony.random.Seed(static_cast<uint32_t>(std::time(nullptr)) ^
                              static_cast<uint32_t>(GetTickCount()));
    TheWorld.strayRecord = new StrayAnt(RefreshDesktop(), Shared.colony.random);
    Shared.strayShown.Publish({});
}

void ShellStartup::CreateStrayWindows() {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &StrayAntWndProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = FaceBrush();
    wc.lpszClassName = kStrayClassName;
    RegisterClassA(&wc);

    ResetStrayPlacement();
    // The walking ant: its picture carries its outline in the key colour, so one window serves
    // every cell and the display cuts it to the ant's shape as it paints; where the key colour
    // shows, clicks go through to what is below.
    const int side = Shared.Scale().Up(kAntCell);
    HWND ant = CreateWindowExA(WS_EX_TOPMOST | WS_EX_LAYERED, kStrayClassName, nullptr, WS_POPUP, 0,
                               0, side, side, MainWindow, nullptr, instance_, nullptr);
    if (ant != nullptr) {
        SetLayeredWindowAttributes(ant, KeyedAntCell::KeyColourRef(), 255, LWA_COLORKEY);
    }
    StrayWindows[kStrayAntIndex] = ant;
    // The heart is shown once and then only moved: a plain window cut to its shape.
    StrayWindows[kStrayHeartIndex] =
        CreateWindowExA(WS_EX_TOPMOST, kStrayClassName, nullptr, WS_POPUP, 0, 0, side, side,
                        MainWindow, nullptr, instance_, nullptr);
    GlassScale::CutHeart(Shared.Scale());
}

void ShellStartup::ReleaseShapeImage() {
    delete shapeImage_;
    shapeImage_ = nullptr;
}
