// One float per pixel of an equirectangular sphere map (north on the top row),
// with the shading that bakes the relief of a height field into a colour map.
#pragma once

#include "noise.h"

#include <memory>
#include <vector>

class SphereField {
public:
    SphereField(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    float& at(int x, int y) { return values_[size_t(y) * width_ + x]; }
    float at(int x, int y) const { return values_[size_t(y) * width_ + x]; }

    // The direction of the pixel's centre on the unit sphere.
    const Vec3& direction(int x, int y) const { return (*directions_)[size_t(y) * width_ + x]; }

    // Sets every pixel to f(direction of its centre).
    template <typename F> void fill(F f) {
        for (int y = 0; y < height_; y++)
            for (int x = 0; x < width_; x++)
                at(x, y) = f(direction(x, y));
    }

    // The field read with bilinear filtering at the centre of pixel (x, y) of a
    // finer map of the given size: slowly varying fields are computed coarse and
    // read fine. Wraps in longitude.
    float sampleFor(int x, int y, int fineWidth, int fineHeight) const;

    // The field resampled onto the grid a relief reads from its height map: column x
    // at u = x / (width - 1) and row y at the latitude pi (1/2 - y / (height - 1)).
    // The first and last columns are then one meridian, the two edges of the seam,
    // and the first and last rows the poles, each one value along its length; so the
    // relief closes at both.
    SphereField reliefGrid() const;

    // The value below which the fraction q of all pixels lie.
    float quantile(float q) const;
    float minimum() const;
    float maximum() const;

    // Brightness factor of the field taken as terrain of the given steepness, lit
    // from the upper left of the map: 1 on level ground, above 1 on slopes that
    // face the light, below 1 on slopes facing away.
    float shade(int x, int y, float steepness) const;

private:
    // Bilinear filtering at (fx, fy) in pixel units, wrapping in longitude; fy lies
    // within the rows.
    float bilinear(float fx, float fy) const;
    float rowMean(int y) const;

    int width_;
    int height_;
    std::vector<float> values_;
    // Shared by all fields of one size.
    std::shared_ptr<const std::vector<Vec3>> directions_;
};

// Stores a height map's alpha, given at the map's pixel centres, into the image on
// the grid of SphereField::reliefGrid.
void setReliefAlpha(Image& image, const SphereField& alpha);
