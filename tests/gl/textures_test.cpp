// The start-up texture set from the real Data/ files: what each slot holds, the
// relief lists, the start-up printout, and how the planets and the globe look
// when drawn.
#include "assets/relief.h"
#include "assets/textures.h"
#include "assets/tga_loader.h"
#include "render/sphere_drawing.h"
#include "support/gl_test_support.h"
#include "support/image_test_support.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <sstream>

namespace {

class TextureSet : public testing::Test {
protected:
    void SetUp() override {
        window = makeTestWindow(900, 600);
        printout = capturedStdout(loadTextures);
    }
    int window = 0;
    std::string printout;
};

// The picture of an image file as ImageMagick decodes it, in OpenGL's row order
// (bottom row first) - the order every slot must hold.
Bytes decodedBottomUp(const std::string& path, bool alpha) {
    int width = 0, height = 0;
    magickSize(path, width, height);
    return flipRows(magickPixels(path, alpha), size_t(width) * (alpha ? 4 : 3));
}

TEST_F(TextureSet, PrintsEveryLoadAndReliefBuildInOrder) {
    std::ostringstream expected;
    auto bmp = [&](const std::string& path) {
        int w = 0, h = 0;
        magickSize(path, w, h);
        expected << "Width of " << path << ": " << w << "\nHeight of " << path << ": " << h
                 << "\njust bounded the image to the texture\n";
    };
    auto tga = [&](const std::string& path, int bytes) {
        int w = 0, h = 0;
        magickSize(path, w, h);
        expected << "texture width " << w << "\ntexture height " << h << "\nbytes per pixel "
                 << bytes << "\ntype TGA is " << (bytes == 4 ? "RGBA" : "RGB") << "\n";
    };
    auto reliefs = [&](const std::string& path) {
        tga(path, 4);
        expected << "STARTING READING...\nSTARTING READING...\nSTARTING READING...\n";
    };
    bmp("Data/Stars1.bmp");
    bmp("Data/planet.bmp");
    bmp("Data/Earthmap.bmp");
    reliefs("Data/Earthbump.tga");
    reliefs("Data/Plutobump.tga");
    reliefs("Data/Marsbump.tga");
    reliefs("Data/Venusbump.tga");
    tga("Data/Cloudmap.tga", 4);
    tga("Data/test1.tga", 4);
    tga("Data/Earthmap.tga", 3);
    bmp("Data/Pastellarust.bmp");
    tga("Data/crosshair.tga", 4);
    EXPECT_EQ(printout, expected.str());
}

TEST_F(TextureSet, EachSlotHoldsItsFinalImage) {
    const struct {
        int slot;
        const char* path;
        bool alpha;
    } slots[] = {{TEX_STARS, "Data/Stars1.bmp", false},
                 {TEX_PLANET, "Data/planet.bmp", false},
                 // The colour maps replaced the height maps loaded first.
                 {TEX_EARTH, "Data/Earthmap.tga", false},
                 {TEX_RUST, "Data/Pastellarust.bmp", false},
                 {TEX_CLOUDS, "Data/Cloudmap.tga", true},
                 // The Earth map as BMP is the same picture, the same way up.
                 {TEX_EARTH_BMP, "Data/Earthmap.tga", false},
                 {TEX_TEST, "Data/test1.tga", true},
                 {TEX_MARS, "Data/Marsbump.tga", true},
                 {TEX_VENUS, "Data/Venusbump.tga", true},
                 {TEX_CROSSHAIR, "Data/crosshair.tga", true}};
    for (const auto& s : slots) {
        int width = 0, height = 0;
        const Bytes texels =
            textureBytes(textureNames[s.slot], s.alpha ? GL_RGBA : GL_RGB, width, height);
        EXPECT_TRUE(texels == decodedBottomUp(s.path, s.alpha))
            << "slot " << s.slot << ": " << s.path;
    }
    int width = -1, height = -1;
    textureBytes(textureNames[4], GL_RGB, width, height);
    EXPECT_EQ(width, 0) << "slot 4 is never filled";
}

TEST_F(TextureSet, LeavesTheStateAndTheReliefListsReady) {
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
    std::set<unsigned int> distinct;
    for (unsigned int list : reliefLists) {
        EXPECT_TRUE(glIsList(list));
        distinct.insert(list);
    }
    EXPECT_EQ(distinct.size(), 12u);
    EXPECT_EQ(bumpImage.pixels, nullptr) << "the last height map is released once built";
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
}

// Average colour of a square of the framebuffer around (x, y).
struct Colour {
    float r, g, b;
};
Colour averageAt(int x, int y, int half) {
    std::vector<uint8_t> pixels(size_t(2 * half) * 2 * half * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x - half, y - half, 2 * half, 2 * half, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    Colour c{0, 0, 0};
    for (size_t i = 0; i < pixels.size(); i += 3) {
        c.r += pixels[i];
        c.g += pixels[i + 1];
        c.b += pixels[i + 2];
    }
    const float n = static_cast<float>(pixels.size() / 3);
    return {c.r / n, c.g / n, c.b / n};
}

// Writes the framebuffer as a PPM when KELVIDRON_SNAPSHOT_DIR names a folder, so
// that a developer can look at it.
void snapshot(const char* name, int width, int height) {
    const char* folder = std::getenv("KELVIDRON_SNAPSHOT_DIR");
    if (!folder)
        return;
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    Bytes file;
    const std::string header =
        "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    file.insert(file.end(), header.begin(), header.end());
    const Bytes image = flipRows(pixels, size_t(width) * 3);
    file.insert(file.end(), image.begin(), image.end());
    writeFile(std::string(folder) + "/" + name + ".ppm", file);
}

// Where the gallery draws its spheres, in world units on a 900 by 600 window
// (30 pixels to the unit, origin in the middle).
constexpr float GALLERY_X[3] = {-10.0f, 0.0f, 10.0f};
constexpr float GALLERY_Y[2] = {5.0f, -5.0f};
int pixelX(float x) { return 450 + static_cast<int>(30 * x); }
int pixelY(float y) { return 300 + static_cast<int>(30 * y); }

// Draws the planets and the globe in two rows, lit from the upper left, seen
// from the equator (tilt 0) or from high above a pole (tilt +-80): Earth, Pluto
// in its rust, Mars above; Venus, the gas giant and the globe below.
void drawGallery(float tilt, bool clouds) {
    glViewport(0, 0, 900, 600);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-15, 15, -10, 10, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float light[] = {-0.5f, 0.6f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    const float white[] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    const struct {
        int set;
        unsigned int texture;
    } reliefs[] = {{0, TEX_EARTH}, {1, TEX_RUST}, {2, TEX_MARS}, {3, TEX_VENUS}};
    for (int i = 0; i < 6; i++) {
        glPushMatrix();
        glTranslatef(GALLERY_X[i % 3], GALLERY_Y[i / 3], 0);
        glRotatef(tilt, 1, 0, 0);
        if (i < 4)
            drawRelief(1.0f, reliefs[i].set, 2, textureNames[reliefs[i].texture]);
        else
            drawSphere(4.0, 40, true, textureNames[i == 4 ? TEX_PLANET : TEX_TEST]);
        if (i == 0 && clouds) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            drawSphere(4.4, 25, true, textureNames[TEX_CLOUDS]);
            glDisable(GL_BLEND);
        }
        glPopMatrix();
    }
    glDisable(GL_LIGHTING);
    glFinish();
}

TEST_F(TextureSet, PlanetsAndTheGlobeLookLikeWhatTheyStandFor) {
    drawGallery(0.0f, true);
    snapshot("gallery_equator_clouds", 900, 600);
    drawGallery(0.0f, false);
    snapshot("gallery_equator", 900, 600);
    const Colour mars = averageAt(pixelX(GALLERY_X[2]), pixelY(GALLERY_Y[0]), 40);
    EXPECT_GT(mars.r, 1.4f * mars.b) << "Mars is rust red";
    EXPECT_GT(mars.r, mars.g);
    const Colour venus = averageAt(pixelX(GALLERY_X[0]), pixelY(GALLERY_Y[1]), 40);
    EXPECT_GT(venus.g, venus.b + 15) << "Venus is yellow-white";
    EXPECT_GT(venus.r + venus.g, 200);
    const Colour rust = averageAt(pixelX(GALLERY_X[1]), pixelY(GALLERY_Y[0]), 40);
    EXPECT_GT(rust.r, rust.b + 20) << "the rust is rusty";
    // The globe: sky above the horizon, ground below, a bright line between.
    const int globe = pixelX(GALLERY_X[2]), middle = pixelY(GALLERY_Y[1]);
    const Colour sky = averageAt(globe, middle + 50, 10);
    const Colour horizon = averageAt(globe + 30, middle, 1);
    const Colour ground = averageAt(globe, middle - 50, 10);
    EXPECT_GT(sky.b, sky.r + 40);
    EXPECT_GT(ground.r, ground.b + 30);
    EXPECT_GT(horizon.r + horizon.g + horizon.b, 500);
    drawGallery(80.0f, false);
    snapshot("gallery_north", 900, 600);
    drawGallery(-80.0f, false);
    snapshot("gallery_south", 900, 600);
}

TEST_F(TextureSet, NearReliefAndFarSphereShowTheSameFaceOfTheEarth) {
    // Level 2 on the left, level -1 (GLU's sphere) on the right, turned alike.
    glViewport(0, 0, 900, 600);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-15, 15, -10, 10, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    for (float turn : {0.0f, 70.0f, 160.0f, 250.0f}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int side = 0; side < 2; side++) {
            glLoadIdentity();
            glTranslatef(side == 0 ? -7.0f : 7.0f, 0, 0);
            glRotatef(turn, 0, 1, 0);
            glRotatef(20, 1, 0, 0);
            drawRelief(1.0f, 0, side == 0 ? 2 : -1, textureNames[TEX_EARTH]);
        }
        glFinish();
        snapshot(("earth_levels_" + std::to_string(int(turn))).c_str(), 900, 600);
        // Patches across the disc agree in colour on both sides.
        int agreeing = 0, patches = 0;
        for (int dy = -90; dy <= 90; dy += 45)
            for (int dx = -90; dx <= 90; dx += 45) {
                const Colour near = averageAt(pixelX(-7) + dx, pixelY(0) + dy, 5);
                const Colour far = averageAt(pixelX(7) + dx, pixelY(0) + dy, 5);
                patches++;
                agreeing += std::fabs(near.r - far.r) + std::fabs(near.g - far.g) +
                                std::fabs(near.b - far.b) <
                            60.0f;
            }
        EXPECT_GE(agreeing, patches * 8 / 10) << "turned " << turn;
    }
}

} // namespace
