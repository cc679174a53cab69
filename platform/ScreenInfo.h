// The primary screen's size, read anew at every call.
#pragma once

class ScreenInfo {
public:
    ScreenInfo() = default;
    int GetScreenWidth() const;
    int GetScreenHeight() const;
};

// The program's one instance, created at start-up before any window.
extern ScreenInfo* TheScreen;
