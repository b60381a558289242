// In-memory images of the generator and their writers: 24-bit BMP and 24- or
// 32-bit uncompressed TGA.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    float r, g, b;
};

// 8-bit RGB or RGBA pixels, top row first.
struct Image {
    int width;
    int height;
    int channels; // 3 or 4
    std::vector<uint8_t> bytes;

    Image(int w, int h, int c) : width(w), height(h), channels(c), bytes(size_t(w) * h * c, 0) {}
    uint8_t* at(int x, int y) { return &bytes[(size_t(y) * width + x) * channels]; }
    const uint8_t* at(int x, int y) const { return &bytes[(size_t(y) * width + x) * channels]; }
    // Colour components in 0..255 (clamped and rounded); alpha only for RGBA.
    void set(int x, int y, Rgb c, float alpha = 255.0f);
};

// Bottom-up, uncompressed, 24 bits; the width must give rows of a multiple of
// 4 bytes (no padding). Returns false with a message on failure.
bool writeBmp(const std::string& path, const Image& image);

// Uncompressed true colour, top row first and marked so in the descriptor (bit 5)
// so that every viewer shows it the right way up.
bool writeTga(const std::string& path, const Image& image);

uint8_t toByte(float v);
