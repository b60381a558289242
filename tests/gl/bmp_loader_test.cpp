// The BMP loader against files written by ImageMagick: messages, the bytes that
// reach OpenGL, damaged headers and the exit status of a failed load.
#include "assets/bmp_loader.h"
#include "assets/bmp_reader.h"
#include "assets/textures.h"
#include "support/loader_fixture.h"
#include "support/sanitizer_build.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// The BMP tests use RGB patterns only.
Bytes rgbPattern(int width, int height) { return patternPixels(width, height, 3); }

class BmpLoader : public LoaderTest {
protected:
    // An ImageMagick BMP of the pattern; returns its path.
    std::string patternFile(const std::string& name, int width, int height) {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(magickFromRaw(path, "BMP3:", width, height, rgbPattern(width, height), false));
        return path;
    }

    // loadBmp's printout for a file that must fail, and that it failed cleanly.
    std::string failingLoad(const std::string& path) {
        BmpImage image{1, 1, reinterpret_cast<unsigned char*>(1)};
        int loaded = -1;
        const std::string out = capturedStdout([&] { loaded = loadBmp(path.c_str(), &image); });
        EXPECT_EQ(loaded, 0);
        EXPECT_EQ(image.pixels, nullptr);
        return out;
    }
};

TEST_F(BmpLoader, UploadsTheImageBottomRowFirstWithItsMessages) {
    const std::string path = patternFile("wide.bmp", 256, 128);
    const std::string out =
        capturedStdout([&] { loadBmpTexture(path.c_str(), TEX_PLANET, GL_RGB, GL_LINEAR); });
    EXPECT_EQ(out, "Width of " + path + ": 256\nHeight of " + path +
                       ": 128\njust bounded the image to the texture\n");

    int width = 0, height = 0;
    const Bytes texels = textureBytes(textureNames[TEX_PLANET], GL_RGB, width, height);
    EXPECT_EQ(width, 256);
    EXPECT_EQ(height, 128);
    // OpenGL's first row is the image's bottom row.
    EXPECT_EQ(texels, flipRows(rgbPattern(256, 128), 256 * 3));

    expectLinearTexture(GL_RGB);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 7, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 2) << "the mipmap chain reaches down to 2 by 1";
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
}

TEST_F(BmpLoader, StoredBlueGreenRedReachesOpenGlAsRedGreenBlue) {
    const std::string path = folder + "/one.bmp";
    ASSERT_TRUE(magickFromRaw(path, "BMP3:", 4, 1, {30, 20, 10, 30, 20, 10, 30, 20, 10, 30, 20, 10},
                              false));
    const Bytes file = readFile(path);
    ASSERT_EQ(Bytes(file.begin() + 54, file.begin() + 57), (Bytes{10, 20, 30}));
    capturedStdout([&] { loadBmpTexture(path.c_str(), TEX_STARS, GL_RGB, GL_LINEAR); });
    int width = 0, height = 0;
    const Bytes texels = textureBytes(textureNames[TEX_STARS], GL_RGB, width, height);
    ASSERT_EQ(texels.size(), 12u);
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 3), (Bytes{30, 20, 10}));
}

TEST_F(BmpLoader, RowsWithPaddingAreReadRowByRow) {
    for (const auto& [w, h] :
         {std::pair{3, 2}, std::pair{5, 3}, std::pair{2, 2}, std::pair{1, 4}}) {
        const std::string path = patternFile("padded.bmp", w, h);
        BmpImage image{};
        capturedStdout([&] { ASSERT_EQ(loadBmp(path.c_str(), &image), 1); });
        ASSERT_NE(image.pixels, nullptr);
        const Bytes pixels(image.pixels, image.pixels + size_t(w) * h * 3);
        EXPECT_EQ(pixels, flipRows(rgbPattern(w, h), size_t(w) * 3)) << w << " by " << h;
        std::free(image.pixels);
    }
}

TEST_F(BmpLoader, TopDownFileGivesTheSameTextureAsABottomUpOne) {
    const std::string normal = patternFile("normal.bmp", 3, 3);
    // ImageMagick writes the upside-down picture; a negative height then marks
    // the stored rows as top row first.
    const std::string flippedRaw = folder + "/flipped.bmp";
    ASSERT_TRUE(magickFromRaw(flippedRaw, "BMP3:", 3, 3, flipRows(rgbPattern(3, 3), 9), false));
    patchFile(flippedRaw, 22, {0xfd, 0xff, 0xff, 0xff}); // -3
    BmpImage a{}, b{};
    capturedStdout([&] { ASSERT_EQ(loadBmp(normal.c_str(), &a), 1); });
    const std::string out = capturedStdout([&] { ASSERT_EQ(loadBmp(flippedRaw.c_str(), &b), 1); });
    EXPECT_NE(out.find("Height of " + flippedRaw + ": 3\n"), std::string::npos) << out;
    EXPECT_EQ(b.height, 3u);
    EXPECT_EQ(Bytes(a.pixels, a.pixels + 27), Bytes(b.pixels, b.pixels + 27));
    std::free(a.pixels);
    std::free(b.pixels);
}

TEST_F(BmpLoader, PlanesOtherThanOneStopBeforeTheBitCount) {
    const std::string path = patternFile("planes.bmp", 4, 2);
    patchFile(path, 26, {2, 0});
    EXPECT_EQ(failingLoad(path), "Width of " + path + ": 4\nHeight of " + path +
                                     ": 2\nPlanes from " + path + " is not 1: 2\n");
}

TEST_F(BmpLoader, FileCutInsideThePixelsIsRejected) {
    const std::string path = patternFile("cut.bmp", 8, 8);
    truncateFile(path, 54 + 8 * 8 * 3 - 5);
    const std::string out = failingLoad(path);
    EXPECT_NE(out.find("Error reading image data from " + path + ".\n"), std::string::npos) << out;
}

TEST_F(BmpLoader, HeaderCutShortNamesTheFieldItCouldNotRead) {
    const std::string path = patternFile("short.bmp", 4, 2);
    const Bytes whole = readFile(path);
    const struct {
        long size;
        const char* message;
    } cuts[] = {{10, "Error reading width from "},  {21, "Error reading width from "},
                {25, "Error reading height from "}, {27, "Error reading planes from "},
                {29, "Error reading bpp from "},    {40, "Error reading image data from "}};
    for (const auto& cut : cuts) {
        writeFile(path, Bytes(whole.begin(), whole.begin() + cut.size));
        const std::string out = failingLoad(path);
        EXPECT_NE(out.find(cut.message + path + ".\n"), std::string::npos)
            << "cut at " << cut.size << ": " << out;
    }
}

TEST_F(BmpLoader, SizesBeyondThirtyTwoBitsOrTheFileAreRejectedBeforeAllocating) {
    const std::string path = patternFile("huge.bmp", 4, 2);
    // 65536 * 65536 * 3 bytes do not fit 32 bits.
    patchFile(path, 18, {0, 0, 1, 0, 0, 0, 1, 0});
    EXPECT_EQ(failingLoad(path), "Width of " + path + ": 65536\nHeight of " + path +
                                     ": 65536\nError allocating memory for color-corrected "
                                     "image data");
    // 30000 * 30000 * 3 bytes fit 32 bits but not the 78-byte file.
    patchFile(path, 18, {0x30, 0x75, 0, 0, 0x30, 0x75, 0, 0});
    const size_t before = heapInUse();
    EXPECT_EQ(failingLoad(path), "Width of " + path + ": 30000\nHeight of " + path +
                                     ": 30000\nError reading image data from " + path + ".\n");
    EXPECT_LT(heapInUse(), before + 1000000) << "no block was allocated for the claimed size";

    // Top-down files whose width * height * 3, done in 64 bits, wraps past 2^64 to
    // 3872 and to 32 bytes, which the 3926-byte file holds.
    Bytes file = readFile(path);
    file.resize(3926);
    writeFile(path, file);
    for (const auto& [width, height] :
         {std::pair{4274494808u, -1438512612}, std::pair{3369774176u, -1824726041}}) {
        Bytes fields;
        for (const uint32_t field : {width, static_cast<uint32_t>(height)})
            for (int k = 0; k < 4; k++)
                fields.push_back(static_cast<uint8_t>(field >> 8 * k));
        patchFile(path, 18, fields);
        EXPECT_EQ(failingLoad(path), "Width of " + path + ": " + std::to_string(width) +
                                         "\nHeight of " + path + ": " + std::to_string(-height) +
                                         "\nError allocating memory for color-corrected "
                                         "image data");
    }
}

TEST_F(BmpLoader, ImageWithoutPixelsIsRejected) {
    const std::string path = patternFile("empty.bmp", 4, 2);
    patchFile(path, 18, {0, 0, 0, 0});
    const std::string out = failingLoad(path);
    EXPECT_NE(out.find("No pixels in " + path + ".\n"), std::string::npos) << out;
}

TEST_F(BmpLoader, DataOffsetAndCompressionFieldsAreNotConsulted) {
    const std::string path = patternFile("fields.bmp", 4, 2);
    patchFile(path, 10, {60, 0, 0, 0}); // pixel data offset
    patchFile(path, 30, {1, 0, 0, 0});  // compression
    BmpImage image{};
    capturedStdout([&] { ASSERT_EQ(loadBmp(path.c_str(), &image), 1); });
    EXPECT_EQ(Bytes(image.pixels, image.pixels + 24), flipRows(rgbPattern(4, 2), 12));
    std::free(image.pixels);
}

// The program's end: run in a child process, with standard output sent where the
// death test can see it.
class BmpLoaderExit : public BmpLoader {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        BmpLoader::SetUp();
    }
};

void loadShowingStdout(const std::string& path) {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    loadBmpTexture(path.c_str(), TEX_STARS, GL_RGB, GL_LINEAR);
    std::exit(99); // not reached: the load must end the program
}

TEST_F(BmpLoaderExit, MissingFileEndsTheProgramWithStatusOne) {
    const std::string path = folder + "/absent.bmp";
    EXPECT_EXIT(
        loadShowingStdout(path), testing::ExitedWithCode(1),
        testing::HasSubstr("File Not Found : " + path + "\nwhoops, couldn't load the image"));
}

TEST_F(BmpLoaderExit, ThirtyTwoBitFileEndsTheProgramWithStatusOne) {
    const std::string path = folder + "/alpha.bmp";
    ASSERT_TRUE(magick("-size 4x2 xc:'rgba(10,20,30,0.5)' BMP:" + path));
    EXPECT_EXIT(loadShowingStdout(path), testing::ExitedWithCode(1),
                testing::HasSubstr("Width of " + path + ": 4\nHeight of " + path +
                                   ": 2\nBpp from " + path +
                                   " is not 24: 32\nwhoops, couldn't load the image"));
}

// Stops the address space from growing, so that no new block can be mapped.
void capAddressSpace() {
    std::printf("\n"); // stdout's buffer exists before memory runs out
    const rlimit limit{1 << 20, RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
}

// Caps the address space and then takes every block the heap can still give, of
// any size.
void exhaustMemory() {
    capAddressSpace();
    // volatile: the compiler may not drop allocations whose blocks go unused.
    void* volatile block = nullptr;
    for (size_t size = 1 << 20; size > 0; size /= 2)
        do
            block = std::malloc(size);
        while (block);
}

TEST_F(BmpLoaderExit, NoMemoryForTheRecordIsAFailureNotASuccess) {
    SKIP_WHERE_MEMORY_CANNOT_RUN_OUT();
    const std::string path = patternFile("fine.bmp", 4, 2);
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            exhaustMemory();
            loadBmpTexture(path.c_str(), TEX_STARS, GL_RGB, GL_LINEAR);
            std::_Exit(99);
        },
        testing::ExitedWithCode(1), testing::HasSubstr("Error allocating space for image"));
}

TEST_F(BmpLoaderExit, NoMemoryForThePixelsEndsTheProgramWithStatusOne) {
    SKIP_WHERE_MEMORY_CANNOT_RUN_OUT();
    const std::string path = patternFile("big.bmp", 1024, 1024);
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            capAddressSpace(); // small blocks still come from the heap, 3 MB do not
            loadBmpTexture(path.c_str(), TEX_STARS, GL_RGB, GL_LINEAR);
            std::_Exit(99);
        },
        testing::ExitedWithCode(1),
        testing::HasSubstr("Error allocating memory for color-corrected image data"
                           "whoops, couldn't load the image"));
}

} // namespace
