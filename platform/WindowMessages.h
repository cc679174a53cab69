// The program's own window messages, all in one table: each is sent or posted to the main window,
// whose procedure handles it. They share the WM_USER range of the main window's class, so the
// checks below keep any two from meeting.
#pragma once

#include <windows.h>

// Sent once by the simulation thread after the first frame and the splash pause: the window
// thread closes the splash and shows the magnifier.
constexpr UINT WM_SPLASHEND = WM_USER + 100;
// Posted by the simulation thread when the stray ant's pose changed; at most one waits in the
// queue, and its handler places the windows from the newest pose.
constexpr UINT WM_STRAYMOVED = WM_USER + 101;
// Posted by a thread that owns no window and needs a message box: carries the request (lParam)
// to the main window's thread, which shows the box on its behalf (MessageHandOff).
constexpr UINT WM_SHOWBOX = WM_USER + 102;
// Posted by the simulation thread after each frame it composed while the magnifier shows; at
// most one waits in the queue, and its handler paints the lens from the newest frame.
constexpr UINT WM_FRAMEREADY = WM_USER + 103;
// Posted by a second start of the program to the running one's main window (found by its class
// name): the user asked for the magnifier, so it comes forward.
constexpr UINT WM_SECONDSTART = WM_USER + 104;
// Tray icon events, from the shell's notification area.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 200;

namespace window_messages {
constexpr UINT kAll[] = {WM_SPLASHEND,  WM_STRAYMOVED,  WM_SHOWBOX,
                         WM_FRAMEREADY, WM_SECONDSTART, WM_TRAYNOTIFY};

constexpr bool AllDistinct() {
    for (size_t i = 0; i < sizeof kAll / sizeof kAll[0]; ++i) {
        for (size_t j = i + 1; j < sizeof kAll / sizeof kAll[0]; ++j) {
            if (kAll[i] == kAll[j]) {
                return false;
            }
        }
    }
    return true;
}

constexpr bool AllPrivate() {
    for (UINT message : kAll) {
        if (message < WM_USER || message >= WM_APP) {
            return false;
        }
    }
    return true;
}
}  // namespace window_messages

static_assert(window_messages::AllDistinct(), "two of the program's window messages collide");
static_assert(window_messages::AllPrivate(),
              "the program's window messages belong to the main window's WM_USER range");
