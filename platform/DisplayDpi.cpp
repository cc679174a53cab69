#include "platform/DisplayDpi.h"

namespace {
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and ..._PER_MONITOR_AWARE, as the headers of older
// systems lack them.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kEffectiveDpi = 0;               // MDT_EFFECTIVE_DPI

using SetContextCall = BOOL(WINAPI*)(HANDLE);
using SetAwarenessCall = HRESULT(WINAPI*)(int);
using SetAwareCall = BOOL(WINAPI*)();
using WindowDpiCall = UINT(WINAPI*)(HWND);
using MonitorDpiCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// A function of a system library by name, or nothing where the system lacks it.
template <typename Call>
Call Find(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr) {
        module = LoadLibraryA(library);  // kept loaded for the life of the process
    }
    return module != nullptr
               ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

int32_t ScreenLogicalDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}
}  // namespace

void DisplayDpi::DeclareAwareness() {
    if (auto setContext = Find<SetContextCall>("user32.dll", "SetProcessDpiAwarenessContext")) {
        if (setContext(kPerMonitorV2) || setContext(kPerMonitor)) {
            return;
        }
    }
    if (auto setAwareness = Find<SetAwarenessCall>("shcore.dll", "SetProcessDpiAwareness")) {
        if (SUCCEEDED(setAwareness(kProcessPerMonitorDpiAware))) {
            return;
        }
    }
    if (auto setAware = Find<SetAwareCall>("user32.dll", "SetProcessDPIAware")) {
        setAware();
    }
}

int32_t DisplayDpi::OfWindow(HWND window) {
    UINT dpi = 0;
    if (auto forMonitor = Find<MonitorDpiCall>("shcore.dll", "GetDpiForMonitor")) {
        UINT dpiY = 0;
        HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
        if (FAILED(forMonitor(monitor, kEffectiveDpi, &dpi, &dpiY))) {
            dpi = 0;
        }
    }
    if (dpi == 0 && window != nullptr) {
        if (auto forWindow = Find<WindowDpiCall>("user32.dll", "GetDpiForWindow")) {
            dpi = forWindow(window);
        }
    }
    return dpi != 0 ? static_cast<int32_t>(dpi) : ScreenLogicalDpi();
}
