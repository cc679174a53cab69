// The DIB image: construction at the screen depth, resizing, conversion, loading from files and
// resources, palettes, copies and window-shape regions. Every replacement of the surface builds
// the new one completely first, so a failure leaves the image exactly as it was.
#include "imaging/DIBImage.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "base/BmpDecoder.h"
#include "base/ImageLimits.h"
#include "base/ImagingMessages.h"
#include "base/MessageSeam.h"
#include "base/PixelCopy.h"
#include "base/NearestNeighbour.h"
#include "base/TransparentRuns.h"
#include "imaging/GdiObjectCount.h"
#include "platform/AppWindow.h"
#include "platform/UniqueHandle.h"

namespace {
const LPCSTR kBitmapType = MAKEINTRESOURCEA(2);  // RT_BITMAP
// How much of a file is read before its header says how much more is worth reading.
constexpr DWORD kHeaderReadBytes = 64 * 1024;
// Regions are built from this many runs at a time.
constexpr size_t kRunsPerRegion = 2000;

int TableEntries(int bits) {
    return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
}

// A zero-filled info block for a surface of the given size and depth: the 40-byte header and
// its colour table, or one spare slot when there is none.
std::vector<uint8_t> NewInfoBlock(int width, int height, int bits) {
    const int entries = TableEntries(bits);
    std::vector<uint8_t> block(sizeof(BITMAPINFOHEADER) + 4 * std::max(entries, 1), 0);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = static_cast<WORD>(bits);
    h->biCompression = BI_RGB;
    return block;
}

BITMAPINFO* AsInfo(std::vector<uint8_t>& block) {
    return reinterpret_cast<BITMAPINFO*>(block.data());
}

HBITMAP CreateSection(HDC dc, const BITMAPINFO* info, uint8_t** bits) {
    void* pixels = nullptr;
    HBITMAP bitmap = CountCreated(CreateDIBSection(dc, info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    *bits = bitmap != nullptr ? static_cast<uint8_t*>(pixels) : nullptr;
    return bitmap;
}

// Row pointers from the top row down for a bottom-up surface, or null when there is no memory.
std::unique_ptr<uint8_t* []> NewLineTable(uint8_t* bits, int height, int widthBytes) {
    std::unique_ptr<uint8_t*[]> table(new (std::nothrow) uint8_t*[height]);
    if (table) {
        for (int k = 0; k < height; ++k) {
            table[height - 1 - k] = bits + static_cast<size_t>(k) * widthBytes;
        }
    }
    return table;
}

// Bytes per row as the system reports them for a surface, or 0 when it reports nothing.
int SurfaceWidthBytes(HBITMAP bitmap) {
    BITMAP bm{};
    if (GetObjectA(bitmap, sizeof bm, &bm) == 0) {
        return 0;
    }
    return bm.bmWidthBytes;
}

void ShowBadBitmap() {
    ShowProgramMessage(IDS_BAD_BITMAP, IDS_BAD_BITMAP_CAPTION, MB_OK | MB_ICONERROR);
}

void ShowMethodError(uint32_t text) {
    ShowProgramMessage(text, IDS_METHOD_CAPTION, MB_OK | MB_ICONWARNING);
}

HPALETTE StockPalette() {
    return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
}

bool IsKnownHeaderSize(DWORD size) {
    return size == 40 || size == 108 || size == 124;
}

// Reads up to count bytes at the current position; returns how many arrived.
size_t ReadUpTo(HANDLE file, uint8_t* to, size_t count) {
    size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, to + done, chunk, &got, nullptr) || got == 0) {
            break;
        }
        done += got;
    }
    return done;
}
}  // namespace

DIBImage::DIBImage() : dc_(std::make_unique<MemoryDC>()) {
    WindowDC screen(nullptr);
    bitCount_ = GetDeviceCaps(screen.get(), BITSPIXEL) & 0xFFFF;
    std::vector<uint8_t> block = NewInfoBlock(1, 1, bitCount_);
    const int entries = TableEntries(bitCount_);
    if (entries > 0) {
        PALETTEENTRY stock[256] = {};
        GetPaletteEntries(StockPalette(), 0, entries, stock);
        RGBQUAD* table = AsInfo(block)->bmiColors;
        for (int i = 0; i < entries; ++i) {
            table[i] = {stock[i].peBlue, stock[i].peGreen, stock[i].peRed, 0};
        }
    }
    hBitmap_.reset(CreateSection(screen.get(), AsInfo(block), &bits_));
    if (!hBitmap_) {
        // A depth the system cannot make a section of (a 15-bit screen, say): 32 bits always work.
        bitCount_ = 32;
        block = NewInfoBlock(1, 1, 32);
        hBitmap_.reset(CreateSection(screen.get(), AsInfo(block), &bits_));
    }
    infoStorage_ = std::move(block);
    info_ = AsInfo(infoStorage_);
    infoBytes_ = static_cast<int>(infoStorage_.size());
    width_ = 1;
    height_ = 1;
    bytesPerPixel_ = (bitCount_ + 1) / 8;
    widthBytes_ = SurfaceWidthBytes(hBitmap_.get());
    if (widthBytes_ == 0) {
        widthBytes_ = static_cast<int>(DibRowBytes(1, bitCount_));
    }
    hOldBitmap_ = static_cast<HBITMAP>(SelectObject(dc_->GetHDC(), hBitmap_.get()));
    PatBlt(dc_->GetHDC(), 0, 0, 1, 1, WHITENESS);
    GdiFlush();
    MakeLineTable();
}

// The surface leaves the DC first; then the members delete the DC and the surface.
DIBImage::~DIBImage() {
    SelectObject(dc_->GetHDC(), hOldBitmap_);
}

void DIBImage::MakeLineTable() {
    std::unique_ptr<uint8_t*[]> table = NewLineTable(bits_, height_, widthBytes_);
    if (!table) {
        throw std::bad_alloc();
    }
    lineTable_ = std::move(table);
}

void DIBImage::Adopt(HBITMAP bitmap, uint8_t* bits, std::vector<uint8_t>& info, int widthBytes,
                     std::unique_ptr<uint8_t*[]> table) noexcept {
    HGDIOBJ displaced = SelectObject(dc_->GetHDC(), bitmap);
    if (displaced != hBitmap_.get()) {
        // The select failed and the DC still holds the old surface: it is not deleted under it.
        hBitmap_.release();
    }
    hBitmap_.reset(bitmap);
    bits_ = bits;
    infoStorage_.swap(info);
    info_ = AsInfo(infoStorage_);
    infoBytes_ = static_cast<int>(infoStorage_.size());
    width_ = info_->bmiHeader.biWidth;
    height_ = info_->bmiHeader.biHeight;
    bitCount_ = info_->bmiHeader.biBitCount;
    bytesPerPixel_ = (bitCount_ + 1) / 8;
    widthBytes_ = widthBytes;
    lineTable_ = std::move(table);
}

int DIBImage::ChangeBitCount(int bits) {
    if (TableEntries(bits) == 0 && bits != 16 && bits != 24 && bits != 32) {
        return 0;
    }
    // The size is settled before anything is allocated or changed, whatever the image holds.
    const int64_t bytes = LimitedSurfaceBytes(width_, height_, bits);
    int done = 0;
    if (bytes > 0) {
        try {
            done = Convert(bits, static_cast<size_t>(bytes));
        } catch (const std::exception&) {
            done = 0;
        }
    }
    if (done == 0) {
        ShowBadBitmap();
    }
    return done;
}

int DIBImage::Convert(int bits, size_t bytes) {
    std::vector<uint8_t> block = NewInfoBlock(width_, height_, bits);
    std::vector<uint8_t> buffer(bytes, 0);
    HDC dc = dc_->GetHDC();
    GdiFlush();
    // The surface is read while no DC holds it, as GetDIBits asks.
    SelectObject(dc, hOldBitmap_);
    const int lines =
        GetDIBits(dc, hBitmap_.get(), 0, height_, buffer.data(), AsInfo(block), DIB_RGB_COLORS);
    SelectObject(dc, hBitmap_.get());
    if (lines != height_) {
        return 0;
    }
    // GetDIBits may have filled in the size and the colours used; the image keeps a plain header.
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    h->biSizeImage = 0;
    h->biClrUsed = 0;
    h->biClrImportant = 0;
    uint8_t* newBits = nullptr;
    NewSurface bitmap(CreateSection(dc, AsInfo(block), &newBits));
    const int widthBytes = bitmap ? SurfaceWidthBytes(bitmap.get()) : 0;
    if (widthBytes == 0) {
        return 0;
    }
    std::memcpy(newBits, buffer.data(),
                std::min(buffer.size(), static_cast<size_t>(widthBytes) * height_));
    return TakeSurface(bitmap, newBits, block, widthBytes);
}

int DIBImage::TakeSurface(NewSurface& bitmap, uint8_t* bits, std::vector<uint8_t>& info,
                          int widthBytes) {
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    // The one allocation comes first: once the palette is set nothing may fail.
    std::unique_ptr<uint8_t*[]> table = NewLineTable(bits, header->biHeight, widthBytes);
    if (!table) {
        return 0;
    }
    SetPalette(header->biBitCount < 16 ? CreateDIBPalette(AsInfo(info)) : StockPalette());
    Adopt(bitmap.release(), bits, info, widthBytes, std::move(table));
    return 1;
}

void DIBImage::SetWidth(int w) {
    Resize(w <= 0 ? 1 : w, height_);
}

void DIBImage::SetHeight(int h) {
    Resize(width_, h <= 0 ? 1 : h);
}

void DIBImage::Resize(int width, int height) {
    // A size past the limit, or a surface the system will not make, leaves the image as it was.
    if (LimitedSurfaceBytes(width, height, bitCount_) <= 0) {
        return;
    }
    try {
        ResizeTo(width, height);
    } catch (const std::exception&) {
    }
}

void DIBImage::ResizeTo(int width, int height) {
    std::vector<uint8_t> block = infoStorage_;
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    h->biWidth = width;
    h->biHeight = height;
    h->biSizeImage = 0;
    WindowDC screen(nullptr);
    uint8_t* newBits = nullptr;
    NewSurface bitmap(CreateSection(screen.get(), AsInfo(block), &newBits));
    if (!bitmap) {
        return;
    }
    int widthBytes = SurfaceWidthBytes(bitmap.get());
    if (widthBytes == 0) {
        widthBytes = static_cast<int>(DibRowBytes(width, bitCount_));
    }
    CountedDC temp(CountCreated(CreateCompatibleDC(screen.get())));
    if (!temp) {
        return;
    }
    {
        SelectionGuard selected(temp.get(), bitmap.get());
        PatBlt(temp.get(), 0, 0, width, height, WHITENESS);
        BitBlt(temp.get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_->GetHDC(),
               0, 0, SRCCOPY);
        GdiFlush();
    }
    temp.reset();
    std::unique_ptr<uint8_t*[]> table = NewLineTable(newBits, height, widthBytes);
    if (table) {
        Adopt(bitmap.release(), newBits, block, widthBytes, std::move(table));
    }
}

int DIBImage::LoadBitmapFile(const char* path) {
    try {
        return ReadBitmapFile(path);
    } catch (const std::exception&) {
        // Only memory can run out here; the image is still as it was.
        ReportBmpError(BmpError::BadData, BmpSource::File);
        return 0;
    }
}

int DIBImage::ReadBitmapFile(const char* path) {
    HANDLE opened = path != nullptr ? CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr)
                                    : INVALID_HANDLE_VALUE;
    if (opened == INVALID_HANDLE_VALUE) {
        ShowProgramMessage(IDS_FILE_OPEN, IDS_FILE_OPEN_CAPTION, MB_OK | MB_ICONERROR);
        return 0;
    }
    UniqueKernelHandle file(opened);
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart < 0) {
        length.QuadPart = 0;
    }
    const uint64_t fileSize = static_cast<uint64_t>(length.QuadPart);
    std::vector<uint8_t> data(static_cast<size_t>(std::min<uint64_t>(fileSize, kHeaderReadBytes)));
    data.resize(ReadUpTo(file.get(), data.data(), data.size()));
    BmpDecoder decoder;
    BmpError error = decoder.ParseFile(data.data(), data.size(), fileSize);
    if (error != BmpError::None) {
        ReportBmpError(error, BmpSource::File);
        return 0;
    }
    // Read no more than the pixels can use: the header has bounded that. Pixels that start past
    // what has been read are read on their own, without the gap before them.
    const uint64_t needed = decoder.BytesNeeded(fileSize);
    const uint64_t start = decoder.Layout().pixelOffset;
    if (start >= data.size()) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(start);
        data.assign(static_cast<size_t>(needed - start), 0);
        const bool placed = SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) != 0;
        data.resize(placed ? ReadUpTo(file.get(), data.data(), data.size()) : 0);
        return TakeDecoded(decoder, data.data(), data.size(), BmpSource::File);
    }
    if (needed > data.size()) {
        const size_t have = data.size();
        data.resize(static_cast<size_t>(needed));
        data.resize(have + ReadUpTo(file.get(), data.data() + have, data.size() - have));
    }
    return TakeDecoded(decoder, data.data() + start, data.size() - static_cast<size_t>(start),
                       BmpSource::File);
}

int DIBImage::LoadBitmapResource(LPCSTR name) {
    HINSTANCE instance = ProgramInstance();
    HRSRC resource = FindResourceA(instance, name, kBitmapType);
    if (resource == nullptr) {
        ShowProgramMessage(IDS_RESOURCE_MISSING, IDS_RESOURCE_MISSING_CAPTION,
                           MB_OK | MB_ICONWARNING);
        return 0;
    }
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(instance, resource);
    if (bytes == nullptr || size == 0) {
        ShowProgramMessage(IDS_RESOURCE_LOAD, IDS_RESOURCE_LOAD_CAPTION, MB_OK | MB_ICONERROR);
        return 0;
    }
    const uint8_t* data = static_cast<const uint8_t*>(bytes);
    BmpDecoder decoder;
    try {
        if (decoder.ParseDib(data, size) == BmpError::None) {
            const size_t start = static_cast<size_t>(decoder.Layout().pixelOffset);
            return TakeDecoded(decoder, data + start, size - start, BmpSource::Resource);
        }
    } catch (const std::exception&) {
    }
    ReportBmpError(BmpError::BadData, BmpSource::Resource);
    return 0;
}

int DIBImage::TakeDecoded(const BmpDecoder& decoder, const uint8_t* pixels, size_t size,
                          BmpSource source) {
    const BmpLayout& layout = decoder.Layout();
    std::vector<uint8_t> block = decoder.InfoBlock();
    // The section gets its full table, so that an index past the colours the file gave (zero
    // entries) shows black; the image's own header keeps the file's count for the palette.
    std::vector<uint8_t> sectionBlock = block;
    reinterpret_cast<BITMAPINFOHEADER*>(sectionBlock.data())->biClrUsed = 0;
    uint8_t* newBits = nullptr;
    NewSurface bitmap(CreateSection(dc_->GetHDC(), AsInfo(sectionBlock), &newBits));
    const int widthBytes = bitmap ? SurfaceWidthBytes(bitmap.get()) : 0;
    if (widthBytes != layout.widthBytes ||
        !decoder.DecodePixels(pixels, size, newBits,
                              static_cast<size_t>(widthBytes) * layout.header.height) ||
        TakeSurface(bitmap, newBits, block, widthBytes) == 0) {
        ReportBmpError(BmpError::BadData, source);
        return 0;
    }
    return 1;
}

HPALETTE DIBImage::CreateDIBPalette(const BITMAPINFO* info) {
    size_t entries = 0;
    const BITMAPINFOHEADER* h = info != nullptr ? &info->bmiHeader : nullptr;
    if (h != nullptr && IsKnownHeaderSize(h->biSize)) {
        const int bits = h->biBitCount;
        entries = h->biClrUsed != 0 ? h->biClrUsed : (bits >= 1 && bits <= 8 ? 1u << bits : 0);
        // Never more colours than the depth can index or a table can hold, and for the image's
        // own block never more than the block holds.
        entries = std::min<size_t>(entries, bits >= 1 && bits <= 8 ? 1u << bits : 256);
        if (info == info_) {
            const size_t room = infoBytes_ > static_cast<int>(h->biSize)
                                    ? (infoBytes_ - h->biSize) / sizeof(RGBQUAD)
                                    : 0;
            entries = std::min(entries, room);
        }
    }
    HPALETTE palette = nullptr;
    if (entries > 0) {
        std::vector<uint8_t> storage(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY), 0);
        auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = static_cast<WORD>(entries);
        const auto* table =
            reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + h->biSize);
        for (size_t i = 0; i < entries; ++i) {
            logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        }
        palette = CountCreated(CreatePalette(logical));
    }
    if (palette == nullptr) {
        ShowProgramMessage(IDS_PALETTE_CREATE, IDS_PALETTE_CREATE_CAPTION, MB_OK | MB_ICONERROR);
    }
    return palette;
}

int DIBImage::SetPalette(HPALETTE palette) {
    return dc_->SelectDIBPalette(palette);
}

int DIBImage::DIBCopy(int dx, int dy, int w, int h, const DIBImage* src, int sx, int sy) {
    if (bitCount_ < 8) {
        ShowMethodError(IDS_COPY_NEEDS_256);
        return 0;
    }
    if (src == nullptr || src->bitCount_ != bitCount_) {
        ShowMethodError(IDS_COPY_SAME_FORMAT);
        return 0;
    }
    // Pixels drawn by GDI reach the memory only after a flush.
    GdiFlush();
    CopyPixelRows(GetSurface(), dx, dy, w, h, src->GetSurface(), sx, sy);
    return 1;
}

int DIBImage::DIBMaskCopy(int dx, int dy, int w, int h, const DIBImage* src, int sx, int sy,
                          const DIBImage* mask, int mx, int my, uint32_t key) {
    if (bitCount_ != 32) {
        ShowMethodError(IDS_MASK_DESTINATION);
        return 0;
    }
    if (src == nullptr || src->bitCount_ != 32) {
        ShowMethodError(IDS_MASK_SOURCE);
        return 0;
    }
    if (mask == nullptr || mask->bitCount_ != 32) {
        ShowMethodError(IDS_MASK_MASK);
        return 0;
    }
    GdiFlush();
    MaskCopyPixels(GetSurface(), dx, dy, w, h, src->GetSurface(), sx, sy, mask->GetSurface(), mx,
                   my, key);
    return 1;
}

HRGN DIBImage::GetTransRgn(int x, int y, int w, int h, uint32_t key, int32_t scale) const {
    if (bitCount_ != 32) {
        ShowMethodError(IDS_REGION_NEEDS_32);
        return nullptr;
    }
    GdiFlush();
    const std::vector<ScreenRect> rects =
        ScaleRuns(FindOpaqueRuns(GetSurface(), x, y, w, h, key), scale);
    // The runs go to the system in blocks, each as one region description, rather than one
    // rectangle at a time: the same union, far fewer combinations.
    UniqueRegion region;
    std::vector<uint8_t> storage;
    for (size_t first = 0; first < rects.size(); first += kRunsPerRegion) {
        const size_t count = std::min(kRunsPerRegion, rects.size() - first);
        storage.assign(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
        auto* data = reinterpret_cast<RGNDATA*>(storage.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(count);
        data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
        const ScreenRect& head = rects[first];
        RECT bound = {head.left, head.top, head.right, head.bottom};
        RECT* out = reinterpret_cast<RECT*>(data->Buffer);
        for (size_t i = 0; i < count; ++i) {
            const ScreenRect& r = rects[first + i];
            out[i] = {r.left, r.top, r.right, r.bottom};
            bound.left = std::min<LONG>(bound.left, r.left);
            bound.right = std::max<LONG>(bound.right, r.right);
            bound.bottom = r.bottom;
        }
        data->rdh.rcBound = bound;
        UniqueRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(storage.size()), data));
        if (!part) {
            return nullptr;
        }
        if (!region) {
            region = std::move(part);
        } else {
            CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
        }
    }
    return region.release();
}
