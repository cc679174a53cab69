// A whole ant world run the way the simulation thread runs it, without windows: the start-up
// draws in the thread's order, the per-frame pass and hearts, and scripted throws of the ball.
// The soak test and the cross-platform determinism test drive it.
#pragma once

#include <cstdint>
#include <cstring>

#include "colony/AntColony.h"
#include "colony/ColonyStepper.h"
#include "colony/FieldMask.h"
#include "colony/RandomGenerator.h"
#include "colony/SharedWorld.h"
#include "simulation/HeartList.h"

class ScriptedWorld {
  public:
    static constexpr int32_t kFramesPerThrow = 500;
    static constexpr int32_t kFlightFrames = 8;

    // Start-up as the simulation thread does it, from seed, on a width x height field.
    bool Start(uint32_t seed, int32_t width, int32_t height) {
        shared.fieldWidth = width;
        shared.fieldHeight = height;
        if (!mask.Allocate(width, height) || !BuildWalkMask(mask)) {
            return false;
        }
        shared.random.Seed(seed);
        shared.ballGrabbed = 0;
        shared.ballFlying = 0;
        shared.goalX = shared.random.Next() % (width / 2 - 60) + width / 2;
        shared.goalY = shared.random.Next() % (height / 2 - 60) + height / 2;
        shared.ballX = AtLeast36(shared.random.Next() % 150);
        shared.ballY = AtLeast36(shared.random.Next() % 180);
        shared.arrivalSeen = 0;
        BuildColony(ants, shared, width, height);
        hearts.Clear();
        for (int32_t i = 0; i < kColonySize; ++i) {
            hearts.Add();
        }
        happyCount = 0;
        frame = 0;
        flightLeft = 0;
        return true;
    }

    // One frame: the flying ball moves, every walking ant steps, the hearts rise; then, every
    // 500 frames, the user throws the ball somewhere else in the field.
    void Frame() {
        if (flightLeft > 0) {
            // The ball travels a share of the remaining way each frame, then comes to rest.
            shared.ballX = shared.ballX + (targetX - shared.ballX) / flightLeft;
            shared.ballY = shared.ballY + (targetY - shared.ballY) / flightLeft;
            if (--flightLeft == 0) {
                shared.ballFlying = 0;
            }
        }
        ColonyStepper::StepFrame(ants, mask, nullptr, [this](int32_t index, Ant& ant) {
            Heart* heart = hearts.At(index);
            heart->x = ant.x;
            heart->y = ant.y;
            heart->visible = 1;
            ++happyCount;
        });
        hearts.Animate();
        ++frame;
        if (frame % kFramesPerThrow == 0) {
            Throw();
        }
    }

    // Letting go of the ball: all trails wiped, every arrival commits again, the ball flies to
    // a random place inside the walkable field.
    void Throw() {
        const int32_t w = shared.fieldWidth.load();
        const int32_t h = shared.fieldHeight.load();
        targetX = shared.random.Next() % (w - 72) + 36;
        targetY = shared.random.Next() % (h - 72) + 36;
        BuildWalkMask(mask);
        shared.arrivalSeen = 0;
        shared.ballFlying = 1;
        flightLeft = kFlightFrames;
    }

    // FNV-1a 64 over everything the run decides: ants, their trails, the mask and the hearts.
    uint64_t Hash() {
        uint64_t hash = 1469598103934665603ull;
        auto mixByte = [&hash](uint8_t byte) {
            hash ^= byte;
            hash *= 1099511628211ull;
        };
        auto mix = [&mixByte](int32_t value) {
            const uint32_t bits = static_cast<uint32_t>(value);
            for (int shift = 0; shift < 32; shift += 8) {
                mixByte(static_cast<uint8_t>(bits >> shift));
            }
        };
        for (int32_t i = 0; i < ants.Count(); ++i) {
            const Ant* ant = ants.At(i);
            mix(ant->x);
            mix(ant->y);
            mix(ant->direction);
            mix(ant->active);
            mix(ant->frame);
            mix(ant->lastHomeX);
            mix(ant->lastHomeY);
            mix(ant->trail.Count());
            for (int32_t p = 0; p < ant->trail.Count(); ++p) {
                const PheromonePoint* point = ants.At(i)->trail.At(p);
                mix(point->x);
                mix(point->y);
                mix(point->mark);
            }
        }
        const size_t cells = static_cast<size_t>(mask.Width()) * mask.Height();
        for (size_t c = 0; c < cells; ++c) {
            mixByte(mask.Cells()[c]);
        }
        for (int32_t i = 0; i < hearts.Count(); ++i) {
            const Heart* heart = hearts.At(i);
            mix(heart->x);
            mix(heart->y);
            mix(heart->age);
            mix(heart->visible);
        }
        mix(shared.ballX.load());
        mix(shared.ballY.load());
        mix(happyCount);
        return hash;
    }

    ColonyShared shared;  // declared first: the ants hold references to it
    AntColony ants;
    HeartList hearts;
    FieldMask mask;
    int32_t happyCount = 0;
    int32_t frame = 0;

  private:
    static int32_t AtLeast36(int32_t value) { return value < 36 ? 36 : value; }

    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t flightLeft = 0;
};
