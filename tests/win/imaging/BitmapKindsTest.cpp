// BMP files of every header kind through the real loader, and the one size limit as the image
// meets it: a picture at the edge loads, converts and resizes; one past it, or a file whose
// conversion would overflow, is refused with the data box and nothing changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/ImageLimits.h"
#include "imaging/DIBImage.h"
#include "imaging/GdiObjectCount.h"
#include "tests/common/MessageRecorder.h"
#include "tests/native/base/BmpWriter.h"
#include "tests/win/imaging/ImageTestSupport.h"
#include "resources/TextIds.h"

namespace {
constexpr uint32_t kBadText = IDS_BAD_BITMAP;

BmpSpec Patterned(int bits, int width, int height, uint32_t headerSize) {
    BmpSpec s = PatternedPicture(bits, width, height, 13, 7);
    s.headerSize = headerSize;
    return s;
}

// Loads a file and converts it to 32 bits; the picture's pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> LoadAs32(const std::string& name, const std::vector<uint8_t>& bytes,
                               int* depth) {
    TempFile file(name, bytes);
    DIBImage image;
    std::vector<uint32_t> pixels;
    if (image.LoadBitmapFile(file.path()) != 1) {
        return pixels;
    }
    *depth = image.GetBitCount();
    if (image.ChangeBitCount(32) != 1) {
        return pixels;
    }
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            pixels.push_back(PixelAt(image, x, y));
        }
    }
    return pixels;
}

}  // namespace

TEST(BitmapFileKinds, Os2FilesOfBothGenerationsLoadAsTheirWindowsTwins) {
    MessageRecorder recorder;
    for (int bits : {1, 4, 8, 24}) {
        int depth = 0;
        const std::vector<uint32_t> windows = LoadAs32(
            "twin" + std::to_string(bits) + ".bmp", WriteBmp(Patterned(bits, 11, 4, 40)), &depth);
        ASSERT_EQ(windows.size(), 44u) << bits;
        for (uint32_t header :
             {bmp::kCoreHeaderBytes, bmp::kOs2HeaderBytes, bmp::kOs2MinHeaderBytes}) {
            const std::string what =
                std::to_string(header) + "-byte header, " + std::to_string(bits) + " bits";
            int os2Depth = 0;
            EXPECT_EQ(LoadAs32("os2.bmp", WriteBmp(Patterned(bits, 11, 4, header)), &os2Depth),
                      windows)
                << what;
            EXPECT_EQ(os2Depth, bits) << what;
        }
    }
    // The 8-bit OS/2 1.x file with fewer colours than its depth allows: the pixels use only
    // those, and the table ends where the pixels start.
    BmpSpec few = Patterned(8, 9, 3, bmp::kCoreHeaderBytes);
    few.colours.resize(12);
    for (size_t i = 0; i < few.pixels.size(); ++i) {
        few.pixels[i] = static_cast<uint8_t>(i % 12);
    }
    BmpSpec twin = few;
    twin.headerSize = bmp::kInfoHeaderBytes;
    twin.clrUsed = 12;
    int depth = 0;
    const std::vector<uint32_t> expected = LoadAs32("few_twin.bmp", WriteBmp(twin), &depth);
    ASSERT_EQ(expected.size(), 27u);
    // Top-left is the first pixel of the last stored row (rows of 12 bytes): index 0 there.
    ASSERT_EQ(few.pixels[24], 0);
    EXPECT_EQ(expected[0], 0x01FF00u);
    EXPECT_EQ(expected[1], 0x11FE01u);
    EXPECT_EQ(LoadAs32("few.bmp", WriteBmp(few), &depth), expected);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapFileKinds, TwentyFourBitFileLoadsWhateverItsColourCountSays) {
    MessageRecorder recorder;
    int depth = 0;
    const BmpSpec plain = Patterned(24, 7, 3, 40);
    const std::vector<uint32_t> expected = LoadAs32("plain24.bmp", WriteBmp(plain), &depth);
    ASSERT_EQ(expected.size(), 21u);
    BmpSpec large = plain;
    large.clrUsed = 300;
    large.colours = RampColours(300);
    EXPECT_EQ(LoadAs32("large_table24.bmp", WriteBmp(large), &depth), expected);
    EXPECT_EQ(depth, 24);
    BmpSpec lying = plain;
    lying.clrUsed = 0xFFFFFFFFu;  // no table at all
    EXPECT_EQ(LoadAs32("lying24.bmp", WriteBmp(lying), &depth), expected);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(BitmapFileKinds, PixelsFarPastTheHeaderAreReadOnTheirOwn) {
    MessageRecorder recorder;
    int depth = 0;
    const BmpSpec plain = Patterned(8, 9, 4, 40);
    const std::vector<uint32_t> expected = LoadAs32("near.bmp", WriteBmp(plain), &depth);
    ASSERT_EQ(expected.size(), 36u);
    // 300 000 bytes of something else between the table and the pixels: past the first read.
    BmpSpec distant = plain;
    distant.offBits = 14 + 40 + 1024 + 300000;
    distant.pixels.insert(distant.pixels.begin(), 300000, 0xEE);
    EXPECT_EQ(LoadAs32("far.bmp", WriteBmp(distant), &depth), expected);
    EXPECT_EQ(recorder.size(), 0u);
    // Cut inside the pixels: damaged, refused with the data box. Short only of the top row's
    // padding (three bytes of twelve): whole.
    std::vector<uint8_t> cut = WriteBmp(distant);
    cut.resize(cut.size() - 12 * 2);  // the top two of four stored rows of 12 bytes
    EXPECT_TRUE(LoadAs32("far_cut.bmp", cut, &depth).empty());
    recorder.ExpectOnly(kBadText, IDS_BAD_BITMAP_CAPTION, MB_OK | MB_ICONERROR);
    std::vector<uint8_t> unpadded = WriteBmp(distant);
    unpadded.resize(unpadded.size() - 3);
    EXPECT_EQ(LoadAs32("far_unpadded.bmp", unpadded, &depth), expected);
    EXPECT_EQ(recorder.size(), 1u);
}

TEST(ImageSizeLimit, APictureAtTheEdgeLoadsAsItIsAndOnePastComesScaledToIt) {
    const int side = kMaxImageSide;
    BmpSpec edge = Patterned(1, side, side, 40);
    edge.pixels.assign(edge.pixels.size(), 0);
    edge.pixels[0] = 0x80;  // bottom-left pixel: colour 1
    TempFile edgeFile("edge.bmp", WriteBmp(edge));
    MessageRecorder recorder;
    DIBImage image;
    ASSERT_EQ(image.LoadBitmapFile(edgeFile.path()), 1);
    ASSERT_EQ(image.ChangeBitCount(32), 1);
    EXPECT_EQ(image.GetWidth(), side);
    EXPECT_EQ(image.GetHeight(), side);
    EXPECT_EQ(image.GetWidthBytes(), 4 * side);
    EXPECT_EQ(PixelAt(image, 0, side - 1), 0x11FE01u);  // ramp entry 1
    EXPECT_EQ(PixelAt(image, 1, side - 1), 0x01FF00u);  // ramp entry 0
    EXPECT_EQ(PixelAt(image, side - 1, 0), 0x01FF00u);
    EXPECT_EQ(recorder.size(), 0u);

    // One past the edge either way: scaled down to it, 32 bits deep, its proportions kept.
    struct Past {
        const char* name;
        std::vector<uint8_t> bytes;
        int width, height;
    } past[] = {
        {"wider.bmp", WriteBmp(Patterned(1, side + 1, 1, 40)), side, 1},
        {"taller.bmp", WriteBmp(Patterned(8, 1, side + 1, 40)), 1, side},
        {"taller_os2.bmp", WriteBmp(Patterned(8, 1, side + 1, bmp::kCoreHeaderBytes)), 1, side},
    };
    for (const Past& p : past) {
        TempFile file(p.name, p.bytes);
        DIBImage scaled;
        EXPECT_EQ(scaled.LoadBitmapFile(file.path()), 1) << p.name;
        EXPECT_EQ(scaled.GetWidth(), p.width) << p.name;
        EXPECT_EQ(scaled.GetHeight(), p.height) << p.name;
        EXPECT_EQ(scaled.GetBitCount(), 32) << p.name;
        ExpectLineTable(scaled);
    }
    EXPECT_EQ(recorder.size(), 0u);

    // The 66-byte file, whose 536 870 912 pixels wide row is far past what is read at all:
    // refused at load with the data box, and the picture stays.
    image.SetWidth(3);
    image.SetHeight(2);
    const ImageSnapshot before = Take(image);
    const int liveObjects = LiveImagingGdiObjects();
    BmpSpec wide = Patterned(1, 1, 1, 40);
    wide.width = 536870912;
    std::vector<uint8_t> wideBytes = WriteBmp(wide);
    ASSERT_EQ(wideBytes.size(), 66u);
    TempFile file("sixty_six.bmp", wideBytes);
    MessageRecorder refused;
    EXPECT_EQ(image.LoadBitmapFile(file.path()), 0);
    refused.ExpectOnly(kBadText, IDS_BAD_BITMAP_CAPTION, MB_OK | MB_ICONERROR);
    ExpectUnchanged(image, before);
    // The image still converts as it is.
    EXPECT_EQ(image.ChangeBitCount(32), 1);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(LiveImagingGdiObjects(), liveObjects);
}

TEST(ImageSizeLimit, ResizesPastTheEdgeLeaveTheImageAsItWas) {
    MessageRecorder recorder;
    auto image = NewCanvas(2, 2);
    image->GetLine(0)[0] = 0x00123456;
    const ImageSnapshot before = Take(*image);
    const int liveObjects = LiveImagingGdiObjects();
    for (int size : {kMaxImageSide + 1, 9000, 2000000000}) {
        SCOPED_TRACE(size);
        image->SetWidth(size);
        ExpectUnchanged(*image, before);
        image->SetHeight(size);
        ExpectUnchanged(*image, before);
    }
    EXPECT_EQ(LiveImagingGdiObjects(), liveObjects);
    // Width first, then height, up to the edge: every step is allowed and the picture stays at
    // the top-left.
    image->SetWidth(kMaxImageSide);
    image->SetHeight(kMaxImageSide);
    EXPECT_EQ(image->GetWidth(), kMaxImageSide);
    EXPECT_EQ(image->GetHeight(), kMaxImageSide);
    ExpectLineTable(*image);
    EXPECT_EQ(PixelAt(*image, 0, 0), 0x123456u);
    EXPECT_EQ(PixelAt(*image, kMaxImageSide - 1, kMaxImageSide - 1), 0xFFFFFFu);
    // At the edge the conversion has room too.
    EXPECT_EQ(image->ChangeBitCount(32), 1);
    EXPECT_EQ(PixelAt(*image, 0, 0), 0x123456u);
    EXPECT_EQ(recorder.size(), 0u);
}
