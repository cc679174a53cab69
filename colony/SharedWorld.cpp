// Storage of the shared world values; their start values are set by the simulation start-up.
#include "colony/SharedWorld.h"

SharedInt BallX{0};
SharedInt BallY{0};
SharedInt GoalX{0};
SharedInt GoalY{0};
SharedInt FieldWidth{0};
SharedInt FieldHeight{0};
SharedInt BallGrabbed{0};
SharedInt BallFlying{0};
SharedInt ArrivalSeen{0};
