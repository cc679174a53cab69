// Moving the magnifier by its rim. A press alone never moves the window, so a click or a double
// click on the rim stays a click: the move starts only once the pointer has gone past the
// system's drag threshold with the button down, and from then on the window follows the pointer
// pixel for pixel, keeping the offset it had from the pointer at the press. The window's own
// move, not the system's move loop: under a window manager that loop is the manager's, and it
// swallows the second click of a double click. No windows.h here.
#pragma once

#include <cstdint>

class RimDrag {
  public:
    struct Point {
        int32_t x;
        int32_t y;
    };

    // A press on the rim: the pointer and the window's upper-left corner in screen coordinates,
    // and how far the pointer may stray on either side of the press before the move starts.
    void Press(Point pointer, Point corner, Point threshold);
    // The pointer moved with the button down; true when the window is to go to *corner.
    bool Move(Point pointer, Point* corner);
    // The button is up, or the pointer was taken away by another window: nothing is pressed.
    void End();
    bool Pressed() const { return pressed_; }
    bool Moving() const { return moving_; }

  private:
    Point press_{};
    Point corner_{};
    Point threshold_{};
    bool pressed_ = false;
    bool moving_ = false;
};
