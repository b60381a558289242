// The sizes a BMP header asks for, weighed against 32 bits and against the file
// before anything is allocated, in arithmetic that no header can make wrap.
#pragma once

#include <cstdint>
#include <cstdlib>

// The reader allocates and reads the sizes below as size_t.
static_assert(sizeof(size_t) >= sizeof(uint64_t), "pixel sizes are 64-bit");

// Where the pixel data starts: the reader accepts no other layout.
constexpr long BMP_PIXEL_DATA_OFFSET = 54;

// The rows of a BMP from its stored height: a negative height marks a file that
// stores its top row first. INT32_MIN gives 2^31 rows.
inline uint32_t bmpRowCount(int32_t storedHeight) {
    return storedHeight < 0 ? static_cast<uint32_t>(-static_cast<int64_t>(storedHeight))
                            : static_cast<uint32_t>(storedHeight);
}

enum class BmpSizeCheck {
    Fits,       // the pixels fit 32 bits and the file holds them
    NoPixels,   // width or height 0
    TooLarge,   // width * height * 3 bytes do not fit 32 bits
    BeyondFile, // the file ends before the last row (or cannot be measured: length < 0)
};

// Weighs a BMP of width by height pixels, 3 bytes each, in a file of fileLength
// bytes. The file pads each stored row to a multiple of 4 bytes, except that the
// last row may be left unpadded. On Fits, *pixelBytes is width * height * 3, the
// size of the unpadded block.
inline BmpSizeCheck checkBmpSizes(uint32_t width, uint32_t height, long fileLength,
                                  uint64_t* pixelBytes) {
    if (width == 0 || height == 0)
        return BmpSizeCheck::NoPixels;
    // Two 32-bit factors cannot wrap 64 bits; the factor 3 could, so it is weighed
    // by division instead.
    const uint64_t pixels = uint64_t(width) * height;
    if (pixels > UINT32_MAX / 3)
        return BmpSizeCheck::TooLarge;
    // From here width * height * 3 < 2^32, so each row is under 2^32 bytes, its
    // padding adds at most 3 bytes a row and every sum below stays under 2^35.
    const uint64_t rowBytes = uint64_t(width) * 3;
    const uint64_t stride = (rowBytes + 3) / 4 * 4;
    const uint64_t needed = stride * (height - 1) + rowBytes;
    if (fileLength < BMP_PIXEL_DATA_OFFSET || needed > uint64_t(fileLength - BMP_PIXEL_DATA_OFFSET))
        return BmpSizeCheck::BeyondFile;
    *pixelBytes = pixels * 3;
    return BmpSizeCheck::Fits;
}
