// The rim drag's arithmetic: the threshold as the system's drag detection has it (a pointer that
// stays within the threshold on either side of the press has not dragged), then plain offsets.
#include "shell/RimDrag.h"

#include <cstdlib>

void RimDrag::Press(Point pointer, Point corner, Point threshold) {
    press_ = pointer;
    corner_ = corner;
    threshold_ = threshold;
    pressed_ = true;
    moving_ = false;
}

bool RimDrag::Move(Point pointer, Point* corner) {
    if (!pressed_) {
        return false;
    }
    const int32_t dx = pointer.x - press_.x;
    const int32_t dy = pointer.y - press_.y;
    if (!moving_ && std::abs(dx) <= threshold_.x && std::abs(dy) <= threshold_.y) {
        return false;
    }
    moving_ = true;
    *corner = {corner_.x + dx, corner_.y + dy};
    return true;
}

void RimDrag::End() {
    pressed_ = false;
    moving_ = false;
}
