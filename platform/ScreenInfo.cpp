// The monitors' work areas, from the system.
#include "platform/ScreenInfo.h"

#include <windows.h>

#include <utility>

namespace {
ScreenRect FromRect(const RECT& r) {
    return {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top),
            static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<ScreenRect>*>(list);
        const ScreenRect work = FromRect(info.rcWork);
        if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
            areas.insert(areas.begin(), work);
        } else {
            areas.push_back(work);
        }
    }
    return TRUE;
}
}  // namespace

ScreenInfo::ScreenInfo(Reader reader) : reader_(reader) {
    Refresh();
}

void ScreenInfo::Refresh() {
    areas_ = reader_();
}

std::vector<ScreenRect> ScreenInfo::ReadMonitorWorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        // No monitor listed (a system without the call's support): the primary screen's work
        // area, as a single screen has always been seen.
        RECT work{};
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
            work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        }
        areas.push_back(FromRect(work));
    }
    return areas;
}
