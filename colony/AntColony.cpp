// The colony container and the start-up build of the fifty ants: every ant bound to the ball,
// all but the first set walking in the top-left quarter of the field.
#include "colony/AntColony.h"

#include "base/Geometry.h"
#include "base/MessageSeam.h"
#include "resources/TextIds.h"

namespace {
// Ants start at least this far from the top and left edges, clear of the 28-pixel band.
constexpr int32_t kStartMargin = kFieldMargin;

int32_t StartCoordinate(RandomGenerator& random, int32_t fieldSide) {
    // A quarter of the field; a degenerate side still draws once so the sequence stays aligned.
    const int32_t bound = fieldSide / 4 > 0 ? fieldSide / 4 : 1;
    const int32_t value = random.Next() % bound;
    return value < kStartMargin ? kStartMargin : value;
}
}  // namespace

void AntColony::Add(ColonyShared& world) {
    auto ant = std::make_unique<Ant>(world);
    ant->lastHomeX = world.ballX.load();
    ant->lastHomeY = world.ballY.load();
    ants_.push_back(std::move(ant));
}

Ant* AntColony::At(int32_t index) {
    if (index < 0 || index >= Count()) {
        ShowProgramMessage(IDS_NO_ANT, IDS_INDEX_CAPTION, mb::kOk);
        return nullptr;
    }
    return ants_[static_cast<size_t>(index)].get();
}

void BuildColony(AntColony& ants, ColonyShared& world, int32_t fieldWidth, int32_t fieldHeight) {
    ants.Clear();
    for (int32_t i = 0; i < kColonySize; ++i) {
        ants.Add(world);
    }
    // The first ant never walks: the run ends when the other 49 are happy.
    for (int32_t i = 1; i < ants.Count(); ++i) {
        Ant* ant = ants.At(i);
        ant->active = 1;
        ant->x = StartCoordinate(world.random, fieldWidth);
        ant->y = StartCoordinate(world.random, fieldHeight);
    }
}
