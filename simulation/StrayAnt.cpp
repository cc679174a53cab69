// The stray ant's own movement in screen pixels: a random walk kept on the screen, then the
// heart's zigzag rise once the user has found it.
#include "simulation/StrayAnt.h"

#include "colony/Ant.h"
#include "colony/Random.h"
#include "simulation/HeartList.h"

namespace {
constexpr int32_t kCellSide = 8;  // the walking window is one 8 x 8 sprite cell

int32_t KeepOnScreen(int32_t value, int32_t screenSide) {
    if (value < 0) {
        return 0;
    }
    if (value >= screenSide - kCellSide) {
        return screenSide - kCellSide;
    }
    return value;
}

// A degenerate screen still draws once so the random sequence keeps its order.
int32_t Bound(int32_t value) {
    return value > 0 ? value : 1;
}
}  // namespace

StrayAnt::StrayAnt(int32_t screenWidth, int32_t screenHeight) {
    Reset(screenWidth, screenHeight);
}

void StrayAnt::Reset(int32_t screenWidth, int32_t screenHeight) {
    x = Random() % Bound(screenWidth - kCellSide);
    y = Random() % Bound(screenHeight - kCellSide);
    direction = Random() % 8;
    state = StrayWalking;
    held = 0;
    frame = 0;
    age = 0;
}

void StrayAnt::Hold(int32_t atX, int32_t atY) {
    heldX = atX;
    heldY = atY;
    held = 1;
}

void StrayAnt::Advance(int32_t heading, int32_t& px, int32_t& py) {
    ::Advance(heading, px, py);
}

void StrayAnt::Step(int32_t screenWidth, int32_t screenHeight) {
    const int32_t current = state.load();
    if (current == StrayWalking) {
        const int32_t r = Random() % 10;
        const bool turn = r == 0 || r >= 8;
        const bool move = r <= 6;
        if (held != 0) {
            // Found: it stands where it was clicked, drawing what a step would.
            if (turn) {
                Random();
            }
            x = heldX;
            y = heldY;
            return;
        }
        if (turn) {
            direction = TurnChoices[direction & 7][Random() % 3];
        }
        if (move) {
            Advance(direction, x, y);
            x = KeepOnScreen(x, screenWidth);
            y = KeepOnScreen(y, screenHeight);
        }
        frame = 1 - frame;
    } else if (current == StrayRising) {
        if (age == 0 && held != 0) {
            // A step made as the click came may have moved it on: the heart starts at the click.
            x = heldX;
            y = heldY;
        }
        if (!RiseOneFrame(x, y, age)) {
            state = StrayFinished;
        }
    }
}
