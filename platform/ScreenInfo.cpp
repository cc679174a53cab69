// Screen metrics of the primary display.
#include "platform/ScreenInfo.h"

#include <windows.h>

ScreenInfo* TheScreen = nullptr;

int ScreenInfo::GetScreenWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenInfo::GetScreenHeight() const { return GetSystemMetrics(SM_CYSCREEN); }
