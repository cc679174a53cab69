// The images, windows and the stray-ant record that the window thread creates and the simulation
// thread draws into, moves and shows. Both threads hold a lease on them; the last one to let go
// frees them, so neither can touch a freed image or record whatever order the exit takes.
#pragma once

#include <windows.h>

#include "colony/SharedWorld.h"
#include "imaging/DIBImage.h"
#include "simulation/StrayAnt.h"

// The two private messages of the main window: the simulation thread's splash hand-over, and the
// tray icon's events. Macros, like the system's own WM_ values they are built from.
#ifndef WM_SPLASHEND
#define WM_SPLASHEND (WM_USER + 100)
#endif
#ifndef WM_TRAYNOTIFY
#define WM_TRAYNOTIFY (WM_USER + 200)
#endif

constexpr int kStrayWindowCount = 17;  // sixteen ant cells, then the heart
constexpr int kStrayHeartIndex = 16;

extern DIBImage* FrameImage;      // 300 x 360, what the main window shows
extern DIBImage* FieldCanvas;     // field-sized working picture
extern DIBImage* FieldImage;      // the background as loaded
extern DIBImage* MagnifierImage;  // bitmap 126: picture over mask
extern DIBImage* AntSprites;      // bitmap 107
extern DIBImage* BallImage;       // bitmap 108
extern DIBImage* HeartImage;      // bitmap 115

extern HWND MainWindow;                       // not owned
extern HWND StrayWindows[kStrayWindowCount];  // not owned: destroyed by the Exit command
extern StrayAnt* StrayAntRecord;

// 1 once WinMain has created the stray-ant record, its windows and their shapes; the simulation
// thread lets the stray ant out only after that.
extern SharedInt ShellReady;

// Makes the seven images: the frame (300 x 360, 32 bits) with the magnifier already laid into it
// where its mask is not white, the field canvas at 32 bits, the magnifier loaded, and the field,
// sprites, ball and heart empty for the simulation thread to load.
void CreateWorldImages();

// Each thread calls this once when it will touch the images and the record no more; the second
// call frees them (and nulls the pointers).
void ReleaseWorldLease();
// Gives both threads their lease again, for a new set of images (tests that run the thread more
// than once in one process).
void ResetWorldLease();
