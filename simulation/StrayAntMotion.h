// The stray ant on the desktop, as the simulation thread moves it: it walks the world's record and
// publishes the pose; the window thread places its windows (the walking ant and the heart).
#pragma once

#include <windows.h>

#include <cstdint>

class DesktopArea;
class SharedState;
class StrayAnt;
class World;
struct StrayAntPose;

class StrayAntMotion {
  public:
    // None is owned; each pose is announced to mainWindow.
    StrayAntMotion(World& world, SharedState& shared, HWND mainWindow)
        : world_(world), shared_(shared), mainWindow_(mainWindow) {}

    // Lets the stray ant out: it counts as one happy ant less, and the window of its cell is to
    // show at its place.
    void Release();
    // One frame while it is out: walk, rise as a heart, or, once the rise is over, hide
    // everything and end its outing.
    void Update();
    // One frame of the heart's rise, whatever the state (the closing seconds of a run).
    void RiseHeart();

  private:
    const DesktopArea& Desktop();
    void Publish(const StrayAntPose& pose);
    void Publish(int32_t kind, int32_t cell, const StrayAnt& ant);

    World& world_;
    SharedState& shared_;
    HWND mainWindow_;
};
