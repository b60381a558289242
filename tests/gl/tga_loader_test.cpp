// The TGA loader against files written by ImageMagick: messages, the row
// reversal and byte swap that reach OpenGL, rejected kinds of file, and the
// pixel blocks the records own.
#include "assets/textures.h"
#include "assets/tga_loader.h"
#include "support/loader_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// What the loader must make of a file: its stored rows in reverse order, each
// pixel's first and third bytes swapped.
Bytes expectedTexels(const std::string& path, int width, int height, int channels) {
    const Bytes file = readFile(path);
    Bytes stored(file.begin() + 18, file.begin() + 18 + size_t(width) * height * channels);
    for (size_t i = 0; i < stored.size(); i += channels)
        std::swap(stored[i], stored[i + 2]);
    return flipRows(stored, size_t(width) * channels);
}

class TgaLoader : public LoaderTest {
protected:
    void TearDown() override {
        std::free(image.pixels);
        LoaderTest::TearDown();
    }

    std::string patternFile(const std::string& name, int width, int height, int channels) {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(magickFromRaw(path, "TGA:", width, height,
                                  patternPixels(width, height, channels), channels == 4));
        return path;
    }

    // Loads into the test's record and slot 3; returns what it printed.
    std::string load(const std::string& path, bool expected) {
        bool loaded = !expected;
        const std::string out =
            capturedStdout([&] { loaded = loadTga(&image, path.c_str(), TEX_CLOUDS, GL_LINEAR); });
        EXPECT_EQ(loaded, expected) << out;
        return out;
    }

    // The slot's texture is still empty after a failed load.
    void expectSlotUntouched() {
        GLint width = -1;
        glBindTexture(GL_TEXTURE_2D, textureNames[TEX_CLOUDS]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, 0);
    }

    TgaImage image{nullptr, 0, 0, 0};
};

TEST_F(TgaLoader, TwentyFourBitsTwoByTwoReverseRowsAndSwapBytes) {
    const std::string path = patternFile("small.tga", 2, 2, 3);
    EXPECT_EQ(load(path, true),
              "texture width 2\ntexture height 2\nbytes per pixel 3\ntype TGA is RGB\n");
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.bitsPerPixel, 24);
    // File rows (P00, P01), (P10, P11) end as (P10, P11), (P00, P01), each pixel
    // turned from B, G, R into R, G, B.
    const Bytes file = readFile(path);
    const Bytes expected = {file[18 + 8],  file[18 + 7], file[18 + 6], file[18 + 11],
                            file[18 + 10], file[18 + 9], file[18 + 2], file[18 + 1],
                            file[18 + 0],  file[18 + 5], file[18 + 4], file[18 + 3]};
    EXPECT_EQ(Bytes(image.pixels, image.pixels + 12), expected);

    int width = 0, height = 0;
    EXPECT_EQ(textureBytes(textureNames[TEX_CLOUDS], GL_RGB, width, height), expected);
    expectLinearTexture(GL_RGB);
}

TEST_F(TgaLoader, ThirtyTwoBitsKeepAlphaInPlace) {
    // Power-of-two sides: GLU would rescale any other size before uploading.
    const std::string path = patternFile("alpha.tga", 4, 8, 4);
    EXPECT_EQ(load(path, true),
              "texture width 4\ntexture height 8\nbytes per pixel 4\ntype TGA is RGBA\n");
    EXPECT_EQ(image.bitsPerPixel, 32);
    const Bytes expected = expectedTexels(path, 4, 8, 4);
    EXPECT_EQ(Bytes(image.pixels, image.pixels + expected.size()), expected);
    int width = 0, height = 0;
    EXPECT_EQ(textureBytes(textureNames[TEX_CLOUDS], GL_RGBA, width, height), expected);
    expectLinearTexture(GL_RGBA);
    // Every alpha of the picture made it, unchanged.
    const Bytes drawn = patternPixels(4, 8, 4);
    for (size_t i = 3; i < drawn.size(); i += 4)
        EXPECT_NE(std::find(expected.begin() + 3, expected.end(), drawn[i]), expected.end());
}

TEST_F(TgaLoader, ThreeRowsSwapTheOuterRowsAndKeepTheMiddleOne) {
    const std::string path = patternFile("three.tga", 5, 3, 3);
    load(path, true);
    const Bytes file = readFile(path);
    const Bytes row0(file.begin() + 18, file.begin() + 33),
        row1(file.begin() + 33, file.begin() + 48), row2(file.begin() + 48, file.begin() + 63);
    auto swapped = [](Bytes row) {
        for (size_t i = 0; i < row.size(); i += 3)
            std::swap(row[i], row[i + 2]);
        return row;
    };
    EXPECT_EQ(Bytes(image.pixels, image.pixels + 15), swapped(row2));
    EXPECT_EQ(Bytes(image.pixels + 15, image.pixels + 30), swapped(row1));
    EXPECT_EQ(Bytes(image.pixels + 30, image.pixels + 45), swapped(row0));
}

TEST_F(TgaLoader, OneRowStaysAsItIs) {
    const std::string path = patternFile("row.tga", 6, 1, 4);
    load(path, true);
    EXPECT_EQ(Bytes(image.pixels, image.pixels + 24), expectedTexels(path, 6, 1, 4));
}

TEST_F(TgaLoader, KindsOfFileItDoesNotReadAreRejectedWithTheirMessages) {
    const std::string base = folder + "/base.tga";
    ASSERT_TRUE(magick("-size 4x2 xc:red -type TrueColor " + base));
    const std::string origin = folder + "/origin.tga";
    writeFile(origin, readFile(base));
    patchFile(origin, 8, {3, 0, 2, 0});
    const std::string zeroWidth = folder + "/zero.tga";
    writeFile(zeroWidth, readFile(base));
    patchFile(zeroWidth, 12, {0, 0});
    const std::string zeroHeight = folder + "/zeroh.tga";
    writeFile(zeroHeight, readFile(base));
    patchFile(zeroHeight, 14, {0, 0});
    const Bytes whole = readFile(base);
    const std::string shortHeader = folder + "/short.tga";
    writeFile(shortHeader, Bytes(whole.begin(), whole.begin() + 10));
    const std::string shortInfo = folder + "/shortinfo.tga";
    writeFile(shortInfo, Bytes(whole.begin(), whole.begin() + 15));
    const std::string cut = folder + "/cut.tga";
    writeFile(cut, Bytes(whole.begin(), whole.begin() + 18 + 20));
    ASSERT_TRUE(magick("-size 4x2 xc:red -compress RLE " + folder + "/rle.tga"));
    ASSERT_TRUE(magick("-size 4x2 xc:red -type Palette " + folder + "/mapped.tga"));
    ASSERT_TRUE(
        magick("-size 4x2 xc:red -type TrueColor -set comment hello " + folder + "/id.tga"));
    ASSERT_TRUE(magick("-size 4x2 xc:red -type TrueColor -depth 5 " + folder + "/16.tga"));
    ASSERT_EQ(readFile(folder + "/16.tga")[16], 16);

    const std::pair<std::string, std::string> cases[] = {
        {folder + "/absent.tga", "error loading " + folder + "/absent.tga\n"},
        {folder + "/rle.tga", "error loading " + folder + "/rle.tga\n"},
        {folder + "/mapped.tga", "error loading " + folder + "/mapped.tga\n"},
        {folder + "/id.tga", "error loading " + folder + "/id.tga\n"},
        {origin, "error loading " + origin + "\n"},
        {shortHeader, "error loading " + shortHeader + "\n"},
        {shortInfo, "error loading " + shortInfo + "\n"},
        {folder + "/16.tga", "bailing 1\n"},
        {zeroWidth, "bailing 1\n"},
        {zeroHeight, "bailing 1\n"},
        {cut, "texture width 4\ntexture height 2\nbytes per pixel 3\nbailing 2\n"}};
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(load(path, false), message) << path;
        EXPECT_EQ(image.pixels, nullptr) << path;
        expectSlotUntouched();
    }
}

TEST_F(TgaLoader, LargestHeaderIsSizedWithoutOverflowAndCheckedAgainstTheFile) {
    const std::string path = patternFile("claims.tga", 4, 2, 4);
    patchFile(path, 12, {0xff, 0xff, 0xff, 0xff}); // 65535 by 65535 by 4: 17 GB
    const size_t before = heapInUse();
    EXPECT_EQ(load(path, false),
              "texture width 65535\ntexture height 65535\nbytes per pixel 4\nbailing 2\n");
    EXPECT_LT(heapInUse(), before + 1000000);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST_F(TgaLoader, DescriptorIsIgnoredAndTheTextureEnvironmentUntouched) {
    const std::string path = patternFile("descriptor.tga", 3, 2, 3);
    const Bytes expected = expectedTexels(path, 3, 2, 3);
    ASSERT_EQ(expected.size(), 18u);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    for (uint8_t descriptor : {0x00, 0x20, 0x10, 0x30}) {
        patchFile(path, 17, {descriptor});
        load(path, true);
        EXPECT_EQ(Bytes(image.pixels, image.pixels + expected.size()), expected) << +descriptor;
    }
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_REPLACE);
}

TEST_F(TgaLoader, ReloadingARecordReleasesTheBlockItReplaces) {
    const std::string path = patternFile("map.tga", 512, 256, 4);
    ASSERT_TRUE(capturedStdout([&] { loadTgaImage(&image, path.c_str(), TEX_MARS, GL_LINEAR); }) !=
                "");
    const size_t once = heapInUse();
    for (int i = 0; i < 3; i++)
        capturedStdout(
            [&] { EXPECT_TRUE(loadTgaImage(&image, path.c_str(), TEX_MARS, GL_LINEAR)); });
    EXPECT_LT(heapInUse(), once + 100000) << "512 KB blocks were left behind";
    // A failed reload leaves no stale pixels that the old size would describe.
    capturedStdout(
        [&] { loadTgaImage(&image, (folder + "/absent.tga").c_str(), TEX_MARS, GL_LINEAR); });
    EXPECT_EQ(image.pixels, nullptr);
}

TEST_F(TgaLoader, TextureLoadsKeepNoPixels) {
    const std::string path = patternFile("texture.tga", 512, 256, 4);
    capturedStdout([&] { EXPECT_TRUE(loadTgaTexture(path.c_str(), TEX_TEST, GL_LINEAR)); });
    const size_t once = heapInUse();
    for (int i = 0; i < 3; i++)
        capturedStdout([&] { EXPECT_TRUE(loadTgaTexture(path.c_str(), TEX_TEST, GL_LINEAR)); });
    EXPECT_LT(heapInUse(), once + 100000);
    capturedStdout(
        [&] { EXPECT_FALSE(loadTgaTexture((path + ".no").c_str(), TEX_TEST, GL_LINEAR)); });
    int width = 0, height = 0;
    textureBytes(textureNames[TEX_TEST], GL_RGBA, width, height);
    EXPECT_EQ(width, 512) << "a failed load keeps the slot's last image";
}

} // namespace
