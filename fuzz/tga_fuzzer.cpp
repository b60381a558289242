// Fuzz target: the TGA reader on arbitrary file contents, into one record that is
// filled again and again as the height-map record is. Besides crashes and sanitizer
// reports it checks that an accepted file comes out as its rows in reverse order,
// each pixel's first and third bytes swapped, and that a failure keeps no pixels.
// Half of the mutations edit the header as integers (header_mutator.h).
#include "assets/tga_reader.h"
#include "fuzz_file.h"
#include "header_mutator.h"

#include <cstdint>

namespace {

// Lives across inputs: every read must let go of the previous block.
TgaImage record = {nullptr, 0, 0, 0};

void checkPixels(const uint8_t* data, size_t size, const TgaImage& image) {
    if (size < 18 || image.width != data[12] + 256u * data[13] ||
        image.height != data[14] + 256u * data[15] || image.bitsPerPixel != data[16])
        fuzzFailure("accepted header differs from the file's");
    const size_t pixelBytes = size_t(image.bitsPerPixel) / 8;
    const size_t rowBytes = size_t(image.width) * pixelBytes;
    if (18 + rowBytes * image.height > size)
        fuzzFailure("accepted a file that ends inside its pixels");
    for (uint32_t row = 0; row < image.height; row++) {
        const uint8_t* in = data + 18 + rowBytes * (image.height - 1 - row);
        if (!rowSwappedFromFile(image.pixels + rowBytes * row, in, rowBytes, pixelBytes))
            fuzzFailure("pixels differ from the file's");
    }
}

// The size fields, the descriptor, and the image type and id length of the fixed
// part of the header.
const HeaderField TGA_FIELDS[] = {
    {12, 2, false, FieldRole::Width},  // width
    {14, 2, false, FieldRole::Height}, // height
    {16, 1, false, FieldRole::Depth},  // bits per pixel
    {17, 1, false, FieldRole::Other},  // descriptor
    {2, 1, false, FieldRole::Other},   // image type
    {0, 1, false, FieldRole::Other},   // image id length
};

// A 1 by 1 uncompressed true-colour picture of 24 bits.
const uint8_t TGA_BLANK[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0};

const ImageFormat TGA_FORMAT = {TGA_BLANK, 18, TGA_FIELDS, std::size(TGA_FIELDS), 1};

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    return HeaderMutator(TGA_FORMAT, seed).mutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceReaders();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = writeFuzzFile(data, size);
    if (readTga(&record, path)) {
        if (!record.pixels)
            fuzzFailure("success without pixels");
        checkPixels(data, size, record);
    } else if (record.pixels) {
        fuzzFailure("failure that keeps a pixel block");
    }
    return 0;
}
