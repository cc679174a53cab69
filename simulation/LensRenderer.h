// What the lens shows: each frame is drawn onto the field-sized canvas around the part in view,
// copied into the magnifier picture and overlaid with the magnifier. Also the field's reload.
#pragma once

#include <cstdint>

class DIBImage;

constexpr uint32_t kTrailColour = 0xFFA57B;        // light orange, a committed trail cell
constexpr uint32_t kStrongTrailColour = 0xFF6464;  // light red, a strong trail cell
constexpr uint32_t kGoalRimColour = 0xC0C0C0;      // the goal's light grey rim (also as COLORREF)
constexpr uint32_t kGoalDiscColour = 0x000000;
constexpr uint32_t kSpriteKey = 0xFFFFFF;  // white in a mask: not drawn
constexpr int kLensLeft = 20;              // the view lands at (20, 20) of the frame
constexpr int kLensTop = 20;

// Composes FrameImage from the world; also moves a thrown ball one frame on. Draws nothing
// while a new background waits.
void ComposeFrame();
// The frame nobody sees (the magnifier is hidden): only what ComposeFrame moves on, the thrown
// ball, moves on; nothing is drawn.
void AdvanceUnseenFrame();

// Replaces the field (image, size, mask, canvas) with the picture "Resource" (the built-in dry
// leaves) or a BMP path, and records the name in the settings file: 1. A picture that cannot be
// loaded or is narrower or lower than 200 pixels changes nothing: 0, after a message.
int ReloadBackground(const char* name);

// A masked copy of a w x h sprite cut to the destination; nothing is read outside the sheet.
void DrawSprite(DIBImage* dest, int dx, int dy, int w, int h, const DIBImage* sheet, int sx, int sy,
                int mx, int my);
