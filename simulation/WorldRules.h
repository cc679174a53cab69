// The arithmetic of the world that needs no window: where the lens looks, how a thrown ball
// flies, where the goal and the ball are placed, and how copies are kept inside an image.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "colony/RandomGenerator.h"

struct ViewOrigin {
    int32_t x;
    int32_t y;
};

// A thrown ball between two frames.
struct BallFlight {
    int32_t x;
    int32_t y;
    int32_t speed;
    int32_t flying;
};

// A rectangle copied from a source (and its mask) onto a destination.
struct SpriteCopy {
    int32_t dx, dy, w, h;
    int32_t sx, sy;
    int32_t mx, my;
};

class WorldRules {
  public:
    // The view centred on the ball and kept inside the field. Near the bottom the lens looks
    // one row higher than it could (fieldHeight - 201); the result never leaves the field.
    static ViewOrigin FollowView(int32_t ballX, int32_t ballY, int32_t fieldWidth,
                                 int32_t fieldHeight);
    // Keeps a view origin inside a field of at least 200 x 200.
    static ViewOrigin ClampView(ViewOrigin view, int32_t fieldWidth, int32_t fieldHeight);
    // One frame of flight: move by speed along angle (degrees, 0 right, 90 down), slow by 4,
    // stop at the 36-pixel margins.
    static void FlyBall(BallFlight& ball, int32_t angleDegrees, int32_t fieldWidth,
                        int32_t fieldHeight);
    // After the field changed size: the ball to at most fieldSide - 36, the view inside.
    static void ClampBall(int32_t& ballX, int32_t& ballY, int32_t fieldWidth, int32_t fieldHeight);
    // The goal in the lower-right quarter, at least 60 pixels from the right and bottom edges.
    static void PlaceGoal(RandomGenerator& random, int32_t fieldWidth, int32_t fieldHeight,
                          int32_t& goalX, int32_t& goalY);
    // The ball's start: x 36..149, y 36..179.
    static void PlaceBall(RandomGenerator& random, int32_t& ballX, int32_t& ballY);
    // Cuts the copy to the part that lands on a destWidth x destHeight image, moving the source
    // and mask origins with it; false when nothing is left to copy.
    static bool ClipToDestination(SpriteCopy& copy, int32_t destWidth, int32_t destHeight);
    // Milliseconds still to wait so that a frame begun at frameStart lasts at least minimumMs;
    // tick differences are unsigned, so the counter may wrap.
    static uint32_t RemainingWait(uint32_t now, uint32_t frameStart, uint32_t minimumMs);
};
