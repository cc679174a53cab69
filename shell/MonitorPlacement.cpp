// The monitors' work areas come from the program's screen facts, read again only by
// RefreshDesktop.
#include "shell/MonitorPlacement.h"

#include "base/Geometry.h"
#include "platform/ScreenInfo.h"
#include "shell/Program.h"
#include "simulation/SharedState.h"

namespace {
// The desktop as last read; a shell without its screen facts (torn down) reads it for the one
// answer. The stray ant's window is a cell at the scale on the screen.
DesktopArea Desktop(const Program& program) {
    const int32_t cell = program.shared.Scale().Up(kAntCell);
    return program.screen ? program.screen->Desktop(cell) : ScreenInfo().Desktop(cell);
}

ScreenRect WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top),
            static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
}
}  // namespace

DesktopArea RefreshDesktop(Program& program) {
    if (program.screen) {
        program.screen->Refresh();
    }
    const DesktopArea desktop = Desktop(program);
    program.shared.desktop.Publish(desktop);
    return desktop;
}

ScreenPoint GlassStartCorner(const Program& program) {
    return Desktop(program).CentreOn(0, kFrameWidth, kFrameHeight);
}

ScreenPoint GlassCentredCorner(const Program& program, HWND glass) {
    const DesktopArea desktop = Desktop(program);
    const ScreenRect rect = WindowRect(glass);
    return desktop.CentreOn(desktop.NearestTo(rect), static_cast<int32_t>(rect.Width()),
                            static_cast<int32_t>(rect.Height()));
}

ScreenPoint SplashCorner(const Program& program, HWND glass) {
    const int32_t side = program.shared.Scale().Up(kSplashSide);
    if (glass == nullptr) {
        return Desktop(program).CentreOn(0, side, side);
    }
    const ScreenRect rect = WindowRect(glass);
    return {static_cast<int32_t>(rect.left + (rect.Width() - side) / 2),
            static_cast<int32_t>(rect.top + (rect.Height() - side) / 2)};
}

bool BringGlassBack(const Program& program, HWND glass) {
    const ScreenRect rect = WindowRect(glass);
    const ScreenRect back = Desktop(program).BroughtBack(rect);
    if (back == rect) {
        return false;
    }
    SetWindowPos(glass, nullptr, back.left, back.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}
