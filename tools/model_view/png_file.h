// Writing RGB pixels read back from OpenGL as a PNG file.
#pragma once

#include <string>
#include <vector>

// `pixels` are rows of width * 3 bytes from the bottom row up, as glReadPixels
// returns them. Returns false (and prints why) if the file cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& pixels);
