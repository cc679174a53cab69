// The five remembered settings (background, trails, z-order, frame wait, size) in kirelo.ini of the
// working directory: read once when the main window is created, written key by key on change.
// This class is the only reader and writer of the file; its sections and keys are named here
// alone.
#pragma once

#include <windows.h>

#include <cstdint>

class SharedState;
struct MainWindowState;
struct Program;

class Settings {
  public:
    // Loads the context menu, builds the path, reads the five keys, ticks the menu items, sets
    // the z-order and the frame wait, and gives the shared flags their start values.
    static void Load(HWND mainWindow, HINSTANCE instance, MainWindowState& state,
                     SharedState& shared);

    // Each saves one key at once; a failing write is ignored (the value stays in effect for this
    // run).
    static void SaveBackground(const char* name);
    static void SaveTrailsHidden(bool hidden);
    static void SaveTopmost(bool topmost);
    static void SaveFrameWait(bool on);
    // The size menu's choice (GlassScale::kAutomatic or 1..GlassScale::kLargestChoice).
    static void SaveSizeChoice(int32_t choice);
    // Ticks the size menu's item of choice alone.
    static void TickSizeChoice(HMENU menu, int32_t choice);

    // Ticks (or clears) the context menu's item of command id.
    static void TickMenuItem(HMENU menu, UINT id, bool ticked);

    // The settings file; fixed by Load.
    static const char* Path();
    // Whether Path is the full path (false: the relative fallback for a working directory too
    // long for the 256-byte path).
    static bool FullPath();

  private:
    static void Write(const char* section, const char* key, const char* value);
};

// The settings load of the main window's creation, for the program's app window.
void LoadSettings(Program& program);
