// One ant: its place on the field, heading, walking animation, its home (the shared ball) and
// its own trail. Step is the whole behaviour of one walking ant for one frame.
#pragma once

#include <cstdint>

#include "colony/FieldMask.h"
#include "colony/PheromonePointList.h"
#include "colony/SharedWorld.h"

enum StepResult : int32_t { StepWalked = 0, StepAtHome = 1, StepHappy = 2 };

// Headings 0..7 clockwise from north, y downward; the left turn, straight on and the right turn.
extern const int32_t TurnChoices[8][3];
// Moves (x, y) one cell in heading direction; a heading outside 0..7 leaves it unchanged.
void Advance(int32_t direction, int32_t& x, int32_t& y);

class Ant {
  public:
    // Binds the ant to the shared world (its home is the world's ball) and performs Reset.
    explicit Ant(ColonyShared& sharedWorld);
    Ant(const Ant&) = delete;
    Ant& operator=(const Ant&) = delete;

    void Reset();  // (0, 0), random heading, inactive, frame 0, empty trail
    StepResult Step(FieldMask& mask);
    int32_t DirectionToward(int32_t tx, int32_t ty) const;

    int32_t x = 0;
    int32_t y = 0;
    int32_t direction = 0;
    int32_t active = 0;
    int32_t frame = 0;
    ColonyShared& world;     // not owned: ball, goal, field size, throw flags, random sequence
    const SharedInt& homeX;  // world.ballX
    const SharedInt& homeY;  // world.ballY
    int32_t lastHomeX = 0;
    int32_t lastHomeY = 0;
    PheromonePointList trail;

  private:
    // Writes the trail into the mask with the arrival's chance; the trail itself stays.
    void CommitTrail(FieldMask& mask);
    // The nearest CellStrongTrail cell of the window 100 cells around the ant (first found on a
    // tie); false when there is none.
    bool FindStrongTrail(const FieldMask& mask, int32_t& targetX, int32_t& targetY) const;
};
