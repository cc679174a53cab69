// Run control shared between the window thread and the simulation thread: flags the window
// procedures set and the frame loop reads once per frame, and the counters both threads change.
#pragma once

#include <atomic>
#include <cstdint>

#include "colony/SharedWorld.h"

constexpr int kPathBytes = 256;
// The background name that stands for the built-in dry leaves (an exact, case-sensitive match).
constexpr char kBuiltInBackground[] = "Resource";

extern SharedInt SimulationRunning;  // the loop may continue
extern SharedInt ExitRequested;      // the user chose Exit
extern SharedInt SplashDone;         // the splash has been handed over
extern SharedInt FrameWaitMs;        // minimum frame period: 80 or 0
extern SharedInt HideTrails;         // trails are not drawn
extern SharedInt FollowBall;         // the lens view is centred on the ball
extern SharedInt ViewX;              // top-left field pixel of the free view
extern SharedInt ViewY;
extern SharedInt BallSpeed;          // pixels per frame of a thrown ball
extern SharedInt BallAngle;          // degrees, 0 right, 90 down
extern SharedInt HappyCount;         // happy ants, less one while the stray ant is out
extern SharedInt StrayAntActive;     // the stray ant is out
extern SharedInt HasFocus;           // the main window has the keyboard focus
extern SharedInt BackgroundChanged;  // a new background is waiting in BackgroundFileName
// Set by the window thread when the user lets go of the ball; the simulation thread rebuilds
// the field mask and resets ArrivalSeen at the top of its next frame, before any ant steps, so
// that the rebuild never runs under a step.
extern SharedInt MaskRebuildRequested;

// The name of the background to load (kBuiltInBackground or a BMP path). The window thread hands a
// new name over with RequestBackground (name, then BackgroundChanged := 1); the simulation thread
// takes it with TakeBackgroundRequest, which copies the name and clears BackgroundChanged in one
// step (false when no request waits). A tiny lock keeps a second drop from tearing the first.
void RequestBackground(const char* name);
bool TakeBackgroundRequest(char (&name)[kPathBytes]);
// The current name, as read from the settings (start-up) or last requested.
void GetBackgroundFileName(char (&name)[kPathBytes]);
void SetBackgroundFileName(const char* name);
