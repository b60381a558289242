// The BMP and TGA writers of the image generator.
#include "image_file.h"

#include <cmath>
#include <cstdio>

uint8_t toByte(float v) {
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<uint8_t>(std::lround(v));
}

void Image::set(int x, int y, Rgb c, float alpha) {
    uint8_t* p = at(x, y);
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
    if (channels == 4)
        p[3] = toByte(alpha);
}

namespace {

void put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& header,
               const std::vector<uint8_t>& pixels) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size() &&
                    std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
    if (std::fclose(f) != 0 || !ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

bool writeBmp(const std::string& path, const Image& image) {
    if (image.channels != 3 || (image.width * 3) % 4 != 0) {
        std::fprintf(stderr, "%s: BMPs here are 24-bit with unpadded rows\n", path.c_str());
        return false;
    }
    const uint32_t dataSize = uint32_t(image.width) * image.height * 3;
    std::vector<uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    put32(header, 54 + dataSize); // file size
    put32(header, 0);             // reserved
    put32(header, 54);            // pixel data offset
    put32(header, 40);            // info header size
    put32(header, image.width);
    put32(header, image.height); // positive: bottom row first
    put16(header, 1);            // planes
    put16(header, 24);           // bits per pixel
    put32(header, 0);            // no compression
    put32(header, dataSize);
    put32(header, 2835); // 72 dpi, in pixels per metre
    put32(header, 2835);
    put32(header, 0); // colours used
    put32(header, 0); // important colours
    std::vector<uint8_t> pixels;
    pixels.reserve(dataSize);
    for (int y = image.height - 1; y >= 0; y--)
        for (int x = 0; x < image.width; x++) {
            const uint8_t* p = image.at(x, y);
            pixels.insert(pixels.end(), {p[2], p[1], p[0]});
        }
    return writeFile(path, header, pixels);
}

bool writeTga(const std::string& path, const Image& image) {
    const int alphaBits = image.channels == 4 ? 8 : 0;
    std::vector<uint8_t> header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(header, image.width);
    put16(header, image.height);
    header.push_back(static_cast<uint8_t>(8 * image.channels));
    header.push_back(static_cast<uint8_t>(0x20 | alphaBits)); // top-left origin
    std::vector<uint8_t> pixels;
    pixels.reserve(image.bytes.size());
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++) {
            const uint8_t* p = image.at(x, y);
            pixels.insert(pixels.end(), {p[2], p[1], p[0]});
            if (image.channels == 4)
                pixels.push_back(p[3]);
        }
    return writeFile(path, header, pixels);
}
