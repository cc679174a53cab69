// State of the window side of the program: the menu, the cursors, the pointer and window flags,
// the splash and the simulation thread, and the private messages. Window thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "simulation/SharedImages.h"  // WM_SPLASHEND and WM_TRAYNOTIFY, shared with the thread

constexpr int kFrameWidth = 300;  // the magnifier window
constexpr int kFrameHeight = 360;
constexpr int kSplashSide = 100;
constexpr uint32_t kKeyColour = 0x00FF84;  // the outside of the shape bitmaps, as a pixel
constexpr DWORD kExitWaitMs = 500;         // how long Exit waits for the simulation thread

extern const char kMainClassName[];  // also the name of the instance mutex
extern const char kSplashClassName[];
extern const char kStrayClassName[];

extern HMENU AppMenu;             // owned: destroyed at WM_DESTROY
extern HCURSOR StickCursor;       // not owned: a resource of the module
extern HCURSOR BinocularsCursor;  // not owned
extern int WindowShown;           // the window is meant to be visible
extern int Topmost;               // the window stays above all others
extern int PointerOverRim;        // the last pointer position was on the rim
extern int PanDragging;           // a pan is under way
extern int16_t LastPointerX;      // client coordinates of the last recorded pointer position
extern int16_t LastPointerY;
extern DWORD GrabTick;              // tick of the first move after the ball was grabbed
extern HRGN RimRegion;              // not owned: WinMain's, deleted after the message loop
extern HWND SplashWindow;           // not owned: destroyed on WM_SPLASHEND
extern HANDLE SimulationThread;     // owned: closed at WM_DESTROY
extern UINT TaskbarCreatedMessage;  // sent to top-level windows when the taskbar (re)starts

// The procedure the main window starts as its simulation thread (SimulationThreadProc unless a
// test puts a stand-in here before creating the window).
extern LPTHREAD_START_ROUTINE SimulationEntry;
// The millisecond clock of the throw (GetTickCount unless a test sets its own).
extern DWORD(WINAPI* ShellTickCount)();

// Called from WM_DESTROY: deletes TheScreen and TheAppWindow when the simulation thread has
// ended, and otherwise keeps them for FinishShell, because the thread may still read them.
void ReleaseShellObjects();

// After the message loop: waits up to waitMs for the simulation thread, then deletes what
// WM_DESTROY had to keep. Returns false when the thread is still running (then nothing the
// thread can read has been freed).
bool FinishShell(DWORD waitMs);

// For WM_CREATE: keeps a second handle of the thread for FinishShell.
void KeepThreadForFinish(HANDLE thread);
