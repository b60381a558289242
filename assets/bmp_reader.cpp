// The BMP reader: one kind of file, 24 bits per pixel with one plane, whose pixel
// data is taken to start at byte 54. Reads files only; the upload is in bmp_loader.cpp.
#include "assets/bmp_reader.h"
#include "assets/bmp_sizes.h"

#include <cstdio>
#include <cstdlib>

namespace {

uint32_t littleEndian32(const unsigned char* b) {
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

unsigned littleEndian16(const unsigned char* b) { return unsigned(b[0]) | unsigned(b[1]) << 8; }

long fileSize(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    return std::ftell(file);
}

// Reads the rows into image->pixels, bottom row first and without the padding
// that rounds each stored row up to a multiple of 4 bytes. A top-down file
// stores its rows the other way round.
bool readRows(FILE* file, BmpImage* image, bool topDown) {
    const size_t rowBytes = size_t(image->width) * 3;
    const size_t padding = (4 - rowBytes % 4) % 4;
    if (!topDown && padding == 0) {
        const size_t size = rowBytes * image->height;
        return std::fread(image->pixels, 1, size, file) == size;
    }
    for (uint32_t fileRow = 0; fileRow < image->height; fileRow++) {
        const uint32_t row = topDown ? image->height - 1 - fileRow : fileRow;
        if (std::fread(image->pixels + rowBytes * row, 1, rowBytes, file) != rowBytes)
            return false;
        unsigned char pad[3];
        // Some writers leave out the padding of the very last row.
        if (fileRow + 1 < image->height && std::fread(pad, 1, padding, file) != padding)
            return false;
    }
    return true;
}

// Everything after opening; the caller closes the file.
int readBmp(FILE* file, const char* path, BmpImage* image) {
    unsigned char b[4];
    std::fseek(file, 18, SEEK_SET);
    if (std::fread(b, 1, 4, file) != 4) {
        std::printf("Error reading width from %s.\n", path);
        return 0;
    }
    image->width = littleEndian32(b);
    std::printf("Width of %s: %lu\n", path, static_cast<unsigned long>(image->width));

    if (std::fread(b, 1, 4, file) != 4) {
        std::printf("Error reading height from %s.\n", path);
        return 0;
    }
    // A negative height marks a file that stores its top row first.
    const int32_t storedHeight = static_cast<int32_t>(littleEndian32(b));
    const bool topDown = storedHeight < 0;
    image->height = bmpRowCount(storedHeight);
    std::printf("Height of %s: %lu\n", path, static_cast<unsigned long>(image->height));

    if (std::fread(b, 1, 2, file) != 2) {
        std::printf("Error reading planes from %s.\n", path);
        return 0;
    }
    const unsigned planes = littleEndian16(b);
    if (planes != 1) {
        std::printf("Planes from %s is not 1: %u\n", path, planes);
        return 0;
    }
    if (std::fread(b, 1, 2, file) != 2) {
        std::printf("Error reading bpp from %s.\n", path);
        return 0;
    }
    const unsigned bpp = littleEndian16(b);
    if (bpp != 24) {
        std::printf("Bpp from %s is not 24: %u\n", path, bpp);
        return 0;
    }

    // The header is weighed against the file before anything is allocated, so a
    // damaged header can neither ask for an absurd block nor make its size wrap.
    uint64_t size = 0;
    switch (checkBmpSizes(image->width, image->height, fileSize(file), &size)) {
    case BmpSizeCheck::NoPixels:
        std::printf("No pixels in %s.\n", path);
        return 0;
    case BmpSizeCheck::TooLarge:
        std::printf("Error allocating memory for color-corrected image data");
        return 0;
    case BmpSizeCheck::BeyondFile:
        std::printf("Error reading image data from %s.\n", path);
        return 0;
    case BmpSizeCheck::Fits:
        break;
    }
    std::fseek(file, BMP_PIXEL_DATA_OFFSET, SEEK_SET);

    image->pixels = static_cast<unsigned char*>(std::malloc(size));
    // No room for the pixels fails the file like any other fault of it.
    if (!image->pixels) {
        std::printf("Error allocating memory for color-corrected image data");
        return 0;
    }
    if (!readRows(file, image, topDown)) {
        std::free(image->pixels);
        image->pixels = nullptr;
        std::printf("Error reading image data from %s.\n", path);
        return 0;
    }
    // The file stores B, G, R; OpenGL wants R, G, B.
    unsigned char* p = image->pixels;
    for (uint64_t i = 0; i < size; i += 3) {
        const unsigned char blue = p[i];
        p[i] = p[i + 2];
        p[i + 2] = blue;
    }
    return 1;
}

} // namespace

int loadBmp(const char* path, BmpImage* image) {
    image->pixels = nullptr;
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::printf("File Not Found : %s\n", path);
        return 0;
    }
    const int loaded = readBmp(file, path, image);
    std::fclose(file);
    return loaded;
}
