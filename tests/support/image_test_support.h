// Helpers for the image loader tests: test files written by ImageMagick (an
// independent writer), byte-level file surgery for damaged files, and reading
// textures back from OpenGL.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A fresh, empty folder under /tmp named after the running test, so that the
// child process of a death test, which runs the test again, finds the same one.
std::string freshTestFolder();
void removeFolder(const std::string& folder);

// Runs /usr/bin/convert with the given arguments (a shell word list); true when
// it succeeded.
bool magick(const std::string& arguments);

// Writes an image of the given size from raw 8-bit RGB (or RGBA) bytes, top row
// first, with ImageMagick; format is its output prefix, as "BMP3:" or "TGA:".
bool magickFromRaw(const std::string& path, const std::string& format, int width, int height,
                   const Bytes& pixels, bool alpha);

// The pixels of an image file as ImageMagick decodes them: 8-bit RGB or RGBA, top
// row first.
Bytes magickPixels(const std::string& path, bool alpha);

// Width and height of an image file, as ImageMagick reports them.
void magickSize(const std::string& path, int& width, int& height);

// Distinct bytes for every channel of every pixel (as far as 256 values go),
// top row first.
Bytes patternPixels(int width, int height, int channels);

Bytes readFile(const std::string& path);
void writeFile(const std::string& path, const Bytes& bytes);
// Overwrites bytes of a file in place, from the given offset.
void patchFile(const std::string& path, long offset, const Bytes& bytes);
void truncateFile(const std::string& path, long size);

// Reverses the order of the rows of an image of rowBytes-long rows.
Bytes flipRows(const Bytes& pixels, size_t rowBytes);

// Level 0 of a texture as OpenGL holds it, rows bottom first.
Bytes textureBytes(unsigned int texture, unsigned int format, int& width, int& height);

// The bound texture holds its level 0 in this internal format and filters with
// GL_LINEAR both ways.
void expectLinearTexture(int internalFormat);

// What the call printed on standard output.
std::string capturedStdout(const std::function<void()>& call);

// Bytes taken by live heap blocks (small and mapped ones), to tell a released
// block from a leaked one.
size_t heapInUse();
