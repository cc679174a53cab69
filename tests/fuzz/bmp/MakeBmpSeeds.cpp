// Writes the seed corpus of the BMP fuzz target: one small file for each variant the decoder
// accepts (Windows and OS/2 headers), and a few it refuses, so the fuzzer starts from every branch.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/native/base/BmpWriter.h"

namespace {
BmpSpec Picture(int bits, int width, int height, uint32_t compression = bmp::kRgb) {
    BmpSpec s = PatternedPicture(bits, width, height, 37, 11);
    s.compression = compression;
    return s;
}

bool Save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::pair<std::string, std::vector<uint8_t>>> seeds;
    for (int bits : {1, 4, 8, 24, 32}) {
        seeds.push_back({"rgb" + std::to_string(bits) + ".bmp", WriteBmp(Picture(bits, 7, 3))});
    }
    seeds.push_back({"topdown24.bmp", WriteBmp(Picture(24, 5, -4))});
    seeds.push_back({"rgb16.bmp", WriteBmp(Picture(16, 5, 2))});
    BmpSpec fields = Picture(16, 4, 2, bmp::kBitfields);
    fields.writeMasks = true;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    seeds.push_back({"fields565.bmp", WriteBmp(fields)});
    BmpSpec v4 = Picture(32, 3, 2, bmp::kBitfields);
    v4.headerSize = bmp::kV4HeaderBytes;
    v4.writeMasks = true;
    v4.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    seeds.push_back({"v4fields32.bmp", WriteBmp(v4)});
    BmpSpec v5 = Picture(8, 6, 2);
    v5.headerSize = bmp::kV5HeaderBytes;
    v5.clrUsed = 20;
    v5.colours.resize(20);
    seeds.push_back({"v5pal8.bmp", WriteBmp(v5)});
    BmpSpec rle8 = Picture(8, 6, 3, bmp::kRle8);
    rle8.pixels = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 2, 9, 0, 0, 6, 4, 0, 1};
    seeds.push_back({"rle8.bmp", WriteBmp(rle8)});
    BmpSpec rle4 = Picture(4, 8, 2, bmp::kRle4);
    rle4.pixels = {5, 0x12, 0, 3, 0x45, 0x60, 0, 0, 0, 2, 1, 0, 0, 1};
    seeds.push_back({"rle4.bmp", WriteBmp(rle4)});
    seeds.push_back({"dib4.dib", WriteDib(Picture(4, 16, 2))});
    seeds.push_back({"shape32.bmp", WriteBmp(Picture(32, 16, 8))});
    std::vector<uint8_t> lying = WriteBmp(Picture(8, 4, 2));
    PutLe(lying, 46, 300, 4);  // biClrUsed past the table
    seeds.push_back({"lying_palette.bmp", lying});
    seeds.push_back({"not_bm.bin", {'P', 'K', 3, 4}});
    // OS/2 1.x (12-byte header, 3-byte colours) and OS/2 2.x in its full and short forms.
    for (int bits : {1, 4, 8, 24}) {
        BmpSpec core = Picture(bits, 7, 3);
        core.headerSize = bmp::kCoreHeaderBytes;
        seeds.push_back({"os2core" + std::to_string(bits) + ".bmp", WriteBmp(core)});
    }
    for (uint32_t size : {bmp::kOs2HeaderBytes, bmp::kOs2MinHeaderBytes, 42u}) {
        BmpSpec os2 = Picture(8, 5, 2);
        os2.headerSize = size;
        seeds.push_back({"os2v2_" + std::to_string(size) + ".bmp", WriteBmp(os2)});
    }
    BmpSpec fewColours = Picture(8, 4, 2);
    fewColours.headerSize = bmp::kCoreHeaderBytes;
    fewColours.colours.resize(9);  // the table ends where the pixels start
    seeds.push_back({"os2core_short_table.bmp", WriteBmp(fewColours)});
    BmpSpec os2Rle = rle8;
    os2Rle.headerSize = bmp::kOs2HeaderBytes;
    seeds.push_back({"os2v2_rle8.bmp", WriteBmp(os2Rle)});
    BmpSpec huffman = Picture(1, 8, 2, bmp::kBitfields);  // Huffman 1D in this header: refused
    huffman.headerSize = bmp::kOs2HeaderBytes;
    seeds.push_back({"os2v2_huffman.bmp", WriteBmp(huffman)});
    BmpSpec v2fields = fields;
    v2fields.headerSize = 52;
    seeds.push_back({"v2fields565.bmp", WriteBmp(v2fields)});
    seeds.push_back({"os2core_dib8.dib", WriteDib(fewColours)});
    BmpSpec manyColours = Picture(24, 3, 2);
    manyColours.clrUsed = 300;
    manyColours.colours = RampColours(300);
    seeds.push_back({"rgb24_300_colours.bmp", WriteBmp(manyColours)});
    for (const auto& seed : seeds) {
        if (!Save(dir, seed.first, seed.second)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), seed.first.c_str());
            return 1;
        }
    }
    return 0;
}
