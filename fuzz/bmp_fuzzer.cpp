// Fuzz target: the BMP reader on arbitrary file contents. Besides crashes and
// sanitizer reports it checks that a file the reader accepts comes out as its rows,
// bottom row first, each pixel turned from B, G, R into R, G, B. Half of the
// mutations edit the header as integers (header_mutator.h).
#include "assets/bmp_reader.h"
#include "fuzz_file.h"
#include "header_mutator.h"

#include <cstdint>
#include <cstdlib>

namespace {

uint32_t read32(const uint8_t* b) {
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// The pixels the reader must have made of an accepted file.
void checkPixels(const uint8_t* data, size_t size, const BmpImage& image) {
    if (size < 54)
        fuzzFailure("accepted a file shorter than its header");
    const int32_t storedHeight = static_cast<int32_t>(read32(data + 22));
    const bool topDown = storedHeight < 0;
    if (image.width != read32(data + 18) || image.width == 0 || image.height == 0)
        fuzzFailure("accepted size differs from the header");
    const size_t rowBytes = size_t(image.width) * 3;
    const size_t stride = (rowBytes + 3) / 4 * 4;
    for (uint32_t row = 0; row < image.height; row++) {
        const uint32_t fileRow = topDown ? image.height - 1 - row : row;
        const size_t from = 54 + stride * fileRow;
        if (from + rowBytes > size)
            fuzzFailure("accepted a file that ends inside its pixels");
        if (!rowSwappedFromFile(image.pixels + rowBytes * row, data + from, rowBytes, 3))
            fuzzFailure("pixels differ from the file's");
    }
}

// The fields the reader reads, and two it skips.
const HeaderField BMP_FIELDS[] = {
    {18, 4, false, FieldRole::Width}, // taken as unsigned
    {22, 4, true, FieldRole::Height}, // negative: top row first
    {26, 2, false, FieldRole::Other}, // planes
    {28, 2, false, FieldRole::Depth}, // bits per pixel
    {10, 4, false, FieldRole::Other}, // pixel data offset
    {30, 4, false, FieldRole::Other}, // compression
};

// A 1 by 1 picture of 24 bits with one plane, pixels from byte 54.
const uint8_t BMP_BLANK[54] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                               0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};

const ImageFormat BMP_FORMAT = {BMP_BLANK, 54, BMP_FIELDS, std::size(BMP_FIELDS), 4};

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    return HeaderMutator(BMP_FORMAT, seed).mutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceReaders();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = writeFuzzFile(data, size);
    BmpImage image;
    if (loadBmp(path, &image)) {
        if (!image.pixels)
            fuzzFailure("success without pixels");
        checkPixels(data, size, image);
        std::free(image.pixels);
    } else if (image.pixels) {
        fuzzFailure("failure that keeps a pixel block");
    }
    return 0;
}
