// The stray ant on the desktop, as the simulation thread moves it: it walks the record and
// publishes the pose; the window thread places its windows (the walking ant and the heart).
#pragma once

// Lets the stray ant out: it counts as one happy ant less, and the window of its cell is to show
// at its place.
void ReleaseStrayAnt();
// One frame while it is out: walk, rise as a heart, or, once the rise is over, hide everything
// and end its outing.
void UpdateStrayAnt();
// One frame of the heart's rise, whatever the state (the closing seconds of a run).
void RiseStrayHeart();

// For the window thread, before it reads the pose: the next change posts a new request.
void AcknowledgeStrayPlacement();
