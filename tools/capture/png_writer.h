// Writing RGB pictures as PNG files.
#pragma once

#include "video/frame_reading.h"

#include <string>

// Returns an empty string on success, otherwise what went wrong.
std::string writePng(const std::string& path, const RgbImage& image);
