// The walk's edge rule over several monitors. With one monitor every answer equals the single
// screen's rule: below the near edge the cell goes to the edge, at or past the far edge it stops
// one cell short of it.
#include "base/DesktopArea.h"

#include <algorithm>
#include <utility>

namespace {
// The single screen's clamp, tests in its order: a screen narrower than the cell ends at
// side - cell, which may be left of the near edge.
int32_t KeepWithin(int64_t value, int64_t low, int64_t high, int64_t cell) {
    if (value < low) {
        return static_cast<int32_t>(low);
    }
    return static_cast<int32_t>(std::min(value, high - cell));
}

// The start's clamp: a start on a screen narrower than the cell stays at the near edge.
int32_t PlaceWithin(int64_t value, int64_t low, int64_t high, int64_t size) {
    return static_cast<int32_t>(std::max(low, std::min(value, high - size)));
}

int64_t Gap(int64_t lowA, int64_t highA, int64_t lowB, int64_t highB) {
    return std::max<int64_t>({0, lowB - highA, lowA - highB});
}
}  // namespace

DesktopArea::DesktopArea(std::vector<ScreenRect> workAreas, int32_t cellSide)
    : areas_(std::move(workAreas)), cellSide_(cellSide) {
    if (areas_.empty()) {
        areas_.push_back(ScreenRect{});
    }
}

ScreenRect DesktopArea::Bounds() const {
    ScreenRect box = areas_.front();
    for (const ScreenRect& a : areas_) {
        box = {std::min(box.left, a.left), std::min(box.top, a.top), std::max(box.right, a.right),
               std::max(box.bottom, a.bottom)};
    }
    return box;
}

bool DesktopArea::Covers(const ScreenRect& rect) const {
    return CoversFrom(rect, 0);
}

// Takes away the first area the rectangle overlaps and asks the others to cover what is left,
// as up to four bands around it.
bool DesktopArea::CoversFrom(const ScreenRect& rect, size_t first) const {
    if (rect.IsEmpty()) {
        return true;
    }
    for (size_t i = first; i < areas_.size(); ++i) {
        const ScreenRect cut = rect.Intersection(areas_[i]);
        if (cut.IsEmpty()) {
            continue;
        }
        const ScreenRect rest[] = {{rect.left, rect.top, rect.right, cut.top},
                                   {rect.left, cut.bottom, rect.right, rect.bottom},
                                   {rect.left, cut.top, cut.left, cut.bottom},
                                   {cut.right, cut.top, rect.right, cut.bottom}};
        for (const ScreenRect& part : rest) {
            if (!CoversFrom(part, i + 1)) {
                return false;
            }
        }
        return true;
    }
    return false;
}

ScreenRect DesktopArea::CellAt(int32_t x, int32_t y) const {
    return {x, y, static_cast<int32_t>(static_cast<int64_t>(x) + cellSide_),
            static_cast<int32_t>(static_cast<int64_t>(y) + cellSide_)};
}

ScreenPoint DesktopArea::StartPlace(int32_t draw1, int32_t draw2) const {
    const ScreenRect box = Bounds();
    // A box no wider than the cell still takes its draw, so the sequence keeps its order.
    const int64_t spanX = std::max<int64_t>(1, box.Width() - cellSide_);
    const int64_t spanY = std::max<int64_t>(1, box.Height() - cellSide_);
    const ScreenPoint drawn{static_cast<int32_t>(box.left + draw1 % spanX),
                            static_cast<int32_t>(box.top + draw2 % spanY)};
    if (CellFits(drawn.x, drawn.y)) {
        return drawn;
    }
    const ScreenRect& a = areas_[NearestTo(CellAt(drawn.x, drawn.y))];
    return {PlaceWithin(drawn.x, a.left, a.right, cellSide_),
            PlaceWithin(drawn.y, a.top, a.bottom, cellSide_)};
}

ScreenPoint DesktopArea::KeepOn(int32_t prevX, int32_t prevY, int32_t x, int32_t y) const {
    // The part of the move that would leave the monitors is given up, the vertical first, so
    // the cell slides along an edge, and along a gap, as it does at a single screen's edge.
    const ScreenPoint tries[] = {{x, y}, {x, prevY}, {prevX, y}, {prevX, prevY}};
    for (const ScreenPoint& p : tries) {
        if (CellFits(p.x, p.y)) {
            return p;
        }
    }
    // It was off the monitors already (a monitor went away, or is too small for the cell).
    const ScreenRect& a = areas_[NearestTo(CellAt(prevX, prevY))];
    return {KeepWithin(x, a.left, a.right, cellSide_), KeepWithin(y, a.top, a.bottom, cellSide_)};
}

size_t DesktopArea::NearestTo(const ScreenRect& rect) const {
    size_t best = 0;
    int64_t bestDistance = -1;
    int64_t bestOverlap = 0;
    for (size_t i = 0; i < areas_.size(); ++i) {
        const ScreenRect& a = areas_[i];
        const int64_t dx = Gap(rect.left, rect.right, a.left, a.right);
        const int64_t dy = Gap(rect.top, rect.bottom, a.top, a.bottom);
        const int64_t distance = dx * dx + dy * dy;
        const ScreenRect cut = rect.Intersection(a);
        const int64_t overlap = cut.IsEmpty() ? 0 : cut.Width() * cut.Height();
        if (bestDistance < 0 || distance < bestDistance ||
            (distance == bestDistance && overlap > bestOverlap)) {
            best = i;
            bestDistance = distance;
            bestOverlap = overlap;
        }
    }
    return best;
}

ScreenRect DesktopArea::BroughtBack(const ScreenRect& rect) const {
    for (const ScreenRect& a : areas_) {
        if (rect.Overlaps(a)) {
            return rect;
        }
    }
    const ScreenRect& a = areas_[NearestTo(rect)];
    const int32_t x = PlaceWithin(rect.left, a.left, a.right, rect.Width());
    const int32_t y = PlaceWithin(rect.top, a.top, a.bottom, rect.Height());
    return {x, y, static_cast<int32_t>(x + rect.Width()), static_cast<int32_t>(y + rect.Height())};
}

ScreenPoint DesktopArea::CentreOn(size_t monitor, int32_t width, int32_t height) const {
    const ScreenRect& a = areas_[std::min(monitor, areas_.size() - 1)];
    return {static_cast<int32_t>(a.left + (a.Width() - width) / 2),
            static_cast<int32_t>(a.top + (a.Height() - height) / 2)};
}
