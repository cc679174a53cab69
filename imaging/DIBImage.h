// The program's one bitmap type: a DIB section kept selected in the image's own memory DC, with
// a table of row pointers from the top row down. Loaded, resized, converted to 32 bits, copied.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/PixelSurface.h"
#include "imaging/GdiObjectCount.h"
#include "imaging/MemoryDC.h"
#include "platform/UniqueHandle.h"

class BmpDecoder;
enum class BmpSource;

class DIBImage {
  public:
    DIBImage();  // 1 x 1 white at the screen depth
    ~DIBImage();
    DIBImage(const DIBImage&) = delete;
    DIBImage& operator=(const DIBImage&) = delete;

    int LoadBitmapResource(LPCSTR name);
    int LoadBitmapFile(const char* path);
    int ChangeBitCount(int bits);
    void SetWidth(int w);
    void SetHeight(int h);

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    int GetWidthBytes() const { return widthBytes_; }
    int GetBitCount() const { return bitCount_; }
    int GetBytesPerPixel() const { return bytesPerPixel_; }
    MemoryDC* GetMemoryDC() const { return dc_.get(); }
    HBITMAP GetBitmap() const { return hBitmap_.get(); }
    const BITMAPINFO* GetInfo() const { return info_; }
    uint8_t* GetBits() const { return bits_; }
    // Row y counted from the top; no range check.
    uint32_t* GetLine(int y) const { return reinterpret_cast<uint32_t*>(lineTable_[y]); }

    int SetPalette(HPALETTE palette);
    HPALETTE CreateDIBPalette(const BITMAPINFO* info);

    int DIBCopy(int dx, int dy, int w, int h, const DIBImage* src, int sx, int sy);
    int DIBMaskCopy(int dx, int dy, int w, int h, const DIBImage* src, int sx, int sy,
                    const DIBImage* mask, int mx, int my, uint32_t key);
    // The shape of the non-key pixels of the rectangle, each pixel enlarged to a scale x scale
    // block (image coordinates times scale).
    HRGN GetTransRgn(int x, int y, int w, int h, uint32_t key, int32_t scale = 1) const;

    // The pixels as the portable kernels see them.
    PixelSurface GetSurface() const { return {bits_, width_, height_, widthBytes_, bitCount_}; }

  private:
    // A new surface not yet taken over by the image: deleted if anything fails before that.
    using NewSurface = CountedGdiObject<HBITMAP>;

    void MakeLineTable();
    int ReadBitmapFile(const char* path);
    // Builds the surface for a parsed file or resource from its pixel data (size bytes from the
    // pixel offset on) and takes it over; 0 after the message.
    int TakeDecoded(const BmpDecoder& decoder, const uint8_t* pixels, size_t size,
                    BmpSource source);
    // The conversion behind ChangeBitCount, for a size already within the limit; 0 on failure,
    // with the image as it was.
    int Convert(int bits, size_t bytes);
    // Makes a new size of surface, keeping the picture at the top-left; the image stays as it was
    // when the size is past the limit or the surface cannot be had.
    void Resize(int width, int height);
    void ResizeTo(int width, int height);
    // Takes over a finished surface with its palette; 0, with nothing changed, when it cannot.
    int TakeSurface(NewSurface& bitmap, uint8_t* bits, std::vector<uint8_t>& info, int widthBytes);
    // Selects the new surface, deletes the displaced one and adopts its description (swapped
    // out of info) and its row table.
    void Adopt(HBITMAP bitmap, uint8_t* bits, std::vector<uint8_t>& info, int widthBytes,
               std::unique_ptr<uint8_t*[]> table) noexcept;

    // The DC is made before the surface and outlives it; the surface is out of it before either
    // goes (see the destructor).
    std::unique_ptr<MemoryDC> dc_;
    CountedGdiObject<HBITMAP> hBitmap_;
    HBITMAP hOldBitmap_ = nullptr;  // not owned: the DC's own bitmap, put back at destruction
    // The info block is always the image's own copy, also after a resource load, so it can be
    // read and bounded without regard to where it came from.
    std::vector<uint8_t> infoStorage_;
    BITMAPINFO* info_ = nullptr;  // points into infoStorage_
    bool ownsInfo_ = true;
    int infoBytes_ = 0;  // size of the info block, header and colour table
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
    int bytesPerPixel_ = 0;
    int widthBytes_ = 0;
    std::unique_ptr<uint8_t*[]> lineTable_;
    uint8_t* bits_ = nullptr;  // owned by the DIB section
};
