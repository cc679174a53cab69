// The sizes and places the program is built from, and the waits that pace it: each is written
// here once, with the relations between them, and every other file reads it from here. Screen
// pixels and field pixels are the same size; a scale for denser screens multiplies the pixel
// values of this file and nothing elsewhere.
#pragma once

#include <cstdint>

// The magnifier window and the frame it shows. Bitmap 126 holds the magnifier picture over its
// mask, each kFrameHeight rows high.
constexpr int32_t kFrameWidth = 300;
constexpr int32_t kFrameHeight = 360;

// The lens square: the part of the frame through which the field shows, kLensSide field pixels
// each way, its top-left corner at (kLensLeft, kLensTop) of the frame.
constexpr int32_t kLensSide = 200;
constexpr int32_t kLensLeft = 20;
constexpr int32_t kLensTop = 20;
constexpr int32_t kLensRight = kLensLeft + kLensSide;
constexpr int32_t kLensBottom = kLensTop + kLensSide;
static_assert(kLensRight <= kFrameWidth && kLensBottom <= kFrameHeight,
              "the lens square lies inside the frame");

// A field must fill the lens.
constexpr int32_t kMinFieldSide = kLensSide;
// The ball, the ants' start places and pulled-in ants keep this far from the field's edges.
constexpr int32_t kFieldMargin = 36;
// The ball starts in the field's part the size of half the magnifier picture.
constexpr int32_t kBallRangeX = kFrameWidth / 2;
constexpr int32_t kBallRangeY = kFrameHeight / 2;

// Sprites: an ant is one kAntCell square cell of its sheet (the stray ant's window too); the
// ball and the heart are kSpriteSide squares.
constexpr int32_t kAntCell = 8;
constexpr int32_t kSpriteSide = 16;
constexpr int32_t kHeartSide = kSpriteSide;
constexpr int32_t kBallSide = kSpriteSide;

// The goal: a disc of kGoalRadius with a kGoalRimWidth rim; an ant inside the radius is happy.
constexpr int32_t kGoalRadius = 20;
constexpr int32_t kGoalRimWidth = 3;

// The splash window, a square.
constexpr int32_t kSplashSide = 100;

// Colours as 0x00RRGGBB pixels: white in a mask is not drawn; the key colour is the outside of
// the shape bitmaps.
constexpr uint32_t kMaskWhite = 0xFFFFFF;
constexpr uint32_t kKeyColour = 0x00FF84;

// Waits, in milliseconds. A frame lasts at least kFrameWaitMs while the frame wait is on, and
// sleeps kFrameSleepMs in any case.
constexpr uint32_t kFrameWaitMs = 80;
constexpr uint32_t kFrameSleepMs = 10;
constexpr uint32_t kPauseSliceMs = 20;     // how often a long pause looks for Exit
constexpr uint32_t kSplashPauseMs = 3000;  // after the first frame, before the magnifier shows
constexpr uint32_t kStrayDelayMs = 10000;  // no stray ant before this much of a run has passed
constexpr uint32_t kStrayOneIn = 100;      // after the delay, a chance of 1 in this per frame
constexpr uint32_t kEndingMs = 2000;       // the closing animation before the thank-you box
constexpr uint32_t kExitWaitMs = 500;      // how long Exit waits for the simulation thread
constexpr uint32_t kFinishWaitMs = 4000;   // after the message loop, for a thread in a pause
