// The stray ant's windows as both threads count them: the simulation thread publishes which of
// them shows, the window thread makes, places and destroys them.
#pragma once

// The walking ant is one colour-keyed window that is moved and repainted with the cell of each
// frame; the heart it turns into is a second, heart-shaped window.
constexpr int kStrayWindowCount = 2;
constexpr int kStrayAntIndex = 0;
constexpr int kStrayHeartIndex = 1;
constexpr int kStrayAntCells = 16;  // sprite cells of the walking ant: heading * 2 + frame
