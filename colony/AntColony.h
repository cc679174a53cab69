// The population: fifty ants in insertion order, all bound to one home.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "colony/Ant.h"

constexpr int32_t kColonySize = 50;

class AntColony {
  public:
    AntColony() = default;

    int32_t Count() const { return static_cast<int32_t>(ants_.size()); }
    void Clear() { ants_.clear(); }
    // Appends an inactive ant bound to world (its home the ball), lastHome set to the ball's
    // current place.
    void Add(ColonyShared& world);
    // The ant at index, or null after the index-error message.
    Ant* At(int32_t index);

  private:
    std::vector<std::unique_ptr<Ant>> ants_;
};

// The colony of a new run: Clear, fifty Adds bound to world, then ants 1..49 activated at random
// places in the top-left quarter of a fieldWidth x fieldHeight field (at least kFieldMargin in).
void BuildColony(AntColony& ants, ColonyShared& world, int32_t fieldWidth, int32_t fieldHeight);
