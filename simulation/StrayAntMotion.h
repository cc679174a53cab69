// The stray ant on the desktop, as the simulation thread shows it: one small topmost window per
// sprite cell (moved, never reshaped) and one heart window.
#pragma once

// Lets the stray ant out: it counts as one happy ant less, and the window of its cell shows at
// its place.
void ReleaseStrayAnt();
// One frame while it is out: walk, rise as a heart, or, once the rise is over, hide everything
// and end its outing.
void UpdateStrayAnt();
// One frame of the heart's rise, whatever the state (the closing seconds of a run).
void RiseStrayHeart();
