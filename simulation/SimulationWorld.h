// The world the simulation thread owns from its start-up to its teardown: the field mask, the
// colony and the hearts. Only that thread (or a test standing in for it) touches them.
#pragma once

#include "colony/AntColony.h"
#include "colony/FieldMask.h"
#include "simulation/HeartList.h"

extern FieldMask* TheFieldMask;  // one byte per field pixel: walkable, blocked, trail
extern AntColony* Ants;          // fifty ants; the first never walks
extern HeartList* Hearts;        // heart i belongs to ant i

// Creates an empty mask, colony and heart list (freeing any left from before).
void CreateWorld();
// Frees the colony, the hearts and the mask.
void DestroyWorld();
