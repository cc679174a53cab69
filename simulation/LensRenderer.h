// What the lens shows: each frame is drawn onto the field-sized canvas around the part in view,
// copied into the magnifier picture and overlaid with the magnifier. Also the field's reload.
#pragma once

#include <cstdint>

#include "base/Geometry.h"

class DIBImage;
class RunReports;

constexpr uint32_t kTrailColour = 0xFFA57B;        // light orange, a committed trail cell
constexpr uint32_t kStrongTrailColour = 0xFF6464;  // light red, a strong trail cell
constexpr uint32_t kGoalRimColour = 0xC0C0C0;      // the goal's light grey rim (also as COLORREF)
constexpr uint32_t kGoalDiscColour = 0x000000;

// Composes TheWorld.frame from the world; also moves a thrown ball one frame on. Draws nothing
// while a new background waits.
void ComposeFrame();
// The frame nobody sees (the magnifier is hidden): only what ComposeFrame moves on, the thrown
// ball, moves on; nothing is drawn.
void AdvanceUnseenFrame();

// Replaces the field (image, size, mask, canvas) with the picture kBuiltInBackground (the dry
// leaves) or a BMP path, and reports the name: 1. A picture that cannot be loaded or is narrower
// or lower than kMinFieldSide changes nothing and is not reported: 0, after a message.
int ReloadBackground(const char* name, RunReports& reports);

// A masked copy of a w x h sprite cut to the destination; nothing is read outside the sheet.
void DrawSprite(DIBImage* dest, int dx, int dy, int w, int h, const DIBImage* sheet, int sx, int sy,
                int mx, int my);
