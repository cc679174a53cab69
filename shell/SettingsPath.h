// Where the settings file lives: "kirelo.ini" in the working directory. Portable, so that the
// length rule is tested without Windows.
#pragma once

#include <cstddef>

constexpr size_t kSettingsPathBytes = 256;
constexpr const char* kSettingsFileName = "kirelo.ini";
// Used when the directory is unknown or the full path would not fit: still the working
// directory (a name with a directory part is not looked up in the Windows directory).
constexpr const char* kRelativeSettingsPath = ".\\kirelo.ini";

// Writes directory + "\" + "kirelo.ini" into path and returns true when it fits the buffer with
// its terminator; otherwise (or for a null or empty directory) writes the relative fallback and
// returns false. Never writes past kSettingsPathBytes.
bool ComposeSettingsPath(const char* directory, char (&path)[kSettingsPathBytes]);
