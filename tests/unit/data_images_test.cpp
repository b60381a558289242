// The generated image files in Data/: their formats and sizes, and what the
// pictures must show - checked on ImageMagick's decoding of them.
#include "support/image_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

struct Picture {
    int width = 0, height = 0, channels = 3;
    Bytes pixels; // top row first
    int at(int x, int y, int c) const { return pixels[(size_t(y) * width + x) * channels + c]; }
    int luminance(int x, int y) const { return (at(x, y, 0) + at(x, y, 1) + at(x, y, 2)) / 3; }
};

Picture decode(const std::string& name, bool alpha) {
    Picture p;
    const std::string path = "Data/" + name;
    magickSize(path, p.width, p.height);
    p.channels = alpha ? 4 : 3;
    p.pixels = magickPixels(path, alpha);
    if (p.pixels.size() != size_t(p.width) * p.height * p.channels) {
        ADD_FAILURE() << name << " could not be decoded";
        p.width = p.height = 0; // nothing to look at, rather than reading past the end
        p.pixels.clear();
    }
    return p;
}

// Mean difference of channel c between columns a and b.
double columnDifference(const Picture& p, int a, int b, int c) {
    double sum = 0;
    for (int y = 0; y < p.height; y++)
        sum += std::abs(p.at(a, y, c) - p.at(b, y, c));
    return sum / p.height;
}

double rowDifference(const Picture& p, int a, int b, int c) {
    double sum = 0;
    for (int x = 0; x < p.width; x++)
        sum += std::abs(p.at(x, a, c) - p.at(x, b, c));
    return sum / p.width;
}

// The seam between the last and the first column is no sharper than the usual
// step between neighbouring columns.
void expectSeamless(const Picture& p, int c, const std::string& what) {
    double usual = 0;
    for (int x = 0; x + 1 < p.width; x++)
        usual += columnDifference(p, x, x + 1, c);
    usual /= p.width - 1;
    EXPECT_LE(columnDifference(p, p.width - 1, 0, c), 2.5 * usual + 1.0)
        << what << " channel " << c;
}

uint16_t little16(const Bytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t little32(const Bytes& b, size_t at) {
    return little16(b, at) | uint32_t(little16(b, at + 2)) << 16;
}

TEST(DataImages, BmpFilesAreUncompressedTwentyFourBitsWithoutRowPadding) {
    for (const char* name : {"Stars1.bmp", "planet.bmp", "Earthmap.bmp", "Pastellarust.bmp"}) {
        const Bytes file = readFile(std::string("Data/") + name);
        ASSERT_GE(file.size(), 54u) << name;
        const uint32_t width = little32(file, 18), height = little32(file, 22);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(little32(file, 10), 54u) << name;
        EXPECT_EQ(little16(file, 26), 1) << name;
        EXPECT_EQ(little16(file, 28), 24) << name;
        EXPECT_EQ(little32(file, 30), 0u) << name;
        EXPECT_LT(height, 0x80000000u) << name << " is stored bottom row first";
        EXPECT_EQ(width * 3 % 4, 0u) << name;
        EXPECT_EQ(file.size(), 54 + size_t(width) * height * 3) << name;
    }
}

TEST(DataImages, TgaFilesAreUncompressedTopRowFirst) {
    const struct {
        const char* name;
        int bits;
        int width, height; // 0: any size
    } files[] = {{"Earthmap.tga", 24, 1024, 512},  {"Earthbump.tga", 32, 1024, 512},
                 {"Plutobump.tga", 32, 1024, 512}, {"Marsbump.tga", 32, 1024, 512},
                 {"Venusbump.tga", 32, 1024, 512}, {"Cloudmap.tga", 32, 0, 0},
                 {"test1.tga", 32, 0, 0},          {"crosshair.tga", 32, 0, 0}};
    for (const auto& f : files) {
        const Bytes file = readFile(std::string("Data/") + f.name);
        ASSERT_GE(file.size(), 18u) << f.name;
        EXPECT_EQ(Bytes(file.begin(), file.begin() + 12),
                  (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}))
            << f.name;
        const int width = little16(file, 12), height = little16(file, 14);
        if (f.width) {
            EXPECT_EQ(width, f.width) << f.name;
            EXPECT_EQ(height, f.height) << f.name;
        }
        EXPECT_EQ(file[16], f.bits) << f.name;
        EXPECT_EQ(file[17] & 0x20, 0x20) << f.name << " is marked top row first";
        EXPECT_EQ(file.size(), 18 + size_t(width) * height * f.bits / 8) << f.name;
    }
}

TEST(DataImages, SphereMapsWrapAroundWithoutASeam) {
    for (const char* name : {"planet.bmp", "Earthmap.tga", "Pastellarust.bmp", "test1.tga"}) {
        const Picture p = decode(name, false);
        for (int c = 0; c < 3; c++)
            expectSeamless(p, c, name);
    }
    for (const char* name :
         {"Earthbump.tga", "Plutobump.tga", "Marsbump.tga", "Venusbump.tga", "Cloudmap.tga"}) {
        const Picture p = decode(name, true);
        for (int c = 0; c < 4; c++)
            expectSeamless(p, c, name);
    }
}

TEST(DataImages, PolesAreSinglePointsNotPinchedPatterns) {
    // All pixels of a map's top row show nearly the same spot at the pole, and
    // so do those of its bottom row.
    for (const char* name :
         {"planet.bmp", "Earthmap.tga", "Pastellarust.bmp", "test1.tga", "Earthbump.tga",
          "Plutobump.tga", "Marsbump.tga", "Venusbump.tga", "Cloudmap.tga"}) {
        const Picture p = decode(name, true);
        for (int y : {0, p.height - 1})
            for (int c = 0; c < 4; c++) {
                int low = 255, high = 0;
                for (int x = 0; x < p.width; x++) {
                    low = std::min(low, p.at(x, y, c));
                    high = std::max(high, p.at(x, y, c));
                }
                EXPECT_LE(high - low, 24) << name << " row " << y << " channel " << c;
            }
    }
}

TEST(DataImages, HeightMapsCloseAtTheSeamAndThePoles) {
    // A relief takes one edge of its seam from the first column and the other from the
    // last, and every vertex of a pole from one row: where these differ it opens.
    for (const char* name : {"Earthbump.tga", "Plutobump.tga", "Marsbump.tga", "Venusbump.tga"}) {
        const Picture p = decode(name, true);
        int seamSteps = 0, poleSteps = 0;
        for (int y = 0; y < p.height; y++)
            seamSteps += p.at(0, y, 3) != p.at(p.width - 1, y, 3);
        for (int y : {0, p.height - 1})
            for (int x = 1; x < p.width; x++)
                poleSteps += p.at(x, y, 3) != p.at(0, y, 3);
        EXPECT_EQ(seamSteps, 0) << name << ": rows whose seam columns differ";
        EXPECT_EQ(poleSteps, 0) << name << ": pole pixels off their row's height";
    }
}

TEST(DataImages, StarFieldTilesInBothDirections) {
    const Picture stars = decode("Stars1.bmp", false);
    double usualColumns = 0, usualRows = 0;
    for (int i = 0; i + 1 < stars.width; i++)
        usualColumns += columnDifference(stars, i, i + 1, 1) / (stars.width - 1);
    for (int i = 0; i + 1 < stars.height; i++)
        usualRows += rowDifference(stars, i, i + 1, 1) / (stars.height - 1);
    EXPECT_LE(columnDifference(stars, stars.width - 1, 0, 1), 1.5 * usualColumns + 0.5);
    EXPECT_LE(rowDifference(stars, stars.height - 1, 0, 1), 1.5 * usualRows + 0.5);
    // Dense: thousands of points clearly brighter than the sky, a few coloured.
    int stars_ = 0, coloured = 0, dark = 0;
    for (int y = 0; y < stars.height; y++)
        for (int x = 0; x < stars.width; x++) {
            const int r = stars.at(x, y, 0), g = stars.at(x, y, 1), b = stars.at(x, y, 2);
            stars_ += stars.luminance(x, y) > 90;
            coloured += std::max({r, g, b}) > 120 && std::max({r, g, b}) - std::min({r, g, b}) > 60;
            dark += stars.luminance(x, y) < 30;
        }
    EXPECT_GT(stars_, 3000);
    EXPECT_GT(coloured, 50);
    EXPECT_GT(dark, stars.width * stars.height * 8 / 10) << "space stays dark";
}

TEST(DataImages, EarthHeightMapFollowsTheCoastsOfItsColourMap) {
    const Picture map = decode("Earthmap.tga", false), bump = decode("Earthbump.tga", true);
    ASSERT_EQ(map.width, bump.width);
    ASSERT_EQ(map.height, bump.height);
    EXPECT_TRUE(map.pixels == decode("Earthmap.bmp", false).pixels) << "BMP and TGA differ";
    int sea = 0, land = 0, mismatched = 0;
    // Away from the ice caps, blue is sea, low; anything else is land, higher.
    for (int y = map.height / 6; y < map.height * 5 / 6; y++)
        for (int x = 0; x < map.width; x++) {
            const bool blue =
                map.at(x, y, 2) > map.at(x, y, 0) + 25 && map.at(x, y, 2) > map.at(x, y, 1);
            const int alpha = bump.at(x, y, 3);
            (blue ? sea : land)++;
            mismatched += blue ? alpha > 12 : alpha < 16;
        }
    const double landShare = double(land) / (land + sea);
    EXPECT_GT(landShare, 0.2);
    EXPECT_LT(landShare, 0.5);
    EXPECT_LT(mismatched, (land + sea) / 50);
}

TEST(DataImages, CloudsAreWhiteWithTheirDensityInAlpha) {
    const Picture clouds = decode("Cloudmap.tga", true);
    int clear = 0, dense = 0, white = 0;
    const int total = clouds.width * clouds.height;
    for (int y = 0; y < clouds.height; y++)
        for (int x = 0; x < clouds.width; x++) {
            white += clouds.luminance(x, y) == 255;
            clear += clouds.at(x, y, 3) < 10;
            dense += clouds.at(x, y, 3) > 200;
        }
    EXPECT_EQ(white, total);
    EXPECT_GT(clear, total / 5) << "the surface shows through";
    EXPECT_GT(dense, total / 20);
}

TEST(DataImages, GlobeShowsSkyGroundHorizonAndPoles) {
    const Picture globe = decode("test1.tga", false);
    double skyBlue = 0, groundRed = 0;
    const int half = globe.height / 2;
    for (int y = 0; y < globe.height; y++)
        for (int x = 0; x < globe.width; x++) {
            const int excess = globe.at(x, y, 2) - globe.at(x, y, 0);
            (y < half ? skyBlue : groundRed) += (y < half ? excess : -excess);
        }
    EXPECT_GT(skyBlue / (half * globe.width), 60) << "blue sky in the upper half";
    EXPECT_GT(groundRed / (half * globe.width), 40) << "brown ground in the lower half";
    for (int x = 0; x < globe.width; x++) {
        ASSERT_GT(globe.luminance(x, half - 1), 230) << "horizon at column " << x;
        ASSERT_GT(globe.luminance(x, half), 230) << "horizon at column " << x;
    }
    EXPECT_GT(globe.luminance(0, 0), 230) << "white north pole";
    // See-through between the lines, solid on them, so the ship inside shows.
    const Picture alpha = decode("test1.tga", true);
    EXPECT_LT(alpha.at(globe.width / 24, globe.height / 4 + 3, 3), 160) << "open sky";
    EXPECT_EQ(alpha.at(globe.width / 3, half, 3), 255) << "horizon";
    const int bottom = globe.height - 1;
    EXPECT_GT(globe.at(0, bottom, 0), 2 * globe.at(0, bottom, 1)) << "red south pole";
    // Meridians: bright lines at fixed columns, crossing both halves.
    int brightColumns = 0;
    for (int x = 0; x < globe.width; x++)
        brightColumns +=
            globe.luminance(x, half / 3) > 200 && globe.luminance(x, half * 5 / 3) > 200;
    EXPECT_GE(brightColumns, 12);
}

TEST(DataImages, CrosshairStandsOnAFullyTransparentGround) {
    const Picture cross = decode("crosshair.tga", true);
    const int n = cross.width;
    int opaque = 0;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            opaque += cross.at(x, y, 3) == 255;
            if (x == 0 || y == 0 || x == n - 1 || y == n - 1 ||
                (std::abs(x - n / 2) > n / 8 && std::abs(y - n / 2) > n / 8)) {
                ASSERT_EQ(cross.at(x, y, 3), 0) << x << ", " << y;
            }
        }
    EXPECT_EQ(cross.at(n / 2, n / 2, 3), 255) << "a centre dot";
    EXPECT_EQ(cross.at(n / 2, n / 5, 3), 255) << "an arm above it";
    EXPECT_GT(opaque, n * n / 50);
}

double meanChannel(const Picture& p, int c, int firstRow, int lastRow) {
    double sum = 0;
    for (int y = firstRow; y <= lastRow; y++)
        for (int x = 0; x < p.width; x++)
            sum += p.at(x, y, c);
    return sum / ((lastRow - firstRow + 1) * p.width);
}

TEST(DataImages, PlanetsHaveTheirColours) {
    const Picture mars = decode("Marsbump.tga", false), venus = decode("Venusbump.tga", false);
    const int mid = mars.height / 2;
    EXPECT_GT(meanChannel(mars, 0, mid - 100, mid + 100),
              1.6 * meanChannel(mars, 2, mid - 100, mid + 100));
    EXPECT_GT(mars.luminance(0, 0), 200) << "polar ice";
    const double r = meanChannel(venus, 0, 0, venus.height - 1),
                 g = meanChannel(venus, 1, 0, venus.height - 1),
                 b = meanChannel(venus, 2, 0, venus.height - 1);
    EXPECT_GT(r, 180);
    EXPECT_GT(g, b + 25) << "yellow-white";
    // The gas giant is banded: colour changes far more from band to band than
    // along a band.
    const Picture giant = decode("planet.bmp", false);
    double across = 0, along = 0;
    for (int y = giant.height / 8; y < giant.height * 7 / 8; y++)
        across += rowDifference(giant, y, y + 8, 1) / (giant.height * 3 / 4);
    for (int x = 0; x + 8 < giant.width; x++)
        along += columnDifference(giant, x, x + 8, 1) / (giant.width - 8);
    EXPECT_GT(across, 2.0 * along);
}

TEST(DataImages, GeneratorGivesTheSameFilesEveryTime) {
    const std::string folder = freshTestFolder();
    ASSERT_EQ(std::system((std::string(KELVIDRON_MAKE_IMAGES) + " " + folder).c_str()), 0);
    for (const char* name : {"Stars1.bmp", "planet.bmp", "Earthmap.bmp", "Pastellarust.bmp",
                             "Earthmap.tga", "Earthbump.tga", "Cloudmap.tga", "Plutobump.tga",
                             "Marsbump.tga", "Venusbump.tga", "test1.tga", "crosshair.tga"})
        EXPECT_TRUE(readFile(folder + "/" + name) == readFile(std::string("Data/") + name)) << name;
    removeFolder(folder);
}

} // namespace
