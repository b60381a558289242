// The TGA reader: uncompressed true-colour images without an image id, colour map
// or origin offset, 24 or 32 bits per pixel. Reads files only; the upload is in
// tga_loader.cpp.
#include "assets/tga_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

TgaImage bumpImage = {nullptr, 0, 0, 0};

namespace {

// Image-id length 0, no colour map, type 2 (uncompressed true colour), an empty
// colour-map description and the origin (0, 0).
const unsigned char UNCOMPRESSED_HEADER[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

constexpr long PIXEL_DATA_OFFSET = 18;

// Whether size bytes of pixel data follow the header; checked before allocating,
// so a damaged header cannot ask for an absurd block.
bool pixelDataFits(FILE* file, uint64_t size) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return false;
    const long total = std::ftell(file);
    std::fseek(file, PIXEL_DATA_OFFSET, SEEK_SET);
    return total >= PIXEL_DATA_OFFSET && size <= uint64_t(total - PIXEL_DATA_OFFSET);
}

// Everything after opening, up to and including the row reversal; the caller
// closes the file.
bool readOpenTga(FILE* file, const char* path, TgaImage* image) {
    unsigned char header[12];
    if (std::fread(header, 1, sizeof header, file) != sizeof header ||
        std::memcmp(header, UNCOMPRESSED_HEADER, sizeof header) != 0) {
        std::printf("error loading %s\n", path);
        return false;
    }
    unsigned char info[6];
    if (std::fread(info, 1, sizeof info, file) != sizeof info) {
        std::printf("error loading %s\n", path);
        return false;
    }
    image->width = info[0] + 256u * info[1];
    image->height = info[2] + 256u * info[3];
    const int bits = info[4];
    // info[5], the descriptor, is not used: the rows are always turned over.
    if (image->width == 0 || image->height == 0 || (bits != 24 && bits != 32)) {
        std::printf("bailing 1\n");
        return false;
    }
    image->bitsPerPixel = bits;
    const int bytesPerPixel = bits / 8;
    // Up to 65535 * 65535 * 4 bytes: more than 32 bits can hold.
    const uint64_t size = uint64_t(image->width) * image->height * bytesPerPixel;
    std::printf("texture width %d\n", static_cast<int>(image->width));
    std::printf("texture height %d\n", static_cast<int>(image->height));
    std::printf("bytes per pixel %d\n", bytesPerPixel);

    // No room for the pixels fails the file like short pixel data.
    if (pixelDataFits(file, size))
        image->pixels = static_cast<unsigned char*>(std::malloc(size));
    if (!image->pixels || std::fread(image->pixels, 1, size, file) != size) {
        releaseTgaPixels(image);
        std::printf("bailing 2\n");
        return false;
    }
    // The file stores B, G, R (, A); OpenGL wants R, G, B (, A).
    unsigned char* p = image->pixels;
    for (uint64_t i = 0; i < size; i += bytesPerPixel) {
        const unsigned char blue = p[i];
        p[i] = p[i + 2];
        p[i + 2] = blue;
    }
    // The files store their top row first, OpenGL takes the bottom row first.
    const size_t rowBytes = size_t(image->width) * bytesPerPixel;
    for (uint32_t j = 0, i = image->height - 1; j < i; j++, i--)
        std::swap_ranges(p + rowBytes * j, p + rowBytes * (j + 1), p + rowBytes * i);
    return true;
}

} // namespace

bool readTga(TgaImage* image, const char* path) {
    // A record that is filled again lets go of its old block first, so that its
    // fields never describe pixels it no longer holds.
    releaseTgaPixels(image);
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::printf("error loading %s\n", path);
        return false;
    }
    const bool read = readOpenTga(file, path, image);
    std::fclose(file);
    return read;
}

void releaseTgaPixels(TgaImage* image) {
    std::free(image->pixels);
    image->pixels = nullptr;
}
