// Fuzz target: the relief geometry built from a fuzzed height map. The input picks
// the resolution and the map: a 1024 by 512 32-bit map whose alpha bytes repeat the
// input, a record of any other size and depth, no map, or a TGA file read by the
// game's reader. Every vertex must lie on the sphere of radius 4 raised by the
// alpha under its texture coordinate, and every sample must stay inside the map.
// Half of the mutations edit the input's header as integers (header_mutator.h).
#include "assets/relief_geometry.h"
#include "assets/tga_reader.h"
#include "fuzz_file.h"
#include "header_mutator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t HEADER = 16;
// Larger claimed maps are given no pixels rather than gigabytes.
constexpr uint64_t MAX_BLOCK = 8u << 20;

void setMap(uint32_t width, uint32_t height, int bits, const uint8_t* fill, size_t fillSize) {
    releaseTgaPixels(&bumpImage);
    bumpImage.width = width;
    bumpImage.height = height;
    bumpImage.bitsPerPixel = bits;
    const uint64_t bytes = uint64_t(width) * height * (bits > 0 ? uint64_t(bits) / 8 : 0);
    if (bytes == 0 || bytes > MAX_BLOCK)
        return;
    bumpImage.pixels = static_cast<unsigned char*>(std::malloc(bytes));
    if (!bumpImage.pixels)
        fuzzFailure("no memory for the map");
    // The fill repeated over the block, by doubling copies.
    if (fillSize == 0) {
        std::memset(bumpImage.pixels, 0, bytes);
        return;
    }
    uint64_t done = std::min<uint64_t>(fillSize, bytes);
    std::memcpy(bumpImage.pixels, fill, done);
    while (done < bytes) {
        const uint64_t chunk = std::min(done, bytes - done);
        std::memcpy(bumpImage.pixels + done, bumpImage.pixels, chunk);
        done += chunk;
    }
}

float floatAt(const uint8_t* b) {
    float f;
    std::memcpy(&f, b, sizeof f);
    return f;
}

void checkSample(float u, float v) {
    const float h = sampleBumpHeight(u, v);
    if (!(h >= 0.0f && h <= 255.0f) || h != std::floor(h))
        fuzzFailure("a sample is not an alpha byte");
    if (!heightMapUsable() && h != 0.0f)
        fuzzFailure("a sample read a map that is not usable");
}

void checkVertices(int resolution, int stored) {
    if (stored != resolution / 2 * (resolution + 1) * 2)
        fuzzFailure("wrong number of vertices");
    for (int n = 0; n < stored; n++) {
        const Vec3 normal = reliefNormals[n];
        const Vec3 t = reliefTexCoords[n];
        const Vec3 p = reliefPositions[n];
        if (!(t.x >= 0.0f && t.x <= 1.0f && t.y >= 0.0f && t.y <= 1.0f))
            fuzzFailure("texture coordinate outside the map");
        if (std::fabs(normal.length() - 1.0f) > 1e-5f)
            fuzzFailure("normal not of unit length");
        const float expected = 4.0f * (1.0f + 0.0005f * sampleBumpHeight(t.x, t.y));
        if (!(std::fabs(p.length() - expected) <= 1e-4f * expected))
            fuzzFailure("vertex off its raised sphere");
        if (!(dot(p, normal) > 0.0f))
            fuzzFailure("vertex not along its normal");
    }
}

// The input's header: the map record's size and depth, the choices and the sample.
const HeaderField RELIEF_FIELDS[] = {
    {2, 2, false, FieldRole::Width},  // map width
    {4, 2, false, FieldRole::Height}, // map height
    {6, 1, false, FieldRole::Depth},  // map bits per pixel
    {0, 1, false, FieldRole::Other},  // resolution
    {1, 1, false, FieldRole::Other},  // which map
    {8, 4, false, FieldRole::Other},  // sample u
    {12, 4, false, FieldRole::Other}, // sample v
};

// Resolution 2, a record of any size: 1024 by 512 of 32 bits, sampled at (0.5, 0.5).
const uint8_t RELIEF_BLANK[HEADER] = {0, 0, 0, 4, 0, 2, 32, 0, 0, 0, 0, 0x3f, 0, 0, 0, 0x3f};

// The size of a usable map.
const uint64_t MAP_SIZES[] = {1024, 512};

constexpr size_t FIELD_COUNT = std::size(RELIEF_FIELDS);
const ImageFormat RELIEF_FORMAT = {
    RELIEF_BLANK, HEADER, RELIEF_FIELDS, FIELD_COUNT, 1, MAP_SIZES, std::size(MAP_SIZES)};

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    return HeaderMutator(RELIEF_FORMAT, seed).mutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silenceReaders();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < HEADER)
        return 0;
    const int resolution = 2 * (1 + data[0] % (RELIEF_MAX_RESOLUTION / 2));
    const uint8_t* rest = data + HEADER;
    const size_t restSize = size - HEADER;
    switch (data[1] % 8) {
    case 0:
        // Any size and depth, as a damaged or foreign file could leave the record.
        setMap(data[2] + 256u * data[3], data[4] + 256u * data[5], data[6], rest, restSize);
        break;
    case 1:
        setMap(1024, 512, 32, nullptr, 0);
        releaseTgaPixels(&bumpImage);
        break;
    case 2:
        readTga(&bumpImage, writeFuzzFile(rest, restSize));
        break;
    default:
        setMap(1024, 512, 32, rest, restSize);
        break;
    }
    checkSample(floatAt(data + 8), floatAt(data + 12));
    checkVertices(resolution, computeRelief(resolution));
    return 0;
}
