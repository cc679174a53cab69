// The program's one bitmap type: a DIB section kept selected in the image's own memory DC, with
// a table of row pointers from the top row down. Loaded, resized, converted to 32 bits, copied.
#pragma once

#include <windows.h>

#include <cstdint>

#include "imaging/MemoryDC.h"

class DIBImage {
public:
    DIBImage();  // 1 x 1 white at the screen depth
    virtual ~DIBImage();
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
    MemoryDC* GetMemoryDC() const { return dc_; }
    HBITMAP GetBitmap() const { return hBitmap_; }
    const BITMAPINFO* GetInfo() const { return info_; }
    uint8_t* GetBits() const { return bits_; }
    // Row y counted from the top; no range check.
    uint32_t* GetLine(int y) const { return reinterpret_cast<uint32_t*>(lineTable_[y]); }

    int SetPalette(HPALETTE palette);
    HPALETTE CreateDIBPalette(const BITMAPINFO* info);

    int DIBCopy(int dx, int dy, int w, int h, const DIBImage* src, int sx, int sy);
    int DIBMaskCopy(int dx, int dy, int w, int h, const DIBImage* src, int sx, int sy,
                    const DIBImage* mask, int mx, int my, uint32_t key);
    HRGN GetTransRgn(int x, int y, int w, int h, uint32_t key) const;

private:
    void MakeLineTable();

    HBITMAP hBitmap_ = nullptr;
    HBITMAP hOldBitmap_ = nullptr;  // not owned: the DC's own bitmap, put back at destruction
    MemoryDC* dc_ = nullptr;        // owned
    BITMAPINFO* info_ = nullptr;    // owned when ownsInfo_
    bool ownsInfo_ = false;
    int infoBytes_ = 0;             // size of the info block, header and colour table
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
    int bytesPerPixel_ = 0;
    int widthBytes_ = 0;
    uint8_t** lineTable_ = nullptr;  // owned
    uint8_t* bits_ = nullptr;        // owned by the DIB section
};
