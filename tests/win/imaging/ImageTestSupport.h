// Helpers of the imaging tests under Wine: 32-bit canvases of a given size, the row-table
// invariant, and BMP files written to the temporary directory.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/DIBImage.h"

inline std::unique_ptr<DIBImage> NewCanvas(int width, int height) {
    auto image = std::make_unique<DIBImage>();
    image->ChangeBitCount(32);
    image->SetWidth(width);
    image->SetHeight(height);
    return image;
}

// Every row pointer is where the bottom-up layout puts it.
inline void ExpectLineTable(const DIBImage& image) {
    ASSERT_NE(image.GetBits(), nullptr);
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* want = image.GetBits() + static_cast<size_t>(image.GetHeight() - 1 - y) *
                                                    image.GetWidthBytes();
        ASSERT_EQ(reinterpret_cast<const uint8_t*>(image.GetLine(y)), want) << "row " << y;
    }
    BITMAP bm{};
    ASSERT_NE(GetObjectA(image.GetBitmap(), sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, image.GetWidth());
    EXPECT_EQ(bm.bmHeight, image.GetHeight());
    EXPECT_EQ(bm.bmWidthBytes, image.GetWidthBytes());
    EXPECT_EQ(bm.bmBitsPixel, image.GetBitCount());
    EXPECT_EQ(image.GetBytesPerPixel(), (image.GetBitCount() + 1) / 8);
    // The memory DC holds the current surface.
    EXPECT_EQ(GetCurrentObject(image.GetMemoryDC()->GetHDC(), OBJ_BITMAP), image.GetBitmap());
}

inline uint32_t PixelAt(const DIBImage& image, int x, int y) {
    return image.GetLine(y)[x] & 0xFFFFFFu;
}

// What an image is, to tell that an operation left it as it was: its sizes, its surface, every
// byte of its pixels and its header.
struct ImageSnapshot {
    int width, height, bitCount, widthBytes;
    HBITMAP bitmap;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> info;
};
inline ImageSnapshot Take(const DIBImage& image) {
    const uint8_t* bits = image.GetBits();
    const size_t bytes = static_cast<size_t>(image.GetWidthBytes()) * image.GetHeight();
    const auto* info = reinterpret_cast<const uint8_t*>(image.GetInfo());
    return {image.GetWidth(),  image.GetHeight(),    image.GetBitCount(), image.GetWidthBytes(),
            image.GetBitmap(), {bits, bits + bytes}, {info, info + 40}};
}
inline void ExpectUnchanged(const DIBImage& image, const ImageSnapshot& before) {
    const ImageSnapshot now = Take(image);
    EXPECT_EQ(now.width, before.width);
    EXPECT_EQ(now.height, before.height);
    EXPECT_EQ(now.bitCount, before.bitCount);
    EXPECT_EQ(now.widthBytes, before.widthBytes);
    EXPECT_EQ(now.bitmap, before.bitmap);
    EXPECT_EQ(now.pixels, before.pixels);
    EXPECT_EQ(now.info, before.info);
    ExpectLineTable(image);
}

// A file in the temporary directory, removed when the object goes.
class TempFile {
  public:
    TempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        path_ = std::string(dir) + "kirelo_imaging_" + name;
        HANDLE f = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(f);
        }
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const char* path() const { return path_.c_str(); }

  private:
    std::string path_;
};
