// The per-frame pass over the walking ants, shared by the simulation thread and the tests, and
// the pull-in of walking ants after the field has been replaced by a smaller one.
#pragma once

#include <cstdint>
#include <functional>

#include "colony/AntColony.h"
#include "colony/FieldMask.h"
#include "colony/SharedWorld.h"

class ColonyStepper {
  public:
    // Called for an ant that has just become happy (already inactive, trail empty): the
    // simulation shows heart `index` at the ant's x, y and counts the ant.
    using HappyHandler = std::function<void(int32_t index, Ant& ant)>;

    // Steps every walking ant once, in index order. `backgroundChangePending` (may be null) is
    // read again before each ant: once a new field is waiting, no further ant steps on the old
    // mask. An ant at home has its trail emptied; a happy ant is set inactive and handed to
    // onHappy. Returns the number of ants that became happy.
    static int32_t StepFrame(AntColony& ants, FieldMask& mask,
                             const SharedInt* backgroundChangePending, const HappyHandler& onHappy);

    // After a background change: every walking ant beyond fieldWidth - 36 or fieldHeight - 36
    // is pulled back to that line, and every walking ant's trail is emptied.
    static void PullInside(AntColony& ants, int32_t fieldWidth, int32_t fieldHeight);
};
