// Statistics and hill shading of sphere maps.
#include "sphere_field.h"

#include <algorithm>
#include <cmath>

SphereField::SphereField(int width, int height)
    : width_(width), height_(height), values_(size_t(width) * height) {
    // Every map of a family has the same size, so the last table is nearly always
    // the one wanted.
    static std::shared_ptr<const std::vector<Vec3>> table;
    static int tableWidth = 0, tableHeight = 0;
    if (!table || tableWidth != width || tableHeight != height) {
        auto directions = std::make_shared<std::vector<Vec3>>(values_.size());
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                (*directions)[size_t(y) * width + x] = sphereDirection(x, y, width, height);
        table = directions;
        tableWidth = width;
        tableHeight = height;
    }
    directions_ = table;
}

float SphereField::quantile(float q) const {
    std::vector<float> sorted(values_);
    const size_t k = std::min(sorted.size() - 1, static_cast<size_t>(q * sorted.size()));
    std::nth_element(sorted.begin(), sorted.begin() + k, sorted.end());
    return sorted[k];
}

float SphereField::sampleFor(int x, int y, int fineWidth, int fineHeight) const {
    const float fx = (x + 0.5f) * width_ / fineWidth - 0.5f;
    const float fy = std::min(std::max((y + 0.5f) * height_ / fineHeight - 0.5f, 0.0f),
                              static_cast<float>(height_ - 1));
    return bilinear(fx, fy);
}

float SphereField::bilinear(float fx, float fy) const {
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(fy);
    const float tx = fx - x0, ty = fy - y0;
    const int left = (x0 + width_) % width_, right = (x0 + 1) % width_;
    const int y1 = std::min(y0 + 1, height_ - 1);
    const float top = at(left, y0) + (at(right, y0) - at(left, y0)) * tx;
    const float bottom = at(left, y1) + (at(right, y1) - at(left, y1)) * tx;
    return top + (bottom - top) * ty;
}

float SphereField::rowMean(int y) const {
    double sum = 0.0;
    for (int x = 0; x < width_; x++)
        sum += at(x, y);
    return static_cast<float>(sum / width_);
}

SphereField SphereField::reliefGrid() const {
    SphereField grid(width_, height_);
    for (int y = 0; y < height_; y++) {
        if (y == 0 || y == height_ - 1) {
            // The pole itself: the mean of the ring of pixel centres around it.
            const float pole = rowMean(y);
            for (int x = 0; x < width_; x++)
                grid.at(x, y) = pole;
            continue;
        }
        const float fy = static_cast<float>(y) * height_ / (height_ - 1) - 0.5f;
        for (int x = 0; x + 1 < width_; x++)
            grid.at(x, y) = bilinear(static_cast<float>(x) * width_ / (width_ - 1) - 0.5f, fy);
        // Copied rather than computed, so that no rounding parts the seam's edges.
        grid.at(width_ - 1, y) = grid.at(0, y);
    }
    return grid;
}

float SphereField::minimum() const { return *std::min_element(values_.begin(), values_.end()); }

float SphereField::maximum() const { return *std::max_element(values_.begin(), values_.end()); }

float SphereField::shade(int x, int y, float steepness) const {
    const float lat = rowLatitude(y, height_);
    // Pixels shrink towards the poles; the floor keeps the last rows from
    // turning a tiny difference into a cliff.
    const float east = std::max(std::cos(lat), 0.2f) * 2.0f * static_cast<float>(M_PI) / width_;
    const float north = static_cast<float>(M_PI) / height_;
    const int left = (x + width_ - 1) % width_, right = (x + 1) % width_;
    const int up = std::max(y - 1, 0), down = std::min(y + 1, height_ - 1);
    const float dx = (at(right, y) - at(left, y)) / (2.0f * east);
    const float dy = (at(x, up) - at(x, down)) / (float(down - up) * north);
    // Surface normal (east, north, out) against a light from the north-west.
    const float nx = -steepness * dx, ny = -steepness * dy, nz = 1.0f;
    const float lx = -0.6f, ly = 0.6f, lz = 0.53f;
    const float lit = (nx * lx + ny * ly + nz * lz) / std::sqrt(nx * nx + ny * ny + nz * nz);
    // Map directions lose their meaning at the poles: the shading fades out there
    // instead of fanning into a pinwheel.
    const float polar = smoothstep(1.35f, 1.55f, std::fabs(lat));
    return mix(std::max(0.0f, lit / lz), 1.0f, polar);
}

void setReliefAlpha(Image& image, const SphereField& alpha) {
    const SphereField grid = alpha.reliefGrid();
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++)
            image.at(x, y)[3] = toByte(grid.at(x, y));
}
