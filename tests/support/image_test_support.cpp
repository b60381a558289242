// Image files and texture read-back for the loader tests.
#include "support/image_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// One folder a process, made unique, since the same test may run in another clone
// or pass at the same moment. A death test's re-run child is told its parent's
// folder (its test must name the same files); a forked child makes its own. The
// folder goes when its maker ends, with whatever a failed test left in it.
std::string processFolder;
pid_t processFolderOwner = 0;
bool processFolderMadeHere = false;

void removeProcessFolder() {
    if (processFolderMadeHere && processFolderOwner == getpid() &&
        std::system(("rm -rf '" + processFolder + "'").c_str()))
        std::fprintf(stderr, "could not remove %s\n", processFolder.c_str());
}

const std::string& ownProcessFolder() {
    if (processFolderOwner != getpid()) {
        const char* parents = std::getenv("KELVIDRON_TEST_FOLDER");
        if (parents && processFolderOwner == 0) {
            processFolder = parents;
        } else {
            if (!processFolderMadeHere)
                std::atexit(removeProcessFolder);
            processFolder = "/tmp/kelvidron-tests-XXXXXX";
            EXPECT_NE(mkdtemp(processFolder.data()), nullptr) << processFolder;
            setenv("KELVIDRON_TEST_FOLDER", processFolder.c_str(), 1);
            processFolderMadeHere = true;
        }
        processFolderOwner = getpid();
    }
    return processFolder;
}

} // namespace

std::string freshTestFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string folder = ownProcessFolder() + "/" + name;
    removeFolder(folder);
    EXPECT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    return folder;
}

void removeFolder(const std::string& folder) {
    EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
}

bool magick(const std::string& arguments) {
    const std::string command = "/usr/bin/convert " + arguments + " 2>&1";
    return std::system(command.c_str()) == 0;
}

bool magickFromRaw(const std::string& path, const std::string& format, int width, int height,
                   const Bytes& pixels, bool alpha) {
    const std::string raw = path + ".raw";
    writeFile(raw, pixels);
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const bool made =
        magick("-size " + size + " -depth 8 " + (alpha ? "rgba:" : "rgb:") + raw +
               (alpha ? " -type TrueColorAlpha " : " -type TrueColor ") + format + path);
    std::remove(raw.c_str());
    return made;
}

Bytes magickPixels(const std::string& path, bool alpha) {
    // A private file: tests running side by side decode the same images.
    char name[] = "/tmp/kelvidron-decoded-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return {};
    close(fd);
    const std::string raw = name;
    if (!magick(path + " -depth 8 " + (alpha ? "rgba:" : "rgb:") + raw)) {
        std::remove(raw.c_str());
        return {};
    }
    Bytes pixels = readFile(raw);
    std::remove(raw.c_str());
    return pixels;
}

void magickSize(const std::string& path, int& width, int& height) {
    width = height = 0;
    const std::string command = "/usr/bin/identify -format '%w %h' " + path;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return;
    if (std::fscanf(pipe, "%d %d", &width, &height) != 2)
        width = height = 0;
    pclose(pipe);
}

Bytes patternPixels(int width, int height, int channels) {
    Bytes pixels(size_t(width) * height * channels);
    for (size_t i = 0; i < pixels.size(); i++)
        pixels[i] = static_cast<uint8_t>(3 + 11 * i);
    return pixels;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void patchFile(const std::string& path, long offset, const Bytes& bytes) {
    Bytes contents = readFile(path);
    // Weighed without sums, so that a negative offset cannot wrap into range.
    ASSERT_TRUE(offset >= 0 && size_t(offset) <= contents.size() &&
                bytes.size() <= contents.size() - size_t(offset))
        << "patch outside " << path;
    std::copy(bytes.begin(), bytes.end(), contents.begin() + offset);
    writeFile(path, contents);
}

void truncateFile(const std::string& path, long size) {
    ASSERT_EQ(truncate(path.c_str(), size), 0) << "cannot truncate " << path;
}

Bytes flipRows(const Bytes& pixels, size_t rowBytes) {
    Bytes flipped;
    flipped.reserve(pixels.size());
    for (size_t row = pixels.size() / rowBytes; row-- > 0;)
        flipped.insert(flipped.end(), pixels.begin() + row * rowBytes,
                       pixels.begin() + (row + 1) * rowBytes);
    return flipped;
}

Bytes textureBytes(unsigned int texture, unsigned int format, int& width, int& height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    const size_t channels = format == GL_RGBA ? 4 : 3;
    Bytes pixels(size_t(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void expectLinearTexture(int internalFormat) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    EXPECT_EQ(value, internalFormat);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
}

std::string capturedStdout(const std::function<void()>& call) {
    testing::internal::CaptureStdout();
    call();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
