// What the lens shows: each frame is drawn onto the field-sized canvas around the part in view,
// copied into the magnifier picture and overlaid with the magnifier. Also the field's reload.
#pragma once

#include <cstdint>

#include "base/Geometry.h"
#include "simulation/GoalStamp.h"

class DIBImage;
class RunReports;
class SharedState;
class World;

constexpr uint32_t kTrailColour = 0xFFA57B;        // light orange, a committed trail cell
constexpr uint32_t kStrongTrailColour = 0xFF6464;  // light red, a strong trail cell
constexpr uint32_t kGoalRimColour = 0xC0C0C0;      // the goal's light grey rim (also as COLORREF)
constexpr uint32_t kGoalDiscColour = 0x000000;

// The simulation thread's drawing of the world it is given, as the shared state says to show it.
class LensRenderer {
  public:
    // Neither is owned.
    LensRenderer(World& world, SharedState& shared) : world_(world), shared_(shared) {}
    LensRenderer(const LensRenderer&) = delete;
    LensRenderer& operator=(const LensRenderer&) = delete;

    // Composes the world's frame; also moves a thrown ball one frame on. Draws nothing while a
    // new background waits.
    void Compose();
    // The frame nobody sees (the magnifier is hidden): only what Compose moves on, the thrown
    // ball, moves on; nothing is drawn.
    void AdvanceUnseen();

    // Replaces the field (image, size, mask, canvas) with the picture kBuiltInBackground (the
    // dry leaves) or a BMP path, and reports the name: 1. A picture that cannot be loaded or is
    // narrower or lower than kMinFieldSide changes nothing and is not reported: 0, after a
    // message.
    int ReloadBackground(const char* name, RunReports& reports);

  private:
    void DrawGoal();
    void AdvanceBall(int w, int h);

    World& world_;
    SharedState& shared_;
    // The goal as GDI draws it, made at the first frame (the wide-pen ellipse costs more than
    // the rest of a frame's drawing) and copied where the goal stands; drawn directly should the
    // stamp not be made.
    GoalStamp goalStamp_;
    bool goalStampTried_ = false;
};

// A masked copy of a w x h sprite cut to the destination; nothing is read outside the sheet.
void DrawSprite(DIBImage* dest, int dx, int dy, int w, int h, const DIBImage* sheet, int sx, int sy,
                int mx, int my);
