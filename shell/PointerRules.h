// The arithmetic of the pointer on the magnifier: where the ball sits in the lens, whether a press
// grabs it, how far a pan may go, and the speed and direction of a throw. No windows.h here.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

constexpr int32_t kMaxThrowSpeed = 50;  // pixels per frame
constexpr int32_t kRimMenuSplitX =
    kFrameWidth / 2;  // presses left of this open the menu to the left

// The ball's coordinate in the lens as the follow view draws it, from its field coordinate and
// the field's size along the same axis.
int32_t BallLensCoordinate(int32_t ball, int32_t fieldSize);

// Whether a press at lens point (lx, ly) lies on the ball drawn at (bx, by); bounds included.
bool BallGrabHit(int32_t lx, int32_t ly, int32_t bx, int32_t by);

// The first view of a pan that starts from the follow view: the part of the field that was shown.
int32_t FreeViewStart(int32_t ball, int32_t fieldSize);

// A panned view, clamped: lower bound first, then FieldWidth - 200 across and FieldHeight - 201
// down (the follow view's own bound).
int32_t ClampPanX(int32_t viewX, int32_t fieldWidth);
int32_t ClampPanY(int32_t viewY, int32_t fieldHeight);

// Throw speed in pixels per frame from the flick (dx, dy) and the milliseconds it took.
int32_t ThrowSpeed(int32_t dx, int32_t dy, uint32_t elapsedMs);

// Throw direction in whole degrees, 0 right, 90 down, 180 left, 270 up.
int32_t ThrowAngle(int32_t dx, int32_t dy);

// Whether the rim menu opens to the left of a right click at client x (taken unsigned).
bool RimMenuOpensLeft(uint32_t clientX);
