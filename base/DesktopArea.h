// The desktop as the stray ant and the glass see it: the work areas of every monitor, in
// virtual-screen pixels, the primary first. The ant is a square cell that must stay wholly on
// some monitor; the union of the work areas may have gaps (below a smaller monitor, say) that it
// never enters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/ScreenPoint.h"
#include "base/ScreenRect.h"

class DesktopArea {
  public:
    // The work areas, primary first; an empty list stands for one empty area at the origin, so
    // that every answer below still has a monitor to refer to. cellSide is the ant's window side.
    DesktopArea(std::vector<ScreenRect> workAreas, int32_t cellSide);
    virtual ~DesktopArea() = default;

    const std::vector<ScreenRect>& WorkAreas() const { return areas_; }
    ScreenRect Bounds() const;
    // Whether the union of the work areas covers the rectangle wholly.
    bool Covers(const ScreenRect& rect) const;

    // The ant's first place from two draws of the generator, spread over the bounding box as a
    // single screen spreads them over itself; a place whose cell is not wholly on the monitors is
    // moved onto the nearest one, without a further draw, so a seeded run keeps its sequence.
    ScreenPoint StartPlace(int32_t draw1, int32_t draw2) const;
    // Where the cell ends after a one-pixel move from (prevX, prevY) to (x, y).
    ScreenPoint KeepOn(int32_t prevX, int32_t prevY, int32_t x, int32_t y) const;

    // The monitor closest to the rectangle; among those it overlaps, the one it overlaps most;
    // the earlier in the list on a tie.
    size_t NearestTo(const ScreenRect& rect) const;
    // The rectangle itself while any part of it is on a monitor; otherwise moved, size kept,
    // onto the nearest monitor (its top left corner there when it is larger than the monitor).
    ScreenRect BroughtBack(const ScreenRect& rect) const;
    // The top left corner that centres a width x height window on the monitor, rounding as a
    // plain halving of the spare room does.
    ScreenPoint CentreOn(size_t monitor, int32_t width, int32_t height) const;

  private:
    ScreenRect CellAt(int32_t x, int32_t y) const;
    bool CellFits(int32_t x, int32_t y) const { return Covers(CellAt(x, y)); }
    bool CoversFrom(const ScreenRect& rect, size_t first) const;

    std::vector<ScreenRect> areas_;
    int32_t cellSide_;
};
