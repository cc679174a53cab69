// The world's placement, flight and clipping rules, shared by the simulation thread and the tests.
#include "simulation/WorldRules.h"

#include <cmath>

namespace {
constexpr double kRadiansPerDegree = 0.017453292519944444;
constexpr int32_t kSlowdown = 4;
constexpr int32_t kGoalEdge = 60;

int32_t AtLeast(int32_t value, int32_t minimum) {
    return value < minimum ? minimum : value;
}

int32_t FollowSide(int32_t ball, int32_t fieldSide, int32_t farOrigin) {
    if (ball >= fieldSide - kLensSide / 2) {
        return farOrigin;
    }
    if (ball < kLensSide / 2) {
        return 0;
    }
    return ball - kLensSide / 2;
}

int32_t ClampSide(int32_t origin, int32_t fieldSide) {
    if (origin < 0) {
        origin = 0;
    }
    if (origin > fieldSide - kLensSide) {
        origin = fieldSide - kLensSide;
    }
    return origin < 0 ? 0 : origin;
}

// Cuts [start, start + length) to [0, limit); returns how far the start moved.
int32_t ClipSpan(int32_t& start, int32_t& length, int32_t limit) {
    int32_t moved = 0;
    if (start < 0) {
        moved = -start;
        length += start;
        start = 0;
    }
    if (start + length > limit) {
        length = limit - start;
    }
    return moved;
}
}  // namespace

ViewOrigin WorldRules::FollowView(int32_t ballX, int32_t ballY, int32_t fieldWidth,
                                  int32_t fieldHeight) {
    const ViewOrigin view{FollowSide(ballX, fieldWidth, fieldWidth - kLensSide),
                          FollowSide(ballY, fieldHeight, fieldHeight - kLensSide - 1)};
    // On a field exactly 200 rows high the row above would be row -1.
    return ClampView(view, fieldWidth, fieldHeight);
}

ViewOrigin WorldRules::ClampView(ViewOrigin view, int32_t fieldWidth, int32_t fieldHeight) {
    return {ClampSide(view.x, fieldWidth), ClampSide(view.y, fieldHeight)};
}

void WorldRules::FlyBall(BallFlight& ball, int32_t angleDegrees, int32_t fieldWidth,
                         int32_t fieldHeight) {
    const double a = angleDegrees * kRadiansPerDegree;
    ball.x += static_cast<int32_t>(ball.speed * std::cos(a));
    ball.y += static_cast<int32_t>(ball.speed * std::sin(a));
    ball.speed -= kSlowdown;
    if (ball.speed <= 0) {
        ball.flying = 0;
    }
    if (ball.x <= kFieldMargin) {
        ball.x = kFieldMargin;
        ball.flying = 0;
    }
    if (ball.x >= fieldWidth - kFieldMargin) {
        ball.x = fieldWidth - kFieldMargin;
        ball.flying = 0;
    }
    if (ball.y <= kFieldMargin) {
        ball.y = kFieldMargin;
        ball.flying = 0;
    }
    if (ball.y >= fieldHeight - kFieldMargin) {
        ball.y = fieldHeight - kFieldMargin;
        ball.flying = 0;
    }
}

void WorldRules::ClampBall(int32_t& ballX, int32_t& ballY, int32_t fieldWidth,
                           int32_t fieldHeight) {
    if (ballX > fieldWidth - kFieldMargin) {
        ballX = fieldWidth - kFieldMargin;
    }
    if (ballY > fieldHeight - kFieldMargin) {
        ballY = fieldHeight - kFieldMargin;
    }
}

void WorldRules::PlaceGoal(RandomGenerator& random, int32_t fieldWidth, int32_t fieldHeight,
                           int32_t& goalX, int32_t& goalY) {
    // Fields are at least 200 x 200; a smaller one still draws once so no division by zero.
    goalX = random.Next() % AtLeast(fieldWidth / 2 - kGoalEdge, 1) + fieldWidth / 2;
    goalY = random.Next() % AtLeast(fieldHeight / 2 - kGoalEdge, 1) + fieldHeight / 2;
}

void WorldRules::PlaceBall(RandomGenerator& random, int32_t& ballX, int32_t& ballY) {
    ballX = AtLeast(random.Next() % kBallRangeX, kFieldMargin);
    ballY = AtLeast(random.Next() % kBallRangeY, kFieldMargin);
}

bool WorldRules::ClipToDestination(SpriteCopy& copy, int32_t destWidth, int32_t destHeight) {
    if (copy.w <= 0 || copy.h <= 0) {
        return false;
    }
    const int32_t movedX = ClipSpan(copy.dx, copy.w, destWidth);
    const int32_t movedY = ClipSpan(copy.dy, copy.h, destHeight);
    copy.sx += movedX;
    copy.mx += movedX;
    copy.sy += movedY;
    copy.my += movedY;
    return copy.w > 0 && copy.h > 0;
}

uint32_t WorldRules::RemainingWait(uint32_t now, uint32_t frameStart, uint32_t minimumMs) {
    const uint32_t elapsed = now - frameStart;
    return elapsed >= minimumMs ? 0 : minimumMs - elapsed;
}
