// Pointer messages of the main window. The arithmetic is in PointerRules; this file applies it to
// the shared values the simulation thread reads once per frame.
#include "shell/PointerHandler.h"

#include <memory>

#include "shell/PointerRules.h"
#include "shell/ExitSequence.h"
#include "shell/Program.h"
#include "shell/RimDrag.h"
#include "shell/ShellWindowState.h"
#include "simulation/SharedState.h"

namespace {
void RecordPointer(Program& program, int16_t x, int16_t y) {
    program.state.pointer.lastX = x;
    program.state.pointer.lastY = y;
}

void StartPan(Program& program, HWND window, int16_t x, int16_t y) {
    program.state.pointer.panDragging = 1;
    SetCursor(program.state.binocularsCursor);
    if (program.shared.followBall != 0) {
        // The free view starts from the part of the field that was on show.
        program.shared.viewX =
            FreeViewStart(program.shared.colony.ballX, program.shared.colony.fieldWidth);
        program.shared.viewY =
            FreeViewStart(program.shared.colony.ballY, program.shared.colony.fieldHeight);
    }
    program.shared.followBall = 0;
    RecordPointer(program, x, y);
    SetCapture(window);
}

// The pointer in screen pixels. (x, y) are glass pixels; on a scaled glass they have lost the
// screen pixel inside the enlarged one, so the message's own screen position is taken there, and
// the glass still follows the pointer pixel for pixel.
RimDrag::Point ScreenPoint(const Program& program, HWND window, int16_t x, int16_t y) {
    if (program.shared.Scale().Factor() != 1) {
        const DWORD position = GetMessagePos();
        return {static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position))};
    }
    POINT point{x, y};
    ClientToScreen(window, &point);
    return {point.x, point.y};
}

// The press itself moves nothing; the pointer is held so that the drag follows it anywhere.
void PressRim(Program& program, HWND window, int16_t x, int16_t y) {
    RimDrag* drag = program.rimDrag.get();
    if (drag == nullptr) {
        return;
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    drag->Press(ScreenPoint(program, window, x, y), {frame.left, frame.top},
                {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)});
    SetCapture(window);
}

void DragRim(const Program& program, HWND window, RimDrag& drag, int16_t x, int16_t y) {
    RimDrag::Point corner{};
    if (drag.Move(ScreenPoint(program, window, x, y), &corner)) {
        SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Throw(Program& program, int16_t x, int16_t y) {
    const DWORD now = program.state.pointer.tickCount();
    const int32_t dx = x - program.state.pointer.lastX;
    const int32_t dy = y - program.state.pointer.lastY;
    // Speed and angle first: the simulation thread starts the flight when it sees
    // program.shared.colony.ballFlying.
    program.shared.ballSpeed = ThrowSpeed(dx, dy, now - program.state.pointer.grabTick);
    program.shared.ballAngle = ThrowAngle(dx, dy);
    // An arrival commits its trail only while the ball is neither held nor flying: the flight
    // begins before the grab ends, so no arrival can slip a trail in between. The trails go at the
    // top of the simulation thread's next frame, where no step can be under way; the request
    // comes last, so whatever was committed before it is erased with the rest.
    program.shared.colony.ballFlying = 1;
    program.shared.colony.ballGrabbed = 0;
    program.shared.maskRebuildRequested = 1;
}
}  // namespace

void AttachRimDrag(Program& program) {
    program.rimDrag = std::make_unique<RimDrag>();
}

void DetachRimDrag(Program& program) {
    program.rimDrag.reset();
}

void OnPointerMove(Program& program, HWND window, int16_t x, int16_t y) {
    RimDrag* drag = program.rimDrag.get();
    if (drag != nullptr && drag->Pressed()) {
        // The window follows the pointer, so the pointer stays on the rim; (x, y) are measured
        // from where the window was before this move.
        DragRim(program, window, *drag, x, y);
        return;
    }
    program.state.pointer.overRim =
        program.state.rimRegion != nullptr && PtInRegion(program.state.rimRegion, x, y) ? 1 : 0;
    if (program.state.pointer.panDragging != 0) {
        program.shared.viewX = ClampPanX(program.shared.viewX + (x - program.state.pointer.lastX),
                                         program.shared.colony.fieldWidth);
        program.shared.viewY = ClampPanY(program.shared.viewY + (y - program.state.pointer.lastY),
                                         program.shared.colony.fieldHeight);
        RecordPointer(program, x, y);
    }
    if (program.shared.colony.ballGrabbed == 1) {
        program.state.pointer.grabTick = program.state.pointer.tickCount();
        RecordPointer(program, x, y);
        program.shared.colony.ballGrabbed = 2;
    }
}

bool OnPointerPress(Program& program, HWND window, int16_t x, int16_t y) {
    if (program.state.pointer.overRim != 0) {
        PressRim(program, window, x, y);
        return true;
    }
    const int32_t bx =
        BallLensCoordinate(program.shared.colony.ballX, program.shared.colony.fieldWidth);
    const int32_t by =
        BallLensCoordinate(program.shared.colony.ballY, program.shared.colony.fieldHeight);
    if (BallGrabHit(x - kLensLeft, y - kLensTop, bx, by) &&
        program.shared.colony.ballGrabbed == 0 && program.shared.colony.ballFlying == 0 &&
        program.shared.followBall == 1) {
        program.shared.ballAngle = 0;
        program.shared.colony.ballGrabbed = 1;
        program.shared.followBall = 1;
        SetCursor(program.state.stickCursor);
        SetCapture(window);
    } else {
        StartPan(program, window, x, y);
    }
    return false;
}

void OnPointerRelease(Program& program, int16_t x, int16_t y) {
    RimDrag* drag = program.rimDrag.get();
    if (drag != nullptr && drag->Pressed()) {
        drag->End();
    } else if (program.shared.colony.ballGrabbed >= 1) {
        Throw(program, x, y);
    } else {
        program.state.pointer.panDragging = 0;
    }
    ReleaseCapture();
}

void OnPointerCaptureLost(Program& program) {
    RimDrag* drag = program.rimDrag.get();
    if (drag != nullptr) {
        drag->End();
    }
}

void OnPointerDoubleClick(Program& program, HWND window) {
    if (program.state.pointer.overRim != 0) {
        ShowWindow(window, SW_HIDE);
        program.state.windowShown = 0;
    }
}

RimMenuPlacement PlaceRimMenu(const Program& program, HWND window, uint16_t x, uint16_t y) {
    RimMenuPlacement placement{};
    placement.flags = TPM_RIGHTBUTTON | (RimMenuOpensLeft(x) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    // The menu opens at the pointer on the screen, where the program's pixel is a block of scale
    // x scale.
    const PixelScale scale = program.shared.Scale();
    placement.point = {scale.Up(static_cast<int16_t>(x)), scale.Up(static_cast<int16_t>(y))};
    ClientToScreen(window, &placement.point);
    placement.params.cbSize = sizeof(TPMPARAMS);
    GetWindowRect(window, &placement.params.rcExclude);
    return placement;
}

void OnPointerRightRelease(Program& program, HWND window, uint16_t x, uint16_t y) {
    if (program.state.pointer.overRim != 0) {
        RimMenuPlacement placement = PlaceRimMenu(program, window, x, y);
        // As for the tray's menu: Escape and a click elsewhere close it only while its owner is
        // the foreground window.
        SetForegroundWindow(window);
        TrackPopupMenuEx(GetSubMenu(program.state.menu.get(), 0), placement.flags,
                         placement.point.x, placement.point.y, window, &placement.params);
        PostMessageA(window, WM_NULL, 0, 0);
    } else {
        program.shared.followBall = 1;
    }
}

HCURSOR ChoosePointerCursor(const Program& program) {
    if (program.state.pointer.overRim != 0) {
        return LoadCursorA(nullptr, IDC_ARROW);
    }
    return program.shared.followBall == 1 && program.state.pointer.panDragging == 0
               ? program.state.stickCursor
               : program.state.binocularsCursor;
}
