// Pointer messages of the main window. The arithmetic is in PointerRules; this file applies it to
// the shared values the simulation thread reads once per frame.
#include "shell/PointerHandler.h"

#include "shell/PointerRules.h"
#include "shell/ExitSequence.h"
#include "shell/ProgramInstances.h"
#include "shell/RimDrag.h"
#include "shell/ShellWindowState.h"
#include "simulation/SharedState.h"

namespace {
void RecordPointer(int16_t x, int16_t y) {
    ShellState.pointer.lastX = x;
    ShellState.pointer.lastY = y;
}

void StartPan(HWND window, int16_t x, int16_t y) {
    ShellState.pointer.panDragging = 1;
    SetCursor(ShellState.binocularsCursor);
    if (Shared.followBall != 0) {
        // The free view starts from the part of the field that was on show.
        Shared.viewX = FreeViewStart(Shared.colony.ballX, Shared.colony.fieldWidth);
        Shared.viewY = FreeViewStart(Shared.colony.ballY, Shared.colony.fieldHeight);
    }
    Shared.followBall = 0;
    RecordPointer(x, y);
    SetCapture(window);
}

RimDrag* RimDragOf(HWND window) {
    return reinterpret_cast<RimDrag*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The pointer in screen pixels. (x, y) are glass pixels; on a scaled glass they have lost the
// screen pixel inside the enlarged one, so the message's own screen position is taken there, and
// the glass still follows the pointer pixel for pixel.
RimDrag::Point ScreenPoint(HWND window, int16_t x, int16_t y) {
    if (Shared.Scale().Factor() != 1) {
        const DWORD position = GetMessagePos();
        return {static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position))};
    }
    POINT point{x, y};
    ClientToScreen(window, &point);
    return {point.x, point.y};
}

// The press itself moves nothing; the pointer is held so that the drag follows it anywhere.
void PressRim(HWND window, int16_t x, int16_t y) {
    RimDrag* drag = RimDragOf(window);
    if (drag == nullptr) {
        return;
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    drag->Press(ScreenPoint(window, x, y), {frame.left, frame.top},
                {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)});
    SetCapture(window);
}

void DragRim(HWND window, RimDrag& drag, int16_t x, int16_t y) {
    RimDrag::Point corner{};
    if (drag.Move(ScreenPoint(window, x, y), &corner)) {
        SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Throw(int16_t x, int16_t y) {
    const DWORD now = ShellTickCount();
    const int32_t dx = x - ShellState.pointer.lastX;
    const int32_t dy = y - ShellState.pointer.lastY;
    // Speed and angle first: the simulation thread starts the flight when it sees
    // Shared.colony.ballFlying.
    Shared.ballSpeed = ThrowSpeed(dx, dy, now - ShellState.pointer.grabTick);
    Shared.ballAngle = ThrowAngle(dx, dy);
    // An arrival commits its trail only while the ball is neither held nor flying: the flight
    // begins before the grab ends, so no arrival can slip a trail in between. The trails go at the
    // top of the simulation thread's next frame, where no step can be under way; the request
    // comes last, so whatever was committed before it is erased with the rest.
    Shared.colony.ballFlying = 1;
    Shared.colony.ballGrabbed = 0;
    Shared.maskRebuildRequested = 1;
}
}  // namespace

void AttachRimDrag(HWND window) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new RimDrag()));
}

void DetachRimDrag(HWND window) {
    delete RimDragOf(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void OnPointerMove(HWND window, int16_t x, int16_t y) {
    RimDrag* drag = RimDragOf(window);
    if (drag != nullptr && drag->Pressed()) {
        // The window follows the pointer, so the pointer stays on the rim; (x, y) are measured
        // from where the window was before this move.
        DragRim(window, *drag, x, y);
        return;
    }
    ShellState.pointer.overRim =
        ShellState.rimRegion != nullptr && PtInRegion(ShellState.rimRegion, x, y) ? 1 : 0;
    if (ShellState.pointer.panDragging != 0) {
        Shared.viewX =
            ClampPanX(Shared.viewX + (x - ShellState.pointer.lastX), Shared.colony.fieldWidth);
        Shared.viewY =
            ClampPanY(Shared.viewY + (y - ShellState.pointer.lastY), Shared.colony.fieldHeight);
        RecordPointer(x, y);
    }
    if (Shared.colony.ballGrabbed == 1) {
        ShellState.pointer.grabTick = ShellTickCount();
        RecordPointer(x, y);
        Shared.colony.ballGrabbed = 2;
    }
}

bool OnPointerPress(HWND window, int16_t x, int16_t y) {
    if (ShellState.pointer.overRim != 0) {
        PressRim(window, x, y);
        return true;
    }
    const int32_t bx = BallLensCoordinate(Shared.colony.ballX, Shared.colony.fieldWidth);
    const int32_t by = BallLensCoordinate(Shared.colony.ballY, Shared.colony.fieldHeight);
    if (BallGrabHit(x - kLensLeft, y - kLensTop, bx, by) && Shared.colony.ballGrabbed == 0 &&
        Shared.colony.ballFlying == 0 && Shared.followBall == 1) {
        Shared.ballAngle = 0;
        Shared.colony.ballGrabbed = 1;
        Shared.followBall = 1;
        SetCursor(ShellState.stickCursor);
        SetCapture(window);
    } else {
        StartPan(window, x, y);
    }
    return false;
}

void OnPointerRelease(HWND window, int16_t x, int16_t y) {
    RimDrag* drag = RimDragOf(window);
    if (drag != nullptr && drag->Pressed()) {
        drag->End();
    } else if (Shared.colony.ballGrabbed >= 1) {
        Throw(x, y);
    } else {
        ShellState.pointer.panDragging = 0;
    }
    ReleaseCapture();
}

void OnPointerCaptureLost(HWND window) {
    RimDrag* drag = RimDragOf(window);
    if (drag != nullptr) {
        drag->End();
    }
}

void OnPointerDoubleClick(HWND window) {
    if (ShellState.pointer.overRim != 0) {
        ShowWindow(window, SW_HIDE);
        ShellState.windowShown = 0;
    }
}

RimMenuPlacement PlaceRimMenu(HWND window, uint16_t x, uint16_t y) {
    RimMenuPlacement placement{};
    placement.flags = TPM_RIGHTBUTTON | (RimMenuOpensLeft(x) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    // The menu opens at the pointer on the screen, where the program's pixel is a block of scale
    // x scale.
    const PixelScale scale = Shared.Scale();
    placement.point = {scale.Up(static_cast<int16_t>(x)), scale.Up(static_cast<int16_t>(y))};
    ClientToScreen(window, &placement.point);
    placement.params.cbSize = sizeof(TPMPARAMS);
    GetWindowRect(window, &placement.params.rcExclude);
    return placement;
}

void OnPointerRightRelease(HWND window, uint16_t x, uint16_t y) {
    if (ShellState.pointer.overRim != 0) {
        RimMenuPlacement placement = PlaceRimMenu(window, x, y);
        // As for the tray's menu: Escape and a click elsewhere close it only while its owner is
        // the foreground window.
        SetForegroundWindow(window);
        TrackPopupMenuEx(GetSubMenu(ShellState.menu.get(), 0), placement.flags, placement.point.x,
                         placement.point.y, window, &placement.params);
        PostMessageA(window, WM_NULL, 0, 0);
    } else {
        Shared.followBall = 1;
    }
}

HCURSOR ChoosePointerCursor() {
    if (ShellState.pointer.overRim != 0) {
        return LoadCursorA(nullptr, IDC_ARROW);
    }
    return Shared.followBall == 1 && ShellState.pointer.panDragging == 0
               ? ShellState.stickCursor
               : ShellState.binocularsCursor;
}
