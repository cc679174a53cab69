// The image object on real GDI: its start surface, resizing anchored at the top-left, conversion
// to 32 bits, drawing with its pen and brush, and the GDI objects it owns.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "imaging/SelectedGdiObject.h"
#include "imaging/DIBImage.h"
#include "imaging/GdiObjectCount.h"
#include "platform/UniqueHandle.h"
#include "tests/common/MessageRecorder.h"
#include "tests/common/PixelCount.h"
#include "tests/native/base/BmpWriter.h"
#include "tests/win/imaging/ImageTestSupport.h"

TEST(DIBImageStart, IsOneWhitePixelAtTheScreenDepth) {
    MessageRecorder recorder;
    DIBImage image;
    WindowDC screen(nullptr);
    EXPECT_EQ(image.GetBitCount(), GetDeviceCaps(screen.get(), BITSPIXEL));
    EXPECT_EQ(image.GetWidth(), 1);
    EXPECT_EQ(image.GetHeight(), 1);
    EXPECT_EQ(GetPixel(image.GetMemoryDC()->GetHDC(), 0, 0), RGB(255, 255, 255));
    const BITMAPINFOHEADER& h = image.GetInfo()->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 1);
    EXPECT_EQ(h.biHeight, 1);
    EXPECT_EQ(h.biBitCount, image.GetBitCount());
    ExpectLineTable(image);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(DIBImageResize, GrowingKeepsTheOldPixelsTopLeftAndFillsWhite) {
    auto image = NewCanvas(2, 2);
    ExpectLineTable(*image);
    image->GetLine(0)[0] = 0x00112233;
    image->GetLine(0)[1] = 0x00445566;
    image->GetLine(1)[0] = 0x00778899;
    image->GetLine(1)[1] = 0x00AABBCC;
    image->SetWidth(4);
    ExpectLineTable(*image);
    image->SetHeight(3);
    ExpectLineTable(*image);
    ASSERT_EQ(image->GetWidth(), 4);
    ASSERT_EQ(image->GetHeight(), 3);
    EXPECT_EQ(image->GetWidthBytes(), 16);
    EXPECT_EQ(PixelAt(*image, 0, 0), 0x112233u);
    EXPECT_EQ(PixelAt(*image, 1, 0), 0x445566u);
    EXPECT_EQ(PixelAt(*image, 0, 1), 0x778899u);
    EXPECT_EQ(PixelAt(*image, 1, 1), 0xAABBCCu);
    EXPECT_EQ(
        pixeltest::CountWhere(
            0, 0, 4, 3, [&image](int x, int y) { return PixelAt(*image, x, y) == 0xFFFFFFu; }),
        8);
}

TEST(DIBImageResize, ShrinkingKeepsTheTopRowsAndSizesBelowOneBecomeOne) {
    auto image = NewCanvas(3, 4);
    pixeltest::Fill(image.get(), [](int x, int y) { return static_cast<uint32_t>(y * 16 + x); });
    image->SetHeight(2);
    ExpectLineTable(*image);
    EXPECT_EQ(PixelAt(*image, 0, 0), 0u);
    EXPECT_EQ(PixelAt(*image, 2, 1), 18u);
    for (int bad : {0, -5}) {
        image->SetWidth(bad);
        EXPECT_EQ(image->GetWidth(), 1) << bad;
        image->SetHeight(bad);
        EXPECT_EQ(image->GetHeight(), 1) << bad;
        ExpectLineTable(*image);
    }
    EXPECT_EQ(PixelAt(*image, 0, 0), 0u);
    // A size no surface can have leaves the image as it is.
    image->SetWidth(2000000000);
    EXPECT_EQ(image->GetWidth(), 1);
    ExpectLineTable(*image);
}

TEST(DrawingTools, GoalEllipseIsABlackDiscWithAThreePixelGreyOutline) {
    auto canvas = NewCanvas(200, 200);
    MemoryDC* dc = canvas->GetMemoryDC();
    dc->GetPen()->SetColor(0xC0C0C0);
    dc->GetPen()->SetWidth(3);
    dc->GetBrush()->SetColor(0);
    ASSERT_TRUE(dc->Ellipse(80, 60, 120, 100));
    GdiFlush();
    EXPECT_EQ(PixelAt(*canvas, 100, 80), 0u);
    // Across the middle row and column: white, exactly three grey, black ..., three grey, white.
    auto outline = [&](bool horizontal) {
        std::vector<uint32_t> line;
        for (int i = 50; i < 130; ++i) {
            line.push_back(horizontal ? PixelAt(*canvas, i, 80) : PixelAt(*canvas, 100, i - 10));
        }
        std::vector<std::pair<uint32_t, int>> runs;
        for (uint32_t v : line) {
            if (runs.empty() || runs.back().first != v) {
                runs.push_back({v, 0});
            }
            ++runs.back().second;
        }
        return runs;
    };
    for (bool horizontal : {true, false}) {
        const auto runs = outline(horizontal);
        ASSERT_EQ(runs.size(), 5u) << horizontal;
        EXPECT_EQ(runs[0].first, 0xFFFFFFu);
        EXPECT_EQ(runs[1].first, 0xC0C0C0u);
        EXPECT_EQ(runs[1].second, 3);
        EXPECT_EQ(runs[2].first, 0u);
        EXPECT_EQ(runs[3].first, 0xC0C0C0u);
        EXPECT_EQ(runs[3].second, 3);
        EXPECT_EQ(runs[4].first, 0xFFFFFFu);
    }
}

TEST(DrawingTools, PenAndBrushKeepOneObjectOfTheirOwnAndPutTheInitialOnesBack) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ initialPen = GetCurrentObject(dc.get(), OBJ_PEN);
    const HGDIOBJ initialBrush = GetCurrentObject(dc.get(), OBJ_BRUSH);
    const int before = LiveImagingGdiObjects();
    auto* pen = new DCPen(dc.get());
    auto* brush = new DCBrush(dc.get());
    EXPECT_EQ(pen->GetColor(), 0u);
    EXPECT_EQ(pen->GetWidth(), 1);
    EXPECT_EQ(brush->GetColor(), 0xFFFFFFu);
    EXPECT_EQ(GetROP2(dc.get()), R2_COPYPEN);
    const HPEN first = pen->GetHandle();
    pen->SetColor(0x0000FF);
    const HPEN second = pen->GetHandle();
    pen->SetColor(0x00FF00);
    brush->SetColor(0x123456);
    EXPECT_EQ(LiveImagingGdiObjects(), before + 2);
    EXPECT_EQ(GetObjectType(first), 0u);  // deleted
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen->GetHandle());
    LOGPEN lp{};
    ASSERT_NE(GetObjectA(pen->GetHandle(), sizeof lp, &lp), 0);
    EXPECT_EQ(lp.lopnColor, 0x00FF00u);
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_SOLID));
    LOGBRUSH lb{};
    ASSERT_NE(GetObjectA(brush->GetHandle(), sizeof lb, &lb), 0);
    EXPECT_EQ(lb.lbColor, 0x123456u);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
    const HPEN last = pen->GetHandle();
    delete pen;
    delete brush;
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), initialPen);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), initialBrush);
    EXPECT_EQ(GetObjectType(last), 0u);
    EXPECT_EQ(LiveImagingGdiObjects(), before);
}

TEST(DrawingTools, BlitCopiesBetweenMemoryDCs) {
    auto a = NewCanvas(4, 4);
    auto b = NewCanvas(4, 4);
    a->GetLine(1)[2] = 0x00ABCDEF;
    b->GetLine(3)[3] = 0x00010203;
    b->GetMemoryDC()->Blit(0, 0, 3, 3, a->GetMemoryDC(), 1, 1);
    GdiFlush();
    EXPECT_EQ(PixelAt(*b, 1, 0), 0xABCDEFu);
    EXPECT_EQ(PixelAt(*b, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(*b, 3, 3), 0x010203u);  // outside the 3 x 3 block
}

TEST(ImagingGdiObjects, FlatAcrossAThousandLoadConvertDestroyCycles) {
    TempFile file("cycles.bmp", WriteBmp(PatternedPicture(4, 40, 30, 0, 0x5A)));
    MessageRecorder recorder;
    const HANDLE process = GetCurrentProcess();
    const DWORD systemBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const int before = LiveImagingGdiObjects();
    int peak = before;
    for (int i = 0; i < 1000; ++i) {
        auto* image = new DIBImage();
        ASSERT_EQ(image->LoadBitmapFile(file.path()), 1);
        ASSERT_EQ(image->ChangeBitCount(32), 1);
        image->SetWidth(41);
        image->GetMemoryDC()->GetPen()->SetColor(static_cast<COLORREF>(i));
        HRGN region = image->GetTransRgn(0, 0, 41, 30, 0xFFFFFF);
        ASSERT_NE(region, nullptr);
        DeleteObject(region);
        peak = std::max(peak, LiveImagingGdiObjects());
        delete image;
    }
    // An image holds its DC, pen, brush and surface: the count moved, and came back.
    EXPECT_GE(peak, before + 4);
    EXPECT_EQ(LiveImagingGdiObjects(), before);
    EXPECT_EQ(recorder.size(), 0u);
    // Where the system keeps a count per process, it must be flat too (Wine may report 0).
    const DWORD systemAfter = GetGuiResources(process, GR_GDIOBJECTS);
    std::printf("system GDI object count: %lu before, %lu after\n",
                static_cast<unsigned long>(systemBefore), static_cast<unsigned long>(systemAfter));
    if (systemBefore != 0) {
        EXPECT_LE(systemAfter, systemBefore + 2);
    }
}
