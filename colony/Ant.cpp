// One frame of an ant's walk: the goal, home, following an adjacent trail, steering home,
// seeking the nearest strong trail cell, wandering; then the move, the record of the cell left
// and the animation. The order of the random draws is part of the behaviour: a replay with the
// same seed must walk the same ways.
#include "colony/Ant.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/Geometry.h"

const int32_t TurnChoices[8][3] = {{7, 0, 1}, {0, 1, 2}, {1, 2, 3}, {2, 3, 4},
                                   {3, 4, 5}, {4, 5, 6}, {5, 6, 7}, {6, 7, 0}};

namespace {
constexpr int32_t kStepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int32_t kStepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

constexpr int64_t kGoalRadiusSquared = int64_t{kGoalRadius} * kGoalRadius;
constexpr int32_t kHomeReach = 5;       // cells from the ball, in x and in y, that count as home
constexpr int32_t kSightRange = 100;    // half the side of the seeking window
constexpr int32_t kSightMargin = 4;     // the window stays this far inside the field
constexpr int32_t kNoTarget = 1000;     // farther than any cell of the window
constexpr int32_t kStrongPercent = 7;   // share of recorded cells that become strong trail
constexpr int32_t kSeenCommitCut = 80;  // after the first arrival only one in five commits

// Stored value a little below 180/pi, so that a bearing of exactly 45 degrees truncates to 44.
constexpr double kDegreesPerRadian = 57.29577951307855;

int32_t TruncatedDegrees(int64_t ratio) {
    return static_cast<int32_t>(std::atan(static_cast<double>(ratio)) * kDegreesPerRadian);
}

bool IsTrail(uint8_t code) {
    return code == CellTrail || code == CellStrongTrail;
}

int32_t NormalHeading(int32_t direction) {
    return ((direction % 8) + 8) % 8;
}
}  // namespace

void Advance(int32_t direction, int32_t& x, int32_t& y) {
    if (direction < 0 || direction > 7) {
        return;
    }
    x += kStepX[direction];
    y += kStepY[direction];
}

Ant::Ant(ColonyShared& sharedWorld)
    : world(sharedWorld), homeX(sharedWorld.ballX), homeY(sharedWorld.ballY) {
    Reset();
}

void Ant::Reset() {
    x = 0;
    y = 0;
    direction = world.random.Next() % 8;
    active = 0;
    frame = 0;
    trail.Clear();
}

StepResult Ant::Step(FieldMask& mask) {
    // A heading set from outside to something odd must not index past the turn table.
    direction = NormalHeading(direction);

    const int64_t goalDx = static_cast<int64_t>(x) - world.goalX.load();
    const int64_t goalDy = static_cast<int64_t>(y) - world.goalY.load();
    if (goalDx * goalDx + goalDy * goalDy < kGoalRadiusSquared) {
        CommitTrail(mask);
        world.arrivalSeen.store(1);
        trail.Clear();
        return StepHappy;
    }

    // The ball is read once, so that a throw in the middle of the step cannot split it.
    const int32_t ballX = homeX.load();
    const int32_t ballY = homeY.load();
    if (ballX != lastHomeX || ballY != lastHomeY) {
        lastHomeX = ballX;
        lastHomeY = ballY;
        trail.Clear();
    }
    if (x >= ballX - kHomeReach && x <= ballX + kHomeReach && y >= ballY - kHomeReach &&
        y <= ballY + kHomeReach) {
        CommitTrail(mask);
        world.arrivalSeen.store(1);
        return StepAtHome;
    }

    bool following = false;
    bool move = true;
    int32_t followed = direction;
    for (int32_t k = 0; k < 3; ++k) {
        const int32_t heading = TurnChoices[direction][k];
        int32_t nx = x;
        int32_t ny = y;
        Advance(heading, nx, ny);
        if (IsTrail(mask.CellOrBlocked(nx, ny))) {
            following = true;
            followed = heading;
            if (world.random.Next() % 2 == 0) {
                break;
            }
        }
    }

    if (following) {
        direction = followed;
    } else if (world.random.Next() % 100 < 75) {
        // Steer home by chance: the farther the ball, the rarer the correction.
        const double dxHome = std::abs(static_cast<double>(ballX) - x);
        const double dyHome = std::abs(static_cast<double>(ballY) - y);
        const int32_t distance = static_cast<int32_t>(std::sqrt(dyHome * dyHome + dxHome * dxHome));
        const int32_t chance = static_cast<int32_t>(distance * 0.005 * 30.0 + 1.0);
        if (world.random.Next() % chance == 0) {
            direction = DirectionToward(ballX, ballY);
        }
    } else {
        int32_t targetX = 0;
        int32_t targetY = 0;
        if (FindStrongTrail(mask, targetX, targetY)) {
            direction = DirectionToward(targetX, targetY);
        } else {
            const int32_t wander = world.random.Next() % 5;
            if (wander == 1) {
                move = false;
            } else {
                direction = TurnChoices[direction][world.random.Next() % 3];
                move = wander == 0;
            }
        }
    }

    if (move) {
        int32_t nx = x;
        int32_t ny = y;
        Advance(direction, nx, ny);
        if (mask.CellOrBlocked(nx, ny) != CellBlocked) {
            if (!following) {
                const int32_t mark =
                    world.random.Next() % 100 < kStrongPercent ? CellStrongTrail : CellTrail;
                trail.Append(x, y, mark);
            }
            x = nx;
            y = ny;
        }
    }
    frame = 1 - frame;
    return StepWalked;
}

bool Ant::FindStrongTrail(const FieldMask& mask, int32_t& targetX, int32_t& targetY) const {
    // The field size as the world publishes it, but never beyond the mask actually held.
    int32_t width = world.fieldWidth.load();
    int32_t height = world.fieldHeight.load();
    if (width > mask.Width()) {
        width = mask.Width();
    }
    if (height > mask.Height()) {
        height = mask.Height();
    }
    const int32_t left = x - kSightRange > kSightMargin ? x - kSightRange : kSightMargin;
    const int32_t right =
        x + kSightRange < width - kSightMargin ? x + kSightRange : width - kSightMargin;
    const int32_t top = y - kSightRange > kSightMargin ? y - kSightRange : kSightMargin;
    const int32_t bottom =
        y + kSightRange < height - kSightMargin ? y + kSightRange : height - kSightMargin;
    if (left >= right || top >= bottom) {
        return false;
    }

    int32_t best = kNoTarget;
    bool found = false;
    const size_t span = static_cast<size_t>(right - left);
    for (int32_t row = top; row < bottom; ++row) {
        const uint8_t* line = mask.Cells() + static_cast<size_t>(row) * mask.Width();
        const uint8_t* from = line + left;
        const uint8_t* end = from + span;
        // Strong cells are rare: memchr skips the plain ones quickly, in the same row order.
        while (from < end) {
            const void* hit = std::memchr(from, CellStrongTrail, static_cast<size_t>(end - from));
            if (hit == nullptr) {
                break;
            }
            const uint8_t* cell = static_cast<const uint8_t*>(hit);
            const int32_t column = static_cast<int32_t>(cell - line);
            const double dx = static_cast<double>(column) - x;
            const double dy = static_cast<double>(row) - y;
            const int32_t distance = static_cast<int32_t>(std::sqrt(dx * dx + dy * dy));
            if (distance < best) {
                best = distance;
                targetX = column;
                targetY = row;
                found = true;
            }
            from = cell + 1;
        }
    }
    return found;
}

int32_t Ant::DirectionToward(int32_t tx, int32_t ty) const {
    // Integer quotients on purpose: the bearing moves in coarse steps, as the ants always did.
    const int64_t ax = x;
    const int64_t ay = y;
    int32_t bearing = 0;
    if (tx > ax) {
        if (ty > ay) {
            bearing = 90 + TruncatedDegrees((ty - ay) / (tx - ax));
        } else if (ty < ay) {
            bearing = TruncatedDegrees((tx - ax) / (ay - ty));
        } else {
            bearing = 90;
        }
    } else if (tx < ax) {
        if (ty > ay) {
            bearing = 180 + TruncatedDegrees((ax - tx) / (ty - ay));
        } else if (ty < ay) {
            bearing = 270 + TruncatedDegrees((ay - ty) / (ax - tx));
        } else {
            bearing = 270;
        }
    } else {
        bearing = ty > ay ? 180 : 0;
    }

    const int32_t wanted = bearing / 45;
    const int32_t* choices = TurnChoices[NormalHeading(direction)];
    if (wanted == choices[0] || wanted == choices[1] || wanted == choices[2]) {
        return wanted;
    }
    // At most one turn per frame; the plain codes are compared, not the way round the circle,
    // and a tie turns right.
    const int32_t left = choices[0];
    const int32_t right = choices[2];
    return std::abs(left - wanted) < std::abs(right - wanted) ? left : right;
}

void Ant::CommitTrail(FieldMask& mask) {
    const int32_t seen = world.arrivalSeen.load();
    const int32_t draw = world.random.Next() % 100;
    if (draw >= 100 - kSeenCommitCut * seen || world.ballGrabbed.load() != 0 ||
        world.ballFlying.load() != 0 || trail.Count() == 0) {
        return;
    }
    for (int32_t i = 0; i < trail.Count(); ++i) {
        const PheromonePoint* point = trail.At(i);
        // A trail is only ever laid on ground an ant stood on; a point from an older, larger
        // field or a cell of the band is skipped so the band can never become walkable.
        if (!mask.Contains(point->x, point->y) || mask.At(point->x, point->y) == CellBlocked) {
            continue;
        }
        if (point->mark == CellTrail || point->mark == CellStrongTrail) {
            mask.At(point->x, point->y) = static_cast<uint8_t>(point->mark);
        }
    }
}
