// One frame of the colony: each walking ant steps, and the two arrivals are settled here so
// that the simulation and the tests act on them in exactly the same way.
#include "colony/ColonyStepper.h"

#include "base/Geometry.h"

namespace {
// Distance kept from the right and bottom edges when the field shrinks under the ants.
constexpr int32_t kPullMargin = kFieldMargin;
}  // namespace

int32_t ColonyStepper::StepFrame(AntColony& ants, FieldMask& mask,
                                 const SharedInt* backgroundChangePending,
                                 const HappyHandler& onHappy) {
    int32_t happy = 0;
    for (int32_t j = 0; j < ants.Count(); ++j) {
        Ant* ant = ants.At(j);
        if (ant == nullptr || ant->active <= 0) {
            continue;
        }
        if (backgroundChangePending != nullptr && backgroundChangePending->load() != 0) {
            continue;
        }
        switch (ant->Step(mask)) {
            case StepAtHome:
                ant->trail.Clear();
                break;
            case StepHappy:
                ant->active = 0;
                ++happy;
                if (onHappy) {
                    onHappy(j, *ant);
                }
                break;
            case StepWalked:
                break;
        }
    }
    return happy;
}

void ColonyStepper::PullInside(AntColony& ants, int32_t fieldWidth, int32_t fieldHeight) {
    for (int32_t j = 0; j < ants.Count(); ++j) {
        Ant* ant = ants.At(j);
        if (ant == nullptr || ant->active <= 0) {
            continue;
        }
        if (ant->x > fieldWidth - kPullMargin) {
            ant->x = fieldWidth - kPullMargin;
        }
        if (ant->y > fieldHeight - kPullMargin) {
            ant->y = fieldHeight - kPullMargin;
        }
        ant->trail.Clear();
    }
}
