// Storage and lifetime of the simulation thread's world.
#include "simulation/SimulationWorld.h"

FieldMask* TheFieldMask = nullptr;
AntColony* Ants = nullptr;
HeartList* Hearts = nullptr;

void CreateWorld() {
    DestroyWorld();
    TheFieldMask = new FieldMask();
    Ants = new AntColony();
    Hearts = new HeartList();
}

void DestroyWorld() {
    delete Ants;
    Ants = nullptr;
    delete Hearts;
    Hearts = nullptr;
    delete TheFieldMask;
    TheFieldMask = nullptr;
}
