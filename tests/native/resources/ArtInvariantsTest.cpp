// Checks the committed pictures in resources/art for the faults that would show in the toy: wrong
// file layout, masks that are not pure black/white, shape bitmaps that disagree with the masks,
// unreadable ants, a ball that is no disc, a magnifier whose window shape and picture disagree,
// a field that is flat or too dark, icons and cursors with the wrong sizes or hot spots.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
    bool operator<(const Rgb& o) const { return r != o.r ? r < o.r : g != o.g ? g < o.g : b < o.b; }
    int Luma() const { return (r * 299 + g * 587 + b * 114) / 1000; }
};

const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};
const Rgb kKey{0, 255, 132};

std::vector<uint8_t> ReadFile(const std::string& name) {
    std::ifstream in(std::string(KIRELO_ART_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t U32(const std::vector<uint8_t>& d, size_t o) {
    return d[o] | (d[o + 1] << 8) | (d[o + 2] << 16) | (static_cast<uint32_t>(d[o + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& d, size_t o) { return static_cast<uint16_t>(d[o] | (d[o + 1] << 8)); }

// A decoded 4-bit picture: palette indices and colours, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::array<Rgb, 16> palette{};
    std::vector<uint8_t> index;
    int At(int x, int y) const { return index[static_cast<size_t>(y) * width + x]; }
    Rgb Colour(int x, int y) const { return palette[At(x, y)]; }
};

// Reads a 4-bit palette image whose BITMAPINFOHEADER starts at `info`, pixels at `bits`.
Picture Decode4(const std::vector<uint8_t>& d, size_t info, size_t bits, int w, int h) {
    Picture p;
    p.width = w;
    p.height = h;
    for (int i = 0; i < 16; ++i) {
        size_t o = info + 40 + 4 * i;
        p.palette[i] = Rgb{d[o + 2], d[o + 1], d[o]};
    }
    size_t stride = ((static_cast<size_t>(w) * 4 + 31) / 32) * 4;
    p.index.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        size_t row = bits + static_cast<size_t>(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            uint8_t byte = d[row + x / 2];
            p.index[static_cast<size_t>(y) * w + x] = (x % 2 == 0) ? (byte >> 4) : (byte & 15);
        }
    }
    return p;
}

// Loads resources/art/<id>.bmp, checking every header field the program relies on.
Picture LoadBmp(int id, int w, int h) {
    const std::string name = std::to_string(id) + ".bmp";
    std::vector<uint8_t> d = ReadFile(name);
    Picture none;
    EXPECT_GE(d.size(), 118u) << name;
    if (d.size() < 118) return none;
    EXPECT_EQ(d[0], 'B') << name;
    EXPECT_EQ(d[1], 'M') << name;
    EXPECT_EQ(U32(d, 2), d.size()) << name << ": bfSize";
    EXPECT_EQ(U32(d, 10), 118u) << name << ": pixels right after the 16-entry colour table";
    EXPECT_EQ(U32(d, 14), 40u) << name << ": BITMAPINFOHEADER";
    EXPECT_EQ(static_cast<int32_t>(U32(d, 18)), w) << name << ": width";
    EXPECT_EQ(static_cast<int32_t>(U32(d, 22)), h) << name << ": height (bottom-up, positive)";
    EXPECT_EQ(U16(d, 26), 1) << name << ": planes";
    EXPECT_EQ(U16(d, 28), 4) << name << ": 4 bits per pixel";
    EXPECT_EQ(U32(d, 30), 0u) << name << ": BI_RGB";
    uint32_t used = U32(d, 46);
    EXPECT_TRUE(used == 0 || used == 16) << name << ": biClrUsed " << used;
    size_t stride = ((static_cast<size_t>(w) * 4 + 31) / 32) * 4;
    EXPECT_EQ(d.size(), 118 + stride * h) << name << ": file size";
    if (d.size() != 118 + stride * h) return none;
    return Decode4(d, 14, 118, w, h);
}

bool Opaque(const Picture& mask, int x, int y) { return mask.Colour(x, y) == kBlack; }

void ExpectPureMask(const Picture& p, int y0, int y1, const char* what) {
    int bad = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.Colour(x, y) != kWhite && p.Colour(x, y) != kBlack) ++bad;
    EXPECT_EQ(bad, 0) << what << ": mask pixels that are neither white nor black";
}

class AntSheet : public ::testing::Test {
protected:
    void SetUp() override {
        ants = LoadBmp(107, 128, 16);
        shapes = LoadBmp(128, 128, 8);
        ASSERT_EQ(ants.width, 128);
        ASSERT_EQ(shapes.width, 128);
    }
    bool CellOpaque(int k, int x, int y) const { return Opaque(ants, 8 * k + x, 8 + y); }
    Picture ants;
    Picture shapes;
};

TEST_F(AntSheet, MasksArePureBlackAndWhite) { ExpectPureMask(ants, 8, 16, "107"); }

TEST_F(AntSheet, KeyColourSheetMatchesTheMasksPixelForPixel) {
    for (int k = 0; k < 16; ++k)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int px = 8 * k + x;
                const bool opaque = CellOpaque(k, x, y);
                const Rgb s = shapes.Colour(px, y);
                if (opaque) {
                    EXPECT_NE(s, kKey) << "cell " << k << " (" << x << "," << y << ")";
                    EXPECT_EQ(s, ants.Colour(px, y)) << "cell " << k << " (" << x << "," << y << ")";
                } else {
                    EXPECT_EQ(s, kKey) << "cell " << k << " (" << x << "," << y << ")";
                }
            }
}

TEST_F(AntSheet, EveryCellIsASolidTwoToneAnt) {
    for (int k = 0; k < 16; ++k) {
        int count = 0, luma = 0, shadow = 0, highlight = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (CellOpaque(k, x, y)) {
                    const int l = ants.Colour(8 * k + x, y).Luma();
                    ++count;
                    luma += l;
                    shadow += l < 50;
                    highlight += l > 180;
                    EXPECT_NE(ants.Colour(8 * k + x, y), kKey);
                }
        EXPECT_GE(count, 12) << "cell " << k;
        EXPECT_LE(count, 44) << "cell " << k << " is a blob, not an ant";
        if (count > 0) {
            EXPECT_LT(luma / count, 120) << "cell " << k << ": a pale ghost, not a dark ant";
        }
        EXPECT_GE(shadow, 3) << "cell " << k << ": no dark side to carry the ant on pale ground";
        EXPECT_GE(highlight, 2) << "cell " << k << ": no highlight to carry the ant on dark ground";
        // one connected figure (8-neighbourhood): no stray pixels floating in the cell
        std::vector<int> seen(64, 0);
        std::vector<int> stack;
        for (int i = 0; i < 64 && stack.empty(); ++i)
            if (CellOpaque(k, i % 8, i / 8)) {
                stack.push_back(i);
                seen[i] = 1;
            }
        int reached = 0;
        while (!stack.empty()) {
            int i = stack.back();
            stack.pop_back();
            ++reached;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int x = i % 8 + dx, y = i / 8 + dy;
                    if (x < 0 || y < 0 || x > 7 || y > 7 || seen[y * 8 + x] || !CellOpaque(k, x, y)) continue;
                    seen[y * 8 + x] = 1;
                    stack.push_back(y * 8 + x);
                }
        }
        EXPECT_EQ(reached, count) << "cell " << k << " falls apart";
    }
}

TEST_F(AntSheet, WalkingFramesDiffer) {
    for (int d = 0; d < 8; ++d) {
        int diff = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (CellOpaque(2 * d, x, y) != CellOpaque(2 * d + 1, x, y)) ++diff;
        EXPECT_GE(diff, 2) << "heading " << d << ": the two frames must move the legs";
    }
}

// Heading d points along (sin(45d), -cos(45d)) in picture coordinates (y down). The figure is
// longer along the heading than across it, and the heavy abdomen is at the back: most of the
// dark body pixels lie behind the middle of the figure (antennae and head are in front).
TEST_F(AntSheet, CellsFaceTheirHeadings) {
    const double kPi = 3.14159265358979323846;
    for (int k = 0; k < 16; ++k) {
        const int d = k / 2;
        const double hx = std::sin(d * kPi / 4), hy = -std::cos(d * kPi / 4);
        double lo = 1e9, hi = -1e9, sx = 0, sy = 0, n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (CellOpaque(k, x, y)) {
                    const double t = (x + 0.5 - 4.0) * hx + (y + 0.5 - 4.0) * hy;
                    lo = std::min(lo, t);
                    hi = std::max(hi, t);
                    sx += x + 0.5;
                    sy += y + 0.5;
                    n += 1;
                }
        ASSERT_GT(n, 0);
        const double mid = (lo + hi) / 2, cx = sx / n, cy = sy / n;
        EXPECT_GE(hi - lo, 5.5) << "cell " << k << ": too short along its heading";
        int behind = 0, ahead = 0;
        double along = 0, across = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                if (!CellOpaque(k, x, y) || ants.Colour(8 * k + x, y).Luma() > 40) continue;  // body only
                const double t = (x + 0.5 - 4.0) * hx + (y + 0.5 - 4.0) * hy;
                if (t < mid - 0.01) ++behind;
                if (t > mid + 0.01) ++ahead;
                const double ux = x + 0.5 - cx, uy = y + 0.5 - cy;
                along += std::fabs(ux * hx + uy * hy);
                across += std::fabs(-ux * hy + uy * hx);
            }
        EXPECT_GT(behind, ahead * 2) << "cell " << k << ": the abdomen is not at the back";
        EXPECT_GT(along, across * 1.3) << "cell " << k << ": body not stretched along the heading";
    }
    // Opposite headings hold the same number of pixels (the same ant turned round).
    for (int k = 0; k < 8; ++k) {
        int a = 0, b = 0;
        for (int i = 0; i < 64; ++i) {
            a += CellOpaque(k, i % 8, i / 8);
            b += CellOpaque(k + 8, i % 8, i / 8);
        }
        EXPECT_EQ(a, b) << "cells " << k << " and " << k + 8;
    }
}

// How far apart two colours look: the usual weighted RGB distance for darker colours (weights 2, 4
// and 3 for red, green and blue), scaled so that a plain brightness step of n is n.
double Apart(const Rgb& a, const Rgb& b) {
    const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return std::sqrt((2 * dr * dr + 4 * dg * dg + 3 * db * db) / 9);
}

// Top-left corner of the darkest (or lightest) 32 x 32 patch of a picture, by summed luma.
std::pair<int, int> ExtremePatch(const Picture& p, bool lightest) {
    std::vector<long> sum(static_cast<size_t>(p.width + 1) * (p.height + 1), 0);
    auto at = [&](int x, int y) -> long& {
        return sum[static_cast<size_t>(y) * (p.width + 1) + x];
    };
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            at(x + 1, y + 1) = p.Colour(x, y).Luma() + at(x, y + 1) + at(x + 1, y) - at(x, y);
    long best = lightest ? -1 : 1L << 40;
    std::pair<int, int> corner{0, 0};
    for (int y = 0; y + 32 <= p.height; ++y)
        for (int x = 0; x + 32 <= p.width; ++x) {
            const long s = at(x + 32, y + 32) - at(x, y + 32) - at(x + 32, y) + at(x, y);
            if (lightest ? s > best : s < best) {
                best = s;
                corner = {x, y};
            }
        }
    return corner;
}

// An ant the user can find at 1x: on the darkest and on the lightest 32 x 32 patch of the default
// field, and on a black and a white desktop, enough of the ant's own pixels must stand clearly
// apart from the ground right under them. "Clearly" is a distance of 40 (a brightness step of 40 of
// 255): on the contact sheet an ant whose pixels mostly pass it reads as an ant at 1x, while an
// all-dark ant of the same size, which vanishes on dark leaves, has at most 10 of its 25..30 pixels
// past it there on average and 2 at worst. Every cell is tried at each of the 25 x 25 places inside
// the patch: on average at least 14 pixels (about half an ant) must pass, and at no place fewer
// than 6 (the worst place on dark leaves still shows the head-to-abdomen line of the body).
TEST_F(AntSheet, EveryCellStandsOutOnDarkAndPaleLeavesAndOnAnyDesktop) {
    const Picture field = LoadBmp(112, 455, 312);
    ASSERT_EQ(field.width, 455);
    constexpr double kClear = 40.0;
    constexpr int kMeanAtLeast = 14, kWorstAtLeast = 6;
    struct Ground {
        const char* name;
        std::pair<int, int> corner;  // in the field, or -1 for a plain desktop colour
        Rgb plain;
    };
    const Ground grounds[] = {{"dark leaves", ExtremePatch(field, false), {}},
                              {"light leaves", ExtremePatch(field, true), {}},
                              {"black desktop", {-1, -1}, kBlack},
                              {"white desktop", {-1, -1}, kWhite}};
    for (const Ground& g : grounds) {
        for (int k = 0; k < 16; ++k) {
            long total = 0;
            int worst = 64, places = 0;
            for (int oy = 0; oy + 8 <= 32; ++oy)
                for (int ox = 0; ox + 8 <= 32; ++ox) {
                    int clear = 0;
                    for (int y = 0; y < 8; ++y)
                        for (int x = 0; x < 8; ++x) {
                            if (!CellOpaque(k, x, y))
                                continue;
                            const Rgb under = g.corner.first < 0
                                                  ? g.plain
                                                  : field.Colour(g.corner.first + ox + x,
                                                                 g.corner.second + oy + y);
                            clear += Apart(ants.Colour(8 * k + x, y), under) >= kClear;
                        }
                    total += clear;
                    worst = std::min(worst, clear);
                    ++places;
                }
            EXPECT_GE(total, static_cast<long>(kMeanAtLeast) * places)
                << "cell " << k << " on " << g.name << ": on average " << total / places
                << " pixels stand clearly apart from the ground";
            EXPECT_GE(worst, kWorstAtLeast) << "cell " << k << " on " << g.name << ": only "
                                            << worst << " pixels stand apart at its worst place";
        }
    }
}

TEST(Ball, IsAShadedDiscFifteenAcrossCentredForOffsetMinusEight) {
    Picture b = LoadBmp(108, 16, 32);
    ASSERT_EQ(b.width, 16);
    ExpectPureMask(b, 16, 32, "108");
    int count = 0, minx = 99, maxx = -1, miny = 99, maxy = -1;
    std::set<int> shades;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool opaque = Opaque(b, x, 16 + y);
            const double r = std::hypot(x - 8.0, y - 8.0);
            if (r <= 6.5) {
                EXPECT_TRUE(opaque) << x << "," << y;
            }
            if (r >= 8.0) {
                EXPECT_FALSE(opaque) << x << "," << y;
            }
            if (!opaque) continue;
            ++count;
            minx = std::min(minx, x), maxx = std::max(maxx, x);
            miny = std::min(miny, y), maxy = std::max(maxy, y);
            shades.insert(b.Colour(x, y).Luma());
            EXPECT_NE(b.Colour(x, y), kKey);
        }
    EXPECT_EQ(maxx - minx + 1, 15);
    EXPECT_EQ(maxy - miny + 1, 15);
    EXPECT_EQ(minx + maxx, 16) << "centre column 8";
    EXPECT_EQ(miny + maxy, 16) << "centre row 8";
    EXPECT_GT(count, 150);
    EXPECT_LT(count, 200);
    EXPECT_GE(shades.size(), 4u) << "a shaded ball, not a flat disc";
}

TEST(Heart, MaskAndKeyColourVersionAgree) {
    Picture h = LoadBmp(115, 16, 32);
    Picture s = LoadBmp(129, 16, 16);
    ASSERT_EQ(h.width, 16);
    ASSERT_EQ(s.width, 16);
    ExpectPureMask(h, 16, 32, "115");
    int count = 0, reddish = 0, minx = 99, maxx = -1, miny = 99, maxy = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool opaque = Opaque(h, x, 16 + y);
            if (opaque) {
                EXPECT_EQ(s.Colour(x, y), h.Colour(x, y)) << x << "," << y;
                ++count;
                const Rgb c = h.Colour(x, y);
                if (c.r > c.g + 40 && c.r > c.b + 30) ++reddish;
                minx = std::min(minx, x), maxx = std::max(maxx, x);
                miny = std::min(miny, y), maxy = std::max(maxy, y);
            } else {
                EXPECT_EQ(s.Colour(x, y), kKey) << x << "," << y;
            }
        }
    EXPECT_GT(count, 100);
    EXPECT_GT(reddish * 10, count * 8) << "a red heart";
    EXPECT_GE(maxx - minx + 1, 12);
    EXPECT_GE(maxy - miny + 1, 11);
    // heart shape: the notch on top between the lobes, lobes wider than the point at the bottom
    const int mid = (minx + maxx) / 2;
    EXPECT_FALSE(Opaque(h, mid, 16 + miny)) << "no notch between the lobes";
    int topWidth = 0, bottomWidth = 0;
    for (int x = 0; x < 16; ++x) {
        topWidth += Opaque(h, x, 16 + miny + 2);
        bottomWidth += Opaque(h, x, 16 + maxy - 1);
    }
    EXPECT_GT(topWidth, bottomWidth * 3);
}

TEST(Magnifier, ShapePictureAndMaskAgree) {
    Picture shape = LoadBmp(125, 300, 360);
    Picture pic = LoadBmp(126, 300, 720);
    ASSERT_EQ(shape.width, 300);
    ASSERT_EQ(pic.width, 300);
    ExpectPureMask(pic, 360, 720, "126");
    int drawnOutsideShape = 0, shapeNotDrawn = 0, lensCovered = 0, lensNotInShape = 0;
    int rimMissing = 0, handle = 0, glassColours = 0;
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 300; ++x) {
            const double r = std::hypot(x + 0.5 - 120.0, y + 0.5 - 120.0);
            const bool inShape = shape.Colour(x, y) != kKey;
            const bool drawn = Opaque(pic, x, 360 + y);
            if (drawn && !inShape) ++drawnOutsideShape;
            if (inShape && !drawn && r > 101.0) ++shapeNotDrawn;
            if (r < 99.0) {
                if (drawn) ++lensCovered;
                if (!inShape) ++lensNotInShape;
            }
            if (r > 102.0 && r < 112.0 && !drawn) ++rimMissing;
            if (drawn && r > 125.0) {
                ++handle;
                EXPECT_GT(x, 140) << "the handle points to the lower right";
                EXPECT_GT(y, 140) << "the handle points to the lower right";
            }
            if (drawn && r > 101.0 && r < 118.0) {
                const Rgb c = pic.Colour(x, y);
                if (c == kKey) ++glassColours;
            }
        }
    EXPECT_EQ(drawnOutsideShape, 0) << "picture pixels outside the window shape";
    EXPECT_EQ(shapeNotDrawn, 0) << "window pixels (outside the lens) with nothing drawn";
    EXPECT_EQ(lensCovered, 0) << "the lens must stay clear in the mask";
    EXPECT_EQ(lensNotInShape, 0) << "the lens belongs to the window";
    EXPECT_EQ(rimMissing, 0) << "the rim must go all round the lens";
    EXPECT_GT(handle, 2000) << "a handle";
    EXPECT_EQ(glassColours, 0);
    // the whole window fits, with the handle ending inside the bitmap
    for (int x = 0; x < 300; ++x) EXPECT_EQ(shape.Colour(x, 359), kKey) << "bottom row column " << x;
    for (int y = 0; y < 360; ++y) EXPECT_EQ(shape.Colour(299, y), kKey) << "right column row " << y;
    // a metallic rim with highlights and shadows: several distinct shades
    std::set<Rgb> rim;
    for (int a = 0; a < 360; a += 3) {
        const double t = a * 3.14159265358979323846 / 180.0;
        for (double r = 103.0; r < 116.0; r += 1.0)
            rim.insert(pic.Colour(static_cast<int>(120 + r * std::cos(t)), static_cast<int>(120 + r * std::sin(t))));
    }
    EXPECT_GE(rim.size(), 6u);
}

TEST(Field, LooksLikeAPhotographNotAFlatFill) {
    Picture f = LoadBmp(112, 455, 312);
    ASSERT_EQ(f.width, 455);
    std::array<int, 16> use{};
    long luma = 0;
    int veryDark = 0;
    for (int y = 0; y < 312; ++y)
        for (int x = 0; x < 455; ++x) {
            ++use[f.At(x, y)];
            const int l = f.Colour(x, y).Luma();
            luma += l;
            if (l < 35) ++veryDark;
        }
    int used = 0;
    for (int u : use) used += u > 200;
    EXPECT_GE(used, 12) << "palette colours in real use";
    const long mean = luma / (455 * 312);
    EXPECT_GT(mean, 70) << "mid-toned ground so the dark ants stay visible";
    EXPECT_LT(mean, 175);
    EXPECT_LT(veryDark * 10, 455 * 312) << "too many near-black areas";
    // no large flat areas: no 12 x 12 block of one colour, hardly any of only two
    int single = 0, two = 0, blocks = 0;
    for (int y = 0; y + 12 <= 312; y += 6)
        for (int x = 0; x + 12 <= 455; x += 6) {
            std::set<int> s;
            for (int dy = 0; dy < 12; ++dy)
                for (int dx = 0; dx < 12; ++dx) s.insert(f.At(x + dx, y + dy));
            single += s.size() == 1;
            two += s.size() == 2;
            ++blocks;
        }
    EXPECT_EQ(single, 0) << "blocks of a single colour";
    EXPECT_LT(two * 50, blocks) << "too many flat two-colour blocks";
    // the trail colours and the key colour are not in the field, so trails always show
    for (const Rgb& c : f.palette) {
        EXPECT_NE(c, (Rgb{255, 165, 123}));
        EXPECT_NE(c, (Rgb{255, 100, 100}));
        EXPECT_NE(c, kKey);
    }
}

TEST(Title, IsAColourfulPicture) {
    Picture t = LoadBmp(130, 100, 100);
    ASSERT_EQ(t.width, 100);
    std::array<int, 16> use{};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) ++use[t.At(x, y)];
    int used = 0;
    for (int u : use) used += u > 10;
    EXPECT_GE(used, 10);
}

// ICO / CUR: one 4-bit image with its AND mask.
struct IconFile {
    int type = 0, count = 0, width = 0, height = 0, hotX = 0, hotY = 0;
    Picture xorPart;
    std::vector<bool> opaque;
};

IconFile LoadIcon(const std::string& name) {
    IconFile f;
    std::vector<uint8_t> d = ReadFile(name);
    EXPECT_GE(d.size(), 22u + 40u) << name;
    if (d.size() < 62) return f;
    EXPECT_EQ(U16(d, 0), 0) << name;
    f.type = U16(d, 2);
    f.count = U16(d, 4);
    f.width = d[6];
    f.height = d[7];
    f.hotX = U16(d, 10);
    f.hotY = U16(d, 12);
    const uint32_t bytes = U32(d, 14), off = U32(d, 18);
    EXPECT_EQ(off + bytes, d.size()) << name;
    if (off + 40 > d.size()) return f;
    EXPECT_EQ(U32(d, off), 40u) << name;
    EXPECT_EQ(static_cast<int>(U32(d, off + 4)), f.width) << name;
    EXPECT_EQ(static_cast<int>(U32(d, off + 8)), 2 * f.height) << name << ": XOR and AND halves";
    EXPECT_EQ(U16(d, off + 14), 4) << name;
    const int w = f.width;
    const size_t xorStride = ((static_cast<size_t>(w) * 4 + 31) / 32) * 4;
    const size_t andStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    EXPECT_EQ(bytes, 40 + 64 + xorStride * w + andStride * w) << name;
    if (bytes != 40 + 64 + xorStride * w + andStride * w) return f;
    f.xorPart = Decode4(d, off, off + 40 + 64, w, w);
    const size_t andOff = off + 40 + 64 + xorStride * w;
    f.opaque.resize(static_cast<size_t>(w) * w);
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t byte = d[andOff + static_cast<size_t>(w - 1 - y) * andStride + x / 8];
            f.opaque[static_cast<size_t>(y) * w + x] = ((byte >> (7 - x % 8)) & 1) == 0;
        }
    return f;
}

int OpaqueCount(const IconFile& f) {
    int n = 0;
    for (bool b : f.opaque) n += b;
    return n;
}

TEST(Icons, SizesDepthAndContent) {
    for (auto [name, size] : {std::pair<const char*, int>{"110.ico", 32}, {"111.ico", 16}}) {
        IconFile f = LoadIcon(name);
        EXPECT_EQ(f.type, 1) << name;
        EXPECT_EQ(f.count, 1) << name;
        EXPECT_EQ(f.width, size) << name;
        EXPECT_EQ(f.height, size) << name;
        ASSERT_EQ(static_cast<int>(f.opaque.size()), size * size) << name;
        const int n = OpaqueCount(f);
        EXPECT_GT(n, size * size / 3) << name;
        EXPECT_LT(n, size * size) << name << ": an icon with a transparent surround";
        // transparent pixels are black in the XOR part, so the icon draws cleanly everywhere
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (!f.opaque[static_cast<size_t>(y) * size + x]) {
                    EXPECT_EQ(f.xorPart.Colour(x, y), kBlack) << name;
                }
    }
}

TEST(Cursors, HotSpotsAndOutline) {
    IconFile stick = LoadIcon("116.cur");
    IconFile bino = LoadIcon("117.cur");
    for (IconFile* f : {&stick, &bino}) {
        EXPECT_EQ(f->type, 2);
        EXPECT_EQ(f->width, 32);
        EXPECT_EQ(f->height, 32);
        ASSERT_EQ(f->opaque.size(), 1024u);
        EXPECT_GT(OpaqueCount(*f), 80);
        // a dark outline: every opaque pixel next to a transparent one is dark
        int lightEdge = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (!f->opaque[y * 32 + x]) continue;
                bool edge = x == 0 || y == 0 || x == 31 || y == 31;
                for (int d = 0; d < 4 && !edge; ++d) {
                    const int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                    edge = !f->opaque[ny * 32 + nx];
                }
                if (edge && f->xorPart.Colour(x, y).Luma() > 60) ++lightEdge;
            }
        EXPECT_EQ(lightEdge, 0);
    }
    EXPECT_EQ(stick.hotX, 12);
    EXPECT_EQ(stick.hotY, 28);
    EXPECT_TRUE(stick.opaque[28 * 32 + 12]) << "the hot spot is on the stick's foot";
    // the foot is flat: a horizontal run of opaque pixels through the hot spot
    int run = 0;
    for (int x = 0; x < 32; ++x) run += stick.opaque[28 * 32 + x];
    EXPECT_GE(run, 9);
    EXPECT_EQ(bino.hotX, 15);
    EXPECT_EQ(bino.hotY, 15);
    // binoculars: two barrels mirrored about the hot spot column
    int left = 0, right = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!bino.opaque[y * 32 + x]) continue;
            if (x < 15) ++left;
            if (x > 16) ++right;
        }
    EXPECT_GT(left, 100);
    EXPECT_GT(right, 100);
    EXPECT_LT(std::abs(left - right), 40);
}

}  // namespace
