// Storage of the window thread's own state and of the pointer's.
// The values are the ones the program starts with; the settings load changes some of them.
#include "shell/PointerState.h"
#include "shell/ShellWindowState.h"

const char kMainClassName[] = "「Kirelo」";
const char kSplashClassName[] = "スプラッシュウインドウ";
const char kStrayClassName[] = "はぐれありさん";

UniqueMenu AppMenu;
HCURSOR StickCursor = nullptr;
HCURSOR BinocularsCursor = nullptr;
int WindowShown = 1;
int Topmost = 0;
HRGN RimRegion = nullptr;
HWND SplashWindow = nullptr;
UINT TaskbarCreatedMessage = 0;

int PointerOverRim = 1;
int PanDragging = 0;
int16_t LastPointerX = 0;
int16_t LastPointerY = 0;
DWORD GrabTick = 0;
DWORD(WINAPI* ShellTickCount)() = &GetTickCount;
