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
#include "shell/Program.h"
#include "shell/ShellWindowState.h"
#include "shell/StrayAntWindow.h"

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

ShellStartup::ShellStartup(Program& program, HINSTANCE instance)
    : program_(program), instance_(instance) {}

ShellStartup::~ShellStartup() {
    if (program_.state.rimRegion == rim_.get()) {
        program_.state.rimRegion = nullptr;
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

HWND ShellStartup::CreateMainWindow() {
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
    const ScreenPoint corner = GlassStartCorner(program_);
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW, kMainClassName, nullptr, WS_POPUP, corner.x, corner.y,
                        kFrameWidth, kFrameHeight, nullptr, nullptr, instance_, &program_);
    // Hidden until the simulation thread ends the splash. Its size on the screen comes from the
    // user's choice and its monitor's DPI, around the same centre; its shape follows once the
    // splash shows.
    if (window != nullptr) {
        const PixelScale scale = GlassScale::Choose(program_.state.sizeChoice, window);
        program_.shared.displayScale = scale.Factor();
        if (scale.Factor() != 1) {
            GlassScale::SizeGlass(window, scale, GlassScale::CentreOf(window));
            RefreshDesktop(program_);  // the stray ant's window is larger too
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
    const PixelScale scale = program_.shared.Scale();
    const int side = scale.Up(kSplashSide);
    const ScreenPoint corner = SplashCorner(program_, program_.mainWindow);
    program_.state.splashWindow = CreateWindowExA(
        WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kSplashClassName, nullptr, WS_POPUP, corner.x, corner.y,
        side, side, program_.mainWindow, nullptr, instance_, nullptr);
    {
        // The picture is drawn this once: the splash has no paint handler.
        DIBImage title;
        title.LoadBitmapResource(MAKEINTRESOURCEA(IDB_TITLE));
        ShowWindow(program_.state.splashWindow, SW_SHOW);
        WindowDC dc(program_.state.splashWindow);
        if (dc.get() != nullptr) {
            GlassScale::Blit(dc.get(), 0, 0, kSplashSide, kSplashSide,
                             title.GetMemoryDC()->GetHDC(), scale);
        }
    }
    InvalidateRect(program_.state.splashWindow, nullptr, FALSE);
    UpdateWindow(program_.state.splashWindow);
    return program_.state.splashWindow;
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
    program_.state.rimRegion = rim_.get();
    if (program_.shared.Scale().Factor() == 1) {
        GiveRegion(program_.mainWindow, std::move(outline));
    } else {
        GlassScale::CutGlass(program_.mainWindow, program_.shared.Scale());
    }
}

void ShellStartup::CreateStrayAnt() {
    // Its place is the run's first random draw: seeded here, with the time and the tick count,
    // it differs from run to run. The simulation thread seeds again at its start, so its own
    // sequence of draws is the same whatever happened here.
    program_.shared.colony.random.Seed(static_cast<uint32_t>(std::time(nullptr)) ^
                                       static_cast<uint32_t>(GetTickCount()));
    program_.world.strayRecord =
        new StrayAnt(RefreshDesktop(program_), program_.shared.colony.random);
    program_.shared.strayShown.Publish({});
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

    ResetStrayPlacement(program_);
    // The walking ant: its picture carries its outline in the key colour, so one window serves
    // every cell and the display cuts it to the ant's shape as it paints; where the key colour
    // shows, clicks go through to what is below.
    const int side = program_.shared.Scale().Up(kAntCell);
    HWND ant = CreateWindowExA(WS_EX_TOPMOST | WS_EX_LAYERED, kStrayClassName, nullptr, WS_POPUP, 0,
                               0, side, side, program_.mainWindow, nullptr, instance_, &program_);
    if (ant != nullptr) {
        SetLayeredWindowAttributes(ant, KeyedAntCell::KeyColourRef(), 255, LWA_COLORKEY);
    }
    program_.strayWindows[kStrayAntIndex] = ant;
    // The heart is shown once and then only moved: a plain window cut to its shape.
    program_.strayWindows[kStrayHeartIndex] =
        CreateWindowExA(WS_EX_TOPMOST, kStrayClassName, nullptr, WS_POPUP, 0, 0, side, side,
                        program_.mainWindow, nullptr, instance_, &program_);
    GlassScale::CutHeart(program_.strayWindows[kStrayHeartIndex], program_.shared.Scale());
}

void ShellStartup::ReleaseShapeImage() {
    delete shapeImage_;
    shapeImage_ = nullptr;
}
