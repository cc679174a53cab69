// How a new frame reaches the screen: the simulation thread posts a notice to the main window,
// and the window thread paints the lens square from FrameImage when it takes the notice.
#pragma once

#include <windows.h>

// Posts WM_FRAMEREADY unless one is already waiting. Posting never waits for the window thread
// (a send and a BeginPaint cost several trips to the Wine server each frame, and the window
// thread may be in a message box); a frame that comes while a notice waits is painted by it.
void PostFrameNotice(HWND window);
// For the window thread, before it paints: the next frame posts a new notice.
void AcknowledgeFrameNotice();
