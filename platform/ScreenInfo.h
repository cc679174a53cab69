// The desktop as the system reports it: the work areas of every monitor, primary first, read at
// construction and again at each Refresh (the window thread calls it when the monitors or their
// work areas change).
#pragma once

#include <cstdint>
#include <vector>

#include "base/DesktopArea.h"
#include "base/ScreenRect.h"

class ScreenInfo {
  public:
    using Reader = std::vector<ScreenRect> (*)();

    // reader is where the work areas come from: the system's monitors, or a test's own desktop.
    explicit ScreenInfo(Reader reader = &ReadMonitorWorkAreas);

    void Refresh();
    const std::vector<ScreenRect>& WorkAreas() const { return areas_; }
    // The desktop for a square window of cellSide pixels (the stray ant's).
    DesktopArea Desktop(int32_t cellSide) const { return DesktopArea(areas_, cellSide); }

    // EnumDisplayMonitors with GetMonitorInfo: the primary monitor's work area first, the
    // others in the order the system lists them.
    static std::vector<ScreenRect> ReadMonitorWorkAreas();

  private:
    Reader reader_;
    std::vector<ScreenRect> areas_;
};
