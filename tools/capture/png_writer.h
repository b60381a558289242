// Writing RGB pictures as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 3 bytes, top row first
};

// Returns an empty string on success, otherwise what went wrong.
std::string writePng(const std::string& path, const RgbImage& image);
