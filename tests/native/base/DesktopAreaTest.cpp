// The desktop of several monitors: where the stray ant starts, how its walk keeps to the monitors
// and crosses between them, and that with one monitor all of it is the single screen's rule.
#include <gtest/gtest.h>

#include "base/DesktopArea.h"
#include "colony/Ant.h"
#include "colony/RandomGenerator.h"
#include "simulation/StrayAnt.h"

namespace {
constexpr int32_t kCell = 8;
const ScreenRect kSmall{0, 0, 1024, 768};
const ScreenRect kLarge{1024, 0, 2304, 800};
// The same pair with the smaller monitor on the right, and a larger one left of the primary.
const std::vector<ScreenRect> kSmallLeft{kSmall, kLarge};
const std::vector<ScreenRect> kSmallRight{{0, 0, 1280, 800}, {1280, 0, 2304, 768}};
const std::vector<ScreenRect> kNegative{kSmall, {-1280, 0, 0, 800}};

// Pixel by pixel, apart from the area's own cover test: the monitor that holds the whole cell,
// or 2 when only the two together do, or -1 when a pixel is on neither.
int Holder(const std::vector<ScreenRect>& areas, ScreenPoint p) {
    bool whole[2] = {true, true};
    for (int32_t y = p.y; y < p.y + kCell; ++y) {
        for (int32_t x = p.x; x < p.x + kCell; ++x) {
            bool in[2];
            for (int m = 0; m < 2; ++m) {
                const ScreenRect& a = areas[m];
                in[m] = x >= a.left && x < a.right && y >= a.top && y < a.bottom;
                whole[m] = whole[m] && in[m];
            }
            if (!in[0] && !in[1]) {
                return -1;
            }
        }
    }
    return whole[0] ? 0 : whole[1] ? 1 : 2;
}

TEST(DesktopAreaSingleScreen, StartAndWalkAreTheStrayAntsOwn) {
    RandomGenerator random;
    const ScreenRect screens[] = {{0, 0, 1024, 768}, {0, 0, 1920, 1080}, {0, 0, 300, 200},
                                  {0, 0, 8, 8},      {0, 0, 5, 30},      {0, 0, 0, 0}};
    for (const ScreenRect& s : screens) {
        const DesktopArea desk({s}, kCell);
        for (uint32_t seed = 1; seed <= 3000; ++seed) {
            random.Seed(seed);
            StrayAnt ant(s.right, s.bottom, random);
            random.Seed(seed);
            const int32_t d1 = random.Next();
            const int32_t d2 = random.Next();
            ASSERT_EQ(desk.StartPlace(d1, d2), (ScreenPoint{ant.x, ant.y}))
                << s.right << " " << seed;
            // Any place near or off the screen, then one step of the ant's own walk.
            const ScreenPoint prev{static_cast<int32_t>(seed * 7919 % (s.right + 41)) - 20,
                                   static_cast<int32_t>(seed * 104729 % (s.bottom + 41)) - 20};
            ant.x = prev.x;
            ant.y = prev.y;
            ant.direction = static_cast<int32_t>(seed % 8);
            random.Seed(seed);
            ant.Step(s.right, s.bottom, random);
            // The single screen keeps the cell on it only when it moves.
            ScreenPoint moved = prev;
            random.Seed(seed);
            if (random.Next() % 10 > 6) {
                continue;
            }
            Advance(ant.direction, moved.x, moved.y);
            ASSERT_EQ(desk.KeepOn(prev.x, prev.y, moved.x, moved.y), (ScreenPoint{ant.x, ant.y}))
                << s.right << "x" << s.bottom << " from " << prev.x << "," << prev.y;
        }
    }
}

struct Drive {
    const std::vector<ScreenRect>* areas;
    ScreenPoint from;
    int32_t heading;
    int steps;
    ScreenPoint to;
};

TEST(DesktopAreaWalk, CrossesBetweenMonitorsAndSlidesAlongTheGap) {
    const Drive drives[] = {
        {&kSmallLeft, {1000, 700}, 2, 100, {1100, 700}},  // across to the larger monitor
        {&kSmallLeft, {1100, 790}, 6, 200, {1024, 790}},  // stops at the gap below the smaller
        {&kSmallLeft, {1100, 700}, 5, 300, {1024, 792}},  // slides down the gap's side
        {&kSmallLeft, {1020, 700}, 3, 300, {1320, 792}},  // straddling, down and along the floor
        {&kSmallLeft, {1030, 792}, 7, 40, {1015, 752}},   // up the gap's side, then over it
        {&kSmallLeft, {1030, 760}, 6, 50, {980, 760}},    // back along the smaller one's floor
        {&kSmallRight, {1200, 790}, 2, 200, {1272, 790}},
        {&kSmallRight, {1200, 700}, 3, 200, {1272, 792}},
        {&kNegative, {5, 100}, 6, 100, {-95, 100}},
        {&kNegative, {-100, 792}, 2, 300, {-8, 792}},
    };
    for (const Drive& d : drives) {
        const DesktopArea desk(*d.areas, kCell);
        ScreenPoint p = d.from;
        for (int k = 0; k < d.steps; ++k) {
            ScreenPoint next = p;
            Advance(d.heading, next.x, next.y);
            p = desk.KeepOn(p.x, p.y, next.x, next.y);
            ASSERT_GE(Holder(*d.areas, p), 0) << p.x << "," << p.y;
        }
        EXPECT_EQ(p, d.to) << "from " << d.from.x << "," << d.from.y << " heading " << d.heading;
    }
}

TEST(DesktopAreaWalk, RandomWalksStayOnTheMonitorsAndVisitEach) {
    RandomGenerator random;
    const struct {
        const std::vector<ScreenRect>* areas;
        int32_t seam;
    } desktops[] = {{&kSmallLeft, 1024}, {&kSmallRight, 1280}, {&kNegative, 0}};
    for (const auto& desktop : desktops) {
        const std::vector<ScreenRect>* areas = desktop.areas;
        const DesktopArea desk(*areas, kCell);
        bool visited[3] = {false, false, false};
        for (uint32_t seed = 1; seed <= 8; ++seed) {
            random.Seed(seed);
            // Start beside the seam just above the gap, so walks of this length cross the one and
            // skirt the other.
            ScreenPoint p{desktop.seam - 16 + static_cast<int32_t>(seed) * 2, 750};
            int32_t heading = static_cast<int32_t>(seed % 8);
            for (int k = 0; k < 4000; ++k) {
                const int32_t r = random.Next() % 10;
                if (r == 0 || r >= 8) {
                    heading = TurnChoices[heading][random.Next() % 3];
                }
                ScreenPoint next = p;
                if (r <= 6) {
                    Advance(heading, next.x, next.y);
                }
                p = desk.KeepOn(p.x, p.y, next.x, next.y);
                const int m = Holder(*areas, p);
                ASSERT_GE(m, 0) << p.x << "," << p.y << " seed " << seed;
                visited[m] = true;
            }
        }
        EXPECT_TRUE(visited[0] && visited[1]);
    }
}

TEST(DesktopAreaStart, PlacesOnEveryMonitorAndMovesOutOfTheGap) {
    for (const auto* areas : {&kSmallLeft, &kSmallRight, &kNegative}) {
        const DesktopArea desk(*areas, kCell);
        int count[3] = {0, 0, 0};
        for (int32_t d1 = 0; d1 <= kRandomMax; d1 += 211) {
            for (int32_t d2 = 0; d2 <= kRandomMax; d2 += 331) {
                const ScreenPoint p = desk.StartPlace(d1, d2);
                const int m = Holder(*areas, p);
                ASSERT_GE(m, 0) << d1 << "," << d2;
                count[m] += 1;
            }
        }
        EXPECT_GT(count[0], 3000);
        EXPECT_GT(count[1], 3000);
    }
    // Bounds 2304 x 800: a draw is taken mod 2296 and mod 792, then moved to the nearest monitor.
    const DesktopArea desk(kSmallLeft, kCell);
    EXPECT_EQ(desk.StartPlace(100, 780), (ScreenPoint{100, 760}));       // below the smaller
    EXPECT_EQ(desk.StartPlace(1020, 785), (ScreenPoint{1024, 785}));     // half over the gap
    EXPECT_EQ(desk.StartPlace(2296 + 5, 792 + 9), (ScreenPoint{5, 9}));  // on the primary
    EXPECT_EQ(desk.StartPlace(2000, 790), (ScreenPoint{2000, 790}));     // on the larger
}

TEST(DesktopAreaGlass, ComesBackOntoTheNearestMonitorAndCentresOnItsOwn) {
    const DesktopArea desk(kSmallLeft, kCell);
    struct Case {
        ScreenRect glass;
        ScreenRect back;
    } cases[] = {
        {{3000, 100, 3300, 460}, {2004, 100, 2304, 460}},  // right of everything
        {{-900, -900, -600, -540}, {0, 0, 300, 360}},
        {{500, 900, 800, 1260}, {500, 408, 800, 768}},  // below both: the smaller is nearer
        {{1900, 900, 2200, 1260}, {1900, 440, 2200, 800}},
        {{500, 500, 800, 860}, {500, 500, 800, 860}},  // partly on a monitor: left alone
    };
    for (const Case& c : cases) {
        EXPECT_EQ(desk.BroughtBack(c.glass), c.back) << c.glass.left << "," << c.glass.top;
    }
    EXPECT_EQ(desk.NearestTo({1000, 100, 1300, 460}), 1u);  // more of it on the larger
    EXPECT_EQ(desk.CentreOn(1, 300, 360), (ScreenPoint{1024 + 490, 220}));
    // One monitor: as the glass is centred on the screen today, also when it does not fit.
    EXPECT_EQ(DesktopArea({kSmall}, kCell).CentreOn(0, 300, 360), (ScreenPoint{362, 204}));
    EXPECT_EQ(DesktopArea({{0, 0, 201, 100}}, kCell).CentreOn(0, 300, 360),
              (ScreenPoint{-49, -130}));
    EXPECT_EQ(DesktopArea(kNegative, kCell).Bounds(), (ScreenRect{-1280, 0, 1024, 800}));
}
}  // namespace
