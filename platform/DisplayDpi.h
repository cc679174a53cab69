// The DPI of the monitors, asked of whichever calls the system has: the per-monitor ones where
// they exist (Windows 8.1 and 10), the screen's logical pixels otherwise.
#pragma once

#include <windows.h>

#include <cstdint>

class DisplayDpi {
  public:
    // Tells the system this process draws for each monitor's DPI itself, at run time, for a
    // system that ignores the manifest's word on it: the newest call it has wins; a refusal
    // (already set, or not supported) changes nothing and is harmless.
    static void DeclareAwareness();

    // The DPI of the monitor that holds most of window (the primary one for no window).
    static int32_t OfWindow(HWND window);
};
