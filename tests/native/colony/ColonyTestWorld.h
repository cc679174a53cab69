// Shared ground for the ant-world tests: a fresh default-sized world per test, and a look ahead
// at the random sequence so that each expectation is worked out from the rules and known draws.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "colony/Ant.h"
#include "colony/AntColony.h"
#include "colony/FieldMask.h"
#include "colony/RandomGenerator.h"
#include "colony/SharedWorld.h"

// The first `count` values of the sequence from `seed`, drawn on a generator of their own.
inline std::vector<int32_t> DrawsFrom(uint32_t seed, int count) {
    RandomGenerator random;
    random.Seed(seed);
    std::vector<int32_t> draws;
    for (int i = 0; i < count; ++i) {
        draws.push_back(random.Next());
    }
    return draws;
}

// The first seed from `first` on whose opening draws satisfy `wanted`.
inline uint32_t SeedWhere(const std::function<bool(const std::vector<int32_t>&)>& wanted,
                          uint32_t first = 1) {
    for (uint32_t seed = first; seed < first + 1000000; ++seed) {
        if (wanted(DrawsFrom(seed, 8))) {
            return seed;
        }
    }
    ADD_FAILURE() << "no seed with the wanted draws";
    return first;
}

class ColonyWorldTest : public ::testing::Test {
  protected:
    static constexpr int32_t kWidth = 455;
    static constexpr int32_t kHeight = 312;
    static constexpr int32_t kBallX = 60;
    static constexpr int32_t kBallY = 60;
    static constexpr int32_t kGoalX = 300;
    static constexpr int32_t kGoalY = 200;

    void SetUp() override {
        UseField(kWidth, kHeight);
        shared.ballX = kBallX;
        shared.ballY = kBallY;
        shared.goalX = kGoalX;
        shared.goalY = kGoalY;
        shared.ballGrabbed = 0;
        shared.ballFlying = 0;
        shared.arrivalSeen = 0;
    }

    void UseField(int32_t width, int32_t height) {
        shared.fieldWidth = width;
        shared.fieldHeight = height;
        ASSERT_TRUE(mask.Allocate(width, height));
        ASSERT_TRUE(BuildWalkMask(mask));
    }

    // A walking ant at (x, y) with the given heading that has already seen the ball where it is.
    std::unique_ptr<Ant> MakeAnt(int32_t x, int32_t y, int32_t direction) {
        auto ant = std::make_unique<Ant>(shared);
        ant->x = x;
        ant->y = y;
        ant->direction = direction;
        ant->active = 1;
        ant->lastHomeX = shared.ballX.load();
        ant->lastHomeY = shared.ballY.load();
        return ant;
    }

    // Adds an ant to the colony at (x, y), walking unless `active` says otherwise.
    Ant* AddAnt(AntColony& ants, int32_t x, int32_t y, int32_t active = 1) {
        ants.Add(shared);
        Ant* ant = ants.At(ants.Count() - 1);
        ant->x = x;
        ant->y = y;
        ant->active = active;
        return ant;
    }

    // Seeds the world's sequence with `seed` and returns its first `count` values: the ants'
    // next draws are exactly these.
    std::vector<int32_t> PeekDraws(uint32_t seed, int count) {
        shared.random.Seed(seed);
        return DrawsFrom(seed, count);
    }

    // How many of the peeked draws the world has used since PeekDraws: the position at which its
    // generator's next four values appear in the peeked sequence (-1 if nowhere). Consumes draws.
    int DrawsUsed(const std::vector<int32_t>& peeked) {
        constexpr int kProbe = 4;
        int32_t next[kProbe];
        for (int32_t& value : next) {
            value = shared.random.Next();
        }
        for (size_t at = 0; at + kProbe <= peeked.size(); ++at) {
            bool same = true;
            for (int i = 0; i < kProbe && same; ++i) {
                same = peeked[at + i] == next[i];
            }
            if (same) {
                return static_cast<int>(at);
            }
        }
        return -1;
    }

    ColonyShared shared;
    FieldMask mask;
};
