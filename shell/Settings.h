// The five remembered settings (background, trails, z-order, frame wait, size) in kirelo.ini of the
// working directory: read once when the main window is created, written key by key on change.
// This class is the only reader and writer of the file; its sections and keys are named here
// alone.
#pragma once

#include <windows.h>

#include <cstdint>

#include "shell/SettingsPath.h"

class SharedState;
struct MainWindowState;
struct Program;

class Settings {
  public:
    // Loads the context menu, builds the path, reads the five keys, ticks the menu items, sets
    // the z-order and the frame wait, and gives the shared flags their start values.
    void Load(HWND mainWindow, HINSTANCE instance, MainWindowState& state, SharedState& shared);

    // Each saves one key at once; a failing write is ignored (the value stays in effect for this
    // run).
    void SaveBackground(const char* name) const;
    void SaveTrailsHidden(bool hidden) const;
    void SaveTopmost(bool topmost) const;
    void SaveFrameWait(bool on) const;
    // The size menu's choice (GlassScale::kAutomatic or 1..GlassScale::kLargestChoice).
    void SaveSizeChoice(int32_t choice) const;
    // Ticks the size menu's item of choice alone.
    static void TickSizeChoice(HMENU menu, int32_t choice);

    // Ticks (or clears) the context menu's item of command id.
    static void TickMenuItem(HMENU menu, UINT id, bool ticked);

    // The settings file; fixed by Load.
    const char* Path() const { return path_; }
    // Whether Path is the full path (false: the relative fallback for a working directory too
    // long for the 256-byte path).
    bool FullPath() const { return fullPath_; }

  private:
    void Write(const char* section, const char* key, const char* value) const;

    // Written once by Load, before the simulation thread starts (which saves a replaced
    // background through the shell's reports); only read afterwards.
    char path_[kSettingsPathBytes] = {};
    bool fullPath_ = false;
};

// The settings load of the main window's creation, for the program's app window.
void LoadSettings(Program& program);
