// Values of the ant world that the window thread and the simulation thread both see: the ball,
// the goal, the field size and the throw flags. Each is one atomic 32-bit word.
#pragma once

#include <atomic>
#include <cstdint>

using SharedInt = std::atomic<int32_t>;

extern SharedInt BallX;  // centre of the ball, the ants' home, field pixels
extern SharedInt BallY;
extern SharedInt GoalX;  // centre of the goal circle (radius 20)
extern SharedInt GoalY;
extern SharedInt FieldWidth;  // size of the current background picture
extern SharedInt FieldHeight;
extern SharedInt BallGrabbed;  // 0 idle, 1 pressed on the ball, 2 aiming
extern SharedInt BallFlying;   // 1 while a thrown ball moves
extern SharedInt ArrivalSeen;  // 0: every arrival commits its trail; 1: one in five
