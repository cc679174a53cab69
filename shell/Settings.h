// The four remembered settings (background, trails, z-order, frame wait) in kirelo.ini of the
// working directory: read once when the main window is created, written key by key on change.
#pragma once

#include <windows.h>

class Settings {
  public:
    // Loads the context menu, builds SettingsPath, reads the four keys, sets the check marks,
    // the z-order and the frame wait, and gives the shared flags their start values.
    static void Load(HWND mainWindow, HINSTANCE instance);
    // One key, at once, to SettingsPath; a failing write is ignored (the value stays in effect
    // for this run).
    static void Write(const char* section, const char* key, const char* value);
    // A check mark of the context menu, by command id.
    static void Check(UINT id, bool checked);
    // Whether SettingsPath is the full path (false: the relative fallback for a working
    // directory too long for the 256-byte path).
    static bool FullPath();

  private:
    static bool fullPath_;
};

// The settings load of the main window's creation, for the window of TheAppWindow.
void LoadSettings();
